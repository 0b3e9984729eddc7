#pragma once
// Tells the user that finalizing worked, repeats the integration notes and
// opens the project folder in the file manager.
#include <QDialog>
#include "workflow/IEditorWindow.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace didad {

class TfrmFinilizedOK : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFinilizedOK(IEditorWindow& editor, QWidget* parent = nullptr);

    void btnBrowseClick();

    QLabel* lblMessage = nullptr;
    QPlainTextEdit* txtINFO = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnBrowse = nullptr;
    QPushButton* btnPublish = nullptr;
    QPushButton* btnCopy = nullptr; // the instructions to the clipboard, whole

protected:
    void showEvent(QShowEvent* event) override;

private:
    IEditorWindow& editor_;
};

extern TfrmFinilizedOK* frmFinilizedOK;

} // namespace didad
