#pragma once
// The main editor window: the menu list, the four property tabs with the
// snippet panel, the preview and project buttons and the status line.
//
// The class is defined over several source files, one per area:
//   TfrmMain.cpp            window, list, add/delete, help, keys, close
//   TfrmMainView.cpp        the controls the editor logic shows the project in
//   TfrmMainPreview.cpp     Update/Show Preview, questions to the page
//   TfrmMainProperties.cpp  property and snippet handlers
//   TfrmMainSettings.cpp    Project Settings..., Finalize and Publish...
//   TfrmMainProjects.cpp    Projects..., status line, remembered project
//   TfrmMainSpeech.cpp      names and list lines for screen readers
#include <QColor>
#include <QFrame>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>

#include "editor/EditorView.h"
#include "model/Messages.h"
#include "model/ProjectModel.h"
#include "model/ScriptWriter.h"
#include "ui/QtSmallControls.h"

class QAction;
class QButtonGroup;
class QKeyEvent;
class QCheckBox;
class QColorDialog;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace didad {

class EditorLogic;
class TfrmBrowser;
class TfrmFinilizedOK;
class TfrmProjectSettings;
class TfrmPublish;
class TfrmStart;
class QtAutoSave;
class QtLivePreview;
class QtMessageBoxes;

// The windows the main window opens and talks to. The program hands them
// over once it has made them; one that is gone reads as null.
struct MainWindowPartners {
    QPointer<TfrmBrowser> browser;
    QPointer<TfrmStart> start;
    QPointer<TfrmProjectSettings> projectSettings;
    QPointer<TfrmFinilizedOK> finilizedOK;
    QPointer<TfrmPublish> publish;
};

class TfrmMain : public QWidget, public EditorView {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    ProjectModel& Model();
    IMessages& Messages();
    QtMessageBoxes& Boxes();
    EditorLogic& Logic();
    void UseWindows(const MainWindowPartners& windows);

    // Writes the preview script, reloads the preview page and shows the
    // preview window. False when the write failed; the error box was shown.
    bool UpdatePreview() override;
    // Writes the final script; shows the error box and returns false on failure.
    bool WriteFinalScript();
    // An automatic save still running ends first, as before the user's own writes.
    void WaitForRunningSave();
    // Called once the project folder of the model is set (new or opened
    // project): status line, list and controls, preview, reveal.
    void ProjectActivated(bool opened);
    // The project went into another folder: its history and controls stay.
    void ProjectMoved();
    void MarkPreviewPending() override;
    void ProjectChanged() override;
    // Anchors are chosen where the preview lays the page out for editing:
    // at a phone's width the page's geometry is another.
    bool AnchorsChosenHere() const;
    void ClearPreviewPending();
    bool IsPreviewPending() const;
    void LoadEntryIntoControls(int index);
    void SetEditingEnabled(bool on);
    void SelectFromList();
    // A title of the preview page (title channel).
    void HandleTitleCommand(const QString& title);
    void OpenHelp();
    // Runs a modal dialog with the Help button disabled while it is open.
    int RunModal(QDialog& dialog);
    // Disables the Help button while a modal window of another kind is up
    // (the start dialog); nests.
    void LockHelpButton(bool locked);

    void btnAddMenuClick();
    void btnDeleteClick();
    // Undo and Redo of the project's history (the standard keys in this
    // window and in the preview window).
    void UndoClick();
    void RedoClick();
    void btnShowPreviewClick();
    void btnUpdatePreviewClick();
    void chkStayOnTopClick();

    // ---- TfrmMainProjects.cpp ----
    void ShowActiveProject(const QString& folder);
    void RecordLastEditedProject();
    void btnProjectsClick();
    // ---- end TfrmMainProjects.cpp ----

    // ---- TfrmMainSettings.cpp ----
    void btnActiveProjectSettingsClick();
    void btnFinalizeClick();
    // Publish to your site; also offered by the finalize result dialog.
    void btnPublishClick();
    // ---- end TfrmMainSettings.cpp ----

