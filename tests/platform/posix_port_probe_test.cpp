#include "platform/posix/posix_port_probe.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace pln {
namespace {

// A listening socket on a port the system picks; closed with the object.
class Listener {
public:
    Listener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t length = sizeof address;
        auto* raw = reinterpret_cast<sockaddr*>(&address);
        if (::bind(fd_, raw, length) != 0 || ::listen(fd_, 1) != 0 ||
            ::getsockname(fd_, raw, &length) != 0)
            ADD_FAILURE() << "no listening socket";
        port_ = ntohs(address.sin_port);
    }
    ~Listener() { ::close(fd_); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    std::uint16_t port() const { return port_; }

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

TEST(PosixPortProbeTest, ATakenPortIsInUseAndFreeAgainOnceClosed) {
    PosixPortProbe probe;
    std::uint16_t port = 0;
    {
        Listener listener;
        port = listener.port();
        EXPECT_TRUE(probe.tcpPortInUse(port));
    }
    EXPECT_FALSE(probe.tcpPortInUse(port));
}

} // namespace
} // namespace pln
