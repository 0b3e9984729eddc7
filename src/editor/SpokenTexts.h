#pragma once
// Texts that screen readers speak for the editor's controls, where what the
// window shows is not enough to tell one menu from another.
#include <string>
#include <string_view>

#include "model/ProjectModel.h"

namespace didad {

// The words of an HTML fragment as a reader would hear them: tags dropped,
// the common entities read as characters, white space run together, at most
// `limit` bytes (never cutting a UTF-8 character).
std::string SpokenHtml(std::string_view html, std::size_t limit = 80);

// The menu list's line `index` as spoken: "Menu 2: Products, left 120, top 10".
// A caption without words reads "no caption text".
std::string SpokenListLine(const ProjectModel& model, int index);

} // namespace didad
