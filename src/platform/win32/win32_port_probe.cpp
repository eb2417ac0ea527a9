#include "platform/win32/win32_port_probe.h"

#include <winsock2.h>

namespace pln {

namespace {

class SocketLibrary {
public:
    SocketLibrary() {
        WSADATA data{};
        ready_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~SocketLibrary() {
        if (ready_)
            ::WSACleanup();
    }
    SocketLibrary(const SocketLibrary&) = delete;
    SocketLibrary& operator=(const SocketLibrary&) = delete;
    bool ready() const { return ready_; }

private:
    bool ready_ = false;
};

} // namespace

bool Win32PortProbe::tcpPortInUse(std::uint16_t port) {
    SocketLibrary library;
    if (!library.ready())
        return true;
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return true;
    BOOL exclusive = TRUE;
    ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
                 sizeof exclusive);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(port);
    address.sin_addr.s_addr = ::htonl(INADDR_ANY);
    const bool bound = ::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::closesocket(s);
    return !bound;
}

} // namespace pln
