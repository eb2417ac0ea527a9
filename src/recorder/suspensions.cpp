#include "recorder/suspensions.h"

namespace pln {

void tSuspensions::suspend(std::uint32_t task, std::int64_t nowMs) {
    if (held_.empty())
        since_ = nowMs;
    ++held_[task];
}

void tSuspensions::resume(std::uint32_t task) {
    auto it = held_.find(task);
    if (it == held_.end())
        return;
    if (--it->second == 0)
        held_.erase(it);
    if (held_.empty())
        since_ = 0;
}

} // namespace pln
