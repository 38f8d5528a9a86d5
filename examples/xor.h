/* xor.h: a network of 2 layer(s), written by Corvalith as C.

   int xor_evaluate(const double *inputs, double *outputs);
     Reads XOR_INPUT_COUNT inputs and writes XOR_OUTPUT_COUNT outputs, as the workbench's
     Evaluate does with the same inputs. Returns 1, or 0 when a value overflows;
     the outputs are then left as they were. No allocation, no global state.

   On x86-64 with gcc or clang (no -ffast-math) the outputs are the workbench's
   bit for bit; long double must be the 80-bit type and double arithmetic SSE2.
   To check it on your machine:
     cc -O2 -DXOR_SELF_TEST -x c xor.h -o xor_test -lm && ./xor_test
   or define XOR_SELF_TEST and call xor_self_test() (1 when all match). */
#ifndef XOR_H_INCLUDED
#define XOR_H_INCLUDED

#include <math.h>
#include <stdint.h>
#include <string.h>

#define XOR_INPUT_COUNT 2
#define XOR_OUTPUT_COUNT 1
#define XOR_GUARD_ 0x8.8d8762bf324cd1p+163L

/* Range pairs (min, max); a pair scales its value only when min < max. */
static const double xor_input_ranges[XOR_INPUT_COUNT][2] = {
    {0x1p+0, -0x1p+0},
    {0x1p+0, -0x1p+0}
};
static const double xor_output_ranges[XOR_OUTPUT_COUNT][2] = {
    {0x1p+0, -0x1p+0}
};

/* Layer 1: 2 neuron(s) of 2 input(s), activation 2 (Hyperbolic Tangent Sigmoid); weights one neuron's row after another. */
static const double xor_weights_1[4] = {
    0x1.4p+3, 0x1.4p+3, 0x1.4p+3, 0x1.4p+3
};
static const double xor_bias_1[2] = {
    -0x1.4p+2, -0x1.ep+3
};

/* Layer 2: 1 neuron(s) of 2 input(s), activation 0 (Linear); weights one neuron's row after another. */
static const double xor_weights_2[2] = {
    0x1p-1, -0x1p-1
};
static const double xor_bias_2[1] = {
    0x0p+0
};