    // ---- TfrmMainProperties.cpp ----
    // Connects the property tabs and the snippet panel; called by the constructor.
    void ConnectPropertyHandlers();
    // Puts the snippet and a line break at the caret of the active tab's
    // HTML box (in front of any selection); the box's change stores it.
    void InsertSnippet(const std::string& snippet);
    void NumberBoxChange(NumberBox box);
    void txtLeftChange();
    void txtTopChange();
    void txtWidthChange();
    void txtCapHeightChange();
    void radActivateOnClick(int item);
    void chkFloatClick();
    void radHorizontalClick();
    void radVerticalClick();
    // A choice of anchor, or a selector typed and left (Enter or focus).
    void cBoxAnchorChange();
    void txtCapHTMLChange();
    void txtMenuHTMLChange();
    void getColor(ColorSlot slot);
    void setTransparentColor(ColorSlot slot);
    void tabPropChange();
    // The box's context menu, with Undo and Redo acting on the project's
    // history rather than on the box's own.
    void ShowBoxContextMenu(QWidget* box, const QPoint& at);
    void btnAddNEWLINEClick();
    void btnAddTextClick();
    void btnAddURLClick();
    void btnAddimageClick();
    // ---- end TfrmMainProperties.cpp ----

    // EditorView
    void AppendListLine(const std::string& text) override;
    void RemoveLastListLine() override;
    void ClearList() override;
    void HighlightListLine(int index) override;
    int HighlightedListLine() const override;
    void EnablePropertyControls(bool on) override;
    void ShowNumber(NumberBox box, int value) override;
    void ShowHtml(HtmlBox box, const std::string& text) override;
    void ShowActivateOn(int item) override;
    void ShowFloat(bool checked) override;
    void ShowHorizontal(bool horizontal) override;
    void ShowTransparent(ColorSlot slot, bool checked) override;
    void ShowSwatchColor(ColorSlot slot, Color colour) override;
    void ShowAnchor(int kind, const std::string& selector) override;
    void ShowSelectorProblem(const std::string& problem) override;
    bool ConfirmDelete(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void RunInPreview(const std::string& statement) override;
    void AskPreview(const std::string& expression, PreviewReply reply) override;
    void RevealInPreview(int index) override;
    void EntryChanged(int index) override;
    void ProjectReshaped() override;

    // Widgets, named as the tests and the other forms find them.
    QListWidget* listMenus = nullptr;
    QPushButton* btnAddMenu = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnFinalize = nullptr;
    QPushButton* btnPublish = nullptr;
    QPushButton* btnShowPreview = nullptr;
    QCheckBox* chkStayOnTop = nullptr;
    QTabWidget* tabProp = nullptr;
    QPushButton* btnUpdatePreview = nullptr;
    QCheckBox* chkLive = nullptr; // live preview: changes show in the page as they are made
    QPushButton* btnProjects = nullptr;
    QPushButton* btnActiveProjectSettings = nullptr;
    QToolButton* btnHelp = nullptr;
    QFrame* panStatusBar = nullptr;
    QLabel* lblActiveProject = nullptr;
    QColorDialog* cdlg1 = nullptr;

    // "Position & Style"
    QLineEdit* txtLeft = nullptr;
    QLineEdit* txtTop = nullptr;
    QLineEdit* txtWidth = nullptr;
    QLineEdit* txtCapHeight = nullptr;
    UpDownButtons* UpDown_Left = nullptr;
    UpDownButtons* UpDown_Top = nullptr;
    UpDownButtons* UpDown_Width = nullptr;
    UpDownButtons* UpDown_CapHeight = nullptr;
    QGroupBox* radActivateOn = nullptr;
    QButtonGroup* radActivateOnItems = nullptr; // ids 0 "Mouse Over", 1 "Mouse Click"
    QRadioButton* radActivateOnMouseOver = nullptr;
    QRadioButton* radActivateOnMouseClick = nullptr;
    QCheckBox* chkFloat = nullptr;
    QGroupBox* grpOrientation = nullptr;
    QRadioButton* radHorizontal = nullptr;
    QRadioButton* radVertical = nullptr;
    QLabel* lblAnchor = nullptr;
    QComboBox* cBoxAnchor = nullptr; // items in the order of the anchor's numbers
    QLineEdit* txtAnchorElement = nullptr;
    QAction* actSelectorProblem = nullptr; // the selector box's warning, shown while the page cannot use it

    // "Caption HTML", "Menu HTML"
    QPlainTextEdit* txtCapHTML = nullptr;
    QPlainTextEdit* txtMenuHTML = nullptr;

    // "Color"
    QLabel* lblCaptionColor = nullptr;
    ColorSwatch* panCaptionColor = nullptr;
    QCheckBox* chkTranspCC = nullptr;
    QLabel* lblMenuColor = nullptr;
    ColorSwatch* panMenuColor = nullptr;
    QCheckBox* chkTranspCM = nullptr;
    QLabel* lblOwnerColor = nullptr;
    ColorSwatch* panOwnerColor = nullptr;
    QCheckBox* chkTranspCO = nullptr;

    // Snippet panel, shown on the two HTML tabs.
    QFrame* panHTMLTools = nullptr;
    QPushButton* btnAddNEWLINE = nullptr;
    QPushButton* btnAddText = nullptr;
    QPushButton* btnAddURL = nullptr;
    QPushButton* btnAddimage = nullptr;

    // The HTML box of the active tab, or null on the other tabs.
    QPlainTextEdit* ActiveHtmlBox() const;
    QLineEdit* NumberBoxWidget(NumberBox box) const;
    UpDownButtons* NumberArrows(NumberBox box) const;
    ColorSwatch* Swatch(ColorSlot slot) const;
    QCheckBox* TransparentBox(ColorSlot slot) const;

signals:
    // The window was closed (the final script has been written).
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The script written because the user asked (not the automatic save);
    // false when it could not be written (the error has been shown).
    bool WriteScriptAsAsked(ScriptMode mode);
    // The automatic save found the project's folder gone: the user chooses
    // to save it there again or somewhere else.
    void ProjectFolderRemoved();
    void BuildWidgets();
    void BuildPositionTab(QWidget* page);
    void BuildHtmlTab(QWidget* page, QPlainTextEdit*& box, const char* name);
    void BuildColorTab(QWidget* page);
    // Names for screen readers where the visible text does not say enough.
    void NameControls();
    // The list line's spoken text: the menu's caption and place.
    void DescribeListLine(int index);
    // A new line of the list, described before it is added: a project of
    // thousands of menus fills the list once, not twice.
    QListWidgetItem* DescribedListLine(const QString& text, int index) const;
    void UpdatePreviewLook();
    // The four tab captions in full: a desktop face too wide for the
    // window's fixed width gets a smaller one on the tabs alone.
    void FitTabCaptions();
    void ShowAnchorAvailability();
    // The pending look, whether or not the preview follows live.
    void SetPreviewPending();
    // Undo and Redo keys pressed in this window or the preview window.
    // Whether `watched` is a widget of the main or the preview window.
    bool InOurWindows(QObject* watched) const;
    bool HandleHistoryKey(QObject* watched, QKeyEvent* key);
    // Alt+arrows move the selected menu by a pixel, with Shift by ten.
    bool HandleMoveKey(QObject* watched, QKeyEvent* key);

    ProjectModel model_;
    std::unique_ptr<QtMessageBoxes> boxes_;
    std::unique_ptr<EditorLogic> logic_;
    MainWindowPartners windows_;
    QtLivePreview* live_ = nullptr;
    QtAutoSave* autoSave_ = nullptr;
    bool askingAboutFolder_ = false;
    bool previewPending_ = false;
    int helpLocks_ = 0;
};

extern TfrmMain* frmMain;

} // namespace didad
