#pragma once
// What the editor logic needs from the main window. The Qt form implements it;
// the logic's tests use a fake that records what was shown.
#include <functional>
#include <string>
#include <utility>

#include "model/ProjectModel.h"

namespace didad {

enum class NumberBox { Left, Top, Width, CapHeight };
enum class HtmlBox { Caption, Menu };
enum class ColorSlot { Caption, Menu, Owner };

class EditorView {
public:
    virtual ~EditorView() = default;

    // The menu list: one line per entry, in entry order.
    virtual void AppendListLine(const std::string& text) = 0;
    virtual void RemoveLastListLine() = 0;
    virtual void ClearList() = 0;
    virtual void HighlightListLine(int index) = 0;
    // -1 while no line is highlighted.
    virtual int HighlightedListLine() const = 0;

    // The property controls that follow the selected entry. The arrow buttons
    // of the number boxes are not among them.
    virtual void EnablePropertyControls(bool on) = 0;

    // Shows a value; the logic sets the control-filling flag around these.
    virtual void ShowNumber(NumberBox box, int value) = 0;
    // Caret at the end, nothing selected.
    virtual void ShowHtml(HtmlBox box, const std::string& text) = 0;
    virtual void ShowActivateOn(int item) = 0;
    virtual void ShowFloat(bool checked) = 0;
    virtual void ShowHorizontal(bool horizontal) = 0;
    // A checked box hides its swatch; the swatch keeps its colour.
    virtual void ShowTransparent(ColorSlot slot, bool checked) = 0;
    virtual void ShowSwatchColor(ColorSlot slot, Color colour) = 0;
    // The anchor choice (its number) and the element's selector.
    virtual void ShowAnchor(int kind, const std::string& selector) {
        (void)kind;
        (void)selector;
    }

    // What the anchor's selector box says of the selector: empty when the
    // page finds its element (or cannot be asked).
    virtual void ShowSelectorProblem(const std::string& problem) { (void)problem; }

    // The delete confirmation: Yes and No, No being the default.
    virtual bool ConfirmDelete(const std::string& text) = 0;
    // A plain message box captioned with the application title.
    virtual void ShowMessage(const std::string& text) = 0;

    // The preview side. UpdatePreview returns false when the script could not
    // be written (the error has been shown and the caller stops).
    virtual bool UpdatePreview() = 0;
    virtual void RunInPreview(const std::string& statement) = 0;
    // Runs an expression in the preview page and hands its text result to
    // `reply` exactly once, later; null when the page could not answer (no
    // preview page shown, a script error, no answer in time). A view without
    // a preview answers null at once.
    using PreviewReply = std::function<void(const std::string* answer)>;
    virtual void AskPreview(const std::string& expression, PreviewReply reply) {
        (void)expression;
        const PreviewReply once = std::move(reply);
        once(nullptr);
    }
    virtual void RevealInPreview(int index) = 0;
    // The Update Preview button's look for edits the page does not show yet.
    virtual void MarkPreviewPending() = 0;
    // An edit, undo or redo changed entry `index`'s fields (a drag in the
    // page does not: the page shows it already). Called before the pending look.
    virtual void EntryChanged(int /*index*/) {}
    // An undo or redo added or removed entries or changed the settings.
    virtual void ProjectReshaped() {}
    // The project changed in a way that does not touch that look (a drag in
    // the preview, an undo or redo): the project still has to be saved.
    virtual void ProjectChanged() {}
};

} // namespace didad
