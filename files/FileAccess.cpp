#include "files/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kNotARegularFile = "Not a regular file";

// Larger reads and writes are split, as the system may do them in part anyway.
constexpr std::size_t kLargestTransfer = std::size_t(1) << 30;

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

// The reason a file of this type cannot be read or replaced.
std::string notRegularReason(mode_t mode)
{
    return S_ISDIR(mode) ? errnoText(EISDIR) : std::string(kNotARegularFile);
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return descriptor_; }
    int Release() { return std::exchange(descriptor_, -1); }

private:
    int descriptor_;
};

std::function<int(int)>& syncFunction()
{
    static std::function<int(int)> sync;
    return sync;
}

int syncDescriptor(int descriptor)
{
    const auto& sync = syncFunction();
    return sync ? sync(descriptor) : ::fsync(descriptor);
}

// The file a save replaces. A symbolic link is followed, so that saving
// through it updates the file it points to instead of replacing the link.
struct SaveTarget {
    fs::path Path;
    bool Exists = false;
    struct stat Info {};
};

bool findSaveTarget(const std::string& fileName, SaveTarget& target, std::string& reason)
{
    target.Path = fileName;
    struct stat link {};
    if (::lstat(fileName.c_str(), &link) != 0) {
        // A new file; a missing folder shows when the temporary file is created.
        if (errno == ENOENT)
            return true;
        reason = errnoText(errno);
        return false;
    }
    if (S_ISLNK(link.st_mode)) {
        // A link that points nowhere or into a loop fails here and is kept.
        char* resolved = ::realpath(fileName.c_str(), nullptr);
        if (!resolved) {
            reason = errnoText(errno);
            return false;
        }
        target.Path = resolved;
        std::free(resolved);
    }
    if (::stat(target.Path.c_str(), &target.Info) != 0) {
        reason = errnoText(errno);
        return false;
    }
    if (!S_ISREG(target.Info.st_mode)) {
        reason = notRegularReason(target.Info.st_mode);
        return false;
    }
    // A file its owner has protected is not replaced behind their back.
    if (::faccessat(AT_FDCWD, target.Path.c_str(), W_OK, AT_EACCESS) != 0) {
        reason = errnoText(errno);
        return false;
    }
    target.Exists = true;
    return true;
}

// A new, exclusively created file in the target's folder, with a short name
// so that any name the folder can hold can be saved. Returns the descriptor,
// or -1 with errno set.
int createTemporaryBeside(const fs::path& target, mode_t mode, fs::path& tempPath)
{
    std::random_device device;
    std::mt19937_64 generator((std::uint64_t(device()) << 32) ^ device());
    for (int attempt = 0; attempt < 16; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".corvalith-%012llx.tmp",
                      static_cast<unsigned long long>(generator() & 0xffffffffffffULL));
        tempPath = target.parent_path() / name;
        int descriptor = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    return -1;
}

// Gives the new file the old one's owner, group and permissions while it is
// still empty. What the system refuses (another owner for a user who is not
// the superuser, modes on a file system without them) is left: the file was
// created with no more permissions than the old one had.
void takeOverOwnerAndMode(int descriptor, const struct stat& old)
{
    struct stat created {};
    if (::fstat(descriptor, &created) == 0 && (created.st_uid != old.st_uid || created.st_gid != old.st_gid)) {
        if (::fchown(descriptor, old.st_uid, old.st_gid) != 0)
            (void)::fchown(descriptor, uid_t(-1), old.st_gid);
    }
    (void)::fchmod(descriptor, old.st_mode & 07777);
}

bool writeAll(int descriptor, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(descriptor, bytes.data(), std::min(bytes.size(), kLargestTransfer));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        bytes = bytes.subspan(std::size_t(written));
    }
    return true;
}

// The rename is only durable once the folder holding the name is synced.
// The new file is in place by then, so a folder that cannot be synced (some
// file systems refuse) does not turn the save into a failure.
void syncFolder(const fs::path& target)
{
    fs::path folder = target.parent_path();
    Descriptor descriptor(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (descriptor.Get() >= 0)
        (void)syncDescriptor(descriptor.Get());
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

TReadableFile::~TReadableFile()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

bool TReadableFile::Open(const std::string& fileName, std::string& reason)
{
    // The name is looked at first so that a device is not even opened when
    // the name already shows one; what is opened is checked again below.
    struct stat info {};
    if (::stat(fileName.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        reason = notRegularReason(info.st_mode);
        return false;
    }
    int opened = -1;
    do
        opened = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (opened < 0 && errno == EINTR);
    if (opened < 0) {
        reason = errnoText(errno);
        return false;
    }
    Descriptor descriptor(opened);
    if (::fstat(descriptor.Get(), &info) != 0) {
        reason = errnoText(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = notRegularReason(info.st_mode);
        return false;
    }
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = descriptor.Release();
    size_ = std::uint64_t(info.st_size);
    return true;
}

bool TReadableFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> bytes, std::string& reason) const
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t wanted = std::min(bytes.size() - done, kLargestTransfer);
        ssize_t got = ::pread(descriptor_, bytes.data() + done, wanted, off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reason = errnoText(errno);
            return false;
        }
        if (got == 0) {
            reason = "The file became shorter while it was read";
            return false;
        }
        done += std::size_t(got);
    }
    return true;
}

bool FitsInMemory(std::uint64_t bytes)
{
    long pages = ::sysconf(_SC_PHYS_PAGES);
    long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return true;
    return bytes / std::uint64_t(pageSize) < std::uint64_t(pages);
}

bool WriteFileAtomically(const std::string& fileName, std::span<const std::uint8_t> bytes, std::string& error)
{
    SaveTarget target;
    std::string reason;
    if (!findSaveTarget(fileName, target, reason)) {
        error = FileErrorMessage("create", fileName, reason);
        return false;
    }
    fs::path tempPath;
    mode_t mode = target.Exists ? (target.Info.st_mode & 0777) : 0666;
    Descriptor file(createTemporaryBeside(target.Path, mode, tempPath));
    if (file.Get() < 0) {
        error = FileErrorMessage("create", fileName, errnoText(errno));
        return false;
    }
    if (target.Exists)
        takeOverOwnerAndMode(file.Get(), target.Info);
    int code = 0;
    std::string_view action = "write";
    errno = 0;
    if (!writeAll(file.Get(), bytes) || syncDescriptor(file.Get()) != 0)
        code = errno ? errno : EIO;
    if (::close(file.Release()) != 0 && code == 0)
        code = errno;
    if (code == 0 && ::rename(tempPath.c_str(), target.Path.c_str()) != 0) {
        code = errno;
        action = "create";
    }
    if (code != 0) {
        ::unlink(tempPath.c_str());
        error = FileErrorMessage(action, fileName, errnoText(code));
        return false;
    }
    syncFolder(target.Path);
    return true;
}

void SetSyncFunction(std::function<int(int descriptor)> sync)
{
    syncFunction() = std::move(sync);
}
