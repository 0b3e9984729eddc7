#pragma once
// Small value helpers shared by the model's users.
#include <string>
#include <string_view>

#include "model/ProjectModel.h"

namespace didad {

// The value of a hexadecimal digit of either case; -1 for any other character.
int HexDigitValue(char c);
// "#RRGGBB", upper-case hexadecimal.
std::string ColorToHtml(Color colour);
// Reads "#RRGGBB"; anything else throws ConversionError.
Color HtmlToColor(const std::string& text);
// "#RRGGBB" in hexadecimal digits of either case: what HtmlToColor reads.
bool IsHtmlColor(std::string_view text);
// A colour as a menu's fields hold it: "#RRGGBB" (either case),
// "transparent", or empty (no background of its own, as a value missing
// from a file reads). Nothing else can go into a style rule without the
// risk of ending it, so nothing else is taken.
bool IsMenuColor(std::string_view text);
// Strict signed decimal: optional sign, digits, nothing else, within int.
// Returns false (and leaves `value`) for anything else.
bool ParseDecimal(std::string_view text, int& value);
// The integer the text denotes, or `fallback` when it is not a valid integer.
int ParseIntOr(std::string_view text, int fallback);
int ClampInt(int value, int low, int high);
// Where an arrow button takes a box that shows `shown`: one `delta` on,
// within low..high, and never against the arrow's direction (a value beyond
// the range on the arrow's side stays as it is).
int ArrowStep(int shown, int delta, int low, int high);
// Removes \ " ' / : , puts a backslash before every line break (CR, CR LF,
// lone LF); `fallback` when empty.
std::string CleanSettingText(const std::string& text, const std::string& fallback);
// Removes one trailing separator (\ or /), except after a colon or on a path
// shorter than two characters.
std::string StripTrailingBackslash(const std::string& path);
// True when the path names an existing file or folder.
bool PathExists(const std::string& path);
// True when the path names an existing file that is not a folder.
bool FileExists(const std::string& path);
// The native separator used when composing paths ('/' on POSIX, '\' on Windows).
char PathSeparator();
// Either slash: a stored path may come from either kind of system.
constexpr bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

// ASCII letters in lower case, every other byte as it is: for names that
// pages and file systems compare without case (tags, attributes, file
// extensions, folder names in a list), the same whatever the user's locale.
constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
std::string LowerAscii(std::string_view text);
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace didad
