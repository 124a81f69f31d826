// The import/export wizard's choices and texts that need no window: which
// kinds a start offers, what the top level is called, and the outcome shown
// when a job has ended.
#pragma once

#include "transfer_job.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wizard {

// Kinds on the first page (the type list's item data): the Favorites
// folder, the program's own bookmark file, a browser's bookmark file (HTML).
enum ImportType { kFavoritesFolder = 0, kBookmarkFile = 1, kBrowserFile = 2 };
// What an import start asks for: both kinds, or only one of them (the
// first start's offers).
enum Preset { kNoPreset = 0, kPresetFavorites = 1, kPresetBookmarkFile = 2 };

// The kinds the type list offers, in order.
std::vector<ImportType> OfferedTypes(bool exporting, int preset);

// A text of the language pack, or `builtin` when the pack has none.
using TextLookup = std::function<std::string(std::string_view key, std::string_view builtin)>;

// The text the category field shows for the top level; `texts` looks up
// "dlg_wizardpage1".
std::string TopLevelName(bool exporting, ImportType type, const TextLookup& texts);

// What a job did, for the last page.
struct JobOutcome {
    bool exporting = false;
    bool started = false;  // the job could be started at all
    ImportType type = kFavoritesFolder;
    std::string path;
    transfer::TransferCounts counts;
};

// The lines shown below the completion caption: what was added, replaced,
// kept or written and what failed, or why nothing could be done.
// `page3` looks up "dlg_wizardpage2".
std::string OutcomeText(const JobOutcome& outcome, const TextLookup& page3);

}  // namespace wizard
