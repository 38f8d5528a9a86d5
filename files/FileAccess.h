#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Whole-file reads and safe whole-file writes for the two file formats.

// "Cannot <action> file "<full path>". <reason>", the program's form for
// every file error.
std::string FileErrorMessage(std::string_view action, const std::string& fileName, std::string_view reason);

// Reads at most limit bytes of a regular file into bytes and reports the
// file's size. On failure returns false with the system's text for the
// reason ("No such file or directory") in reason.
bool ReadFileBytes(const std::string& fileName, std::uint64_t limit, std::vector<std::uint8_t>& bytes,
                   std::uint64_t& fileSize, std::string& reason);

// Writes bytes to a temporary file beside fileName and renames it over
// fileName once every byte is on disk. On failure the temporary file is
// removed, whatever was at fileName is left as it was, and error says why.
bool WriteFileAtomically(const std::string& fileName, std::span<const std::uint8_t> bytes, std::string& error);
