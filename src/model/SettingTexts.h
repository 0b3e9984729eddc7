#pragma once
// The project settings' texts (the two font names and the template file
// name) as the settings dialog leaves them. The reader and the writer keep
// to the same rules: a text taken from a hand-edited script then opens as the
// dialog would have stored it, and no text can end its string in a written
// script early.
#include <string>

#include "model/ProjectModel.h"

namespace didad {

// Removes blanks and control characters from both ends.
std::string TrimBlanks(const std::string& text);

// A typed font name: trimmed, cleaned of path and quote characters, control
// characters inside as blanks, "Arial" when nothing is left.
std::string FontNameFromTyped(const std::string& typed);

// The template file name that a typed name stands for: trimmed, cleaned of
// path characters, "Temp.html" when nothing usable is left. A name made of
// dots only would name the project folder or its parent, so it falls back
// to the default as well.
std::string TemplateNameFromTyped(const std::string& typed);

// `settings` with the three texts as the dialog would have left them.
ProjectSettings WithCleanSettingTexts(ProjectSettings settings);

} // namespace didad
