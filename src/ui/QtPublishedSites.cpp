#include "ui/QtPublishedSites.h"

#include <QSettings>
#include <QUrl>

#include "ui/QtMessageBoxes.h"
#include "ui/SettingsStore.h"

namespace didad {

QString PublishedSiteKey(const std::string& projectFolder) {
    const QString project = FromBytes(projectFolder);
    return QStringLiteral("PublishedSites/") + QString::fromLatin1(QUrl::toPercentEncoding(project));
}

QStringList RememberedSite(const std::string& projectFolder) {
    return SettingsStore().value(PublishedSiteKey(projectFolder)).toStringList();
}

void RememberSite(const std::string& projectFolder, const QString& site, const QString& scriptFolder,
                  bool classicInclude) {
    SettingsStore().setValue(PublishedSiteKey(projectFolder),
                             QStringList{site, scriptFolder, classicInclude ? QStringLiteral("classic") : QString()});
}

} // namespace didad
