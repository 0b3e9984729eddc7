#include "model/ScriptReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "model/ArrayValues.h"
#include "model/Errors.h"
#include "model/ScriptReadAhead.h"
#include "model/ScriptTexts.h"
#include "model/ScriptWriter.h"
#include "model/SettingTexts.h"
#include "model/TextCodec.h"
#include "model/TextEncoding.h"
#include "model/ValueHelpers.h"

namespace didad {
namespace {

constexpr std::string_view kVersionMarker = "RarurAVI_Ver = \"1.00\";";
constexpr std::string_view kVersionKey = "RarurAVI_Ver = \"";
constexpr std::string_view kPanelsKey = "var MTM = new Array (";

// Reading ahead pays for its thread from about this many bytes of panels on.
constexpr std::size_t kReadAheadFrom = std::size_t{256} * 1024;
// Where the reading ahead starts: after this share of the text from the
// panels on. The reader has the captions and settings before them to read,
// and checks the whole text first; the thread has the arrays after the
// panels to read as well.
constexpr double kReadAheadShare = 0.25;

void ReportMissing(IMessages& messages, std::string_view key) {
    messages.ShowMessage("Cannot find: " + std::string(key) + "\r\nThe script file maybe corrupted.");
}

// Position just after the first occurrence of `key`, or npos.
std::size_t FindAfter(std::string_view text, std::string_view key) {
    const std::size_t at = text.find(key);
    return at == std::string_view::npos ? at : at + key.size();
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
    return text;
}

int ConvertOrThrow(std::string_view text) {
    int value = 0;
    if (!ParseDecimal(text, value)) throw ConversionError(std::string(text));
    return value;
}

// Stores each decoded value as it stands in valueAt(i).
template <typename ValueAt>
auto Assigning(ValueAt valueAt) {
    return [valueAt](std::size_t i, std::string_view decoded) { valueAt(i).assign(decoded); };
}

// Reads `n` numbers from `pos` into valueAt(0), valueAt(1) ...
template <typename ValueAt>
void IntValuesFrom(std::string_view text, std::size_t& pos, std::size_t n, ValueAt valueAt) {
    for (std::size_t i = 0; i < n; ++i) {
        // A written script holds bare numbers: read one in place when it
        // runs right up to its separator, and take the general way (blanks,
        // plus signs, errors) otherwise.
        if (const std::size_t stop = ReadBareNumber(text, pos, valueAt(i)); stop != std::string_view::npos) {
            pos = stop + 1;
            continue;
        }
        std::size_t end = pos;
        while (end < text.size() && text[end] != ',' && text[end] != ')') ++end;
        // At the text's end the value is whatever was collected; an empty
        // one is a conversion error like any other.
        valueAt(i) = ConvertOrThrow(TrimBlanks(text.substr(pos, end - pos)));
        pos = end < text.size() ? end + 1 : end;
    }
}

// The arrays of a written script follow each other, so each key is looked
// for first after the array before it. Menu HTML that happens to contain a
// key text then cannot stand in for the real array; a hand-edited file with
// the arrays in another order still reads, through the search from the top.
class SequentialArrays {
public:
    // What `readAhead` read is taken over where the reading comes to it.
    SequentialArrays(std::string_view text, int n, IMessages& messages, ScriptReadAhead* readAhead)
        : text_(text), n_(n), messages_(messages), readAhead_(readAhead) {}

    // Values missing from the text, or the whole array, come out empty.
    template <typename ValueAt>
    void Texts(std::string_view key, ValueAt valueAt, bool optional = false) {
        const auto n = static_cast<std::size_t>(n_);
        std::size_t pos = Find(key, optional);
        std::size_t read = 0;
        if (pos != std::string_view::npos) {
            read = TextValuesFrom(text_, pos, n, Assigning(valueAt));
            next_ = pos;
        }
        for (std::size_t i = read; i < n; ++i) valueAt(i).clear();
    }

