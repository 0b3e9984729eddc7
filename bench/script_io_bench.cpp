// Writing and reading Dirovidadaz.js for 10, 1,000 and 10,000 menus, each
// beside the raw cost of the same bytes written the writer's way, or one
// plain read plus one pass over the text. The pairs, as the table at the end
// of the run gives them (clock and CPU time of each side, medians when run
// with --benchmark_repetitions):
//   WriteScript within 1.6x of WriteRawChunked: both hand a temporary file
//   512 KB chunks, have the system start writing each to the disk at once,
//   and rename it over the old file, unflushed;
//   WriteScriptDurable beside WriteRawChunkedDurable: the same, flushed to
//   the disk as every save of the program is;
//   ReadScript within 1.5x of ReadRaw; and 10,000 menus no more than 12x the
//   cost of 1,000.
// WriteRaw (one buffered write truncating the file in place) and
// WriteRawReplacing (one unbuffered write to a temporary file, renamed) are
// the plainer ways to put the same bytes down, for scale.
// The report's context names the vector code that ran; with
// DIDAD_BENCH_NO_AVX512 set the AVX-512 code is left out, as on most
// processors sold before 2023.
//
// Mind the heap when the read's figures jump: each iteration frees some ten
// megabytes, and whether glibc then hands the heap top back to the system
// depends on where the last chunks happen to lie. A change of allocation
// pattern can tip it over, and every read then pays a page fault for each
// 4 KB it touches, nearly doubling its cost at 10,000 menus. `perf stat -e
// page-faults` on one benchmark tells it: a handful a read is normal,
// thousands are the heap.
#include <benchmark/benchmark.h>
#include <hwy/targets.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "model/DiskSync.h"
#include "model/Messages.h"
#include "model/ProjectModel.h"
#include "model/ScriptReader.h"
#include "model/ScriptWriter.h"
#include "model/TextCodec.h"

#include "SilentMessages.h"

namespace {

using namespace didad;
namespace fs = std::filesystem;

using didad::testing::SilentMessages;

std::string RandomText(std::mt19937& random, std::size_t length, bool withBreaks) {
    static const std::string plain = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJ<>=/.0123456789";
    std::string text;
    while (text.size() < length) {
        const int pick = static_cast<int>(random() % 40);
        if (pick == 0)
            text += '"';
        else if (pick == 1)
            text += '\\';
        else if (pick == 2 && withBreaks)
            text += "\r\n";
        else if (pick == 3)
            text += "<A HREF=\"page.html\">";
        else
            text += plain[random() % plain.size()];
    }
    return text;
}

// A project folder under the temporary folder, removed at exit.
struct BenchProject {
    explicit BenchProject(int menus) {
        folder = fs::temp_directory_path() /
                 ("didad-bench-" + std::to_string(menus) + "-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
        std::mt19937 random(static_cast<unsigned>(menus));
        model.projectFolder = folder.string();
        for (int i = 0; i < menus; ++i) {
            model.AddMenuEntry();
            MenuEntry& e = model.entries.back();
            e.MTC = RandomText(random, 20 + random() % 21, false);
            e.MTM = RandomText(random, 300, true);
            e.OO = static_cast<int>(random() % 4 == 0);
        }
        WriteProjectScript(model, ScriptMode::Final);
        bytes = fs::file_size(model.ScriptPath());
    }
    ~BenchProject() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    fs::path folder;
    ProjectModel model;
    std::uintmax_t bytes = 0;
};

BenchProject& Project(int menus) {
    // One project per size for the whole run, so that both sides of a pair
    // see the same files.
    static BenchProject p10(10), p1000(1000), p10000(10000);
    switch (menus) {
    case 10: return p10;
    case 1000: return p1000;
    case 10000: return p10000;
    }
    throw std::invalid_argument("no such size");
}

void WriteScript(benchmark::State& state) {
    BenchProject& project = Project(static_cast<int>(state.range(0)));
    for (auto _ : state) WriteProjectScript(project.model, ScriptMode::Final, {}, Flush::CacheOnly);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * project.bytes));
}

void WriteRaw(benchmark::State& state) {
    BenchProject& project = Project(static_cast<int>(state.range(0)));
    const std::string bytes(project.bytes, 'x');
    const std::string path = (project.folder / "raw.js").string();
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * project.bytes));
}

// The raw bytes replacing the old file as the writer replaces the script: a
// temporary file renamed over it, unbuffered, flushed or not as asked.
void ReplaceRaw(benchmark::State& state, Flush flush) {
    BenchProject& project = Project(static_cast<int>(state.range(0)));
    const std::string bytes(project.bytes, 'x');
    const std::string temporary = (project.folder / ".raw.js.tmp").string();
    const std::string path = (project.folder / "raw.js").string();
    for (auto _ : state) {
        std::FILE* file = std::fopen(temporary.c_str(), "wb");
        std::setvbuf(file, nullptr, _IONBF, 0);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        if (flush == Flush::ToDisk) SyncFileToDisk(file);
        std::fclose(file);
        std::rename(temporary.c_str(), path.c_str());
        if (flush == Flush::ToDisk) SyncFolderToDisk(project.folder);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * project.bytes));
}

// Unflushed: beside WriteScript it shows the writer's own cost; beside
// WriteRaw, what the safe replacement costs on this filesystem (where it is
// mounted with discard, the rename frees the old file's blocks only once
// the new file's writeback is through).
void WriteRawReplacing(benchmark::State& state) { ReplaceRaw(state, Flush::CacheOnly); }

// The pair again as the program saves: the file flushed to the disk before
// the rename and the folder after it. The raw side pays the same flushes and
// rename, so the ratio shows the writer's cost beside the disk's.
void WriteScriptDurable(benchmark::State& state) {
    BenchProject& project = Project(static_cast<int>(state.range(0)));
    for (auto _ : state) WriteProjectScript(project.model, ScriptMode::Final);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * project.bytes));
}

