#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace pln {

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
    // Reads exactly buffer.size() bytes at the offset; false when the file
    // ends before, and then nothing beyond the file's end is taken.
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const;
    // Reads up to buffer.size() bytes at the offset; returns how many were read.
    std::size_t readSomeAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const;
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Makes the written bytes durable before the file is released.
    void flush();
    // Replaces the whole file by the given bytes while it is still held: they
    // are written to a temporary file in the same folder, made durable, and
    // put in the file's place in one step, so a crash or a full disk leaves
    // the old contents intact. The handle still refers to the old contents.
    void replaceContents(std::span<const std::uint8_t> bytes);

private:
    std::intptr_t handle_;
    std::string path_;
};

// The reason given when another program holds the file.
inline constexpr const char* fileInUseText =
    "The process cannot access the file because it is being used by another process";

} // namespace pln
