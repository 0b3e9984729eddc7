#pragma once
// The forms' colour dialogs are made when first asked for: each costs the
// program's start some milliseconds (its picker, swatches and the stored
// custom colours), and most sessions open few of them.
#include <QColor>
#include <QColorDialog>
#include <QString>

#include <cstdint>

#include "model/ProjectModel.h"

namespace didad {

inline QColorDialog* ColourChooser(QColorDialog*& dialog, QWidget* parent, const char* name) {
    if (!dialog) {
        dialog = new QColorDialog(parent);
        dialog->setObjectName(QString::fromLatin1(name));
    }
    return dialog;
}

// The model's colour of a colour chosen in a dialog.
inline Color ToColor(const QColor& c) {
    return Color{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                 static_cast<std::uint8_t>(c.blue())};
}

} // namespace didad
