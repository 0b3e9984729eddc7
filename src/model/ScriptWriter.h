#pragma once
// Generates Dirovidadaz.js from the project model.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ProjectModel.h"

namespace didad {

enum class ScriptMode { Preview, Final };

// Whether a write waits until its bytes are on the disk. Every write of the
// program does; without it only the writer's own work is left to measure.
enum class Flush { ToDisk, CacheOnly };

inline constexpr const char* kScriptFileName = "Dirovidadaz.js";

// Called for every entry whose caption the default-caption swap changes, so
// that the editor can refill its caption box (under the control-filling flag)
// and keep the exchange with the step that led to it.
using CaptionSwapCallback = std::function<void(int index, const std::string& newCaption)>;

// Escapes an HTML fragment for a double-quoted JavaScript string.
std::string EncodeJsString(const std::string& text);

// A text as one double-quoted JavaScript literal of printable ASCII whose
// value is what the script's item for the same text gives the page: line
// breaks (continuations in the file) drop out, characters beyond ASCII are
// escaped, and so are "<" and control characters, so that the literal is
// safe in any statement or script block. A byte that is not UTF-8 becomes
// U+FFFD.
std::string EncodeJsLiteral(std::string_view text);

// The caption that the next write exchanges for the entry's default
// caption, or null when it keeps its own.
const char* ExchangedDefaultCaption(const MenuEntry& entry);
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

// Writes the script into the project folder (creating the folder one level
// when missing) and the default page when the template file is missing.
// Throws CannotCreateFile. Replacing a file never truncates it on failure.
void WriteProjectScript(ProjectModel& model, ScriptMode mode, const CaptionSwapCallback& onCaptionSwap = {},
                        Flush flush = Flush::ToDisk);

// Writes `text` to `path` through a temporary file renamed over the old one.
// Throws CannotCreateFile(path, reason) on any failure; the old file stays intact.
// The bytes are on the disk before the call returns.
void WriteFileReplacing(const std::string& path, const std::string& text);
// The same for a file that is someone's own: the new file takes the old
// one's permissions, and its owner and group where the system allows,
// before it is put in place, so that no one ever sees it otherwise.
void WriteFileInPlaceOf(const std::string& path, const std::string& text);

// Joins text lines with CR LF after every line; line breaks inside a line
// (CR LF, lone CR, lone LF) come out as CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// A text taken line by line: every line break (CR LF, lone CR, lone LF)
// becomes CR LF and the last line gets one too; a final line break does not
// start another line. The same rule builds the reader's search text.
std::string NormalizeTextLines(std::string_view text);

} // namespace didad
