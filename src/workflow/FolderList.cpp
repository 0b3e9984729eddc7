#include "workflow/FolderList.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "model/ValueHelpers.h"

namespace didad {

namespace fs = std::filesystem;

namespace {

std::string WithoutTrailingSeparator(std::string text) {
    const std::string root = fs::path(text).root_path().string();
    while (text.size() > root.size() && !text.empty() && IsPathSeparator(text.back())) text.pop_back();
    return text;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(LowerAscii(x)) < static_cast<unsigned char>(LowerAscii(y));
    });
}

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

} // namespace

std::string ExistingListFolder(const std::string& path) {
    std::error_code error;
    fs::path folder = path.empty() ? fs::current_path(error) : fs::path(path);
    folder = fs::absolute(folder, error).lexically_normal();
    while (!IsFolder(folder) && folder.has_relative_path()) folder = folder.parent_path();
    return WithoutTrailingSeparator(folder.string());
}

std::vector<FolderListItem> ListFolders(const std::string& current) {
    std::vector<FolderListItem> items;
    const fs::path folder(ExistingListFolder(current));

    fs::path along = folder.root_path();
    items.push_back({WithoutTrailingSeparator(along.string()), along.string(), 0, false});
    for (const fs::path& part : folder.relative_path()) {
        if (part.empty()) continue;
        along /= part;
        items.push_back({along.string(), part.string(), static_cast<int>(items.size()), false});
    }
    items.back().current = true;
    const int childDepth = static_cast<int>(items.size());

    std::vector<FolderListItem> children;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.') continue;
        if (!IsFolder(it->path())) continue;
        children.push_back({it->path().string(), name, childDepth, false});
    }
    std::sort(children.begin(), children.end(),
              [](const FolderListItem& a, const FolderListItem& b) { return LessIgnoringCase(a.label, b.label); });
    items.insert(items.end(), children.begin(), children.end());
    return items;
}

std::string VolumeOf(const std::string& path, const std::vector<std::string>& roots) {
    std::string best;
    for (const std::string& root : roots) {
        if (root.empty() || root.size() <= best.size() || path.compare(0, root.size(), root) != 0) continue;
        const bool atBoundary =
            path.size() == root.size() || IsPathSeparator(root.back()) || IsPathSeparator(path[root.size()]);
        if (atBoundary) best = root;
    }
    return best;
}

} // namespace didad
