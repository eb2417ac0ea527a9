#pragma once

#include <cstdint>

namespace pln {

// Whether a program of this machine serves a TCP port: the other sign,
// besides its named mutex, that eMule is running.
class PortProbe {
public:
    virtual ~PortProbe() = default;
    // True when the port is taken or cannot be probed.
    virtual bool tcpPortInUse(std::uint16_t port) = 0;
};

} // namespace pln
