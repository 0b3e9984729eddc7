#include "model/ScriptWriter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string_view>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include "model/ByteScan.h"
#include "model/DiskSync.h"
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
constexpr std::string_view kNoBreakOpen = "<nObR>";
constexpr std::string_view kNoBreakClose = "</nObR>";

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
        return textcodec::Encode(text.data(), text.data() + text.size(), d, textHighBits_);
    }

    // Whether every text encoded into the buffer, or noted or merged with
    // another buffer, is ASCII: the script then needs no UTF-8 mark, and
    // the megabytes need no check.
    bool TextsAreAscii() const { return (textHighBits_ & 0x80) == 0; }
    void NoteText(std::string_view text) {
        if (!IsAscii(text)) textHighBits_ |= 0x80;
    }

    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    void Clear() {
        size_ = 0;
        textHighBits_ = 0;
    }
    std::string str() const { return std::string(data_.get(), size_); }

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

// Hands a script's bytes to its file while the rest is still being built,
// a chunk at a time, and has the system start writing each chunk to the
// disk at once: the disk is busy with the first megabytes while the rest is
// encoded, and the rename at the end waits for less.
class ScriptStream {
public:
    // The first `skip` bytes of `out` are not the file's.
    ScriptStream(std::FILE* file, const OutBuffer& out, std::size_t skip)
        : file_(file), out_(out), skip_(skip), passed_(skip) {}
    std::size_t Skipped() const { return skip_; }
    // Writes what `out` holds beyond the last chunk once that is a chunk's
    // worth, or whatever it is with `all`.
    void Pass(bool all = false) {
        const std::size_t ready = out_.size() - passed_;
        if (!failure_.empty() || ready == 0 || (!all && ready < kChunk)) return;
        if (std::fwrite(out_.data() + passed_, 1, ready, file_) != ready) {
            failure_ = SystemReason(errno);
            return;
        }
        StartWritingToDisk(file_, passed_ - skip_, ready);
        passed_ += ready;
    }
    // Why a write failed; empty while none has.
    const std::string& Failure() const { return failure_; }

private:
    static constexpr std::size_t kChunk = std::size_t{512} * 1024;
    std::FILE* file_;
    const OutBuffer& out_;
    std::size_t skip_, passed_;
    std::string failure_;
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

// The longest an encoded text can get: a lone LF becomes backslash CR LF.
constexpr std::size_t kMaxEncodedGrowth = 3;

// `text` encoded between quotes, inside `open` and `close` when given, after
// a comma unless it is the first item of its array. The room for the whole
// item is made at once. Colours are encoded too: a proper one ("#RRGGBB",
// "transparent") comes out unchanged; one taken from a hand-edited file may
// hold a quote or a backslash, which written bare would end the literal
// early, break the page's script and shift every later value when the
// project is read back.
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

// The items of every array but MTM, each array's comma-separated, gathered
// in one pass over the entries. The entries are large: fetching tens of
// thousands of them once per array would cost more than the writing.
struct ArrayItems {
    OutBuffer MTC, MTCH, MX, MY, MW, CO, CC, CM, MA, FL, OO, AN, AE;
};

void GatherArrayItems(ArrayItems& items, const ProjectModel& model) {
    const std::array numbers = {&items.MTCH, &items.MX, &items.MY, &items.MW,
                                &items.MA,   &items.FL, &items.OO, &items.AN};
    for (OutBuffer* buffer : {&items.MTC, &items.CO, &items.CC, &items.CM, &items.AE}) buffer->Clear();
    for (OutBuffer* buffer : numbers) {
        buffer->Clear();
        buffer->Reserve(model.entries.size() * kMaxIntItem); // written straight from here on
    }
    bool first = true;
    auto number = [&first](OutBuffer& buffer, int value) { AppendNumberItem(buffer, first, value); };
    auto text = [&first](OutBuffer& buffer, const std::string& value) { AppendListItem(buffer, first, value); };
    const std::size_t count = model.entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        const MenuEntry& e = model.entries[i];
        if (i + kPrefetchAhead < count) PrefetchText(model.entries[i + kPrefetchAhead].MTC);
        text(items.MTC, e.MTC);
        number(items.MTCH, e.MTCH);
        number(items.MX, e.MX);
        number(items.MY, e.MY);
        number(items.MW, e.MW);
        text(items.CO, e.CO);
        text(items.CC, e.CC);
        text(items.CM, e.CM);
        number(items.MA, e.MA);
        number(items.FL, e.FL);
        number(items.OO, e.OO);
        number(items.AN, e.AN);
        text(items.AE, e.AE);
        first = false;
    }
}

