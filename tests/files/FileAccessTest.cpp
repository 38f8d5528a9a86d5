#include "files/FileAccess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "files/TestFiles.h"

namespace {

const std::vector<std::uint8_t> kOld = {1, 2, 3};
const std::vector<std::uint8_t> kNew = {9, 8, 7, 6};

std::string createError(const std::string& name, const std::string& reason)
{
    return "Cannot create file \"" + name + "\". " + reason;
}

mode_t fileType(const std::string& name)
{
    struct stat info {};
    EXPECT_EQ(::lstat(name.c_str(), &info), 0) << name;
    return info.st_mode & S_IFMT;
}

mode_t currentUmask()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

void makeSocket(const std::string& name)
{
    int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(descriptor, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    ASSERT_LT(name.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, name.c_str());
    ASSERT_EQ(::bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << std::strerror(errno);
    ::close(descriptor);
}

// Replaces the sync function for one test and records every call.
class SyncRecorder {
public:
    struct Call {
        bool Folder;
        ino_t Inode;
    };

    explicit SyncRecorder(std::function<void(int)> onSync = {}, int result = 0, int code = 0)
    {
        SetSyncFunction([this, onSync, result, code](int descriptor) {
            struct stat info {};
            ::fstat(descriptor, &info);
            calls_.push_back({S_ISDIR(info.st_mode), info.st_ino});
            if (onSync)
                onSync(descriptor);
            errno = code;
            return result;
        });
    }
    ~SyncRecorder() { SetSyncFunction({}); }

    const std::vector<Call>& Calls() const { return calls_; }

private:
    std::vector<Call> calls_;
};

// What a descriptor open only for writing holds, through a second open of it.
std::vector<std::uint8_t> descriptorBytes(int descriptor)
{
    return readBytes("/proc/self/fd/" + std::to_string(descriptor));
}

}  // namespace

TEST(FileAccess, ASaveRefusesATargetThatIsNotARegularFileAndLeavesIt)
{
    TempDir dir;
    const std::string fifo = dir.file("pipe.crv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    makeSocket(dir.file("socket.crv"));
    std::filesystem::create_directory(dir.path() / "folder.crv");
    std::filesystem::create_symlink(dir.file("missing.crv"), dir.file("dangling.crv"));
    std::filesystem::create_symlink(dir.file("loop-b.crv"), dir.file("loop-a.crv"));
    std::filesystem::create_symlink(dir.file("loop-a.crv"), dir.file("loop-b.crv"));
    std::filesystem::create_symlink(fifo, dir.file("to-pipe.crv"));
    const auto before = dir.names();

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"pipe.crv", "Not a regular file"},
        {"socket.crv", "Not a regular file"},
        {"folder.crv", "Is a directory"},
        {"dangling.crv", "No such file or directory"},
        {"loop-a.crv", "Too many levels of symbolic links"},
        {"to-pipe.crv", "Not a regular file"},
    };
    for (const auto& [name, reason] : cases) {
        const std::string path = dir.file(name);
        const mode_t type = fileType(path);
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(path, kNew, error)) << name;
        EXPECT_EQ(error, createError(path, reason)) << name;
        EXPECT_EQ(fileType(path), type) << name;
    }
    EXPECT_EQ(dir.names(), before);
    EXPECT_EQ(fileType(fifo), S_IFIFO);
}

TEST(FileAccess, ASaveRefusesADeviceNode)
{
    TempDir dir;
    const std::string device = dir.file("null.crv");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "this user cannot create a device node: " << std::strerror(errno);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(device, kNew, error));
    EXPECT_EQ(error, createError(device, "Not a regular file"));
    EXPECT_EQ(fileType(device), S_IFCHR);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"null.crv"});
}

TEST(FileAccess, ASaveRefusesAFileTheUserMayNotWrite)
{
    TempDir dir;
    if (!permissionsAreEnforced(dir))
        GTEST_SKIP() << "file permissions do not apply to this user (the superuser may write any file)";
    const std::string name = dir.file("protected.nld");
    writeBytes(name, kOld);
    std::filesystem::permissions(name, std::filesystem::perms::owner_read | std::filesystem::perms::group_read
                                           | std::filesystem::perms::others_read);
    std::filesystem::create_symlink(name, dir.file("link.nld"));
    for (const std::string& target : {name, dir.file("link.nld")}) {
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(target, kNew, error)) << target;
        EXPECT_EQ(error, createError(target, "Permission denied"));
    }
    EXPECT_EQ(readBytes(name), kOld);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"link.nld", "protected.nld"}));
}

