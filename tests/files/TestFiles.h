#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir()
    {
        std::random_device device;
        auto base = std::filesystem::temp_directory_path();
        do {
            path_ = base / ("corvalith-test-" + std::to_string(device()) + std::to_string(device()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Names in the folder, to show that no temporary file was left behind.
    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            result.push_back(entry.path().filename().string());
        std::sort(result.begin(), result.end());
        return result;
    }

private:
    std::filesystem::path path_;
};

inline std::vector<std::uint8_t> readBytes(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void putInt32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

// Whether permissions stop this process; they do not for the superuser.
inline bool permissionsAreEnforced(const TempDir& dir)
{
    auto probe = dir.path() / "probe";
    std::filesystem::create_directory(probe);
    std::filesystem::permissions(probe, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    bool enforced = !std::ofstream(probe / "x").is_open();
    std::filesystem::permissions(probe, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(probe);
    return enforced;
}
