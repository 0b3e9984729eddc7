#pragma once
// How the program's files reach the disk: through a temporary file renamed
// over the old one, and, for a script, in chunks handed to the file while the
// rest is still being built.
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace didad {

// Whether a write waits until its bytes are on the disk. Every write of the
// program does; without it only the writer's own work is left to measure.
enum class Flush { ToDisk, CacheOnly };

// Hands a script's bytes to its file while the rest is still being built,
// a chunk at a time, and has the system start writing each chunk to the
// disk at once: the disk is busy with the first megabytes while the rest is
// encoded, and the rename at the end waits for less.
class ScriptChunks {
public:
    // The first `skip` bytes of what is built are not the file's.
    ScriptChunks(std::FILE* file, std::size_t skip) : file_(file), skip_(skip), passed_(skip) {}
    std::size_t Skipped() const { return skip_; }
    // Writes what `built` (everything built so far, from its first byte)
    // holds beyond the last chunk once that is a chunk's worth, or whatever
    // it is with `all`.
    void Pass(std::string_view built, bool all = false);
    // Why a write failed; empty while none has.
    const std::string& Failure() const { return failure_; }

private:
    static constexpr std::size_t kChunk = std::size_t{512} * 1024;
    std::FILE* file_;
    std::size_t skip_, passed_;
    std::string failure_;
};

// Writes a new file's bytes into the open, unbuffered `file`, the temporary
// file at `temporary`; the system's reason on failure, else empty.
using FileFiller = std::function<std::string(std::FILE* file, const std::filesystem::path& temporary)>;

// The bytes go to a temporary file beside `path`, which is then renamed over
// it: a write that fails leaves the old file as it was. Flushed, the new file
// is on the disk before the rename and the rename is once the folder is.
// Throws CannotCreateFile.
void ReplaceFile(const std::string& path, Flush flush, const FileFiller& fill);
void WriteBytesReplacing(const std::string& path, std::string_view bytes, Flush flush);
// The same, flushed, for a file that is someone's own: the new file takes the
// old one's permissions, and its owner and group where the system allows,
// before it is put in place, so that no one ever sees it otherwise.
void WriteFileInPlaceOf(const std::string& path, std::string_view text);

// A script as built: its bytes, which begin with a mark of `markSize` bytes
// that the script keeps only when it starts at 0.
struct BuiltScript {
    std::string_view bytes;
    std::size_t start = 0;
};

// Builds a script with `build`, which passes its chunks as it goes, and
// writes it into `file`. Whether it keeps its mark is known only once it is
// built; it is written as if it began like the last script written on this
// thread (the editor writes the same project again and again), and once more
// whole in the rare case that it does not.
std::string StreamGuessingMark(std::FILE* file, const std::filesystem::path& temporary, std::size_t markSize,
                               const std::function<BuiltScript(ScriptChunks&)>& build);

} // namespace didad
