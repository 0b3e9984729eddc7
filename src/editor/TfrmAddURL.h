#pragma once
// "Add URL": a link for the caption or menu HTML.
#include <QDialog>
#include <QString>

#include "editor/ISnippetTarget.h"

class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace didad {

class TfrmAddURL : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAddURL(ISnippetTarget& target, QWidget* parent = nullptr);

    void btnAddClick();
    void btnCancelClick();
    // Lets the user pick the linked page instead of typing its name.
    void btnChooseFileClick();
    // The folder the link chooser opens in next time; empty at start.
    QString RememberedFolder() const { return rememberedFolder_; }

    QLineEdit* txtURL = nullptr;
    QPushButton* btnChooseFile = nullptr;
    QComboBox* cboxTarget = nullptr;
    QLabel* lblChooseFile = nullptr;
    QPlainTextEdit* txtHTML = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnCancel = nullptr;
    // The file chooser, made on the first Choose File... click.
    QFileDialog* dlgOpen1 = nullptr;

private:
    QString rememberedFolder_;
    ISnippetTarget& target_;
};

extern TfrmAddURL* frmAddURL;

} // namespace didad