/* 2^(j/256) as a head of 26 significant bits and a tail. */
static const double xor_exp_table_[256][2] = {
    {0x1p+0, 0x0p+0},
    {0x1.00b1af8p+0, 0x1.2d5e5f6b094d6p-27},
    {0x1.0163da8p+0, 0x1.fb33356d84a67p-28},
    {0x1.0216818p+0, -0x1.e27ebf92bf311p-27},
    {0x1.02c9a4p+0, -0x1.887f9f1190835p-28},
    {0x1.037d43p+0, -0x1.ee4433f54bf71p-28},
    {0x1.04315e8p+0, 0x1.b9fe12f5ce3e7p-30},
    {0x1.04e5f7p+0, 0x1.7b2a5894c3794p-27},
    {0x1.059b0dp+0, 0x1.8ac2ba1d73e2ap-27},
    {0x1.0650a1p+0, -0x1.c3e077572ded6p-28},
    {0x1.0706b28p+0, 0x1.ddf6ddc6dc404p-28},
    {0x1.07bd428p+0, 0x1.b9541b1323345p-27},
    {0x1.0874518p+0, 0x1.d66f20230d7c9p-30},
    {0x1.092bdf8p+0, -0x1.99f8205a018ep-28},
    {0x1.09e3ec8p+0, 0x1.6379c1a290f03p-27},
    {0x1.0a9c798p+0, 0x1.8f9c8c95d16c8p-27},
    {0x1.0b5587p+0, -0x1.833b784eb3a37p-27},
    {0x1.0c0f148p+0, -0x1.0dc9bd560cedfp-27},
    {0x1.0cc9228p+0, 0x1.b923fba03db83p-27},
    {0x1.0d83b2p+0, 0x1.9caef5c87d643p-27},
    {0x1.0e3ec3p+0, 0x1.69e8d10103a17p-27},
    {0x1.0efa56p+0, -0x1.02b1da93b7379p-31},
    {0x1.0fb66bp+0, -0x1.2ce50dcdf6e22p-36},
    {0x1.1073028p+0, 0x1.ae467c751bac6p-29},
    {0x1.11301dp+0, 0x1.25b50a4ebbf1bp-32},
    {0x1.11edba8p+0, 0x1.af155ac6b7561p-27},
    {0x1.12abdcp+0, 0x1.b0c72fee4aeb5p-30},
    {0x1.136a818p+0, -0x1.86fdaa85c423fp-27},
    {0x1.1429abp+0, -0x1.56d2204cbefe7p-28},
    {0x1.14e959p+0, 0x1.a79896e46e17cp-27},
    {0x1.15a98c8p+0, 0x1.4b1ca24901aaep-29},
    {0x1.166a458p+0, -0x1.c71e1efce1b89p-27},
    {0x1.172b84p+0, -0x1.c15742919041cp-27},
    {0x1.17ed488p+0, -0x1.6a443fef61c02p-28},
    {0x1.18af938p+0, 0x1.191bd3777ee17p-29},
    {0x1.1972658p+0, 0x1.bae97a955bb0cp-31},
    {0x1.1a35be8p+0, 0x1.b7e5ba9e5b4c8p-27},
    {0x1.1af99f8p+0, 0x1.38a1c5efe1693p-32},
    {0x1.1bbe088p+0, -0x1.fdd19632a70c7p-27},
    {0x1.1c82f98p+0, -0x1.6bf1ca5fed11p-27},
    {0x1.1d4873p+0, 0x1.68b9aa7805b8p-28},
    {0x1.1e0e76p+0, -0x1.4bbfd95bf7602p-28},
    {0x1.1ed502p+0, 0x1.7e6c8e5c40dp-27},
    {0x1.1f9c188p+0, -0x1.e398d9b7ea494p-27},
    {0x1.2063b88p+0, 0x1.8a3358ee3bac1p-30},
    {0x1.212be38p+0, -0x1.43abf3594da5ap-27},
    {0x1.21f499p+0, 0x1.7ddc962552fd3p-28},
    {0x1.22bddap+0, 0x1.3c89689d34fb5p-27},
    {0x1.2387a7p+0, -0x1.8a9dc7993e052p-28},
    {0x1.2451ff8p+0, 0x1.c10a051acfcc9p-27},
    {0x1.251ce5p+0, -0x1.35670329f5521p-30},
    {0x1.25e857p+0, 0x1.1ece754f86893p-28},
    {0x1.26b4568p+0, -0x1.0ec1916d42cc6p-27},
    {0x1.2780e38p+0, -0x1.f1106b43f307fp-27},
    {0x1.284dfep+0, 0x1.f5638096cf15dp-28},
    {0x1.291ba78p+0, -0x1.37224812cc723p-27},
    {0x1.29e9df8p+0, -0x1.70108f69ed175p-27},
    {0x1.2ab8a68p+0, -0x1.2ef0ed655d0c6p-28},
    {0x1.2b87fdp+0, 0x1.b5b31ffbbd48dp-29},
    {0x1.2c57e38p+0, 0x1.771b2eabfae96p-28},
    {0x1.2d285a8p+0, -0x1.1bfcf4bff6e2bp-28},
    {0x1.2df962p+0, -0x1.37d4ed1749802p-29},
    {0x1.2ecafa8p+0, 0x1.3e2f5611ca0f4p-28},
    {0x1.2f9d248p+0, 0x1.5ec4357ab0eabp-27},
    {0x1.306fe08p+0, 0x1.18db8a96f46adp-27},
    {0x1.31432fp+0, -0x1.08a68166a65c1p-27},
    {0x1.32171p+0, -0x1.d993e76563187p-27},
    {0x1.32eb838p+0, 0x1.d47518c7742f8p-27},
    {0x1.33c08bp+0, 0x1.320b7fa64e431p-27},
    {0x1.3496268p+0, -0x1.1c05d326b4eb2p-28},
    {0x1.356c56p+0, -0x1.b5803cdae772ep-30},
    {0x1.36431ap+0, 0x1.6f441d63cebb6p-27},
    {0x1.371a738p+0, -0x1.8aac6ab1d756p-29},
    {0x1.37f262p+0, 0x1.8f3aa4cc146acp-27},
    {0x1.38cae7p+0, -0x1.7d13cd3d2b1a8p-27},
    {0x1.39a4018p+0, 0x1.b8a0774cacb4p-27},
    {0x1.3a7db38p+0, -0x1.8d30048af21b7p-27},
    {0x1.3b57fcp+0, -0x1.3930baace6476p-32},
    {0x1.3c32dcp+0, 0x1.89d47242000f9p-27},
    {0x1.3d0e548p+0, -0x1.890f46700b97cp-27},
    {0x1.3dea65p+0, -0x1.f6e5eee525f6fp-27},
    {0x1.3ec70ep+0, -0x1.c75d166bd98dfp-29},
    {0x1.3fa4508p+0, -0x1.a9bff22fa047fp-27},
    {0x1.40822cp+0, 0x1.b3d0121bddf8bp-27},
    {0x1.4160a2p+0, 0x1.f72e29f84325cp-28},
    {0x1.423fb28p+0, -0x1.ed72ecc2316ep-29},
    {0x1.431f5d8p+0, 0x1.50a896dc70444p-28},
    {0x1.43ffa4p+0, -0x1.ed18af3bfa0b4p-30},
    {0x1.44e086p+0, 0x1.8624b40c4dbdp-30},
    {0x1.45c204p+0, 0x1.53e918f9e6f9ap-27},
    {0x1.46a41fp+0, -0x1.717fd446d7686p-27},
    {0x1.4786d68p+0, -0x1.74cdc97083c3bp-28},
    {0x1.486a2b8p+0, -0x1.1f6197f61f2e2p-27},
    {0x1.494e1ep+0, 0x1.92aed1d89aed4p-28},
    {0x1.4a32afp+0, 0x1.afa7bcce5b17ap-29},
    {0x1.4b17de8p+0, 0x1.36dbeb6eda478p-27},
    {0x1.4bfdad8p+0, -0x1.64eaec715e343p-27},
    {0x1.4ce41b8p+0, 0x1.7c1144178a5a4p-32},
    {0x1.4dcb298p+0, 0x1.fddd0d63b36efp-28},
    {0x1.4eb2d8p+0, 0x1.d8abfeab6a0b4p-28},
    {0x1.4f9b278p+0, -0x1.62d35952cc275p-28},
    {0x1.508418p+0, -0x1.759c23cbb6c97p-29},
    {0x1.516daap+0, 0x1.67b320e0897a9p-27},
    {0x1.5257de8p+0, 0x1.fa77771b3395ep-31},
    {0x1.5342b58p+0, -0x1.62b07e20f57c4p-28},
    {0x1.542e2f8p+0, -0x1.84a96c686d92ep-27},
    {0x1.551a4c8p+0, 0x1.2ec9076297631p-27},
    {0x1.56070ep+0, -0x1.0b779721f6dc3p-27},
    {0x1.56f4738p+0, -0x1.4ad82599135p-28},
    {0x1.57e27d8p+0, 0x1.f162675e8ce6fp-27},
    {0x1.58d12d8p+0, -0x1.b41c016d6a1eap-27},
    {0x1.59c0828p+0, -0x1.f068bf1677234p-37},
    {0x1.5ab07ep+0, -0x1.5bd5eb539b67fp-27},
    {0x1.5ba11f8p+0, 0x1.d43d014910bd6p-27},
    {0x1.5c92688p+0, 0x1.2ca35b80e258ep-27},
    {0x1.5d8459p+0, 0x1.331725194ac2cp-29},
    {0x1.5e76f18p+0, -0x1.296f5bc8b20dap-27},
    {0x1.5f6a32p+0, 0x1.b9d6e19854887p-29},
    {0x1.605e1b8p+0, 0x1.76dc08b076f59p-28},
    {0x1.6152ae8p+0, -0x1.32090b86d306dp-28},
    {0x1.6247ebp+0, 0x1.d2ac258f87d03p-31},
    {0x1.633dd2p+0, -0x1.736b014f71de8p-27},
    {0x1.6434638p+0, -0x1.999e701c483c7p-27},
    {0x1.652bap+0, -0x1.4370496b8f572p-28},
    {0x1.662388p+0, 0x1.2a91124893ecfp-27},
    {0x1.671c1c8p+0, -0x1.ef98147a1cc96p-29},
    {0x1.68155d8p+0, -0x1.d9ab467bf1d47p-27},
    {0x1.690f4bp+0, 0x1.9e953830097b3p-28},
    {0x1.6a09e68p+0, -0x1.80c4336f74d05p-28},
    {0x1.6b052f8p+0, 0x1.3a8b9f0d1c7a9p-27},
    {0x1.6c01278p+0, -0x1.7a12a08944ab3p-27},
    {0x1.6cfdcep+0, -0x1.15c4dd470aac9p-27},
    {0x1.6dfb24p+0, -0x1.cd72e886ef8eap-27},
    {0x1.6ef9298p+0, 0x1.64eb92f468b62p-30},
    {0x1.6ff7df8p+0, 0x1.519483cf87e1bp-28},
    {0x1.70f7468p+0, -0x1.0bd178f98a6edp-28},
    {0x1.71f75e8p+0, 0x1.d8bee7ba46e1ep-29},
    {0x1.72f8288p+0, -0x1.152f76482a80bp-28},
    {0x1.73f9a48p+0, 0x1.4b02e77ab934ap-29},
    {0x1.74fbd38p+0, -0x1.141a015f70054p-27},
    {0x1.75feb58p+0, -0x1.bd98374091656p-28},
    {0x1.77024bp+0, 0x1.ab6e096de1dc6p-28},
    {0x1.780695p+0, -0x1.0d1604f328fecp-31},
    {0x1.790b938p+0, 0x1.5839ec9a4d431p-29},
    {0x1.7a1147p+0, 0x1.f580c36bea881p-27},
    {0x1.7b17b08p+0, 0x1.76cfda905129fp-28},
    {0x1.7c1edp+0, 0x1.30c1327c49334p-28},
    {0x1.7d26a6p+0, 0x1.7fc378237bb7fp-27},
    {0x1.7e2f338p+0, -0x1.30b19defa2fd4p-28},
    {0x1.7f38788p+0, -0x1.b71db7907f11dp-27},
    {0x1.8042758p+0, -0x1.e0f2f724f90ccp-27},
    {0x1.814d2bp+0, -0x1.177c93573791ep-27},
    {0x1.8258998p+0, 0x1.4cce128acf88bp-28},
    {0x1.8364c2p+0, -0x1.46be089991974p-28},
    {0x1.8471a48p+0, -0x1.dc385331ad094p-28},
    {0x1.857f418p+0, -0x1.82937c1ba749p-30},
    {0x1.868d998p+0, 0x1.a2497640720edp-27},
    {0x1.879cad8p+0, 0x1.31a4362ba5afap-28},
    {0x1.88ac7d8p+0, 0x1.8a669966530bdp-28},
    {0x1.89bd0a8p+0, -0x1.c3d3f84558d57p-27},
    {0x1.8ace54p+0, 0x1.15506dadd3e2bp-27},
    {0x1.8be05b8p+0, 0x1.6b0bbc3d96bep-27},
    {0x1.8cf3218p+0, -0x1.4abb7410d55e3p-28},
    {0x1.8e06a6p+0, -0x1.f799275c4529cp-28},
    {0x1.8f1ae98p+0, 0x1.1577362b98274p-28},
    {0x1.902fedp+0, 0x1.416452b25950cp-31},
    {0x1.9145b08p+0, 0x1.c8ffe2c4530dap-27},
    {0x1.925c35p+0, 0x1.d517f0ecbaa06p-27},
    {0x1.93737bp+0, 0x1.9b8bc9e8a0388p-29},
    {0x1.948b828p+0, 0x1.afcc72623c298p-27},
    {0x1.95a44c8p+0, 0x1.e4290774da41bp-27},
    {0x1.96bdd98p+0, 0x1.3b38597c8b4d3p-27},
    {0x1.97d82ap+0, -0x1.0d8d83a30b6f8p-31},
    {0x1.98f33e8p+0, -0x1.c2eeaef1aa12bp-27},
    {0x1.9a0f17p+0, 0x1.940f737462137p-29},
    {0x1.9b2bb5p+0, -0x1.5600f9bbb09cap-27},
    {0x1.9c4918p+0, 0x1.51f8480e3e236p-27},
    {0x1.9d67418p+0, 0x1.4bb8d4aba5057p-28},
    {0x1.9e86318p+0, 0x1.e323231824ca8p-28},
    {0x1.9fa5e9p+0, -0x1.7c06b114a9cebp-27},
    {0x1.a0c6678p+0, 0x1.aef2b2594d6d4p-27},
    {0x1.a1e7afp+0, -0x1.38a3a24733ce2p-27},
    {0x1.a309bfp+0, -0x1.dae966539f47p-27},
    {0x1.a42c98p+0, 0x1.182b5e5587fa7p-30},
    {0x1.a5503bp+0, 0x1.1f12ae45a1225p-27},
    {0x1.a674a88p+0, 0x1.7a30290543d59p-27},
    {0x1.a799e1p+0, 0x1.9859ac3796fd9p-27},
    {0x1.a8bfe5p+0, 0x1.e0972c560f30ap-27},
    {0x1.a9e6b58p+0, -0x1.4301205e0a6dep-27},
    {0x1.ab0e52p+0, 0x1.356eba313863bp-28},
    {0x1.ac36bcp+0, -0x1.606431f9234cbp-31},
    {0x1.ad5ff38p+0, 0x1.1e13ba2fde777p-27},
    {0x1.ae89f98p+0, 0x1.5ad3ad5e8734dp-28},
    {0x1.afb4ce8p+0, -0x1.dd0d0152cbf04p-28},
    {0x1.b0e0728p+0, 0x1.8db66590842adp-28},
    {0x1.b20ce7p+0, -0x1.b2bb56d645fb7p-27},
    {0x1.b33a2b8p+0, 0x1.3c57ebdaff43ap-30},
    {0x1.b468418p+0, -0x1.245b278fbb1efp-27},
    {0x1.b59729p+0, -0x1.0d536338e3bf7p-27},
    {0x1.b6c6e28p+0, 0x1.f1c52a4aa3cd5p-28},
    {0x1.b7f76fp+0, 0x1.7daf237553d84p-27},
    {0x1.b928cfp+0, 0x1.13a4f1c91bd35p-27},
    {0x1.ba5b03p+0, 0x1.420c930819679p-29},
    {0x1.bb8e0b8p+0, -0x1.96438407d4b47p-30},
    {0x1.bcc1e9p+0, 0x1.2f074891ee83dp-30},
    {0x1.bdf69cp+0, 0x1.f9d1037f1eceep-27},
    {0x1.bf2c258p+0, 0x1.eb8f0442046b8p-27},
    {0x1.c06286p+0, 0x1.41b33cc4eb4acp-28},
    {0x1.c199bep+0, -0x1.3d56b1eeef9a7p-27},
    {0x1.c2d1cd8p+0, 0x1.fa652ba46ba7ap-28},
    {0x1.c40ab6p+0, -0x1.7c2c975903ef8p-39},
    {0x1.c544778p+0, 0x1.f5f6448978392p-29},
    {0x1.c67f13p+0, -0x1.a82eb4b5dec8p-28},
    {0x1.c7ba888p+0, 0x1.88c932c312888p-28},
    {0x1.c8f6d98p+0, -0x1.fc8c257729a1ep-27},
    {0x1.ca34058p+0, -0x1.5c764a5fcafb4p-29},
    {0x1.cb720ep+0, -0x1.8837cb757e1a1p-27},
    {0x1.ccb0f3p+0, -0x1.92e98b1d220f8p-28},
    {0x1.cdf0b58p+0, -0x1.511e031dd83b5p-27},
    {0x1.cf31558p+0, 0x1.add5b9cbee2c9p-27},
    {0x1.d072d48p+0, 0x1.03c4bdc687918p-27},
    {0x1.d1b5328p+0, 0x1.8464b42aac6c4p-27},
    {0x1.d2f8708p+0, 0x1.b13e315bc2473p-33},
    {0x1.d43c8e8p+0, 0x1.6550eb27b6a78p-27},
    {0x1.d5818ep+0, -0x1.822dbc6d12fd3p-27},
    {0x1.d6c76e8p+0, 0x1.8b9b4c1fe87a5p-30},
    {0x1.d80e318p+0, -0x1.367c68447b063p-28},
    {0x1.d955d7p+0, 0x1.ff60756814b6fp-28},
    {0x1.da9e6p+0, 0x1.ed9942b84600dp-27},
    {0x1.dbe7cd8p+0, -0x1.c57ceb6ddbc65p-28},
    {0x1.dd321fp+0, 0x1.80da3025b4aefp-27},
    {0x1.de7d568p+0, -0x1.f1fcd4394aa52p-27},
    {0x1.dfc973p+0, 0x1.bdcdaf5cb4656p-27},
    {0x1.e116768p+0, 0x1.8cbe8b76a56b2p-27},
    {0x1.e264618p+0, -0x1.852f6baf6c4fp-27},
    {0x1.e3b3338p+0, 0x1.8b7708cc16b7ap-27},
    {0x1.e502ee8p+0, -0x1.d30027630bb4p-30},
    {0x1.e653928p+0, -0x1.cc4945163ff87p-27},
    {0x1.e7a51f8p+0, 0x1.e3a641a5aa459p-27},
    {0x1.e8f7978p+0, -0x1.9246022112901p-31},
    {0x1.ea4afap+0, 0x1.52486cc2c7b9dp-27},
    {0x1.eb9f488p+0, -0x1.833591adf3437p-28},
    {0x1.ecf483p+0, -0x1.38cc07b927e77p-27},
    {0x1.ee4aaap+0, 0x1.0c4288238d1b5p-27},
    {0x1.efa1bfp+0, -0x1.9ea5d888e02dep-28},
    {0x1.f0f9c2p+0, -0x1.a4df6b264400dp-27},
    {0x1.f252b38p+0, -0x1.288ad162f2d2p-29},
    {0x1.f3ac948p+0, 0x1.bae4e7cd4b4b8p-29},
    {0x1.f507658p+0, 0x1.b722a033a7c26p-27},
    {0x1.f663278p+0, 0x1.8844f87e8decdp-28},
    {0x1.f7bfdbp+0, -0x1.31a0f63b7625ap-27},
    {0x1.f91d8p+0, 0x1.121e447bb455dp-27},
    {0x1.fa7c18p+0, 0x1.9e90d82e90a7ep-28},
    {0x1.fbdba38p+0, -0x1.6d2aec1967731p-28},
    {0x1.fd3c228p+0, 0x1.c7b8f884badd2p-27},
    {0x1.fe9d968p+0, 0x1.9511ec8a5301cp-27}
};

