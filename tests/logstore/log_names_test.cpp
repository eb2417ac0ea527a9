#include "logstore/core/log_names.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(LogNames, KindStateAndPartsFollowFromTheName) {
    EXPECT_EQ(kindOf("queued CLIENTS"), tLogKind::queuedClients);
    EXPECT_EQ(kindOf("VIRTUAL;a.b"), tLogKind::virtualLog) << "virtual before the dot rule";
    EXPECT_EQ(kindOf("statistics.ini-statistics,ConnRunTime"), tLogKind::iniValue);
    EXPECT_EQ(kindOf("0123456789ABCDEF0123456789ABCDEF"), tLogKind::knownFile);
    EXPECT_EQ(kindOf("virtual"), tLogKind::knownFile);
    EXPECT_EQ(stateOfExtension(".PLN_ON"), tLogState::active);
    EXPECT_EQ(stateOfExtension(".pln_of"), std::nullopt);
    // An ini value's log name splits at its first "-" and its first ","; other
    // names have no such parts.
    EXPECT_EQ(displayNameOf("0123456789ABCDEF0123456789ABCDEF"), "");
    EXPECT_EQ(iniKeyOf("a.ini-s,k,with,commas"), "k,with,commas");
    EXPECT_EQ(iniSectionOf("a.ini-s-t,k"), "s-t");
    EXPECT_EQ(iniFileNameOf("virtual;x-y,z"), "");
    EXPECT_EQ(iniKeyOf("Queued clients"), "");
    EXPECT_EQ(iniFileNameOf("odd.name"), "");
    EXPECT_EQ(iniKeyOf("odd.name"), "");
    // ConnRunTime's log is recognised without regard to case.
    EXPECT_TRUE(isConnRunTimeName("statistics.ini-statistics,connruntime"));
    EXPECT_TRUE(isConnRunTimeName("STATISTICS.INI-Statistics,ConnRunTime"));
    EXPECT_FALSE(isConnRunTimeName("statistics.ini-statistics,ConnRunTimeX"));
    EXPECT_FALSE(isConnRunTimeName("preferences.ini-statistics,ConnRunTime"));
}

} // namespace
} // namespace pln
