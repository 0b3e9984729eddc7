// didad-tool: a command-line driver of the core, for tests, benchmarks and
// anyone checking the file format.
//
//   didad-tool new DIR            new project in DIR, preview script written
//   didad-tool add DIR [COUNT]    read DIR's script, add COUNT menus, preview script
//   didad-tool dump DIR           read DIR's script, print the model as JSON
//   didad-tool write DIR [--final]  model as JSON on standard input -> DIR's script
//   didad-tool publish DIR SITE [--script-dir SUB] [--classic] [--replace] PAGE...
//                                 DIR's final script into SITE, the menus into its pages:
//                                 one deferred line for a page without them, the
//                                 classic pair with --classic; a script in the way
//                                 that DIR did not publish there last is replaced
//                                 only with --replace
//   didad-tool unpublish SITE PAGE...  the menus taken out of SITE's pages
//
// Messages of the reader go to standard error, one per line group. Exit
// status 0 on success, 1 on any failure (for publishing: a page skipped for
// a fault).
#include <algorithm>
#include <array>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/Errors.h"
#include "model/Messages.h"
#include "model/ProjectModel.h"
#include "model/ScriptReader.h"
#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"
#include "workflow/SitePublishing.h"

using nlohmann::json;
using nlohmann::ordered_json; // dump keeps the documented key order

