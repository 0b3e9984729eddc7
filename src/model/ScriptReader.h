#pragma once
// Opens a project: a key-search reader of the data part of Dirovidadaz.js.
#include <string>
#include <string_view>
#include <vector>

#include "model/Messages.h"
#include "model/ProjectModel.h"

namespace didad {

// The readers report a missing key through `messages` ("Cannot find: " ...)
// and throw ConversionError for text that is not an integer.
int FindIntValue(std::string_view text, std::string_view key, IMessages& messages);
std::string FindTextValue(std::string_view text, std::string_view key, IMessages& messages);
std::vector<std::string> ReadTextArray(const std::string& text, const std::string& key, int n, IMessages& messages);
std::vector<int> ReadIntArray(const std::string& text, const std::string& key, int n, IMessages& messages);
std::string StripNoBreakWrapper(const std::string& text);

// Reads the script at `path` into a separate model and, on success, replaces
// `model`'s settings, entries and selection (folders stay as they are).
// Returns false when the file is refused (another version, not a project,
// too many menus); `model` is then unchanged. Throws CannotOpenFile or
// ConversionError, also leaving `model` unchanged.
bool ReadProjectScript(const std::string& path, ProjectModel& model, IMessages& messages);

} // namespace didad
