#include "common/missing_value.h"
#include "fuzz_check.h"
#include "logstore/core/multiplier.h"

#include <cmath>

using namespace pln;

// The multiplier a user types into a log's properties: a value or the
// missing value, never zero or infinite; the first byte picks the decimal
// separator.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    char separator = data[0] & 1 ? ',' : '.';
    std::string_view text = fuzz::textOf(data + 1, size - 1);
    double multiplier = getMultiplier(text, separator);
    fuzz::require(isMissing(multiplier) || (std::isfinite(multiplier) && multiplier != 0));
    if (std::optional<double> number = parseDecimal(text, separator))
        fuzz::require(std::isfinite(*number));
    return 0;
}