namespace didad {
namespace {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reader messages: CR LF shown as plain line breaks, a line group each.
class StderrMessages : public IMessages {
public:
    void ShowMessage(const std::string& text) override {
        std::string plain;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
            plain += text[i] == '\r' ? '\n' : text[i];
        }
        std::cerr << plain << '\n';
    }
    bool AskYesNo(const std::string& text) override {
        ShowMessage(text);
        return false;
    }
};

constexpr const char* kUsage =
    "usage: didad-tool new DIR\n"
    "       didad-tool add DIR [COUNT]\n"
    "       didad-tool dump DIR\n"
    "       didad-tool write DIR [--final]   (model as JSON on standard input)\n"
    "       didad-tool publish DIR SITE [--script-dir SUB] [--classic] [--replace] PAGE...\n"
    "                  (PAGE: a path inside SITE)\n"
    "       didad-tool unpublish SITE PAGE...\n";

std::string ProjectFolderArg(const std::string& dir) {
    if (dir.empty()) throw UsageError("the project folder must not be empty");
    return StripTrailingBackslash(dir);
}

// Reads DIR's script into `model`; false when the reader refused it.
bool ReadProject(const std::string& folder, ProjectModel& model, IMessages& messages) {
    model.projectFolder = folder;
    const std::string path = model.ScriptPath();
    if (!FileExists(path)) throw CannotOpenFile(path);
    return ReadProjectScript(path, model, messages);
}

// The anchors' JSON names, in the order of their numbers.
constexpr std::array<const char*, 4> kAnchorNames = {"left", "center", "right", "element"};

std::string AnchorName(int anchor) {
    return anchor >= 0 && anchor < static_cast<int>(kAnchorNames.size())
               ? kAnchorNames[static_cast<std::size_t>(anchor)]
               : kAnchorNames[0];
}

ordered_json ModelToJson(const ProjectModel& model) {
    const ProjectSettings& s = model.settings;
    ordered_json settings = {
        {"scrIN", s.scrIN},       {"scrOUT", s.scrOUT},       {"cDefCap", ColorToHtml(s.cDefCap)},
        {"fDefCap", s.fDefCap},   {"fDefCapS", s.fDefCapS},   {"cDefMenu", ColorToHtml(s.cDefMenu)},
        {"fDefMenu", s.fDefMenu}, {"fDefMenuS", s.fDefMenuS}, {"PRJ_sTemplate", s.PRJ_sTemplate},
        {"compactWidth", s.cmpW}, {"compactLabel", s.cmpL},   {"compactLeft", s.cmpX},
        {"compactTop", s.cmpY},
    };
    ordered_json entries = ordered_json::array();
    for (const MenuEntry& e : model.entries) {
        entries.push_back({{"MTC", e.MTC},
                           {"MTCH", e.MTCH},
                           {"MTM", e.MTM},
                           {"MX", e.MX},
                           {"MY", e.MY},
                           {"MW", e.MW},
                           {"CO", e.CO},
                           {"CC", e.CC},
                           {"CM", e.CM},
                           {"MA", e.MA},
                           {"FL", e.FL},
                           {"OO", e.OO},
                           {"anchor", AnchorName(e.AN)},
                           {"anchorElement", e.AE}});
    }
    ordered_json out = ordered_json::object();
    out["settings"] = std::move(settings);
    out["iSelectedMenu"] = model.iSelectedMenu;
    out["entries"] = std::move(entries);
    return out;
}

// Field readers for the JSON model: a missing field keeps its default, a
// field of the wrong kind is an error naming it.
void TakeInt(const json& object, const char* name, const std::string& where, int& target) {
    const auto it = object.find(name);
    if (it == object.end()) return;
    if (!it->is_number_integer()) throw UsageError(where + name + " must be an integer");
    const auto value = it->get<long long>();
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw UsageError(where + name + " is out of range");
    if (it->is_number_unsigned() &&
        it->get<unsigned long long>() > static_cast<unsigned long long>(std::numeric_limits<int>::max()))
        throw UsageError(where + name + " is out of range");
    target = static_cast<int>(value);
}

void TakeText(const json& object, const char* name, const std::string& where, std::string& target) {
    const auto it = object.find(name);
    if (it == object.end()) return;
    if (!it->is_string()) throw UsageError(where + name + " must be a string");
    target = it->get<std::string>();
}

void TakeColor(const json& object, const char* name, const std::string& where, Color& target) {
    std::string text = ColorToHtml(target);
    TakeText(object, name, where, text);
    target = HtmlToColor(text); // "'%s' is not a valid integer value" for a bad colour
}

void TakeAnchor(const json& object, const std::string& where, int& target) {
    std::string name = AnchorName(target);
    TakeText(object, "anchor", where, name);
    const auto it = std::find(kAnchorNames.begin(), kAnchorNames.end(), name);
    if (it == kAnchorNames.end())
        throw UsageError(where + "anchor must be \"left\", \"center\", \"right\" or \"element\"");
    target = static_cast<int>(it - kAnchorNames.begin());
}

ProjectModel JsonToModel(const json& in) {
    if (!in.is_object()) throw UsageError("the model must be a JSON object");
    ProjectModel model;
    if (const auto it = in.find("settings"); it != in.end()) {
        if (!it->is_object()) throw UsageError("settings must be an object");
        const std::string where = "settings.";
        ProjectSettings& s = model.settings;
        TakeInt(*it, "scrIN", where, s.scrIN);
        TakeInt(*it, "scrOUT", where, s.scrOUT);
        TakeColor(*it, "cDefCap", where, s.cDefCap);
        TakeText(*it, "fDefCap", where, s.fDefCap);
        TakeInt(*it, "fDefCapS", where, s.fDefCapS);
        TakeColor(*it, "cDefMenu", where, s.cDefMenu);
        TakeText(*it, "fDefMenu", where, s.fDefMenu);
        TakeInt(*it, "fDefMenuS", where, s.fDefMenuS);
        TakeText(*it, "PRJ_sTemplate", where, s.PRJ_sTemplate);
        TakeInt(*it, "compactWidth", where, s.cmpW);
        TakeText(*it, "compactLabel", where, s.cmpL);
        TakeInt(*it, "compactLeft", where, s.cmpX);
        TakeInt(*it, "compactTop", where, s.cmpY);
    }
    TakeInt(in, "iSelectedMenu", "", model.iSelectedMenu);
    if (const auto it = in.find("entries"); it != in.end()) {
        if (!it->is_array()) throw UsageError("entries must be an array");
        if (it->size() > static_cast<std::size_t>(kMaxMenus))
            throw std::runtime_error("A project can hold at most " + std::to_string(kMaxMenus) + " menus.");
        for (std::size_t i = 0; i < it->size(); ++i) {
            const json& item = (*it)[i];
            const std::string where = "entries[" + std::to_string(i) + "].";
            if (!item.is_object()) throw UsageError("entries[" + std::to_string(i) + "] must be an object");
            MenuEntry e;
            TakeText(item, "MTC", where, e.MTC);
            TakeInt(item, "MTCH", where, e.MTCH);
            TakeText(item, "MTM", where, e.MTM);
            TakeInt(item, "MX", where, e.MX);
            TakeInt(item, "MY", where, e.MY);
            TakeInt(item, "MW", where, e.MW);
            TakeText(item, "CO", where, e.CO);
            TakeText(item, "CC", where, e.CC);
            TakeText(item, "CM", where, e.CM);
            TakeInt(item, "MA", where, e.MA);
            TakeInt(item, "FL", where, e.FL);
            TakeInt(item, "OO", where, e.OO);
            TakeAnchor(item, where, e.AN);
            TakeText(item, "anchorElement", where, e.AE);
            model.entries.push_back(std::move(e));
        }
    }
    return model;
}

int CommandNew(const std::vector<std::string>& args) {
    if (args.size() != 1) throw UsageError("new takes one folder");
    ProjectModel model;
    model.ResetForNewProject();
    model.projectFolder = ProjectFolderArg(args[0]);
    WriteProjectScript(model, ScriptMode::Preview);
    return 0;
}

int CommandAdd(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) throw UsageError("add takes a folder and an optional count");
    int count = 1;
    if (args.size() == 2 && (!ParseDecimal(args[1], count) || count < 0))
        throw UsageError("the count must be a whole number of at least 0, not '" + args[1] + "'");
    StderrMessages messages;
    ProjectModel model;
    if (!ReadProject(ProjectFolderArg(args[0]), model, messages)) return 1;
    if (count > kMaxMenus - model.numOfMenus())
        throw std::runtime_error("A project can hold at most " + std::to_string(kMaxMenus) + " menus.");
    for (int i = 0; i < count; ++i) model.AddMenuEntry();
    WriteProjectScript(model, ScriptMode::Preview);
    return 0;
}

