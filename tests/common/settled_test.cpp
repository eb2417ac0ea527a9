#include "common/settled.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(SettledTest, AChangeCountsAsSettledOnlyOutsideTheMarginOnEitherSide) {
    constexpr std::int64_t now = 1'700'000'000'000;
    const struct {
        std::int64_t stamp;
        bool settled;
    } rows[] = {
        {now, false},
        {now - settleMs, false},
        {now - settleMs - 1, true},
        {now + settleMs, false},
        {now + settleMs + 1, true}, // the clock was set back after the save
        {-1, true},                 // no stamp known
    };
    for (const auto& row : rows)
        EXPECT_EQ(hasSettled(now, row.stamp), row.settled) << row.stamp - now;
}

} // namespace
} // namespace pln
