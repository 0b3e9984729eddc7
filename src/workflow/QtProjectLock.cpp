#include "workflow/QtProjectLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace didad {

namespace {

std::unique_ptr<QLockFile> MakeLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // A lock is left only by a program that is gone, however long it ran.
    lock->setStaleLockTime(0);
    return lock;
}

QString Resolved(const QString& folder) {
    const QFileInfo info(folder);
    return info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
}

} // namespace

QtProjectLock::QtProjectLock() = default;
QtProjectLock::~QtProjectLock() = default;

QStringList QtProjectLock::LockFolders() {
    QStringList folders{QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                        QStringLiteral("/open-projects")};
    // Private to the user and on another file system: it holds when the data
    // folder cannot, and empties itself when the user logs out.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) folders << runtime + QStringLiteral("/didad-open-projects");
    return folders;
}

QString QtProjectLock::LockName(const QString& folder) {
    return QString::fromStdString(ProjectLockFileName(Resolved(folder).toStdString()));
}

ProjectClaim QtProjectLock::Claim(const QString& folder) {
    claimed_ = {};
    const QString resolved = Resolved(folder);
    if (!active_.folder.isEmpty() && resolved == active_.folder) return ProjectClaim::Claimed;
    Held held{resolved, {}};
    const QString name = LockName(folder);
    for (const QString& place : LockFolders()) {
        // A file of that name in the way, a full or read-only disk: the
        // other folders keep the project.
        if (!QDir().mkpath(place)) continue;
        auto lock = MakeLock(place + QLatin1Char('/') + name);
        if (lock->tryLock(0)) {
            held.locks.push_back(std::move(lock));
        } else if (lock->error() == QLockFile::LockFailedError) {
            return ProjectClaim::InUse;
        }
    }
    if (held.locks.empty()) return ProjectClaim::NoLockPlace;
    claimed_ = std::move(held);
    return ProjectClaim::Claimed;
}

void QtProjectLock::ReleaseClaim() { claimed_ = {}; }

void QtProjectLock::Activated() {
    if (claimed_.folder.isEmpty()) return;
    active_ = std::move(claimed_);
    claimed_ = {};
}

bool QtProjectLock::LeftOpenByEndedRun(const QString& folder) {
    const QString name = LockName(folder);
    bool left = false;
    for (const QString& place : LockFolders()) {
        const QString path = place + QLatin1Char('/') + name;
        if (!QFileInfo::exists(path)) continue;
        auto lock = MakeLock(path);
        // Taken only when its holder is gone; a running program keeps it.
        if (!lock->tryLock(0)) continue;
        lock->unlock();
        left = true;
    }
    return left;
}

} // namespace didad
