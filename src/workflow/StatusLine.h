#pragma once
// The main window's status line, which names the active project folder.
#include <functional>
#include <string>

namespace didad {

inline constexpr const char* kNoActiveProject = "No Active Project!";
inline constexpr const char* kActiveProjectPrefix = "Active Project: ";
// The widest the status label may grow, in pixels.
inline constexpr int kStatusLineMaxWidth = 380;

// Width in pixels of a caption as the label would show it.
using TextWidthFn = std::function<int(const std::string& utf8Text)>;

// "Active Project: " + folder, shortened in the middle with "..." until
// `width` says it fits into `maxWidth`. Characters are UTF-8 code points, so a
// cut never splits one. The head keeps at least the prefix and one character
// of the folder; when only that head and "..." are left the text is returned
// even if it is still too wide.
std::string ActiveProjectCaption(const std::string& folder, const TextWidthFn& width,
                                 int maxWidth = kStatusLineMaxWidth);

} // namespace didad
