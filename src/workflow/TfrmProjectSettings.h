#pragma once
// Project-wide settings of the active project: menu speeds, default text
// colours and fonts, and the page the preview loads.
#include <QDialog>

#include <vector>

#include "workflow/IEditorWindow.h"
#include "workflow/ProjectSettingsRules.h"

class QColorDialog;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace didad {

class ColorSwatch;
class UpDownButtons;

class TfrmProjectSettings : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProjectSettings(IEditorWindow& editor, QWidget* parent = nullptr);

    // Fills the controls from the active project's settings.
    void FormShow();
    void getColor(ColorSwatch* swatch);
    void btnDefaultsClick();
    void btnMoreInfoClick();
    void btnOKClick();

    // The controls' current contents, and the reverse.
    SettingsDialogValues ControlValues() const;
    void ShowValues(const SettingsDialogValues& values);

    QGroupBox* GroupBox_MenuSpeed = nullptr;
    QLabel* lblScrollOutSpeed = nullptr;
    QLineEdit* txtScrollOut = nullptr;
    UpDownButtons* UpDown_ScrollOut = nullptr;
    QLabel* lblScrollInSpeed = nullptr;
    QLineEdit* txtScrollIn = nullptr;
    UpDownButtons* UpDown_ScrollIn = nullptr;

    QGroupBox* GroupBox_TextColor = nullptr;
    QLabel* lblCaption = nullptr;
    ColorSwatch* panCaptionColor = nullptr;
    QLabel* lblMenu = nullptr;
    ColorSwatch* panMenuColor = nullptr;

    QGroupBox* GroupBox_Fonts = nullptr;
    QLabel* lblCaption2 = nullptr;
    QLabel* lblMenu2 = nullptr;
    QComboBox* cBoxFontName_Caption = nullptr;
    QComboBox* cBoxFontName_Menu = nullptr;
    QLabel* lblFontSize_Caption = nullptr;
    QLabel* lblFontSize_Menu = nullptr;
    QComboBox* cBoxFontSize_Caption = nullptr;
    QComboBox* cBoxFontSize_Menu = nullptr;

    QGroupBox* GroupBox_Template = nullptr;
    QLabel* lblTemplateFileName = nullptr;
    QLineEdit* txtTemplate = nullptr;
    QLabel* lbl1 = nullptr;
    QLabel* lbl2 = nullptr;
    QPushButton* btnMoreInfo = nullptr;

    QGroupBox* GroupBox_Compact = nullptr;
    QLineEdit* txtCompactWidth = nullptr;
    QLineEdit* txtCompactLabel = nullptr;
    QLineEdit* txtCompactLeft = nullptr;
    QLineEdit* txtCompactTop = nullptr;

    QGroupBox* GroupBox_Anchors = nullptr;
    // Item 0 leaves every menu's anchor; then the anchors in their order.
    QComboBox* cBoxAllAnchors = nullptr;
    QLineEdit* txtAllAnchorElement = nullptr;

    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnDefaults = nullptr;
    QColorDialog* cdlg1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildWidgets();
    QLayout* BuildCompactAndAnchorGroups();
    // The last steps of OK, once the page has told where the anchors lie.
    void FinishOK(const ProjectSettings& previous);
    void ShowRefusal(const SettingsConfirmation& result);
    IEditorWindow& editor_;
};

extern TfrmProjectSettings* frmProjectSettings;

} // namespace didad
