#pragma once

#include "platform/port_probe.h"

namespace pln {

// A port is in use when a listening socket cannot be bound to it; sockets
// lingering after a closed connection do not count.
class PosixPortProbe : public PortProbe {
public:
    bool tcpPortInUse(std::uint16_t port) override;
};

} // namespace pln
