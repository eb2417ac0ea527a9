#pragma once

#include <cstdint>
#include <map>

namespace pln {

// The suspensions the viewer holds, counted per task code: the recorder
// appends only while none is held, so the resume of one task never lets it
// write while another task still rewrites logs.
class tSuspensions {
public:
    void suspend(std::uint32_t task, std::int64_t nowMs);
    // A resume of a task that holds no suspension changes nothing.
    void resume(std::uint32_t task);
    void clear() { held_.clear(); }
    bool active() const { return !held_.empty(); }
    // When the oldest suspension still held began; 0 when none is held.
    std::int64_t since() const { return since_; }

private:
    std::map<std::uint32_t, int> held_;
    std::int64_t since_ = 0;
};

} // namespace pln
