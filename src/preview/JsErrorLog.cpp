#include "preview/JsErrorLog.h"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>
#include <utility>

#include "model/DiskSync.h"
#include "model/Errors.h"
#include "model/ScriptWriter.h"

namespace didad {

namespace {

void AppendToDisk(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) throw CannotCreateFile(path, SystemReason(errno));
    std::string reason;
    if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) reason = SystemReason(errno);
    if (reason.empty()) reason = SyncFileToDisk(file);
    if (std::fclose(file) != 0 && reason.empty()) reason = SystemReason(errno);
    if (!reason.empty()) throw CannotCreateFile(path, reason);
}

} // namespace

JsErrorLog::FileOps JsErrorLog::DiskFiles() {
    return {[](const std::string& path, const std::string& text) {
                std::error_code ec; // a folder that cannot be made fails the write itself
                std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
                WriteFileReplacing(path, text);
            },
            AppendToDisk};
}

// The thread that owns the file: it takes what the GUI thread hands over in
// batches and knows how much of the log the file holds.
class JsErrorLog::Writer {
public:
    Writer(std::string path, FileOps files)
        : path_(std::move(path)), files_(std::move(files)), thread_([this] { Run(); }) {}

    ~Writer() {
        {
            const std::lock_guard<std::mutex> hold(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    // A line, or with `startOver` the end of the log so far.
    void Hand(std::string line, bool startOver) {
        {
            const std::lock_guard<std::mutex> hold(mutex_);
            pending_.push_back({std::move(line), startOver});
        }
        wake_.notify_one();
    }

    void Flush() {
        std::unique_lock<std::mutex> hold(mutex_);
        idle_.wait(hold, [this] { return pending_.empty() && !busy_; });
    }

private:
    struct Item {
        std::string line;
        bool startOver = false;
    };

    void Run() {
        for (;;) {
            std::deque<Item> batch;
            {
                std::unique_lock<std::mutex> hold(mutex_);
                wake_.wait(hold, [this] { return stop_ || !pending_.empty(); });
                if (pending_.empty()) return;
                batch.swap(pending_);
                busy_ = true;
            }
            for (Item& item : batch) {
                if (item.startOver) {
                    Write();
                    text_.clear();
                    written_ = 0;
                    replace_ = true;
                } else {
                    text_ += item.line;
                    text_ += "\r\n";
                }
            }
            Write();
            {
                const std::lock_guard<std::mutex> hold(mutex_);
                busy_ = false;
            }
            idle_.notify_all();
        }
    }

    // Puts what the file lacks on the disk. A failed append may have left a
    // part of its lines: the next write replaces the file whole.
    void Write() {
        if (text_.empty() || (!replace_ && written_ == text_.size())) return;
        // The log is a convenience: a data folder we cannot write to must
        // not stop the preview, and the lines are tried again with the next.
        try {
            if (replace_) {
                files_.replace(path_, text_);
            } else {
                files_.append(path_, text_.substr(written_));
            }
            written_ = text_.size();
            replace_ = false;
        } catch (const std::exception&) {
            replace_ = true;
        }
    }

    const std::string path_;
    const FileOps files_;
    // The thread's own: the log since it last started over, and how much of
    // it the file holds.
    std::string text_;
    std::size_t written_ = 0;
    bool replace_ = true;

    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<Item> pending_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_; // last: starts once the rest is made
};

JsErrorLog::JsErrorLog(std::string path, FileOps files) : path_(std::move(path)), files_(std::move(files)) {}

JsErrorLog::~JsErrorLog() = default;

void JsErrorLog::Append(const std::string& line) {
    lines_.push_back(line);
    const bool startOver = lines_.size() > kMaxLines;
    if (!path_.empty() && files_.replace && files_.append) {
        if (!writer_) writer_ = std::make_unique<Writer>(path_, files_);
        writer_->Hand(line, false);
        if (startOver) writer_->Hand({}, true);
    }
    if (startOver) lines_.clear();
}

void JsErrorLog::Flush() {
    if (writer_) writer_->Flush();
}

} // namespace didad
