// The main window's side of the preview: writing the preview script, asking
// the page, showing a menu, and the Update Preview button's look.
#include <QCheckBox>
#include <QFont>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

#include "editor/AnchorEdits.h"
#include "editor/EditorLogic.h"
#include "editor/QtAutoSave.h"
#include "editor/TfrmMain.h"
#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"
#include "preview/QtLivePreview.h"
#include "preview/TfrmBrowser.h"
#include "ui/QtBusyCursor.h"
#include "ui/QtGlyphs.h"
#include "ui/QtMessageBoxes.h"

namespace didad {

void TfrmMain::RunInPreview(const std::string& statement) {
    if (windows_.browser) windows_.browser->RunInPreview(FromBytes(statement));
}

void TfrmMain::AskPreview(const std::string& expression, PreviewReply reply) {
    if (!windows_.browser || !windows_.browser->PreviewPageShown() || windows_.browser->WebBrowser1->url().isEmpty()) {
        reply(nullptr);
        return;
    }
    // Exactly one reply: the page's answer, or none when it is late (a page
    // being replaced may never answer).
    auto pending = std::make_shared<PreviewReply>(std::move(reply));
    auto answerWith = [pending](const std::string* answer) {
        if (!*pending) return;
        const PreviewReply once = std::move(*pending);
        *pending = nullptr;
        once(answer);
    };
    QPointer<TfrmMain> self(this);
    windows_.browser->WebBrowser1->page()->runJavaScript(FromBytes(expression),
                                                         [self, answerWith](const QVariant& result) {
                                                             if (!self) return;
                                                             const std::string answer = ToBytes(result.toString());
                                                             answerWith(result.isValid() ? &answer : nullptr);
                                                         });
    QTimer::singleShot(2000, this, [answerWith] { answerWith(nullptr); });
}

void TfrmMain::EntryChanged(int index) {
    live_->EntryChanged(index);
    ProjectChanged();
}

void TfrmMain::ProjectReshaped() {
    // A live preview follows menus that come and go by reloading, as Add
    // Menu and Delete do.
    if (live_->IsOn()) UpdatePreview();
}

void TfrmMain::RevealInPreview(int index) {
    if (!windows_.browser) return;
    LocateMenu(
        model_, index,
        [this](const std::string& expression, PreviewReply reply) { AskPreview(expression, std::move(reply)); },
        [browser = windows_.browser](int left, int top, int breadth) {
            if (browser) browser->RevealRect(left, top, breadth);
        });
}

bool TfrmMain::WriteScriptAsAsked(ScriptMode mode) {
    // A running automatic save ends first, so that its older copy cannot
    // land over the write the user asked for.
    autoSave_->BeforeUserWrite();
    const bool written = RunUserAction(this, [this, mode] {
        BusyCursor busy;
        WriteProjectScript(model_, mode, logic_->CaptionSwapHandler());
    });
    autoSave_->AfterUserWrite(written);
    return written;
}

bool TfrmMain::UpdatePreview() {
    if (!model_.hasProject() || !WriteScriptAsAsked(ScriptMode::Preview)) return false;
    if (windows_.browser) {
        windows_.browser->NavigateToPreviewPage(FromBytes(model_.TemplatePath()));
        windows_.browser->ShowPreviewWindow();
        live_->Reloading();
        // The page comes from the model as it is: nothing lags behind a live preview.
        if (live_->IsOn()) ClearPreviewPending();
    }
    return true;
}

void TfrmMain::WaitForRunningSave() { autoSave_->BeforeUserWrite(); }

bool TfrmMain::WriteFinalScript() { return !model_.hasProject() || WriteScriptAsAsked(ScriptMode::Final); }

void TfrmMain::ProjectActivated(bool opened) {
    // Remembered now, not at the end: a run that ends abruptly must still
    // lead the next start back here.
    RecordLastEditedProject();
    ShowActiveProject(FromBytes(model_.projectFolder));
    logic_->ShowProject();
    if (opened) ClearPreviewPending();
    if (UpdatePreview()) RevealInPreview(model_.iSelectedMenu);
}

void TfrmMain::ProjectChanged() { autoSave_->Changed(); }

void TfrmMain::MarkPreviewPending() {
    ProjectChanged();
    // A live preview has the change already, or will have it within moments.
    if (!live_->Follows()) SetPreviewPending();
}

void TfrmMain::SetPreviewPending() {
    if (!model_.hasProject() || previewPending_) return;
    previewPending_ = true;
    UpdatePreviewLook();
}

void TfrmMain::ClearPreviewPending() {
    if (!previewPending_) return;
    previewPending_ = false;
    UpdatePreviewLook();
}

bool TfrmMain::IsPreviewPending() const { return previewPending_; }

void TfrmMain::UpdatePreviewLook() {
    QFont font = btnUpdatePreview->font();
    font.setBold(previewPending_);
    btnUpdatePreview->setFont(font);
    btnUpdatePreview->setIcon(ExclamationGlyph(previewPending_ ? QColor(Qt::red) : QColor(Qt::black)));
}

void TfrmMain::btnShowPreviewClick() {
    if (chkStayOnTop->isChecked()) {
        chkStayOnTop->setChecked(false);
        chkStayOnTopClick();
    }
    if (windows_.browser) windows_.browser->ShowPreviewWindow();
}

void TfrmMain::btnUpdatePreviewClick() {
    if (!UpdatePreview()) return;
    RevealInPreview(model_.iSelectedMenu);
    ClearPreviewPending();
}

void TfrmMain::chkStayOnTopClick() {
    const bool onTop = chkStayOnTop->isChecked();
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    // Changing the flags hides a window; bring it back where it was.
    if (wasVisible) show();
}

} // namespace didad
