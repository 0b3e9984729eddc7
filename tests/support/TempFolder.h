#pragma once
// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes away.
#include <filesystem>
#include <string>

namespace didad::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as a string, without a trailing separator.
    std::string str() const { return path_.string(); }
    // A path inside the folder (not created).
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Whole-file helpers that keep the bytes exactly.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

} // namespace didad::testing