// The data part into `out`, every line followed by CR LF. When `lineEnds` is
// given it receives the offset of each line's terminating CR LF.
void AppendDataPart(OutBuffer& out, ProjectModel& model, ScriptMode mode, const CaptionSwapCallback& onCaptionSwap,
                    std::vector<std::size_t>* lineEnds, ScriptStream* stream = nullptr) {
    ApplyDefaultCaptionSwap(model, onCaptionSwap);
    const ProjectSettings& s = model.settings;
    auto endLine = [&] {
        if (lineEnds) lineEnds->push_back(out.size());
        out.append(kCrLf);
        if (stream) stream->Pass();
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
    GatherArrayItems(items, model);
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
        if (stream && i % 256 == 255) stream->Pass(); // the longest line by far
    }
    out.append(");");
    endLine();

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

// Returns where the script starts in `out`: the UTF-8 mark is written in
// front and kept only when the project's texts need it, which is known once
// the data part is built.
std::size_t BuildScriptInto(OutBuffer& out, ProjectModel& model, ScriptMode mode,
                            const CaptionSwapCallback& onCaptionSwap, ScriptStream* stream = nullptr) {
    const bool preview = mode == ScriptMode::Preview;
    out.Reserve(kUtf8ByteOrderMark.size() + BannerText().size() + EstimateDataPartSize(model) + RuntimeText().size() +
                (preview ? AddonText().size() : 0));
    out.append(kUtf8ByteOrderMark);
    out.append(BannerText());
    const std::size_t dataStart = out.size();
    AppendDataPart(out, model, mode, onCaptionSwap, nullptr, stream);
    const bool marked =
        !out.TextsAreAscii() && NeedsUtf8Mark(std::string_view(out.data() + dataStart, out.size() - dataStart));
    out.append(RuntimeText());
    if (preview) out.append(AddonText());
    return marked ? 0 : kUtf8ByteOrderMark.size();
}

std::string RandomSuffix() {
    // One per thread: the editor saves from a thread of its own while it writes.
    thread_local std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix;
    for (int i = 0; i < 10; ++i) suffix += kDigits[generator() % 36];
    return suffix;
}

// Writes a new file's bytes into the open, unbuffered `file`, the temporary
// file at `temporary`; the system's reason on failure, else empty.
using FileFiller = std::function<std::string(std::FILE* file, const std::filesystem::path& temporary)>;

// The bytes go to a temporary file beside `path`, which is then renamed over
// it: a write that fails leaves the old file as it was. Flushed, the new file
// is on the disk before the rename and the rename is once the folder is.
void ReplaceFile(const std::string& path, Flush flush, const FileFiller& fill) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // Built by appending: GCC 12 warns falsely (-Wrestrict) on the operator+ chain.
    std::string base = ".";
    base += target.filename().string();
    base += '.';

    std::FILE* file = nullptr;
    fs::path temporary;
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        temporary = folder / (base + RandomSuffix() + ".tmp");
        file = std::fopen(temporary.string().c_str(), "wbx"); // fails if the name is taken
        if (!file && errno != EEXIST) break;
    }
    if (!file) throw CannotCreateFile(path, SystemReason(errno));

    // Unbuffered, each write goes out in one system call rather than
    // block-sized ones and the remainder.
    std::setvbuf(file, nullptr, _IONBF, 0);
    std::string reason;
    std::error_code ec;
    try {
        reason = fill(file, temporary);
    } catch (...) {
        std::fclose(file);
        fs::remove(temporary, ec);
        throw;
    }
    if (reason.empty()) reason = flush == Flush::ToDisk ? SyncFileToDisk(file) : std::string();
    if (std::fclose(file) != 0 && reason.empty()) reason = SystemReason(errno);
    if (reason.empty()) {
        fs::rename(temporary, target, ec);
        if (ec) reason = ec.message();
    }
    if (!reason.empty()) {
        fs::remove(temporary, ec);
        throw CannotCreateFile(path, reason);
    }
    // The new file is in place; a folder that cannot be flushed is reported,
    // as the rename may not outlive a power cut.
    if (flush == Flush::ToDisk) {
        reason = SyncFolderToDisk(folder);
        if (!reason.empty()) throw CannotCreateFile(path, reason);
    }
}

