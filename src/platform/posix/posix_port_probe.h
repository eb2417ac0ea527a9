#pragma once

#include "platform/port_probe.h"

namespace pln {

// A port is in use when the kernel lists a socket listening on it (IPv4 or
// IPv6); sockets lingering after a closed connection, or bound without
// listening, do not count.
class PosixPortProbe : public PortProbe {
public:
    bool tcpPortInUse(std::uint16_t port) override;
};

} // namespace pln
