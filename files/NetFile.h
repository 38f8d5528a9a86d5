#pragma once

#include <memory>
#include <string>

#include "engine/Neuran.h"

// The network file: signature "Corvalith File  ", version 2, the inputs, every
// layer with its parameters, biases and weights, and the optional ranges.

// Writes the network through a temporary file beside fileName, renamed over it
// only when every byte is written. On failure returns false with the reason in
// error, and whatever file was there is left exactly as it was.
bool WriteNetFile(const TNeuroNet& net, const std::string& fileName, std::string& error);

// Reads a network file. When the file is accepted, net is replaced by the
// network it holds and true is returned; otherwise net is untouched.
bool ReadNetFile(const std::string& fileName, std::unique_ptr<TNeuroNet>& net);
