#include "workflow/QtUserFolders.h"

#include <QDir>
#include <QStandardPaths>

#include "ui/QtMessageBoxes.h"

namespace didad {

namespace {
std::string NativeBytes(const QString& path) {
    return path.isEmpty() ? std::string() : ToBytes(QDir::toNativeSeparators(path));
}
} // namespace

UserFolders DesktopUserFolders() {
    return {NativeBytes(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)),
            NativeBytes(QDir::homePath())};
}

std::string ProgramDataFolder() {
    return NativeBytes(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
}

} // namespace didad
