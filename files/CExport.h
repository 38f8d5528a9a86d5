#pragma once

#include <string>

class TNeuroNet;

// A network written as one dependency-free C header: the weights, biases and
// ranges as static data, and name_evaluate(inputs, outputs), which computes
// what TNeuroNet::SetInputs followed by Evaluate computes, bit for bit on
// x86-64. Under NAME_SELF_TEST the header also holds test vectors, inputs and
// the engine's own outputs for them, and name_self_test() to check them.

// The C name for a header file: its stem with every character that cannot be
// in an identifier replaced by '_', prefixed with "net_" when it does not
// begin with a letter ("xor.h" gives "xor", "2-layer net.h" gives "net_2_layer_net").
std::string CIdentifierForFile(const std::string& fileName);

// The header text for net under the C name name. net is used to compute the
// test vectors and is left as it was: inputs, outputs, Evaluated and the
// layers' outputs are restored.
std::string CHeaderText(TNeuroNet& net, const std::string& name);

// Writes the header for net to fileName through a temporary file, named after
// the file. On failure returns false with the reason in error, and whatever
// file was there is left as it was.
bool ExportNetworkAsC(TNeuroNet& net, const std::string& fileName, std::string& error);
