#pragma once

#include <cstdint>
#include <iterator>

namespace pln::demo {

// SplitMix64: the same sequence on every platform and standard library, so
// a demo profile is the same wherever it is generated.
class DemoRandom {
public:
    explicit DemoRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // A value in [low, high].
    std::uint64_t between(std::uint64_t low, std::uint64_t high) {
        return low + next() % (high - low + 1);
    }
    bool chance(unsigned percent) { return next() % 100 < percent; }
    template <typename Items> const auto& pick(const Items& items) {
        return items[next() % std::size(items)];
    }

private:
    std::uint64_t state_;
};

} // namespace pln::demo
