#pragma once

#include <optional>
#include <string>

namespace pln {

// A setting whose value is a number, and the value it has while none is
// stored or the stored text is not a number.
struct tIntSetting {
    const char* name;
    int fallback;
};

// A setting whose value is text, and the value it has while none is stored.
struct tTextSetting {
    const char* name;
    const char* fallback;
};

// Where the program keeps its settings, as text by key. Every part reads and
// writes its settings through this one interface, so none depends on where
// or how they are stored. Settings are a convenience: a store that cannot be
// read yields the fallbacks and a failed write is not reported.
class tSettingsStore {
public:
    virtual ~tSettingsStore() = default;

    // The stored text of the key; empty when the key is absent.
    virtual std::optional<std::string> read(const std::string& key) const = 0;
    virtual void write(const std::string& key, const std::string& value) = 0;

    // Keys built at run time (one per colour slot) are read and written
    // through these.
    std::string text(const std::string& key, const std::string& fallback) const;
    void setText(const std::string& key, const std::string& value) { write(key, value); }

    std::string get(const tTextSetting& key) const { return text(key.name, key.fallback); }
    void set(const tTextSetting& key, const std::string& value) { write(key.name, value); }
    // The leading decimal integer of the stored text, as Windows reads
    // profile integers.
    int get(const tIntSetting& key) const;
    void set(const tIntSetting& key, int value) { write(key.name, std::to_string(value)); }
};

// Parses a leading decimal integer (blanks, an optional sign, digits); empty
// when there are no digits or the number does not fit an int.
std::optional<int> leadingInteger(const std::string& text);

} // namespace pln
