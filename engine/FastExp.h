#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/Extended.h"

// e^t in extended precision, within about one unit in the last place of the
// C library's expl, at a fraction of its cost. It is inline so that the
// exponentials of neighbouring neurons overlap in the pipeline.
//
// t = (32 m + j) ln2/32 + r with |r| <= ln2/64, so e^t = 2^m * 2^(j/32) * e^r:
// 2^(j/32) comes from a table held to well beyond the extended precision, e^r - 1
// from its Taylor polynomial of degree 7 (truncation below 0.05 ulp).
// Arguments beyond +-700 take the library's path, which also decides the
// overflow and underflow edges exactly as expl does.
namespace fast_exp {

struct TwoPart {
    Extended hi;
    double lo;  // a double holds the rest to far below one extended ulp
};

inline constexpr TwoPart kPowersOfTwo[32] = {
    {0x8000000000000000p-63L, 0.0},
    {0x82CD8698AC2BA1D7p-63L, 0xF8A91D6D19482FFDp-129},
    {0x85AAC367CC487B15p-63L, -0xE8DA91CF7AACF938p-129},
    {0x88980E8092DA8527p-63L, 0xBBF1AED9318CEAC6p-128},
    {0x8B95C1E3EA8BD6E7p-63L, -0x8373AF14EB586DFDp-132},
    {0x8EA4398B45CD53C0p-63L, 0xB70051321E0F5317p-129},
    {0x91C3D373AB11C336p-63L, 0xFD6D8E0AE5AC9D82p-131},
    {0x94F4EFA8FEF70961p-63L, 0xBA2BEB4495477951p-129},
    {0x9837F0518DB8A96Fp-63L, 0x8D5A46305C85EDEDp-128},
    {0x9B8D39B9D54E5539p-63L, -0xBAAFD0BAB86781C2p-128},
    {0x9EF5326091A111AEp-63L, -0xBEDDC1EC288C045Dp-128},
    {0xA27043030C496819p-63L, -0xC90BF620FE6042B1p-128},
    {0xA5FED6A9B15138EAp-63L, 0xE5EBFB10B88380D9p-130},
    {0xA9A15AB4EA7C0EF8p-63L, 0xA83C49D86A63F4E6p-128},
    {0xAD583EEA42A14AC6p-63L, 0x93015191EB345D89p-128},
    {0xB123F581D2AC2590p-63L, -0xF05F902D25BD44E3p-128},
    {0xB504F333F9DE6484p-63L, 0xB2FB1366EA957D3Ep-128},
    {0xB8FBAF4762FB9EE9p-63L, 0xDC3CBBC2B35B2D0Dp-130},
    {0xBD08A39F580C36BFp-63L, -0xAEFDC09325E0A10Cp-128},
    {0xC12C4CCA66709456p-63L, 0xF88AFAB34A010F6Bp-128},
    {0xC5672A115506DADDp-63L, 0xF8AB432593767CDEp-129},
    {0xC9B9BD866E2F27A3p-63L, -0xFE3C0DABF5DD2D04p-128},
    {0xCE248C151F8480E4p-63L, -0xEE53E3835069C895p-130},
    {0xD2A81D91F12AE45Ap-63L, 0x912472BE1EF20143p-130},
    {0xD744FCCAD69D6AF4p-63L, 0xE69A2EE640B4FF78p-129},
    {0xDBFBB797DAF23755p-63L, 0xF610356A78A6A991p-129},
    {0xE0CCDEEC2A94E111p-63L, 0xCB12A091BA667944p-132},
    {0xE5B906E77C8348A8p-63L, 0xF2F47A5276DD8765p-130},
    {0xEAC0C6E7DD24392Fp-63L, -0xBF4A29323E46AC15p-129},
    {0xEFE4B99BDCDAF5CBp-63L, 0x8CAC39ED291B7226p-128},
    {0xF5257D152486CC2Cp-63L, 0xF73A18F5DB301F87p-128},
    {0xFA83B2DB722A033Ap-63L, 0xF84B762862BAFF99p-128},
};

// ln2/32 split so that k * kLn2Hi is exact for every |k| < 2^19. Constants
// that need no more than a double's precision are doubles: they load faster.
inline constexpr double kLn2Hi = 0xB17217F7D1D00000p-69;
inline constexpr double kLn2Lo = -0x8654361C4C67FC0Dp-117;
inline constexpr double kInvLn2 = 0xB8AA3B295C17F0BCp-58;  // 32/ln2, only picks k
inline constexpr double kFastLimit = 700;

// Nearest integer, ties to even, by the x87 store itself.
inline std::int64_t roundToInteger(Extended v)
{
    std::int64_t k;
    asm("fistpll %0" : "=m"(k) : "t"(v) : "st");
    return k;
}

inline double powerOfTwo(std::int64_t m)
{
    std::uint64_t bits = static_cast<std::uint64_t>(m + 1023) << 52;
    double p;
    std::memcpy(&p, &bits, sizeof p);
    return p;
}

inline Extended FastExp(Extended t)
{
    if (!(std::fabs(t) <= kFastLimit))
        return std::exp(t);
    const std::int64_t k = roundToInteger(t * kInvLn2);
    const Extended kf = static_cast<Extended>(k);
    const Extended r = (t - kf * kLn2Hi) - kf * kLn2Lo;
    // e^r - 1 in Estrin's order: shorter chains than Horner's. The
    // coefficients beyond 1/2 multiply r^3 or less, so doubles suffice.
    constexpr double c3 = 1.0 / 6, c4 = 1.0 / 24, c5 = 1.0 / 120, c6 = 1.0 / 720, c7 = 1.0 / 5040;
    const Extended r2 = r * r;
    const Extended r4 = r2 * r2;
    const Extended p = (r + r2 * (0.5 + r * c3)) + r4 * ((c4 + r * c5) + r2 * (c6 + r * c7));
    const TwoPart& power = kPowersOfTwo[k & 31];
    return (power.hi + (power.lo + power.hi * p)) * powerOfTwo(k >> 5);
}

}  // namespace fast_exp
