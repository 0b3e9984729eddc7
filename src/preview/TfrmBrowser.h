#pragma once
// The preview window: the project's preview page in an 820 x 620 web view
// that the window scrolls over, "Back to Preview" after a link led away, the
// page's title changes passed on to the editor, and a line naming the files
// outside the project that the page was not given.
#include <QString>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <string>

#include "preview/IPreviewEditor.h"
#include "preview/PreviewLogic.h"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class QWebEngineView;

namespace didad {

class QtLocalFileGuard;

class TfrmBrowser : public QWidget {
    Q_OBJECT
public:
    // `logFolder` takes js.log; it is made when the first error is logged.
    TfrmBrowser(const std::string& logFolder, IPreviewEditor& editor, QWidget* parent = nullptr);
    ~TfrmBrowser() override;

    void NavigateToPreviewPage(const QString& path);
    void ShowPreviewWindow();
    void RunInPreview(const QString& statement);
    // Scrolls so that a menu at (left, top), `breadth` wide, is in view.
    void RevealRect(int left, int top, int breadth);

    bool PreviewPageShown() const { return !navigation_.BackToPreviewShown(); }
    const PreviewNavigation& Navigation() const { return navigation_; }
    JsErrorLog& ErrorLog() { return *log_; }
    // Applies a title of the shown page (title channel).
    void HandleTitle(const QString& title);
    // The URL a local file has in the current preview load.
    QUrl PreviewUrlOf(const QString& path) const;

    QWebEngineView* WebBrowser1 = nullptr;
    QScrollArea* scroller = nullptr;
    QPushButton* btnBackToPreview = nullptr;
    // The page's width: one item per kPreviewWidths entry, the first at start.
    QComboBox* cBoxPreviewWidth = nullptr;
    // One quiet line under the page: the files outside the project that it
    // was refused; hidden when there are none.
    QLabel* lblOutsideFiles = nullptr;

    void btnBackToPreviewClick();
    // Shows the page at the chosen width, reloaded so that it is built for it.
    void cBoxPreviewWidthChange(int index);

signals:
    // Every load that finished, after its handling (tests wait on it).
    void documentCompleted(bool ok);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void WebBrowser1TitleChange(const QString& title);
    void WebBrowser1DocumentComplete(bool ok);

    void BuildWidthChoice(QVBoxLayout* layout);
    void ShowOutsideFiles();

    IPreviewEditor& editor_;
    PreviewNavigation navigation_;
    QtLocalFileGuard* localFileGuard_ = nullptr;
    std::unique_ptr<JsErrorLog> log_;
};

extern TfrmBrowser* frmBrowser;

// The engine check run at start; shows the message and returns false when
// the web engine is older than the oldest the preview works with.
bool CheckBrowserVersion(QWidget* parent);
// The Chromium major version of the web engine in use, or -1.
int WebEngineChromiumMajor();
// Starts the web engine now, with the default profile that the preview and
// the engine check use, rather than when the first of them needs it.
void StartWebEngine();

} // namespace didad
