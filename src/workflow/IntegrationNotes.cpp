#include "workflow/IntegrationNotes.h"

#include "model/ScriptWriter.h"

namespace didad {

std::vector<std::string> IntegrationNotesLines() {
    return {
        R"( Two lines required to be inserted into the HTML code of a page where)",
        R"( you would like the menu(s) to appear.)",
        "",
        R"( First line should be inserted somewhere between <HEAD> </HEAD> tags:)",
        "",
        R"( <SCRIPT LANGUAGE="JavaScript" SRC="Dirovidadaz.js"></SCRIPT>)",
        "",
        R"( Second line should be inserted right after the <BODY> tag:)",
        "",
        R"( <SCRIPT LANGUAGE="JavaScript">makeDidad()</SCRIPT>)",
        "",
        R"( "Dirovidadaz.js" should be copied (uploaded) with your page.)",
        "",
        R"( Or, instead of both, this one line between <HEAD> </HEAD> tags is enough:)",
        "",
        R"( <script defer src="Dirovidadaz.js"></script>)",
    };
}

std::string IntegrationNotesText() { return JoinLinesCrLf(IntegrationNotesLines()); }

} // namespace didad
