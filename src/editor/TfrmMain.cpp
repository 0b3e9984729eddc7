#include "editor/TfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <memory>

#include "editor/AnchorEdits.h"
#include "editor/EditorLogic.h"
#include "editor/PropertyEdits.h"
#include "editor/QtAutoSave.h"
#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"
#include "preview/QtLivePreview.h"
#include "preview/TfrmBrowser.h"
#include "runtime/PageTexts.h"
#include "ui/QtBusyCursor.h"
#include "ui/QtGlyphs.h"
#include "ui/QtMessageBoxes.h"

namespace didad {

TfrmMain* frmMain = nullptr;

namespace {

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

// ---------------------------------------------------------------- creation

TfrmMain::TfrmMain(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(FromBytes(ProductNameAndVersion()));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    boxes_ = std::make_unique<QtMessageBoxes>(this);
    logic_ = std::make_unique<EditorLogic>(model_, *this);

    std::string folder = ToBytes(QCoreApplication::applicationDirPath());
    if (folder.empty() || folder.back() != PathSeparator()) folder += PathSeparator();
    model_.programFolder = folder;

    BuildWidgets();
    NameControls();
    ConnectPropertyHandlers();
    autoSave_ = new QtAutoSave(model_, this);
    AddSaveStateLabel(*autoSave_, panStatusBar);
    connect(autoSave_, &QtAutoSave::FolderRemoved, this, &TfrmMain::ProjectFolderRemoved);
    live_ = new QtLivePreview(
        model_, chkLive, [this] { SetPreviewPending(); }, this);

    // F1 anywhere in this window, whichever control has the focus.
    qApp->installEventFilter(this);

    logic_->SetEditingEnabled(false);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrmMain::~TfrmMain() {
    if (qApp) qApp->removeEventFilter(this);
    if (model_.hasProject()) RecordLastEditedProject();
    if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::UseWindows(const MainWindowPartners& windows) {
    windows_ = windows;
    if (!windows_.browser) return;
    connect(windows_.browser, &TfrmBrowser::previewWidthChanged, this, &TfrmMain::ShowAnchorAvailability,
            Qt::UniqueConnection);
    windows_.browser->PlaceWindow(frameGeometry());
}

void TfrmMain::BuildWidgets() {
    // A compact face so that the four tabs and their controls fit the
    // window's fixed client area.
    QFont compact = font();
    compact.setPointSize(8);
    setFont(compact);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(2, 3, 2, 0);
    root->setSpacing(3);

    auto* body = new QHBoxLayout();
    body->setSpacing(4);
    root->addLayout(body, 1);

    // Left column: the list and its buttons.
    auto* left = new QVBoxLayout();
    left->setSpacing(3);
    listMenus = new QListWidget(this);
    listMenus->setObjectName(QStringLiteral("listMenus"));
    listMenus->setSelectionMode(QAbstractItemView::SingleSelection);
    listMenus->setFixedWidth(78);
    left->addWidget(listMenus, 1);
    btnAddMenu = MakeButton(QStringLiteral("&Add Menu"), "btnAddMenu", this);
    btnDelete = MakeButton(QStringLiteral("&Delete"), "btnDelete", this);
    left->addWidget(btnAddMenu);
    left->addWidget(btnDelete);
    body->addLayout(left);

    // Right column: property tabs and the snippet panel.
    auto* right = new QVBoxLayout();
    right->setSpacing(2);
    tabProp = new QTabWidget(this);
    tabProp->setObjectName(QStringLiteral("tabProp"));
    // On the tab bar alone: a style sheet on the tab widget would restyle
    // every control of every page.
    tabProp->findChild<QTabBar*>()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 4px; }"));
    // All four tabs stay in view: where a larger face leaves too little room,
    // their captions are shortened rather than scrolled out of sight.
    tabProp->setUsesScrollButtons(false);
    tabProp->setElideMode(Qt::ElideRight);
    // The pages are filled once they are in place: a page moved into the tab
    // widget later has every control on it set up again.
    auto page = [this](const char* name, const QString& caption) {
        auto* widget = new QWidget();
        widget->setObjectName(QLatin1String(name));
        tabProp->addTab(widget, caption);
        return widget;
    };
    QWidget* pagePosition = page("tabPosition", QStringLiteral("Position && Style"));
    QWidget* pageCaption = page("tabCaptionHTML", QStringLiteral("Caption HTML"));
    QWidget* pageMenu = page("tabMenuHTML", QStringLiteral("Menu HTML"));
    QWidget* pageColor = page("tabColor", QStringLiteral("Color"));
    BuildPositionTab(pagePosition);
    BuildHtmlTab(pageCaption, txtCapHTML, "txtCapHTML");
    BuildHtmlTab(pageMenu, txtMenuHTML, "txtMenuHTML");
    BuildColorTab(pageColor);
    tabProp->setCurrentIndex(0);
    right->addWidget(tabProp, 1);

    panHTMLTools = new QFrame(this);
    panHTMLTools->setObjectName(QStringLiteral("panHTMLTools"));
    auto* tools = new QHBoxLayout(panHTMLTools);
    tools->setContentsMargins(0, 0, 0, 0);
    tools->setSpacing(2);
    btnAddNEWLINE = MakeButton(QStringLiteral("New Line"), "btnAddNEWLINE", panHTMLTools);
    btnAddText = MakeButton(QStringLiteral("Add Text"), "btnAddText", panHTMLTools);
    btnAddURL = MakeButton(QStringLiteral("Add URL"), "btnAddURL", panHTMLTools);
    btnAddimage = MakeButton(QStringLiteral("Add Image"), "btnAddimage", panHTMLTools);
    for (QPushButton* button : {btnAddNEWLINE, btnAddText, btnAddURL, btnAddimage}) {
        // The four share the column's width rather than widen the window.
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        tools->addWidget(button);
    }
    // Keeps its room while hidden so that the window does not jump.
    QSizePolicy keep = panHTMLTools->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    panHTMLTools->setSizePolicy(keep);
    panHTMLTools->hide();
    right->addWidget(panHTMLTools);
    body->addLayout(right, 1);

    // Preview buttons.
    auto* previewRow = new QHBoxLayout();
    previewRow->setSpacing(3);
    btnShowPreview = MakeButton(QStringLiteral("&Show Preview"), "btnShowPreview", this);
    btnUpdatePreview = MakeButton(QStringLiteral("&Update Preview"), "btnUpdatePreview", this);
    chkLive = new QCheckBox(QStringLiteral("&Live"), this);
    chkLive->setObjectName(QStringLiteral("chkLive"));
    chkLive->setToolTip(QStringLiteral("Show every change in the preview as it is made"));
    chkStayOnTop = new QCheckBox(QStringLiteral("on T&op"), this);
    chkStayOnTop->setObjectName(QStringLiteral("chkStayOnTop"));
    chkStayOnTop->setToolTip(QStringLiteral("Keep this window on Top"));
    previewRow->addWidget(btnShowPreview);
    previewRow->addWidget(btnUpdatePreview, 1);
    previewRow->addWidget(chkLive);
    previewRow->addWidget(chkStayOnTop);
    root->addLayout(previewRow);

    // Project buttons.
    auto* projectRow = new QHBoxLayout();
    projectRow->setSpacing(3);
    btnProjects = MakeButton(QStringLiteral("&Projects..."), "btnProjects", this);
    btnActiveProjectSettings = MakeButton(QStringLiteral("Project S&ettings..."), "btnActiveProjectSettings", this);
    btnFinalize = MakeButton(QStringLiteral("&Finalize"), "btnFinalize", this);
    btnPublish = MakeButton(QStringLiteral("Pu&blish..."), "btnPublish", this);
    btnHelp = new QToolButton(this);
    btnHelp->setObjectName(QStringLiteral("btnHelp"));
    btnHelp->setAutoRaise(true);
    btnHelp->setIcon(HelpGlyph());
    btnHelp->setToolTip(QStringLiteral("Help"));
    projectRow->addWidget(btnProjects);
    projectRow->addWidget(btnActiveProjectSettings, 1);
    projectRow->addWidget(btnFinalize);
    projectRow->addWidget(btnPublish);
    projectRow->addWidget(btnHelp);
    root->addLayout(projectRow);

    // Status line.
    panStatusBar = new QFrame(this);
    panStatusBar->setObjectName(QStringLiteral("panStatusBar"));
    panStatusBar->setFrameShape(QFrame::StyledPanel);
    panStatusBar->setFrameShadow(QFrame::Sunken);
    auto* status = new QHBoxLayout(panStatusBar);
    status->setContentsMargins(3, 1, 3, 1);
    lblActiveProject = new QLabel(QStringLiteral("No Active Project!"), panStatusBar);
    lblActiveProject->setObjectName(QStringLiteral("lblActiveProject"));
    QFont statusFont(QStringLiteral("Arial"));
    statusFont.setPointSize(8);
    lblActiveProject->setFont(statusFont);
    status->addWidget(lblActiveProject, 1);
    root->addWidget(panStatusBar);

    connect(btnAddMenu, &QPushButton::clicked, this, &TfrmMain::btnAddMenuClick);
    connect(btnDelete, &QPushButton::clicked, this, &TfrmMain::btnDeleteClick);
    connect(btnShowPreview, &QPushButton::clicked, this, &TfrmMain::btnShowPreviewClick);
    connect(btnUpdatePreview, &QPushButton::clicked, this, &TfrmMain::btnUpdatePreviewClick);
    connect(chkStayOnTop, &QCheckBox::clicked, this, &TfrmMain::chkStayOnTopClick);
    connect(btnHelp, &QToolButton::clicked, this, &TfrmMain::OpenHelp);
    connect(btnProjects, &QPushButton::clicked, this, &TfrmMain::btnProjectsClick);
    connect(btnActiveProjectSettings, &QPushButton::clicked, this, &TfrmMain::btnActiveProjectSettingsClick);
    connect(btnFinalize, &QPushButton::clicked, this, &TfrmMain::btnFinalizeClick);
    connect(btnPublish, &QPushButton::clicked, this, &TfrmMain::btnPublishClick);

    // The list: a press selects once the list has moved its highlight; a
    // release selects only after a drag to another line; any key release selects.
    connect(listMenus, &QListWidget::pressed, this, [this] { logic_->ListMouseDown(); });
    // Key and mouse releases reach the application-wide filter (see eventFilter).

    // The window's size is part of its design; its controls share the room.
    setFixedSize(392, 329);
}

void TfrmMain::BuildPositionTab(QWidget* page) {
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(3);

    struct NumberField {
        const char* label;
        const char* box;
        const char* arrows;
        NumberBox kind;
        const char* text;
        QLineEdit** edit;
        UpDownButtons** updown;
    } numbers[] = {
        {"Left:", "txtLeft", "UpDown_Left", NumberBox::Left, "0", &txtLeft, &UpDown_Left},
        {"Top:", "txtTop", "UpDown_Top", NumberBox::Top, "0", &txtTop, &UpDown_Top},
        {"Width:", "txtWidth", "UpDown_Width", NumberBox::Width, "1", &txtWidth, &UpDown_Width},
        {"Caption Height:", "txtCapHeight", "UpDown_CapHeight", NumberBox::CapHeight, "1", &txtCapHeight,
         &UpDown_CapHeight},
    };
    int row = 0;
    for (const NumberField& field : numbers) {
        auto* label = new QLabel(QLatin1String(field.label), page);
        auto* edit = new QLineEdit(QLatin1String(field.text), page);
        edit->setObjectName(QLatin1String(field.box));
        // Room for a sign and four digits.
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-00000")) + 10);
        const NumberBoxRule& rule = RuleOf(field.kind);
        auto* arrows = new UpDownButtons(edit, rule.arrowLow, rule.arrowHigh, page);
        arrows->setObjectName(QLatin1String(field.arrows));
        arrows->SetPosition(QLatin1String(field.text).toInt());
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(arrows, row, 2);
        *field.edit = edit;
        *field.updown = arrows;
        ++row;
    }
    chkFloat = new QCheckBox(QStringLiteral("Float"), page);
    chkFloat->setObjectName(QStringLiteral("chkFloat"));
    grid->addWidget(chkFloat, row, 0, 1, 3);

    radActivateOn = new QGroupBox(QStringLiteral(" Activate On "), page);
    radActivateOn->setObjectName(QStringLiteral("radActivateOn"));
    auto* activate = new QVBoxLayout(radActivateOn);
    activate->setContentsMargins(3, 1, 3, 1);
    radActivateOnMouseOver = new QRadioButton(QStringLiteral("Mouse Over"), radActivateOn);
    radActivateOnMouseClick = new QRadioButton(QStringLiteral("Mouse Click"), radActivateOn);
    radActivateOnMouseOver->setObjectName(QStringLiteral("radActivateOnMouseOver"));
    radActivateOnMouseClick->setObjectName(QStringLiteral("radActivateOnMouseClick"));
    radActivateOnItems = new QButtonGroup(radActivateOn);
    radActivateOnItems->setObjectName(QStringLiteral("radActivateOnItems"));
    radActivateOnItems->addButton(radActivateOnMouseOver, 0);
    radActivateOnItems->addButton(radActivateOnMouseClick, 1);
    radActivateOnMouseOver->setChecked(true);
    activate->addWidget(radActivateOnMouseOver);
    activate->addWidget(radActivateOnMouseClick);
    grid->addWidget(radActivateOn, 0, 3, 2, 1);

    grpOrientation = new QGroupBox(QStringLiteral(" Menu Orientation "), page);
    grpOrientation->setObjectName(QStringLiteral("grpOrientation"));
    auto* orientation = new QVBoxLayout(grpOrientation);
    orientation->setContentsMargins(3, 1, 3, 1);
    radHorizontal = new QRadioButton(QStringLiteral("Horizontal"), grpOrientation);
    radVertical = new QRadioButton(QStringLiteral("Vertical"), grpOrientation);
    radHorizontal->setObjectName(QStringLiteral("radHorizontal"));
    radVertical->setObjectName(QStringLiteral("radVertical"));
    radHorizontal->setIcon(StandardGlyph(QStyle::SP_ArrowDown));
    radVertical->setIcon(StandardGlyph(QStyle::SP_ArrowRight));
    radHorizontal->setChecked(true);
    orientation->addWidget(radHorizontal);
    orientation->addWidget(radVertical);
    grid->addWidget(grpOrientation, 2, 3, 3, 1);

    // What Left and Top count from: a place of the page, or an element of it.
    ++row;
    lblAnchor = new QLabel(QStringLiteral("Anchor:"), page);
    lblAnchor->setObjectName(QStringLiteral("lblAnchor"));
    cBoxAnchor = new QComboBox(page);
    cBoxAnchor->setObjectName(QStringLiteral("cBoxAnchor"));
    for (const char* choice : kAnchorChoices) cBoxAnchor->addItem(QLatin1String(choice));
    txtAnchorElement = new QLineEdit(page);
    txtAnchorElement->setObjectName(QStringLiteral("txtAnchorElement"));
    txtAnchorElement->setPlaceholderText(QStringLiteral("#nav, .container, header h1"));
    txtAnchorElement->setToolTip(QString::fromLatin1(kSelectorHint));
    actSelectorProblem =
        txtAnchorElement->addAction(StandardGlyph(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
    actSelectorProblem->setObjectName(QStringLiteral("actSelectorProblem"));
    actSelectorProblem->setVisible(false);
    lblAnchor->setBuddy(cBoxAnchor);
    auto* anchorRow = new QHBoxLayout();
    anchorRow->setSpacing(3);
    anchorRow->addWidget(cBoxAnchor);
    anchorRow->addWidget(txtAnchorElement, 1);
    grid->addWidget(lblAnchor, row, 0);
    grid->addLayout(anchorRow, row, 1, 1, 3);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(row + 1, 1);
}

void TfrmMain::BuildHtmlTab(QWidget* page, QPlainTextEdit*& box, const char* name) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    box = new QPlainTextEdit(page);
    box->setObjectName(QLatin1String(name));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The selection stays visible while the focus is elsewhere (a snippet
    // dialog inserts at the caret).
    QPalette palette = box->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    box->setPalette(palette);
    layout->addWidget(box);
}

void TfrmMain::BuildColorTab(QWidget* page) {
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setVerticalSpacing(8);
    struct ColourRow {
        const char* label;
        const char* labelName;
        const char* swatch;
        const char* check;
        QLabel** labelOut;
        ColorSwatch** swatchOut;
        QCheckBox** checkOut;
    } colourSlots[] = {
        {"Caption Color:", "lblCaptionColor", "panCaptionColor", "chkTranspCC", &lblCaptionColor, &panCaptionColor,
         &chkTranspCC},
        {"Menu Color:", "lblMenuColor", "panMenuColor", "chkTranspCM", &lblMenuColor, &panMenuColor, &chkTranspCM},
        {"Bottom Color:", "lblOwnerColor", "panOwnerColor", "chkTranspCO", &lblOwnerColor, &panOwnerColor,
         &chkTranspCO},
    };
    int row = 0;
    for (const ColourRow& field : colourSlots) {
        auto* label = new QLabel(QLatin1String(field.label), page);
        label->setObjectName(QLatin1String(field.labelName));
        auto* swatch = new ColorSwatch(page);
        swatch->setObjectName(QLatin1String(field.swatch));
        QSizePolicy keep = swatch->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        swatch->setSizePolicy(keep);
        auto* check = new QCheckBox(QStringLiteral("transparent"), page);
        check->setObjectName(QLatin1String(field.check));
        grid->addWidget(label, row, 0);
        grid->addWidget(swatch, row, 1);
        grid->addWidget(check, row, 2);
        *field.labelOut = label;
        *field.swatchOut = swatch;
        *field.checkOut = check;
        ++row;
    }
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(row, 1);
}

// ---------------------------------------------------------------- editing

void TfrmMain::SetEditingEnabled(bool on) { logic_->SetEditingEnabled(on); }

void TfrmMain::LoadEntryIntoControls(int index) { logic_->LoadEntryIntoControls(index); }

void TfrmMain::SelectFromList() { logic_->SelectFromList(); }

void TfrmMain::btnAddMenuClick() {
    if (!model_.hasProject()) return;
    logic_->AddMenu();
}

void TfrmMain::btnDeleteClick() {
    if (!model_.hasProject()) return;
    logic_->DeleteMenu();
}

void TfrmMain::UndoClick() {
    if (model_.hasProject()) logic_->Undo();
}

void TfrmMain::RedoClick() {
    if (model_.hasProject()) logic_->Redo();
}

void TfrmMain::HandleTitleCommand(const QString& title) {
    if (windows_.browser) windows_.browser->HandleTitle(title);
}

// ---------------------------------------------------------------- help, modal dialogs

void TfrmMain::OpenHelp() {
    const QString page = FromBytes(JoinPath(JoinPath(model_.programFolder, "Help"), "index.htm"));
    QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}

void TfrmMain::LockHelpButton(bool locked) {
    helpLocks_ += locked ? 1 : -1;
    if (helpLocks_ < 0) helpLocks_ = 0;
    btnHelp->setEnabled(helpLocks_ == 0);
}

int TfrmMain::RunModal(QDialog& dialog) {
    LockHelpButton(true);
    const int result = dialog.exec();
    LockHelpButton(false);
    return result;
}

// ---------------------------------------------------------------- events

namespace {

enum class HistoryKey { None, Undo, Redo };

HistoryKey HistoryKeyOf(const QKeyEvent* key) {
    if (key->matches(QKeySequence::Undo)) return HistoryKey::Undo;
    if (key->matches(QKeySequence::Redo)) return HistoryKey::Redo;
    // Both redo keys that people know, whichever of them the platform lists.
    const QKeyCombination combination = key->keyCombination();
    if (combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z) ||
        combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Y))
        return HistoryKey::Redo;
    return HistoryKey::None;
}

} // namespace

bool TfrmMain::InOurWindows(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && (widget->window() == this || (windows_.browser && widget->window() == windows_.browser));
}

bool TfrmMain::HandleMoveKey(QObject* watched, QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::AltModifier && mods != (Qt::AltModifier | Qt::ShiftModifier)) return false;
    const int step = mods.testFlag(Qt::ShiftModifier) ? 10 : 1;
    int dx = 0;
    int dy = 0;
    switch (key->key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = -step; break;
    case Qt::Key_Down: dy = step; break;
    default: return false;
    }
    // Taken in the preview too, where Alt+Left would otherwise leave the page.
    if (!InOurWindows(watched) || !model_.hasProject() || !isEnabled()) return false;
    if (logic_->NudgeSelected(dx, dy)) MarkPreviewPending();
    return true;
}

bool TfrmMain::HandleHistoryKey(QObject* watched, QKeyEvent* key) {
    // The key is looked at before the object: the web engine sends keys to
    // windows of its own while it tears them down, and an object half
    // destroyed must not be asked its type.
    const HistoryKey historyKey = HistoryKeyOf(key);
    if (historyKey == HistoryKey::None || !InOurWindows(watched)) return false;
    if (historyKey == HistoryKey::Undo)
        UndoClick();
    else
        RedoClick();
    return true;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    // The project's one history takes the keys before any text box, whose
    // own undo would otherwise answer them.
    if (event->type() == QEvent::KeyPress && (HandleHistoryKey(watched, static_cast<QKeyEvent*>(event)) ||
                                              HandleMoveKey(watched, static_cast<QKeyEvent*>(event))))
        return true;
    if (event->type() == QEvent::FocusOut) {
        if (watched == txtCapHTML || watched == txtMenuHTML) logic_->EndTypingRun();
        for (NumberBox box : {NumberBox::Left, NumberBox::Top, NumberBox::Width, NumberBox::CapHeight})
            if (watched == NumberBoxWidget(box)) logic_->LeaveNumberBox(box);
    }
    if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The preview window has no key handling of its own: its web view
        // takes the keys, so F1 is caught here on its way there.
        if (key->key() == Qt::Key_F1 && !key->isAutoRepeat() && InOurWindows(watched)) {
            OpenHelp();
            return true;
        }
        if (watched == listMenus && !key->isAutoRepeat()) logic_->ListKeyUp();
        // Letting go of Alt ends a run of moves: the next one is a new step.
        if (key->key() == Qt::Key_Alt && InOurWindows(watched)) logic_->EndTypingRun();
    } else if (event->type() == QEvent::MouseButtonRelease && watched == listMenus->viewport()) {
        logic_->ListMouseUp();
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitTabCaptions();
    if (model_.hasProject()) ShowActiveProject(FromBytes(model_.projectFolder));
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // Closing ends the program: with the project unwritten, every edit since
    // the last write would be lost. The error box has told why it stays.
    if (!WriteFinalScript()) {
        event->ignore();
        return;
    }
    event->accept();
    emit Closed();
}

} // namespace didad
