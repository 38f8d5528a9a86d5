#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Neuran.h"

// The network file: signature "Corvalith File  ", version 2, the inputs, every
// layer with its parameters, biases and weights, and the optional ranges.

inline constexpr std::string_view kNetFileSignature = "Corvalith File  ";
inline constexpr std::int32_t kNetFileVersion = 2;

// Writes the network as WriteFileAtomically does. On failure returns false
// with the reason in error, and whatever file was there is left as it was.
bool WriteNetFile(const TNeuroNet& net, const std::string& fileName, std::string& error);

// Reads a network file. When the file is accepted, net is replaced by the
// network it holds and true is returned; otherwise nothing changes: net, and
// the random generator that building layers reseeds. Only the bytes that the
// file's counts make part of the network are read.
bool ReadNetFile(const std::string& fileName, std::unique_ptr<TNeuroNet>& net);

// The bytes of a network file, as WriteNetFile writes them.
std::vector<std::uint8_t> EncodeNetFile(const TNeuroNet& net);

// The network held by the bytes of a network file, or null when they are not
// a complete, valid one: every count within its limits, every section whole.
// Bytes after the output ranges are not part of the network and are ignored.
// The whole network is checked before the first layer is built, so a
// rejected one leaves the random generator as it was.
std::unique_ptr<TNeuroNet> DecodeNetFile(std::span<const std::uint8_t> bytes);
