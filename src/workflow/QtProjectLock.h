#pragma once
// The lock that keeps a project open in one running program only. Its file
// lies in the program's data folder, so that nothing lands among the
// project's files, and in the user's runtime folder too, so that a data
// folder that takes no lock file still keeps a second program out; a lock
// left by a program that is gone is taken over. A lock still there at the
// next start tells that the program that held it ended without closing the
// project.
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "workflow/ProjectLocks.h"

class QLockFile;

namespace didad {

class QtProjectLock {
public:
    QtProjectLock();
    ~QtProjectLock();

    // InUse when another running program holds `folder` in any of the lock
    // folders. The active project is claimed already.
    ProjectClaim Claim(const QString& folder);
    void ReleaseClaim();
    // The claimed project became the active one; the one before is let go.
    void Activated();

    // Whether the lock of `folder` was left behind by a program that ended
    // without closing it. The left lock is cleared.
    static bool LeftOpenByEndedRun(const QString& folder);
    // Where the lock files lie: every one that can hold a folder takes the
    // project's lock, so that a program that finds one of them unusable is
    // still seen by another that finds it usable again.
    static QStringList LockFolders();

private:
    struct Held {
        QString folder;
        std::vector<std::unique_ptr<QLockFile>> locks;
    };
    static QString LockName(const QString& folder);

    Held active_;
    Held claimed_;
};

} // namespace didad
