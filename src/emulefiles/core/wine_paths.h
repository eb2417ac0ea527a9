#pragma once

#include "platform/file_listing.h"
#include "platform/file_system.h"

#include <optional>
#include <string>
#include <string_view>

namespace pln {

// The Wine prefix a folder lies in: the nearest folder, the folder itself
// or one above it, that holds "dosdevices"; ends with "/".
std::optional<std::string> enclosingWinePrefix(FileSystem& files, const std::string& folder);

// A stored Windows path ("C:\Share\a.avi", either delimiter) as Wine finds
// it on this system: the drive through the prefix's "dosdevices" link, then
// one component at a time, the entry of that exact name first, else the
// first entry whose name is equal under case folding. Components that no
// entry matches are kept as written, so the result also names something to
// be created. Empty when the path has no drive letter.
std::optional<std::string> wineNativePath(FileListing& listing, const std::string& prefix,
                                          std::string_view stored);

} // namespace pln
