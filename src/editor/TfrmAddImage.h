#pragma once
// "Add Image": a picture for the caption or menu HTML, copied into the
// project folder so that the page finds it by its bare name.
#include <QDialog>
#include <QString>

#include "editor/ISnippetTarget.h"

class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;

namespace didad {

class UpDownButtons;

class TfrmAddImage : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAddImage(ISnippetTarget& target, QWidget* parent = nullptr);

    void btnAddClick();
    void btnCancelClick();
    void btnChooseFileNameClick();
    // The folder the picture chooser opens in next time; empty at start.
    QString RememberedFolder() const { return rememberedFolder_; }

    QLineEdit* txtImage = nullptr;
    QPushButton* btnChooseFileName = nullptr;
    QLineEdit* txtBorderSize = nullptr;
    UpDownButtons* UpDown_Border = nullptr;
    QLabel* lbl1 = nullptr;
    QLabel* lbl2 = nullptr;
    QLabel* lbl3 = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnCancel = nullptr;
    // The file chooser, made on the first Choose File... click.
    QFileDialog* dlgOpen1 = nullptr;
    // The picture under the chooser's current file.
    QLabel* imgPreview = nullptr;

private:
    void ShowPreview(const QString& path);

    QString rememberedFolder_;
    ISnippetTarget& target_;
};

extern TfrmAddImage* frmAddImage;

} // namespace didad
