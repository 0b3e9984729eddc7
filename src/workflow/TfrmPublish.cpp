#include "workflow/TfrmPublish.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"
#include "ui/QtAccessibility.h"
#include "ui/QtBusyCursor.h"
#include "ui/QtDialogPlacement.h"
#include "ui/QtGlyphs.h"
#include "ui/QtHelpKey.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtPublishedSites.h"
#include "workflow/ProjectWorkflow.h"
#include "workflow/QtUserFolders.h"
#include "workflow/TfrmSelFolder.h"

namespace didad {

TfrmPublish* frmPublish = nullptr;

namespace {

QString StateText(const SitePage& page) {
    if (!page.state.problem.empty()) return FromBytes(page.state.problem);
    if (page.state.oneLine) return QStringLiteral("has the menus (one line)");
    if (page.state.Complete()) return QStringLiteral("has the menus");
    if (page.state.HasCode()) return QStringLiteral("has part of the menus' code");
    return {};
}

} // namespace

TfrmPublish::TfrmPublish(IEditorWindow& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setObjectName(QStringLiteral("frmPublish"));
    setWindowTitle(QStringLiteral("Publish to your site"));

    auto* lblSite = new QLabel(QStringLiteral("&Site folder:"), this);
    txtSiteFolder = new QLineEdit(this);
    txtSiteFolder->setObjectName(QStringLiteral("txtSiteFolder"));
    lblSite->setBuddy(txtSiteFolder);
    btnSiteFolder = new QPushButton(QStringLiteral("Browse..."), this);
    btnSiteFolder->setObjectName(QStringLiteral("btnSiteFolder"));
    btnSiteFolder->setAutoDefault(false);

    auto* lblScript = new QLabel(QStringLiteral("Script &folder in the site (empty for its top):"), this);
    txtScriptFolder = new QLineEdit(this);
    txtScriptFolder->setObjectName(QStringLiteral("txtScriptFolder"));
    lblScript->setBuddy(txtScriptFolder);

    lstPages = new QTreeWidget(this);
    lstPages->setObjectName(QStringLiteral("lstPages"));
    NameControl(lstPages, QStringLiteral("Pages of the site"));
    lstPages->setRootIsDecorated(false);
    lstPages->setHeaderLabels({QStringLiteral("Page (ticked: shows the menus)"), QStringLiteral("Menus")});
    lstPages->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lstPages->header()->setStretchLastSection(false);
    lstPages->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    chkClassic = new QCheckBox(
        QStringLiteral("C&lassic include on every page: the script in the head, makeDidad() after the body tag"), this);
    chkClassic->setObjectName(QStringLiteral("chkClassic"));
    chkClassic->setToolTip(
        QStringLiteral("Unticked, a page gets one line in its head that loads the script deferred, and a page "
                       "that already has the menus keeps its form. Tick it for pages that call makeDidad() "
                       "themselves or must work in very old browsers."));

    lblState = new QLabel(this);
    lblState->setObjectName(QStringLiteral("lblState"));
    lblState->setWordWrap(true);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setIcon(StandardGlyph(QStyle::SP_DialogOkButton));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setIcon(StandardGlyph(QStyle::SP_DialogCancelButton));
    btnCancel->setAutoDefault(false);

    auto* siteRow = new QHBoxLayout;
    siteRow->addWidget(txtSiteFolder, 1);
    siteRow->addWidget(btnSiteFolder);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSite);
    layout->addLayout(siteRow);
    layout->addWidget(lblScript);
    layout->addWidget(txtScriptFolder);
    layout->addWidget(lstPages, 1);
    layout->addWidget(chkClassic);
    layout->addWidget(lblState);
    layout->addLayout(buttons);

    connect(txtSiteFolder, &QLineEdit::returnPressed, this, &TfrmPublish::ListPages);
    connect(btnSiteFolder, &QPushButton::clicked, this, &TfrmPublish::btnSiteFolderClick);
    connect(btnOK, &QPushButton::clicked, this, &TfrmPublish::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    resize(560, 440);
    new HelpKeyFilter(this, [this] { editor_.OpenHelp(); });
}

void TfrmPublish::Prepare() {
    const QStringList remembered = RememberedSite(editor_.Model().projectFolder);
    txtSiteFolder->setText(remembered.value(0));
    txtScriptFolder->setText(remembered.value(1));
    chkClassic->setChecked(remembered.value(2) == QStringLiteral("classic"));
    ListPages();
    CentreOnDesktop(this);
}

void TfrmPublish::ListPages() {
    lstPages->clear();
    pages_.clear();
    lblState->clear();
    listedSite_.clear();
    const std::string site = ToBytes(txtSiteFolder->text().trimmed());
    if (site.empty()) {
        lblState->setText(QStringLiteral("Choose the folder that holds your site's pages."));
        return;
    }
    try {
        BusyCursor busy;
        pages_ = ListSitePages(site);
    } catch (const PublishError& error) {
        lblState->setText(FromBytes(error.what()));
        return;
    }
    listedSite_ = txtSiteFolder->text().trimmed();
    for (const SitePage& page : pages_) {
        auto* item = new QTreeWidgetItem(lstPages, {FromBytes(page.path), StateText(page)});
        if (page.state.problem.empty()) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, page.state.HasCode() ? Qt::Checked : Qt::Unchecked);
        } else {
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
        }
    }
    if (pages_.empty()) lblState->setText(QStringLiteral("The folder holds no .htm or .html page."));
}

