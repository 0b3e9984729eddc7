#include "preview/PreviewLogic.h"

#include <algorithm>

#include "preview/IPreviewEditor.h"
#include "preview/TitleCommand.h"

#include <utility>

namespace didad {

ScrollPosition RevealPosition(ScrollPosition current, int width, int height, int left, int top, int breadth) {
    ScrollPosition next = current;
    if (current.horizontal + width < left + 40 || left < current.horizontal)
        next.horizontal = left + breadth / 2 - width / 2;
    if (current.vertical + height < top + 80 || top < current.vertical) next.vertical = top - height / 2;
    return next;
}

std::string PreviewWidthStatement(const PreviewWidth& width) {
    return std::string("var yLookOnly = ") + (width.editing ? "0" : "1") + ";";
}

ScreenRect FirstPreviewPlace(ScreenRect screen, ScreenRect mainWindow, int width, int height) {
    constexpr int kGap = 8;
    const int top = std::clamp(mainWindow.top, screen.top, std::max(screen.top, screen.top + screen.height - height));
    if (mainWindow.left + mainWindow.width + kGap + width <= screen.left + screen.width)
        return {mainWindow.left + mainWindow.width + kGap, top, width, height};
    if (mainWindow.left - kGap - width >= screen.left) return {mainWindow.left - kGap - width, top, width, height};
    return {screen.left + (screen.width - width) / 2, screen.top + (screen.height - height) / 2, width, height};
}

void PreviewNavigation::DocumentComplete(const std::string& url) {
    if (navigating_) {
        previewUrl_ = url;
        backShown_ = false;
        navigating_ = false;
        return;
    }
    if (previewUrl_.empty() || url.find(previewUrl_) == std::string::npos) backShown_ = true;
}

void HandlePreviewTitle(std::string_view title, bool previewPageShown, ITitleCommandTarget& editor, JsErrorLog& log) {
    if (previewPageShown) {
        if (editor.HandleTitleCommand(title).kind == TitleCommand::Kind::Error) log.Append(std::string(title));
        return;
    }
    TitleCommand command;
    try {
        command = ParseTitleCommand(title);
    } catch (const std::exception&) {
        return;
    }
    if (command.kind == TitleCommand::Kind::Error) log.Append(std::string(title));
}

namespace {
int LeadingNumber(std::string_view text) {
    int value = 0;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9' && digits < 6) {
        value = value * 10 + (text[digits] - '0');
        ++digits;
    }
    return digits == 0 ? -1 : value;
}
} // namespace

int ChromiumMajorFromUserAgent(std::string_view userAgent) {
    constexpr std::string_view kWord = "Chrome/";
    const std::size_t at = userAgent.find(kWord);
    if (at == std::string_view::npos) return -1;
    return LeadingNumber(userAgent.substr(at + kWord.size()));
}

int ChromiumMajorFromVersion(std::string_view version) { return LeadingNumber(version); }

bool EngineIsSupported(int chromiumMajor) { return chromiumMajor >= kMinimumChromiumMajor; }

} // namespace didad
