#pragma once

#include "platform/port_probe.h"

namespace pln {

// A port is in use when the system's TCP table lists a socket listening on
// it (IPv4 or IPv6).
class Win32PortProbe : public PortProbe {
public:
    bool tcpPortInUse(std::uint16_t port) override;
};

} // namespace pln
