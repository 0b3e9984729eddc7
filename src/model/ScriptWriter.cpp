#include "model/ScriptWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <future>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <system_error>

#include "model/ByteScan.h"
#include "model/ChunkedScriptFile.h"
#include "model/Errors.h"
#include "model/ScriptTexts.h"
#include "model/SettingTexts.h"
#include "model/TextCodec.h"
#include "model/TextEncoding.h"
#include "model/ValueHelpers.h"

namespace didad {
namespace {

using bytescan::FindAny2;

constexpr std::string_view kCrLf = "\r\n";

// An output buffer that is not zero-filled when it grows, so that encoding
// can write straight into reserved room. Scripts run to megabytes.
class OutBuffer {
public:
    void Reserve(std::size_t extra) {
        if (capacity_ - size_ < extra) Grow(extra);
    }
    void append(const char* bytes, std::size_t count) {
        if (count == 0) return; // an empty buffer has no storage yet
        Reserve(count);
        std::memcpy(data_.get() + size_, bytes, count);
        size_ += count;
    }
    void append(std::string_view text) { append(text.data(), text.size()); }
    void append(const OutBuffer& other) {
        append(other.data(), other.size());
        textHighBits_ |= other.textHighBits_;
    }
    OutBuffer& operator+=(char c) {
        Reserve(1);
        data_[size_++] = c;
        return *this;
    }
    // Raw writing into room made by Reserve.
    char* end() { return data_.get() + size_; }
    void SetEnd(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }
    // Writes `text` escaped at `d`, inside room made by Reserve, and returns
    // the new end.
    char* Encode(char* d, std::string_view text) {
        return textcodec::EncodeText(text.data(), text.data() + text.size(), d, textHighBits_);
    }

