#pragma once

#include "common/error.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// Reads a whole file; throws Error naming the file and the system's reason
// when it cannot (fileFailure), and naming the file and tooLargeText (limit)
// without reading when it holds more than limit bytes.
std::vector<std::uint8_t> readWholeFile(const std::string& path, std::uint64_t limit = UINT64_MAX);
std::string tooLargeText(std::uint64_t limit);

// A file that could not be read, as against bytes read that make no sense.
class FileReadError : public Error {
public:
    explicit FileReadError(const std::string& message) : Error(message, ErrorKind::io) {}
};

// A file read from its start to its end a piece at a time, for contents
// parsed as they come instead of held whole beside what is parsed from them.
// Fails as readWholeFile does, also when the file grows beyond limit while
// it is read; a failure while reading is a FileReadError.
class FileReader {
public:
    FileReader(const std::string& path, std::uint64_t limit);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // The size when the file was opened.
    std::uint64_t size() const { return size_; }
    // Fills the buffer with the next bytes, as far as the file goes; 0 at its end.
    std::size_t read(std::span<std::uint8_t> buffer);

private:
    std::size_t readSome(std::span<std::uint8_t> buffer);

    std::string path_;
    std::uint64_t limit_;
    std::uint64_t size_ = 0;
    std::uint64_t done_ = 0;
    std::intptr_t handle_;
};

// Replaces the contents of a file so that a crash or a full disk leaves either
// the old or the new contents, never a mix: the bytes go to a temporary file
// in the same folder, are flushed to disk, and the temporary file is renamed
// over the original. Throws Error with the system's reason; on failure the
// original is untouched and the temporary file removed.
void replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes);

// The file a replacement of path must write: path itself, or the file its
// chain of symbolic links ends at. eMule and the user may keep a file as a
// link elsewhere; renaming over the link would cut it off from the file the
// others go on reading. Throws Error when a link cannot be read.
std::string replacementTarget(const std::string& path);

// Appends the bytes to a file, created when missing, in one write that the
// system puts at the end of the file as a whole, so that lines of several
// writers never interleave. False when the file could not be written.
bool appendToFile(const std::string& path, std::string_view bytes);

// replaceFileContents whose error names the file and the action
// (fileFailure: "Cannot write ..." unless told otherwise).
void writeNamedFile(const std::string& path, std::span<const std::uint8_t> bytes,
                    const char* action = "write");

// The folder as the system names it: absolute, "." and ".." resolved, no
// doubled separator, symbolic links resolved (as far as the folder exists),
// ending with one separator; on Windows either separator is accepted and the
// result uses backslashes.
std::string canonicalFolder(const std::string& folder);

// A fresh name beside path for a temporary file that will replace it.
std::string temporarySiblingName(const std::string& path);

// The new contents of a file, written beside the file they will replace.
struct TemporarySibling {
    std::string temporary; // a fresh name in the target's folder
    std::string target;    // replacementTarget of the file to replace
};

// Writes the bytes to a new temporary file beside the file a replacement of
// path must write, with that file's permissions where the system keeps
// them. A durable file is flushed to disk before it is closed (on Windows
// every one is: it offers no later flush of many files at once). A failed
// write leaves no temporary file behind. Throws Error with the system's
// reason.
TemporarySibling writeTemporarySibling(const std::string& path, std::span<const std::uint8_t> bytes,
                                       bool durable);

#ifdef _WIN32
// Puts a flushed temporary file in the place of path in one step; zero, or
// the Windows error code of the failure.
unsigned long commitReplacement(const std::string& temporary, const std::string& path);
#endif

// The message of a failed file operation: Cannot <action> "<path>": <reason>.
std::string fileFailure(const char* action, const std::string& path, const std::string& reason);

// The text of the last system error (errno), for messages.
std::string systemErrorText(int error);

} // namespace pln
