#pragma once
// Where the program keeps its per-user choices (the remembered project, the
// live preview switch, the published sites).
#include <QSettings>
#include <QString>

namespace didad {

inline constexpr const char* kSettingsOrganization = "Divero";
inline constexpr const char* kSettingsApplication = "Didad";

// The per-user store, opened for one use: every window reads and writes its
// choices through this, so that all of them land in the same place.
inline QSettings SettingsStore() {
    return QSettings(QString::fromLatin1(kSettingsOrganization), QString::fromLatin1(kSettingsApplication));
}

} // namespace didad
