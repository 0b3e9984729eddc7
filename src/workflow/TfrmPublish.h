#pragma once
// Publish to your site: the site folder, where the script goes in it, and the
// pages that show the menus, ticked.
#include <QDialog>

#include <vector>

#include "workflow/IEditorWindow.h"
#include "workflow/SitePublishing.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace didad {

class TfrmPublish : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPublish(IEditorWindow& editor, QWidget* parent = nullptr);

    // Shows the site folder remembered for the active project and its pages.
    void Prepare();
    // Lists the pages of the folder in the site box.
    void ListPages();
    void btnSiteFolderClick();
    void btnOKClick();

    QLineEdit* txtSiteFolder = nullptr;
    QPushButton* btnSiteFolder = nullptr;
    QLineEdit* txtScriptFolder = nullptr;
    QTreeWidget* lstPages = nullptr;
    QCheckBox* chkClassic = nullptr;
    QLabel* lblState = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    PublishRequest Request() const;
    void Remember() const;

    std::vector<SitePage> pages_;
    QString listedSite_; // the folder whose pages the list shows
    IEditorWindow& editor_;
};

extern TfrmPublish* frmPublish;

} // namespace didad
