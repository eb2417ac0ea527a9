#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace pln::demo {

// The folders of a demo profile, laid out as the location rule finds them
// when XDG_DATA_HOME points at the root.
struct DemoProfile {
    std::filesystem::path root;
    // Where eMule under Wine sees the root ("C:\users\ann\AppData\Local");
    // empty for a profile of this system.
    std::string windowsRoot = {};

    std::filesystem::path config() const { return root / "eMule" / "config"; }
    std::filesystem::path incoming() const { return root / "eMule" / "Incoming"; }
    std::filesystem::path data() const { return root / "PLN"; }

    // A path under the root as eMule writes it in its files.
    std::string stored(const std::filesystem::path& path) const {
        if (windowsRoot.empty())
            return path.string();
        std::string relative = path.lexically_relative(root).string();
        for (char& c : relative)
            if (c == '/')
                c = '\\';
        return windowsRoot + "\\" + relative;
    }
};

// A known file that also lies in the Incoming folder, with the size and date
// its record holds, so that the viewer sees it as shared.
struct DemoSharedFile {
    std::string name;
    std::uint64_t size = 0;
    std::uint32_t date = 0;
};

} // namespace pln::demo
