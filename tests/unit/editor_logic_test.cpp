#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editor/ControlFilling.h"
#include "editor/EditorLogic.h"
#include "model/Errors.h"
#include "model/ProjectModel.h"
#include "model/ScriptWriter.h"

#include "SilentEditorView.h"

using namespace didad;

namespace {

// Records what the editor shows, and whether the control-filling flag was
// set while it did.
class FakeView : public didad::testing::SilentEditorView {
public:
    std::vector<std::string> list;
    std::optional<bool> enabled;
    std::map<NumberBox, int> numbers;
    std::map<HtmlBox, std::string> html;
    int activateOn = -1;
    std::optional<bool> floatChecked;
    std::optional<bool> horizontal;
    std::map<ColorSlot, bool> transparent;
    std::map<ColorSlot, Color> swatch;
    std::vector<std::string> confirmations;
    std::vector<std::string> messages;
    int previewUpdates = 0;
    bool previewWriteFails = false;
    std::vector<std::string> statements;
    std::vector<int> reveals;
    int pendingMarks = 0;
    // Every Show* call made without the control-filling flag.
    int unguardedFills = 0;

    void AppendListLine(const std::string& text) override {
        SilentEditorView::AppendListLine(text);
        list.push_back(text);
    }
    void RemoveLastListLine() override {
        SilentEditorView::RemoveLastListLine();
        list.pop_back();
    }
    void ClearList() override {
        SilentEditorView::ClearList();
        list.clear();
    }
    void EnablePropertyControls(bool on) override { enabled = on; }
    void ShowNumber(NumberBox box, int value) override {
        Fill();
        numbers[box] = value;
    }
    void ShowHtml(HtmlBox box, const std::string& text) override {
        Fill();
        html[box] = text;
    }
    void ShowActivateOn(int item) override {
        Fill();
        activateOn = item;
    }
    void ShowFloat(bool checked) override {
        Fill();
        floatChecked = checked;
    }
    void ShowHorizontal(bool h) override {
        Fill();
        horizontal = h;
    }
    void ShowTransparent(ColorSlot slot, bool checked) override {
        Fill();
        transparent[slot] = checked;
    }
    void ShowSwatchColor(ColorSlot slot, Color colour) override {
        Fill();
        swatch[slot] = colour;
    }
    bool ConfirmDelete(const std::string& text) override {
        confirmations.push_back(text);
        return confirmDelete;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool UpdatePreview() override {
        ++previewUpdates;
        return !previewWriteFails;
    }
    void RunInPreview(const std::string& statement) override { statements.push_back(statement); }
    void RevealInPreview(int index) override { reveals.push_back(index); }
    void MarkPreviewPending() override { ++pendingMarks; }
    // Questions to the page, answered when the test says so.
    std::vector<std::pair<std::string, PreviewReply>> questions;
    void AskPreview(const std::string& expression, PreviewReply reply) override {
        questions.emplace_back(expression, std::move(reply));
    }
    std::optional<std::pair<int, std::string>> anchor;
    void ShowAnchor(int kind, const std::string& selector) override {
        Fill();
        anchor = {kind, selector};
    }

private:
    void Fill() {
        if (!IsFillingControls()) ++unguardedFills;
    }
};

struct Editor {
    ProjectModel model;
    FakeView view;
    EditorLogic logic{model, view};
    Editor() { model.projectFolder = "/tmp/project"; }
};

} // namespace

TEST(EditorLogic, DisablingWritesTheNoMenusTextUnderTheFillingFlag) {
    Editor e;
    e.logic.SetEditingEnabled(false);
    EXPECT_EQ(e.view.enabled, false);
    EXPECT_EQ(e.view.html[HtmlBox::Caption], "No Menus in Project");
    EXPECT_EQ(e.view.html[HtmlBox::Menu], "No Menus in Project");
    EXPECT_EQ(e.view.unguardedFills, 0);
    EXPECT_FALSE(IsFillingControls());

    // Enabling leaves the texts alone.
    e.view.html[HtmlBox::Caption] = "kept";
    e.logic.SetEditingEnabled(true);
    EXPECT_EQ(e.view.enabled, true);
    EXPECT_EQ(e.view.html[HtmlBox::Caption], "kept");
}

TEST(EditorLogic, FirstAddGivesTheDefaultEntryAndRefreshesThePreview) {
    Editor e;
    e.logic.SetEditingEnabled(false);
    ASSERT_TRUE(e.logic.AddMenu());

    ASSERT_EQ(e.model.numOfMenus(), 1);
    EXPECT_EQ(e.view.list, std::vector<std::string>{"Menu 1"});
    EXPECT_EQ(e.view.enabled, true);
    EXPECT_EQ(e.view.highlighted, 0);
    EXPECT_EQ(e.model.iSelectedMenu, 0);
    EXPECT_EQ(e.view.numbers[NumberBox::Left], 10);
    EXPECT_EQ(e.view.numbers[NumberBox::Top], 10);
    EXPECT_EQ(e.view.numbers[NumberBox::Width], 150);
    EXPECT_EQ(e.view.numbers[NumberBox::CapHeight], 22);
    EXPECT_EQ(e.view.html[HtmlBox::Caption], "Caption");
    EXPECT_EQ(e.view.html[HtmlBox::Menu], "Blank menu");
    EXPECT_EQ(e.view.activateOn, 0);
    EXPECT_EQ(e.view.floatChecked, true);
    EXPECT_EQ(e.view.horizontal, true);
    // Bottom colour transparent; caption and menu colours on their swatches.
    EXPECT_TRUE(e.view.transparent[ColorSlot::Owner]);
    EXPECT_FALSE(e.view.transparent[ColorSlot::Caption]);
    EXPECT_FALSE(e.view.transparent[ColorSlot::Menu]);
    EXPECT_EQ(e.view.swatch[ColorSlot::Caption], (Color{0, 0, 0}));
    EXPECT_EQ(e.view.swatch[ColorSlot::Menu], (Color{0, 0x80, 0x80}));
    EXPECT_EQ(e.view.swatch.count(ColorSlot::Owner), 0u);

    EXPECT_EQ(e.view.previewUpdates, 1);
    EXPECT_EQ(e.view.reveals, std::vector<int>{0});
    EXPECT_EQ(e.view.unguardedFills, 0);
}

TEST(EditorLogic, AddAfterAFailedPreviewWriteKeepsTheEntryButDoesNotReveal) {
    Editor e;
    e.view.previewWriteFails = true;
    ASSERT_TRUE(e.logic.AddMenu());
    EXPECT_EQ(e.model.numOfMenus(), 1);
    EXPECT_EQ(e.view.list.size(), 1u);
    EXPECT_TRUE(e.view.reveals.empty());
}

TEST(EditorLogic, AddRefusesAtCapacityWithoutWritingPastIt) {
    Editor e;
    e.model.entries.resize(kMaxMenus);
    EXPECT_FALSE(e.logic.AddMenu());
    EXPECT_EQ(e.model.numOfMenus(), kMaxMenus);
    EXPECT_EQ(e.view.messages, std::vector<std::string>{"A project can hold at most 10000 menus."});
    EXPECT_TRUE(e.view.list.empty());
    EXPECT_EQ(e.view.previewUpdates, 0);
}

TEST(EditorLogic, LoadingShowsTransparencyAndKeepsTheSwatchOfATransparentColour) {
    Editor e;
    MenuEntry entry;
    entry.CC = "transparent";
    entry.CM = "#FF0000";
    entry.CO = "#0000FF";
    entry.MA = 1;
    entry.FL = 0;
    entry.OO = 1;
    entry.MTC = "Cap\r\nline";
    e.model.entries = {MenuEntry{}, entry};
    e.view.swatch[ColorSlot::Caption] = Color{1, 2, 3};

    e.logic.LoadEntryIntoControls(1);
    EXPECT_EQ(e.view.highlighted, 1);
    EXPECT_TRUE(e.view.transparent[ColorSlot::Caption]);
    EXPECT_EQ(e.view.swatch[ColorSlot::Caption], (Color{1, 2, 3}));
    EXPECT_FALSE(e.view.transparent[ColorSlot::Menu]);
    EXPECT_EQ(e.view.swatch[ColorSlot::Menu], (Color{255, 0, 0}));
    EXPECT_EQ(e.view.swatch[ColorSlot::Owner], (Color{0, 0, 255}));
    EXPECT_EQ(e.view.activateOn, 1);
    EXPECT_EQ(e.view.floatChecked, false);
    EXPECT_EQ(e.view.horizontal, false);
    EXPECT_EQ(e.view.html[HtmlBox::Caption], "Cap\r\nline");
    EXPECT_EQ(e.model.entries[1].CC, "transparent");
    EXPECT_EQ(e.view.unguardedFills, 0);
    EXPECT_FALSE(IsFillingControls());

    // Out of range or no entries: nothing is shown.
    e.view.highlighted = -1;
    e.logic.LoadEntryIntoControls(2);
    e.logic.LoadEntryIntoControls(-1);
    EXPECT_EQ(e.view.highlighted, -1);
}

TEST(EditorLogic, LoadingAHandEditedColourThatDoesNotParseStillLoadsTheRest) {
    Editor e;
    MenuEntry entry;
    entry.CC = "red";
    entry.CM = "#00FF00";
    entry.CO = ""; // a value missing from the file: no background of its own
    e.model.entries = {entry};
    e.logic.LoadEntryIntoControls(0);
    EXPECT_EQ(e.view.swatch[ColorSlot::Menu], (Color{0, 255, 0}));
    EXPECT_TRUE(e.view.transparent[ColorSlot::Owner]);
    EXPECT_FALSE(IsFillingControls());
}

TEST(EditorLogic, DeleteAsksWithThePositionalLabelAndMovesTheSelection) {
    Editor e;
    for (int i = 0; i < 3; ++i) e.logic.AddMenu();
    e.model.entries[2].MX = 333;
    e.view.highlighted = 1;
    e.logic.SelectFromList();
    ASSERT_EQ(e.model.iSelectedMenu, 1);

    // Declining changes nothing.
    e.view.confirmDelete = false;
    e.logic.DeleteMenu();
    EXPECT_EQ(e.view.confirmations.back(), "        Delete Menu 2 ?");
    EXPECT_EQ(e.model.numOfMenus(), 3);
    const int updatesBefore = e.view.previewUpdates;

    // Deleting "Menu 2" leaves "Menu 1", "Menu 2"; line 2 now shows old entry 3.
    e.view.confirmDelete = true;
    e.logic.DeleteMenu();
    EXPECT_EQ(e.view.list, (std::vector<std::string>{"Menu 1", "Menu 2"}));
    EXPECT_EQ(e.model.iSelectedMenu, 1);
    EXPECT_EQ(e.view.numbers[NumberBox::Left], 333);
    EXPECT_EQ(e.view.previewUpdates, updatesBefore + 1);

    // Deleting the last entry while selected selects the new last one.
    e.logic.DeleteMenu();
    EXPECT_EQ(e.model.iSelectedMenu, 0);
    EXPECT_EQ(e.view.list, std::vector<std::string>{"Menu 1"});

    // Deleting the only entry disables editing.
    EXPECT_EQ(e.logic.DeleteConfirmationText(), "        Delete Menu 1 ?");
    e.logic.DeleteMenu();
    EXPECT_TRUE(e.view.list.empty());
    EXPECT_EQ(e.view.enabled, false);
    EXPECT_EQ(e.view.html[HtmlBox::Menu], "No Menus in Project");

    // And with nothing left there is nothing to ask about.
    const auto asked = e.view.confirmations.size();
    e.logic.DeleteMenu();
    EXPECT_EQ(e.view.messages, std::vector<std::string>{"Nothing to delete, sorry..."});
    EXPECT_EQ(e.view.confirmations.size(), asked);
}

TEST(EditorLogic, SelectingFromTheListTellsThePageAndScrolls) {
    Editor e;
    e.logic.AddMenu();
    e.logic.AddMenu();
    e.view.statements.clear();
    e.view.reveals.clear();

    e.view.highlighted = 0;
    e.logic.ListMouseDown();
    EXPECT_EQ(e.model.iSelectedMenu, 0);
    EXPECT_EQ(e.view.statements, std::vector<std::string>{"ySetSel(0,0)"});
    EXPECT_EQ(e.view.reveals, std::vector<int>{0});

    // A release on the line already selected sends nothing again...
    e.logic.ListMouseUp();
    EXPECT_EQ(e.view.statements.size(), 1u);
    // ...a release after dragging to another line does.
    e.view.highlighted = 1;
    e.logic.ListMouseUp();
    EXPECT_EQ(e.model.iSelectedMenu, 1);
    EXPECT_EQ(e.view.statements.back(), "ySetSel(1,0)");
    // Any key release selects.
    e.logic.ListKeyUp();
    EXPECT_EQ(e.view.statements.size(), 3u);
}

TEST(EditorLogic, SelectingInAnEmptyListSendsNothing) {
    Editor e;
    e.logic.SelectFromList();
    e.logic.ListKeyUp();
    EXPECT_TRUE(e.view.statements.empty());
    EXPECT_TRUE(e.view.reveals.empty());
}

TEST(EditorLogic, TitleCommandsSelectAndMoveExistingEntriesOnly) {
    Editor e;
    for (int i = 0; i < 3; ++i) e.logic.AddMenu();
    e.view.statements.clear();
    e.view.reveals.clear();

    e.logic.HandleTitleCommand("!RarurAVI:ySetSel(2)");
    EXPECT_EQ(e.model.iSelectedMenu, 2);
    EXPECT_EQ(e.view.highlighted, 2);

    e.logic.HandleTitleCommand("!RarurAVI:docMouseMove(1,120,45)");
    EXPECT_EQ(e.model.entries[1].MX, 120);
    EXPECT_EQ(e.model.entries[1].MY, 45);
    EXPECT_EQ(e.model.iSelectedMenu, 1);
    EXPECT_EQ(e.view.numbers[NumberBox::Left], 120);
    EXPECT_EQ(e.view.numbers[NumberBox::Top], 45);

    // A drag past the page's edges is stored as it comes.
    e.logic.HandleTitleCommand("!RarurAVI:docMouseMove(0,-12,-3)");
    EXPECT_EQ(e.model.entries[0].MX, -12);
    EXPECT_EQ(e.model.entries[0].MY, -3);

    // The page is not told again and the window is not scrolled.
    EXPECT_TRUE(e.view.statements.empty());
    EXPECT_TRUE(e.view.reveals.empty());

    const auto before = e.model.entries;
    e.logic.HandleTitleCommand("!RarurAVI:ySetSel(3)");
    e.logic.HandleTitleCommand("!RarurAVI:ySetSel(-1)");
    e.logic.HandleTitleCommand("!RarurAVI:docMouseMove(7,1,1)");
    e.logic.HandleTitleCommand("Some page");
    EXPECT_EQ(e.model.entries, before);
    EXPECT_EQ(e.model.iSelectedMenu, 0);

    EXPECT_EQ(e.logic.HandleTitleCommand("!RarurAVI:ERROR(boom@u@1)").kind, TitleCommand::Kind::Error);
}

TEST(EditorLogic, ABadNumberInATitleChangesNothing) {
    Editor e;
    e.logic.AddMenu();
    e.logic.AddMenu();
    const auto before = e.model.entries;
    try {
        e.logic.HandleTitleCommand("!RarurAVI:docMouseMove(1,12x,5)");
        FAIL() << "no conversion error";
    } catch (const ConversionError& error) {
        EXPECT_EQ(std::string(error.what()), "'12x' is not a valid integer value");
    }
    EXPECT_EQ(e.model.entries, before);
    EXPECT_EQ(e.model.iSelectedMenu, 1);
}

TEST(EditorLogic, ShowingAProjectRefillsTheListAndLoadsTheSelection) {
    Editor e;
    e.view.list = {"stale"};
    e.model.entries.resize(3);
    e.model.iSelectedMenu = 0;
    e.model.entries[0].MW = 77;
    e.logic.ShowProject();
    EXPECT_EQ(e.view.list, (std::vector<std::string>{"Menu 1", "Menu 2", "Menu 3"}));
    EXPECT_EQ(e.view.enabled, true);
    EXPECT_EQ(e.view.numbers[NumberBox::Width], 77);

    e.model.entries.clear();
    e.logic.ShowProject();
    EXPECT_TRUE(e.view.list.empty());
    EXPECT_EQ(e.view.enabled, false);
    EXPECT_EQ(e.view.html[HtmlBox::Caption], "No Menus in Project");
}

// ---------------------------------------------------------------- undo and redo

namespace {

// The typing pause is measured on this clock, which only moves when told.
class StepClock : public EditClock {
public:
    EditTime Now() const override { return now_; }
    void Advance(std::chrono::milliseconds by) { now_ += by; }

private:
    EditTime now_{};
};

// A project of `count` added menus whose history starts empty, as after opening.
struct HistoryEditor {
    ProjectModel model;
    FakeView view;
    StepClock clock;
    EditorLogic logic{model, view, clock};
    explicit HistoryEditor(int count) {
        model.projectFolder = "/tmp/project";
        for (int i = 0; i < count; ++i) logic.AddMenu();
        logic.ShowProject();
    }
    // Typing `text` into a box after `pause`, as the box reports each keystroke.
    void Type(HtmlBox box, const std::string& text, std::chrono::milliseconds pause = std::chrono::milliseconds(200)) {
        clock.Advance(pause);
        logic.EditHtml(box, text);
    }
    std::size_t Steps() const { return logic.History().StepCount(); }
};

using std::chrono::milliseconds;

} // namespace

TEST(UndoRedo, TypingMergesUntilAPauseLeavingTheBoxOrAnotherChange) {
    HistoryEditor e(2);
    e.Type(HtmlBox::Caption, "H");
    e.Type(HtmlBox::Caption, "Ho");
    e.Type(HtmlBox::Caption, "Hom", milliseconds(999));
    EXPECT_EQ(e.Steps(), 1u);
    e.Type(HtmlBox::Caption, "Home", milliseconds(1000)); // a pause: a step of its own
    EXPECT_EQ(e.Steps(), 2u);
    e.logic.EndTypingRun(); // the user left the box and came back
    e.Type(HtmlBox::Caption, "Home!");
    EXPECT_EQ(e.Steps(), 3u);
    e.logic.EditFloat(false); // something else between two keystrokes
    e.Type(HtmlBox::Caption, "Home!!");
    EXPECT_EQ(e.Steps(), 5u);
    e.Type(HtmlBox::Menu, "m"); // another box
    EXPECT_EQ(e.Steps(), 6u);

    // A number typed digit by digit is one step per box, pauses or not.
    e.logic.EditNumber(NumberBox::Left, "1");
    e.clock.Advance(milliseconds(5000));
    e.logic.EditNumber(NumberBox::Left, "12");
    e.logic.EditNumber(NumberBox::Left, "120");
    e.logic.EditNumber(NumberBox::Top, "7");
    EXPECT_EQ(e.Steps(), 8u);
    // Nor does typing join across entries.
    e.view.highlighted = 0;
    e.logic.SelectFromList();
    e.logic.EditNumber(NumberBox::Top, "8");
    EXPECT_EQ(e.Steps(), 9u);

    const std::vector<std::string> captions{"Home!!", "Home!", "Home", "Hom", "Caption"};
    e.logic.Undo(); // Top of entry 0
    EXPECT_EQ(e.model.entries[0].MY, 10);
    e.logic.Undo();
    EXPECT_EQ(e.model.entries[1].MY, 10);
    e.logic.Undo();
    EXPECT_EQ(e.model.entries[1].MX, 162);
    EXPECT_EQ(e.model.iSelectedMenu, 1); // the entry that changed is the one shown
    EXPECT_EQ(e.view.numbers[NumberBox::Left], 162);
    e.logic.Undo(); // menu HTML
    EXPECT_EQ(e.model.entries[1].MTM, "Blank menu");
    for (std::size_t i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(e.model.entries[1].MTC, captions[i]);
        EXPECT_EQ(e.view.html[HtmlBox::Caption], captions[i]);
        if (captions[i] == "Home!") {
            EXPECT_EQ(e.model.entries[1].FL, 0);
            e.logic.Undo(); // Float, between the two
            EXPECT_EQ(e.model.entries[1].FL, 1);
            EXPECT_EQ(e.view.floatChecked, true);
        }
        EXPECT_EQ(e.logic.Undo(), i + 1 < captions.size());
    }
    EXPECT_EQ(e.view.unguardedFills, 0);
    while (e.logic.Redo()) {
    }
    EXPECT_EQ(e.model.entries[1].MTC, "Home!!");
    EXPECT_EQ(e.model.entries[1].MX, 120);
    EXPECT_EQ(e.model.entries[0].MY, 8);
}

TEST(UndoRedo, ANewChangeAfterUndoDropsTheRedoStepsAndNothingIsWritten) {
    HistoryEditor e(1);
    e.logic.EditColor(ColorSlot::Caption, Color{255, 0, 0});
    e.logic.EditTransparent(ColorSlot::Menu, true, kWhite);
    e.logic.HandleTitleCommand("!RarurAVI:docMouseMove(0,70,80)"); // one drag, one step
    e.logic.HandleTitleCommand("!RarurAVI:docMouseMove(0,70,80)"); // a click: no step
    ASSERT_EQ(e.Steps(), 3u);
    const int updates = e.view.previewUpdates;

    e.logic.Undo();
    EXPECT_EQ(e.model.entries[0].MX, 10);
    EXPECT_EQ(e.model.entries[0].MY, 10);
    e.logic.Undo();
    EXPECT_EQ(e.model.entries[0].CM, "#008080");
    EXPECT_EQ(e.view.transparent[ColorSlot::Menu], false);
    EXPECT_TRUE(e.logic.History().CanRedo());

    e.logic.EditActivateOn(1);
    EXPECT_FALSE(e.logic.History().CanRedo());
    EXPECT_FALSE(e.logic.Redo());
    EXPECT_EQ(e.model.entries[0].CM, "#008080");
    EXPECT_EQ(e.Steps(), 2u);
    e.logic.Undo();
    e.logic.Undo();
    EXPECT_EQ(e.model.entries[0], MenuEntry{});
    EXPECT_EQ(e.view.previewUpdates, updates); // an undo writes nothing itself
    EXPECT_GT(e.view.pendingMarks, 0);
}

TEST(UndoRedo, DeleteUndoneBringsTheEntryBackAtItsIndexAndAddUndoneTakesItAway) {
    HistoryEditor e(3);
    for (int i = 0; i < 3; ++i) e.model.entries[static_cast<std::size_t>(i)].MTC = "menu " + std::to_string(i);
    const auto entries = e.model.entries;
    e.view.highlighted = 1;
    e.logic.SelectFromList();
    e.logic.DeleteMenu();
    ASSERT_EQ(e.model.numOfMenus(), 2);
    EXPECT_EQ(e.view.list, (std::vector<std::string>{"Menu 1", "Menu 2"}));

    e.logic.Undo();
    EXPECT_EQ(e.model.entries, entries);
    EXPECT_EQ(e.view.list, (std::vector<std::string>{"Menu 1", "Menu 2", "Menu 3"}));
    EXPECT_EQ(e.model.iSelectedMenu, 1);
    EXPECT_EQ(e.view.highlighted, 1);
    EXPECT_EQ(e.view.html[HtmlBox::Caption], "menu 1");
    e.logic.Redo();
    EXPECT_EQ(e.model.entries[1].MTC, "menu 2");
    EXPECT_EQ(e.view.list.size(), 2u);
    e.logic.Undo();

    // Adding, undone back to no menus at all, disables the controls again.
    e.logic.ShowProject();
    while (e.model.numOfMenus() > 0) e.logic.DeleteMenu();
    e.logic.AddMenu();
    e.logic.Undo();
    EXPECT_EQ(e.model.numOfMenus(), 0);
    EXPECT_TRUE(e.view.list.empty());
    EXPECT_EQ(e.view.enabled, false);
    EXPECT_EQ(e.view.html[HtmlBox::Menu], "No Menus in Project");
    for (int i = 0; i < 3; ++i) e.logic.Undo();
    EXPECT_EQ(e.model.entries, entries);
    EXPECT_EQ(e.view.enabled, true);
    EXPECT_EQ(e.view.list.size(), 3u);
}

TEST(UndoRedo, TheCaptionExchangeOfAWriteIsUndoneWithTheStepBeforeIt) {
    HistoryEditor e(2);
    e.logic.EditOrientation(false);
    EXPECT_EQ(e.model.entries[1].MTC, "Caption"); // exchanged only when written
    BuildProjectScript(e.model, ScriptMode::Preview, e.logic.CaptionSwapHandler());
    ASSERT_EQ(e.model.entries[1].MTC, kVerticalDefaultCaption);
    EXPECT_EQ(e.view.html[HtmlBox::Caption], kVerticalDefaultCaption);

    e.logic.Undo();
    EXPECT_EQ(e.model.entries[1].OO, 0);
    EXPECT_EQ(e.model.entries[1].MTC, "Caption");
    EXPECT_EQ(e.view.html[HtmlBox::Caption], "Caption");
    EXPECT_EQ(e.view.horizontal, true);
    e.logic.Redo();
    EXPECT_EQ(e.model.entries[1].OO, 1);
    EXPECT_EQ(e.view.html[HtmlBox::Caption], kVerticalDefaultCaption);

    // The next menu is added vertical and written with the exchanged caption:
    // undone, the project is as it was before the add, redone as after it.
    e.logic.AddMenu();
    e.logic.Undo();
    EXPECT_EQ(e.model.numOfMenus(), 2);
    e.logic.Redo();
    EXPECT_EQ(e.model.entries[2].MTC, "Caption"); // the write comes with the next update
    EXPECT_EQ(e.model.entries[2].OO, 1);
}

TEST(UndoRedo, TheHistoryBelongsToTheActiveProject) {
    HistoryEditor e(1);
    ProjectSettings previous = e.model.settings;
    e.model.settings.scrIN = 99;
    e.logic.SettingsConfirmed(previous);
    e.logic.EditNumber(NumberBox::Width, "300");
    e.logic.Undo();
    e.logic.Undo();
    EXPECT_EQ(e.model.settings.scrIN, 20);
    e.logic.Redo();
    EXPECT_EQ(e.model.settings.scrIN, 99);
    EXPECT_EQ(e.model.entries[0].MW, 150);

    // Another project becomes active: nothing of the old one can come back.
    e.model.ResetForNewProject();
    e.logic.ShowProject();
    EXPECT_FALSE(e.logic.History().CanUndo());
    EXPECT_FALSE(e.logic.History().CanRedo());
    EXPECT_FALSE(e.logic.Undo());
    EXPECT_FALSE(e.logic.Redo());
    EXPECT_EQ(e.model.settings, ProjectSettings{});
    EXPECT_EQ(e.model.numOfMenus(), 0);
}

// Two anchor choices in quick succession: the page's answer to the first
// arrives after the second was made and must not move the menu twice.
TEST(EditorLogic, AnAnchorChangeKeepsThePlaceAndANewerChoiceOutdatesAnOpenOne) {
    Editor e;
    e.logic.AddMenu();
    e.model.entries[0].MX = 100;
    e.model.entries[0].MY = 200;
    e.logic.ChangeAnchor({kAnchorPageCentre, ""});
    e.logic.ChangeAnchor({kAnchorElement, "#nav"});
    ASSERT_EQ(e.view.questions.size(), 2u);
    EXPECT_EQ(e.model.entries[0].AN, kAnchorPageLeft); // nothing before the page answers
    const std::string first = "0,0;410,0", second = "0,0;300,150";
    e.view.questions[0].second(&first);
    EXPECT_EQ(e.model.entries[0].MX, 100);
    e.view.questions[1].second(&second);
    EXPECT_EQ(e.model.entries[0].AN, kAnchorElement);
    EXPECT_EQ(e.model.entries[0].AE, "#nav");
    EXPECT_EQ(e.model.entries[0].MX, -200);
    EXPECT_EQ(e.model.entries[0].MY, 50);
    EXPECT_EQ(e.view.numbers[NumberBox::Left], -200);
    EXPECT_EQ(e.view.anchor, (std::pair<int, std::string>{kAnchorElement, "#nav"}));
    EXPECT_EQ(e.view.unguardedFills, 0);

    // One step; a page that cannot answer changes the anchor and keeps the numbers.
    EXPECT_TRUE(e.logic.Undo());
    EXPECT_EQ(e.model.entries[0].AN, kAnchorPageLeft);
    EXPECT_EQ(e.model.entries[0].MX, 100);
    e.logic.ChangeAnchor({kAnchorPageRight, ""});
    e.view.questions.back().second(nullptr);
    EXPECT_EQ(e.model.entries[0].AN, kAnchorPageRight);
    EXPECT_EQ(e.model.entries[0].MX, 100);
}

// A selector the page cannot use is refused and leaves the menu put; the
// page's numbers cannot carry Left and Top past what the boxes hold.
TEST(EditorLogic, AnUnusableSelectorIsRefusedAndAHugeAnswerIsKeptInRange) {
    Editor e;
    e.logic.AddMenu();
    const std::size_t steps = e.logic.History().StepCount();
    e.logic.ChangeAnchor({kAnchorElement, "#gone"});
    const std::string none = "?none";
    e.view.questions.back().second(&none);
    EXPECT_EQ(e.model.entries[0].AN, kAnchorPageLeft);
    EXPECT_EQ(e.model.entries[0].MX, 10);
    EXPECT_EQ(e.logic.History().StepCount(), steps);

    e.logic.ChangeAnchor({kAnchorPageRight, ""});
    const std::string huge = "-2147483000,2147483000;2147483000,-2147483000";
    e.view.questions.back().second(&huge);
    EXPECT_EQ(e.model.entries[0].AN, kAnchorPageRight);
    EXPECT_EQ(e.model.entries[0].MX, -9999);
    EXPECT_EQ(e.model.entries[0].MY, 9999);
}

TEST(AnchorEdits, TheQuestionQuotesAnySelectorAndOnlyAWholeAnswerCounts) {
    const std::string asked = AnchorOriginsStatement({{kAnchorElement, "a'\\\"</script>\r\nb"}});
    // The selector's value as the script gives it to the page: the line break is a continuation.
    EXPECT_NE(asked.find(R"("a'\\\"\x3C/script>b")"), std::string::npos);
    EXPECT_EQ(ParseAnchorOrigins("1,2;-3,4", 2), (std::vector<PagePoint>{{1, 2}, {-3, 4}}));
    EXPECT_EQ(ParseAnchorOrigins("1,2", 2), std::nullopt);
    EXPECT_EQ(ParseAnchorOrigins("1,2;3,4;5,6", 2), std::nullopt);
    EXPECT_EQ(ParseAnchorOrigins("1,x;3,4", 2), std::nullopt);
    EXPECT_EQ(ParseAnchorOrigins("", 1), std::nullopt);
}

TEST(AnchorEdits, AMenuIsFoundWhereItsFieldsSayOrWhereThePageAnswers) {
    ProjectModel model;
    model.entries.resize(2);
    model.entries[0].MX = 10, model.entries[0].MY = 20, model.entries[0].MW = 150;
    model.entries[1].AN = kAnchorPageCentre, model.entries[1].MX = -40, model.entries[1].MW = 90;
    std::vector<std::string> asked;
    std::vector<std::string> answers;
    auto ask = [&](const std::string& expression, std::function<void(const std::string*)> reply) {
        asked.push_back(expression);
        const std::string answer = answers.empty() ? std::string() : answers.front();
        if (!answers.empty()) answers.erase(answers.begin());
        reply(answer == "none" ? nullptr : &answer);
    };
    std::vector<std::vector<int>> found;
    auto record = [&](int left, int top, int breadth) { found.push_back({left, top, breadth}); };

    // Page left: no question, the menu's own fields.
    LocateMenu(model, 0, ask, record);
    EXPECT_TRUE(asked.empty());
    ASSERT_EQ(found, (std::vector<std::vector<int>>{{10, 20, 150}}));

    // Anchored: the page tells, the breadth is the menu's.
    answers = {"312,48", "none", ""};
    LocateMenu(model, 1, ask, record);
    ASSERT_EQ(asked, std::vector<std::string>{MenuPlaceStatement(1)});
    EXPECT_EQ(found.back(), (std::vector<int>{312, 48, 90}));
    // No answer, or a page without that menu, and nothing is shown.
    LocateMenu(model, 1, ask, record);
    LocateMenu(model, 1, ask, record);
    LocateMenu(model, 2, ask, record);
    LocateMenu(model, -1, ask, record);
    EXPECT_EQ(found.size(), 2u);
    EXPECT_EQ(asked.size(), 3u);
}
