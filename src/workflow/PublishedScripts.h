#pragma once
// Which script in a site is this project's own: publishing replaces only the
// script the project itself put there last, so that another project's menus
// (perhaps its only copy) are never overwritten unasked.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace didad {

// The file in the program's data folder that remembers, for each project and
// script path, a digest of the script the project last published there.
inline constexpr const char* kPublishRecordFileName = "published-scripts";

// A digest of the script's bytes, as the record keeps it.
std::string ScriptDigest(std::string_view bytes);

// Whether `project` (its folder) published the script at `scriptPath` last
// with these bytes. Both paths as the caller resolved them.
bool RecordedAsPublished(const std::string& recordFile, const std::string& project, const std::string& scriptPath,
                         const std::string& digest);
// Remembers the bytes the project just published at `scriptPath`. A record
// that cannot be written only costs a question the next time, so a failure
// is not reported.
void RecordPublished(const std::string& recordFile, const std::string& project, const std::string& scriptPath,
                     const std::string& digest);

// A file in the script's place larger than this is not read: no script of
// ours is that large, and a hostile one must not fill the memory.
inline constexpr std::uintmax_t kMaxScriptBytesRead = std::uintmax_t{256} * 1024 * 1024;

// A script found where publishing would write its own.
struct OtherScript {
    std::string path;
    int menus = -1;   // read as a project; -1 when it is not one
    std::string date; // last changed, "2026-12-08 18:30" in local time
};

// What the script at `path` is: its menus and its date.
OtherScript DescribeScript(const std::string& path);

// "a Didad script with 12 menus, last changed 2026-12-08 18:30", or "not a
// Didad script, last changed ...".
std::string OtherScriptSummary(const OtherScript& other);
// The publish dialog's question before replacing it.
std::string OtherScriptQuestion(const OtherScript& other);

} // namespace didad
