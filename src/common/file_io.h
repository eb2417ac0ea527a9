#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pln {

// Reads a whole file; throws Error with the system's reason when it cannot.
std::vector<std::uint8_t> readWholeFile(const std::string& path);

// Replaces the contents of a file so that a crash or a full disk leaves either
// the old or the new contents, never a mix: the bytes go to a temporary file
// in the same folder, are flushed to disk, and the temporary file is renamed
// over the original. Throws Error with the system's reason; on failure the
// original is untouched and the temporary file removed.
void replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes);

// A fresh name beside path for a temporary file that will replace it.
std::string temporarySiblingName(const std::string& path);

// Writes every byte to a file descriptor, resuming after interruptions;
// zero, or the errno of the failed write.
int writeAllBytes(int fd, std::span<const std::uint8_t> bytes);

// The text of the last system error (errno), for messages.
std::string systemErrorText(int error);

} // namespace pln
