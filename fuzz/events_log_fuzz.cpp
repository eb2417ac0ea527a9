#include "fuzz_check.h"
#include "graphs/core/events_log.h"
#include "graphs/core/us_date_time.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

#include <algorithm>

using namespace pln;
using namespace pln::test;

namespace {

bool sameEvents(const tEventsLog& a, const tEventsLog& b) {
    return std::equal(
        a.events().begin(), a.events().end(), b.events().begin(), b.events().end(),
        [](const tEvent& x, const tEvent& y) { return x.date == y.date && x.part == y.part; });
}

} // namespace

// events.log read as every user of the events reads it: the file is left as
// it was, the list comes out sorted, and once saved it reads back the same.
// The date-time field on its own is written again as the same moment.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = fuzz::textOf(data, size);
    if (auto when = parseUsDateTime(text.substr(0, text.find('='))))
        fuzz::require(parseUsDateTime(formatUsDateTime(*when)) == when);

    static TempDir dir;
    std::string path = dir.write("events.log", text);
    RecordingPrompter prompter;
    tEventsLog first(path);
    first.load(prompter);
    fuzz::require(readText(path) == text);
    fuzz::require(std::is_sorted(first.events().begin(), first.events().end(), eventBefore));
    fuzz::require(first.count() <= size / 2 + 1);
    for (std::size_t i = 0; i < first.count(); ++i)
        fuzz::require(first.hash(i).empty() ||
                      first.text(i).size() + 33 == first.at(i).part.size());

    first.save();
    std::size_t reported = prompter.shown.size();
    tEventsLog second(path);
    second.load(prompter);
    fuzz::require(prompter.shown.size() == reported);
    second.save();
    tEventsLog third(path);
    third.load(prompter);
    fuzz::require(second.count() <= first.count());
    fuzz::require(sameEvents(second, third));
    return 0;
}
