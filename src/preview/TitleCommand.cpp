#include "preview/TitleCommand.h"

#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "model/Errors.h"

namespace didad {

namespace {

constexpr std::string_view kPrefix = "!RarurAVI:";
constexpr std::string_view kSelectWord = "ySetSel(";
constexpr std::string_view kMoveWord = "docMouseMove(";
constexpr std::string_view kErrorWord = "ERROR";

// A number field must be a whole decimal integer: optional sign, digits, nothing else.
// Anything else (empty, blanks, trailing text, out of range) is the platform's
// conversion error naming the field as it stood.
int ToInt(std::string_view field) {
    std::string_view digits = field;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && digits.front() == '-') throw ConversionError(std::string(field));
    }
    int value = 0;
    const char* first = digits.data();
    const char* last = digits.data() + digits.size();
    auto [end, ec] = std::from_chars(first, last, value, 10);
    if (digits.empty() || ec != std::errc() || end != last) throw ConversionError(std::string(field));
    return value;
}

// The text between the end of `word` (found at `at`) and the next ")".
// No ")" means the field list never closes: the command is refused rather
// than read up to the end of the title.
std::optional<std::string_view> FieldList(std::string_view title, std::size_t at, std::string_view word) {
    const std::size_t start = at + word.size();
    const std::size_t close = title.find(')', start);
    if (close == std::string_view::npos) return std::nullopt;
    return title.substr(start, close - start);
}

std::vector<std::string_view> SplitFields(std::string_view list) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(list.substr(start));
            return fields;
        }
        fields.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
}

} // namespace

TitleCommand ParseTitleCommand(std::string_view title) {
    TitleCommand command;
    const std::size_t prefixAt = title.find(kPrefix);
    if (prefixAt == std::string_view::npos) return command;

    // The words are tried in a fixed order, wherever they stand; an error
    // message that happens to contain "ySetSel(" is taken for a selection.
    if (const std::size_t at = title.find(kSelectWord, prefixAt); at != std::string_view::npos) {
        const auto list = FieldList(title, at, kSelectWord);
        if (!list) return command;
        command.index = ToInt(*list);
        command.kind = TitleCommand::Kind::Select;
        return command;
    }

    if (const std::size_t at = title.find(kMoveWord); at != std::string_view::npos) {
        const auto list = FieldList(title, at, kMoveWord);
        if (!list) return command;
        const auto fields = SplitFields(*list);
        // A fourth field means the title was not written by the add-on; only
        // three values are ever stored.
        if (fields.size() > 3) return command;
        // A missing field counts as an empty one: the same conversion error.
        const std::string_view none;
        command.index = ToInt(fields[0]);
        command.x = ToInt(fields.size() > 1 ? fields[1] : none);
        command.y = ToInt(fields.size() > 2 ? fields[2] : none);
        command.kind = TitleCommand::Kind::Move;
        return command;
    }

    if (title.find(kErrorWord) != std::string_view::npos) command.kind = TitleCommand::Kind::Error;
    return command;
}

} // namespace didad
