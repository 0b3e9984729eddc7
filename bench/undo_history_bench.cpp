// What Undo and Redo cost, on projects of the largest size.
//
// HistoryOf1000Changes: 1,000 changes of every kind the editor records on a
// 10,000-menu project; `history_bytes` is what the history holds on the heap
// afterwards (live heap before and after emptying it), to be kept under 5 MB.
//
// <Kind>/Change, /Undo, /Redo side by side, time per step: Change is the
// editor's own operation as the user sets it off (through the editor logic,
// recording included, with a view that draws nothing and a preview that
// writes nothing), Undo and Redo take it back and make it again, controls
// refreshed. Compare within a kind: Undo and Redo within 2x of Change. The
// medians are the figures to read on a machine that other work shares; the
// CPU column counts a whole round (changes, undos, redos, putting back).
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <new>
#include <random>
#include <string>

#include "editor/EditorLogic.h"
#include "editor/PropertyEdits.h"
#include "model/ProjectModel.h"

#include "SilentEditorView.h"

// ---------------------------------------------------------------- live heap

namespace {
std::size_t liveHeapBytes = 0;

void* CountedAlloc(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block) throw std::bad_alloc();
    liveHeapBytes += malloc_usable_size(block);
    return block;
}

void CountedFree(void* block) noexcept {
    if (!block) return;
    liveHeapBytes -= malloc_usable_size(block);
    std::free(block);
}
} // namespace

void* operator new(std::size_t size) { return CountedAlloc(size); }
void* operator new[](std::size_t size) { return CountedAlloc(size); }
void operator delete(void* block) noexcept { CountedFree(block); }
void operator delete[](void* block) noexcept { CountedFree(block); }
void operator delete(void* block, std::size_t) noexcept { CountedFree(block); }
void operator delete[](void* block, std::size_t) noexcept { CountedFree(block); }

