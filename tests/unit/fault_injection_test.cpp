// Writes that fail: the project script, ReadMe.txt and js.log written to a
// full disk, to a read-only disk, and to a name that is taken by a folder.
// Whatever happens, what was on disk before stays byte for byte, nothing is
// left behind, and the next write after the fault is gone works.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <sys/stat.h>

#include "FaultyDisk.h"
#include "SilentMessages.h"
#include "model/Errors.h"
#include "model/ProjectModel.h"
#include "model/ScriptReader.h"
#include "model/ScriptWriter.h"
#include "preview/PreviewLogic.h"
#include "workflow/Finalize.h"
#include "workflow/IntegrationNotes.h"

namespace fs = std::filesystem;
using namespace didad;
using didad::testing::ReadFileBytes;
using didad::testing::SmallDisk;
using didad::testing::WriteFileBytes;

namespace {

constexpr std::size_t kDiskBytes = 512 * 1024;

enum class Fault { FullDisk, ReadOnlyDisk, NameTakenByFolder };

const char* Name(Fault fault) {
    switch (fault) {
    case Fault::FullDisk: return "full disk";
    case Fault::ReadOnlyDisk: return "read-only disk";
    case Fault::NameTakenByFolder: return "name taken by a folder";
    }
    return "";
}

// The system's reason that the error message gives on a line of its own.
std::string ReasonLine(Fault fault) {
    switch (fault) {
    case Fault::FullDisk: return "\r\n\r\nNo space left on device";
    case Fault::ReadOnlyDisk: return "\r\n\r\nRead-only file system";
    case Fault::NameTakenByFolder: return "\r\n\r\nIs a directory";
    }
    return "";
}

constexpr Fault kAllFaults[] = {Fault::FullDisk, Fault::ReadOnlyDisk, Fault::NameTakenByFolder};

// Every file and folder below `root`, with the bytes of the files.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        files[name] = entry.is_directory() ? std::string("<folder>") : ReadFileBytes(entry.path());
    }
    return files;
}

std::string CreateErrorOf(const std::function<void()>& write) {
    try {
        write();
    } catch (const CannotCreateFile& e) {
        return e.what();
    }
    return "(no error)";
}

// A project on its own small disk; `target` is the file the fault aims at.
struct Bench {
    std::unique_ptr<SmallDisk> disk;
    ProjectModel model;

    bool Open(std::string& whyNot) {
        disk = SmallDisk::Mount(kDiskBytes, whyNot);
        if (!disk) return false;
        model.programFolder = (disk->path() / "program").string() + "/";
        model.projectFolder = (disk->path() / "Project").string();
        fs::create_directory(disk->path() / "program");
        fs::create_directory(model.projectFolder);
        model.AddMenuEntry();
        model.AddMenuEntry();
        WriteProjectScript(model, ScriptMode::Final);
        return true;
    }

    void Break(Fault fault, const fs::path& target) {
        switch (fault) {
        case Fault::FullDisk: disk->Fill(); break;
        case Fault::ReadOnlyDisk: ASSERT_TRUE(disk->SetReadOnly(true)); break;
        case Fault::NameTakenByFolder:
            fs::remove(target);
            fs::create_directory(target);
            WriteFileBytes(target / "inside.txt", "kept\r\n");
            break;
        }
    }

    void Repair(Fault fault, const fs::path& target) {
        switch (fault) {
        case Fault::FullDisk: disk->Drain(); break;
        case Fault::ReadOnlyDisk: ASSERT_TRUE(disk->SetReadOnly(false)); break;
        case Fault::NameTakenByFolder: fs::remove_all(target); break;
        }
    }
};

#define OPEN_BENCH_OR_SKIP(bench)                          \
    do {                                                   \
        std::string whyNot;                                \
        if (!(bench).Open(whyNot)) GTEST_SKIP() << whyNot; \
    } while (0)

} // namespace

TEST(FaultInjection, ScriptThatCannotBeWrittenKeepsTheProjectOnDisk) {
    for (const Fault fault : kAllFaults) {
        SCOPED_TRACE(Name(fault));
        Bench bench;
        OPEN_BENCH_OR_SKIP(bench);
        const fs::path script = bench.model.ScriptPath();
        bench.Break(fault, script);
        const auto before = Snapshot(bench.model.projectFolder);

        bench.model.entries[0].MTC = "Edited after the last write";
        EXPECT_EQ(CreateErrorOf([&] { WriteProjectScript(bench.model, ScriptMode::Preview); }),
                  "Cannot create file " + script.string() + ReasonLine(fault));
        EXPECT_EQ(Snapshot(bench.model.projectFolder), before);
        EXPECT_EQ(bench.model.entries[0].MTC, "Edited after the last write");

        // The program goes on: once the fault is gone the same model is written.
        bench.Repair(fault, script);
        ASSERT_NO_THROW(WriteProjectScript(bench.model, ScriptMode::Preview));
        EXPECT_NE(ReadFileBytes(script).find("Edited after the last write"), std::string::npos);
    }
}

