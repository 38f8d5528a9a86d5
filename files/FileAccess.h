#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

// Reads of regular files and safe whole-file writes for the two file formats.

// "Cannot <action> file "<full path>". <reason>", the program's form for
// every file error.
std::string FileErrorMessage(std::string_view action, const std::string& fileName, std::string_view reason);

// A regular file open for reading. The name is opened without blocking and
// what was opened is then checked, so a name that turns into a pipe or a
// device in between is refused instead of waited on.
class TReadableFile {
public:
    TReadableFile() = default;
    ~TReadableFile();
    TReadableFile(const TReadableFile&) = delete;
    TReadableFile& operator=(const TReadableFile&) = delete;

    // False with the system's text for the reason ("No such file or
    // directory", "Is a directory") or "Not a regular file".
    bool Open(const std::string& fileName, std::string& reason);

    // The size when the file was opened.
    std::uint64_t Size() const { return size_; }

    // Reads exactly bytes.size() bytes from offset; false with the reason
    // when the system fails or the file has become shorter.
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> bytes, std::string& reason) const;

private:
    int descriptor_ = -1;
    std::uint64_t size_ = 0;
};

// Whether a block of this many bytes could be held at all, that is not more
// than the machine's memory. Readers ask before allocating what a header
// announces, so an absurd count ends in a message, not a failed allocation.
bool FitsInMemory(std::uint64_t bytes);

// Writes bytes to a temporary file beside fileName, syncs it to disk,
// renames it over fileName and syncs the folder, so that after a power cut
// the name holds either the old content or the new. The temporary file has
// the final permissions (and, where the system allows, the old file's owner
// and group) before the first byte is written. A symbolic link is followed
// and the file it points to is replaced.
//
// Refused, with the reason in "Cannot create file ..." and nothing changed:
// an existing target that is not a regular file (a folder, a pipe, a device,
// a socket), a link that points nowhere or into a loop, and a file this user
// may not write. On any failure the temporary file is removed, whatever was
// at fileName is left as it was, and error says why.
//
// A save makes a new file under the old name: other hard links to the old
// file keep the old content.
bool WriteFileAtomically(const std::string& fileName, std::span<const std::uint8_t> bytes, std::string& error);

// How a save makes a file or a folder durable: fsync unless replaced. It
// returns 0, or -1 with errno set, like fsync. Tests replace it to see what
// is synced and when; an empty function restores fsync.
void SetSyncFunction(std::function<int(int descriptor)> sync);
