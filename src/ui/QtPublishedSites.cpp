#include "ui/QtPublishedSites.h"

#include <QSettings>
#include <QUrl>

#include "ui/QtMessageBoxes.h"
#include "ui/SettingsStore.h"

namespace didad {

namespace {

QSettings Store() {
    return QSettings(QString::fromLatin1(kSettingsOrganization), QString::fromLatin1(kSettingsApplication));
}

} // namespace

QString PublishedSiteKey(const std::string& projectFolder) {
    const QString project = FromBytes(projectFolder);
    return QStringLiteral("PublishedSites/") + QString::fromLatin1(QUrl::toPercentEncoding(project));
}

QStringList RememberedSite(const std::string& projectFolder) {
    return Store().value(PublishedSiteKey(projectFolder)).toStringList();
}

void RememberSite(const std::string& projectFolder, const QString& site, const QString& scriptFolder,
                  bool classicInclude) {
    Store().setValue(PublishedSiteKey(projectFolder),
                     QStringList{site, scriptFolder, classicInclude ? QStringLiteral("classic") : QString()});
}

} // namespace didad