namespace {

using namespace didad;
using Clock = std::chrono::steady_clock;

// The filled values are kept from being optimised away, as a window would use them.
class NullView : public didad::testing::SilentEditorView {
public:
    void ShowNumber(NumberBox, int value) override { benchmark::DoNotOptimize(value); }
    void ShowHtml(HtmlBox, const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
};

// A steady typist: a keystroke every tenth of a second, so the keystrokes of
// a word make one step; the changes end their runs themselves.
class TypistClock : public EditClock {
public:
    EditTime Now() const override { return now_ += std::chrono::milliseconds(100); }

private:
    mutable EditTime now_{};
};

std::string RandomText(std::mt19937& random, std::size_t length) {
    static const std::string plain = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJ<>=/.0123456789";
    std::string text;
    while (text.size() < length) {
        if (random() % 40 == 0)
            text += "\r\n";
        else
            text += plain[random() % plain.size()];
    }
    return text;
}

// A project as the editor holds it, with menus like people write them.
struct Editor {
    explicit Editor(int menus) {
        std::mt19937 random(static_cast<unsigned>(menus));
        model.projectFolder = "/nonexistent/bench";
        for (int i = 0; i < menus; ++i) {
            model.AddMenuEntry();
            MenuEntry& entry = model.entries.back();
            entry.MTC = RandomText(random, 20 + random() % 21);
            entry.MTM = RandomText(random, 300);
        }
        model.iSelectedMenu = menus / 2;
        logic.ShowProject();
    }
    void Select(int index) {
        view.highlighted = index;
        logic.SelectFromList();
    }
    ProjectModel model;
    NullView view;
    TypistClock clock;
    std::string typed; // the menu HTML box's text while a round types into it
    EditorLogic logic{model, view, clock};
};

// One change of each kind; `n` makes each differ from the one before.
using Change = std::function<void(Editor&, int n)>;

const MenuEntry& Selected(const Editor& e) { return e.model.entries[static_cast<std::size_t>(e.model.iSelectedMenu)]; }

// Every change below differs from what the entry holds, so each is a step.
void NumberChange(Editor& e, int) {
    e.logic.EditNumber(NumberBox::Left, Selected(e).MX == 123 ? "124" : "123");
    e.logic.EndTypingRun();
}

// The box's text as the box would hand it over, kept from keystroke to keystroke.
std::string& TypedText(Editor& e) {
    if (e.typed.empty()) e.typed = StoredTextToBox(Selected(e).MTM);
    return e.typed;
}

void TypingChange(Editor& e, int n) {
    // A word typed into the menu HTML: five keystrokes, one step.
    std::string& text = TypedText(e);
    for (int key = 0; key < 5; ++key) {
        text += static_cast<char>('a' + (n + key) % 26);
        e.logic.EditHtml(HtmlBox::Menu, text);
    }
    e.logic.EndTypingRun();
}

void FirstKeystrokeChange(Editor& e, int n) {
    std::string& text = TypedText(e);
    text += static_cast<char>('a' + n % 26);
    e.logic.EditHtml(HtmlBox::Menu, text);
    e.logic.EndTypingRun();
}

void DragChange(Editor& e, int) {
    const int index = e.model.iSelectedMenu;
    e.logic.HandleTitleCommand("!RarurAVI:docMouseMove(" + std::to_string(index) + "," +
                               std::to_string(Selected(e).MX == 100 ? 101 : 100) + ",200)");
}

void ColourChange(Editor& e, int) {
    e.logic.EditColor(ColorSlot::Menu, Selected(e).CM == "#FF0000" ? Color{0, 0, 255} : Color{255, 0, 0});
}

void TransparentChange(Editor& e, int) {
    e.logic.EditTransparent(ColorSlot::Caption, Selected(e).CC != "transparent", kWhite);
}

void OrientationChange(Editor& e, int) { e.logic.EditOrientation(Selected(e).OO == 1); }

void ActivationChange(Editor& e, int) { e.logic.EditActivateOn(1 - Selected(e).MA); }

void AddChange(Editor& e, int) { e.logic.AddMenu(); }

void DeleteChange(Editor& e, int n) {
    e.model.iSelectedMenu = e.model.numOfMenus() / 2 - n % 7; // as a click in the list leaves it
    e.logic.DeleteMenu();
}

void SettingsChange(Editor& e, int) {
    ProjectSettings previous = e.model.settings;
    const bool fast = e.model.settings.scrIN == 30;
    e.model.settings.scrIN = fast ? 31 : 30;
    e.model.settings.fDefMenu = fast ? "Verdana" : "Tahoma";
    e.logic.SettingsConfirmed(std::move(previous));
}

// ---------------------------------------------------------------- memory

void HistoryOf1000Changes(benchmark::State& state) {
    Editor e(kMaxMenus);
    const Change mix[] = {NumberChange, TypingChange,      DragChange,        ColourChange,     DeleteChange,
                          AddChange,    TransparentChange, OrientationChange, ActivationChange, SettingsChange};
    std::size_t held = 0;
    std::size_t steps = 0;
    for (auto _ : state) {
        e.logic.ShowProject();
        for (int n = 0; n < 1000; ++n) {
            if (n % 10 == 0) {
                e.Select((n * 37) % e.model.numOfMenus());
                e.typed.clear();
            }
            mix[n % std::size(mix)](e, n);
        }
        const std::size_t withHistory = liveHeapBytes;
        steps = e.logic.History().StepCount();
        e.logic.ShowProject(); // empties the history
        held = withHistory - liveHeapBytes;
    }
    state.counters["steps"] = static_cast<double>(steps);
    state.counters["history_bytes"] = static_cast<double>(held);
    state.counters["bytes_per_step"] = static_cast<double>(held) / static_cast<double>(steps);
}
BENCHMARK(HistoryOf1000Changes)->Unit(benchmark::kMillisecond)->Iterations(3);

// ---------------------------------------------------------------- time

constexpr int kStepsPerRound = 1000;
// Room for the adds: a project holds at most kMaxMenus menus.
constexpr int kTimedMenus = kMaxMenus - kStepsPerRound;

enum class Measure { Change, Undo, Redo };

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Each round makes kStepsPerRound changes, undoes them all and redoes them
// all; the part measured gives the time per step, the rest puts the project
// back. A fixed number of rounds, as a round of deletes takes a while.
void RunSteps(benchmark::State& state, const Change& change, Measure measure) {
    Editor e(kTimedMenus);
    e.Select(kTimedMenus / 2);
    int n = 0;
    for (auto _ : state) {
        e.logic.ShowProject();
        e.typed.clear();
        const auto changeStart = Clock::now();
        for (int i = 0; i < kStepsPerRound; ++i) change(e, ++n);
        const auto undoStart = Clock::now();
        for (int i = 0; i < kStepsPerRound; ++i) e.logic.Undo();
        const auto redoStart = Clock::now();
        for (int i = 0; i < kStepsPerRound; ++i) e.logic.Redo();
        const auto end = Clock::now();
        Clock::duration timed = undoStart - changeStart;
        if (measure == Measure::Undo) timed = redoStart - undoStart;
        if (measure == Measure::Redo) timed = end - redoStart;
        state.SetIterationTime(Seconds(timed) / kStepsPerRound);
        // Back to the project the round started from.
        for (int i = 0; i < kStepsPerRound; ++i) e.logic.Undo();
    }
}

void RegisterKind(const char* kind, Change change) {
    const std::pair<const char*, Measure> measures[] = {
        {"Change", Measure::Change}, {"Undo", Measure::Undo}, {"Redo", Measure::Redo}};
    for (const auto& [name, measure] : measures) {
        benchmark::RegisterBenchmark(
            (std::string(kind) + "/" + name).c_str(),
            [change, measure = measure](benchmark::State& state) { RunSteps(state, change, measure); })
            ->UseManualTime()
            ->Iterations(10)
            ->Repetitions(5)
            ->DisplayAggregatesOnly(true)
            ->Unit(benchmark::kNanosecond);
    }
}

const bool registered = [] {
    RegisterKind("Number", NumberChange);
    RegisterKind("Keystroke", FirstKeystrokeChange);
    RegisterKind("TypedWord", TypingChange);
    RegisterKind("Drag", DragChange);
    RegisterKind("Colour", ColourChange);
    RegisterKind("Orientation", OrientationChange);
    RegisterKind("AddMenu", AddChange);
    RegisterKind("DeleteMenu", DeleteChange);
    RegisterKind("Settings", SettingsChange);
    return true;
}();

} // namespace

BENCHMARK_MAIN();
