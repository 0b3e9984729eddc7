#include "model/ChunkedScriptFile.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "model/DiskSync.h"
#include "model/Errors.h"

namespace didad {
namespace {

std::string RandomSuffix() {
    // One per thread: the editor saves from a thread of its own while it writes.
    thread_local std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix;
    for (int i = 0; i < 10; ++i) suffix += kDigits[generator() % 36];
    return suffix;
}

} // namespace

void ScriptChunks::Pass(std::string_view built, bool all) {
    const std::size_t ready = built.size() - passed_;
    if (!failure_.empty() || ready == 0 || (!all && ready < kChunk)) return;
    if (std::fwrite(built.data() + passed_, 1, ready, file_) != ready) {
        failure_ = SystemReason(errno);
        return;
    }
    StartWritingToDisk(file_, passed_ - skip_, ready);
    passed_ += ready;
}

void ReplaceFile(const std::string& path, Flush flush, const FileFiller& fill) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // Built by appending: GCC 12 warns falsely (-Wrestrict) on the operator+ chain.
    std::string base = ".";
    base += target.filename().string();
    base += '.';

    std::FILE* file = nullptr;
    fs::path temporary;
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        temporary = folder / (base + RandomSuffix() + ".tmp");
        file = std::fopen(temporary.string().c_str(), "wbx"); // fails if the name is taken
        if (!file && errno != EEXIST) break;
    }
    if (!file) throw CannotCreateFile(path, SystemReason(errno));

    // Unbuffered, each write goes out in one system call rather than
    // block-sized ones and the remainder.
    std::setvbuf(file, nullptr, _IONBF, 0);
    std::string reason;
    std::error_code ec;
    try {
        reason = fill(file, temporary);
    } catch (...) {
        std::fclose(file);
        fs::remove(temporary, ec);
        throw;
    }
    if (reason.empty()) reason = flush == Flush::ToDisk ? SyncFileToDisk(file) : std::string();
    if (std::fclose(file) != 0 && reason.empty()) reason = SystemReason(errno);
    if (reason.empty()) {
        fs::rename(temporary, target, ec);
        if (ec) reason = ec.message();
    }
    if (!reason.empty()) {
        fs::remove(temporary, ec);
        throw CannotCreateFile(path, reason);
    }
    // The new file is in place; a folder that cannot be flushed is reported,
    // as the rename may not outlive a power cut.
    if (flush == Flush::ToDisk) {
        reason = SyncFolderToDisk(folder);
        if (!reason.empty()) throw CannotCreateFile(path, reason);
    }
}

void WriteBytesReplacing(const std::string& path, std::string_view bytes, Flush flush) {
    ReplaceFile(path, flush, [bytes](std::FILE* file, const std::filesystem::path&) {
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
            return SystemReason(errno);
        return std::string();
    });
}

std::string StreamGuessingMark(std::FILE* file, const std::filesystem::path& temporary, std::size_t markSize,
                               const std::function<BuiltScript(ScriptChunks&)>& build) {
    thread_local bool lastMarked = false;
    ScriptChunks chunks(file, lastMarked ? 0 : markSize);
    const BuiltScript built = build(chunks);
    lastMarked = built.start == 0;
    if (built.start == chunks.Skipped()) {
        chunks.Pass(built.bytes, true);
        return chunks.Failure();
    }
    const std::string_view script = built.bytes.substr(built.start);
    std::rewind(file);
    if (std::fwrite(script.data(), 1, script.size(), file) != script.size()) return SystemReason(errno);
    std::error_code ec; // shorter than written when the guessed mark was not wanted
    std::filesystem::resize_file(temporary, script.size(), ec);
    return ec ? ec.message() : std::string();
}

void WriteFileInPlaceOf(const std::string& path, std::string_view text) {
#ifdef _WIN32
    WriteBytesReplacing(path, text, Flush::ToDisk);
#else
    struct stat old {};
    if (::stat(path.c_str(), &old) != 0) {
        WriteBytesReplacing(path, text, Flush::ToDisk);
        return;
    }
    ReplaceFile(path, Flush::ToDisk, [&](std::FILE* file, const std::filesystem::path&) {
        const int fd = fileno(file);
        // The owner first: a change of owner may clear the mode's set-id bits.
        // Only the owner's administrator may give a file away; the group
        // the user belongs to is kept even then.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            if (errno != EPERM) return SystemReason(errno);
            if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0 && errno != EPERM) return SystemReason(errno);
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0) return SystemReason(errno);
        if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size()) return SystemReason(errno);
        return std::string();
    });
#endif
}

} // namespace didad