void WriteRawDurable(benchmark::State& state) { ReplaceRaw(state, Flush::ToDisk); }

// The raw bytes written as the writer writes a script: a temporary file,
// unbuffered, handed a chunk at a time, the system asked to start writing
// each chunk to the disk at once, then renamed over the old file.
void ReplaceRawChunked(benchmark::State& state, Flush flush) {
    // The writer's chunk.
    constexpr std::size_t kChunk = std::size_t{512} * 1024;
    BenchProject& project = Project(static_cast<int>(state.range(0)));
    const std::string bytes(project.bytes, 'x');
    const std::string temporary = (project.folder / ".raw.js.tmp").string();
    const std::string path = (project.folder / "raw.js").string();
    for (auto _ : state) {
        std::FILE* file = std::fopen(temporary.c_str(), "wbx");
        std::setvbuf(file, nullptr, _IONBF, 0);
        for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
            const std::size_t count = std::min(kChunk, bytes.size() - at);
            std::fwrite(bytes.data() + at, 1, count, file);
            StartWritingToDisk(file, at, count);
        }
        if (flush == Flush::ToDisk) SyncFileToDisk(file);
        std::fclose(file);
        std::rename(temporary.c_str(), path.c_str());
        if (flush == Flush::ToDisk) SyncFolderToDisk(project.folder);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * project.bytes));
}

void WriteRawChunked(benchmark::State& state) { ReplaceRawChunked(state, Flush::CacheOnly); }
void WriteRawChunkedDurable(benchmark::State& state) { ReplaceRawChunked(state, Flush::ToDisk); }

void ReadScript(benchmark::State& state) {
    BenchProject& project = Project(static_cast<int>(state.range(0)));
    const std::string path = project.model.ScriptPath();
    SilentMessages messages;
    for (auto _ : state) {
        ProjectModel model;
        if (!ReadProjectScript(path, model, messages) || model.numOfMenus() != state.range(0))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(model);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * project.bytes));
}

void ReadRaw(benchmark::State& state) {
    BenchProject& project = Project(static_cast<int>(state.range(0)));
    const std::string path = project.model.ScriptPath();
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        std::string content(project.bytes, '\0');
        const std::size_t got = std::fread(content.data(), 1, content.size(), file);
        std::fclose(file);
        // One pass over the text, as a scan for the quotes of the values.
        benchmark::DoNotOptimize(std::count(content.begin(), content.begin() + static_cast<long>(got), '"'));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * project.bytes));
}

const bool kVectorContext = [] {
#if HWY_ARCH_X86
    if (std::getenv("DIDAD_BENCH_NO_AVX512")) hwy::DisableTargets(HWY_AVX3 | HWY_AVX3_DL);
#endif
    benchmark::AddCustomContext("vector code", textcodec::VectorTargetName());
    return true;
}();

// The CPU time counts every thread of the process, the system's work for it
// included.
void Sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
}

} // namespace

BENCHMARK(WriteScript)->Apply(Sizes);
BENCHMARK(WriteRawChunked)->Apply(Sizes);
BENCHMARK(WriteRaw)->Apply(Sizes);
BENCHMARK(WriteRawReplacing)->Apply(Sizes);
BENCHMARK(WriteScriptDurable)->Apply(Sizes);
BENCHMARK(WriteRawChunkedDurable)->Apply(Sizes);
BENCHMARK(WriteRawDurable)->Apply(Sizes);
BENCHMARK(ReadScript)->Apply(Sizes);
BENCHMARK(ReadRaw)->Apply(Sizes);

namespace {

// The console report, and after it each pair side by side: clock and CPU
// time per iteration of both sides and their ratios. With repetitions the
// medians are taken, else the one run.
class PairReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            // "WriteScript/10000", without the "/process_time" of the CPU clock.
            const std::string name = run.run_name.function_name + "/" + run.run_name.args;
            if (median || !medians_.count(name)) {
                const double iterations = static_cast<double>(std::max<benchmark::IterationCount>(1, run.iterations));
                times_[name] = {run.real_accumulated_time / iterations * 1e3,
                                run.cpu_accumulated_time / iterations * 1e3};
                if (median) medians_.insert(name);
            }
        }
    }

    void PrintPairs() const {
        static const std::pair<const char*, const char*> kPairs[] = {
            {"WriteScript", "WriteRawChunked"},
            {"WriteScriptDurable", "WriteRawChunkedDurable"},
            {"ReadScript", "ReadRaw"},
        };
        std::printf("\n%-34s %10s %10s %10s %10s %8s %8s\n", "pair, ms per iteration", "wall", "raw wall", "cpu",
                    "raw cpu", "wall x", "cpu x");
        for (const auto& [ours, raw] : kPairs) {
            for (const char* menus : {"10", "1000", "10000"}) {
                const auto a = times_.find(std::string(ours) + "/" + menus);
                const auto b = times_.find(std::string(raw) + "/" + menus);
                if (a == times_.end() || b == times_.end()) continue;
                const std::string label = std::string(ours) + "/" + menus;
                std::printf("%-34s %10.3f %10.3f %10.3f %10.3f %8.2f %8.2f\n", label.c_str(), a->second.first,
                            b->second.first, a->second.second, b->second.second, a->second.first / b->second.first,
                            a->second.second / b->second.second);
            }
        }
    }

private:
    std::map<std::string, std::pair<double, double>> times_; // wall, cpu in ms
    std::set<std::string> medians_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    PairReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintPairs();
    benchmark::Shutdown();
    return 0;
}
