// Arbitrary typing through the small text rules of the editor: number boxes,
// settings texts, colours, snippet insertion at any caret, picture paths and
// the status line's shortening. None may crash, read outside its text or
// loop forever, and each keeps the promise its header makes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editor/PropertyEdits.h"
#include "editor/Snippets.h"
#include "model/Errors.h"
#include "model/ValueHelpers.h"
#include "workflow/StatusLine.h"

namespace {

using namespace didad;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > s.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if (!IsContinuationByte(s[i + k])) return false;
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::size_t a = data[0];
    const std::size_t b = data[1];
    const int maxWidth = data[2] * 4;
    const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);

    // Number boxes: whatever is typed, a limited field stays in its range.
    for (NumberBox box : {NumberBox::Left, NumberBox::Top, NumberBox::Width, NumberBox::CapHeight}) {
        const NumberBoxRule& rule = RuleOf(box);
        const int value = NumberFieldValue(text, 7, rule);
        if (rule.limited && (value < rule.low || value > rule.high)) Fail("a typed value left its range");
    }
    (void)ParseIntOr(text, 0);

    // Settings texts: none of the characters that would break the script's
    // quoting or a file name survives, and the result is never empty.
    const std::string cleaned = CleanSettingText(text, "Arial");
    if (cleaned.empty()) Fail("a cleaned setting is empty");
    for (std::size_t i = 0; i < cleaned.size(); ++i) {
        const char c = cleaned[i];
        if (c == '"' || c == '\'' || c == '/' || c == ':') Fail("a forbidden character survived cleaning");
        if (c == '\\' && (i + 1 == cleaned.size() || (cleaned[i + 1] != '\r' && cleaned[i + 1] != '\n')))
            Fail("a stray backslash survived");
    }

    // Colours: a text either converts or is the conversion error; what
    // converts comes back as the same colour.
    try {
        const Color colour = HtmlToColor(text);
        if (!(HtmlToColor(ColorToHtml(colour)) == colour)) Fail("a colour did not survive its HTML form");
    } catch (const ConversionError&) {
    }

    // Line breaks between the text boxes (LF only) and the model (CR LF).
    std::string boxText;
    for (char c : text)
        if (c != '\r') boxText += c;
    if (StoredTextToBox(BoxTextToStored(boxText)) != boxText) Fail("a box text changed through the model");

    // A snippet goes in at any caret without losing or moving the text
    // around it; carets beyond the end are the end.
    const SnippetInsertion inserted = InsertSnippet(text, a, b, "<BR>");
    if (inserted.text.size() != text.size() + 6) Fail("an insertion lost or added text");
    if (inserted.caret > inserted.text.size()) Fail("the caret lies outside the text");
    const std::size_t at = inserted.caret - 6;
    if (inserted.text.compare(at, 6, "<BR>\r\n") != 0) Fail("the snippet is not before the caret");
    if (inserted.text.substr(0, at) + inserted.text.substr(at + 6) != text) Fail("the text around moved");

    (void)ConvertAddText(text);
    (void)BuildAddUrlSnippet(text, "_blank", text);
    (void)BorderValue(text);
    const std::string name = FileNamePart(text);
    const std::string folder = FolderPart(text);
    if (name.size() > text.size() || folder.size() > text.size()) Fail("a path part is longer than the path");
    (void)BuildAddImageSnippet(text, text);
    (void)StripTrailingBackslash(text);

    // The status line: one unit of width per byte. The caption starts with
    // its prefix, fits or is as short as it may get, and never cuts a
    // character in two.
    const std::string caption = ActiveProjectCaption(
        text, [](const std::string& s) { return static_cast<int>(s.size()); }, maxWidth);
    if (caption.rfind(kActiveProjectPrefix, 0) != 0) Fail("the caption lost its prefix");
    if (caption != std::string(kActiveProjectPrefix) + text && IsValidUtf8(text) &&
        text.find("...") == std::string::npos) {
        const std::size_t dots = caption.find("...", std::string_view(kActiveProjectPrefix).size());
        if (dots == std::string::npos) Fail("a shortened caption shows no dots");
        if (dots + 3 < caption.size() && IsContinuationByte(caption[dots + 3]))
            Fail("the tail starts inside a character");
    }
    return 0;
}