TEST(FileAccess, NamesUpToTheLongestTheFolderHoldsAreSavedAndRead)
{
    TempDir dir;
    for (std::size_t length : {250u, 255u}) {
        const std::string name = dir.file(std::string(length - 4, 'n') + ".crv");
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(name, kOld, error)) << length << ": " << error;
        ASSERT_TRUE(WriteFileAtomically(name, kNew, error)) << length << ": " << error;
        TReadableFile file;
        std::string reason;
        ASSERT_TRUE(file.Open(name, reason)) << reason;
        std::vector<std::uint8_t> bytes(file.Size());
        ASSERT_TRUE(file.ReadAt(0, bytes, reason)) << reason;
        EXPECT_EQ(bytes, kNew);
        std::filesystem::remove(name);
        EXPECT_TRUE(dir.names().empty());
    }
}

TEST(FileAccess, TheNewFileIsSyncedBeforeTheRenameAndItsFolderAfterIt)
{
    TempDir dir;
    const std::string name = dir.file("net.crv");
    writeBytes(name, kOld);
    std::vector<std::vector<std::uint8_t>> targetAtSync;
    std::vector<std::uint8_t> syncedFileBytes;
    SyncRecorder recorder([&](int descriptor) {
        targetAtSync.push_back(readBytes(name));
        struct stat info {};
        ::fstat(descriptor, &info);
        if (S_ISREG(info.st_mode))
            syncedFileBytes = descriptorBytes(descriptor);
    });
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(name, kNew, error)) << error;

    ASSERT_EQ(recorder.Calls().size(), 2u);
    EXPECT_FALSE(recorder.Calls()[0].Folder);
    struct stat saved {};
    ::stat(name.c_str(), &saved);
    EXPECT_EQ(recorder.Calls()[0].Inode, saved.st_ino);
    EXPECT_EQ(syncedFileBytes, kNew);
    EXPECT_EQ(targetAtSync[0], kOld);
    EXPECT_TRUE(recorder.Calls()[1].Folder);
    struct stat folder {};
    ::stat(dir.path().c_str(), &folder);
    EXPECT_EQ(recorder.Calls()[1].Inode, folder.st_ino);
    EXPECT_EQ(targetAtSync[1], kNew);
}

TEST(FileAccess, ASaveWhoseSyncFailsIsReportedAndKeepsTheOldFile)
{
    TempDir dir;
    const std::string name = dir.file("data.nld");
    writeBytes(name, kOld);
    SyncRecorder recorder({}, -1, EIO);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(name, kNew, error));
    EXPECT_EQ(error, "Cannot write file \"" + name + "\". Input/output error");
    EXPECT_EQ(readBytes(name), kOld);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data.nld"});
}

TEST(FileAccess, TheNewFileHasItsFinalModeBeforeItIsSynced)
{
    using std::filesystem::perms;
    TempDir dir;
    const perms newFileMode = perms(0666 & ~currentUmask());
    struct Case {
        std::string label;
        bool existing;
        perms mode;
    };
    const std::vector<Case> cases = {
        {"private", true, perms::owner_read | perms::owner_write},
        {"group readable", true, perms::owner_read | perms::owner_write | perms::group_read},
        {"readable by all, writable by all", true, perms(0666)},
        {"new file", false, newFileMode},
    };
    for (const Case& c : cases) {
        const std::string name = dir.file("net.crv");
        std::filesystem::remove(name);
        if (c.existing) {
            writeBytes(name, kOld);
            std::filesystem::permissions(name, c.mode);
        }
        std::vector<perms> modesAtSync;
        SyncRecorder recorder([&](int descriptor) {
            struct stat info {};
            ::fstat(descriptor, &info);
            if (S_ISREG(info.st_mode))
                modesAtSync.push_back(perms(info.st_mode & 07777));
        });
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(name, kNew, error)) << c.label << ": " << error;
        EXPECT_EQ(modesAtSync, std::vector<perms>{c.mode}) << c.label;
        EXPECT_EQ(std::filesystem::status(name).permissions(), c.mode) << c.label;
    }
}

