#include "preview/LocalFileRule.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <system_error>

namespace didad {

namespace fs = std::filesystem;

namespace {

// The path with `..` and links resolved as far as it exists; empty when the
// file system cannot tell.
fs::path Resolved(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(path), error);
    if (error) return {};
    fs::path resolved = fs::weakly_canonical(absolute, error);
    return error ? fs::path() : resolved;
}

std::string LowerExtension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// A browser refuses another site's file as a style sheet or a script unless
// its type says it is one (so a JSON or CSS file cannot be imported as a
// module and read); local files have no type but their extension.
bool HasTheTypeOfItsUse(LocalFileUse use, const std::string& path) {
    const std::string extension = LowerExtension(path);
    switch (use) {
    case LocalFileUse::MainFrame:
    case LocalFileUse::Image:
    case LocalFileUse::Favicon:
    case LocalFileUse::Font: return true;
    case LocalFileUse::Stylesheet: return extension == ".css";
    case LocalFileUse::Script: return extension == ".js" || extension == ".mjs";
    case LocalFileUse::Other: return false;
    }
    return false;
}

} // namespace

bool PathIsInsideFolder(const std::string& path, const std::string& folder) {
    if (path.empty() || folder.empty()) return false;
    const fs::path inner = Resolved(path);
    const fs::path outer = Resolved(folder);
    if (inner.empty() || outer.empty()) return false;
    auto innerPart = inner.begin();
    for (auto outerPart = outer.begin(); outerPart != outer.end(); ++outerPart, ++innerPart) {
        // A trailing separator leaves an empty last part.
        if (outerPart->empty() && std::next(outerPart) == outer.end()) break;
        if (innerPart == inner.end() || *innerPart != *outerPart) return false;
    }
    return true;
}

bool MayLoadLocalFile(LocalFileUse use, const std::string& path, const std::string& projectFolder) {
    return PathIsInsideFolder(path, projectFolder) || HasTheTypeOfItsUse(use, path);
}

} // namespace didad
