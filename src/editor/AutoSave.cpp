#include "editor/AutoSave.h"

#include <algorithm>

namespace didad {

std::string NotSavedMessage(const std::string& reason) { return "Not saved: " + reason; }

std::string FolderRemovedQuestion(const std::string& folder) {
    return "The folder of this project was removed:\r\n  " + folder +
           "\r\n\r\nYour menus are still open here, but your latest changes are not saved. Save the project "
           "in that folder again, or choose another place for it.";
}

void AutoSaveRules::Changed(std::int64_t nowMs) {
    if (!unsaved_) firstChange_ = nowMs;
    unsaved_ = true;
    lastChange_ = nowMs;
    waitForChange_ = false;
    if (writing_) changedWhileWriting_ = true;
}

std::int64_t AutoSaveRules::DelayUntilDue(std::int64_t nowMs) const {
    if (!unsaved_ || writing_ || waitForChange_) return -1;
    const std::int64_t due = std::min(lastChange_ + kAutoSaveDelayMs, firstChange_ + kAutoSaveLongestWaitMs);
    return std::max<std::int64_t>(0, due - nowMs);
}

void AutoSaveRules::WriteStarted() {
    writing_ = true;
    changedWhileWriting_ = false;
    // What the write holds is no longer waiting; a change from here on is.
    unsaved_ = false;
}

void AutoSaveRules::WriteEnded(const std::string& reason) {
    writing_ = false;
    if (reason.empty()) {
        if (failed_) status_ = kSavedAgain;
        failed_ = false;
        return;
    }
    // The copy did not reach the disk: its changes are still unsaved. A disk
    // that refuses is not asked again and again; the next change tries.
    failed_ = true;
    status_ = NotSavedMessage(reason);
    if (!unsaved_) firstChange_ = lastChange_;
    unsaved_ = true;
    waitForChange_ = !changedWhileWriting_;
}

void AutoSaveRules::WrittenByUser() {
    unsaved_ = false;
    waitForChange_ = false;
    if (failed_) status_ = kSavedAgain;
    failed_ = false;
}

} // namespace didad
