#include "logstore/core/online_signature.h"
#include "platform/posix/posix_ini_profile.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pln {
namespace {

class OnlineSignatureTest : public ::testing::Test {
protected:
    std::string text() { return queuedClientsText(ini, dir.file("config/"), dir.path()); }
    void preferences(const std::string& value) {
        dir.write("config/preferences.ini", "[eMule]\r\nOnlineSignature=" + value + "\r\n");
    }

    test::TempDir dir;
    PosixIniProfile ini;
};

TEST_F(OnlineSignatureTest, DisabledMissingOrTheLastField) {
    EXPECT_EQ(text(), "[Online signature is currently disabled]");
    preferences("0");
    dir.write("onlinesig.dat", "1|server|1.2.3.4|4661\n10.5|3.2|17");
    EXPECT_EQ(text(), "[Online signature is currently disabled]");
    preferences("yes");
    EXPECT_EQ(text(), "[Online signature is currently disabled]");

    preferences("1");
    EXPECT_EQ(text(), "17");
    dir.write("onlinesig.dat", "0\n");
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(readQueuedClients(ini, dir.file("config/"), dir.path()).value);
    // Only the end of a huge file is read.
    dir.write("onlinesig.dat", std::string(1 << 20, 'x') + "|42\r\n");
    EXPECT_EQ(text(), "42");
    std::filesystem::remove(dir.file("onlinesig.dat"));
    EXPECT_EQ(text(), "[File not found]");
    dir.mkdir("onlinesig.dat");
    EXPECT_EQ(text(), "[File not found]");
}

} // namespace
} // namespace pln
