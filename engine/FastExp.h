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
// t = t_hi + t_lo (two doubles, exactly) = (256 m + j) ln2/256 + r with
// |r| <= ln2/512, so e^t = 2^m * 2^(j/256) * e^r. r is held as a
// double-double, e^r - 1 is its Taylor polynomial of degree 6, the one
// product that must be exact has operands of 26 and 27 significant bits, and
// the relative error before the final rounding to extended stays near 2^-72.
// Arguments from +-700 on take the library's path, which also decides the
// overflow and underflow edges exactly as expl does.
namespace fast_exp {

struct TablePair {
    double hi;  // 2^(j/256) to 26 significant bits
    double lo;  // the rest, rounded to a double
};

inline constexpr int kTableBits = 8;
inline constexpr TablePair kPowersOfTwo[1 << kTableBits] = {
    {0x1.0000000000000p+0, 0x0.0p+0},
    {0x1.00b1af8000000p+0, 0x1.2d5e5f6b094d6p-27},
    {0x1.0163da8000000p+0, 0x1.fb33356d84a67p-28},
    {0x1.0216818000000p+0, -0x1.e27ebf92bf311p-27},
    {0x1.02c9a40000000p+0, -0x1.887f9f1190835p-28},
    {0x1.037d430000000p+0, -0x1.ee4433f54bf71p-28},
    {0x1.04315e8000000p+0, 0x1.b9fe12f5ce3e7p-30},
    {0x1.04e5f70000000p+0, 0x1.7b2a5894c3794p-27},
    {0x1.059b0d0000000p+0, 0x1.8ac2ba1d73e2ap-27},
    {0x1.0650a10000000p+0, -0x1.c3e077572ded6p-28},
    {0x1.0706b28000000p+0, 0x1.ddf6ddc6dc404p-28},
    {0x1.07bd428000000p+0, 0x1.b9541b1323345p-27},
    {0x1.0874518000000p+0, 0x1.d66f20230d7c9p-30},
    {0x1.092bdf8000000p+0, -0x1.99f8205a018e0p-28},
    {0x1.09e3ec8000000p+0, 0x1.6379c1a290f03p-27},
    {0x1.0a9c798000000p+0, 0x1.8f9c8c95d16c8p-27},
    {0x1.0b55870000000p+0, -0x1.833b784eb3a37p-27},
    {0x1.0c0f148000000p+0, -0x1.0dc9bd560cedfp-27},
    {0x1.0cc9228000000p+0, 0x1.b923fba03db83p-27},
    {0x1.0d83b20000000p+0, 0x1.9caef5c87d643p-27},
    {0x1.0e3ec30000000p+0, 0x1.69e8d10103a17p-27},
    {0x1.0efa560000000p+0, -0x1.02b1da93b7379p-31},
    {0x1.0fb66b0000000p+0, -0x1.2ce50dcdf6e22p-36},
    {0x1.1073028000000p+0, 0x1.ae467c751bac6p-29},
    {0x1.11301d0000000p+0, 0x1.25b50a4ebbf1bp-32},
    {0x1.11edba8000000p+0, 0x1.af155ac6b7561p-27},
    {0x1.12abdc0000000p+0, 0x1.b0c72fee4aeb5p-30},
    {0x1.136a818000000p+0, -0x1.86fdaa85c423fp-27},
    {0x1.1429ab0000000p+0, -0x1.56d2204cbefe7p-28},
    {0x1.14e9590000000p+0, 0x1.a79896e46e17cp-27},
    {0x1.15a98c8000000p+0, 0x1.4b1ca24901aaep-29},
    {0x1.166a458000000p+0, -0x1.c71e1efce1b89p-27},
    {0x1.172b840000000p+0, -0x1.c15742919041cp-27},
    {0x1.17ed488000000p+0, -0x1.6a443fef61c02p-28},
    {0x1.18af938000000p+0, 0x1.191bd3777ee17p-29},
    {0x1.1972658000000p+0, 0x1.bae97a955bb0cp-31},
    {0x1.1a35be8000000p+0, 0x1.b7e5ba9e5b4c8p-27},
    {0x1.1af99f8000000p+0, 0x1.38a1c5efe1693p-32},
    {0x1.1bbe088000000p+0, -0x1.fdd19632a70c7p-27},
    {0x1.1c82f98000000p+0, -0x1.6bf1ca5fed110p-27},
    {0x1.1d48730000000p+0, 0x1.68b9aa7805b80p-28},
    {0x1.1e0e760000000p+0, -0x1.4bbfd95bf7602p-28},
    {0x1.1ed5020000000p+0, 0x1.7e6c8e5c40d00p-27},
    {0x1.1f9c188000000p+0, -0x1.e398d9b7ea494p-27},
    {0x1.2063b88000000p+0, 0x1.8a3358ee3bac1p-30},
    {0x1.212be38000000p+0, -0x1.43abf3594da5ap-27},
    {0x1.21f4990000000p+0, 0x1.7ddc962552fd3p-28},
    {0x1.22bdda0000000p+0, 0x1.3c89689d34fb5p-27},
    {0x1.2387a70000000p+0, -0x1.8a9dc7993e052p-28},
    {0x1.2451ff8000000p+0, 0x1.c10a051acfcc9p-27},
    {0x1.251ce50000000p+0, -0x1.35670329f5521p-30},
    {0x1.25e8570000000p+0, 0x1.1ece754f86893p-28},
    {0x1.26b4568000000p+0, -0x1.0ec1916d42cc6p-27},
    {0x1.2780e38000000p+0, -0x1.f1106b43f307fp-27},
    {0x1.284dfe0000000p+0, 0x1.f5638096cf15dp-28},
    {0x1.291ba78000000p+0, -0x1.37224812cc723p-27},
    {0x1.29e9df8000000p+0, -0x1.70108f69ed175p-27},
    {0x1.2ab8a68000000p+0, -0x1.2ef0ed655d0c6p-28},
    {0x1.2b87fd0000000p+0, 0x1.b5b31ffbbd48dp-29},
    {0x1.2c57e38000000p+0, 0x1.771b2eabfae96p-28},
    {0x1.2d285a8000000p+0, -0x1.1bfcf4bff6e2bp-28},
    {0x1.2df9620000000p+0, -0x1.37d4ed1749802p-29},
    {0x1.2ecafa8000000p+0, 0x1.3e2f5611ca0f4p-28},
    {0x1.2f9d248000000p+0, 0x1.5ec4357ab0eabp-27},
    {0x1.306fe08000000p+0, 0x1.18db8a96f46adp-27},
    {0x1.31432f0000000p+0, -0x1.08a68166a65c1p-27},
    {0x1.3217100000000p+0, -0x1.d993e76563187p-27},
    {0x1.32eb838000000p+0, 0x1.d47518c7742f8p-27},
    {0x1.33c08b0000000p+0, 0x1.320b7fa64e431p-27},
    {0x1.3496268000000p+0, -0x1.1c05d326b4eb2p-28},
    {0x1.356c560000000p+0, -0x1.b5803cdae772ep-30},
    {0x1.36431a0000000p+0, 0x1.6f441d63cebb6p-27},
    {0x1.371a738000000p+0, -0x1.8aac6ab1d7560p-29},
    {0x1.37f2620000000p+0, 0x1.8f3aa4cc146acp-27},
    {0x1.38cae70000000p+0, -0x1.7d13cd3d2b1a8p-27},
    {0x1.39a4018000000p+0, 0x1.b8a0774cacb40p-27},
    {0x1.3a7db38000000p+0, -0x1.8d30048af21b7p-27},
    {0x1.3b57fc0000000p+0, -0x1.3930baace6476p-32},
    {0x1.3c32dc0000000p+0, 0x1.89d47242000f9p-27},
    {0x1.3d0e548000000p+0, -0x1.890f46700b97cp-27},
    {0x1.3dea650000000p+0, -0x1.f6e5eee525f6fp-27},
    {0x1.3ec70e0000000p+0, -0x1.c75d166bd98dfp-29},
    {0x1.3fa4508000000p+0, -0x1.a9bff22fa047fp-27},
    {0x1.40822c0000000p+0, 0x1.b3d0121bddf8bp-27},
    {0x1.4160a20000000p+0, 0x1.f72e29f84325cp-28},
    {0x1.423fb28000000p+0, -0x1.ed72ecc2316e0p-29},
    {0x1.431f5d8000000p+0, 0x1.50a896dc70444p-28},
    {0x1.43ffa40000000p+0, -0x1.ed18af3bfa0b4p-30},
    {0x1.44e0860000000p+0, 0x1.8624b40c4dbd0p-30},
    {0x1.45c2040000000p+0, 0x1.53e918f9e6f9ap-27},
    {0x1.46a41f0000000p+0, -0x1.717fd446d7686p-27},
    {0x1.4786d68000000p+0, -0x1.74cdc97083c3bp-28},
    {0x1.486a2b8000000p+0, -0x1.1f6197f61f2e2p-27},
    {0x1.494e1e0000000p+0, 0x1.92aed1d89aed4p-28},
    {0x1.4a32af0000000p+0, 0x1.afa7bcce5b17ap-29},
    {0x1.4b17de8000000p+0, 0x1.36dbeb6eda478p-27},
    {0x1.4bfdad8000000p+0, -0x1.64eaec715e343p-27},
    {0x1.4ce41b8000000p+0, 0x1.7c1144178a5a4p-32},
    {0x1.4dcb298000000p+0, 0x1.fddd0d63b36efp-28},
    {0x1.4eb2d80000000p+0, 0x1.d8abfeab6a0b4p-28},
    {0x1.4f9b278000000p+0, -0x1.62d35952cc275p-28},
    {0x1.5084180000000p+0, -0x1.759c23cbb6c97p-29},
    {0x1.516daa0000000p+0, 0x1.67b320e0897a9p-27},
    {0x1.5257de8000000p+0, 0x1.fa77771b3395ep-31},
    {0x1.5342b58000000p+0, -0x1.62b07e20f57c4p-28},
    {0x1.542e2f8000000p+0, -0x1.84a96c686d92ep-27},
    {0x1.551a4c8000000p+0, 0x1.2ec9076297631p-27},
    {0x1.56070e0000000p+0, -0x1.0b779721f6dc3p-27},
    {0x1.56f4738000000p+0, -0x1.4ad8259913500p-28},
    {0x1.57e27d8000000p+0, 0x1.f162675e8ce6fp-27},
    {0x1.58d12d8000000p+0, -0x1.b41c016d6a1eap-27},
    {0x1.59c0828000000p+0, -0x1.f068bf1677234p-37},
    {0x1.5ab07e0000000p+0, -0x1.5bd5eb539b67fp-27},
    {0x1.5ba11f8000000p+0, 0x1.d43d014910bd6p-27},
    {0x1.5c92688000000p+0, 0x1.2ca35b80e258ep-27},
    {0x1.5d84590000000p+0, 0x1.331725194ac2cp-29},
    {0x1.5e76f18000000p+0, -0x1.296f5bc8b20dap-27},
    {0x1.5f6a320000000p+0, 0x1.b9d6e19854887p-29},
    {0x1.605e1b8000000p+0, 0x1.76dc08b076f59p-28},
    {0x1.6152ae8000000p+0, -0x1.32090b86d306dp-28},
    {0x1.6247eb0000000p+0, 0x1.d2ac258f87d03p-31},
    {0x1.633dd20000000p+0, -0x1.736b014f71de8p-27},
    {0x1.6434638000000p+0, -0x1.999e701c483c7p-27},
    {0x1.652ba00000000p+0, -0x1.4370496b8f572p-28},
    {0x1.6623880000000p+0, 0x1.2a91124893ecfp-27},
    {0x1.671c1c8000000p+0, -0x1.ef98147a1cc96p-29},
    {0x1.68155d8000000p+0, -0x1.d9ab467bf1d47p-27},
    {0x1.690f4b0000000p+0, 0x1.9e953830097b3p-28},
    {0x1.6a09e68000000p+0, -0x1.80c4336f74d05p-28},
    {0x1.6b052f8000000p+0, 0x1.3a8b9f0d1c7a9p-27},
    {0x1.6c01278000000p+0, -0x1.7a12a08944ab3p-27},
    {0x1.6cfdce0000000p+0, -0x1.15c4dd470aac9p-27},
    {0x1.6dfb240000000p+0, -0x1.cd72e886ef8eap-27},
    {0x1.6ef9298000000p+0, 0x1.64eb92f468b62p-30},
    {0x1.6ff7df8000000p+0, 0x1.519483cf87e1bp-28},
    {0x1.70f7468000000p+0, -0x1.0bd178f98a6edp-28},
    {0x1.71f75e8000000p+0, 0x1.d8bee7ba46e1ep-29},
    {0x1.72f8288000000p+0, -0x1.152f76482a80bp-28},
    {0x1.73f9a48000000p+0, 0x1.4b02e77ab934ap-29},
    {0x1.74fbd38000000p+0, -0x1.141a015f70054p-27},
    {0x1.75feb58000000p+0, -0x1.bd98374091656p-28},
    {0x1.77024b0000000p+0, 0x1.ab6e096de1dc6p-28},
    {0x1.7806950000000p+0, -0x1.0d1604f328fecp-31},
    {0x1.790b938000000p+0, 0x1.5839ec9a4d431p-29},
    {0x1.7a11470000000p+0, 0x1.f580c36bea881p-27},
    {0x1.7b17b08000000p+0, 0x1.76cfda905129fp-28},
    {0x1.7c1ed00000000p+0, 0x1.30c1327c49334p-28},
    {0x1.7d26a60000000p+0, 0x1.7fc378237bb7fp-27},
    {0x1.7e2f338000000p+0, -0x1.30b19defa2fd4p-28},
    {0x1.7f38788000000p+0, -0x1.b71db7907f11dp-27},
    {0x1.8042758000000p+0, -0x1.e0f2f724f90ccp-27},
    {0x1.814d2b0000000p+0, -0x1.177c93573791ep-27},
    {0x1.8258998000000p+0, 0x1.4cce128acf88bp-28},
    {0x1.8364c20000000p+0, -0x1.46be089991974p-28},
    {0x1.8471a48000000p+0, -0x1.dc385331ad094p-28},
    {0x1.857f418000000p+0, -0x1.82937c1ba7490p-30},
    {0x1.868d998000000p+0, 0x1.a2497640720edp-27},
    {0x1.879cad8000000p+0, 0x1.31a4362ba5afap-28},
    {0x1.88ac7d8000000p+0, 0x1.8a669966530bdp-28},
    {0x1.89bd0a8000000p+0, -0x1.c3d3f84558d57p-27},
    {0x1.8ace540000000p+0, 0x1.15506dadd3e2bp-27},
    {0x1.8be05b8000000p+0, 0x1.6b0bbc3d96be0p-27},
    {0x1.8cf3218000000p+0, -0x1.4abb7410d55e3p-28},
    {0x1.8e06a60000000p+0, -0x1.f799275c4529cp-28},
    {0x1.8f1ae98000000p+0, 0x1.1577362b98274p-28},
    {0x1.902fed0000000p+0, 0x1.416452b25950cp-31},
    {0x1.9145b08000000p+0, 0x1.c8ffe2c4530dap-27},
    {0x1.925c350000000p+0, 0x1.d517f0ecbaa06p-27},
    {0x1.93737b0000000p+0, 0x1.9b8bc9e8a0388p-29},
    {0x1.948b828000000p+0, 0x1.afcc72623c298p-27},
    {0x1.95a44c8000000p+0, 0x1.e4290774da41bp-27},
    {0x1.96bdd98000000p+0, 0x1.3b38597c8b4d3p-27},
    {0x1.97d82a0000000p+0, -0x1.0d8d83a30b6f8p-31},
    {0x1.98f33e8000000p+0, -0x1.c2eeaef1aa12bp-27},
    {0x1.9a0f170000000p+0, 0x1.940f737462137p-29},
    {0x1.9b2bb50000000p+0, -0x1.5600f9bbb09cap-27},
    {0x1.9c49180000000p+0, 0x1.51f8480e3e236p-27},
    {0x1.9d67418000000p+0, 0x1.4bb8d4aba5057p-28},
    {0x1.9e86318000000p+0, 0x1.e323231824ca8p-28},
    {0x1.9fa5e90000000p+0, -0x1.7c06b114a9cebp-27},
    {0x1.a0c6678000000p+0, 0x1.aef2b2594d6d4p-27},
    {0x1.a1e7af0000000p+0, -0x1.38a3a24733ce2p-27},
    {0x1.a309bf0000000p+0, -0x1.dae966539f470p-27},
    {0x1.a42c980000000p+0, 0x1.182b5e5587fa7p-30},
    {0x1.a5503b0000000p+0, 0x1.1f12ae45a1225p-27},
    {0x1.a674a88000000p+0, 0x1.7a30290543d59p-27},
    {0x1.a799e10000000p+0, 0x1.9859ac3796fd9p-27},
    {0x1.a8bfe50000000p+0, 0x1.e0972c560f30ap-27},
    {0x1.a9e6b58000000p+0, -0x1.4301205e0a6dep-27},
    {0x1.ab0e520000000p+0, 0x1.356eba313863bp-28},
    {0x1.ac36bc0000000p+0, -0x1.606431f9234cbp-31},
    {0x1.ad5ff38000000p+0, 0x1.1e13ba2fde777p-27},
    {0x1.ae89f98000000p+0, 0x1.5ad3ad5e8734dp-28},
    {0x1.afb4ce8000000p+0, -0x1.dd0d0152cbf04p-28},
    {0x1.b0e0728000000p+0, 0x1.8db66590842adp-28},
    {0x1.b20ce70000000p+0, -0x1.b2bb56d645fb7p-27},
    {0x1.b33a2b8000000p+0, 0x1.3c57ebdaff43ap-30},
    {0x1.b468418000000p+0, -0x1.245b278fbb1efp-27},
    {0x1.b597290000000p+0, -0x1.0d536338e3bf7p-27},
    {0x1.b6c6e28000000p+0, 0x1.f1c52a4aa3cd5p-28},
    {0x1.b7f76f0000000p+0, 0x1.7daf237553d84p-27},
    {0x1.b928cf0000000p+0, 0x1.13a4f1c91bd35p-27},
    {0x1.ba5b030000000p+0, 0x1.420c930819679p-29},
    {0x1.bb8e0b8000000p+0, -0x1.96438407d4b47p-30},
    {0x1.bcc1e90000000p+0, 0x1.2f074891ee83dp-30},
    {0x1.bdf69c0000000p+0, 0x1.f9d1037f1eceep-27},
    {0x1.bf2c258000000p+0, 0x1.eb8f0442046b8p-27},
    {0x1.c062860000000p+0, 0x1.41b33cc4eb4acp-28},
    {0x1.c199be0000000p+0, -0x1.3d56b1eeef9a7p-27},
    {0x1.c2d1cd8000000p+0, 0x1.fa652ba46ba7ap-28},
    {0x1.c40ab60000000p+0, -0x1.7c2c975903ef8p-39},
    {0x1.c544778000000p+0, 0x1.f5f6448978392p-29},
    {0x1.c67f130000000p+0, -0x1.a82eb4b5dec80p-28},
    {0x1.c7ba888000000p+0, 0x1.88c932c312888p-28},
    {0x1.c8f6d98000000p+0, -0x1.fc8c257729a1ep-27},
    {0x1.ca34058000000p+0, -0x1.5c764a5fcafb4p-29},
    {0x1.cb720e0000000p+0, -0x1.8837cb757e1a1p-27},
    {0x1.ccb0f30000000p+0, -0x1.92e98b1d220f8p-28},
    {0x1.cdf0b58000000p+0, -0x1.511e031dd83b5p-27},
    {0x1.cf31558000000p+0, 0x1.add5b9cbee2c9p-27},
    {0x1.d072d48000000p+0, 0x1.03c4bdc687918p-27},
    {0x1.d1b5328000000p+0, 0x1.8464b42aac6c4p-27},
    {0x1.d2f8708000000p+0, 0x1.b13e315bc2473p-33},
    {0x1.d43c8e8000000p+0, 0x1.6550eb27b6a78p-27},
    {0x1.d5818e0000000p+0, -0x1.822dbc6d12fd3p-27},
    {0x1.d6c76e8000000p+0, 0x1.8b9b4c1fe87a5p-30},
    {0x1.d80e318000000p+0, -0x1.367c68447b063p-28},
    {0x1.d955d70000000p+0, 0x1.ff60756814b6fp-28},
    {0x1.da9e600000000p+0, 0x1.ed9942b84600dp-27},
    {0x1.dbe7cd8000000p+0, -0x1.c57ceb6ddbc65p-28},
    {0x1.dd321f0000000p+0, 0x1.80da3025b4aefp-27},
    {0x1.de7d568000000p+0, -0x1.f1fcd4394aa52p-27},
    {0x1.dfc9730000000p+0, 0x1.bdcdaf5cb4656p-27},
    {0x1.e116768000000p+0, 0x1.8cbe8b76a56b2p-27},
    {0x1.e264618000000p+0, -0x1.852f6baf6c4f0p-27},
    {0x1.e3b3338000000p+0, 0x1.8b7708cc16b7ap-27},
    {0x1.e502ee8000000p+0, -0x1.d30027630bb40p-30},
    {0x1.e653928000000p+0, -0x1.cc4945163ff87p-27},
    {0x1.e7a51f8000000p+0, 0x1.e3a641a5aa459p-27},
    {0x1.e8f7978000000p+0, -0x1.9246022112901p-31},
    {0x1.ea4afa0000000p+0, 0x1.52486cc2c7b9dp-27},
    {0x1.eb9f488000000p+0, -0x1.833591adf3437p-28},
    {0x1.ecf4830000000p+0, -0x1.38cc07b927e77p-27},
    {0x1.ee4aaa0000000p+0, 0x1.0c4288238d1b5p-27},
    {0x1.efa1bf0000000p+0, -0x1.9ea5d888e02dep-28},
    {0x1.f0f9c20000000p+0, -0x1.a4df6b264400dp-27},
    {0x1.f252b38000000p+0, -0x1.288ad162f2d20p-29},
    {0x1.f3ac948000000p+0, 0x1.bae4e7cd4b4b8p-29},
    {0x1.f507658000000p+0, 0x1.b722a033a7c26p-27},
    {0x1.f663278000000p+0, 0x1.8844f87e8decdp-28},
    {0x1.f7bfdb0000000p+0, -0x1.31a0f63b7625ap-27},
    {0x1.f91d800000000p+0, 0x1.121e447bb455dp-27},
    {0x1.fa7c180000000p+0, 0x1.9e90d82e90a7ep-28},
    {0x1.fbdba38000000p+0, -0x1.6d2aec1967731p-28},
    {0x1.fd3c228000000p+0, 0x1.c7b8f884badd2p-27},
    {0x1.fe9d968000000p+0, 0x1.9511ec8a5301cp-27},
};

// ln2/256 = kLn2Hi + kLn2Lo to about 2^-91; kLn2Hi has 35 significant bits,
// so k * kLn2Hi is exact for |k| < 2^18, which covers the fast range.
inline constexpr double kLn2Hi = 0x1.62e42fefc0000p-9;
inline constexpr double kLn2Lo = -0x1.c610ca86c3899p-45;
inline constexpr double kInvLn2 = 0x1.71547652b82fep+8;  // 256/ln2, only picks k
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

