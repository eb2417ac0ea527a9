#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pln {

// What tells one state of a file from another: the file itself (volume and
// index), its size and the times of its last write and last change. Two
// equal versions hold the same bytes unless the file was written in place
// without a change of size, within one tick of the file system's clock or
// with its times set back.
struct FileVersion {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    std::int64_t lastWrite = 0;
    std::int64_t lastChange = 0;
    bool operator==(const FileVersion&) const = default;
};

// A file opened with a share mode that keeps others from writing while it is
// open: readers share the file with other readers, a rewrite holds it alone.
// Opening never waits: a file held by another writer (or, for a rewrite, by
// any reader) fails at once with fileInUseText, so the caller reports it
// instead of hanging behind the recorder.
class LockedFile {
public:
    enum class Access {
        Read,     // shared: other readers welcome, writers shut out
        ReadWrite // exclusive: nobody else may open the file
    };

    // Opens an existing file; throws Error with the system's reason.
    LockedFile(const std::string& path, Access access);
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    std::uint64_t size() const;
    FileVersion version() const;
    // Reads exactly buffer.size() bytes at the offset; false when the file
    // ends before, and then nothing beyond the file's end is taken.
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const;
    // Reads up to buffer.size() bytes at the offset; returns how many were read.
    std::size_t readSomeAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const;
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Makes the written bytes durable before the file is released.
    void flush();

private:
    std::intptr_t handle_;
};

// New contents for files, written so that a crash or a full disk leaves each
// file with either its old or its new contents, never a mix: the bytes go to
// a temporary file beside the file, every temporary file is made durable,
// and only then does each take its file's place in one step. Files rewritten
// together are made durable together, with one flush of the file system
// where the system offers it, instead of one costly flush per file.
// Temporary files that never took their file's place are removed.
class FileReplacementBatch {
public:
    FileReplacementBatch() = default;
    ~FileReplacementBatch();
    FileReplacementBatch(const FileReplacementBatch&) = delete;
    FileReplacementBatch& operator=(const FileReplacementBatch&) = delete;

    // Writes the new contents of the file at path beside it. Throws Error.
    void add(const std::string& path, std::span<const std::uint8_t> bytes);
    // Makes every added file's new contents durable. Throws Error.
    void flush();
    // Puts the flushed new contents of the file at path in its place, only
    // while no other program has the file open (else fileInUseText): the
    // recorder never appends into a file that is being replaced. Throws Error.
    void commit(const std::string& path);

private:
    struct Entry {
        std::string path;
        std::string temporary;
        // The file renamed over: path, or the end of its symbolic links.
        std::string target;
    };
    std::vector<Entry> pending_;
    bool flushed_ = false;
};

// The reason given when another program holds the file.
inline constexpr const char* fileInUseText =
    "The process cannot access the file because it is being used by another process";

} // namespace pln
