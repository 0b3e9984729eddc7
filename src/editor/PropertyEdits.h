#pragma once
// How the property controls of the main window change the selected menu
// entry. Every edit reports whether the Update Preview button must take its
// pending look; an edit made while the controls are being filled by the
// program itself, or while the project has no entries, changes nothing.
#include <string>
#include <string_view>

#include "editor/EditorView.h"
#include "model/ProjectModel.h"

namespace didad {

// Number boxes take at most this many typed characters.
inline constexpr int kNumberBoxMaxLength = 3;

struct NumberBoxRule {
    int emptyValue; // stored when the box is emptied
    bool limited;   // typed values are clamped to low..high
    int low;
    int high;
    int arrowLow; // the arrow buttons step within arrowLow..arrowHigh
    int arrowHigh;
};

const NumberBoxRule& RuleOf(NumberBox box);

// The value a number box stores for `text`, given the field's current value.
// Not-a-number text keeps the current value; the box's text is left alone.
int NumberFieldValue(std::string_view text, int current, const NumberBoxRule& rule);

// The selected entry, or null while the project has none.
MenuEntry* SelectedEntry(ProjectModel& model);

// Text boxes hand over LF line breaks; the model keeps CR LF.
std::string BoxTextToStored(std::string_view boxText);
// The other way round, for filling a box.
std::string StoredTextToBox(std::string_view stored);

bool EditNumber(ProjectModel& model, NumberBox box, std::string_view text);
// item 0 "Mouse Over", anything else "Mouse Click".
bool EditActivateOn(ProjectModel& model, int item);
// Float changes the entry but never asks for the pending look.
bool EditFloat(ProjectModel& model, bool checked);
// Both orientation buttons use the state of the Horizontal button.
bool EditOrientation(ProjectModel& model, bool horizontalChecked);
bool EditHtml(ProjectModel& model, HtmlBox box, std::string_view boxText);
// A colour picked for a swatch. Runs also while controls are being filled:
// the colour dialog is only ever opened by the user.
bool EditColor(ProjectModel& model, ColorSlot slot, Color chosen);
// A "transparent" box toggled; `swatch` is the colour its swatch holds.
bool EditTransparent(ProjectModel& model, ColorSlot slot, bool checked, Color swatch);

} // namespace didad
