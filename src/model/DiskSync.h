#pragma once
// Getting written bytes onto the disk itself, not just into the system's
// cache: a file renamed over another before its blocks are on the disk can
// come back empty after a power cut on some file systems, and a rename is
// only lasting once the folder that holds it has been flushed too.
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

namespace didad {

// Flushes an open file to the disk; the system's reason on failure, else empty.
std::string SyncFileToDisk(std::FILE* file);
std::string SyncFileToDisk(const std::filesystem::path& path);
// Has the system start writing `count` bytes of an open file from `offset`
// to the disk, without waiting for them; where it cannot, nothing happens.
void StartWritingToDisk(std::FILE* file, std::size_t offset, std::size_t count);
// Flushes a folder's entries (names made, renamed, removed) to the disk. A
// system that cannot flush folders is not an error.
std::string SyncFolderToDisk(const std::filesystem::path& folder);
// The system's text for an error number ("No space left on device").
std::string SystemReason(int error);

} // namespace didad
