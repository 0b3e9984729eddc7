#include "editor/PropertyEdits.h"

#include "editor/ControlFilling.h"
#include "model/ValueHelpers.h"

namespace didad {
namespace {

// Left and Top count from an anchor that may lie right of or below the menu
// (a centre line, an element), so they take a sign and four digits.
const NumberBoxRule kLeftRule{0, false, 0, 0, -9999, 9999, 4};
const NumberBoxRule kTopRule{0, false, 0, 0, -9999, 9999, 4};
const NumberBoxRule kWidthRule{100, true, 1, 900, 1, 900, 3};
const NumberBoxRule kCapHeightRule{22, true, 1, 600, 1, 600, 3};

int& NumberField(MenuEntry& entry, NumberBox box) {
    switch (box) {
    case NumberBox::Left: return entry.MX;
    case NumberBox::Top: return entry.MY;
    case NumberBox::Width: return entry.MW;
    case NumberBox::CapHeight: break;
    }
    return entry.MTCH;
}

std::string& ColorField(MenuEntry& entry, ColorSlot slot) {
    switch (slot) {
    case ColorSlot::Caption: return entry.CC;
    case ColorSlot::Menu: return entry.CM;
    case ColorSlot::Owner: break;
    }
    return entry.CO;
}

// The entry a user edit may change: none while the program fills controls.
MenuEntry* EditableEntry(ProjectModel& model) { return IsFillingControls() ? nullptr : SelectedEntry(model); }

} // namespace

const NumberBoxRule& RuleOf(NumberBox box) {
    switch (box) {
    case NumberBox::Left: return kLeftRule;
    case NumberBox::Top: return kTopRule;
    case NumberBox::Width: return kWidthRule;
    case NumberBox::CapHeight: break;
    }
    return kCapHeightRule;
}

bool FitsNumberBox(std::string_view typed, const NumberBoxRule& rule) {
    if (!typed.empty() && (typed.front() == '-' || typed.front() == '+')) typed.remove_prefix(1);
    return typed.size() <= static_cast<std::size_t>(rule.maxDigits);
}

int NumberFieldValue(std::string_view text, int current, const NumberBoxRule& rule) {
    if (text.empty()) return rule.emptyValue;
    const int value = ParseIntOr(text, current);
    return rule.limited ? ClampInt(value, rule.low, rule.high) : value;
}

MenuEntry* SelectedEntry(ProjectModel& model) {
    const int index = model.iSelectedMenu;
    if (index < 0 || index >= model.numOfMenus()) return nullptr;
    return &model.entries[static_cast<std::size_t>(index)];
}

std::string BoxTextToStored(std::string_view boxText) {
    std::string stored;
    stored.reserve(boxText.size() + boxText.size() / 16);
    for (std::size_t i = 0; i < boxText.size(); ++i) {
        const char c = boxText[i];
        if (c == '\n' && (i == 0 || boxText[i - 1] != '\r')) stored += '\r';
        stored += c;
    }
    return stored;
}

std::string StoredTextToBox(std::string_view stored) {
    std::string box;
    box.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n') continue;
        box += stored[i];
    }
    return box;
}

bool EditNumber(ProjectModel& model, NumberBox box, std::string_view text) {
    MenuEntry* entry = EditableEntry(model);
    if (!entry) return false;
    int& field = NumberField(*entry, box);
    field = NumberFieldValue(text, field, RuleOf(box));
    return true;
}

bool EditActivateOn(ProjectModel& model, int item) {
    MenuEntry* entry = EditableEntry(model);
    if (!entry) return false;
    entry->MA = item == 0 ? 0 : 1;
    return true;
}

bool EditFloat(ProjectModel& model, bool checked) {
    if (MenuEntry* entry = EditableEntry(model)) entry->FL = checked ? 1 : 0;
    return false;
}

bool EditOrientation(ProjectModel& model, bool horizontalChecked) {
    MenuEntry* entry = EditableEntry(model);
    if (!entry) return false;
    entry->OO = horizontalChecked ? 0 : 1;
    return true;
}

bool EditHtml(ProjectModel& model, HtmlBox box, std::string_view boxText) {
    MenuEntry* entry = EditableEntry(model);
    if (!entry) return false;
    (box == HtmlBox::Caption ? entry->MTC : entry->MTM) = BoxTextToStored(boxText);
    return true;
}

bool EditColor(ProjectModel& model, ColorSlot slot, Color chosen) {
    MenuEntry* entry = SelectedEntry(model);
    if (!entry) return false;
    ColorField(*entry, slot) = ColorToHtml(chosen);
    return true;
}

bool EditTransparent(ProjectModel& model, ColorSlot slot, bool checked, Color swatch) {
    MenuEntry* entry = EditableEntry(model);
    if (!entry) return false;
    ColorField(*entry, slot) = checked ? std::string("transparent") : ColorToHtml(swatch);
    return true;
}

} // namespace didad