    // The panels into panelAt(i), unwrapped as AssignUnwrapped does, which
    // unwrapped[i] tells. Panels read ahead are taken over when the reading
    // comes to where they start, and dropped otherwise.
    template <typename PanelAt>
    void Panels(PanelAt panelAt, std::vector<char>& unwrapped) {
        const auto n = static_cast<std::size_t>(n_);
        auto store = [&](std::size_t i, std::string_view decoded) {
            unwrapped[i] = AssignUnwrapped(panelAt(i), decoded);
        };
        std::size_t pos = Find(kPanelsKey, false);
        std::size_t read = 0;
        if (pos != std::string_view::npos) {
            const std::size_t stopAt = readAhead_ ? readAhead_->start() : std::string_view::npos;
            read = TextValuesFrom(text_, pos, n, store, stopAt);
            if (read < n && pos == stopAt) read += TakePanelsAhead(pos, read, panelAt, unwrapped, store);
            next_ = pos;
        }
        for (std::size_t i = read; i < n; ++i) store(i, {});
    }

    // The arrays after the panels into `entries`, read ahead into them when
    // that began where the reading has come. Returns whether every value of
    // the menus' colours is known to be a colour.
    bool Trailing(std::vector<MenuEntry>& entries) {
        if (readAhead_) {
            // From here on the thread is done with the menus.
            const ArraysAhead ahead = panelsTaken_ ? readAhead_->TakeArrays() : ArraysAhead{};
            readAhead_->Stop();
            if (ahead.complete && ahead.from == next_) return ahead.coloursValid;
        }
        for (const TrailingArray& array : kTrailingArrays) {
            if (array.number)
                Ints(
                    array.key, [&](std::size_t i) -> int& { return entries[i].*array.number; }, array.optional);
            else
                Texts(
                    array.key, [&](std::size_t i) -> std::string& { return entries[i].*array.text; }, array.optional);
        }
        return false;
    }

    // A missing array reads as zeros.
    template <typename ValueAt>
    void Ints(std::string_view key, ValueAt valueAt, bool optional = false) {
        const auto n = static_cast<std::size_t>(n_);
        std::size_t pos = Find(key, optional);
        if (pos == std::string_view::npos) {
            for (std::size_t i = 0; i < n; ++i) valueAt(i) = 0;
            return;
        }
        IntValuesFrom(text_, pos, n, valueAt);
        next_ = pos;
    }

private:
    // The panels from `read` on, taken from what was read ahead and then
    // read on from where that ended. Returns how many there were.
    template <typename PanelAt, typename Store>
    std::size_t TakePanelsAhead(std::size_t& pos, std::size_t read, PanelAt panelAt, std::vector<char>& unwrapped,
                                Store store) {
        const std::size_t wanted = static_cast<std::size_t>(n_) - read;
        PanelsAhead ahead = readAhead_->TakePanels();
        panelsTaken_ = true;
        const std::size_t taken = std::min(wanted, ahead.panels.size());
        for (std::size_t i = 0; i < taken; ++i) {
            panelAt(read + i) = std::move(ahead.panels[i]);
            unwrapped[read + i] = ahead.unwrapped[i];
        }
        if (taken) pos = ahead.ends[taken - 1];
        const std::size_t after = read + taken;
        return taken + TextValuesFrom(text_, pos, wanted - taken,
                                      [&](std::size_t i, std::string_view decoded) { store(after + i, decoded); });
    }

    // An optional array came later than the first scripts: a file without
    // it is not corrupted.
    std::size_t Find(std::string_view key, bool optional) {
        std::size_t at = text_.find(key, next_);
        if (at == std::string_view::npos && next_ > 0) at = text_.find(key);
        if (at == std::string_view::npos) {
            if (!optional) ReportMissing(messages_, key);
            return at;
        }
        return at + key.size();
    }

