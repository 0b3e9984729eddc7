#pragma once
// The preview page's script errors, one line each, kept in memory and in
// js.log. The file is written on a thread of its own, so that a slow disk
// never holds up the preview: the lines that came in while it wrote go out
// together in the next write. The first write of a run replaces the file
// whole (the last run's lines go), later ones append, and each is on the
// disk before the next begins. After the 201st line has been written the
// log starts over.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace didad {

class JsErrorLog {
public:
    using FileWriter = std::function<void(const std::string& path, const std::string& text)>;
    // How the file is written; each throws when it could not write.
    struct FileOps {
        // `text` replaces the file whole, or the old file stays as it was.
        FileWriter replace;
        // `text` goes at the end of the file.
        FileWriter append;
    };
    // The disk's: the file's folder made when missing, the file replaced
    // through a temporary file, the appends flushed to the disk.
    static FileOps DiskFiles();

    // An empty path keeps the log in memory only.
    explicit JsErrorLog(std::string path, FileOps files = DiskFiles());
    // Waits for the lines already taken to be written.
    ~JsErrorLog();
    JsErrorLog(const JsErrorLog&) = delete;
    JsErrorLog& operator=(const JsErrorLog&) = delete;

    void Append(const std::string& line);
    // Waits until every line taken so far is written, or its write failed.
    void Flush();
    const std::vector<std::string>& Lines() const { return lines_; }

    static constexpr std::size_t kMaxLines = 200;

private:
    class Writer;
    std::string path_;
    FileOps files_;
    std::vector<std::string> lines_;
    std::unique_ptr<Writer> writer_; // started with the first line
};

} // namespace didad
