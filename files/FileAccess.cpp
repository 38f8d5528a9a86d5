#include "files/FileAccess.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::string errnoText(int code)
{
    return std::generic_category().message(code);
}

std::string fullPath(const std::string& fileName)
{
    std::error_code ec;
    fs::path path = fs::absolute(fs::path(fileName), ec);
    return ec ? fileName : path.lexically_normal().string();
}

// The file a save replaces: a symbolic link is followed, so that saving
// through it updates the file it points to instead of replacing the link.
fs::path saveTarget(const std::string& fileName)
{
    std::error_code ec;
    fs::path target(fileName);
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            return resolved;
    }
    return target;
}

// A new, exclusively created file in the target's folder.
FileHandle createTemporaryBeside(const fs::path& target, fs::path& tempPath, int& errorCode)
{
    std::random_device device;
    std::mt19937_64 generator((std::uint64_t(device()) << 32) ^ device());
    fs::path folder = target.parent_path();
    errorCode = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(generator()));
        tempPath = folder / ("." + target.filename().string() + suffix);
        errno = 0;
        if (std::FILE* file = std::fopen(tempPath.c_str(), "wbx"))
            return FileHandle(file);
        errorCode = errno;
        if (errorCode != EEXIST)
            break;
    }
    return nullptr;
}

}  // namespace

std::string FileErrorMessage(std::string_view action, const std::string& fileName, std::string_view reason)
{
    std::string message = "Cannot ";
    message += action;
    message += " file \"";
    message += fullPath(fileName);
    message += "\". ";
    message += reason;
    return message;
}

bool ReadFileBytes(const std::string& fileName, std::uint64_t limit, std::vector<std::uint8_t>& bytes,
                   std::uint64_t& fileSize, std::string& reason)
{
    // Only regular files: a folder cannot be read, and a pipe or a device
    // could block or never end.
    std::error_code ec;
    fs::file_status status = fs::status(fs::path(fileName), ec);
    if (fs::is_directory(status)) {
        reason = errnoText(EISDIR);
        return false;
    }
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        reason = "Not a regular file";
        return false;
    }
    errno = 0;
    FileHandle file(std::fopen(fileName.c_str(), "rb"));
    if (!file) {
        reason = errnoText(errno ? errno : ENOENT);
        return false;
    }
    std::uintmax_t size = fs::file_size(fs::path(fileName), ec);
    std::vector<std::uint8_t> content;
    if (!ec && size <= limit)
        content.reserve(size);
    std::uint8_t chunk[65536];
    bool reachedEnd = false;
    while (content.size() < limit) {
        std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, limit - content.size()));
        std::size_t got = std::fread(chunk, 1, wanted, file.get());
        content.insert(content.end(), chunk, chunk + got);
        if (got < wanted) {
            reachedEnd = true;
            break;
        }
    }
    if (std::ferror(file.get())) {
        reason = errnoText(errno ? errno : EIO);
        return false;
    }
    // When the whole file was read its length is what was read; the size on
    // record only tells what lies beyond the limit.
    fileSize = reachedEnd || ec ? content.size() : std::max<std::uint64_t>(size, content.size());
    bytes.swap(content);
    return true;
}

bool WriteFileAtomically(const std::string& fileName, std::span<const std::uint8_t> bytes, std::string& error)
{
    fs::path target = saveTarget(fileName);
    fs::path tempPath;
    int errorCode = 0;
    FileHandle file = createTemporaryBeside(target, tempPath, errorCode);
    if (!file) {
        error = FileErrorMessage("create", fileName, errnoText(errorCode ? errorCode : EIO));
        return false;
    }
    auto discard = [&](std::string_view action, int code) {
        file.reset();
        std::error_code ignored;
        fs::remove(tempPath, ignored);
        error = FileErrorMessage(action, fileName, errnoText(code ? code : EIO));
        return false;
    };
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return discard("write", errno);
    if (std::fflush(file.get()) != 0)
        return discard("write", errno);
    if (std::fclose(file.release()) != 0)
        return discard("write", errno);

    // The new file replaces the old one with the old one's permissions.
    std::error_code ec;
    fs::file_status old = fs::status(target, ec);
    if (!ec && fs::is_regular_file(old))
        fs::permissions(tempPath, old.permissions(), ec);

    fs::rename(tempPath, target, ec);
    if (ec)
        return discard("create", ec.value());
    return true;
}
