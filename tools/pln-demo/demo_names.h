#pragma once

#include "demo_random.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pln::demo {

// What eMule files a name under (its FILETYPE text), with the size range
// such files have.
struct DemoKind {
    std::string_view fileType;
    std::uint64_t minSize;
    std::uint64_t maxSize;
    bool media;
};

struct DemoName {
    const DemoKind* kind;
    std::string name;
    std::string extension;
    // Artist and title for media files; empty otherwise.
    std::string artist;
    std::string title;
};

// A file name of a random kind: Latin, accented Latin, Cyrillic, Greek and
// Japanese names are all represented.
DemoName makeDemoName(DemoRandom& random);

} // namespace pln::demo