TEST(FileAccess, TheSuperuserSavingOverAnotherUsersFileKeepsItsOwnerAndGroup)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a file to another user";
    TempDir dir;
    const std::string name = dir.file("theirs.crv");
    writeBytes(name, kOld);
    ASSERT_EQ(::chown(name.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(name.c_str(), 0640), 0);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(name, kNew, error)) << error;
    struct stat info {};
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(readBytes(name), kNew);
}

TEST(FileAccess, ASaveMakesANewFileSoOtherHardLinksKeepTheOldContent)
{
    TempDir dir;
    writeBytes(dir.file("a.crv"), kOld);
    std::filesystem::create_hard_link(dir.file("a.crv"), dir.file("b.crv"));
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir.file("a.crv"), kNew, error)) << error;
    EXPECT_EQ(readBytes(dir.file("a.crv")), kNew);
    EXPECT_EQ(readBytes(dir.file("b.crv")), kOld);
}

TEST(FileAccess, OnlyRegularFilesAreOpenedForReading)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    makeSocket(dir.file("socket"));
    std::filesystem::create_directory(dir.path() / "folder");
    writeBytes(dir.file("file"), kOld);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"pipe", "Not a regular file"},
        {"socket", "Not a regular file"},
        {"folder", "Is a directory"},
        {"missing", "No such file or directory"},
        {"file/below", "Not a directory"},
    };
    for (const auto& [name, expected] : cases) {
        TReadableFile file;
        std::string reason;
        EXPECT_FALSE(file.Open(dir.file(name), reason)) << name;
        EXPECT_EQ(reason, expected) << name;
    }
    TReadableFile file;
    std::string reason;
    ASSERT_TRUE(file.Open(dir.file("file"), reason)) << reason;
    EXPECT_EQ(file.Size(), kOld.size());
    std::vector<std::uint8_t> past(2);
    EXPECT_FALSE(file.ReadAt(2, past, reason));
    EXPECT_EQ(reason, "The file became shorter while it was read");
}

// A name that turns into a pipe between the reader's look at it and its open
// must not make the open wait for a writer that never comes. The window is
// narrow: thousands of swaps catch a waiting read a few times.
TEST(FileAccess, AReadNeverWaitsOnANameThatBecomesAPipe)
{
    TempDir dir;
    const std::string target = dir.file("swapped.crv");
    const std::string pipe = dir.file("pipe");
    const std::string regular = dir.file("regular");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    writeBytes(regular, kOld);
    writeBytes(target, kOld);

    std::atomic<bool> stop = false;
    std::mutex mutex;
    std::condition_variable finished;
    bool readerDone = false;
    std::vector<std::string> unexpectedReasons;
    std::thread reader([&] {
        while (!stop) {
            TReadableFile file;
            std::string reason;
            if (!file.Open(target, reason) && reason != "Not a regular file")
                unexpectedReasons.push_back(reason);
        }
        std::lock_guard lock(mutex);
        readerDone = true;
        finished.notify_one();
    });

    // Hard links keep both files reachable while the other one has the name.
    const std::string next = dir.file("next");
    for (int swap = 0; swap < 10000; ++swap) {
        ::unlink(next.c_str());
        ::link(swap % 2 ? regular.c_str() : pipe.c_str(), next.c_str());
        ::rename(next.c_str(), target.c_str());
    }
    stop = true;

    // A reader that is still not done long after the last swap waits on the
    // pipe; a writer frees it, so that the test ends either way.
    std::unique_lock lock(mutex);
    const bool waitedOnThePipe = !finished.wait_for(lock, std::chrono::seconds(30), [&] { return readerDone; });
    while (!readerDone) {
        int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        finished.wait_for(lock, std::chrono::milliseconds(100));
    }
    lock.unlock();
    reader.join();
    EXPECT_FALSE(waitedOnThePipe) << "a read waited for a writer of the pipe";
    EXPECT_TRUE(unexpectedReasons.empty()) << unexpectedReasons.front();
}

TEST(FileAccess, MemoryForAFewBytesButNotForMoreThanTheMachineHas)
{
    EXPECT_TRUE(FitsInMemory(0));
    EXPECT_TRUE(FitsInMemory(1 << 20));
    const std::uint64_t machine = std::uint64_t(::sysconf(_SC_PHYS_PAGES)) * std::uint64_t(::sysconf(_SC_PAGESIZE));
    EXPECT_FALSE(FitsInMemory(machine + 1));
    EXPECT_FALSE(FitsInMemory(UINT64_MAX));
}
