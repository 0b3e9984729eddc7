// Projects..., the status line and the remembered project of the main window.
#include "editor/TfrmMain.h"

#include <QLabel>

namespace didad {

void TfrmMain::ShowActiveProject(const QString& folder) {
    lblActiveProject->setText(QStringLiteral("Active Project: ") + folder);
    lblActiveProject->setToolTip(folder);
}

void TfrmMain::RecordLastEditedProject() {}

void TfrmMain::btnProjectsClick() {}

} // namespace didad
