#pragma once

#include <emmintrin.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/Extended.h"

// e^t in extended precision, within about half a unit in the last place of
// the exact value (the C library's expl is within about one), at a fraction
// of expl's cost.
//
// The x87 unit issues one multiplication or addition per cycle, and the
// neurons' sums need all of it; so the exponential is worked out in SSE2
// double-double arithmetic beside it, two arguments to a register, and only
// its last addition and scaling run on the x87 unit. SSE2 is part of every
// x86-64 processor and its double operations are exactly rounded, so every
// machine gives the same bits, and a lane's result never depends on its
// neighbour: one argument alone gets exactly what it gets in a group.
//
// t = t_hi + t_lo (two doubles, exactly) = (32 m + j) ln2/32 + r with
// |r| <= ln2/64, so e^t = 2^m * 2^(j/32) * e^r. r is held as a double-double,
// e^r - 1 is its Taylor polynomial of degree 8, exact products come from
// operands cut to at most 26 and 27 significant bits, and the relative error
// before the final rounding to extended stays near 2^-75.
// Arguments from +-700 on take the library's path, which also decides the
// overflow and underflow edges exactly as expl does.
namespace fast_exp {

struct TablePair {
    double hi;  // 2^(j/32) to 26 significant bits
    double lo;  // the rest, rounded to a double
};

inline constexpr TablePair kPowersOfTwo[32] = {
    {0x1.0000000000000p+0, 0x0.0p+0},
    {0x1.059b0d0000000p+0, 0x1.8ac2ba1d73e2ap-27},
    {0x1.0b55870000000p+0, -0x1.833b784eb3a37p-27},
    {0x1.11301d0000000p+0, 0x1.25b50a4ebbf1bp-32},
    {0x1.172b840000000p+0, -0x1.c15742919041cp-27},
    {0x1.1d48730000000p+0, 0x1.68b9aa7805b80p-28},
    {0x1.2387a70000000p+0, -0x1.8a9dc7993e052p-28},
    {0x1.29e9df8000000p+0, -0x1.70108f69ed175p-27},
    {0x1.306fe08000000p+0, 0x1.18db8a96f46adp-27},
    {0x1.371a738000000p+0, -0x1.8aac6ab1d7560p-29},
    {0x1.3dea650000000p+0, -0x1.f6e5eee525f6fp-27},
    {0x1.44e0860000000p+0, 0x1.8624b40c4dbd0p-30},
    {0x1.4bfdad8000000p+0, -0x1.64eaec715e343p-27},
    {0x1.5342b58000000p+0, -0x1.62b07e20f57c4p-28},
    {0x1.5ab07e0000000p+0, -0x1.5bd5eb539b67fp-27},
    {0x1.6247eb0000000p+0, 0x1.d2ac258f87d03p-31},
    {0x1.6a09e68000000p+0, -0x1.80c4336f74d05p-28},
    {0x1.71f75e8000000p+0, 0x1.d8bee7ba46e1ep-29},
    {0x1.7a11470000000p+0, 0x1.f580c36bea881p-27},
    {0x1.8258998000000p+0, 0x1.4cce128acf88bp-28},
    {0x1.8ace540000000p+0, 0x1.15506dadd3e2bp-27},
    {0x1.93737b0000000p+0, 0x1.9b8bc9e8a0388p-29},
    {0x1.9c49180000000p+0, 0x1.51f8480e3e236p-27},
    {0x1.a5503b0000000p+0, 0x1.1f12ae45a1225p-27},
    {0x1.ae89f98000000p+0, 0x1.5ad3ad5e8734dp-28},
    {0x1.b7f76f0000000p+0, 0x1.7daf237553d84p-27},
    {0x1.c199be0000000p+0, -0x1.3d56b1eeef9a7p-27},
    {0x1.cb720e0000000p+0, -0x1.8837cb757e1a1p-27},
    {0x1.d5818e0000000p+0, -0x1.822dbc6d12fd3p-27},
    {0x1.dfc9730000000p+0, 0x1.bdcdaf5cb4656p-27},
    {0x1.ea4afa0000000p+0, 0x1.52486cc2c7b9dp-27},
    {0x1.f507658000000p+0, 0x1.b722a033a7c26p-27},
};

// ln2/32 = kLn2Hi + kLn2Lo to about 2^-92; kLn2Hi has 38 significant bits,
// so k * kLn2Hi is exact for |k| < 2^15, which covers the fast range.
inline constexpr double kLn2Hi = 0x1.62e42fefa0000p-6;
inline constexpr double kLn2Lo = 0x1.cf79abc9e3b3ap-45;
inline constexpr double kInvLn2 = 0x1.71547652b82fep+5;  // 32/ln2, only picks k
inline constexpr double kFastLimit = 700;

// e^t = (head + tail) * scale for the lanes set in fast.
struct Parts {
    __m128d head, tail, scale, fast;
};

inline __m128d keepHighBits(__m128d v, int significantBits)
{
    const std::int64_t mask = -(std::int64_t(1) << (53 - significantBits));
    return _mm_and_pd(v, _mm_castsi128_pd(_mm_set1_epi64x(mask)));
}

inline Parts expParts(__m128d tHi, __m128d tLo)
{
    const __m128d magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), tHi);
    const __m128d fast = _mm_cmplt_pd(magnitude, _mm_set1_pd(kFastLimit));
    // Lanes left to the library compute e^0 here, clear of NaNs and infinities.
    tHi = _mm_and_pd(tHi, fast);
    tLo = _mm_and_pd(tLo, fast);

    // k = round(t * 32/ln2) by the shifter 1.5 * 2^52, whose low bits then hold k.
    const __m128d shifter = _mm_set1_pd(0x1.8p52);
    const __m128d z = tHi * _mm_set1_pd(kInvLn2) + shifter;
    const __m128d kd = z - shifter;
    const __m128i k = _mm_sub_epi64(_mm_castpd_si128(z), _mm_castpd_si128(shifter));

    // r = t - k ln2/32: a is exact; (rHi, rLo) is a + w by Knuth's two-sum.
    const __m128d a = tHi - kd * _mm_set1_pd(kLn2Hi);
    const __m128d w = tLo - kd * _mm_set1_pd(kLn2Lo);
    const __m128d rHi = a + w;
    const __m128d back = rHi - a;
    const __m128d rLo = (a - (rHi - back)) + (w - back);

    // r^2/2 = ra^2/2 + ra rb + rb^2/2 + rHi rLo + ..., ra^2 and ra rb exact.
    const __m128d ra = keepHighBits(rHi, 26);
    const __m128d rb = rHi - ra;
    const __m128d half = ra * ra * _mm_set1_pd(0.5);
    const __m128d u = rHi + half;
    const __m128d uError = half - (u - rHi);

    // r^3/6 and beyond need no more than a double's precision.
    constexpr double c3 = 1.0 / 6, c4 = 1.0 / 24, c5 = 1.0 / 120, c6 = 1.0 / 720, c7 = 1.0 / 5040, c8 = 1.0 / 40320;
    const __m128d r2 = rHi * rHi;
    const __m128d r4 = r2 * r2;
    const __m128d poly = (_mm_set1_pd(c3) + rHi * _mm_set1_pd(c4)) + r2 * (_mm_set1_pd(c5) + rHi * _mm_set1_pd(c6))
        + r4 * (_mm_set1_pd(c7) + rHi * _mm_set1_pd(c8));
    const __m128d cubic = r2 * rHi * poly;
    const __m128d small = ((rLo + ra * rb) + (rb * rb * _mm_set1_pd(0.5) + rHi * rLo)) + cubic;

    // e^r - 1 = p1 + p2 with p1 cut to 27 bits, so that 2^(j/32)_hi * p1 is exact.
    const __m128d pHigh = u;
    const __m128d pLow = uError + small;
    const __m128d p1 = keepHighBits(pHigh, 27);
    const __m128d p2 = (pHigh - p1) + pLow;

    alignas(16) std::int64_t ks[2];
    _mm_store_si128(reinterpret_cast<__m128i*>(ks), k);
    const TablePair& t0 = kPowersOfTwo[ks[0] & 31];
    const TablePair& t1 = kPowersOfTwo[ks[1] & 31];
    const __m128d powerHi = _mm_set_pd(t1.hi, t0.hi);
    const __m128d powerLo = _mm_set_pd(t1.lo, t0.lo);

    const __m128d product = powerHi * p1;
    const __m128d head = powerHi + product;
    const __m128d headError = product - (head - powerHi);
    const __m128d tail = ((headError + powerHi * p2) + powerLo * (pHigh + pLow)) + powerLo;

    // 2^m, m = k >> 5, built in the exponent field; |m| <= 1011 keeps it normal.
    const __m128i m = _mm_srai_epi32(k, 5);
    const __m128i scaleBits = _mm_slli_epi64(_mm_add_epi32(m, _mm_set1_epi32(1023)), 52);
    return {head, tail, _mm_castsi128_pd(scaleBits), fast};
}

