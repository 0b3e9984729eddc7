#pragma once
// The folder chooser of the start dialog: a path box, the folders along the
// current path with the sub-folders of the current one, and the mounted
// volumes.
#include <QDialog>
#include <QString>
#include "workflow/IEditorWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace didad {

class TfrmSelFolder : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelFolder(IEditorWindow& editor, QWidget* parent = nullptr);

    // Set by the caller before each use.
    QString StartFolder;
    QString DefaultName;
    // Cleared each time the chooser is shown, set by OK.
    bool Accepted = false;

    // The folder the directory list stands on, as the list reports it.
    QString CurrentFolder() const { return currentFolder_; }
    // Moves the directory list; a real move raises NewDirList1Change.
    void MoveToFolder(const QString& folder);

    void NewDirList1Change();
    void btnOKClick();

    QLabel* lblMessage = nullptr;
    QLineEdit* txtPath = nullptr;
    QListWidget* NewDirList1 = nullptr;
    QComboBox* NewDriveBox1 = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* BitBtn1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Refills the list and the volume selector for `folder`; true when the
    // list moved.
    bool ShowFolder(const QString& folder);
    void FillVolumes();
    void NewDriveBox1Change(int index);
    void NewDirList1DoubleClick(QListWidgetItem* item);

    QString currentFolder_;
    IEditorWindow& editor_;
};

extern TfrmSelFolder* frmSelFolder;

} // namespace didad
