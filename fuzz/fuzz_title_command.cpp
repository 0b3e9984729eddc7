// Arbitrary page titles through the editor's side of the title channel.
//
// A page may set any title it likes. The editor must never crash on one,
// must apply a selection or a move only to an entry that exists, must change
// nothing else, and must change nothing at all when a number field is not an
// integer. Error commands go to the JS error log whole, and the log never
// holds more than its limit. The first input byte picks how many entries the
// project holds (so that indices on both sides of the last entry are reached)
// and whether the preview page or a page the user followed a link to is shown.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editor/EditorLogic.h"
#include "model/Errors.h"
#include "model/ProjectModel.h"
#include "preview/PreviewLogic.h"
#include "preview/TitleCommand.h"

#include "SilentEditorView.h"

namespace {

using namespace didad;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// Checks every index the logic hands to the window against the list it holds.
class CheckingView : public didad::testing::SilentEditorView {
public:
    CheckingView() { confirmDelete = false; }

    void RemoveLastListLine() override {
        if (lines == 0) Fail("removed a line from an empty list");
        SilentEditorView::RemoveLastListLine();
    }
    void HighlightListLine(int index) override {
        if (index < -1 || index >= lines) Fail("highlighted a list line that does not exist");
        SilentEditorView::HighlightListLine(index);
    }
    void RunInPreview(const std::string&) override { Fail("a title command sent a statement to the page"); }
    void RevealInPreview(int index) override {
        if (index < 0 || index >= lines) Fail("revealed an entry that does not exist");
    }
};

bool SameEntries(const ProjectModel& a, const ProjectModel& b) { return a.entries == b.entries; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int count = data[0] % 5;
    const bool previewPageShown = (data[0] & 0x80) == 0;
    const std::string_view title(reinterpret_cast<const char*>(data) + 1, size - 1);

    ProjectModel model;
    model.projectFolder = "/nonexistent/project";
    for (int i = 0; i < count; ++i) {
        MenuEntry entry;
        entry.MX = 10 + 152 * i;
        model.entries.push_back(entry);
    }
    model.iSelectedMenu = count > 0 ? count - 1 : 0;

    CheckingView view;
    EditorLogic logic(model, view);
    for (int i = 0; i < count; ++i) view.AppendListLine(MenuListLabel(i));
    const ProjectModel before = model;

    // A log close to its limit, so that the limit is crossed now and then.
    JsErrorLog log("");
    for (std::size_t i = 0; i < JsErrorLog::kMaxLines; ++i) log.Append("!RarurAVI:ERROR(earlier@x@1)");

    try {
        HandlePreviewTitle(title, previewPageShown, logic, log);
    } catch (const ConversionError&) {
        if (!previewPageShown) Fail("a title of a foreign page raised an error");
        if (!SameEntries(model, before) || model.iSelectedMenu != before.iSelectedMenu)
            Fail("a bad number changed the project");
        return 0;
    } catch (const std::exception&) {
        Fail("a title raised something other than a conversion error");
    }
    if (log.Lines().size() > JsErrorLog::kMaxLines) Fail("the error log grew past its limit");

    // What the title means, told by the parser alone; the editor must have
    // done exactly that and nothing more.
    TitleCommand command;
    try {
        command = ParseTitleCommand(title);
    } catch (const ConversionError&) {
        if (!SameEntries(model, before) || model.iSelectedMenu != before.iSelectedMenu)
            Fail("a title with a bad number changed the project");
        return 0;
    }
    const bool logged = log.Lines().size() != JsErrorLog::kMaxLines;
    if (logged != (command.kind == TitleCommand::Kind::Error)) Fail("logged what is no error, or missed one");
    if (logged && !log.Lines().empty() && log.Lines().back() != title) Fail("the log changed the title");
    if (!previewPageShown) {
        if (!SameEntries(model, before) || model.iSelectedMenu != before.iSelectedMenu)
            Fail("a foreign page changed the project");
        return 0;
    }

    if (title.find("!RarurAVI:") == std::string_view::npos && command.kind != TitleCommand::Kind::None)
        Fail("a title without the prefix was taken for a command");

    const bool valid = command.index >= 0 && command.index < count;
    switch (command.kind) {
    case TitleCommand::Kind::Select:
        if (!SameEntries(model, before)) Fail("a selection changed an entry");
        if (model.iSelectedMenu != (valid ? command.index : before.iSelectedMenu)) Fail("wrong selection");
        break;
    case TitleCommand::Kind::Move: {
        if (!valid) {
            if (!SameEntries(model, before) || model.iSelectedMenu != before.iSelectedMenu)
                Fail("a move for a missing entry changed the project");
            break;
        }
        ProjectModel expected = before;
        expected.entries[static_cast<std::size_t>(command.index)].MX = command.x;
        expected.entries[static_cast<std::size_t>(command.index)].MY = command.y;
        if (!SameEntries(model, expected)) Fail("a move changed more than the moved entry's place");
        if (model.iSelectedMenu != command.index) Fail("a move did not select the moved entry");
        break;
    }
    case TitleCommand::Kind::Error:
    case TitleCommand::Kind::None:
        if (!SameEntries(model, before) || model.iSelectedMenu != before.iSelectedMenu)
            Fail("an error or an ordinary title changed the project");
        break;
    }
    return 0;
}
