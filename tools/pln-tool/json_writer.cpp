#include "json_writer.h"

#include "common/text.h"

#include <charconv>
#include <cmath>

namespace pln::tool {

std::string jsonString(std::string_view utf8) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (char c : sanitizeUtf8(utf8)) {
        auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (b < 0x20) {
            out += "\\u00";
            out += hex[b >> 4];
            out += hex[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void JsonObject::key(std::string_view name) {
    if (body_.size() > 1)
        body_ += ',';
    body_ += jsonString(name);
    body_ += ':';
}

JsonObject& JsonObject::text(std::string_view name, std::string_view utf8) {
    key(name);
    body_ += jsonString(utf8);
    return *this;
}

JsonObject& JsonObject::number(std::string_view name, std::uint64_t value) {
    key(name);
    body_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::real(std::string_view name, double value) {
    key(name);
    if (!std::isfinite(value)) {
        body_ += "null";
        return *this;
    }
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    body_.append(buffer, result.ptr);
    return *this;
}

JsonObject& JsonObject::boolean(std::string_view name, bool value) {
    key(name);
    body_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::raw(std::string_view name, std::string_view json) {
    key(name);
    body_ += json;
    return *this;
}

JsonArray& JsonArray::add(std::string_view json) {
    if (body_.size() > 1)
        body_ += ',';
    body_ += json;
    return *this;
}

} // namespace pln::tool
