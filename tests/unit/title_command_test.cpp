#include <gtest/gtest.h>

#include <string>

#include "model/Errors.h"
#include "preview/TitleCommand.h"

using didad::ConversionError;
using didad::ParseTitleCommand;
using Kind = didad::TitleCommand::Kind;

namespace {

std::string ConversionText(const std::string& title) {
    try {
        ParseTitleCommand(title);
    } catch (const ConversionError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(TitleCommand, RecognisesTheThreeCommandsTheAddOnSends) {
    auto select = ParseTitleCommand("!RarurAVI:ySetSel(2)");
    EXPECT_EQ(select.kind, Kind::Select);
    EXPECT_EQ(select.index, 2);

    auto move = ParseTitleCommand("!RarurAVI:docMouseMove(1,120,45)");
    EXPECT_EQ(move.kind, Kind::Move);
    EXPECT_EQ(move.index, 1);
    EXPECT_EQ(move.x, 120);
    EXPECT_EQ(move.y, 45);

    // A menu dragged past the page's left and top edges.
    auto negative = ParseTitleCommand("!RarurAVI:docMouseMove(0,-7,-30)");
    EXPECT_EQ(negative.kind, Kind::Move);
    EXPECT_EQ(negative.x, -7);
    EXPECT_EQ(negative.y, -30);

    EXPECT_EQ(ParseTitleCommand("!RarurAVI:ERROR(x is not defined@file:///p/Temp.html@12)").kind, Kind::Error);
}

TEST(TitleCommand, IgnoresTitlesWithoutThePrefix) {
    EXPECT_EQ(ParseTitleCommand("").kind, Kind::None);
    EXPECT_EQ(ParseTitleCommand("My home page").kind, Kind::None);
    EXPECT_EQ(ParseTitleCommand("ySetSel(1)").kind, Kind::None);
    EXPECT_EQ(ParseTitleCommand("docMouseMove(1,2,3)").kind, Kind::None);
    EXPECT_EQ(ParseTitleCommand("ERROR").kind, Kind::None);
    EXPECT_EQ(ParseTitleCommand("!RarurAVI").kind, Kind::None);
    // Prefix alone or with an unknown word: nothing to do.
    EXPECT_EQ(ParseTitleCommand("!RarurAVI:").kind, Kind::None);
    EXPECT_EQ(ParseTitleCommand("!RarurAVI:hello(1)").kind, Kind::None);
}

TEST(TitleCommand, TakesTheFirstWordInFixedOrderWhereverItStands) {
    // An error message that mentions a selection is taken for a selection.
    auto selectInError = ParseTitleCommand("!RarurAVI:ERROR(ySetSel(3) failed@u@1)");
    EXPECT_EQ(selectInError.kind, Kind::Select);
    EXPECT_EQ(selectInError.index, 3);

    auto moveInError = ParseTitleCommand("!RarurAVI:ERROR(in docMouseMove(1,5,6)@u@1)");
    EXPECT_EQ(moveInError.kind, Kind::Move);
    EXPECT_EQ(moveInError.index, 1);
    EXPECT_EQ(moveInError.y, 6);

    // Select wins over moved even when moved comes first.
    auto both = ParseTitleCommand("!RarurAVI:docMouseMove(1,2,3)ySetSel(4)");
    EXPECT_EQ(both.kind, Kind::Select);
    EXPECT_EQ(both.index, 4);

    // The select word only counts after the prefix; the moved word anywhere.
    EXPECT_EQ(ParseTitleCommand("ySetSel(1) !RarurAVI:ERROR(x)").kind, Kind::Error);
    auto moveBefore = ParseTitleCommand("docMouseMove(2,8,9) !RarurAVI:");
    EXPECT_EQ(moveBefore.kind, Kind::Move);
    EXPECT_EQ(moveBefore.index, 2);

    // Words are case-sensitive.
    EXPECT_EQ(ParseTitleCommand("!RarurAVI:ysetsel(1)").kind, Kind::None);
    EXPECT_EQ(ParseTitleCommand("!RarurAVI:error(1)").kind, Kind::None);
}

TEST(TitleCommand, NumberFieldsThatAreNotDecimalIntegersRaiseTheConversionError) {
    EXPECT_EQ(ConversionText("!RarurAVI:ySetSel()"), "'' is not a valid integer value");
    EXPECT_EQ(ConversionText("!RarurAVI:ySetSel(abc)"), "'abc' is not a valid integer value");
    EXPECT_EQ(ConversionText("!RarurAVI:ySetSel(1.5)"), "'1.5' is not a valid integer value");
    EXPECT_EQ(ConversionText("!RarurAVI:ySetSel( 1)"), "' 1' is not a valid integer value");
    EXPECT_EQ(ConversionText("!RarurAVI:ySetSel(99999999999)"), "'99999999999' is not a valid integer value");
    EXPECT_EQ(ConversionText("!RarurAVI:ySetSel(+-1)"), "'+-1' is not a valid integer value");
    // The first offending field of a moved command is named.
    EXPECT_EQ(ConversionText("!RarurAVI:docMouseMove(1,12px,4)"), "'12px' is not a valid integer value");
    EXPECT_EQ(ConversionText("!RarurAVI:docMouseMove(1,2,)"), "'' is not a valid integer value");
    // Missing fields are empty fields.
    EXPECT_EQ(ConversionText("!RarurAVI:docMouseMove(1,2)"), "'' is not a valid integer value");
    EXPECT_EQ(ConversionText("!RarurAVI:docMouseMove(x)"), "'x' is not a valid integer value");

    EXPECT_EQ(ParseTitleCommand("!RarurAVI:ySetSel(+7)").index, 7);
    EXPECT_EQ(ParseTitleCommand("!RarurAVI:ySetSel(-1)").index, -1); // range is the caller's check
}

// Guards against a malformed title making the parser read beyond it or store a fourth value.
TEST(TitleCommand, RefusesUnclosedOrOverlongFieldListsWithoutReadingPastTheEnd) {
    // A field list without ")" is refused, even though digits follow.
    EXPECT_EQ(ParseTitleCommand("!RarurAVI:ySetSel(2").kind, Kind::None);
    EXPECT_EQ(ParseTitleCommand("!RarurAVI:ySetSel(").kind, Kind::None);
    EXPECT_EQ(ParseTitleCommand("!RarurAVI:docMouseMove(1,2,3").kind, Kind::None);
    EXPECT_EQ(ParseTitleCommand("!RarurAVI:docMouseMove(").kind, Kind::None);
    // More than three fields: ignored, not truncated to three.
    EXPECT_EQ(ParseTitleCommand("!RarurAVI:docMouseMove(1,2,3,4)").kind, Kind::None);
    EXPECT_EQ(ParseTitleCommand("!RarurAVI:docMouseMove(1,2,3,)").kind, Kind::None);

    // The title is a view into a larger buffer: a ")" beyond its end must not be seen.
    const std::string buffer = "!RarurAVI:ySetSel(5)";
    std::string_view cut(buffer.data(), buffer.size() - 1);
    EXPECT_EQ(ParseTitleCommand(cut).kind, Kind::None);
    const std::string moved = "!RarurAVI:docMouseMove(1,2,3)";
    EXPECT_EQ(ParseTitleCommand(std::string_view(moved.data(), moved.size() - 1)).kind, Kind::None);
}
