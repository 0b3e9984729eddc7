#include "model/ScriptWriter.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>

#include "model/Errors.h"
#include "model/ValueHelpers.h"
#include "runtime/PageTexts.h"

namespace didad {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kNoBreakOpen = "<nObR>";
constexpr std::string_view kNoBreakClose = "</nObR>";

// Appends `text` with every line break (CR LF, lone CR, lone LF) as CR LF.
void AppendNormalized(std::string& out, std::string_view text) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        out.append(text.data() + runStart, i - runStart);
        out.append(kCrLf);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        runStart = i + 1;
    }
    out.append(text.data() + runStart, text.size() - runStart);
}

void AppendLine(std::string& out, std::string_view line) {
    AppendNormalized(out, line);
    out.append(kCrLf);
}

// A fixed text copied line by line: every line, the last one included, ends
// with CR LF; a final line break does not start another line.
void AppendTextLines(std::string& out, std::string_view text) {
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

// Which bytes EncodeJsString has to look at; everything else is copied in runs.
constexpr std::array<bool, 256> kSpecial = [] {
    std::array<bool, 256> table{};
    table[static_cast<unsigned char>('\\')] = true;
    table[static_cast<unsigned char>('"')] = true;
    table[static_cast<unsigned char>('\r')] = true;
    table[static_cast<unsigned char>('\n')] = true;
    return table;
}();

void AppendEncoded(std::string& out, std::string_view text) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!kSpecial[static_cast<unsigned char>(c)]) continue;
        out.append(text.data() + runStart, i - runStart);
        switch (c) {
        case '\\': out.append("\\\\"); break;
        case '"': out.append("\\\""); break;
        default:
            // A line break continues the string literal on the next line of
            // the file. A lone CR or LF is taken as CR LF: written bare, it
            // would end the literal and break the whole script.
            out.append("\\\r\n");
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        }
        runStart = i + 1;
    }
    out.append(text.data() + runStart, text.size() - runStart);
}

void AppendInt(std::string& out, long long value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// Colour strings are encoded too. A proper colour ("#RRGGBB", "transparent")
// comes out unchanged; one taken from a hand-edited file may hold a quote or
// a backslash, which written bare would end the literal early, break the
// page's script and shift every later value when the project is read back.
void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    AppendEncoded(out, text);
    out += '"';
}

// Swaps "Caption" and its upright form wherever the orientation no longer
// matches, telling the editor when the selected entry's caption changed.
void ApplyDefaultCaptionSwap(ProjectModel& model, const CaptionSwapCallback& onSelectedCaptionSwap) {
    for (int i = 0; i < model.numOfMenus(); ++i) {
        MenuEntry& entry = model.entries[static_cast<std::size_t>(i)];
        const char* replacement = nullptr;
        if (entry.OO == 0 && entry.MTC == kVerticalDefaultCaption) replacement = kDefaultCaption;
        else if (entry.OO == 1 && entry.MTC == kDefaultCaption) replacement = kVerticalDefaultCaption;
        if (!replacement) continue;
        entry.MTC = replacement;
        if (i == model.iSelectedMenu && onSelectedCaptionSwap) onSelectedCaptionSwap(i, entry.MTC);
    }
}

template <typename Field>
void AppendIntArray(std::string& out, const char* opening, const ProjectModel& model, Field field) {
    out.append(opening);
    bool first = true;
    for (const MenuEntry& entry : model.entries) {
        if (!first) out += ',';
        first = false;
        AppendInt(out, field(entry));
    }
    // new Array(n) with one number would make an empty array of length n.
    if (model.numOfMenus() == 1) out.append(",0");
    out.append(");");
}

template <typename Append>
void AppendTextArray(std::string& out, const char* opening, const ProjectModel& model, Append append) {
    out.append(opening);
    bool first = true;
    for (const MenuEntry& entry : model.entries) {
        if (!first) out += ',';
        first = false;
        append(entry);
    }
    out.append(");");
}