/* e^t into *e in the workbench's arithmetic; 0 when it overflows the long double range. */
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("fp-contract=off")))
#endif
static inline int xor_exp_(long double t, long double *e)
{
#ifdef __clang__
#pragma STDC FP_CONTRACT OFF
#endif
    const double hi = (double)t;
    double lo, z, kd, a, w, rhi, back, rlo, r2, poly, plow, p1, p2, ph, pl, product, head, tail, scale;
    uint64_t bits;
    int k, m;
    unsigned j;
    if (!(fabs(hi) < 0x1.5ep+9)) {
        *e = expl(t);
        return !(isinf(*e) && isfinite(t));
    }
    lo = (double)(t - hi);
    z = hi * 0x1.71547652b82fep+8 + 0x1.8p+52;
    kd = z - 0x1.8p+52;
    k = (int)kd;
    j = (unsigned)k & 255u;
    m = (k - (int)j) / 256;
    a = hi - kd * 0x1.62e42fefcp-9;
    w = lo - kd * -0x1.c610ca86c3899p-45;
    rhi = a + w;
    back = rhi - a;
    rlo = (a - (rhi - back)) + (w - back);
    r2 = rhi * rhi;
    poly = (0x1.5555555555555p-3 + rhi * 0x1.5555555555555p-5) + r2 * (0x1.1111111111111p-7 + rhi * 0x1.6c16c16c16c17p-10);
    plow = ((rlo + rhi * rlo) + r2 * 0x1p-1) + r2 * rhi * poly;
    memcpy(&bits, &rhi, sizeof bits);
    bits &= 0xFFFFFFFFFC000000u;
    memcpy(&p1, &bits, sizeof p1);
    p2 = (rhi - p1) + plow;
    ph = xor_exp_table_[j][0];
    pl = xor_exp_table_[j][1];
    product = ph * p1;
    head = ph + product;
    tail = (((product - (head - ph)) + ph * p2) + pl * (rhi + plow)) + pl;
    bits = (uint64_t)(m + 1023) << 52;
    memcpy(&scale, &bits, sizeof scale);
    *e = ((long double)head + tail) * scale;
    return 1;
}

