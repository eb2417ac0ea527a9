#include "platform/posix/posix_port_probe.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>

namespace pln {

namespace {

// The state column's value for a listening socket in the kernel's tables.
constexpr const char* listenState = "0A";

// One line of /proc/net/tcp or tcp6: "sl local rem st ...", the local
// address written as hexadecimal address, ":" and hexadecimal port.
bool listensOn(const std::string& line, std::uint16_t port) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    if (!(fields >> slot >> local >> remote >> state) || state != listenState)
        return false;
    const std::size_t colon = local.rfind(':');
    if (colon == std::string::npos)
        return false;
    unsigned value = 0;
    const char* end = local.data() + local.size();
    auto [stop, error] = std::from_chars(local.data() + colon + 1, end, value, 16);
    return error == std::errc() && stop == end && value == port;
}

} // namespace

// The kernel's tables of this network namespace are read, so the port is
// never bound: a program starting to listen on it at this instant succeeds.
bool PosixPortProbe::tcpPortInUse(std::uint16_t port) {
    bool readable = false;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream in(table);
        if (!in)
            continue;
        readable = true;
        std::string line;
        while (std::getline(in, line))
            if (listensOn(line, port))
                return true;
    }
    return !readable;
}

} // namespace pln
