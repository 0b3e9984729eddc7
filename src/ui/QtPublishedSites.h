#pragma once
// The site folder and script folder that Publish remembers for each project
// folder, in the program's settings.
#include <QString>
#include <QStringList>

#include <string>

namespace didad {

// The settings key of a project folder's site.
QString PublishedSiteKey(const std::string& projectFolder);
// The remembered site folder, script folder and include form ("classic" for
// the pair, empty for the one line); empty when none.
QStringList RememberedSite(const std::string& projectFolder);
void RememberSite(const std::string& projectFolder, const QString& site, const QString& scriptFolder,
                  bool classicInclude = false);

} // namespace didad
