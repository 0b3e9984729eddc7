#include "workflow/PublishedScripts.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

#include "model/Errors.h"
#include "model/Messages.h"
#include "model/ProjectModel.h"
#include "model/ScriptReader.h"
#include "model/ScriptWriter.h"

namespace didad {

namespace {

std::uint64_t Fnv1a(std::string_view bytes, std::uint64_t hash = 1469598103934665603ULL) {
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string Hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// The record names no path: it lies in the user's own folder, but there is
// no reason to list the user's sites in it.
std::string RecordKey(const std::string& project, const std::string& scriptPath) {
    return Hex(Fnv1a(scriptPath, Fnv1a(std::string_view(project.data(), project.size() + 1))));
}

// The record's lines: "KEY DIGEST".
std::string ReadRecord(const std::string& recordFile) {
    std::ifstream in(recordFile, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    return text.str();
}

class SilentMessages : public IMessages {
public:
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
};

} // namespace

std::string ScriptDigest(std::string_view bytes) {
    // Two seeds: the record is no defence against a forged file, only a
    // memory of what was written, but chance matches stay out of reach.
    return Hex(Fnv1a(bytes)) + Hex(Fnv1a(bytes, 0x84222325cbf29ce4ULL));
}

bool RecordedAsPublished(const std::string& recordFile, const std::string& project, const std::string& scriptPath,
                         const std::string& digest) {
    if (recordFile.empty()) return false;
    std::istringstream lines(ReadRecord(recordFile));
    const std::string entry = RecordKey(project, scriptPath) + ' ' + digest;
    std::string line;
    while (std::getline(lines, line))
        if (line == entry) return true;
    return false;
}

void RecordPublished(const std::string& recordFile, const std::string& project, const std::string& scriptPath,
                     const std::string& digest) {
    if (recordFile.empty()) return;
    const std::string prefix = RecordKey(project, scriptPath) + ' ';
    std::istringstream lines(ReadRecord(recordFile));
    std::string kept;
    std::string line;
    // The other projects' and paths' lines stay; this pair's old one goes.
    while (std::getline(lines, line)) {
        if (line.size() <= prefix.size() || line.compare(0, prefix.size(), prefix) == 0) continue;
        kept += line;
        kept += '\n';
    }
    kept += prefix;
    kept += digest;
    kept += '\n';
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(recordFile).parent_path(), ec);
    try {
        WriteFileReplacing(recordFile, kept);
    } catch (const PlatformError&) {
        // See the header: the next publish asks once more.
    }
}

OtherScript DescribeScript(const std::string& path) {
    OtherScript other;
    other.path = path;
    struct stat info {};
    const bool found = ::stat(path.c_str(), &info) == 0;
    if (found) {
        std::tm local{};
        const std::time_t when = info.st_mtime;
        char text[32];
        if (::localtime_r(&when, &local) && std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) > 0)
            other.date = text;
    }
    if (!found || static_cast<std::uintmax_t>(info.st_size) > kMaxScriptBytesRead) return other;
    ProjectModel model;
    SilentMessages silent;
    try {
        if (ReadProjectScript(path, model, silent)) other.menus = static_cast<int>(model.entries.size());
    } catch (const std::exception&) {
        // Not a script of ours: the question says so.
    }
    return other;
}

std::string OtherScriptSummary(const OtherScript& other) {
    std::string text;
    if (other.menus < 0) {
        text = "not a Didad script";
    } else if (other.menus == 0) {
        text = "a Didad script with no menus";
    } else {
        text = "a Didad script with " + std::to_string(other.menus) + (other.menus == 1 ? " menu" : " menus");
    }
    if (!other.date.empty()) text += ", last changed " + other.date;
    return text;
}

std::string OtherScriptQuestion(const OtherScript& other) {
    return "The script folder already holds a " + std::string(kScriptFileName) +
           " that this project did not publish there:\r\n    " + other.path + "\r\n    (" + OtherScriptSummary(other) +
           ")\r\n\r\nIt may be another project's only copy. Replace it with this project's script? Every page "
           "that loads it will then show this project's menus.";
}

} // namespace didad
