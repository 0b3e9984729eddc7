#pragma once
// The editor logic's window without a window: it keeps the menu list's line
// count and highlighted line as a list box does, shows nothing else, answers
// the delete question with `confirmDelete` and reports every preview written.
// A test that looks at what the logic shows overrides the calls it follows.
// Header only, so that benchmarks and fuzz targets use it without the test
// library.
#include <string>

#include "editor/EditorView.h"

namespace didad::testing {

class SilentEditorView : public EditorView {
public:
    int lines = 0;
    int highlighted = -1;
    bool confirmDelete = true;

    void AppendListLine(const std::string&) override { ++lines; }
    void RemoveLastListLine() override {
        if (lines > 0) --lines;
    }
    void ClearList() override {
        lines = 0;
        highlighted = -1;
    }
    void HighlightListLine(int index) override { highlighted = index; }
    int HighlightedListLine() const override { return highlighted; }
    void EnablePropertyControls(bool) override {}
    void ShowNumber(NumberBox, int) override {}
    void ShowHtml(HtmlBox, const std::string&) override {}
    void ShowActivateOn(int) override {}
    void ShowFloat(bool) override {}
    void ShowHorizontal(bool) override {}
    void ShowTransparent(ColorSlot, bool) override {}
    void ShowSwatchColor(ColorSlot, Color) override {}
    bool ConfirmDelete(const std::string&) override { return confirmDelete; }
    void ShowMessage(const std::string&) override {}
    bool UpdatePreview() override { return true; }
    void RunInPreview(const std::string&) override {}
    void RevealInPreview(int) override {}
    void MarkPreviewPending() override {}
};

} // namespace didad::testing
