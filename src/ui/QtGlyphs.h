#pragma once
// The windows' button glyphs: the main window's drawn ones, and the style's
// standard ones.
#include <QColor>
#include <QIcon>
#include <QStyle>

#include <functional>

namespace didad {

// The exclamation glyph of Update Preview: red while edits are waiting for
// the preview, black otherwise.
QIcon ExclamationGlyph(const QColor& colour);

// The Help button's glyph: a question mark in a blue disc.
QIcon HelpGlyph();

// The application style's standard icon, read only when it is first drawn
// and then kept for every later use. The style reads each size of it (up to
// 128 pixels) from its pictures at once; most of the dialogs are made at
// start and opened, if ever, much later.
QIcon StandardGlyph(QStyle::StandardPixmap which);

// The icon made for `key`, made by `make` the first time it is asked for and
// kept until the application ends. The windows live on one thread.
QIcon KeptIcon(const QString& key, const std::function<QIcon()>& make);

} // namespace didad
