#include "platform/posix/posix_port_probe.h"
#include "support/other_process.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace pln {
namespace {

// A socket on the given port (0: one the system picks), listening or only
// bound; closed with the object. The family's port field lies at the same
// place for both.
class Socket {
public:
    Socket(int family, bool listening, std::uint16_t port = 0) {
        fd_ = ::socket(family, SOCK_STREAM, 0);
        sockaddr_in6 address{};
        address.sin6_family = static_cast<sa_family_t>(family);
        address.sin6_port = htons(port);
        socklen_t length = family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
        auto* raw = reinterpret_cast<sockaddr*>(&address);
        ok_ = fd_ >= 0 && ::bind(fd_, raw, length) == 0 && (!listening || ::listen(fd_, 1) == 0) &&
              ::getsockname(fd_, raw, &length) == 0;
        port_ = ntohs(address.sin6_port);
    }
    ~Socket() { ::close(fd_); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    bool ok() const { return ok_; }
    std::uint16_t port() const { return port_; }

private:
    int fd_ = -1;
    bool ok_ = false;
    std::uint16_t port_ = 0;
};

class PosixPortProbeTest : public ::testing::TestWithParam<int> {};

// Only a listening socket counts, and the probe binds nothing: once the
// listener is gone another program listens on the port at once.
TEST_P(PosixPortProbeTest, OnlyAListenerTakesThePortAndTheProbeLeavesItFree) {
    PosixPortProbe probe;
    std::uint16_t port = 0;
    {
        Socket bound(GetParam(), false);
        ASSERT_TRUE(bound.ok()) << "no socket of family " << GetParam();
        EXPECT_FALSE(probe.tcpPortInUse(bound.port()));
        Socket listener(GetParam(), true);
        ASSERT_TRUE(listener.ok());
        port = listener.port();
        EXPECT_TRUE(probe.tcpPortInUse(port));
    }
    EXPECT_FALSE(probe.tcpPortInUse(port));
    test::OtherProcess eMule([&](const test::OtherProcess::Hold& hold) {
        Socket again(AF_INET, true, port);
        hold(again.ok() ? 'k' : 'x');
    });
    EXPECT_EQ(eMule.report(), 'k');
    EXPECT_TRUE(probe.tcpPortInUse(port));
    EXPECT_TRUE(eMule.end());
}

INSTANTIATE_TEST_SUITE_P(Families, PosixPortProbeTest, ::testing::Values(AF_INET, AF_INET6));

} // namespace
} // namespace pln
