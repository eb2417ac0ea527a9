#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pln::tool {

// A JSON string literal of UTF-8 text (ill-formed sequences become U+FFFD).
std::string jsonString(std::string_view utf8);

// Builds one JSON object, fields in the order they are added. The methods
// have distinct names so that a string literal never turns into a bool.
class JsonObject {
public:
    JsonObject& text(std::string_view name, std::string_view utf8);
    JsonObject& number(std::string_view name, std::uint64_t value);
    JsonObject& real(std::string_view name, double value);
    JsonObject& boolean(std::string_view name, bool value);
    // A value that is already JSON (an array or an object).
    JsonObject& raw(std::string_view name, std::string_view json);
    std::string str() const { return body_ + "}"; }

private:
    void key(std::string_view name);
    std::string body_ = "{";
};

// Builds a JSON array of values that are already JSON.
class JsonArray {
public:
    JsonArray& add(std::string_view json);
    std::string str() const { return body_ + "]"; }

private:
    std::string body_ = "[";
};

} // namespace pln::tool
