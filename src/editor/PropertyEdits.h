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

struct NumberBoxRule {
    int emptyValue; // stored when the box is emptied
    bool limited;   // typed values are clamped to low..high
    int low;
    int high;
    // The arrow buttons step within arrowLow..arrowHigh: the values that can
    // be typed, so that an arrow always goes on from what the box shows.
    int arrowLow;
    int arrowHigh;
    int maxDigits; // typed digits, a leading sign not counted
};

const NumberBoxRule& RuleOf(NumberBox box);

// Whether `typed` may stand in the box: at most the rule's digits after an
// optional sign. Other characters count as digits here; the field rule
// ignores text that is not a number.
bool FitsNumberBox(std::string_view typed, const NumberBoxRule& rule);

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
