#pragma once

#include <stdexcept>
#include <string>

namespace pln {

// What went wrong, for the handlers that act differently on it: a file that
// another program holds is tried again later, a file whose bytes are not
// what they should be is named as such. Handlers decide by the kind, never
// by the text, which is the user's.
enum class ErrorKind {
    general,
    fileInUse,   // another program holds the file open
    invalidFile, // the file's bytes do not form what was expected
    io,          // the system refused a read or a write
};

// Every failure the program reports carries the message text the user sees;
// handlers catch it and show it with showError.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message, ErrorKind kind = ErrorKind::general)
        : std::runtime_error(message), kind_(kind) {}

    ErrorKind kind() const { return kind_; }

private:
    ErrorKind kind_;
};

// The kind of any exception: general for those that are not an Error.
ErrorKind errorKindOf(const std::exception& e);

// Fills the "%s" placeholders of a message text in order.
std::string format(const std::string& pattern, std::initializer_list<std::string> values);

} // namespace pln
