// What the status bar says about saving the bookmark file. A failed save is
// said once, and again only when the reason changes (the automatic save keeps
// trying every few seconds and must not flicker); a save that works again
// brings the idle text back; a failed daily backup is said once.
#pragma once

#include <optional>
#include <string>

namespace mainframe {

struct SaveNotice {
    enum class Kind { kSaveFailed, kBackupFailed, kIdle };
    Kind kind;
    std::string reason;  // for the two failures
};

class CSaveNoticeRule {
public:
    // The notice to show after a save attempt, none when the status bar
    // should stay as it is.
    std::optional<SaveNotice> After(bool saved, const std::string& error, const std::string& backupError);
    // Whether a failed save is on show.
    bool Failing() const { return failing_; }

private:
    bool failing_ = false;
    std::string lastError_;
};

}  // namespace mainframe
