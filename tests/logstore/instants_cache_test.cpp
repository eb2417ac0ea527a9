#include "logstore/core/instants_cache.h"

#include <gtest/gtest.h>

namespace pln::test {
namespace {

tInstants instants(std::size_t count) {
    return std::make_shared<const std::vector<std::int64_t>>(count, 0);
}

TEST(InstantsCacheTest, KeepsTheRecentlyUsedWithinItsBudgetForTheSameVersionOnly) {
    tInstantsCache cache(3 * sizeof(std::int64_t));
    const FileVersion v1{1, 2, 3, 4, 5}, v2{1, 2, 3, 4, 6};
    cache.store("a", v1, instants(2));
    cache.store("b", v1, instants(1));
    EXPECT_NE(cache.find("a", v1), nullptr);
    cache.store("c", v1, instants(1));
    EXPECT_EQ(cache.find("b", v1), nullptr) << "least recently used, beyond the budget";
    EXPECT_NE(cache.find("c", v1), nullptr);
    EXPECT_EQ(cache.find("a", v2), nullptr) << "another version of the file";
    EXPECT_EQ(cache.find("a", v1), nullptr) << "dropped with its old version";
    cache.store("d", v1, instants(4));
    EXPECT_EQ(cache.find("d", v1), nullptr) << "larger than the whole budget";
    EXPECT_NE(cache.find("c", v1), nullptr);
}

} // namespace
} // namespace pln::test