/* One layer: each neuron's weighted sum in long double, inputs in order, the
   guard on the sum, the bias, the activation, the guard on the result. */
static inline int xor_layer_(int code, int neurons, int inputs, const double *w, const double *b,
    const double *x, double *y)
{
    int i, j;
    for (i = 0; i < neurons; ++i) {
        const double *row = w + (long)i * inputs;
        long double s = 0, v;
        for (j = 0; j < inputs; ++j)
            s += (long double)row[j] * x[j];
        if (!(fabsl(s) <= XOR_GUARD_))
            return 0;
        s += b[i];
        switch (code) {
        case 1:
            if (!xor_exp_(-s, &v))
                return 0;
            v = 1.0L / (v + 1.0L);
            break;
        case 2:
            if (!xor_exp_(-2.0L * s, &v))
                return 0;
            v = 2.0L / (v + 1.0L) - 1.0L;
            break;
        case 3: v = fabsl(s) >= 0x8p+60L ? 0.0L : sinl(s); break;
        case 4: v = s < 0 ? 0.0L : (s > 1 ? 1.0L : s); break;
        case 5: v = s < -1 ? -1.0L : (s > 1 ? 1.0L : s); break;
        case 6: v = s < 0 ? 0.0L : s; break;
        default: v = s; break;
        }
        if (!(fabsl(v) <= XOR_GUARD_))
            return 0;
        y[i] = (double)v;
    }
    return 1;
}

static inline int xor_evaluate(const double *inputs, double *outputs)
{
    double x[XOR_INPUT_COUNT];
    double a[2], b[2], y[XOR_OUTPUT_COUNT];
    int j;
    for (j = 0; j < XOR_INPUT_COUNT; ++j) {
        const double *r = xor_input_ranges[j];
        double v = inputs[j];
        if (r[0] < r[1]) {
            long double s = (((long double)v - r[0]) * 2) / ((long double)r[1] - r[0]) + (-1.0L);
            v = (double)s;
            if (isinf(v) && isfinite(s))
                return 0;
        }
        x[j] = v;
    }
    if (!xor_layer_(2, 2, 2, xor_weights_1, xor_bias_1, x, a))
        return 0;
    if (!xor_layer_(0, 1, 2, xor_weights_2, xor_bias_2, a, b))
        return 0;
    for (j = 0; j < XOR_OUTPUT_COUNT; ++j) {
        const double *r = xor_output_ranges[j];
        double v = b[j];
        if (r[0] < r[1]) {
            long double s = (((long double)r[1] - r[0]) * ((long double)v - (-0xe.666666666666666p-4L))) / 0xe.666666666666666p-3L + r[0];
            v = (double)s;
            if (isinf(v) && isfinite(s))
                return 0;
        }
        y[j] = v;
    }
    memcpy(outputs, y, sizeof y);
    return 1;
}

#ifdef XOR_SELF_TEST
#include <stdio.h>

