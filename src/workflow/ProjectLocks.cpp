#include "workflow/ProjectLocks.h"

#include <cstdint>
#include <cstdio>

namespace didad {

std::string ProjectLockFileName(const std::string& folder) {
    // FNV-1a: the same name for the same folder in every build and run.
    std::uint64_t hash = 1469598103934665603ULL;
    for (const unsigned char c : folder) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.lock", static_cast<unsigned long long>(hash));
    return name;
}

std::string ProjectInUseMessage(const std::string& folder) {
    return "This project is open in another running Didad:\r\n  " + folder +
           "\r\n\r\nClose it there, or open another project.";
}

std::string NoLockPlaceMessage(const std::string& folder, const std::string& places) {
    return "Didad cannot mark this project as open, so another running Didad could change it at the same "
           "time:\r\n  " +
           folder + "\r\n\r\nNone of these folders takes a lock file:\r\n" + places +
           "\r\n\r\nMake room in one of them (a file of that name in the way, a full or read-only disk), "
           "then open the project again.";
}

std::string AbnormalEndNote(const std::string& savedAt) {
    return "Didad did not end normally last time. Your work was last saved at " + savedAt +
           "; Open Last Edited Project opens it.";
}

} // namespace didad
