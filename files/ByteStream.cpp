#include "files/ByteStream.h"

#include <algorithm>
#include <bit>

void ByteWriter::PutBytes(std::span<const std::uint8_t> bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ByteWriter::putLittleEndian(std::uint64_t bits, int size)
{
    for (int i = 0; i < size; ++i)
        bytes_.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void ByteWriter::PutInt32(std::int32_t value)
{
    putLittleEndian(static_cast<std::uint32_t>(value), 4);
}

void ByteWriter::PutDouble(double value)
{
    putLittleEndian(std::bit_cast<std::uint64_t>(value), 8);
}

void ByteWriter::PutDoubles(std::span<const double> values)
{
    bytes_.reserve(bytes_.size() + 8 * values.size());
    for (double v : values)
        PutDouble(v);
}

std::uint64_t ByteReader::takeLittleEndian(int size)
{
    std::uint64_t bits = 0;
    for (int i = 0; i < size; ++i)
        bits |= std::uint64_t(bytes_[pos_ + i]) << (8 * i);
    pos_ += size;
    return bits;
}

bool ByteReader::ReadBytes(std::span<std::uint8_t> out)
{
    if (!Has(out.size()))
        return false;
    std::copy_n(bytes_.begin() + pos_, out.size(), out.begin());
    pos_ += out.size();
    return true;
}

bool ByteReader::ReadByte(std::uint8_t& value)
{
    if (!Has(1))
        return false;
    value = bytes_[pos_++];
    return true;
}

bool ByteReader::ReadInt32(std::int32_t& value)
{
    if (!Has(4))
        return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(takeLittleEndian(4)));
    return true;
}

bool ByteReader::ReadDouble(double& value)
{
    if (!Has(8))
        return false;
    value = std::bit_cast<double>(takeLittleEndian(8));
    return true;
}

bool ByteReader::ReadDoubles(std::span<double> values)
{
    if (!Has(8 * std::uint64_t(values.size())))
        return false;
    for (double& v : values)
        v = std::bit_cast<double>(takeLittleEndian(8));
    return true;
}