    // k = round(t * 256/ln2) by the shifter 1.5 * 2^52, whose low bits then hold k.
    const __m128d shifter = _mm_set1_pd(0x1.8p52);
    const __m128d z = tHi * _mm_set1_pd(kInvLn2) + shifter;
    const __m128d kd = z - shifter;
    const __m128i k = _mm_sub_epi64(_mm_castpd_si128(z), _mm_castpd_si128(shifter));

    // r = t - k ln2/256: a is exact; (rHi, rLo) is a + w by Knuth's two-sum.
    const __m128d a = tHi - kd * _mm_set1_pd(kLn2Hi);
    const __m128d w = tLo - kd * _mm_set1_pd(kLn2Lo);
    const __m128d rHi = a + w;
    const __m128d back = rHi - a;
    const __m128d rLo = (a - (rHi - back)) + (w - back);

    // e^r - 1 = rHi + pLow. With |r| <= 2^-9.5, r^2/2 and the terms beyond
    // need no more than a double's precision, and degree 6 leaves 2^-79.
    constexpr double c3 = 1.0 / 6, c4 = 1.0 / 24, c5 = 1.0 / 120, c6 = 1.0 / 720;
    const __m128d r2 = rHi * rHi;
    const __m128d poly = (_mm_set1_pd(c3) + rHi * _mm_set1_pd(c4)) + r2 * (_mm_set1_pd(c5) + rHi * _mm_set1_pd(c6));
    const __m128d pLow = ((rLo + rHi * rLo) + r2 * _mm_set1_pd(0.5)) + r2 * rHi * poly;

    // p1 is rHi cut to 27 bits, so that 2^(j/256)_hi * p1 is exact.
    const __m128d p1 = keepHighBits(rHi, 27);
    const __m128d p2 = (rHi - p1) + pLow;

    alignas(16) std::int64_t ks[2];
    _mm_store_si128(reinterpret_cast<__m128i*>(ks), k);
    constexpr int kMask = (1 << kTableBits) - 1;
    const TablePair& t0 = kPowersOfTwo[ks[0] & kMask];
    const TablePair& t1 = kPowersOfTwo[ks[1] & kMask];
    const __m128d powerHi = _mm_set_pd(t1.hi, t0.hi);
    const __m128d powerLo = _mm_set_pd(t1.lo, t0.lo);

    const __m128d product = powerHi * p1;
    const __m128d head = powerHi + product;
    const __m128d headError = product - (head - powerHi);
    const __m128d tail = ((headError + powerHi * p2) + powerLo * (rHi + pLow)) + powerLo;

    // 2^m, m = k >> 8, built in the exponent field; |m| <= 1011 keeps it normal.
    const __m128i m = _mm_srai_epi32(k, kTableBits);
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
