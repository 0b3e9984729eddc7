#include <gtest/gtest.h>

#include "editor/ControlFilling.h"
#include "editor/PropertyEdits.h"
#include "model/ValueHelpers.h"

namespace didad {
namespace {

ProjectModel ModelWithEntries(int count) {
    ProjectModel model;
    for (int i = 0; i < count; ++i) model.AddMenuEntry();
    return model;
}

TEST(NumberFieldRule, EmptyValuesFallbacksAndLimits) {
    // Emptied boxes store their own value, even outside the arrows' range.
    EXPECT_EQ(NumberFieldValue("", 55, RuleOf(NumberBox::Left)), 0);
    EXPECT_EQ(NumberFieldValue("", 55, RuleOf(NumberBox::Top)), 0);
    EXPECT_EQ(NumberFieldValue("", 55, RuleOf(NumberBox::Width)), 100);
    EXPECT_EQ(NumberFieldValue("", 55, RuleOf(NumberBox::CapHeight)), 22);

    // Text that is not an integer keeps the current value.
    EXPECT_EQ(NumberFieldValue("-", 0, RuleOf(NumberBox::Left)), 0);
    EXPECT_EQ(NumberFieldValue("abc", 37, RuleOf(NumberBox::Top)), 37);
    EXPECT_EQ(NumberFieldValue("1x", 150, RuleOf(NumberBox::Width)), 150);

    // Width and caption height are clamped; left and top take any value.
    EXPECT_EQ(NumberFieldValue("999", 150, RuleOf(NumberBox::Width)), 900);
    EXPECT_EQ(NumberFieldValue("0", 150, RuleOf(NumberBox::Width)), 1);
    EXPECT_EQ(NumberFieldValue("0", 22, RuleOf(NumberBox::CapHeight)), 1);
    EXPECT_EQ(NumberFieldValue("601", 22, RuleOf(NumberBox::CapHeight)), 600);
    EXPECT_EQ(NumberFieldValue("-99", 10, RuleOf(NumberBox::Left)), -99);
    EXPECT_EQ(NumberFieldValue("999", 10, RuleOf(NumberBox::Top)), 999);

    // A fallback that lies outside the limits is limited as well.
    EXPECT_EQ(NumberFieldValue("x", 2000, RuleOf(NumberBox::Width)), 900);
}

// Left 999 and the up arrow once gave 800: the arrows' range was narrower
// than what can be typed. Now they agree, and an arrow never goes backwards.
TEST(NumberFieldRule, ArrowsAgreeWithTypingAndStepFromTheValueShown) {
    for (NumberBox box : {NumberBox::Left, NumberBox::Top}) {
        const NumberBoxRule& rule = RuleOf(box);
        EXPECT_TRUE(FitsNumberBox("-9999", rule));
        EXPECT_TRUE(FitsNumberBox("9999", rule));
        EXPECT_FALSE(FitsNumberBox("12345", rule));
        EXPECT_EQ(rule.arrowLow, -9999);
        EXPECT_EQ(rule.arrowHigh, 9999);
    }
    EXPECT_FALSE(FitsNumberBox("1000", RuleOf(NumberBox::Width)));
    EXPECT_EQ(RuleOf(NumberBox::Width).arrowHigh, RuleOf(NumberBox::Width).high);
    EXPECT_EQ(RuleOf(NumberBox::CapHeight).arrowHigh, RuleOf(NumberBox::CapHeight).high);

    const NumberBoxRule& left = RuleOf(NumberBox::Left);
    EXPECT_EQ(ArrowStep(999, 1, left.arrowLow, left.arrowHigh), 1000);
    EXPECT_EQ(ArrowStep(-999, -1, left.arrowLow, left.arrowHigh), -1000);
    // A dragged value beyond the range stays put rather than jump back.
    EXPECT_EQ(ArrowStep(12000, 1, left.arrowLow, left.arrowHigh), 12000);
    EXPECT_EQ(ArrowStep(12000, -1, left.arrowLow, left.arrowHigh), 9999);
    const NumberBoxRule& height = RuleOf(NumberBox::CapHeight);
    EXPECT_EQ(ArrowStep(0, -1, height.arrowLow, height.arrowHigh), 0);
    EXPECT_EQ(ArrowStep(0, 1, height.arrowLow, height.arrowHigh), 1);
}

TEST(PropertyEdits, TypingSequenceInLeft) {
    ProjectModel model = ModelWithEntries(1);
    EXPECT_TRUE(EditNumber(model, NumberBox::Left, ""));
    EXPECT_EQ(model.entries[0].MX, 0);
    EXPECT_TRUE(EditNumber(model, NumberBox::Left, "-"));
    EXPECT_EQ(model.entries[0].MX, 0);
    EXPECT_TRUE(EditNumber(model, NumberBox::Left, "-5"));
    EXPECT_EQ(model.entries[0].MX, -5);
}

TEST(PropertyEdits, EachEditChangesOnlyTheSelectedEntry) {
    ProjectModel model = ModelWithEntries(3);
    model.iSelectedMenu = 1;
    const MenuEntry before0 = model.entries[0];
    const MenuEntry before2 = model.entries[2];

    EXPECT_TRUE(EditNumber(model, NumberBox::Top, "120"));
    EXPECT_TRUE(EditNumber(model, NumberBox::Width, "300"));
    EXPECT_TRUE(EditNumber(model, NumberBox::CapHeight, "40"));
    EXPECT_TRUE(EditActivateOn(model, 1));
    EXPECT_TRUE(EditOrientation(model, false));
    EXPECT_TRUE(EditHtml(model, HtmlBox::Caption, "a\nb"));
    EXPECT_TRUE(EditHtml(model, HtmlBox::Menu, "x"));
    EXPECT_TRUE(EditColor(model, ColorSlot::Caption, Color{255, 0, 0}));
    EXPECT_TRUE(EditTransparent(model, ColorSlot::Owner, false, Color{0, 0x80, 0xFF}));
    EXPECT_TRUE(EditTransparent(model, ColorSlot::Menu, true, kWhite));

    const MenuEntry& e = model.entries[1];
    EXPECT_EQ(e.MY, 120);
    EXPECT_EQ(e.MW, 300);
    EXPECT_EQ(e.MTCH, 40);
    EXPECT_EQ(e.MA, 1);
    EXPECT_EQ(e.OO, 1);
    EXPECT_EQ(e.MTC, "a\r\nb");
    EXPECT_EQ(e.MTM, "x");
    EXPECT_EQ(e.CC, "#FF0000");
    EXPECT_EQ(e.CO, "#0080FF");
    EXPECT_EQ(e.CM, "transparent");
    EXPECT_EQ(model.entries[0], before0);
    EXPECT_EQ(model.entries[2], before2);

    EXPECT_TRUE(EditActivateOn(model, 0));
    EXPECT_EQ(e.MA, 0);
    EXPECT_TRUE(EditOrientation(model, true));
    EXPECT_EQ(e.OO, 0);
}

TEST(PropertyEdits, FloatChangesTheEntryWithoutPendingLook) {
    ProjectModel model = ModelWithEntries(1);
    EXPECT_FALSE(EditFloat(model, false));
    EXPECT_EQ(model.entries[0].FL, 0);
    EXPECT_FALSE(EditFloat(model, true));
    EXPECT_EQ(model.entries[0].FL, 1);
}

TEST(PropertyEdits, TransparentRoundTripRestoresTheSwatchColour) {
    ProjectModel model = ModelWithEntries(1);
    EXPECT_TRUE(EditTransparent(model, ColorSlot::Menu, true, Color{0, 0x80, 0x80}));
    EXPECT_EQ(model.entries[0].CM, "transparent");
    EXPECT_TRUE(EditTransparent(model, ColorSlot::Menu, false, Color{0, 0x80, 0x80}));
    EXPECT_EQ(model.entries[0].CM, "#008080");
}

TEST(PropertyEdits, NothingChangesWhileFillingOrWithoutEntries) {
    ProjectModel empty;
    EXPECT_FALSE(EditNumber(empty, NumberBox::Left, "5"));
    EXPECT_FALSE(EditHtml(empty, HtmlBox::Caption, "No Menus in Project"));
    EXPECT_FALSE(EditColor(empty, ColorSlot::Caption, kWhite));
    EXPECT_FALSE(EditTransparent(empty, ColorSlot::Caption, true, kWhite));
    EXPECT_TRUE(empty.entries.empty());

    // A selection left beyond the entries (after deleting the last one).
    ProjectModel stale = ModelWithEntries(1);
    stale.iSelectedMenu = 1;
    EXPECT_FALSE(EditNumber(stale, NumberBox::Width, "5"));
    EXPECT_EQ(stale.entries[0].MW, 150);

    ProjectModel model = ModelWithEntries(1);
    const MenuEntry before = model.entries[0];
    {
        ControlFillingGuard filling;
        EXPECT_FALSE(EditNumber(model, NumberBox::Left, "77"));
        EXPECT_FALSE(EditActivateOn(model, 1));
        EXPECT_FALSE(EditFloat(model, false));
        EXPECT_FALSE(EditOrientation(model, false));
        EXPECT_FALSE(EditHtml(model, HtmlBox::Menu, "filled"));
        EXPECT_FALSE(EditTransparent(model, ColorSlot::Caption, true, kWhite));
        EXPECT_EQ(model.entries[0], before);
        // The colour dialog is only ever the user's doing.
        EXPECT_TRUE(EditColor(model, ColorSlot::Owner, Color{1, 2, 3}));
    }
    EXPECT_EQ(model.entries[0].CO, "#010203");
}

TEST(PropertyEdits, LineBreaksBetweenBoxAndModel) {
    EXPECT_EQ(BoxTextToStored("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(BoxTextToStored("\n"), "\r\n");
    // Already stored form is not doubled.
    EXPECT_EQ(BoxTextToStored("a\r\nb"), "a\r\nb");
    EXPECT_EQ(StoredTextToBox("<CENTER>\r\nC<BR>a"), "<CENTER>\nC<BR>a");
    EXPECT_EQ(BoxTextToStored(StoredTextToBox(kVerticalDefaultCaption)), kVerticalDefaultCaption);
}

} // namespace
} // namespace didad