    // Whether every text encoded into the buffer, or noted or merged with
    // another buffer, is ASCII: the script then needs no UTF-8 mark, and
    // the megabytes need no check.
    bool TextsAreAscii() const { return (textHighBits_ & textcodec::kNonAscii) == 0; }
    void NoteText(std::string_view text) {
        if (!IsAscii(text)) textHighBits_ |= textcodec::kNonAscii;
    }

    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    void Clear() {
        size_ = 0;
        textHighBits_ = 0;
    }
    std::string str() const { return std::string(data_.get(), size_); }
    std::string_view view() const { return {data_.get(), size_}; }

private:
    void Grow(std::size_t extra) {
        const std::size_t capacity = std::max(capacity_ * 2, size_ + extra);
        std::unique_ptr<char[]> grown(new char[capacity]); // left uninitialised on purpose
        if (size_) std::memcpy(grown.get(), data_.get(), size_);
        data_ = std::move(grown);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    unsigned char textHighBits_ = 0;
};

// Appends `text` with every line break (CR LF, lone CR, lone LF) as CR LF.
template <typename Out>
void AppendNormalized(Out& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t hit = i + FindAny2(text.data() + i, text.size() - i, '\r', '\n');
        out.append(text.data() + i, hit - i);
        if (hit == text.size()) break;
        out.append(kCrLf);
        i = hit + 1;
        if (text[hit] == '\r' && i < text.size() && text[i] == '\n') ++i;
    }
}

// A fixed text copied line by line: every line, the last one included, ends
// with CR LF; a final line break does not start another line.
template <typename Out>
void AppendTextLines(Out& out, std::string_view text) {
    if (text.empty()) return;
    AppendNormalized(out, text);
    if (text.back() != '\r' && text.back() != '\n') out.append(kCrLf);
}

const std::string& BannerText() {
    static const std::string text = JoinLinesCrLf(ScriptBannerLines());
    return text;
}
const std::string& RuntimeText() {
    static const std::string text = NormalizeTextLines(MenuRuntimeText());
    return text;
}
const std::string& AddonText() {
    static const std::string text = NormalizeTextLines(EditingAddonText());
    return text;
}

// The longest an encoded text can get: a byte that is no UTF-8 before a
// quote becomes \xNN.
constexpr std::size_t kMaxEncodedGrowth = 4;

// `text` encoded between quotes, inside `open` and `close` when given, after
// a comma unless it is the first item of its array. The room for the whole
// item is made at once. Colours go the same way; only colours reach here,
// and they come out unchanged.
inline void AppendListItem(OutBuffer& out, bool first, std::string_view text, std::string_view open = {},
                           std::string_view close = {}) {
    out.Reserve(text.size() * kMaxEncodedGrowth + textcodec::kSlack + open.size() + close.size() + 3);
    char* d = out.end();
    *d = ',';
    d += !first;
    *d++ = '"';
    d = std::copy(open.begin(), open.end(), d);
    d = out.Encode(d, text);
    d = std::copy(close.begin(), close.end(), d);
    *d++ = '"';
    out.SetEnd(d);
}

void AppendQuoted(OutBuffer& out, std::string_view text) { AppendListItem(out, true, text); }

template <typename Out>
void AppendInt(Out& out, long long value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

// The colour the script gives a menu: its own, or a new menu's when it holds
// anything else (the reader and the editor let nothing else in; this keeps a
// model filled some other way from ending a style rule on every page).
const std::string& WrittenColor(const MenuEntry& entry, std::string MenuEntry::*field) {
    static const MenuEntry kFresh;
    const std::string& value = entry.*field;
    return IsMenuColor(value) ? value : kFresh.*field;
}

// Swaps "Caption" and its upright form wherever the orientation no longer
// matches, telling the editor of every caption that changed.
void ApplyDefaultCaptionSwap(ProjectModel& model, const CaptionSwapCallback& onCaptionSwap) {
    for (int i = 0; i < model.numOfMenus(); ++i) {
        MenuEntry& entry = model.entries[static_cast<std::size_t>(i)];
        const char* replacement = ExchangedDefaultCaption(entry);
        if (!replacement) continue;
        entry.MTC = replacement;
        if (onCaptionSwap) onCaptionSwap(i, entry.MTC);
    }
}

// The entries are walked in order and the processor fetches them ahead by
// itself, but their texts lie wherever the heap put them: those are asked
// for a few entries ahead, so that their loads do not wait for memory.
constexpr std::size_t kPrefetchAhead = 8;

#if defined(__GNUC__)
// Inlined by force: GCC counts a function that only prefetches as one
// without effects, and drops the calls to it.
[[gnu::always_inline]] inline void PrefetchText(const std::string& text) {
    // The line of the first byte, then the start of each line after it.
    constexpr std::size_t kLine = 64;
    const char* const data = text.data();
    __builtin_prefetch(data);
    for (std::size_t at = kLine - reinterpret_cast<std::uintptr_t>(data) % kLine; at < text.size(); at += kLine)
        __builtin_prefetch(data + at);
}
#else
inline void PrefetchText(const std::string&) {}
#endif

// Room for a comma and any int.
constexpr std::size_t kMaxIntItem = 1 + 11;

// Most numbers of a project are flags and small counts: those are written
// without the general conversion.
inline char* WriteInt(char* d, int value) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    const auto v = static_cast<unsigned>(value);
    if (v < 10) {
        *d = static_cast<char>('0' + v);
        return d + 1;
    }
    if (v < 100) {
        std::memcpy(d, kPairs + std::size_t{2} * v, 2);
        return d + 2;
    }
    if (v < 1000) {
        *d = static_cast<char>('0' + v / 100);
        std::memcpy(d + 1, kPairs + std::size_t{2} * (v % 100), 2);
        return d + 3;
    }
    return std::to_chars(d, d + kMaxIntItem, value).ptr;
}

// A number after a comma unless it is the first item of its array, written
// straight into room made before.
inline void AppendNumberItem(OutBuffer& buffer, bool first, int value) {
    char* d = buffer.end();
    *d = ',';
    buffer.SetEnd(WriteInt(d + !first, value));
}

// The items of every array but MTM, each array's comma-separated.
struct ArrayItems {
    OutBuffer MTC, MTCH, MX, MY, MW, CO, CC, CM, MA, FL, OO, AN, AE;
};

// Empties the buffers of texts, and of numbers with the room for `count`
// of them made, which are then written straight.
void ClearItems(std::initializer_list<OutBuffer*> texts, std::initializer_list<OutBuffer*> numbers, std::size_t count) {
    for (OutBuffer* buffer : texts) buffer->Clear();
    for (OutBuffer* buffer : numbers) {
        buffer->Clear();
        buffer->Reserve(count * kMaxIntItem);
    }
}

// The arrays before MTM and those after it are each gathered in one pass
// over the entries. The entries are large: fetching tens of thousands of
// them once per array would cost more than the writing.
void GatherLeadingItems(ArrayItems& items, const ProjectModel& model) {
    const std::size_t count = model.entries.size();
    ClearItems({&items.MTC}, {&items.MTCH}, count);
    for (std::size_t i = 0; i < count; ++i) {
        const MenuEntry& e = model.entries[i];
        if (i + kPrefetchAhead < count) PrefetchText(model.entries[i + kPrefetchAhead].MTC);
        AppendListItem(items.MTC, i == 0, e.MTC);
        AppendNumberItem(items.MTCH, i == 0, e.MTCH);
    }
}

void GatherTrailingItems(ArrayItems& items, const ProjectModel& model) {
    const std::size_t count = model.entries.size();
    ClearItems({&items.CO, &items.CC, &items.CM, &items.AE},
               {&items.MX, &items.MY, &items.MW, &items.MA, &items.FL, &items.OO, &items.AN}, count);
    bool first = true;
    auto number = [&first](OutBuffer& buffer, int value) { AppendNumberItem(buffer, first, value); };
    auto text = [&first](OutBuffer& buffer, const std::string& value) { AppendListItem(buffer, first, value); };
    for (const MenuEntry& e : model.entries) {
        number(items.MX, e.MX);
        number(items.MY, e.MY);
        number(items.MW, e.MW);
        text(items.CO, WrittenColor(e, &MenuEntry::CO));
        text(items.CC, WrittenColor(e, &MenuEntry::CC));
        text(items.CM, WrittenColor(e, &MenuEntry::CM));
        number(items.MA, e.MA);
        number(items.FL, e.FL);
        number(items.OO, e.OO);
        number(items.AN, e.AN);
        text(items.AE, e.AE);
        first = false;
    }
}

// From this many menus on, the arrays after MTM are gathered on a second
// thread while this one writes the panels, which take most of the time.
constexpr std::size_t kTrailingAsideFrom = 2500;

// Gathers the arrays after MTM, on a second thread for a large project; the
// future is then to be waited for, and otherwise there is none.
std::future<void> GatherTrailingItemsAside(ArrayItems& items, const ProjectModel& model) {
    if (model.entries.size() >= kTrailingAsideFrom) {
        try {
            return std::async(std::launch::async, [&items, &model] { GatherTrailingItems(items, model); });
        } catch (const std::system_error&) { // no thread to be had: gathered here
        }
    }
    GatherTrailingItems(items, model);
    return {};
}

// The data part into `out`, every line followed by CR LF. When `lineEnds` is
// given it receives the offset of each line's terminating CR LF.
void AppendDataPart(OutBuffer& out, ProjectModel& model, ScriptMode mode, const CaptionSwapCallback& onCaptionSwap,
                    std::vector<std::size_t>* lineEnds, ScriptChunks* stream = nullptr) {
    ApplyDefaultCaptionSwap(model, onCaptionSwap);
    const ProjectSettings& s = model.settings;
    auto endLine = [&] {
        if (lineEnds) lineEnds->push_back(out.size());
        out.append(kCrLf);
        if (stream) stream->Pass(out.view());
    };
    auto fixedLine = [&](std::string_view line) {
        out.append(line);
        endLine();
    };

    fixedLine("RarurAVI_Ver = \"1.00\";");
    fixedLine("");

    // The settings texts go between quotes unescaped, as the settings dialog
    // leaves them: no quotes, no backslash but the one that continues a line
    // break. A model that holds anything else is written as if it did not.
    const ProjectSettings clean = WithCleanSettingTexts(s);
    std::string line = "var cDefCap=\"" + ColorToHtml(s.cDefCap) + "\", fDefCap=\"" + clean.fDefCap + "\", fDefCapS=";
    AppendInt(line, s.fDefCapS);
    line += ", cDefMenu=\"" + ColorToHtml(s.cDefMenu) + "\", fDefMenu=\"" + clean.fDefMenu + "\", fDefMenuS=";
    AppendInt(line, s.fDefMenuS);
    line += ", PRJ_sTemplate=\"" + clean.PRJ_sTemplate + "\";";
    AppendNormalized(out, line);
    out.NoteText(line);
    endLine();

    // The class rules reach the runtime as one text; only browsers of the
    // layer model write it into the page.
    fixedLine("layerStyle('\\");
    fixedLine("<style type=\"text/css\">\\");
    fixedLine(
        ".clCap {cursor:hand; text-decoration:none; color:'+cDefCap+'; font-family:\"'+fDefCap+'\"; "
        "font-size:'+fDefCapS+'pt;}\\");
    fixedLine(
        ".clMenu {text-decoration:none; color:'+cDefMenu+'; font-family:\"'+fDefMenu+'\"; "
        "font-size:'+fDefMenuS+'pt;}\\");
    fixedLine("');");

    out.append("var numOfMenus=");
    AppendInt(out, model.numOfMenus());
    out.append(",scrIN=");
    AppendInt(out, s.scrIN);
    out.append(",scrOUT=");
    AppendInt(out, s.scrOUT);
    out.append(mode == ScriptMode::Preview ? ",IDE=1" : ",IDE=0");
    out.append(",iSelectedMenu=");
    AppendInt(out, model.iSelectedMenu);
    out.append(",errs=\"\",old_pageYOffset=0,widthChk,heightChk;");
    endLine();
    // The button's text is the page author's, quoted as captions are.
    out.append("var cmpW=");
    AppendInt(out, s.cmpW);
    out.append(", cmpL=");
    AppendQuoted(out, s.cmpL);
    out.append(", cmpX=");
    AppendInt(out, s.cmpX);
    out.append(", cmpY=");
    AppendInt(out, s.cmpY);
    out += ';';
    endLine();
    fixedLine("var PR = new Array (numOfMenus);");

    thread_local ArrayItems items; // kept between writes, like the script's own buffer
    std::future<void> trailing = GatherTrailingItemsAside(items, model);
    GatherLeadingItems(items, model);
    auto array = [&](const char* opening, const OutBuffer& itemsOfArray, bool numbers) {
        out.append(opening);
        out.append(itemsOfArray);
        // new Array(n) with one number would make an empty array of length n.
        if (numbers && model.numOfMenus() == 1) out.append(",0");
        out.append(");");
        endLine();
    };
    array("var MTC = new Array (", items.MTC, false);
    array("var MTCH = new Array (", items.MTCH, true);

    out.append("var MTM = new Array (");
    bool first = true;
    for (std::size_t i = 0; i < model.entries.size(); ++i) {
        const MenuEntry& e = model.entries[i];
        if (i + kPrefetchAhead < model.entries.size()) PrefetchText(model.entries[i + kPrefetchAhead].MTM);
        if (WrapsMenuHtml(e))
            AppendListItem(out, first, e.MTM, kNoBreakOpen, kNoBreakClose);
        else
            AppendListItem(out, first, e.MTM);
        first = false;
        if (stream && i % 256 == 255) stream->Pass(out.view()); // the longest line by far
    }
    out.append(");");
    endLine();

    if (trailing.valid()) trailing.get();
    array("var MX = new Array (", items.MX, true);
    array("var MY = new Array (", items.MY, true);
    array("var MW = new Array (", items.MW, true);
    array("var CO = new Array (", items.CO, false);
    array("var CC = new Array (", items.CC, false);
    array("var CM = new Array (", items.CM, false);
    array("var MA = new Array (", items.MA, true);
    array("var FL = new Array (", items.FL, true);
    array("var OO = new Array (", items.OO, true);
    array("var AN = new Array (", items.AN, true);
    array("var AE = new Array (", items.AE, false);
}

std::size_t EstimateDataPartSize(const ProjectModel& model) {
    std::size_t size = 1024 + model.settings.cmpL.size() * kMaxEncodedGrowth;
    std::size_t longest = 0;
    for (const MenuEntry& e : model.entries) {
        size += e.MTC.size() + e.MTM.size() + e.CO.size() + e.CC.size() + e.CM.size() + e.AE.size() + 104;
        longest = std::max({longest, e.MTC.size(), e.MTM.size()});
    }
    // Room for the escapes, and for the worst case of the longest text.
    return size + size / 8 + longest * kMaxEncodedGrowth;
}

// Whether the data part built into `out` from `dataStart` on needs the mark.
bool DataPartNeedsMark(const OutBuffer& out, std::size_t dataStart) {
    return !out.TextsAreAscii() && NeedsUtf8Mark(std::string_view(out.data() + dataStart, out.size() - dataStart));
}

// Returns where the script starts in `out`: the UTF-8 mark is written in
// front and kept only when the project's texts need it, which is known once
// the data part is built.
std::size_t BuildScriptInto(OutBuffer& out, ProjectModel& model, ScriptMode mode,
                            const CaptionSwapCallback& onCaptionSwap, ScriptChunks* stream = nullptr) {
    const bool preview = mode == ScriptMode::Preview;
    out.Reserve(kUtf8ByteOrderMark.size() + BannerText().size() + EstimateDataPartSize(model) + RuntimeText().size() +
                (preview ? AddonText().size() : 0));
    out.append(kUtf8ByteOrderMark);
    out.append(BannerText());
    const std::size_t dataStart = out.size();
    AppendDataPart(out, model, mode, onCaptionSwap, nullptr, stream);
    const bool marked = DataPartNeedsMark(out, dataStart);
    out.append(RuntimeText());
    if (preview) out.append(AddonText());
    return marked ? 0 : kUtf8ByteOrderMark.size();
}

} // namespace

const char* ExchangedDefaultCaption(const MenuEntry& entry) {
    static constexpr std::string_view kHorizontal = kDefaultCaption;
    static constexpr std::string_view kVertical = kVerticalDefaultCaption;
    const std::string_view caption = entry.MTC; // compared for every entry: lengths first
    if (entry.OO == 0 && caption == kVertical) return kDefaultCaption;
    if (entry.OO == 1 && caption == kHorizontal) return kVerticalDefaultCaption;
    return nullptr;
}

bool WrapsMenuHtml(const MenuEntry& entry) {
    // Vertical panels slide out as one strip, so their content must not wrap.
    return entry.OO != 0 && !std::string_view(entry.MTM).starts_with(kNoBreakOpen);
}

std::vector<EntryItem> EntryScriptItems(const MenuEntry& e) {
    const char* caption = ExchangedDefaultCaption(e);
    std::vector<EntryItem> items;
    items.reserve(14);
    auto number = [&items](const char* array, int value) { items.push_back({array, false, value, {}}); };
    auto text = [&items](const char* array, std::string value) { items.push_back({array, true, 0, std::move(value)}); };
    // In the order of the data part's arrays.
    text("MTC", caption ? std::string(caption) : e.MTC);
    number("MTCH", e.MTCH);
    text("MTM", WrapsMenuHtml(e) ? std::string(kNoBreakOpen) + e.MTM + std::string(kNoBreakClose) : e.MTM);
    number("MX", e.MX);
    number("MY", e.MY);
    number("MW", e.MW);
    text("CO", WrittenColor(e, &MenuEntry::CO));
    text("CC", WrittenColor(e, &MenuEntry::CC));
    text("CM", WrittenColor(e, &MenuEntry::CM));
    number("MA", e.MA);
    number("FL", e.FL);
    number("OO", e.OO);
    number("AN", e.AN);
    text("AE", e.AE);
    return items;
}

std::string EncodeJsString(const std::string& text) {
    OutBuffer out;
    out.Reserve(text.size() * kMaxEncodedGrowth + textcodec::kSlack);
    out.SetEnd(out.Encode(out.end(), text));
    return out.str();
}

std::string NormalizeTextLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32 + 2);
    AppendTextLines(out, text);
    return out;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string out;
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    out.reserve(size);
    for (const std::string& line : lines) {
        AppendNormalized(out, line);
        out.append(kCrLf);
    }
    return out;
}

