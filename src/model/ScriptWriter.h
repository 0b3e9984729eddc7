#pragma once
// Generates Dirovidadaz.js from the project model.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ChunkedScriptFile.h" // IWYU pragma: export
#include "model/JsLiteral.h"         // IWYU pragma: export
#include "model/ProjectModel.h"

namespace didad {

enum class ScriptMode { Preview, Final };

inline constexpr const char* kScriptFileName = "Dirovidadaz.js";

// Called for every entry whose caption the default-caption swap changes, so
// that the editor can refill its caption box (under the control-filling flag)
// and keep the exchange with the step that led to it.
using CaptionSwapCallback = std::function<void(int index, const std::string& newCaption)>;

// Escapes an HTML fragment for a double-quoted JavaScript string.
std::string EncodeJsString(const std::string& text);

// The caption that the next write exchanges for the entry's default
// caption, or null when it keeps its own.
const char* ExchangedDefaultCaption(const MenuEntry& entry);
// The no-break element that the write wraps around a vertical menu's HTML.
inline constexpr std::string_view kNoBreakOpen = "<nObR>";
inline constexpr std::string_view kNoBreakClose = "</nObR>";
// Whether the write wraps the entry's menu HTML in the no-break element.
bool WrapsMenuHtml(const MenuEntry& entry);

// One item of a per-menu array as the script gives it: the array's name and
// a number or a text (bytes, before encoding).
struct EntryItem {
    const char* array = "";
    bool isText = false;
    int number = 0;
    std::string text;
};
// The entry's items in every per-menu array, as the next write would give
// them (default caption exchanged, vertical panel wrapped), without changing
// the entry.
std::vector<EntryItem> EntryScriptItems(const MenuEntry& entry);

// The data part, one string per line (a line may hold CR LF continuations of
// multi-line HTML values). Applies the default-caption swap to the model.
std::vector<std::string> BuildDataPart(ProjectModel& model, ScriptMode mode,
                                       const CaptionSwapCallback& onCaptionSwap = {});

// The whole script text, CR LF line ends, no write to disk.
std::string BuildProjectScript(ProjectModel& model, ScriptMode mode, const CaptionSwapCallback& onCaptionSwap = {});
// Whether the script written from `model` starts with the UTF-8 mark, by the
// writer's own rule on the bytes it writes (escapes and replaced values too).
bool ScriptCarriesUtf8Mark(const ProjectModel& model);

// Writes the script into the project folder (creating the folder one level
// when missing) and the default page when the template file is missing.
// Throws CannotCreateFile. Replacing a file never truncates it on failure.
void WriteProjectScript(ProjectModel& model, ScriptMode mode, const CaptionSwapCallback& onCaptionSwap = {},
                        Flush flush = Flush::ToDisk);

// Writes `text` to `path` through a temporary file renamed over the old one.
// Throws CannotCreateFile(path, reason) on any failure; the old file stays intact.
// The bytes are on the disk before the call returns.
void WriteFileReplacing(const std::string& path, const std::string& text);

// Joins text lines with CR LF after every line; line breaks inside a line
// (CR LF, lone CR, lone LF) come out as CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// A text taken line by line: every line break (CR LF, lone CR, lone LF)
// becomes CR LF and the last line gets one too; a final line break does not
// start another line. The same rule builds the reader's search text.
std::string NormalizeTextLines(std::string_view text);

} // namespace didad
