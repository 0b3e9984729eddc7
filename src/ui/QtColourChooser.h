#pragma once
// The forms' colour dialogs are made when first asked for: each costs the
// program's start some milliseconds (its picker, swatches and the stored
// custom colours), and most sessions open few of them.
#include <QColorDialog>
#include <QString>

namespace didad {

inline QColorDialog* ColourChooser(QColorDialog*& dialog, QWidget* parent, const char* name) {
    if (!dialog) {
        dialog = new QColorDialog(parent);
        dialog->setObjectName(QString::fromLatin1(name));
    }
    return dialog;
}

} // namespace didad
