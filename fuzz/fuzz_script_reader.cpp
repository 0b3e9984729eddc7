// Arbitrary bytes as a project script.
//
// Whatever the file holds, opening it must either refuse it (false, or a
// conversion error) and leave the open project untouched, or give a model
// that the writer writes and the reader reads back to the same model, apart
// from what the format itself changes on the way: the selection comes back
// as 0, line breaks come back as CR LF, the default caption follows the
// orientation and a vertical menu loses one no-break wrapper.
//
// Any other outcome aborts, so libFuzzer keeps the input as a crash.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "model/Errors.h"
#include "model/Messages.h"
#include "model/ProjectModel.h"
#include "model/ScriptReader.h"
#include "model/ScriptTexts.h"
#include "model/ScriptWriter.h"
#include "model/TextEncoding.h"

namespace {

using namespace didad;

class CountingMessages : public IMessages {
public:
    int shown = 0;
    std::string last;
    void ShowMessage(const std::string& text) override {
        ++shown;
        last = text;
    }
    bool AskYesNo(const std::string&) override { return false; }
};

[[noreturn]] void Fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    if (!detail.empty()) std::fprintf(stderr, "%s\n", detail.c_str());
    std::abort();
}

const std::string& ScratchPath() {
    static const std::string path = [] {
        const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(dir) + "/didad-fuzz-" + std::to_string(getpid()) + ".js";
    }();
    return path;
}

void WriteBytes(const std::string& path, const char* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
    out.close();
    if (!out) Fail("cannot write the scratch file", path);
}

// The keys of the settings and the header. The reader takes the first
// occurrence of each in the whole file, so a settings text that spells one
// out (a font named "scrIN=5") is read in its place: such models are beyond
// what the format can store, and their round trip is not checked.
const std::vector<std::string>& SettingsKeys() {
    static const std::vector<std::string> keys = {
        "RarurAVI_Ver = \"", "var numOfMenus=", "scrIN=",      "scrOUT=",   "cDefCap=\"",
        "cDefMenu=\"",       "fDefCap=\"",      "fDefMenu=\"", "fDefCapS=", "fDefMenuS=",
        "PRJ_sTemplate=\"",  "cmpW=",           "cmpL=",       "cmpX=",     "cmpY=",
    };
    return keys;
}

// The arrays' keys are looked for after the array before them, so menu HTML
// may hold them; only the settings texts before the arrays must not.
const std::vector<std::string>& ArrayKeys() {
    static const std::vector<std::string> keys = {
        "var MTC = new Array (", "var MTCH = new Array (", "var MTM = new Array (", "var MX = new Array (",
        "var MY = new Array (",  "var MW = new Array (",   "var CO = new Array (",  "var CC = new Array (",
        "var CM = new Array (",  "var MA = new Array (",   "var FL = new Array (",  "var OO = new Array (",
        "var AN = new Array (",  "var AE = new Array (",
    };
    return keys;
}

int Occurrences(const std::string& text, const std::string& key) {
    int count = 0;
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) ++count;
    return count;
}

// CR LF, lone CR and lone LF all become CR LF, as the reader's line split does.
std::string NormaliseLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

// What the second read must give back for a model the writer has just written.
ProjectModel Expected(const ProjectModel& written) {
    ProjectModel expected = written;
    auto& s = expected.settings;
    s.fDefCap = NormaliseLineBreaks(s.fDefCap);
    s.fDefMenu = NormaliseLineBreaks(s.fDefMenu);
    s.PRJ_sTemplate = NormaliseLineBreaks(s.PRJ_sTemplate);
    s.cmpL = NormaliseLineBreaks(s.cmpL);
    for (auto& e : expected.entries) {
        e.MTC = NormaliseLineBreaks(e.MTC);
        e.MTM = NormaliseLineBreaks(e.MTM);
        e.CO = NormaliseLineBreaks(e.CO);
        e.CC = NormaliseLineBreaks(e.CC);
        e.CM = NormaliseLineBreaks(e.CM);
        e.AE = NormaliseLineBreaks(e.AE);
        // The writer wraps every menu that is not horizontal unless its HTML
        // already starts with the wrapper; the reader removes one pair again.
        if (e.OO != 0) e.MTM = StripNoBreakWrapper(e.MTM);
    }
    if (!expected.entries.empty()) expected.iSelectedMenu = 0;
    return expected;
}

