#include "platform/win32/win32_port_probe.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
// clang-format on

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

namespace pln {

namespace {

// A table that grows between the size query and the read is asked again.
constexpr int tableAttempts = 4;

// The listening sockets of one address family, as the system's TCP table;
// none when the table cannot be had.
std::optional<std::vector<char>> listenerTable(ULONG family) {
    DWORD size = 0;
    std::vector<char> table;
    for (int attempt = 0; attempt < tableAttempts; ++attempt) {
        const DWORD result = ::GetExtendedTcpTable(table.empty() ? nullptr : table.data(), &size,
                                                   FALSE, family, TCP_TABLE_OWNER_PID_LISTENER, 0);
        if (result == NO_ERROR)
            return table;
        if (result != ERROR_INSUFFICIENT_BUFFER)
            return std::nullopt;
        table.assign(size, 0);
    }
    return std::nullopt;
}

template <typename Table> bool listensOn(const std::vector<char>& bytes, std::uint16_t port) {
    if (bytes.size() < sizeof(DWORD))
        return false;
    const auto* table = reinterpret_cast<const Table*>(bytes.data());
    const std::size_t room = (bytes.size() - offsetof(Table, table)) / sizeof(table->table[0]);
    const std::size_t count = std::min<std::size_t>(table->dwNumEntries, room);
    for (std::size_t i = 0; i < count; ++i)
        if (::ntohs(static_cast<u_short>(table->table[i].dwLocalPort)) == port)
            return true;
    return false;
}

} // namespace

// The system's table of listening sockets is read, so the port is never
// bound: a program starting to listen on it at this instant succeeds.
bool Win32PortProbe::tcpPortInUse(std::uint16_t port) {
    const std::optional<std::vector<char>> v4 = listenerTable(AF_INET);
    const std::optional<std::vector<char>> v6 = listenerTable(AF_INET6);
    if (!v4 && !v6)
        return true;
    return (v4 && listensOn<MIB_TCPTABLE_OWNER_PID>(*v4, port)) ||
           (v6 && listensOn<MIB_TCP6TABLE_OWNER_PID>(*v6, port));
}

} // namespace pln
