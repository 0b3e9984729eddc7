#pragma once
// The preview window's rules: where to scroll to show a menu, when to offer
// "Back to Preview", the JS error log, the engine check, and which titles of
// the shown page reach the editor.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "preview/JsErrorLog.h"

namespace didad {

class ITitleCommandTarget;

struct ScrollPosition {
    int horizontal = 0;
    int vertical = 0;
    friend bool operator==(const ScrollPosition&, const ScrollPosition&) = default;
};

// The scroll position that brings a menu at (left, top), `breadth` wide, into
// a window of `width` x `height` now scrolled to `current`. The caller keeps
// the result within the scroll bars' ranges.
ScrollPosition RevealPosition(ScrollPosition current, int width, int height, int left, int top, int breadth);

// A rectangle of the desktop in pixels.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Where the preview window first opens: beside the main window (right of
// it, else left of it) when the screen has room, centred on the screen
// otherwise.
ScreenRect FirstPreviewPlace(ScreenRect screen, ScreenRect mainWindow, int width, int height);

// A width the preview shows the page at. On an editing width menus are
// selected and dragged and always keep their normal layout, whatever the
// project's compact width; any other width shows what a visitor would see.
struct PreviewWidth {
    int width;
    const char* label;
    bool editing;
};
inline constexpr PreviewWidth kPreviewWidths[] = {
    {820, "Editing page, 820 px", true},
    {390, "Phone, 390 px", false},
    {1366, "Wide window, 1,366 px", true},
};
inline constexpr int kPreviewHeight = 620;
// The statement every document of the preview runs before its own scripts:
// the editing add-on reads from it whether the page is for editing.
std::string PreviewWidthStatement(const PreviewWidth& width);

// Document-complete and "Back to Preview".
class PreviewNavigation {
public:
    // The editor starts loading the preview page.
    void StartPreviewLoad() { navigating_ = true; }
    // A page finished loading; `url` is the browser's location now.
    void DocumentComplete(const std::string& url);
    bool BackToPreviewShown() const { return backShown_; }
    const std::string& PreviewUrl() const { return previewUrl_; }
    bool Navigating() const { return navigating_; }

private:
    bool navigating_ = false;
    bool backShown_ = false;
    std::string previewUrl_;
};

// Applies one title of the shown page. While a page other than the preview
// page is shown ("Back to Preview" offered) select and move commands are not
// taken, so a foreign page cannot change the project; error commands are
// logged in any case. Throws ConversionError for a bad number in a command
// that is taken.
void HandlePreviewTitle(std::string_view title, bool previewPageShown, ITitleCommandTarget& editor, JsErrorLog& log);

// The oldest engine (Chromium major version) the preview works with.
inline constexpr int kMinimumChromiumMajor = 90;
// The major version from a user agent's "Chrome/NN.…", or -1.
int ChromiumMajorFromUserAgent(std::string_view userAgent);
// The major version from a version text "NN.N.NNNN.NN", or -1.
int ChromiumMajorFromVersion(std::string_view version);
bool EngineIsSupported(int chromiumMajor);

inline constexpr const char* kOldEngineCaption = "Cannot communicate with the browser!";
inline constexpr const char* kOldEngineText =
    "Please update your browser!\r\n\r\nWarning - Old Version!\r\n\r\n"
    "Internet Explorer 5.0 or above is required for this application to operate correctly.";

} // namespace didad
