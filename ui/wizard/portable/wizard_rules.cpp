#include "wizard_rules.h"

#include "text_fill.h"

namespace wizard {

std::vector<ImportType> OfferedTypes(bool exporting, int preset) {
    if (exporting) return {kFavoritesFolder, kBrowserFile};
    if (preset == kPresetFavorites) return {kFavoritesFolder};
    if (preset == kPresetBookmarkFile) return {kBookmarkFile};
    return {kFavoritesFolder, kBookmarkFile, kBrowserFile};  // also for an unknown preset
}

std::string TopLevelName(bool exporting, ImportType type, const TextLookup& texts) {
    if (exporting) return texts("10006", "所有书签");
    if (type == kFavoritesFolder) return texts("10004", "IE收藏夹");
    return texts("10005", "最顶层分类");
}

namespace {

std::string Number(std::size_t n) { return std::to_string(n); }

void AddLine(std::string& text, const std::string& line) {
    if (line.empty()) return;
    if (!text.empty()) text += "\n";
    text += line;
}

}  // namespace

std::string OutcomeText(const JobOutcome& outcome, const TextLookup& page3) {
    const transfer::TransferCounts& c = outcome.counts;
    if (!outcome.started) return page3("10005", "无法开始: 另一个导入或导出正在进行。");
    if (c.pathFailed) {
        if (!outcome.exporting) return FillPlaceholders(page3("10003", "无法读取要导入的书签:\n%s"), {outcome.path});
        if (outcome.type == kBrowserFile) return FillPlaceholders(page3("10008", "无法写入导出文件:\n%s"), {outcome.path});
        return FillPlaceholders(page3("10004", "无法创建导出目录:\n%s"), {outcome.path});
    }
    std::string text;
    if (outcome.exporting) {
        AddLine(text, FillPlaceholders(page3("10001", "新写入 %s 个书签, 覆盖 %s 个, 未改变 %s 个, 保留原有 %s 个。"),
                                       {Number(c.added), Number(c.replaced), Number(c.unchanged), Number(c.kept)}));
    } else {
        AddLine(text, FillPlaceholders(page3("10000", "新增 %s 个书签, 替换 %s 个, 保留原有 %s 个。"),
                                       {Number(c.added), Number(c.replaced), Number(c.kept)}));
    }
    if (c.failed) AddLine(text, FillPlaceholders(page3("10002", "%s 个书签未能完成。"), {Number(c.failed)}));
    if (c.skipped) AddLine(text, FillPlaceholders(page3("10006", "跳过 %s 项 (不是书签或无法读取)。"), {Number(c.skipped)}));
    if (c.unheld) {
        AddLine(text, FillPlaceholders(page3("10007", "%s 处文字含有当前语言无法表示的字符, 这些字符已被替换。"),
                                       {Number(c.unheld)}));
    }
    return text;
}

}  // namespace wizard
