#pragma once
// The main window's drawn button glyphs.
#include <QColor>
#include <QIcon>

namespace didad {

// The exclamation glyph of Update Preview: red while edits are waiting for
// the preview, black otherwise.
QIcon ExclamationGlyph(const QColor& colour);

// The Help button's glyph: a question mark in a blue disc.
QIcon HelpGlyph();

} // namespace didad
