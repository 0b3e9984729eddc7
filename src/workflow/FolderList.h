#pragma once
// What the folder chooser's directory list and volume selector show.
#include <string>
#include <vector>

namespace didad {

struct FolderListItem {
    std::string path;  // the folder this line stands for
    std::string label; // its name ("/" or "C:\" for a root)
    int depth = 0;     // indentation: 0 for the root
    bool current = false;
};

// An absolute, normalised folder without a trailing separator (a root keeps
// its own). A folder that does not exist gives way to its nearest existing
// parent, so the list always shows a real place.
std::string ExistingListFolder(const std::string& path);

// The folders along `current` from its root down to it, then its
// sub-folders sorted by name without regard to case. Hidden folders (a
// leading dot) and folders that cannot be read are left out.
std::vector<FolderListItem> ListFolders(const std::string& current);

// The volume among `roots` that holds `path`: the longest root that `path`
// starts with at a separator boundary; empty when none does.
std::string VolumeOf(const std::string& path, const std::vector<std::string>& roots);

} // namespace didad
