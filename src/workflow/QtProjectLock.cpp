#include "workflow/QtProjectLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include "workflow/ProjectLocks.h"

namespace didad {

namespace {

std::unique_ptr<QLockFile> MakeLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // A lock is left only by a program that is gone, however long it ran.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

QtProjectLock::QtProjectLock() = default;
QtProjectLock::~QtProjectLock() = default;

QString QtProjectLock::LockPath(const QString& folder) {
    const QFileInfo info(folder);
    const QString resolved = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    const QString locks =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/open-projects");
    QDir().mkpath(locks);
    return locks + QLatin1Char('/') + QString::fromStdString(ProjectLockFileName(resolved.toStdString()));
}

bool QtProjectLock::Claim(const QString& folder) {
    claimed_.reset();
    claimedPath_ = LockPath(folder);
    if (claimedPath_ == activePath_) return true;
    auto lock = MakeLock(claimedPath_);
    if (lock->tryLock(0)) {
        claimed_ = std::move(lock);
        return true;
    }
    // Only another program's lock refuses; a data folder that takes no lock
    // file must not keep the user from the work.
    return lock->error() != QLockFile::LockFailedError;
}

void QtProjectLock::ReleaseClaim() {
    claimed_.reset();
    claimedPath_.clear();
}

void QtProjectLock::Activated() {
    if (claimedPath_.isEmpty() || claimedPath_ == activePath_) return;
    active_ = std::move(claimed_);
    activePath_ = claimedPath_;
    claimedPath_.clear();
}

bool QtProjectLock::LeftOpenByEndedRun(const QString& folder) {
    const QString path = LockPath(folder);
    if (!QFileInfo::exists(path)) return false;
    auto lock = MakeLock(path);
    // Taken only when its holder is gone; a running program keeps it.
    if (!lock->tryLock(0)) return false;
    lock->unlock();
    return true;
}

} // namespace didad
