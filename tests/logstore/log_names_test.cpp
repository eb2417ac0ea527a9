#include "logstore/core/log_names.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(LogNames, KindFollowsFromTheNameInRuleOrder) {
    EXPECT_EQ(kindOf("queued CLIENTS"), tLogKind::queuedClients);
    EXPECT_EQ(kindOf("VIRTUAL;a.b"), tLogKind::virtualLog) << "virtual before the dot rule";
    EXPECT_EQ(kindOf("statistics.ini-statistics,ConnRunTime"), tLogKind::iniValue);
    EXPECT_EQ(kindOf("0123456789ABCDEF0123456789ABCDEF"), tLogKind::knownFile);
    EXPECT_EQ(kindOf("virtual"), tLogKind::knownFile);
}

TEST(LogNames, DisplayNameAndIniPartsByKind) {
    EXPECT_EQ(displayNameOf("virtual;abc"), "abc");
    EXPECT_EQ(displayNameOf("Queued clients"), "Queued clients");
    EXPECT_EQ(displayNameOf("preferences.ini-eMule,MaxUpload"), "MaxUpload");
    EXPECT_EQ(displayNameOf("0123456789ABCDEF0123456789ABCDEF"), "");

    EXPECT_EQ(iniFileNameOf("statistics.ini-statistics,ConnRunTime"), "statistics.ini");
    EXPECT_EQ(iniSectionOf("statistics.ini-statistics,ConnRunTime"), "statistics");
    EXPECT_EQ(iniKeyOf("preferences.ini-eMule,MaxUpload"), "MaxUpload");
    EXPECT_EQ(iniKeyOf("a.ini-s,k,with,commas"), "k,with,commas");
    EXPECT_EQ(iniSectionOf("a.ini-s-t,k"), "s-t");
    EXPECT_EQ(iniFileNameOf("virtual;x-y,z"), "");
    EXPECT_EQ(iniKeyOf("Queued clients"), "");
    EXPECT_EQ(iniFileNameOf("odd.name"), "");
    EXPECT_EQ(iniKeyOf("odd.name"), "");
    EXPECT_EQ(iniValueLogName("statistics.ini", "statistics", "ConnRunTime"), connRunTimeName);
}

TEST(LogNames, ConnRunTimeIsRecognisedWithoutRegardToCase) {
    EXPECT_TRUE(isConnRunTimeName("statistics.ini-statistics,connruntime"));
    EXPECT_TRUE(isConnRunTimeName("STATISTICS.INI-Statistics,ConnRunTime"));
    EXPECT_FALSE(isConnRunTimeName("statistics.ini-statistics,ConnRunTimeX"));
    EXPECT_FALSE(isConnRunTimeName("preferences.ini-statistics,ConnRunTime"));
}

TEST(LogNames, ExtensionsAndStates) {
    EXPECT_EQ(extensionOf(tLogState::inactive), ".pln_off");
    EXPECT_EQ(extensionOf(tLogState::active), ".pln_on");
    EXPECT_EQ(extensionOf(tLogState::permanent), ".pln");
    EXPECT_EQ(extensionOf(tLogState::none), ".pln");
    EXPECT_EQ(stateOfExtension(".PLN_ON"), tLogState::active);
    EXPECT_EQ(stateOfExtension(".Pln"), tLogState::permanent);
    EXPECT_EQ(stateOfExtension(".pln_of"), std::nullopt);
    EXPECT_EQ(stateText(tLogState::none), "None");
    EXPECT_EQ(stateText(tLogState::permanent), "Permanent");
}

} // namespace
} // namespace pln