int CommandDump(const std::vector<std::string>& args) {
    if (args.size() != 1) throw UsageError("dump takes one folder");
    StderrMessages messages;
    ProjectModel model;
    if (!ReadProject(ProjectFolderArg(args[0]), model, messages)) return 1;
    const ordered_json out = ModelToJson(model);
    std::string text;
    try {
        text = out.dump();
    } catch (const ordered_json::type_error&) {
        // Texts are bytes in the system code page; JSON carries UTF-8 only.
        std::cerr << "didad-tool: some texts are not UTF-8; their invalid bytes are shown as U+FFFD\n";
        text = out.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
    }
    std::cout << text << '\n';
    return 0;
}

int CommandWrite(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2 || (args.size() == 2 && args[1] != "--final"))
        throw UsageError("write takes a folder and optionally --final");
    const ScriptMode mode = args.size() == 2 ? ScriptMode::Final : ScriptMode::Preview;
    json in;
    try {
        // Read standard input whole first: parsing straight from an
        // istreambuf_iterator over std::cin never ends with libstdc++ 12.
        std::ostringstream input;
        input << std::cin.rdbuf();
        in = json::parse(input.str());
    } catch (const json::parse_error& error) {
        throw UsageError(std::string("the model on standard input is not valid JSON: ") + error.what());
    }
    ProjectModel model = JsonToModel(in);
    model.projectFolder = ProjectFolderArg(args[0]);
    WriteProjectScript(model, mode);
    return 0;
}

// One line per page, "PAGE: added" or "PAGE: skipped: REASON"; 1 when a
// page was skipped for a fault, which standard error names too.
int ReportPages(const std::vector<PageOutcome>& outcomes) {
    bool failed = false;
    for (const PageOutcome& outcome : outcomes) {
        std::cout << outcome.path << ": " << OutcomeText(outcome) << '\n';
        if (outcome.error) std::cerr << "didad-tool: " << outcome.path << " left as it was: " << outcome.reason << '\n';
        failed = failed || outcome.error;
    }
    return failed ? 1 : 0;
}

// The record of published scripts, where the program keeps it: the user's
// data folder as the desktop names it.
std::string PublishRecordFile() {
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string folder;
    if (data && *data == '/') {
        folder = data;
    } else if (const char* home = std::getenv("HOME"); home && *home == '/') {
        folder = std::string(home) + "/.local/share";
    } else {
        return {};
    }
    return folder + "/Divero/Didad/" + kPublishRecordFileName;
}

int CommandPublish(const std::vector<std::string>& args) {
    PublishRequest request;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--replace") {
            request.replaceOtherScript = true;
        } else if (args[i] == "--classic") {
            request.form = IncludeForm::Classic;
        } else if (args[i] != "--script-dir") {
            rest.push_back(args[i]);
        } else if (++i < args.size()) {
            request.scriptFolder = args[i];
        } else {
            throw UsageError("--script-dir needs a folder");
        }
    }
    if (rest.size() < 3) throw UsageError("publish takes a project folder, a site folder and at least one page");
    StderrMessages messages;
    ProjectModel model;
    if (!ReadProject(ProjectFolderArg(rest[0]), model, messages)) return 1;
    request.site = rest[1];
    request.projectPage = model.TemplatePath();
    request.projectFolder = model.projectFolder;
    request.recordFile = PublishRecordFile();
    for (std::size_t i = 2; i < rest.size(); ++i) request.pages.push_back({rest[i], true});
    try {
        return ReportPages(Publish(request, BuildProjectScript(model, ScriptMode::Final)));
    } catch (const OtherScriptError& error) {
        std::cerr << "didad-tool: " << error.what() << "\n(--replace replaces it)\n";
        return 1;
    }
}

int CommandUnpublish(const std::vector<std::string>& args) {
    if (args.size() < 2) throw UsageError("unpublish takes a site folder and at least one page");
    return ReportPages(Unpublish(args[0], std::vector<std::string>(args.begin() + 1, args.end())));
}

int Run(int argc, char** argv) {
    if (argc < 2) throw UsageError("no command given");
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "new") return CommandNew(args);
    if (command == "add") return CommandAdd(args);
    if (command == "dump") return CommandDump(args);
    if (command == "write") return CommandWrite(args);
    if (command == "publish") return CommandPublish(args);
    if (command == "unpublish") return CommandUnpublish(args);
    throw UsageError("unknown command '" + command + "'");
}

} // namespace
} // namespace didad

int main(int argc, char** argv) {
    try {
        return didad::Run(argc, argv);
    } catch (const didad::UsageError& error) {
        std::cerr << "didad-tool: " << error.what() << '\n' << didad::kUsage;
    } catch (const std::exception& error) {
        std::cerr << "didad-tool: " << error.what() << '\n';
    } catch (...) {
        std::cerr << "didad-tool: unexpected failure\n";
    }
    return 1;
}