// The exponentials of a block of arguments, worked out together so that
// their long dependency chains overlap. Each extended t is held as two
// doubles, hi + lo = t exactly: t - (double)t fits in a double.
template <int N>
struct ExpBlock {
    static_assert(N % 2 == 0 && N <= 64);
    alignas(16) double hi[N], lo[N], head[N], tail[N], scale[N];
    std::uint64_t fast = 0;  // bit q: lane q's e^t is (head + tail) * scale

    void set(int q, Extended t)
    {
        hi[q] = static_cast<double>(t);
        lo[q] = static_cast<double>(t - hi[q]);
    }

    // Lanes 0 .. count-1; an odd count computes one lane more, of whatever
    // it holds, with no effect.
    void compute(int count)
    {
        if (count % 2)
            hi[count] = lo[count] = 0;
        fast = 0;
        for (int q = 0; q < count; q += 2) {
            Parts p = expParts(_mm_load_pd(hi + q), _mm_load_pd(lo + q));
            _mm_store_pd(head + q, p.head);
            _mm_store_pd(tail + q, p.tail);
            _mm_store_pd(scale + q, p.scale);
            fast |= std::uint64_t(_mm_movemask_pd(p.fast)) << q;
        }
    }

    bool isFast(int q) const { return fast >> q & 1; }
    Extended fastValue(int q) const { return (static_cast<Extended>(head[q]) + tail[q]) * scale[q]; }

    // The argument of a lane left to the library. Beyond the double range hi
    // is infinite: with lo infinite too, t was finite, and the largest
    // extended number of its sign has the same exponential and finiteness.
    Extended argument(int q) const
    {
        if (!std::isinf(hi[q]))
            return static_cast<Extended>(hi[q]) + lo[q];
        return std::isinf(lo[q]) ? std::copysign(std::numeric_limits<Extended>::max(), static_cast<Extended>(hi[q])) : hi[q];
    }
};

inline Extended FastExp(Extended t)
{
    const double hi = static_cast<double>(t);
    const double lo = static_cast<double>(t - hi);
    Parts p = expParts(_mm_set_sd(hi), _mm_set_sd(lo));
    if (!(_mm_movemask_pd(p.fast) & 1))
        return std::exp(t);
    return (static_cast<Extended>(_mm_cvtsd_f64(p.head)) + _mm_cvtsd_f64(p.tail)) * _mm_cvtsd_f64(p.scale);
}

}  // namespace fast_exp
