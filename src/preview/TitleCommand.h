#pragma once
// Parsing of the title channel: the preview page sets its document title to a
// command ("!RarurAVI:" ...) that the editor applies.
#include <string>
#include <string_view>

namespace didad {

struct TitleCommand {
    enum class Kind {
        None,   // not a command, or a malformed one that is ignored
        Select, // "ySetSel(i)": select entry `index`
        Move,   // "docMouseMove(i,x,y)": entry `index` moved to (x, y), then selected
        Error   // "ERROR(...)": append the whole title to the JS error log
    };
    Kind kind = Kind::None;
    int index = 0;
    int x = 0;
    int y = 0;
};

// Recognises a command by its words in a fixed order (select, moved, error).
// Throws ConversionError when a number field is not a decimal integer.
// The caller checks `index` against the number of entries.
TitleCommand ParseTitleCommand(std::string_view title);

} // namespace didad