std::vector<std::string> BuildDataPart(ProjectModel& model, ScriptMode mode, const CaptionSwapCallback& onCaptionSwap) {
    OutBuffer text;
    std::vector<std::size_t> lineEnds;
    AppendDataPart(text, model, mode, onCaptionSwap, &lineEnds);
    std::vector<std::string> lines;
    lines.reserve(lineEnds.size());
    std::size_t start = 0;
    for (std::size_t end : lineEnds) {
        lines.emplace_back(text.data() + start, end - start);
        start = end + kCrLf.size();
    }
    return lines;
}

std::string BuildProjectScript(ProjectModel& model, ScriptMode mode, const CaptionSwapCallback& onCaptionSwap) {
    OutBuffer out;
    const std::size_t start = BuildScriptInto(out, model, mode, onCaptionSwap);
    return std::string(out.data() + start, out.size() - start);
}

bool ScriptCarriesUtf8Mark(const ProjectModel& model) {
    ProjectModel written = model; // the writer exchanges default captions in what it writes
    OutBuffer out;
    AppendDataPart(out, written, ScriptMode::Preview, {}, nullptr);
    return DataPartNeedsMark(out, 0);
}

void WriteFileReplacing(const std::string& path, const std::string& text) {
    WriteBytesReplacing(path, text, Flush::ToDisk);
}

void WriteProjectScript(ProjectModel& model, ScriptMode mode, const CaptionSwapCallback& onCaptionSwap, Flush flush) {
    // Without a project folder the script would land in the working folder.
    if (model.projectFolder.empty()) throw CannotCreateFile(kScriptFileName);
    // The buffer stays between writes: the editor writes the same project
    // again and again, and fresh megabytes cost a page fault every 4 KB.
    thread_local OutBuffer text;
    text.Clear();
    if (!PathExists(model.projectFolder)) {
        std::error_code ignored; // a failure shows up as the write's own error
        std::filesystem::create_directory(StripTrailingBackslash(model.projectFolder), ignored);
    }
    ReplaceFile(model.ScriptPath(), flush, [&](std::FILE* file, const std::filesystem::path& temporary) {
        return StreamGuessingMark(file, temporary, kUtf8ByteOrderMark.size(), [&](ScriptChunks& chunks) {
            const std::size_t start = BuildScriptInto(text, model, mode, onCaptionSwap, &chunks);
            return BuiltScript{text.view(), start};
        });
    });
    const std::string page = model.TemplatePath();
    if (!FileExists(page)) WriteBytesReplacing(page, JoinLinesCrLf(DefaultPageLines()), flush);
}

} // namespace didad
