#include "platform/posix/posix_port_probe.h"

#include <arpa/inet.h>
#include <charconv>
#include <cstring>
#include <fstream>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <optional>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace pln {

namespace {

// The state column's value for a listening socket in the kernel's tables.
constexpr const char* listenState = "0A";

// The kernel's number of the listening state.
constexpr unsigned tcpListenState = 10;

// The answers to a socket-diagnostics dump: whether one of the sockets
// listens on the port; nothing when the dump fails. Messages are copied out
// of the buffer rather than cast in place, so no length the kernel sends can
// lead a read past what was received or to a misaligned header.
std::optional<bool> readListeners(int fd, std::uint16_t port) {
    char buffer[16384];
    bool found = false;
    for (;;) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            return std::nullopt;
        const auto length = static_cast<std::size_t>(got);
        for (std::size_t at = 0; at + sizeof(nlmsghdr) <= length;) {
            nlmsghdr header;
            std::memcpy(&header, buffer + at, sizeof header);
            if (header.nlmsg_len < sizeof header || header.nlmsg_len > length - at)
                return std::nullopt;
            if (header.nlmsg_type == NLMSG_DONE)
                return found;
            if (header.nlmsg_type == NLMSG_ERROR ||
                header.nlmsg_len < NLMSG_LENGTH(sizeof(inet_diag_msg)))
                return std::nullopt;
            inet_diag_msg socket;
            std::memcpy(&socket, buffer + at + NLMSG_HDRLEN, sizeof socket);
            found = found || ntohs(socket.id.idiag_sport) == port;
            at += NLMSG_ALIGN(header.nlmsg_len);
        }
    }
}

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

bool listedInProcTables(std::uint16_t port) {
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

// The listening sockets of a family on the port, asked of the kernel's
// socket diagnostics, which look at listeners only: the text tables list
// every connection of the system first. Nothing when the kernel cannot
// answer.
std::optional<bool> listensOnDiagnosed(std::uint8_t family, std::uint16_t port) {
    const int fd = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (fd < 0)
        return std::nullopt;
    struct {
        nlmsghdr header;
        inet_diag_req_v2 request;
    } query{};
    query.header.nlmsg_len = sizeof query;
    query.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    query.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    query.request.sdiag_family = family;
    query.request.sdiag_protocol = IPPROTO_TCP;
    query.request.idiag_states = 1u << tcpListenState;
    std::optional<bool> found;
    if (::send(fd, &query, sizeof query, 0) == static_cast<ssize_t>(sizeof query))
        found = readListeners(fd, port);
    ::close(fd);
    return found;
}

} // namespace

// The kernel's tables of this network namespace are read, so the port is
// never bound: a program starting to listen on it at this instant succeeds.
bool PosixPortProbe::tcpPortInUse(std::uint16_t port) {
    const std::optional<bool> v4 = listensOnDiagnosed(AF_INET, port);
    const std::optional<bool> v6 = v4 ? listensOnDiagnosed(AF_INET6, port) : std::nullopt;
    if (!v4 || !v6)
        return listedInProcTables(port);
    return *v4 || *v6;
}

} // namespace pln
