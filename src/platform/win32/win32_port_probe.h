#pragma once

#include "platform/port_probe.h"

namespace pln {

// A port is in use when a socket bound to it alone (SO_EXCLUSIVEADDRUSE)
// cannot be had: Windows would otherwise let a second socket share it.
class Win32PortProbe : public PortProbe {
public:
    bool tcpPortInUse(std::uint16_t port) override;
};

} // namespace pln
