#include "save_notice.h"

#include <gtest/gtest.h>

namespace mainframe {
namespace {

using Kind = SaveNotice::Kind;

// A run of saves as the timer makes them, and what the status bar is told.
TEST(SaveNoticeRule, SaysAFailureOnceAgainWhenTheReasonChangesAndIdleWhenItPasses) {
    CSaveNoticeRule rule;
    EXPECT_FALSE(rule.After(true, "", ""));  // quiet while all is well

    auto first = rule.After(false, "Access denied.", "");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->kind, Kind::kSaveFailed);
    EXPECT_EQ(first->reason, "Access denied.");
    EXPECT_FALSE(rule.After(false, "Access denied.", ""));
    EXPECT_FALSE(rule.After(false, "Access denied.", ""));

    auto changed = rule.After(false, "There is not enough space on the disk.", "");
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->reason, "There is not enough space on the disk.");

    auto back = rule.After(true, "", "");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->kind, Kind::kIdle);
    EXPECT_FALSE(rule.After(true, "", ""));

    // The same reason after a good save is news again.
    auto again = rule.After(false, "Access denied.", "");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->kind, Kind::kSaveFailed);
}

TEST(SaveNoticeRule, AFailedBackupIsSaidWithTheSaveThatWentOn) {
    CSaveNoticeRule rule;
    auto backup = rule.After(true, "", "cannot create the folder Backup");
    ASSERT_TRUE(backup);
    EXPECT_EQ(backup->kind, Kind::kBackupFailed);
    EXPECT_EQ(backup->reason, "cannot create the folder Backup");
    EXPECT_FALSE(rule.After(true, "", ""));
}

}  // namespace
}  // namespace mainframe
