#pragma once
// Holds the preview's page to the rule of preview/LocalFileRule.h: every
// local file the page (or a frame or worker of it) asks for is refused unless
// the rule allows it. Requests to the network are not touched. What the page
// may show but not read (pictures from anywhere) is kept from being read back
// by the page's settings and the engine's start switches.
#include <QString>
#include <QWebEngineUrlRequestInterceptor>

class QWebEnginePage;

namespace didad {

class QtLocalFileGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    // Guards `page` for as long as the page lives.
    explicit QtLocalFileGuard(QWebEnginePage* page);

    void SetProjectFolder(const QString& folder) { projectFolder_ = folder; }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QString projectFolder_;
};

// Switches the web engine must start with for the rule to hold, added to
// QTWEBENGINE_CHROMIUM_FLAGS; call before the first web view is made.
void AddLocalFileGuardSwitches();

} // namespace didad