// A script of several chunks, more than the disk holds: the chunk that does
// not fit fails the write, and the old script stays.
TEST(FaultInjection, ScriptLargerThanTheDiskKeepsTheOldOne) {
    Bench bench;
    OPEN_BENCH_OR_SKIP(bench);
    const fs::path script = bench.model.ScriptPath();
    const auto before = Snapshot(bench.model.projectFolder);
    for (int i = 0; i < 4000; ++i) {
        bench.model.AddMenuEntry();
        bench.model.entries.back().MTM = std::string(300, i % 2 ? '"' : 'x');
    }
    EXPECT_EQ(CreateErrorOf([&] { WriteProjectScript(bench.model, ScriptMode::Final); }),
              "Cannot create file " + script.string() + ReasonLine(Fault::FullDisk));
    EXPECT_EQ(Snapshot(bench.model.projectFolder), before);

    // Once the project fits again, the same writer writes it whole.
    bench.model.entries.resize(40);
    ASSERT_NO_THROW(WriteProjectScript(bench.model, ScriptMode::Final));
    ProjectModel read;
    didad::testing::SilentMessages messages;
    ASSERT_TRUE(ReadProjectScript(script.string(), read, messages));
    EXPECT_EQ(read.numOfMenus(), 40);
}

TEST(FaultInjection, FinalizeThatCannotWriteKeepsScriptAndNotes) {
    for (const Fault fault : kAllFaults) {
        SCOPED_TRACE(Name(fault));
        Bench bench;
        OPEN_BENCH_OR_SKIP(bench);
        const fs::path readMe = ReadMePath(bench.model);
        WriteFileBytes(readMe, "Notes of an earlier finalize\r\n");
        bench.Break(fault, readMe);
        const auto before = Snapshot(bench.model.projectFolder);

        const std::string error = CreateErrorOf([&] { FinalizeProject(bench.model); });
        if (fault == Fault::NameTakenByFolder) {
            // The script goes first and is written; only the notes fail.
            EXPECT_EQ(error, "Cannot create file " + readMe.string() + ReasonLine(fault));
            auto expected = before;
            expected["Dirovidadaz.js"] = ReadFileBytes(bench.model.ScriptPath());
            EXPECT_EQ(Snapshot(bench.model.projectFolder), expected);
        } else {
            // The script fails first, and the notes are not attempted.
            EXPECT_EQ(error, "Cannot create file " + bench.model.ScriptPath() + ReasonLine(fault));
            EXPECT_EQ(Snapshot(bench.model.projectFolder), before);
        }

        bench.Repair(fault, readMe);
        ASSERT_NO_THROW(FinalizeProject(bench.model));
        EXPECT_EQ(ReadFileBytes(readMe), IntegrationNotesText());
    }
}

// js.log is written from the page's error reports, not from a user action,
// so a failure there must neither stop the preview nor lose the log held in
// memory; the file that was there stays whole.
TEST(FaultInjection, JsLogThatCannotBeWrittenKeepsTheOldLogAndGoesOn) {
    for (const Fault fault : kAllFaults) {
        SCOPED_TRACE(Name(fault));
        Bench bench;
        OPEN_BENCH_OR_SKIP(bench);
        const fs::path logPath = fs::path(bench.model.programFolder) / "js.log";
        WriteFileBytes(logPath, "!RarurAVI:ERROR(from an earlier run@x@1)\r\n");
        JsErrorLog log(logPath.string());
        bench.Break(fault, logPath);
        const auto before = Snapshot(bench.model.programFolder);

        ASSERT_NO_THROW(log.Append("!RarurAVI:ERROR(first@page.html@3)"));
        log.Flush();
        EXPECT_EQ(Snapshot(bench.model.programFolder), before);
        EXPECT_EQ(log.Lines().size(), 1u);

        bench.Repair(fault, logPath);
        log.Append("!RarurAVI:ERROR(second@page.html@4)");
        log.Flush();
        EXPECT_EQ(ReadFileBytes(logPath),
                  "!RarurAVI:ERROR(first@page.html@3)\r\n!RarurAVI:ERROR(second@page.html@4)\r\n");
        // The next line goes at the end of the same file, on the disk.
        struct stat first {};
        ASSERT_EQ(::stat(logPath.c_str(), &first), 0);
        log.Append("!RarurAVI:ERROR(third@page.html@5)");
        log.Flush();
        struct stat then {};
        ASSERT_EQ(::stat(logPath.c_str(), &then), 0);
        EXPECT_EQ(then.st_ino, first.st_ino);
        EXPECT_EQ(ReadFileBytes(logPath),
                  "!RarurAVI:ERROR(first@page.html@3)\r\n!RarurAVI:ERROR(second@page.html@4)"
                  "\r\n!RarurAVI:ERROR(third@page.html@5)\r\n");
    }
}
