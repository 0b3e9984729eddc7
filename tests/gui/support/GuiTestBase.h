#pragma once
// Base of the GUI tests: builds the program's real windows once per test
// executable, in a temporary program folder with a temporary home folder and
// settings store,
// answers message boxes through the boxes' test hook and records what the
// help and shell openings would have opened.
#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QVariant>

#include <deque>
#include <functional>
#include <memory>

#include "preview/QtLocalFileGuard.h"
#include "ui/QtMessageBoxes.h"

class QTimer;
class QWebEngineView;
class QWidget;

namespace didad::testing {

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class GuiTestBase : public QObject {
    Q_OBJECT
protected:
    // Call from initTestCase(): creates every window in program-start order.
    void CreateWindows();
    // The part of CreateWindows after the main window and the engine check:
    // every other window made, the preview and the main window shown.
    virtual void MakeProgramWindows();
    // Call from cleanupTestCase().
    void DestroyWindows();
    // Call from init(): forgets recorded boxes and answers.
    void ResetRecords();

    // A new empty project in a fresh folder under the program folder, made
    // active as the start dialog does it.
    QString StartNewProject(const QString& name);

    // Boxes shown since the last reset, and the answers to give questions
    // (Yes when the queue is empty is not assumed: an unexpected question is
    // answered No and recorded).
    QList<BoxRequest> boxes;
    std::deque<bool> answers;
    void QueueAnswer(bool yes) { answers.push_back(yes); }
    QStringList BoxTexts() const;

    // Runs a script in the preview page and waits for its result.
    QVariant EvalInPreview(const QString& script, int timeoutMs = 15000);
    // Waits until the preview page finished loading after the last load.
    bool WaitForPreviewLoaded(int timeoutMs = 20000);

    QString ProgramFolder() const { return programDir_->path(); }
    // The user's home for this test program: the documents folder (where new
    // projects are proposed) and the data folder (js.log) lie under it.
    QString HomeFolder() const { return homeDir_->path(); }
    static QString ProjectsFolder();
    static QString JsLogPath();
    QString SettingsFolder() const { return settingsDir_->path(); }
    UrlRecorder urls;

    template <typename T>
    T* Find(QObject* parent, const char* name) {
        T* child = parent->findChild<T*>(QLatin1String(name));
        if (!child) qFatal("no child named %s", name);
        return child;
    }

private:
    std::unique_ptr<QTemporaryDir> programDir_;
    std::unique_ptr<QTemporaryDir> homeDir_;
    std::unique_ptr<QTemporaryDir> settingsDir_;
};

// Runs `step` on the first modal window that `matches` accepts, once it is up
// as a user meets it: on top of the modal stack and the active window. Acting
// before the activation arrives would let that late activation move the focus
// after the step, which no user can do. A step that leaves the window open
// gets it rejected (unless `closeAfter` is false), so a failed check cannot
// hang the run. `matches` is asked on every tick: a dialog made on first use
// is not there yet when the watch starts.
QTimer* WhenModal(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> step, bool closeAfter = true);
QTimer* WhenModal(QWidget* window, std::function<void()> step, bool closeAfter = true);
template <typename T>
QTimer* WhenModalOf(std::function<void(T*)> step) {
    return WhenModal([](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                     [step](QWidget* w) { step(qobject_cast<T*>(w)); });
}

// Writes `bytes` as the whole file at `path`; false when it cannot.
bool WriteFile(const QString& path, const QByteArray& bytes);

// main() of a GUI test: the web engine wants shared GL contexts before the
// application object exists.
int RunGuiTest(int argc, char** argv, QObject& test);

} // namespace didad::testing

#define DIDAD_GUI_TEST_MAIN(TestClass)                              \
    int main(int argc, char** argv) {                               \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); \
        /* Before the engine can start, as in the program. */       \
        ::didad::PrepareEngineForPreview();                         \
        QApplication app(argc, argv);                               \
        TestClass test;                                             \
        return ::didad::testing::RunGuiTest(argc, argv, test);      \
    }
