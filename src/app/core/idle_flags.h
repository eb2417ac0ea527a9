#pragma once

namespace pln {

// Work that user actions defer until the application is idle, so that a
// burst of selection changes or ticks is served once.
struct tIdleFlags {
    bool redrawPending = false;
    bool tagsPending = false;
    bool readoutPending = false;
    // The tips are offered once, after the first load that succeeded.
    bool tipsPending = true;

    bool anyPending() const { return redrawPending || tagsPending || readoutPending; }
};

} // namespace pln