    std::string_view text_;
    int n_;
    IMessages& messages_;
    ScriptReadAhead* readAhead_;
    bool panelsTaken_ = false;
    std::size_t next_ = 0;
};

// A file's bytes, read into room that is not cleared first: on a project
// of megabytes, clearing the room costs a pass over memory of its own.
struct FileBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::string_view view() const { return {data.get(), size}; }
};

FileBytes ReadFileBytes(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw CannotOpenFile(path);
    std::error_code ec;
    const auto expected = std::filesystem::file_size(path, ec);
    // One byte more than the size taken: a file that has grown since shows
    // in it, and the loop reads on to the end.
    std::size_t room = (ec ? 0 : static_cast<std::size_t>(expected)) + 1;
    FileBytes bytes{std::unique_ptr<char[]>(new char[room]), 0};
    std::setvbuf(file, nullptr, _IONBF, 0);
    while (!std::ferror(file)) {
        if (bytes.size == room) {
            room *= 2;
            std::unique_ptr<char[]> larger(new char[room]);
            std::memcpy(larger.get(), bytes.data.get(), bytes.size);
            bytes.data = std::move(larger);
        }
        const std::size_t got = std::fread(bytes.data.get() + bytes.size, 1, room - bytes.size, file);
        if (got == 0) break;
        bytes.size += got;
    }
    const bool failed = std::ferror(file) != 0; // e.g. the path names a folder
    std::fclose(file);
    if (failed) throw CannotOpenFile(path);
    return bytes;
}

// Whether every line of `content` ends in CR LF, the last one included,
// with no lone CR or LF anywhere.
bool HasCrLfLinesOnly(std::string_view content) {
    if (content.empty()) return true;
    return content.back() == '\n' && textcodec::CrLfPaired(content);
}

// The search text: the file's lines joined with CR LF after every line. A
// file that already has that form, as every written script does, is taken
// as it is; otherwise the text is built in `normalized`.
std::string_view SearchText(const FileBytes& content, std::string& normalized) {
    if (HasCrLfLinesOnly(content.view())) return content.view();
    normalized = NormalizeTextLines(content.view());
    return normalized;
}

// The compact layout's settings came later than the first scripts: a file
// without them reads with the layout off and the button's new-project text
// and place.
void ReadCompactSettings(std::string_view text, ProjectSettings& settings, IMessages& messages) {
    const ProjectSettings fresh;
    settings.cmpW = 0;
    settings.cmpL = fresh.cmpL;
    settings.cmpX = fresh.cmpX;
    settings.cmpY = fresh.cmpY;
    auto number = [&](std::string_view key, int& target) {
        if (text.find(key) != std::string_view::npos) target = FindIntValue(text, key, messages);
    };
    number("cmpW=", settings.cmpW);
    number("cmpX=", settings.cmpX);
    number("cmpY=", settings.cmpY);
    std::size_t pos = FindAfter(text, "cmpL=");
    if (pos != std::string_view::npos)
        TextValuesFrom(text, pos, 1, [&](std::size_t, std::string_view decoded) { settings.cmpL.assign(decoded); });
}

// A hand-edited anchor the runtime does not know is taken as the page's
// left, which is what the runtime would do with it.
int KnownAnchor(int anchor) { return anchor >= 0 && anchor <= 3 ? anchor : 0; }

std::string TooManyMenusMessage(int n) {
    return "This project has too many menus (" + std::to_string(n) + "); a project can hold at most " +
           std::to_string(kMaxMenus) + ".";
}

// Colours that a hand-made file holds in place of a colour, each replaced
// by its new-project value; told in one message, so that a file of
// thousands of menus does not open with thousands of boxes.
class ColorReplacements {
public:
    // `value` replaced by `fallback`; `what()` names it.
    template <typename Value, typename What>
    void Replace(Value& value, const Value& fallback, const What& what, const std::string& shown) {
        value = fallback;
        if (lines_.size() < kListed) lines_.push_back(what() + ": " + shown);
        ++count_;
    }
    void Report(IMessages& messages) const {
        if (count_ == 0) return;
        std::string text =
            "Some colours in this project file are not colours; each was replaced by the colour of a "
            "new project:";
        for (const std::string& line : lines_) text += "\r\n" + line;
        if (count_ > lines_.size()) text += "\r\n... and " + std::to_string(count_ - lines_.size()) + " more.";
        messages.ShowMessage(text);
    }

private:
    static constexpr std::size_t kListed = 10;
    std::vector<std::string> lines_;
    std::size_t count_ = 0;
};

Color SettingsColor(std::string_view text, std::string_view key, const Color& fallback, const char* what,
                    ColorReplacements& replaced, IMessages& messages) {
    const std::string value = FindTextValue(text, key, messages);
    if (IsHtmlColor(value)) return HtmlToColor(value);
    Color colour;
    replaced.Replace(
        colour, fallback, [what] { return std::string(what); }, ColorToHtml(fallback));
    return colour;
}

// Checked for every menu of a file that may hold thousands: the name of a
// field is made only for a value that is replaced.
void CheckMenuColors(std::vector<MenuEntry>& entries, ColorReplacements& replaced) {
    const MenuEntry fresh;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        MenuEntry& e = entries[i];
        for (auto [field, name] : kMenuColours) {
            if (IsMenuColor(e.*field)) continue;
            replaced.Replace(
                e.*field, fresh.*field, [i, name = name] { return "Menu " + std::to_string(i + 1) + ", " + name; },
                fresh.*field);
        }
    }
}

} // namespace

