// Projects..., the status line and the remembered project of the main window.
#include "editor/TfrmMain.h"

#include <QFontMetrics>
#include <QLabel>
#include <QSettings>

#include "ui/QtAccessibility.h"
#include "ui/QtMessageBoxes.h"
#include "ui/SettingsStore.h"
#include "workflow/ProjectWorkflow.h"
#include "workflow/StatusLine.h"
#include "workflow/TfrmStart.h"

namespace didad {

void TfrmMain::ShowActiveProject(const QString& folder) {
    const QFontMetrics metrics(lblActiveProject->font());
    const std::string caption = ActiveProjectCaption(folder.toUtf8().toStdString(), [&](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text));
    });
    lblActiveProject->setText(QString::fromUtf8(caption));
    lblActiveProject->setToolTip(folder);
    AnnounceChange(lblActiveProject);
}

void TfrmMain::RecordLastEditedProject() {
    didad::RecordLastEditedProject(model_, [](const std::string& folder) {
        QSettings store(QString::fromLatin1(kSettingsOrganization), QString::fromLatin1(kSettingsApplication));
        store.setValue(QString::fromLatin1(kLastEditedKey), FromBytes(folder));
    });
}

void TfrmMain::btnProjectsClick() {
    if (windows_.start) windows_.start->ReopenFromEditor();
}

} // namespace didad