void TfrmPublish::btnSiteFolderClick() {
    if (!frmSelFolder) return;
    // A first choice starts beside the project, where sites often live too.
    const QString typed = txtSiteFolder->text().trimmed();
    frmSelFolder->StartFolder = typed.isEmpty() ? FromBytes(editor_.Model().projectFolder) : typed;
    frmSelFolder->DefaultName.clear();
    frmSelFolder->lblMessage->setText(QStringLiteral("Choose the folder that holds your site's pages:"));
    frmSelFolder->setWindowTitle(QStringLiteral("Site Folder"));
    frmSelFolder->exec();
    if (!frmSelFolder->Accepted) return;
    txtSiteFolder->setText(frmSelFolder->txtPath->text());
    ListPages();
}

void TfrmPublish::keyPressEvent(QKeyEvent* event) {
    // Enter in the site box lists the pages (returnPressed); it must not
    // also press OK and publish to a folder the user has not looked at.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focusWidget() == txtSiteFolder) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

PublishRequest TfrmPublish::Request() const {
    PublishRequest request;
    request.site = ToBytes(txtSiteFolder->text().trimmed());
    request.scriptFolder = ToBytes(txtScriptFolder->text().trimmed());
    request.projectPage = editor_.Model().TemplatePath();
    request.projectFolder = editor_.Model().projectFolder;
    request.form = chkClassic->isChecked() ? IncludeForm::Classic : IncludeForm::OneLine;
    request.recordFile = JoinPath(ProgramDataFolder(), kPublishRecordFileName);
    for (int i = 0; i < lstPages->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = lstPages->topLevelItem(i);
        if (!(item->flags() & Qt::ItemIsUserCheckable)) continue;
        request.pages.push_back({ToBytes(item->text(0)), item->checkState(0) == Qt::Checked});
    }
    return request;
}

void TfrmPublish::Remember() const {
    RememberSite(editor_.Model().projectFolder, txtSiteFolder->text().trimmed(), txtScriptFolder->text().trimmed(),
                 chkClassic->isChecked());
}

void TfrmPublish::btnOKClick() {
    if (!editor_.Model().hasProject()) return;
    // Pages are only published as the user saw them listed: a folder typed
    // since then is listed first.
    if (txtSiteFolder->text().trimmed() != listedSite_ || listedSite_.isEmpty()) {
        ListPages();
        return;
    }
    PublishRequest request = Request();
    std::vector<PageOutcome> outcomes;
    bool confirmed = false;
    const QString caption = QString::fromLatin1(kAppTitle);
    const bool done = RunUserAction(this, [&] {
        confirmed =
            QtMessageBoxes::Question(this, caption, FromBytes(PublishConfirmationText(request, PlanPublish(request))));
        if (!confirmed) return;
        std::string script;
        if (WritesScript(request)) {
            BusyCursor busy;
            script = BuildProjectScript(editor_.Model(), ScriptMode::Final, editor_.CaptionSwapHandler());
        }
        if (const auto other = FindOtherScript(request, script)) {
            // No to this one is the safe answer: another project's menus stay.
            confirmed = QtMessageBoxes::Question(this, caption, FromBytes(OtherScriptQuestion(*other)), false,
                                                 QMessageBox::Warning);
            if (!confirmed) return;
            request.replaceOtherScript = true;
        }
        editor_.WaitForRunningSave();
        BusyCursor busy;
        outcomes = Publish(request, script);
    });
    if (!done || !confirmed) return;
    Remember();
    std::vector<PageOutcome> leftAlone;
    for (const SitePage& page : pages_) {
        if (!page.state.problem.empty())
            leftAlone.push_back({page.path, PageChange::Skipped, page.state.problem, page.error});
    }
    QtMessageBoxes::Information(this,
                                WritesScript(request) ? QStringLiteral("Published") : QStringLiteral("Menus taken out"),
                                FromBytes(PublishReportText(request, outcomes, leftAlone)));
    accept();
}

} // namespace didad