/* Test vectors: inputs, and the outputs and result the workbench computed for them. */
#define XOR_TEST_COUNT_ 256
static const double xor_test_inputs_[XOR_TEST_COUNT_ * XOR_INPUT_COUNT] = {
    0x0p+0, 0x0p+0, -0x1.7a19f987c1172p+1, 0x1.7c447f28e841p-3,
    -0x1.0bf0933d0a486p+1, 0x1.02278d29c37c8p+1, 0x1.17776fb4fcb78p+1, 0x1.b435676d16fap+0,
    -0x1.540eaca6728b3p+1, -0x1.cac38efba7fd4p-1, -0x1.d995748e9521p-3, -0x1.3573981a9bb03p+1,
    0x1.9770d547f3afp-1, 0x1.58f73cea9be92p+1, 0x1.725e5a4fc218p-4, -0x1.00fd3479f1559p+0,
    0x1.4638887ea56f8p+0, -0x1.4d01ed29daa24p+1, -0x1.08bada04301d4p-1, 0x1.2d5d7c6f6ebe4p+0,
    0x1.f87d758e3bdb4p+0, -0x1.2cff98e583a54p+0, -0x1.87a9aec0a1e45p+0, 0x1.ae07c18e3884p-4,
    -0x1.0c69b8e9d546ap+10, -0x1.35582c0235f7dp+9, 0x1.f6f796ae6b668p+11, -0x1.c58638d448bc7p+11,
    0x1.aba76f9e31957p+16, -0x1.a0b2078020713p+16, 0x1.fc8e86e8c6bc8p+174, 0x1.fd9c4e07797b9p+173,
    0x1.415497e7364e8p+1, 0x1.51386209fc568p-2, 0x1.776f1c23a624cp+0, 0x1.5fd8bdcfaf6fcp+1,
    -0x1.36f8fff45dc83p+0, 0x1.d84b0869e123p+0, -0x1.b2234f196f177p+0, 0x1.6ce167dd9b9c4p+1,
    0x1.58ce7b32766d2p+1, -0x1.14f7fdceb7674p+1, 0x1.57941a7b457e8p-1, -0x1.5d8d4f784fa1dp+0,
    -0x1.794e73942913p-1, 0x1.1dae95f8833a8p-1, 0x1.e0c42bdbefadp-3, -0x1.0dcf944213905p+1,
    0x1.1405f62c70d92p+1, 0x1.5004003824dp+0, -0x1.65eff25bc323ep+1, -0x1.5c8d72880a754p+1,
    -0x1.d69b078587c28p-1, 0x1.9285faadf317cp+0, 0x1.532038e168858p+1, -0x1.fe29752ad28ap-1,
    -0x1.23752c3c30ff4p+4, 0x1.3cdba076e8a0ap+4, -0x1.f8464e24e3ep+1, -0x1.a26deaf8eda2p+7,
    0x1.ed758793014dp+11, -0x1.912b26eb67cbep+11, 0x1.ad3381a0ea2a2p+174, -0x1.03ff4edb446fcp+178,
    -0x1.3918c15e553e9p+1, -0x1.04a815f2db287p+0, 0x1.3980d65900fd4p+0, 0x1.2637553650eap+1,
    0x1.3347a7c9cf3ep-3, -0x1.700065697c65ep+0, -0x1.5f832f0024aeap+1, 0x1.0de20b32917ap+0,
    -0x1.089494f00c4ep-3, 0x1.7d8e7ade175e8p+0, -0x1.28b0664f0e224p+0, 0x1.3c1c187d8177p-3,
    0x1.67c7aa66694p-2, 0x1.097d52a08d69p-2, -0x1.9000018fce495p+0, 0x1.249a639a2efb8p+1,
    -0x1.5f8b1c2592bdap+0, -0x1.b73d98c06a5fp-2, 0x1.465087f69ecd8p+0, 0x1.6faeb90f72f98p+0,
    -0x1.2bdc0d8dec825p+0, 0x1.6c073a388ab06p+1, 0x1.26f308318ae8ep+1, 0x1.2ae9d0a4cf4b4p+1,
    -0x1.5c803a51ab07p+8, 0x1.52f7bc1fe97a4p+7, -0x1.9fee026248ab6p+11, -0x1.207437eee284cp+12,
    0x1.9193eb7394424p+9, 0x1.25d183fd27a58p+10, 0x1.bd954e9e54853p+141, -0x1.145cc76483a41p+143,
    0x1.13b718586c784p+1, 0x1.9ba40e5f68784p-1, 0x1.9185014444fp-2, -0x1.f278a3070aa2cp-1,
    -0x1.ce81bf262a84p-2, 0x1.6653ccfa32178p+1, -0x1.2240c12e95f32p+1, 0x1.3defaacfe85ccp+0,
    0x1.78c50351c5d26p+1, -0x1.2acacd3ae66aep+1, -0x1.862387a309e4p-2, -0x1.304023f47a917p+1,
    0x1.3e02cb1bdccacp+0, -0x1.27599c8262b5ep+1, -0x1.f05337f57e3ffp+0, 0x1.4793df051854p-5,
    -0x1.6b010fb0fe025p+0, 0x1.2bd1e9c9ae918p+0, -0x1.25ad5bd7a97fp-3, 0x1.7f8f756b374c8p+1,
    -0x1.1670332170748p-1, 0x1.f1b89d5a5db84p-1, -0x1.dcb9a2a8a5d7p-2, -0x1.8aa60e561208p-2,
    -0x1.3f698faa8ae4dp+12, -0x1.b7b97cff3bffp+12, -0x1.db4aa6c2e4303p+11, -0x1.efa9fb12c7449p+11,
    0x1.a79189e873654p+17, -0x1.127a853d9158ep+18, -0x1.8badccbd7416dp+161, -0x1.e4a7dd8328727p+161,
    0x1.714067bd9f20cp+0, -0x1.7db5810bf3e08p+1, 0x1.984f1b1b2d198p+0, 0x1.388d953f1a32p-1,
    -0x1.23c54863ec5f9p+0, -0x1.9f4b2a30c485p-3, -0x1.4a966b34b366dp+0, 0x1.c7473eb858778p+0,
    -0x1.c30b9f58c2cp-3, 0x1.7b404a6258cb8p+0, -0x1.cc59e283bfadbp+0, 0x1.54b7c07114e3p+1,
    -0x1.b44823ce009fap+0, -0x1.dff63de2d3c4p-4, 0x1.32c4a3ea7ed62p+1, -0x1.68cd177957a2p+1,
    -0x1.0c29dfc55f24p-4, -0x1.dbd768824be25p+0, 0x1.d4f66d920b96p+0, 0x1.41e847823531cp+1,
    0x1.010f6fc4bcc7cp+0, 0x1.01ff24f927268p+1, -0x1.bc6147c7d401ep+0, 0x1.4347d35f5997cp+1,
    0x1.1098f960eaa54p+8, 0x1.54733628acca8p+7, 0x1.a0456f6604b2p+3, -0x1.5f6f400db189ep+4,
    0x1.2238d449764d9p+10, 0x1.526fa84215b2bp+7, 0x1.8d675bbaf5fb2p+168, -0x1.681c8cce86f9ap+170,
    0x1.6f137a9b64198p+1, 0x1.08d28d6d55adp+1, -0x1.59950ece7cd14p+1, 0x1.4100a288aec8p-5,
    0x1.225ec3ed51652p+1, 0x1.59063399fc7cp-1, 0x1.6f3462d90c7a4p+1, -0x1.15e0430800264p+1,
    0x1.63a60075c7cbp+1, 0x1.68f62e44c3274p+0, -0x1.7533b8d5e614ep+1, -0x1.0b0a30d7d9428p-2,
    -0x1.64446ac3f8b4bp+1, 0x1.1b86bb8796f34p+1, -0x1.82c3f5975e48p-5, -0x1.7c45f2427dd06p+1,
    0x1.39befd3fdcafcp+1, -0x1.8a686b1b6243ap+0, 0x1.e3032956af65p+0, -0x1.56bd8b16691dbp+0,
    -0x1.b8c8ba50aaaffp+0, -0x1.1a7131733369ap+1, -0x1.b812349848a18p+0, -0x1.c01a9e0761e6cp+0,
    0x1.1a5e879d75a6p-1, 0x1.89adb34ccfab8p+3, -0x1.9e771b6484468p+2, 0x1.6b085cf9976e8p+5,
    0x1.9336d3ae04f1bp+13, -0x1.34dca8660be98p+13, 0x1.09cf9881bbe0dp+149, 0x1.f783f8594b28p+149,
    0x1.8a43afffb6428p-1, 0x1.492e07b2208ep+1, 0x1.4f49d2eb610b4p+1, 0x1.2900392aa61dep+1,
    -0x1.a855d7ca91714p+0, -0x1.662b233b6714p+0, -0x1.1f83cee01541bp+0, 0x1.46d2f0daf623p+0,
    0x1.9dbd0f7e10508p+0, 0x1.0d83f24dd0ce4p-1, 0x1.8026f4076ec28p-1, 0x1.f930ebad11218p+0,
    0x1.3dc17e8a163b4p+1, -0x1.355a2acded671p+0, 0x1.29242869d34cp-1, 0x1.08fa819a2a034p-1,
    0x1.ad7dedfc8a9bcp+0, -0x1.8c6d9c45396dap+0, 0x1.64300edd5aaa8p+0, -0x1.7ae58d453bdecp-1,
    0x1.99634cbc8f9fp+0, 0x1.b2fdbbfaa60fp-3, 0x1.5d1014d891be4p+1, -0x1.cd30e62a3398p-1,
    0x1.0fdb8b1414e58p+10, -0x1.1058f752a2ef8p+9, -0x1.686607afd923ap+12, 0x1.27b77aac46df8p+12,
    -0x1.2da6f5801b9ecp+15, 0x1.32369a260800cp+18, 0x1.7d47a25977232p+151, 0x1.739dd0560783dp+152,
    -0x1.3d989308b7e3p+1, 0x1.44e3afc322a12p+1, -0x1.156223f95416p+1, -0x1.2a3f5bc97a9c6p+1,
    0x1.ece310d0022bp+0, 0x1.8aa4196a1f3bp-2, 0x1.4efe52aa1e018p-1, -0x1.5395a4b747d3p+1,
    -0x1.03f5ba582402p+1, -0x1.db9febf397dap-1, -0x1.2df64b0b239e8p-1, -0x1.5f5ccc66abe14p+1,
    0x1.63144ed234c2p+1, -0x1.808ae5c108548p+0, -0x1.78f69c087ee19p+0, -0x1.4aa4d5c651eaep+1,
    -0x1.c488405708621p+0, 0x1.523981fbf9296p+1, -0x1.11912a923d666p+1, -0x1.2cfe44423ee6dp+1,
    0x1.5316300f4aafep+1, -0x1.0289bbf24347ap+0, 0x1.14338e12a2cp+1, -0x1.6f7acdad70a67p+0,
    -0x1.d3945208d326p+7, 0x1.4c9224ea8c69cp+6, -0x1.603c3f77b868fp+3, 0x1.458a4e6bafda8p+2,
    0x1.b2463d4127a2ep+15, -0x1.fc4533e1899bp+18, -0x1.e82a3a747d98fp+189, -0x1.8d28dd8672626p+190,
    -0x1.17f84c698874ap+1, 0x1.0507f17021378p-2, 0x1.21f1ba9c705cp+0, -0x1.ce9ae69ce6472p+0,
    0x1.787cf9701af04p+1, 0x1.af6ccaf985698p-2, -0x1.7fa69d18de2ap-2, -0x1.09de1b634e5d4p+1,
    0x1.2f5038e9457cap+1, 0x1.5ed7e2ef8f54p+1, 0x1.b2bcaf3a34a9p-2, -0x1.747bcbbb4af4fp+1,
    -0x1.4150209fe6c87p+0, 0x1.3755a3cb653dp+0, 0x1.6ee8bc2ccf2p+1, -0x1.26702f9b5b2dcp-1,
    0x1.edc20501056dcp+0, -0x1.9908801f702abp+0, 0x1.4892509deb718p+1, 0x1.ae697284945b8p-1,
    -0x1.dda73ede91bd4p-1, -0x1.78a36280c0c5dp+0, 0x1.40b4830b2a41p-1, -0x1.8a883adc1ee2dp+0,
    0x1.147ad1a0600d4p+3, 0x1.223f988be46ep+3, -0x1.d20b9f66f92dp+10, -0x1.2791995b70ceap+12,
    -0x1.da0a28a98f75fp+18, -0x1.7d95a884ba3f3p+19, -0x1.5c3965f0580bp+103, -0x1.c5f0a7703323ap+104,
    -0x1.76e9baf823f61p+1, -0x1.0f0b0b0517306p+1, -0x1.a69f91ce107p-2, -0x1.bd25f9be0f36p+0,
    0x1.71c2fdd11ff5cp+1, -0x1.866a2ec07a482p+0, 0x1.5b20500564f78p-2, -0x1.1107e9f33f3dbp+1,
    0x1.b914ff48e8b88p-1, 0x1.b0c004523ab08p+0, 0x1.c88a25b710124p+0, -0x1.2d135b0f5c3cp+1,
    0x1.bc24779119f48p+0, 0x1.789812ae8d46p-2, -0x1.8e5cd8605957p-2, -0x1.1ccd7db4504fdp+0,
    -0x1.14323a4a4449dp+0, 0x1.8a8cd483212f8p+0, 0x1.5b9bbe2adf7p-3, 0x1.1e6e873b4fb0ep+1,
    0x1.c132102f969c8p-1, -0x1.95a3a35bc97a1p+0, 0x1.39dfa6881a2eep+1, -0x1.05caffd5faee3p+1,
    -0x1.cd759ac334e6p+9, 0x1.047fc2878289p+10, -0x1.29f994fc821fcp+5, 0x1.4627ddccaaa48p+4,
    -0x1.a4d1c18c204c1p+16, 0x1.a3dd4e5bd099p+16, 0x1.1681f54a6d084p+189, 0x1.518cbe1c38abap+187,
    0x1.c5e3909a914a8p+0, -0x1.0e9524e2187a8p+1, -0x1.33906e37641b4p+1, -0x1.715d2145a7ed6p+1,
    -0x1.af873c207e08cp-1, 0x1.f096d8e1d7dd8p+0, 0x1.b160bb19741acp+0, -0x1.4ff7bf8d15c07p+0,
    -0x1.e7509f6fac374p-1, -0x1.5868746bb0a31p+0, -0x1.8e8d872c63758p-1, 0x1.ae76bfd47391p+0,
    0x1.e1d9a67d0882p+0, -0x1.cb2c04aeb2158p+0, -0x1.4653d2f2edf2ap+0, 0x1.3b2fca87b6956p+1,
    -0x1.4a45ba66c0848p-1, 0x1.ab7e4533c299cp-1, -0x1.8d425f9bf770ep+0, -0x1.f029c2592e008p-1,
    -0x1.46836d32975b9p+0, -0x1.a783820a47f75p+0, 0x1.4dba3e067d6cp-1, 0x1.800c2ba5a9f7p-1,
    0x1.9a227e19a46fp+8, -0x1.802e9155bccafp+9, -0x1.11c40d0b6b6c6p+5, 0x1.7ab4d96647f08p+5,
    0x1.ff76c8ec87d48p+17, -0x1.e8c6e92129664p+17, 0x1.7f2cae19496efp+147, 0x1.d7fc24ec6ab68p+150,
    -0x1.c2137c5110f9fp+0, -0x1.3cdfb053c306p+1, 0x1.8ef9d7716f24p-2, -0x1.1e485ea69302p-2,
    -0x1.6b99d35377a68p-1, -0x1.1c06ff6cddec2p+1, 0x1.72d2d2d3a692p+1, 0x1.c0f7bde061804p+0,
    0x1.ebde1e1b76e9p-1, -0x1.34fcdb55f3b2bp+1, -0x1.742b76bdd9117p+0, 0x1.dac12aedc4a1p-2,
    -0x1.01257d9f147fp+1, 0x1.db61f09dcd3e8p-1, -0x1.250d661b341f7p+0, 0x1.0fb6c1e70096p+0,
    -0x1.0b5da3be3521bp+0, 0x1.1d13c9063f05cp+0, 0x1.179727e644414p+0, 0x1.67c64881e870cp+1,
    -0x1.0a26233f8bd28p+0, 0x1.288ea4ea487ap+1, 0x1.13bc7dbb4bfp+1, -0x1.6556ba1ae62fp-2,
    0x1.48e75287087b8p+4, 0x1.e6dc712c578acp+5, -0x1.889b65b875e2p+6, 0x1.98047553493b8p+7,
    -0x1.bd0140d0ffbc9p+12, 0x1.f03160a542d7fp+12, 0x1.e0eb0a6ec5d43p+156, -0x1.c9e06c39cc8e4p+156,
    0x1.2c2f03cf17df2p+1, 0x1.2738b84fc4f12p+1, -0x1.3fb7367859492p+0, -0x1.bffc99c2a2d21p+0,
    0x1.2c0d80fe953fp+1, 0x1.194e3476b1c1p-2, -0x1.eedc3d8cfdfe6p+0, -0x1.2f1db3e4afafp-3,
    -0x1.e310add6e7d3p-2, -0x1.3208531a3b532p+0, -0x1.2a411da7067c8p-1, 0x1.879b6050d4b4p-3,
    -0x1.bbcf1ce6812ap-1, -0x1.4332ffde044bdp+0, 0x1.de181c86626ap-2, -0x1.e3a435b3add08p-1,
    -0x1.432115f675c14p+1, 0x1.bd3f84f145b84p+0, -0x1.86d63fd52e26p-2, -0x1.d25cc46d21dp-4,
    0x1.728e7fa47d5b2p+1, 0x1.71a2e400842cp+1, -0x1.2f5c542a86ff8p+1, -0x1.599caeb241444p+1,
    -0x1.27c41266261cp+10, 0x1.4396cba6c14dap+13, 0x1.040b7f32638dcp+11, 0x1.469df1b3fcce8p+11,
    0x1.20d58be5c4da7p+10, 0x1.6394100b1a92p+10, -0x1.206be4ce836acp+112, 0x1.ece3f5e6e64c7p+111,
    0x1.4d029b0571c72p+1, -0x1.7ea79ac5f9b26p+1, 0x1.2c166c79815b4p+1, -0x1.ab40dda145ffp-2,
    0x1.f946f51679c98p+0, 0x1.2b34424251a5cp+0, -0x1.0cce49c3372e9p+1, 0x1.9ceda22918b1cp+0,
    -0x1.a7376fde3dc58p+0, -0x1.6c25c47c7178p-1, 0x1.cb4c60a239314p+0, -0x1.e69f92660b62cp-1,
    0x1.1c453eb704bf2p+1, -0x1.359f4a0a0699p-1, -0x1.6a705871b94b7p+1, 0x1.8c38767e25984p+0,
    -0x1.f6b05146e1fp-2, -0x1.459b3b3a502p-7, -0x1.35a1dc1c04bc8p-2, 0x1.7e9d2b5bbee8p-2,
    -0x1.09eef873239p-4, -0x1.931dfb140a34p-3, 0x1.581d6c1221b34p+1, -0x1.7cc03a6929cfep+1,
    0x1.6223572ac4c7cp+6, -0x1.d73fc21d41d2p+4, 0x1.8cb5366173ep+8, 0x1.bd5b0183e0e5p+11,
    0x1.4097aa9d8e5d9p+14, -0x1.f627715bd9694p+14, -0x1.5515a46ddd61ap+163, 0x1.1f111b00b8e1p+164,
    0x1.7af45a985b962p+1, -0x1.43d36c54888b8p-1, -0x1.e3779b75070c4p+0, -0x1.cafd856516d1cp-1,
    -0x1.0db42d433c618p+1, -0x1.e4a343eead1adp+0, 0x1.57c15bed1b76p+0, 0x1.fee11093f26b4p-1,
    0x1.a8e23441661fcp+0, -0x1.5f8fa122f2f4ep+1, 0x1.7f1512898f278p+0, -0x1.10eb2228195e2p+1,
    0x1.7ee49f5f9c40cp+0, -0x1.0bce460c55bdap+1, -0x1.2e0962da2e956p+0, -0x1.3af81d5329b3ap+1,
    0x1.a2c4a0c7db568p+0, 0x1.42fa0fee5e16cp+1, 0x1.67695637bad94p+0, -0x1.59109e4f9bb34p+0,
    0x1.cd0cb915dc1c4p+0, 0x1.fd64e8eb832b4p+0, 0x1.2641712ab1de6p+1, 0x1.b831ff0b07a48p-1,
    -0x1.748ff9b6a2b96p+9, 0x1.9ae0b4a460064p+8, -0x1.2780522be3e4p+0, -0x1.fedae6d5894ecp+3,
    0x1.53889f193bb52p+10, -0x1.00e4fda3d8909p+11, 0x1.c902fa3b00612p+122, -0x1.9165c921f79d6p+120,
    -0x1.051509d902ceep+1, 0x1.0ae4fe3d93e3ep+1, 0x1.4681977659b1cp-1, 0x1.aec1419727d4p-4,
    -0x1.5e4e663c155b8p-1, 0x1.e5ec6e735a104p+0, -0x1.0da135a6b0ef1p+1, -0x1.d4e4a64c46d48p-1,
    0x1.5b0330be496e2p+1, 0x1.2f59cdb682f7p+0, -0x1.70699fd12b07p-2, -0x1.1ca2e6703c9e2p+1,
    0x1.0c0eecafe9796p+1, -0x1.74ace9fc0f7d7p+1, 0x1.d4b1cee40b64p+0, -0x1.99442bad04e84p-1,
    0x1.08cdd61194268p+1, 0x1.4edc85f42dd04p+1, 0x1.789452b0a59c2p+1, -0x1.19d9f8e928bap+1,
    0x1.2e0c52235ece8p+1, -0x1.9e45952f14358p-1, 0x1.30fe816504644p+1, 0x1.2317399738ap-3,
    0x1.8c46fe85befc8p+7, 0x1.7821eff314806p+8, -0x1.248a169f055f3p+2, 0x1.6ad553e12fea8p+1,
    -0x1.8cda6d5475347p+18, 0x1.53ce344214cb5p+19, 0x1.640370a9dafc7p+166, 0x1.9c43ab20883c3p+166
};
static const double xor_test_outputs_[XOR_TEST_COUNT_ * XOR_OUTPUT_COUNT] = {
    0x1.7cd32e34b2p-15, 0x0p+0, 0x1.4a3565a568p-17, 0x0p+0,
    0x0p+0, 0x0p+0, 0x0p+0, 0x1.298p-41,
    0x1p-53, 0x1.ec01f22b818a9p-1, 0x1.fe9906b416594p-1, 0x0p+0,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x1.44f6p-39, 0x0p+0, 0x1.dcb48050f299fp-1, 0x1.ff7c5b3ec0bd3p-1,
    0x1.4a89646c4c67p-1, 0x1.73866p-35, 0x1.54081ab5p-20, 0x0p+0,
    0x0p+0, 0x0p+0, 0x1.e92890ae35316p-1, 0x1.6ed340095f678p-5,
    0x1.2f21ed8c5b328p-3, 0x0p+0, 0x0p+0, 0x0p+0,
    0x0p+0, 0x0p+0, 0x1.4p-52, 0x0p+0,
    0x1.e1f11634d0698p-1, 0x1.808p-44, 0x1.cd7d80b589ddcp-1, 0x1.fa3367b733ba3p-1,
    0x0p+0, 0x1.0ae1cp-35, 0x1.f6b60459b819p-6, 0x0p+0,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x1.e8p-43, 0x1.bc5094p-32, 0x1.73ded2cp-25, 0x1.f88p-45,
    0x1.cc2f9254698a3p-1, 0x0p+0, 0x1.cap-46, 0x0p+0,
    0x1.5e139423p-22, 0x1.f09p-40, 0x1.8a1b8b71d5fcap-3, 0x1.038ap-39,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x0p+0, 0x1.909fa6ffp-21, 0x1p-53, 0x1.be2e464b792fep-2,
    0x1.fbb8093cd3c8p-1, 0x1.ffa4a2d06a5d4p-1, 0x0p+0, 0x1.5020d98p-27,
    0x0p+0, 0x0p+0, 0x1.1cp-44, 0x1.fe72769889b18p-1,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x0p+0, 0x0p+0, 0x1.4d7p-42, 0x1.f6664b3dd52c7p-1,
    0x0p+0, 0x0p+0, 0x1.2127e6p-31, 0x0p+0,
    0x1.ffdb5d604dbbap-1, 0x1.721c18d8a97f6p-1, 0x0p+0, 0x0p+0,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x1p-53, 0x0p+0, 0x0p+0, 0x1.006389a9c8ap-10,
    0x1.600687484p-19, 0x1.9d6dp-36, 0x1.fa7a6a4f6951cp-1, 0x1.ffd5053fe7f46p-1,
    0x1.3aea156cad6p-11, 0x1.e852ebebfa6fcp-1, 0x1.01468ef33698p-9, 0x1.7f85504c3d2p-10,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x1.2989ddc17f8p-13, 0x0p+0, 0x1.85f9952p-24, 0x0p+0,
    0x0p+0, 0x0p+0, 0x1.fab48ec4d3af9p-1, 0x0p+0,
    0x1.ffb6970fc8a8ep-1, 0x0p+0, 0x1.dcba913b3525p-5, 0x1.fa1297e6c9452p-1,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x0p+0, 0x1.14bbcp-34, 0x1p-54, 0x0p+0,
    0x0p+0, 0x0p+0, 0x1.5d4ded58e8p-16, 0x1.1f01b57ap-23,
    0x1.0d80a468aebb8p-5, 0x0p+0, 0x0p+0, 0x1.21b8p-41,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x0p+0, 0x0p+0, 0x1.e087f2d526824p-1, 0x0p+0,
    0x1.912a7p-31, 0x1.1e3dccp-31, 0x1.86a92caa4p-18, 0x0p+0,
    0x1.47b7dc72443e1p-2, 0x1.c29946cp-27, 0x1.1f92p-35, 0x1.134cee2cb7fbep-3,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x1.aa68b13p-25, 0x0p+0, 0x1.ffd5c544d796p-1, 0x1.57dcfaf658b2cp-4,
    0x0p+0, 0x1.ffd5cf70108dep-1, 0x1.17e5263cd34p-12, 0x1.ff0269dc32f4ap-1,
    0x1.08d9ffdd4a6p-9, 0x0p+0, 0x0p+0, 0x1.c0e4076c7edf2p-1,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x0p+0, 0x1.ade8b43ef28p-12, 0x0p+0, 0x0p+0,
    0x0p+0, 0x1.008p-43, 0x1.51p-46, 0x1.1f9c22f37p-17,
    0x1.7bca7f3004p-13, 0x0p+0, 0x1.fa1f9a1bea75ap-1, 0x1.23ffa2fb8188p-9,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x0p+0, 0x0p+0, 0x1.a48acp-33, 0x0p+0,
    0x0p+0, 0x1.374a9f1p-26, 0x0p+0, 0x1.ba4bb78p-29,
    0x1.e365p-38, 0x1.35bef2p-29, 0x0p+0, 0x0p+0,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x1.4da27c2p-26, 0x1.984cd06a548p-13, 0x1.88p-48, 0x1.6f125fp-29,
    0x0p+0, 0x1.ff784d33cdf22p-1, 0x1.6da0dd6ed86acp-4, 0x1.8p-52,
    0x1.168af78p-29, 0x1.8bf6fe32758p-13, 0x1.039edf35p-22, 0x1.3e5d08bp-23,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x1.137af3bp-24, 0x0p+0, 0x0p+0, 0x1.ad20e0ap-25,
    0x1.29p-46, 0x1.2c0358p-33, 0x1.489298p-32, 0x0p+0,
    0x0p+0, 0x1.2401ad7193p-13, 0x0p+0, 0x1.1cp-48,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0,
    0x1.d826e5b145p-14, 0x1.fc0d58e94dc3cp-1, 0x1.fe53e597a051fp-1, 0x0p+0,
    0x0p+0, 0x0p+0, 0x1.fc84p-39, 0x1.fff1a90ca665cp-1,
    0x0p+0, 0x1.fbd365a45c5acp-1, 0x1.10e192aeb43b7p-2, 0x1.5851fdp-30,
    0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0
};
static const unsigned char xor_test_results_[XOR_TEST_COUNT_] = {
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0
};

/* 1 when every test vector gives the workbench's result and outputs bit for bit. */
static inline int xor_self_test(void)
{
    int v, failures = 0;
    for (v = 0; v < XOR_TEST_COUNT_; ++v) {
        double outputs[XOR_OUTPUT_COUNT];
        const double *expected = xor_test_outputs_ + (long)v * XOR_OUTPUT_COUNT;
        int result = xor_evaluate(xor_test_inputs_ + (long)v * XOR_INPUT_COUNT, outputs);
        if (result != xor_test_results_[v] || (result && memcmp(outputs, expected, sizeof outputs) != 0)) {
            if (failures < 5)
                fprintf(stderr, "xor: test vector %d gives a different result\n", v + 1);
            ++failures;
        }
    }
    printf("xor: %d of %d test vectors match\n", XOR_TEST_COUNT_ - failures, XOR_TEST_COUNT_);
    return failures == 0;
}

/* Compiled on its own (cc -x c), the header is the self-test program. */
#if defined(__INCLUDE_LEVEL__) && __INCLUDE_LEVEL__ == 0
int main(void)
{
    return xor_self_test() ? 0 : 1;
}
#endif
#endif /* XOR_SELF_TEST */

#endif /* XOR_H_INCLUDED */
