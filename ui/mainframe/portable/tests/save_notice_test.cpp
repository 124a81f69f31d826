#include "save_notice.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

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

// Runs of saves, each step with the notice it must give (none: the status
// bar stays as it is) and whether a failure is on show afterwards.
TEST(SaveNoticeRule, RunsOfSavesAndTheirNotices) {
    struct Step {
        bool saved;
        const char* error;
        const char* backupError;
        std::optional<Kind> kind;
        const char* reason;
        bool failing;
    };
    struct Run {
        const char* name;
        std::vector<Step> steps;
    };
    const Run runs[] = {
        {"a failure without a reason is still shown, once",
         {{false, "", "", Kind::kSaveFailed, "", true},
          {false, "", "", std::nullopt, "", true},
          {true, "", "", Kind::kIdle, "", false}}},
        {"a save that recovers while its backup failed says the backup",
         {{false, "Access denied.", "", Kind::kSaveFailed, "Access denied.", true},
          {true, "", "cannot create the folder B", Kind::kBackupFailed, "cannot create the folder B", false},
          {true, "", "", std::nullopt, "", false}}},
        {"a failed backup with a failed save: the save is what counts",
         {{false, "Disk full.", "cannot create the folder B", Kind::kSaveFailed, "Disk full.", true}}},
        {"a reason, then none, then the reason again",
         {{false, "Access denied.", "", Kind::kSaveFailed, "Access denied.", true},
          {false, "", "", Kind::kSaveFailed, "", true},
          {false, "Access denied.", "", Kind::kSaveFailed, "Access denied.", true}}},
        {"the backup failing on two days is said on both",
         {{true, "", "cannot copy", Kind::kBackupFailed, "cannot copy", false},
          {true, "", "cannot copy", Kind::kBackupFailed, "cannot copy", false}}},
    };
    for (const Run& run : runs) {
        CSaveNoticeRule rule;
        EXPECT_FALSE(rule.Failing()) << run.name;
        int n = 0;
        for (const Step& step : run.steps) {
            SCOPED_TRACE(std::string(run.name) + ", step " + std::to_string(++n));
            const std::optional<SaveNotice> notice = rule.After(step.saved, step.error, step.backupError);
            ASSERT_EQ(notice.has_value(), step.kind.has_value());
            if (notice) {
                EXPECT_EQ(notice->kind, *step.kind);
                EXPECT_EQ(notice->reason, step.reason);
            }
            EXPECT_EQ(rule.Failing(), step.failing);
        }
    }
}

}  // namespace
}  // namespace mainframe