// The data part into `out`, every line followed by CR LF. When `lineEnds` is
// given it receives the offset of each line's terminating CR LF.
void AppendDataPart(std::string& out, ProjectModel& model, ScriptMode mode,
                    const CaptionSwapCallback& onSelectedCaptionSwap,
                    std::vector<std::size_t>* lineEnds) {
    ApplyDefaultCaptionSwap(model, onSelectedCaptionSwap);
    const ProjectSettings& s = model.settings;
    auto endLine = [&] {
        if (lineEnds) lineEnds->push_back(out.size());
        out.append(kCrLf);
    };
    auto fixedLine = [&](std::string_view line) {
        out.append(line);
        endLine();
    };

    fixedLine("RarurAVI_Ver = \"1.00\";");
    fixedLine("");

    // The settings texts go between quotes unescaped: they never hold quotes.
    std::string line = "var cDefCap=\"" + ColorToHtml(s.cDefCap) + "\", fDefCap=\"" + s.fDefCap +
                       "\", fDefCapS=";
    AppendInt(line, s.fDefCapS);
    line += ", cDefMenu=\"" + ColorToHtml(s.cDefMenu) + "\", fDefMenu=\"" + s.fDefMenu + "\", fDefMenuS=";
    AppendInt(line, s.fDefMenuS);
    line += ", PRJ_sTemplate=\"" + s.PRJ_sTemplate + "\";";
    AppendNormalized(out, line);
    endLine();

    fixedLine("document.write('\\");
    fixedLine("<style type=\"text/css\">\\");
    fixedLine(".clCap {cursor:hand; text-decoration:none; color:'+cDefCap+'; font-family:\"'+fDefCap+'\"; "
              "font-size:'+fDefCapS+'pt;}\\");
    fixedLine(".clMenu {text-decoration:none; color:'+cDefMenu+'; font-family:\"'+fDefMenu+'\"; "
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
    fixedLine("var PR = new Array (numOfMenus);");

    AppendTextArray(out, "var MTC = new Array (", model, [&](const MenuEntry& e) {
        out += '"';
        AppendEncoded(out, e.MTC);
        out += '"';
    });
    endLine();
    AppendIntArray(out, "var MTCH = new Array (", model, [](const MenuEntry& e) { return e.MTCH; });
    endLine();
    AppendTextArray(out, "var MTM = new Array (", model, [&](const MenuEntry& e) {
        // Vertical panels slide out as one strip, so their content must not wrap.
        const bool wrap = e.OO != 0 && !std::string_view(e.MTM).starts_with(kNoBreakOpen);
        out += '"';
        if (wrap) out.append(kNoBreakOpen);
        AppendEncoded(out, e.MTM);
        if (wrap) out.append(kNoBreakClose);
        out += '"';
    });
    endLine();
    AppendIntArray(out, "var MX = new Array (", model, [](const MenuEntry& e) { return e.MX; });
    endLine();
    AppendIntArray(out, "var MY = new Array (", model, [](const MenuEntry& e) { return e.MY; });
    endLine();
    AppendIntArray(out, "var MW = new Array (", model, [](const MenuEntry& e) { return e.MW; });
    endLine();
    AppendTextArray(out, "var CO = new Array (", model, [&](const MenuEntry& e) { AppendQuoted(out, e.CO); });
    endLine();
    AppendTextArray(out, "var CC = new Array (", model, [&](const MenuEntry& e) { AppendQuoted(out, e.CC); });
    endLine();
    AppendTextArray(out, "var CM = new Array (", model, [&](const MenuEntry& e) { AppendQuoted(out, e.CM); });
    endLine();
    AppendIntArray(out, "var MA = new Array (", model, [](const MenuEntry& e) { return e.MA; });
    endLine();
    AppendIntArray(out, "var FL = new Array (", model, [](const MenuEntry& e) { return e.FL; });
    endLine();
    AppendIntArray(out, "var OO = new Array (", model, [](const MenuEntry& e) { return e.OO; });
    endLine();
}

std::size_t EstimateDataPartSize(const ProjectModel& model) {
    std::size_t size = 1024;
    for (const MenuEntry& e : model.entries)
        size += e.MTC.size() + e.MTM.size() + e.CO.size() + e.CC.size() + e.CM.size() + 96;
    return size + size / 16;
}

std::string RandomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix;
    for (int i = 0; i < 10; ++i) suffix += kDigits[generator() % 36];
    return suffix;
}

} // namespace

std::string EncodeJsString(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    AppendEncoded(out, text);
    return out;
}

std::string NormalizeTextLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    AppendTextLines(out, text);
    return out;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string out;
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    out.reserve(size);
    for (const std::string& line : lines) AppendLine(out, line);
    return out;
}

std::vector<std::string> BuildDataPart(ProjectModel& model, ScriptMode mode,
                                       const CaptionSwapCallback& onSelectedCaptionSwap) {
    std::string text;
    text.reserve(EstimateDataPartSize(model));
    std::vector<std::size_t> lineEnds;
    AppendDataPart(text, model, mode, onSelectedCaptionSwap, &lineEnds);
    std::vector<std::string> lines;
    lines.reserve(lineEnds.size());
    std::size_t start = 0;
    for (std::size_t end : lineEnds) {
        lines.emplace_back(text, start, end - start);
        start = end + kCrLf.size();
    }
    return lines;
}

std::string BuildProjectScript(ProjectModel& model, ScriptMode mode,
                               const CaptionSwapCallback& onSelectedCaptionSwap) {
    const bool preview = mode == ScriptMode::Preview;
    std::string out;
    out.reserve(BannerText().size() + EstimateDataPartSize(model) + RuntimeText().size() +
                (preview ? AddonText().size() : 0));
    out.append(BannerText());
    AppendDataPart(out, model, mode, onSelectedCaptionSwap, nullptr);
    out.append(RuntimeText());
    if (preview) out.append(AddonText());
    return out;
}

void WriteFileReplacing(const std::string& path, const std::string& text) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string base = "." + target.filename().string() + ".";

    std::FILE* file = nullptr;
    fs::path temporary;
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        temporary = folder / (base + RandomSuffix() + ".tmp");
        file = std::fopen(temporary.string().c_str(), "wbx"); // fails if the name is taken
        if (!file && errno != EEXIST) break;
    }
    if (!file) throw CannotCreateFile(path);

    bool ok = text.empty() || std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    std::error_code ec;
    if (ok) fs::rename(temporary, target, ec);
    if (!ok || ec) {
        fs::remove(temporary, ec);
        throw CannotCreateFile(path);
    }
}

void WriteProjectScript(ProjectModel& model, ScriptMode mode,
                        const CaptionSwapCallback& onSelectedCaptionSwap) {
    // Without a project folder the script would land in the working folder.
    if (model.projectFolder.empty()) throw CannotCreateFile(kScriptFileName);
    const std::string text = BuildProjectScript(model, mode, onSelectedCaptionSwap);
    if (!PathExists(model.projectFolder)) {
        std::error_code ignored; // a failure shows up as the write's own error
        std::filesystem::create_directory(StripTrailingBackslash(model.projectFolder), ignored);
    }
    WriteFileReplacing(model.ScriptPath(), text);
    const std::string page = model.TemplatePath();
    if (!FileExists(page)) WriteFileReplacing(page, JoinLinesCrLf(DefaultPageLines()));
}

} // namespace didad
