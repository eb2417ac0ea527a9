#include "app/core/load_cycle.h"

#include <exception>

namespace pln {

bool loadEmuleFiles(tKnownMet& knownMet, std::string& failure) {
    if (knownMet.needsReload()) {
        try {
            knownMet.load();
        } catch (const std::exception& e) {
            failure = e.what();
            return false;
        }
    }
    // A file still settling is left for a later cycle, which keeps the list
    // loaded before; with nothing loaded yet there is nothing to show.
    if (knownMet.list() == nullptr) {
        failure = knownMetSettlingText;
        return false;
    }
    return true;
}

} // namespace pln
