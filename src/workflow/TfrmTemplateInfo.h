#pragma once
// Explains the two lines a page needs to show the menus.
#include <QDialog>
#include "workflow/IEditorWindow.h"

class QPlainTextEdit;
class QPushButton;

namespace didad {

class TfrmTemplateInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTemplateInfo(IEditorWindow& editor, QWidget* parent = nullptr);

    QPlainTextEdit* txtINFO = nullptr;
    QPushButton* btnOK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    IEditorWindow& editor_;
};

extern TfrmTemplateInfo* frmTemplateInfo;

} // namespace didad
