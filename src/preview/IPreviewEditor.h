#pragma once
// What the preview window asks of the editor. The program hands it over when
// it makes the window, so that the preview need not know the editor.
#include <string_view>

#include "preview/TitleCommand.h"

namespace didad {

class JsErrorLog;

// Takes the select and move commands in the preview page's titles.
class ITitleCommandTarget {
public:
    virtual ~ITitleCommandTarget() = default;
    // Throws ConversionError for a bad number in a command.
    virtual TitleCommand HandleTitleCommand(std::string_view title) = 0;
};

class IPreviewEditor {
public:
    virtual ~IPreviewEditor() = default;
    // A title of the shown page; a failure shows its box over the editor.
    virtual void TakePageTitle(std::string_view title, bool previewPageShown, JsErrorLog& log) = 0;
    // "Back to Preview": the preview page again, as Update Preview makes it.
    virtual void BackToPreview() = 0;
    // The Publish dialog, where the project's site folder is chosen.
    virtual void PublishProject() = 0;
};

} // namespace didad
