#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The byte order of both file formats is little-endian; these encode and
// decode it explicitly, whatever the host's order.

class ByteWriter {
public:
    void Reserve(std::size_t size) { bytes_.reserve(size); }
    void PutBytes(std::span<const std::uint8_t> bytes);
    void PutByte(std::uint8_t value) { bytes_.push_back(value); }
    void PutInt32(std::int32_t value);
    void PutDouble(double value);
    void PutDoubles(std::span<const double> values);

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    void putLittleEndian(std::uint64_t bits, int size);

    std::vector<std::uint8_t> bytes_;
};

// Reads from a byte span. A read that needs more bytes than remain fails,
// reads nothing and leaves the position where it was.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Remaining() const { return bytes_.size() - pos_; }
    bool AtEnd() const { return pos_ == bytes_.size(); }
    // Whether count more bytes are there; safe for any count.
    bool Has(std::uint64_t count) const { return count <= Remaining(); }

    bool ReadBytes(std::span<std::uint8_t> out);
    bool ReadByte(std::uint8_t& value);
    bool ReadInt32(std::int32_t& value);
    bool ReadDouble(double& value);
    bool ReadDoubles(std::span<double> values);

private:
    std::uint64_t takeLittleEndian(int size);

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};
