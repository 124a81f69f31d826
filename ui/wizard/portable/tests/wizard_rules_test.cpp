#include "wizard_rules.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using wizard::ImportType;
using wizard::JobOutcome;

std::string Builtin(std::string_view, std::string_view builtin) { return std::string(builtin); }

TEST(WizardRules, TheTypeListOffersWhatTheStartAskedFor) {
    using V = std::vector<ImportType>;
    const V exports{wizard::kFavoritesFolder, wizard::kBrowserFile};
    const V all{wizard::kFavoritesFolder, wizard::kBookmarkFile, wizard::kBrowserFile};
    EXPECT_EQ(wizard::OfferedTypes(true, 0), exports) << "export: the folder or a browser's file";
    EXPECT_EQ(wizard::OfferedTypes(true, 2), exports) << "a preset means nothing to an export";
    EXPECT_EQ(wizard::OfferedTypes(false, 0), all);
    EXPECT_EQ(wizard::OfferedTypes(false, 1), (V{wizard::kFavoritesFolder}));
    EXPECT_EQ(wizard::OfferedTypes(false, 2), (V{wizard::kBookmarkFile}));
    EXPECT_EQ(wizard::OfferedTypes(false, 7), all) << "an unknown preset from a posted command offers every kind";
}

TEST(WizardRules, TheTopLevelIsNamedByDirectionAndKind) {
    EXPECT_EQ(wizard::TopLevelName(true, wizard::kFavoritesFolder, Builtin), "所有书签");
    EXPECT_EQ(wizard::TopLevelName(false, wizard::kFavoritesFolder, Builtin), "IE收藏夹");
    EXPECT_EQ(wizard::TopLevelName(false, wizard::kBookmarkFile, Builtin), "最顶层分类");
}

TEST(WizardRules, TheOutcomeSaysWhatWasDoneAndWhatFailed) {
    JobOutcome import;
    import.started = true;
    import.counts.added = 1000;
    import.counts.replaced = 1;
    import.counts.kept = 2;
    EXPECT_EQ(wizard::OutcomeText(import, Builtin), "新增 1000 个书签, 替换 1 个, 保留原有 2 个。")
        << "nothing failed: one line";

    import.counts.failed = 3;
    import.counts.skipped = 4;
    import.counts.unheld = 5;
    const std::string text = wizard::OutcomeText(import, Builtin);
    EXPECT_NE(text.find("\n5 处文字含有当前语言无法表示的字符"), std::string::npos) << text;
    EXPECT_NE(text.find("\n3 个书签未能完成。"), std::string::npos) << text;
    EXPECT_NE(text.find("\n跳过 4 项"), std::string::npos) << text;

    JobOutcome exported;
    exported.exporting = true;
    exported.started = true;
    exported.counts.added = 3000;
    exported.counts.unchanged = 5;
    exported.counts.failed = 3000;
    EXPECT_EQ(wizard::OutcomeText(exported, Builtin),
              "新写入 3000 个书签, 覆盖 0 个, 未改变 5 个, 保留原有 0 个。\n3000 个书签未能完成。")
        << "3,000 unwritable shortcuts are not reported as success";
}

TEST(WizardRules, ASourceThatCouldNotBeReadGetsItsOwnText) {
    JobOutcome missing;
    missing.started = true;
    missing.path = "C:\\quorva\\default.xml";
    missing.counts.pathFailed = true;
    EXPECT_EQ(wizard::OutcomeText(missing, Builtin), "无法读取要导入的书签:\nC:\\quorva\\default.xml");
    missing.exporting = true;
    EXPECT_EQ(wizard::OutcomeText(missing, Builtin), "无法创建导出目录:\nC:\\quorva\\default.xml");
    missing.type = wizard::kBrowserFile;
    EXPECT_EQ(wizard::OutcomeText(missing, Builtin), "无法写入导出文件:\nC:\\quorva\\default.xml");

    JobOutcome refused;
    EXPECT_NE(wizard::OutcomeText(refused, Builtin).find("无法开始"), std::string::npos)
        << "a job that could not start is not a success";
}

TEST(WizardRules, APackTextNeverReachesAPrintf) {
    const std::map<std::string, std::string> pack{{"10000", "%n%s%s %x added %s, %s, %s%%"},
                                                  {"10003", "Cannot read %s %s %s"}};
    const wizard::TextLookup lookup = [&](std::string_view key, std::string_view builtin) {
        auto found = pack.find(std::string(key));
        return found != pack.end() ? found->second : std::string(builtin);
    };
    JobOutcome outcome;
    outcome.started = true;
    outcome.counts.added = 7;
    EXPECT_EQ(wizard::OutcomeText(outcome, lookup), "%n70 %x added 0, %s, %s%");
    outcome.counts.pathFailed = true;
    outcome.path = "D:\\%s";
    EXPECT_EQ(wizard::OutcomeText(outcome, lookup), "Cannot read D:\\%s %s %s");
}

}  // namespace
