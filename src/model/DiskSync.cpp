#include "model/DiskSync.h"

#include <cerrno>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace didad {

std::string SystemReason(int error) { return std::generic_category().message(error); }

std::string SyncFileToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return SystemReason(errno);
#ifdef _WIN32
    if (::_commit(::_fileno(file)) != 0) return SystemReason(errno);
#else
    if (::fsync(::fileno(file)) != 0) return SystemReason(errno);
#endif
    return {};
}

std::string SyncFileToDisk(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.string().c_str(), "rb+");
    if (!file) return SystemReason(errno);
    std::string reason = SyncFileToDisk(file);
    if (std::fclose(file) != 0 && reason.empty()) reason = SystemReason(errno);
    return reason;
}

void StartWritingToDisk(std::FILE* file, std::size_t offset, std::size_t count) {
#ifdef __linux__
    // Only a start: the range's pages stay as they are if the system is busy.
    ::sync_file_range(::fileno(file), static_cast<off_t>(offset), static_cast<off_t>(count), SYNC_FILE_RANGE_WRITE);
#else
    (void)file, (void)offset, (void)count;
#endif
}

std::string SyncFolderToDisk(const std::filesystem::path& folder) {
#ifdef _WIN32
    // Windows writes a rename through with the file system's own journal.
    (void)folder;
    return {};
#else
    const int fd = ::open(folder.empty() ? "." : folder.string().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return SystemReason(errno);
    std::string reason;
    // Some file systems refuse to flush a folder; what they hold is as
    // lasting as they make it, and nothing more can be done here.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP) reason = SystemReason(errno);
    ::close(fd);
    return reason;
#endif
}

} // namespace didad