int FindIntValue(std::string_view text, std::string_view key, IMessages& messages) {
    std::size_t pos = FindAfter(text, key);
    if (pos == std::string_view::npos) {
        ReportMissing(messages, key);
        return 0;
    }
    while (pos < text.size() && text[pos] == ' ') ++pos;
    std::size_t end = pos;
    // "12pt" reads as 12.
    while (end < text.size() && text[end] != ',' && text[end] != ';' && text[end] != ' ' && text[end] != 'p') ++end;
    if (end == pos) {
        ReportMissing(messages, key);
        return 0;
    }
    return ConvertOrThrow(text.substr(pos, end - pos));
}

std::string FindTextValue(std::string_view text, std::string_view key, IMessages& messages) {
    const std::size_t pos = FindAfter(text, key);
    if (pos == std::string_view::npos) {
        ReportMissing(messages, key);
        return {};
    }
    const std::size_t end = text.find('"', pos);
    return std::string(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
}

std::vector<std::string> ReadTextArray(const std::string& text, const std::string& key, int n, IMessages& messages) {
    if (n < 0) n = 0;
    const std::size_t pos = FindAfter(text, key);
    if (pos == std::string::npos) {
        ReportMissing(messages, key);
        return std::vector<std::string>(static_cast<std::size_t>(n));
    }
    std::size_t scan = pos;
    std::vector<std::string> values(static_cast<std::size_t>(n));
    TextValuesFrom(text, scan, values.size(),
                   [&](std::size_t i, std::string_view decoded) { values[i].assign(decoded); });
    return values;
}

std::vector<int> ReadIntArray(const std::string& text, const std::string& key, int n, IMessages& messages) {
    if (n < 0) n = 0;
    const std::size_t pos = FindAfter(text, key);
    if (pos == std::string::npos) {
        ReportMissing(messages, key);
        return std::vector<int>(static_cast<std::size_t>(n), 0);
    }
    std::size_t scan = pos;
    std::vector<int> values(static_cast<std::size_t>(n));
    IntValuesFrom(text, scan, values.size(), [&](std::size_t i) -> int& { return values[i]; });
    return values;
}

std::string StripNoBreakWrapper(const std::string& text) {
    std::string panel;
    AssignUnwrapped(panel, text);
    return panel;
}

bool ReadProjectScript(const std::string& path, ProjectModel& model, IMessages& messages) {
    const FileBytes content = ReadFileBytes(path);
    // The panels' HTML is most of a large project's text: the later part of
    // it, and the arrays after it, are read on a second thread while this one
    // checks the text and reads up to there. What is read ahead fits the text
    // as the file holds it.
    // A mark that says the texts are UTF-8 is no part of any of them.
    const std::string_view asStored = SkipUtf8Mark(content.view());
    // The menus outlive the thread, which they are lent to.
    std::vector<MenuEntry> entries;
    std::optional<ScriptReadAhead> readAhead;
    if (const std::size_t panels = FindAfter(asStored, kPanelsKey);
        panels != std::string_view::npos && asStored.size() - panels >= kReadAheadFrom)
        readAhead.emplace(asStored, panels + static_cast<std::size_t>((asStored.size() - panels) * kReadAheadShare));
    std::string normalized;
    const std::string_view text = SkipUtf8Mark(SearchText(content, normalized));
    if (text.data() != asStored.data()) readAhead.reset();

    if (text.find(kVersionMarker) == std::string_view::npos) {
        const std::string version = FindTextValue(text, kVersionKey, messages);
        if (!version.empty()) {
            messages.ShowMessage("This project was created by another version of Didad: " + version +
                                 "\r\n\r\nYou can download the latest version of Didad from here:\r\n" +
                                 std::string(7, ' ') + DownloadAddress());
        } else {
            messages.ShowMessage("This is not Didad project file, or this project is corrupted.");
        }
        return false;
    }

    const int n = FindIntValue(text, "var numOfMenus=", messages);
    if (n < 0 || n > kMaxMenus) {
        messages.ShowMessage(TooManyMenusMessage(n));
        return false;
    }

    // Everything goes into a separate model first, so that a read that ends
    // in an error leaves the open project as it was.
    ProjectSettings settings;
    settings.scrIN = FindIntValue(text, "scrIN=", messages);
    settings.scrOUT = FindIntValue(text, "scrOUT=", messages);
    ColorReplacements replaced;
    const ProjectSettings fresh;
    settings.cDefCap =
        SettingsColor(text, "cDefCap=\"", fresh.cDefCap, "Default Text Color, Caption (cDefCap)", replaced, messages);
    settings.cDefMenu =
        SettingsColor(text, "cDefMenu=\"", fresh.cDefMenu, "Default Text Color, Menu (cDefMenu)", replaced, messages);
    settings.fDefCap = FindTextValue(text, "fDefCap=\"", messages);
    settings.fDefMenu = FindTextValue(text, "fDefMenu=\"", messages);
    settings.fDefCapS = FindIntValue(text, "fDefCapS=", messages);
    settings.fDefMenuS = FindIntValue(text, "fDefMenuS=", messages);
    settings.PRJ_sTemplate = FindTextValue(text, "PRJ_sTemplate=\"", messages);
    // A hand-edited text may hold what the settings dialog never stores (a
    // backslash before the quote that ended it here) and what would break the
    // next written script.
    settings = WithCleanSettingTexts(std::move(settings));
    ReadCompactSettings(text, settings, messages);

    if (n == 0) {
        replaced.Report(messages);
        model.settings = std::move(settings);
        model.entries.clear();
        return true;
    }

    entries.resize(static_cast<std::size_t>(n));
    if (readAhead) readAhead->Lend(entries);
    SequentialArrays arrays(text, n, messages, readAhead ? &*readAhead : nullptr);
    arrays.Texts("var MTC = new Array (", [&](std::size_t i) -> std::string& { return entries[i].MTC; });
    arrays.Ints("var MTCH = new Array (", [&](std::size_t i) -> int& { return entries[i].MTCH; });
    std::vector<char> unwrapped(entries.size());
    arrays.Panels([&](std::size_t i) -> std::string& { return entries[i].MTM; }, unwrapped);
    const bool coloursValid = arrays.Trailing(entries);
    for (MenuEntry& entry : entries) entry.AN = KnownAnchor(entry.AN);
    // The writer wraps every vertical panel (any OO but 0); a horizontal
    // one's own HTML keeps the wrapper it had.
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (unwrapped[i] && entries[i].OO == 0)
            entries[i].MTM = std::string(kNoBreakOpen) + entries[i].MTM + std::string(kNoBreakClose);
    if (!coloursValid) CheckMenuColors(entries, replaced);
    replaced.Report(messages);

    model.settings = std::move(settings);
    model.entries = std::move(entries);
    model.iSelectedMenu = 0;
    return true;
}

} // namespace didad
