#pragma once
// The lock that keeps a project open in one running program only. Its file
// lies in the program's data folder, so that nothing lands among the
// project's files; a lock left by a program that is gone is taken over. A
// lock still there at the next start tells that the program that held it
// ended without closing the project.
#include <QString>

#include <memory>

class QLockFile;

namespace didad {

class QtProjectLock {
public:
    QtProjectLock();
    ~QtProjectLock();

    // False when another running program holds `folder`. The active project
    // is claimed already.
    bool Claim(const QString& folder);
    void ReleaseClaim();
    // The claimed project became the active one; the one before is let go.
    void Activated();

    // Whether the lock of `folder` was left behind by a program that ended
    // without closing it. The left lock is cleared.
    static bool LeftOpenByEndedRun(const QString& folder);

private:
    static QString LockPath(const QString& folder);

    std::unique_ptr<QLockFile> active_;
    std::unique_ptr<QLockFile> claimed_;
    QString activePath_;
    QString claimedPath_;
};

} // namespace didad
