// Program start: the command line, the web engine, the main window, the
// engine check, the other windows and dialogs, the windows shown at start,
// a project named on the command line, then the message loop.
#include <QApplication>
#include <QByteArray>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "app/QtCommandLine.h"
#include "app/QtProgramWindows.h"
#include "editor/TfrmMain.h"
#include "preview/QtLocalFileGuard.h"
#include "preview/TfrmBrowser.h"
#include "ui/QtAppIcon.h"
#include "workflow/TfrmStart.h"

using namespace didad;

int main(int argc, char* argv[]) {
    // Chromium will not start as root without this; only then is it set.
#ifdef Q_OS_UNIX
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArrayLiteral("1"));
#endif
    PrepareEngineForPreview();

    QCoreApplication::setApplicationName(QStringLiteral("Didad"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DIDAD_VERSION));
    // No display name: on Linux Qt would append it to every window title, and
    // the windows carry their own ("Didad 1.03", "Preview - Didad 1.0").
    QCoreApplication::setOrganizationName(QStringLiteral("Divero"));
    const CommandLineRequest request = ReadCommandLine(argc, argv);
    if (!request.startProgram) return request.exitCode;

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProgramIcon());
    // Lets the desktop match the windows to the installed didad.desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("didad"));

    // No other thread of ours may run while the engine starts: the engine
    // writes to the process environment, and the C library gives no safety
    // to a thread reading it meanwhile. Reading the system's fonts beside
    // the start saved some 7 ms, and crashed a start in getenv().
    StartWebEngine();
    frmMain = new TfrmMain();
    // exit(), not quit(): quit() first asks every window to close, and the
    // start dialog, if it is up, refuses.
    QObject::connect(frmMain, &TfrmMain::Closed, &app, [] { QCoreApplication::exit(0); });
    if (!CheckBrowserVersion(frmMain)) {
        delete frmMain;
        return 0;
    }
    CreateProgramWindows();
    ShowStartWindows();
    // On success this hides the start dialog; on failure its messages come
    // first and the start dialog stays.
    if (!request.projectFolder.isEmpty()) frmStart->OpenProjectFolder(request.projectFolder);

    const int result = app.exec();

    DestroyProgramWindows();
    return result;
}
