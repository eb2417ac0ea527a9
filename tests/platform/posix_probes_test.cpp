#include "platform/posix/posix_mutex_service.h"
#include "platform/posix/posix_port_probe.h"
#include "support/other_process.h"
#include "support/temp_dir.h"

#include <atomic>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace pln {
namespace {

const std::string viewerName =
    "/home/user/.local/share/eMule/config/dbed2574-6c42-4b54-8165-ddb3421b4d86_viewer";

// A recorder that starts again and again while a viewer probes its mark:
// the probe takes nothing, so no start ever finds the name held. The name
// the recorder then keeps is held until its process ends.
TEST(PosixMutexServiceTest, ProbesNeverKeepAStartingProgramFromTheName) {
    test::TempDir dir;
    PosixMutexService mutexes(dir.path());
    test::OtherProcess recorder([&](const test::OtherProcess::Hold& hold) {
        PosixMutexService service(dir.path());
        for (int start = 0; start < 20000; ++start)
            if (service.create(viewerName).outcome != MutexOutcome::Created)
                return hold('x');
        auto kept = service.create(viewerName);
        hold(kept.outcome == MutexOutcome::Created ? 'k' : 'x');
    });
    std::atomic<bool> stop = false;
    std::thread viewer([&] {
        while (!stop)
            (void)mutexes.isHeld(viewerName);
    });
    const char report = recorder.report();
    stop = true;
    viewer.join();
    ASSERT_EQ(report, 'k');

    auto taken = mutexes.create(viewerName);
    EXPECT_EQ(taken.outcome, MutexOutcome::AlreadyExists);
    EXPECT_EQ(taken.handle, nullptr);
    EXPECT_TRUE(mutexes.isHeld(viewerName));
    EXPECT_FALSE(mutexes.isHeld(viewerName + "x"));
    EXPECT_EQ(mutexes.create(viewerName + "x").outcome, MutexOutcome::Created);

    EXPECT_TRUE(recorder.end());
    EXPECT_FALSE(mutexes.isHeld(viewerName));
    auto mine = mutexes.create(viewerName);
    EXPECT_EQ(mine.outcome, MutexOutcome::Created);
    EXPECT_NE(mine.handle, nullptr);
}

TEST(PosixMutexServiceTest, UnusableLockFolderDeniesAccess) {
    test::TempDir dir;
    PosixMutexService mutexes(dir.write("plain file", "x") + "/locks");
    EXPECT_EQ(mutexes.create(viewerName).outcome, MutexOutcome::AccessDenied);

    dir.mkdir("locks/" + PosixMutexService::lockFileName("taken"));
    PosixMutexService inFolder(dir.file("locks"));
    EXPECT_EQ(inFolder.create("taken").outcome, MutexOutcome::AccessDenied);
    EXPECT_EQ(inFolder.create("free").outcome, MutexOutcome::Created);
}

TEST(PosixMutexServiceTest, LockFileNamesAreSafeShortAndDistinct) {
    std::string folder(300, 'f');
    std::set<std::string> files;
    for (const std::string& name :
         {viewerName, std::string("a/b"), std::string("a%2Fb"), std::string("."), std::string(".."),
          std::string(""), "/" + folder + "/x_viewer", "/" + folder + "/x_recorder",
          "/" + folder + "a/x_viewer", "/" + folder + "/" + std::string(200, '\xE9')}) {
        std::string file = PosixMutexService::lockFileName(name);
        EXPECT_LE(file.size(), 205u) << name;
        EXPECT_EQ(file.find('/'), std::string::npos) << name;
        EXPECT_NE(file, ".");
        EXPECT_NE(file, "..");
        files.insert(file);
    }
    EXPECT_EQ(files.size(), 10u);
    EXPECT_EQ(PosixMutexService::lockFileName("/x y_viewer"), "%2Fx%20y_viewer.lock");
}

// A socket on the given port (0: one the system picks), listening or only
// bound; closed with the object. The family's port field lies at the same
// place for both.
struct Socket {
    Socket(int family, bool listening, std::uint16_t wanted = 0) {
        fd = ::socket(family, SOCK_STREAM, 0);
        sockaddr_in6 address{};
        address.sin6_family = static_cast<sa_family_t>(family);
        address.sin6_port = htons(wanted);
        socklen_t length = family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
        auto* raw = reinterpret_cast<sockaddr*>(&address);
        ok = fd >= 0 && ::bind(fd, raw, length) == 0 && (!listening || ::listen(fd, 1) == 0) &&
             ::getsockname(fd, raw, &length) == 0;
        port = ntohs(address.sin6_port);
    }
    ~Socket() { ::close(fd); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    int fd = -1;
    bool ok = false;
    std::uint16_t port = 0;
};

class PosixPortProbeTest : public ::testing::TestWithParam<int> {};

// Only a listening socket counts, and the probe binds nothing: once the
// listener is gone another program listens on the port at once.
TEST_P(PosixPortProbeTest, OnlyAListenerTakesThePortAndTheProbeLeavesItFree) {
    PosixPortProbe probe;
    std::uint16_t port = 0;
    {
        Socket bound(GetParam(), false);
        ASSERT_TRUE(bound.ok) << "no socket of family " << GetParam();
        EXPECT_FALSE(probe.tcpPortInUse(bound.port));
        Socket listener(GetParam(), true);
        ASSERT_TRUE(listener.ok);
        port = listener.port;
        EXPECT_TRUE(probe.tcpPortInUse(port));
    }
    EXPECT_FALSE(probe.tcpPortInUse(port));
    test::OtherProcess eMule([&](const test::OtherProcess::Hold& hold) {
        Socket again(AF_INET, true, port);
        hold(again.ok ? 'k' : 'x');
    });
    EXPECT_EQ(eMule.report(), 'k');
    EXPECT_TRUE(probe.tcpPortInUse(port));
    EXPECT_TRUE(eMule.end());
}

INSTANTIATE_TEST_SUITE_P(Families, PosixPortProbeTest, ::testing::Values(AF_INET, AF_INET6));

} // namespace
} // namespace pln
