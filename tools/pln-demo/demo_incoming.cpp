#include "demo_incoming.h"

#include "common/error.h"
#include "common/file_io.h"
#include "demo_random.h"

#include <chrono>

namespace pln::demo {

void writeDemoIncoming(const DemoProfile& profile, const std::vector<DemoSharedFile>& files) {
    DemoRandom contents(0x1AC0);
    for (const auto& file : files) {
        std::vector<std::uint8_t> bytes(file.size);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(contents.next());
        std::filesystem::path path = profile.incoming() / std::filesystem::u8path(file.name);
        replaceFileContents(path.string(), bytes);
        auto modified = std::chrono::sys_seconds(std::chrono::seconds(file.date));
        std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(modified));
    }
}

} // namespace pln::demo
