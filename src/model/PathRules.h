#pragma once
// Whether a path lies in a folder: one rule for everything that keeps files
// to a folder (what the preview may read, where publishing may write).
#include <filesystem>
#include <string>

namespace didad {

// The absolute path with `..` and links resolved as far as it exists; empty
// when the file system cannot tell.
std::filesystem::path ResolvedPath(const std::string& path);

// True when `path` is `folder` or lies below it. Both must already be
// resolved (ResolvedPath): the rule compares names, part by part, so that
// "/site-old" never counts as inside "/site". An empty path or folder holds
// nothing.
bool PathIsInside(const std::filesystem::path& path, const std::filesystem::path& folder);

} // namespace didad
