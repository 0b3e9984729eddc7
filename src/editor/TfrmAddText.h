#pragma once
// "Add Text": formatted text for the caption or menu HTML.
#include <QDialog>

#include "editor/ISnippetTarget.h"
#include "editor/Snippets.h"

class QCheckBox;
class QColorDialog;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace didad {

class ColorSwatch;

class TfrmAddText : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAddText(ISnippetTarget& target, QWidget* parent = nullptr);

    // The settings of the face, size, colour and centre controls.
    AddTextOptions Options() const;
    // Converts the text (showing the converted text in the box), inserts the
    // snippet into the main window and closes.
    void btnAddClick();
    void BitBtn2Click();
    void panColorClick();

    QPlainTextEdit* txtTEXT = nullptr;
    QComboBox* cBoxFontName = nullptr;
    QCheckBox* chkDefaultFace = nullptr;
    QComboBox* cBoxFontSize = nullptr;
    QCheckBox* chkDefaultSize = nullptr;
    ColorSwatch* panColor = nullptr;
    QCheckBox* chkDefaultColor = nullptr;
    QCheckBox* chkCenter = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QColorDialog* cdlgText = nullptr;

private:
    ISnippetTarget& target_;
};

extern TfrmAddText* frmAddText;

} // namespace didad
