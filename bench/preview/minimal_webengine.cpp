// The smallest program that starts the web engine and shows a web view: the
// yardstick for the editor's own start.
#include <QApplication>
#include <QWebEngineView>

#include <unistd.h>

int main(int argc, char* argv[]) {
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArrayLiteral("1"));
    QApplication app(argc, argv);
    QWebEngineView view;
    view.setObjectName(QStringLiteral("view"));
    view.resize(820, 620);
    view.show();
    return app.exec();
}
