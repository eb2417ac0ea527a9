#include "platform/posix/posix_message_bus.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace pln {
namespace {

// A socket whose process is gone: bound once, then closed without removal;
// or a datagram sent as is.
void atSocket(const std::string& path, const std::vector<std::uint8_t>* datagram) {
    int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{AF_UNIX, {}};
    std::strcpy(address.sun_path, path.c_str());
    auto* to = reinterpret_cast<sockaddr*>(&address);
    if (datagram)
        ::sendto(fd, datagram->data(), datagram->size(), 0, to, sizeof address);
    else
        EXPECT_EQ(::bind(fd, to, sizeof address), 0);
    ::close(fd);
}

struct MessageBusTest : testing::Test {
    test::TempDir dir;
    std::string folder = dir.path() + "bus";
};

// Processes exchange messages in the same way; the viewer and the real
// recorder do in the recorder's tests. A datagram between sockets of one
// machine is queued at the receiver as it is sent: the wait ends at once.
TEST_F(MessageBusTest, PeersExchangeMessagesAndNeverHearThemselves) {
    PosixMessageBus first(folder);
    ASSERT_GE(first.descriptor(), 0);
    {
        PosixMessageBus second(folder);
        second.broadcast({"prefix/hello", 7, -3});
        first.waitForMessages(2000);
        EXPECT_EQ(first.receive(), (std::vector<BusMessage>{{"prefix/hello", 7, -3}}));
        first.broadcast({"prefix/reply", 8, 1LL << 40});
        EXPECT_EQ(second.receive(), (std::vector<BusMessage>{{"prefix/reply", 8, 1LL << 40}}))
            << "its own message did not come back";
        EXPECT_TRUE(first.receive().empty());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1)
        << "the second socket went with its bus";

    // Each configuration has a folder of its own, and one that others may
    // write to is not used.
    std::string a = messageBusFolder("/home/u/.local/share/eMule/config/");
    EXPECT_NE(a, messageBusFolder("/home/u/other/eMule/config/"));
    EXPECT_EQ(a, messageBusFolder("/home/u/.local/share/eMule/config/"));
    EXPECT_LT(a.size(), 100u) << "a socket path must fit sun_path";

    const std::string open = dir.mkdir("open");
    ::chmod(open.c_str(), 0755);
    PosixMessageBus shared(open);
    EXPECT_EQ(shared.descriptor(), -1);
    shared.broadcast({"p/x", 0, 0});
    EXPECT_TRUE(shared.receive().empty());
    EXPECT_TRUE(std::filesystem::is_empty(open));
}

TEST_F(MessageBusTest, DeadPeersAreRemovedAndBusyPeersNeverBlockTheSender) {
    PosixMessageBus sender(folder);
    PosixMessageBus idle(folder);
    std::string dead = folder + "/99999999-0.sock";
    atSocket(dead, nullptr);

    // A blocking send would hang here once the idle peer's queue is full.
    for (int i = 0; i < 5000; ++i)
        sender.broadcast({"prefix/flood", static_cast<std::uint32_t>(i), 0});

    EXPECT_FALSE(std::filesystem::exists(dead));
    auto queued = idle.receive();
    ASSERT_FALSE(queued.empty());
    EXPECT_LT(queued.size(), 5000u) << "the idle peer's queue filled and later messages were lost";
    EXPECT_EQ(queued[0].word, 0u);
}

// Only an exact datagram of this format is a message; anything else that
// reaches the socket is dropped without disturbing the messages after it.
TEST_F(MessageBusTest, MalformedDatagramsAreDropped) {
    PosixMessageBus bus(folder);
    const BusMessage message{"C:/eMule/config/dbed_close", 0xFFFFFFFFu, -1};
    const std::vector<std::uint8_t> good = encodeBusDatagram(message);
    ASSERT_EQ(good.size(), 19u + message.name.size());

    std::vector<std::vector<std::uint8_t>> malformed(4, good);
    malformed[0].push_back(0);
    malformed[1].pop_back();
    malformed[2][4] = 2; // another format
    malformed[3][0] = 'X';
    malformed.insert(malformed.end(), {{'g', 'a', 'r', 'b', 'a', 'g', 'e'},
                                       {},
                                       encodeBusDatagram({"", 0, 0}),
                                       std::vector<std::uint8_t>(70000, 'P')});
    const std::string path = std::filesystem::directory_iterator(folder)->path().string();
    for (const auto& bytes : malformed)
        atSocket(path, &bytes);
    atSocket(path, &good);

    EXPECT_EQ(bus.receive(), std::vector<BusMessage>{message});
    EXPECT_EQ(test::errorOf([] {
                  encodeBusDatagram({std::string(longestBusName + 1, 'a'), 0, 0});
              }),
              "The message name is too long");
}

} // namespace
} // namespace pln
