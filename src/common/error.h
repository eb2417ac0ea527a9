#pragma once

#include <stdexcept>
#include <string>

namespace pln {

// Every failure the program reports carries the message text the user sees;
// handlers catch it and show it with showError.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Fills the "%s" placeholders of a message text in order.
std::string format(const std::string& pattern, std::initializer_list<std::string> values);

} // namespace pln
