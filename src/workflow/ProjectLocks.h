#pragma once
// One running program per project, and what the next start says when the
// program ended without closing its project.
#include <string>

namespace didad {

// The name of the lock file that marks `folder` (the project folder's full,
// resolved path) as open. The lock files lie in the program's own data
// folder, never in the project folder, whose files the user uploads.
std::string ProjectLockFileName(const std::string& folder);

// What claiming a project came to.
enum class ProjectClaim {
    Claimed,
    // Another running program has the project open.
    InUse,
    // No folder took a lock file: the project cannot be kept from a second
    // program, so it is not opened.
    NoLockPlace,
};

std::string ProjectInUseMessage(const std::string& folder);
// `places` are the folders that were tried for the lock file.
std::string NoLockPlaceMessage(const std::string& folder, const std::string& places);

// The start dialog's note after a run that ended without closing its project
// (a crash, a kill, a power cut); `savedAt` is when the project's script was
// last written.
std::string AbnormalEndNote(const std::string& savedAt);

} // namespace didad
