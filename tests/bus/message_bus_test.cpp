#include "common/error.h"
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
#include <sys/wait.h>
#include <unistd.h>

namespace pln {
namespace {

// Waits up to two seconds for the first message.
std::vector<BusMessage> receiveWithin(MessageBus& bus) {
    for (int i = 0; i < 20; ++i) {
        bus.waitForMessages(100);
        auto messages = bus.receive();
        if (!messages.empty())
            return messages;
    }
    return {};
}

// A socket whose process is gone: bound once, then closed without removal.
std::string plantDeadSocket(const std::string& path) {
    int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    return path;
}

void sendRaw(const std::string& path, const void* bytes, std::size_t size) {
    int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    ::sendto(fd, bytes, size, 0, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::close(fd);
}

std::string onlySocketIn(const std::string& folder) {
    std::string found;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        found = entry.path().string();
    return found;
}

struct MessageBusTest : testing::Test {
    test::TempDir dir;
    std::string folder = dir.path() + "bus";
};

TEST_F(MessageBusTest, TwoProcessesExchangeMessagesAndNeverHearThemselves) {
    PosixMessageBus parent(folder);
    ASSERT_GE(parent.descriptor(), 0);

    pid_t child = ::fork();
    if (child == 0) {
        bool ok = false;
        {
            PosixMessageBus bus(folder);
            bus.broadcast({"prefix/hello", 7, -3});
            auto answer = receiveWithin(bus);
            ok = answer.size() == 1 && answer[0] == BusMessage{"prefix/reply", 8, 1LL << 40};
        }
        ::_exit(ok ? 0 : 1);
    }
    auto heard = receiveWithin(parent);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], (BusMessage{"prefix/hello", 7, -3}));
    parent.broadcast({"prefix/reply", 8, 1LL << 40});
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // The child's own broadcast did not come back to it, or it would have
    // seen two messages; the parent hears nothing of its own either.
    EXPECT_TRUE(parent.receive().empty());
    auto entries = std::distance(std::filesystem::directory_iterator(folder),
                                 std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1) << "the child's socket went with the child";
}

TEST_F(MessageBusTest, DeadPeersAreRemovedAndBusyPeersNeverBlockTheSender) {
    PosixMessageBus sender(folder);
    PosixMessageBus idle(folder);
    std::string dead = plantDeadSocket(folder + "/99999999-0.sock");

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

    auto changed = [&](std::size_t at, std::uint8_t byte) {
        std::vector<std::uint8_t> bytes = good;
        bytes[at] = byte;
        return bytes;
    };
    std::vector<std::uint8_t> longer = good;
    longer.push_back(0);
    const std::vector<std::vector<std::uint8_t>> malformed = {
        {'g', 'a', 'r', 'b', 'a', 'g', 'e'},
        longer,
        {good.begin(), good.end() - 1},
        {},
        changed(4, 2),
        changed(0, 'X'),
        encodeBusDatagram({"", 0, 0}),
        std::vector<std::uint8_t>(70000, 'P')};
    const std::string path = onlySocketIn(folder);
    for (const auto& bytes : malformed)
        sendRaw(path, bytes.data(), bytes.size());
    sendRaw(path, good.data(), good.size());

    auto messages = receiveWithin(bus);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], message);
    EXPECT_EQ(test::errorOf([] {
                  encodeBusDatagram({std::string(longestBusName + 1, 'a'), 0, 0});
              }),
              "The message name is too long");
}

TEST_F(MessageBusTest, AFolderOpenToOthersIsNotUsed) {
    dir.mkdir("bus");
    ::chmod(folder.c_str(), 0755);
    PosixMessageBus bus(folder);
    EXPECT_EQ(bus.descriptor(), -1);
    bus.broadcast({"p/x", 0, 0});
    EXPECT_TRUE(bus.receive().empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST(MessageBusFolder, ConfigurationsGetTheirOwnFolders) {
    std::string a = messageBusFolder("/home/u/.local/share/eMule/config/");
    std::string b = messageBusFolder("/home/u/other/eMule/config/");
    EXPECT_NE(a, b);
    EXPECT_EQ(a, messageBusFolder("/home/u/.local/share/eMule/config/"));
    EXPECT_LT(a.size(), 100u) << "a socket path must fit sun_path";
}

} // namespace
} // namespace pln
