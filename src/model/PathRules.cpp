#include "model/PathRules.h"

#include <iterator>
#include <system_error>

namespace didad {

namespace fs = std::filesystem;

fs::path ResolvedPath(const std::string& path) {
    if (path.empty()) return {};
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(path), error);
    if (error) return {};
    fs::path resolved = fs::weakly_canonical(absolute, error);
    return error ? fs::path() : resolved;
}

bool PathIsInside(const fs::path& path, const fs::path& folder) {
    if (path.empty() || folder.empty()) return false;
    auto pathPart = path.begin();
    for (auto folderPart = folder.begin(); folderPart != folder.end(); ++folderPart, ++pathPart) {
        // A trailing separator leaves an empty last part.
        if (folderPart->empty() && std::next(folderPart) == folder.end()) break;
        if (pathPart == path.end() || *pathPart != *folderPart) return false;
    }
    return true;
}

} // namespace didad
