#pragma once
// Explains the two lines a page needs to show the menus.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace didad {

class TfrmTemplateInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTemplateInfo(QWidget* parent = nullptr);

    QPlainTextEdit* txtINFO = nullptr;
    QPushButton* btnOK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

extern TfrmTemplateInfo* frmTemplateInfo;

} // namespace didad
