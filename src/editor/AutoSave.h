#pragma once
// When the editor saves the project by itself while the user works, and what
// the status line says about it. The timer, the copy and the thread that
// writes belong to the front end; the rules are here.
#include <cstdint>
#include <string>

namespace didad {

// A save follows the last change after this long, so that a burst of typing
// gives one write...
inline constexpr std::int64_t kAutoSaveDelayMs = 2000;
// ...and steady typing still reaches the disk this often.
inline constexpr std::int64_t kAutoSaveLongestWaitMs = 10000;

inline constexpr const char* kSavedAgain = "Saved again";
// Why a save was not made when the project's folder is gone: a folder the
// user removed is not made again behind the user's back.
inline constexpr const char* kFolderRemovedReason = "the project folder was removed";
inline constexpr const char* kFolderRemovedCaption = "Project Folder Removed";
inline constexpr const char* kSaveHereAgain = "Save &Here Again";
inline constexpr const char* kChooseAnotherPlace = "&Choose Another Place...";
// The question when the automatic save found the folder gone.
std::string FolderRemovedQuestion(const std::string& folder);
// "Not saved: " and the system's reason.
std::string NotSavedMessage(const std::string& reason);

class AutoSaveRules {
public:
    // A change to the project at `nowMs` (any steady clock).
    void Changed(std::int64_t nowMs);
    // How long until a save is due: -1 when none is (nothing unsaved, a
    // write still running, or a failed write waiting for the next change).
    std::int64_t DelayUntilDue(std::int64_t nowMs) const;
    // A write of the project as it is now has started.
    void WriteStarted();
    // The write ended; `reason` is the system's reason of a failure, empty
    // on success.
    void WriteEnded(const std::string& reason);
    // The user's own write (Update Preview, closing, ...) put every change so
    // far on the disk.
    void WrittenByUser();
    bool Writing() const { return writing_; }
    bool Unsaved() const { return unsaved_; }
    // What the status line says: empty while there is nothing to tell.
    const std::string& StatusText() const { return status_; }

private:
    bool unsaved_ = false;
    bool writing_ = false;
    bool failed_ = false;
    bool waitForChange_ = false;
    bool changedWhileWriting_ = false;
    std::int64_t firstChange_ = 0;
    std::int64_t lastChange_ = 0;
    std::string status_;
};

} // namespace didad
