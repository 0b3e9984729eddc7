#pragma once
// Disks that fail writes, for tests that prove a failed write loses nothing:
// a small tmpfs that can be filled up or switched to read-only.
//
// The mounts live in a private mount namespace of the test process, so they
// vanish with it even when a test crashes, and no other process on the
// machine sees them. As root the namespace needs no more; otherwise it is
// entered through a new user namespace, which some kernels forbid: then the
// tests that need a mount skip.
//
// Header-only and free of any test framework, so that the GoogleTest unit
// tests and the Qt Test GUI tests can both use it.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>

namespace didad::testing {

namespace detail {

inline bool WriteSmallFile(const char* path, const std::string& text) {
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0) return false;
    const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return ok;
}

inline std::string EnterNamespaceOnce() {
    if (::geteuid() != 0) {
        const uid_t uid = ::geteuid();
        const gid_t gid = ::getegid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return std::string("no user namespace: ") + std::strerror(errno);
        // Map ourselves to root inside, so that mount() is allowed there.
        WriteSmallFile("/proc/self/setgroups", "deny");
        if (!WriteSmallFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !WriteSmallFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            return "cannot map the user into the new namespace";
    } else if (::unshare(CLONE_NEWNS) != 0) {
        return std::string("no mount namespace: ") + std::strerror(errno);
    }
    // Mounts made from here on must not propagate back to the machine.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return std::string("cannot make mounts private: ") + std::strerror(errno);
    return {};
}

} // namespace detail

// Call before the process starts any thread (a namespace cannot be changed
// afterwards). Returns an empty text when mounts can be made, else the reason.
// Later calls return the first call's answer.
inline const std::string& EnterPrivateMountNamespace() {
    static const std::string whyNot = detail::EnterNamespaceOnce();
    return whyNot;
}

inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The names in a folder, to see that a failed write left nothing behind.
inline std::set<std::string> FolderNames(const std::filesystem::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        names.insert(entry.path().filename().string());
    return names;
}

// A fresh folder under the system's temporary folder, removed with its
// contents at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "didad-fault-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A tmpfs of a few pages mounted over a scratch folder.
class SmallDisk {
public:
    // Null, with the reason in `whyNot`, when no mount can be made here.
    static std::unique_ptr<SmallDisk> Mount(std::size_t bytes, std::string& whyNot) {
        whyNot = EnterPrivateMountNamespace();
        if (!whyNot.empty()) return nullptr;
        auto disk = std::unique_ptr<SmallDisk>(new SmallDisk);
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        if (::mount("didad-test", disk->path().c_str(), "tmpfs", 0, options.c_str()) != 0) {
            whyNot = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
            return nullptr;
        }
        disk->mounted_ = true;
        return disk;
    }

    ~SmallDisk() {
        if (mounted_) ::umount2(folder_.path().c_str(), MNT_DETACH);
    }

    const std::filesystem::path& path() const { return folder_.path(); }

    // Takes every free block with a filler file, so that the next write
    // that needs a block fails with "no space left".
    void Fill() {
        const std::string filler = (path() / "filler.bin").string();
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd < 0) std::abort();
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        // The last block may have gone in part: fill the rest byte by byte.
        while (::write(fd, "x", 1) > 0) {
        }
        ::close(fd);
    }

    // Frees what Fill took.
    void Drain() { std::filesystem::remove(path() / "filler.bin"); }

    bool SetReadOnly(bool readOnly) {
        unsigned long flags = MS_REMOUNT;
        if (readOnly) flags |= MS_RDONLY;
        return ::mount(nullptr, path().c_str(), nullptr, flags, nullptr) == 0;
    }

private:
    SmallDisk() = default;
    ScratchFolder folder_;
    bool mounted_ = false;
};

} // namespace didad::testing