std::string Describe(const ProjectModel& a, const ProjectModel& b) {
    if (!(a.settings == b.settings)) return "settings differ";
    if (a.entries.size() != b.entries.size())
        return "entry count " + std::to_string(a.entries.size()) + " vs " + std::to_string(b.entries.size());
    for (std::size_t i = 0; i < a.entries.size(); ++i) {
        const auto& x = a.entries[i];
        const auto& y = b.entries[i];
        if (x == y) continue;
        std::string d = "entry " + std::to_string(i) + ":";
        if (x.MTC != y.MTC) d += " MTC [" + x.MTC + "] vs [" + y.MTC + "]";
        if (x.MTM != y.MTM) d += " MTM [" + x.MTM + "] vs [" + y.MTM + "]";
        if (x.CO != y.CO) d += " CO [" + x.CO + "] vs [" + y.CO + "]";
        if (x.CC != y.CC) d += " CC [" + x.CC + "] vs [" + y.CC + "]";
        if (x.CM != y.CM) d += " CM [" + x.CM + "] vs [" + y.CM + "]";
        if (x.OO != y.OO) d += " OO";
        return d;
    }
    return "selection " + std::to_string(a.iSelectedMenu) + " vs " + std::to_string(b.iSelectedMenu);
}

// The selection of a project without entries means nothing and is not compared.
bool SameProject(const ProjectModel& a, const ProjectModel& b) {
    return a.settings == b.settings && a.entries == b.entries &&
           (a.entries.empty() || a.iSelectedMenu == b.iSelectedMenu);
}

// An open project that a refused file must leave as it is.
ProjectModel OpenProject() {
    ProjectModel model;
    model.projectFolder = "/nonexistent/project";
    model.settings.scrIN = 33;
    model.settings.fDefCap = "Verdana";
    MenuEntry entry;
    entry.MTC = "Open project";
    entry.MX = 77;
    model.entries = {entry, entry};
    model.iSelectedMenu = 1;
    return model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = ScratchPath();
    WriteBytes(path, reinterpret_cast<const char*>(data), size);

    const ProjectModel before = OpenProject();
    ProjectModel model = before;
    CountingMessages messages;
    bool opened = false;
    try {
        opened = ReadProjectScript(path, model, messages);
    } catch (const ConversionError&) {
        if (!SameProject(model, before)) Fail("a conversion error changed the open project");
        return 0;
    } catch (const std::exception& e) {
        Fail("the reader threw something other than a conversion error", e.what());
    }
    if (!opened) {
        if (!SameProject(model, before)) Fail("a refused file changed the open project");
        return 0;
    }
    if (model.numOfMenus() < 0 || model.numOfMenus() > kMaxMenus) Fail("entry count out of bounds");
    if (model.projectFolder != before.projectFolder) Fail("the reader changed the project folder");

    // The writer applies the default-caption swap to the model it writes, so
    // the model to compare with is the one after building the script.
    ProjectModel written = model;
    std::string script;
    std::string head;     // banner and data part
    std::string settings; // banner up to the compact layout's line
    try {
        ProjectModel forHead = model;
        std::vector<std::string> lines = ScriptBannerLines();
        const auto dataPart = BuildDataPart(forHead, ScriptMode::Final);
        if (dataPart.size() != 25) Fail("the data part is not 25 lines");
        // Up to the compact layout's line, the last one of settings.
        lines.insert(lines.end(), dataPart.begin(), dataPart.begin() + 10);
        settings = JoinLinesCrLf(lines);
        lines.insert(lines.end(), dataPart.begin() + 10, dataPart.end());
        head = JoinLinesCrLf(lines);
        script = BuildProjectScript(written, ScriptMode::Final);
    } catch (const std::exception& e) {
        Fail("the writer failed on a model the reader accepted", e.what());
    }
    // Texts in UTF-8 beyond ASCII put the UTF-8 mark before the banner.
    const std::string_view body = SkipUtf8Mark(script);
    if (body.compare(0, head.size(), head) != 0) Fail("the script does not start with banner and data part");

    for (const auto& key : SettingsKeys()) {
        if (Occurrences(settings, key) != 1) return 0;
    }
    for (const auto& key : ArrayKeys()) {
        if (Occurrences(settings, key) != 0) return 0;
    }
    if (Occurrences(settings, "RarurAVI_Ver = \"1.00\";") != 1) return 0;

    WriteBytes(path, script.data(), script.size());
    ProjectModel reread = OpenProject();
    CountingMessages rereadMessages;
    try {
        if (!ReadProjectScript(path, reread, rereadMessages)) Fail("a written script was refused");
    } catch (const std::exception& e) {
        Fail("a written script did not read back", e.what());
    }
    if (rereadMessages.shown != 0) Fail("a written script lacked a key", rereadMessages.last);

    const ProjectModel expected = Expected(written);
    if (!SameProject(reread, expected)) Fail("the model changed on a write and a read", Describe(expected, reread));
    return 0;
}
