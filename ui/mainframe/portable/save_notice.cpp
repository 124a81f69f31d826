#include "save_notice.h"

namespace mainframe {

std::optional<SaveNotice> CSaveNoticeRule::After(bool saved, const std::string& error,
                                                 const std::string& backupError) {
    if (!saved) {
        if (failing_ && error == lastError_) return std::nullopt;
        failing_ = true;
        lastError_ = error;
        return SaveNotice{SaveNotice::Kind::kSaveFailed, error};
    }
    const bool wasFailing = failing_;
    failing_ = false;
    lastError_.clear();
    if (!backupError.empty()) return SaveNotice{SaveNotice::Kind::kBackupFailed, backupError};
    if (wasFailing) return SaveNotice{SaveNotice::Kind::kIdle, {}};
    return std::nullopt;
}

}  // namespace mainframe
