#include "common/file_io.h"
#include "fuzz_check.h"
#include "logstore/core/log_file.h"
#include "logstore/core/log_names.h"
#include "logstore/log_fixture.h"

#include <array>
#include <filesystem>

using namespace pln;
using namespace pln::test;

namespace {

// The names a log file can have: each kind and the ConnRunTime log the
// viewer corrects.
constexpr std::array<std::string_view, 5> names = {hashName, "statistics.ini-statistics,Up",
                                                   connRunTimeName, queuedClientsName,
                                                   "virtual;Combined"};

// The logs folder, with the two sources the combined seeds name.
struct Folder {
    Folder() {
        write("statistics.ini-statistics,Down.pln",
              LogBytes().prefix(1).header(3, 0, 1.0, "B").int32Record(dos(2024, 1, 2), 7));
        write("Queued clients.pln",
              LogBytes().prefix(2).header(2, 0, 1.0, "").int32Record(dos(2024, 1, 2), 3));
    }
    void write(std::string_view fileName, const LogBytes& bytes) {
        dir.write(fileName, bytes.bytes());
    }
    TempDir dir;
};

} // namespace

// A whole log file read the way the lists and graphs read it: properties at
// construction, then the records. The first byte picks the name, the rest is
// the file. Reading never changes a file, except the ConnRunTime log, whose
// drops are corrected on disk.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Folder folder;
    if (size == 0)
        return 0;
    std::string name(names[data[0] % names.size()]);
    std::vector<std::uint8_t> contents(data + 1, data + size);
    std::string path = folder.dir.write(name + ".pln", contents);

    RecordingPrompter prompter;
    RecordingRecorderLink recorder;
    {
        tLogFile log({folder.dir.path(), prompter, recorder}, name);
        if (log.valueType() != 0) {
            log.loadValues();
            tLogRecords values = log.values();
            fuzz::require(values.count() * values.recordSize() <=
                          static_cast<std::size_t>(std::max(log.recordsSize(), 0)));
            log.freeValues();
        }
    }
    if (name != connRunTimeName)
        fuzz::require(readBytes(path) == contents);
    std::filesystem::remove(path);
    return 0;
}
