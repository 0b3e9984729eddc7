#pragma once
// Saves the project by itself while the user works: a copy of the project
// taken on the GUI thread, written as the preview script on a thread of its
// own, so that a slow or failing disk never holds up the typing.
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <string>

#include "editor/AutoSave.h"
#include "model/ProjectModel.h"

class QFrame;

namespace didad {

class QtAutoSave : public QObject {
    Q_OBJECT
public:
    QtAutoSave(const ProjectModel& project, QObject* parent = nullptr);
    // Waits for a write still running.
    ~QtAutoSave() override;

    // A change to the project.
    void Changed();
    // Starts a write of the project as it is now, if none is running.
    void SaveNow();
    // Before a write the user asked for: a write still running ends first,
    // so that an older copy can never land over the user's write.
    void BeforeUserWrite();
    // The user's write put every change on the disk (or failed, and told so).
    void AfterUserWrite(bool written);
    bool Unsaved() const { return rules_.Unsaved() || rules_.Writing(); }

signals:
    // What the status line says about the saves; empty: nothing to tell.
    void StatusChanged(const QString& text);
    // A write ended (for whoever waits on the disk).
    void WriteEnded();
    // A save found the project's folder gone and did not write; the status
    // line says so. Nothing is saved until a change comes, or the user
    // writes the project again.
    void FolderRemoved();

private:
    void Arm();
    void TimerDue();
    void Ended(const std::string& reason, bool folderGone);
    void ReportStatus(const std::string& before);

    const ProjectModel& project_;
    // What the running write writes; the GUI thread touches it only between writes.
    ProjectModel copy_;
    AutoSaveRules rules_;
    QTimer timer_;
    QThreadPool pool_;
    QElapsedTimer clock_;
};

// Puts the saves' label ("lblSaveState") at the right of a status line and
// keeps it up to date; "Saved again" goes after a few seconds.
void AddSaveStateLabel(QtAutoSave& autoSave, QFrame* statusLine);

} // namespace didad
