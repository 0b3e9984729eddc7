#pragma once
// The open-file choosers of the snippet dialogs: our own (non-native) chooser,
// so that the picture dialog can add its preview pane, and one way of running
// it from a remembered folder.
#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace didad {

inline QFileDialog* MakeOpenChooser(QWidget* parent, QFileDialog::FileMode mode, const QStringList& nameFilters,
                                    const QString& defaultSuffix) {
    auto* chooser = new QFileDialog(parent);
    chooser->setObjectName(QStringLiteral("dlgOpen1"));
    chooser->setOption(QFileDialog::DontUseNativeDialog);
    chooser->setOption(QFileDialog::HideNameFilterDetails);
    chooser->setAcceptMode(QFileDialog::AcceptOpen);
    chooser->setFileMode(mode);
    chooser->setNameFilters(nameFilters);
    chooser->setDefaultSuffix(defaultSuffix);
    return chooser;
}

// Runs the chooser in `folder` (the home folder when empty); the chosen file
// with native separators, or an empty text when the user cancelled.
inline QString RunOpenChooser(QFileDialog& chooser, const QString& folder) {
    chooser.setDirectory(folder.isEmpty() ? QDir::homePath() : folder);
    chooser.selectFile(QString());
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return {};
    return QDir::toNativeSeparators(chooser.selectedFiles().constFirst());
}

} // namespace didad
