#include <gtest/gtest.h>

#include "editor/ControlFilling.h"
#include "editor/PropertyEdits.h"

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

TEST(NumberFieldRule, ArrowRanges) {
    EXPECT_EQ(RuleOf(NumberBox::Left).arrowLow, -100);
    EXPECT_EQ(RuleOf(NumberBox::Left).arrowHigh, 800);
    EXPECT_EQ(RuleOf(NumberBox::Top).arrowHigh, 600);
    EXPECT_EQ(RuleOf(NumberBox::Width).arrowLow, 1);
    EXPECT_EQ(RuleOf(NumberBox::Width).arrowHigh, 900);
    EXPECT_EQ(RuleOf(NumberBox::CapHeight).arrowHigh, 600);
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