// Builds the script into `out` and writes it into `file` as it goes. Whether
// it starts with the UTF-8 mark is known only once its data part is built;
// it is written as if it began like the last script written on this thread
// (the editor writes the same project again and again), and once more whole
// in the rare case that it does not.
std::string StreamScript(std::FILE* file, const std::filesystem::path& temporary, OutBuffer& out, ProjectModel& model,
                         ScriptMode mode, const CaptionSwapCallback& onCaptionSwap) {
    thread_local bool lastMarked = false;
    ScriptStream stream(file, out, lastMarked ? 0 : kUtf8ByteOrderMark.size());
    const std::size_t start = BuildScriptInto(out, model, mode, onCaptionSwap, &stream);
    lastMarked = start == 0;
    if (start == stream.Skipped()) {
        stream.Pass(true);
        return stream.Failure();
    }
    const std::string_view script(out.data() + start, out.size() - start);
    std::rewind(file);
    if (std::fwrite(script.data(), 1, script.size(), file) != script.size()) return SystemReason(errno);
    std::error_code ec; // three bytes shorter than written when the guessed mark was not wanted
    std::filesystem::resize_file(temporary, script.size(), ec);
    return ec ? ec.message() : std::string();
}

void WriteBytesReplacing(const std::string& path, std::string_view bytes, Flush flush) {
    ReplaceFile(path, flush, [bytes](std::FILE* file, const std::filesystem::path&) {
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
            return SystemReason(errno);
        return std::string();
    });
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
    text("CO", e.CO);
    text("CC", e.CC);
    text("CM", e.CM);
    number("MA", e.MA);
    number("FL", e.FL);
    number("OO", e.OO);
    number("AN", e.AN);
    text("AE", e.AE);
    return items;
}

std::string EncodeJsLiteral(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() + text.size() / 4 + 2);
    auto unit = [&out](unsigned value) {
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
    };
    out += '"';
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            // A line break of the file continues the literal: it is no part of the text.
            if (c == '\r' || c == '\n') continue;
            if (c == '"' || c == '\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c < 0x20 || c == 0x7F || c == '<') {
                // "<" too: no "</script>" or "<!--" can end a script block around the literal.
                out += "\\x";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out += static_cast<char>(c);
            }
            continue;
        }
        const std::size_t length = Utf8SequenceAt(text, i);
        if (length == 0) {
            // A byte that is no UTF-8 shows as the editor's boxes show it.
            unit(0xFFFD);
            ++i;
            continue;
        }
        unsigned code = c & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            unit(0xD800 + (code >> 10));
            unit(0xDC00 + (code & 0x3FF));
        } else {
            unit(code);
        }
    }
    out += '"';
    return out;
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

void WriteFileReplacing(const std::string& path, const std::string& text) {
    WriteBytesReplacing(path, text, Flush::ToDisk);
}

void WriteFileInPlaceOf(const std::string& path, const std::string& text) {
    struct stat old {};
    if (::stat(path.c_str(), &old) != 0) {
        WriteFileReplacing(path, text);
        return;
    }
    ReplaceFile(path, Flush::ToDisk, [&](std::FILE* file, const std::filesystem::path&) {
        const int fd = fileno(file);
        // The owner first: a change of owner may clear the mode's set-id bits.
        // Only the owner's administrator may give a file away; the group
        // the user belongs to is kept even then.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            if (errno != EPERM) return SystemReason(errno);
            if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0 && errno != EPERM) return SystemReason(errno);
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0) return SystemReason(errno);
        if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size()) return SystemReason(errno);
        return std::string();
    });
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
        return StreamScript(file, temporary, text, model, mode, onCaptionSwap);
    });
    const std::string page = model.TemplatePath();
    if (!FileExists(page)) WriteBytesReplacing(page, JoinLinesCrLf(DefaultPageLines()), flush);
}

} // namespace didad
