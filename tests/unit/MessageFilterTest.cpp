// Run elevated, Tarnelix lets exactly the messages that other programs send
// it through its windows' filters.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "app/core/MessageFilter.h"

TEST(MessageFilter, MainWindowTakesWhatOthersSendAndNothingItOnlySends)
{
    const auto letsThrough = [](const char* name) {
        return std::any_of(std::begin(kMainWindowIncomingMessages), std::end(kMainWindowIncomingMessages),
                           [&](const char* allowed) { return std::string(allowed) == name; });
    };
    for (const char* incoming : {kNewWindowCreatedMessage, kKillPopupWindowMessage, kDisableMessage,
                                 kPrivacyAddOnRunMessage, kInstalledUpdatesMessage}) {
        EXPECT_TRUE(letsThrough(incoming)) << incoming;
    }
    EXPECT_FALSE(letsThrough(kExitMessage));
    EXPECT_FALSE(letsThrough(kShowPrivacyAddOnMessage));
    EXPECT_FALSE(letsThrough(kTaskbarCreatedMessage));
    EXPECT_EQ(std::string("TaskbarCreated"), kTrayIncomingMessages[0]);
}
