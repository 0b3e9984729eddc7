#include "workflow/TfrmSelFolder.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

#include <string>
#include <vector>

#include "ui/QtAccessibility.h"
#include "ui/QtDialogPlacement.h"
#include "ui/QtGlyphs.h"
#include "ui/QtHelpKey.h"
#include "ui/QtMessageBoxes.h"
#include "workflow/FolderList.h"
#include "workflow/ProjectWorkflow.h"

namespace didad {

TfrmSelFolder* frmSelFolder = nullptr;

namespace {
constexpr int kPathRole = Qt::UserRole;
}

TfrmSelFolder::TfrmSelFolder(IEditorWindow& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setObjectName(QStringLiteral("frmSelFolder"));
    // On top like the start dialog that opens it, or it would open beneath it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setModal(true);

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    lblMessage->setMinimumHeight(3 * lblMessage->fontMetrics().lineSpacing());
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    txtPath = new QLineEdit(this);
    txtPath->setObjectName(QStringLiteral("txtPath"));

    NewDirList1 = new QListWidget(this);
    NewDirList1->setObjectName(QStringLiteral("NewDirList1"));
    NewDirList1->setSelectionMode(QAbstractItemView::SingleSelection);

    NewDriveBox1 = new QComboBox(this);
    NewDriveBox1->setObjectName(QStringLiteral("NewDriveBox1"));
    // The prompt names the path box; the other two say what they hold.
    lblMessage->setBuddy(txtPath);
    NameControl(txtPath, QStringLiteral("Folder path"));
    NameControl(NewDirList1, QStringLiteral("Folders"));
    auto* lblDrive = new QLabel(QStringLiteral("Drive:"), this);
    lblDrive->setObjectName(QStringLiteral("lblDrive"));
    NameControl(NewDriveBox1, QStringLiteral("Drive"), lblDrive);
    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(lblDrive);
    driveRow->addWidget(NewDriveBox1, 1);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->setIcon(StandardGlyph(QStyle::SP_DialogOkButton));
    BitBtn1 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(StandardGlyph(QStyle::SP_DialogCancelButton));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMessage);
    layout->addWidget(txtPath);
    layout->addWidget(NewDirList1, 1);
    layout->addLayout(driveRow);
    layout->addLayout(buttons);

    setTabOrder(txtPath, NewDirList1);
    setTabOrder(NewDirList1, NewDriveBox1);
    setTabOrder(NewDriveBox1, btnOK);
    setTabOrder(btnOK, BitBtn1);

    connect(btnOK, &QPushButton::clicked, this, &TfrmSelFolder::btnOKClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(NewDirList1, &QListWidget::itemDoubleClicked, this, &TfrmSelFolder::NewDirList1DoubleClick);
    connect(NewDriveBox1, &QComboBox::activated, this, &TfrmSelFolder::NewDriveBox1Change);

    new HelpKeyFilter(this, [this] { editor_.OpenHelp(); });
    // A dialog border: the user does not resize it.
    setFixedSize(QSize(258, 237).expandedTo(minimumSizeHint()));
    CentreOnDesktop(this);
}

void TfrmSelFolder::showEvent(QShowEvent* event) {
    // Moving to the start folder is the opening state, not a user move.
    ShowFolder(StartFolder);
    txtPath->setText(FromBytes(ChooserPathText(ToBytes(currentFolder_), ToBytes(DefaultName))));
    txtPath->selectAll();
    txtPath->setFocus();
    Accepted = false;
    QDialog::showEvent(event);
}

void TfrmSelFolder::MoveToFolder(const QString& folder) {
    if (ShowFolder(folder)) NewDirList1Change();
}

void TfrmSelFolder::NewDirList1Change() { txtPath->setText(currentFolder_); }

void TfrmSelFolder::btnOKClick() {
    Accepted = true;
    txtPath->setText(FromBytes(ChooserAcceptedPath(ToBytes(txtPath->text()))));
    accept();
}

bool TfrmSelFolder::ShowFolder(const QString& folder) {
    const QString target = FromBytes(ExistingListFolder(ToBytes(folder)));
    const bool moved = target != currentFolder_;
    currentFolder_ = target;

    const QSignalBlocker blocker(NewDirList1);
    NewDirList1->clear();
    const QIcon folderIcon = StandardGlyph(QStyle::SP_DirIcon);
    const QIcon openIcon = StandardGlyph(QStyle::SP_DirOpenIcon);
    for (const FolderListItem& entry : ListFolders(ToBytes(currentFolder_))) {
        auto* item = new QListWidgetItem(entry.current || entry.depth == 0 ? openIcon : folderIcon,
                                         QString(qsizetype{entry.depth} * 2, QLatin1Char(' ')) + FromBytes(entry.label),
                                         NewDirList1);
        item->setData(kPathRole, FromBytes(entry.path));
        if (entry.current) NewDirList1->setCurrentItem(item);
    }
    FillVolumes();
    return moved;
}

void TfrmSelFolder::FillVolumes() {
    std::vector<std::string> roots;
    const QSignalBlocker blocker(NewDriveBox1);
    NewDriveBox1->clear();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        const QString root = volume.rootPath();
        if (NewDriveBox1->findData(root) >= 0) continue;
        const QString name = volume.displayName();
        NewDriveBox1->addItem(StandardGlyph(QStyle::SP_DriveHDIcon),
                              name == root ? root : root + QStringLiteral("  [") + name + QStringLiteral("]"), root);
        roots.push_back(ToBytes(root));
    }
    const QString holder = FromBytes(VolumeOf(ToBytes(currentFolder_), roots));
    NewDriveBox1->setCurrentIndex(NewDriveBox1->findData(holder));
}

void TfrmSelFolder::NewDriveBox1Change(int index) {
    if (index >= 0) MoveToFolder(NewDriveBox1->itemData(index).toString());
}

void TfrmSelFolder::NewDirList1DoubleClick(QListWidgetItem* item) {
    if (item) MoveToFolder(item->data(kPathRole).toString());
}

} // namespace didad
