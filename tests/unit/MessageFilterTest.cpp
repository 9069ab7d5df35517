// Run elevated, Tarnelix lets exactly the messages that other programs send
// it through its windows' filters.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/core/MessageFilter.h"

TEST(MessageFilter, MainWindowTakesWhatOthersSendAndNothingItOnlySends)
{
    std::vector<std::string> incoming(std::begin(kMainWindowIncomingMessages), std::end(kMainWindowIncomingMessages));
    std::sort(incoming.begin(), incoming.end());
    EXPECT_EQ(incoming, (std::vector<std::string>{kDisableMessage, kInstalledUpdatesMessage, kKillPopupWindowMessage,
                                                  kNewWindowCreatedMessage, kPrivacyAddOnRunMessage}));
    EXPECT_EQ(std::string("TaskbarCreated"), kTrayIncomingMessages[0]);
}
