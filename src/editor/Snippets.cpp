#include "editor/Snippets.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "model/DiskSync.h"
#include "model/ValueHelpers.h"

namespace didad {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
}

std::size_t LastSeparator(std::string_view path) { return path.find_last_of("\\/:"); }

// The text as lines, each ended by CR LF; a final line break adds no empty
// line. CR LF, a lone CR and a lone LF all end a line.
std::string LinesWithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        out += c;
        ++i;
    }
    if (!out.empty() && !(out.size() >= 2 && out.ends_with("\r\n"))) out += "\r\n";
    return out;
}

} // namespace

SnippetInsertion InsertSnippet(std::string_view text, std::size_t selectionStart, std::size_t selectionEnd,
                               std::string_view snippet, std::string_view lineBreak) {
    const std::size_t at = std::min({selectionStart, selectionEnd, text.size()});
    SnippetInsertion result;
    result.text.reserve(text.size() + snippet.size() + lineBreak.size());
    result.text.append(text.substr(0, at));
    result.text.append(snippet);
    result.text.append(lineBreak);
    result.caret = result.text.size();
    result.text.append(text.substr(at));
    return result;
}

std::string ConvertAddText(std::string_view text) {
    std::string t(text);
    if (!t.empty() && t.front() == ' ') t.replace(0, 1, "&nbsp;");
    ReplaceAll(t, "\r\n ", "\r\n&nbsp;");
    ReplaceAll(t, "  ", "&nbsp;&nbsp;");
    ReplaceAll(t, "\r\n", "<BR>\r\n");
    return t;
}

std::string BuildAddTextSnippet(std::string_view convertedText, const AddTextOptions& options) {
    std::string fontOpen;
    std::string fontClose;
    if (!(options.defaultFace && options.defaultSize && options.defaultColor)) {
        fontOpen = "<FONT";
        if (!options.defaultFace) fontOpen += " FACE=\"" + options.fontFace + "\"";
        if (!options.defaultSize) fontOpen += " SIZE=\"" + options.fontSize + "\"";
        if (!options.defaultColor) fontOpen += " COLOR=\"" + ColorToHtml(options.colour) + "\"";
        fontOpen += ">";
        fontClose = "</FONT>";
    }
    std::string snippet;
    if (options.center) snippet += "<CENTER>";
    snippet += fontOpen;
    snippet += LinesWithCrLf(convertedText);
    snippet += fontClose;
    if (options.center) snippet += "</CENTER>";
    return snippet;
}

std::string BuildAddUrlSnippet(std::string_view url, std::string_view target, std::string_view innerHtml) {
    std::string snippet = "<A HREF=\"";
    snippet.append(url);
    snippet += '"';
    if (!target.empty()) {
        snippet += " TARGET=\"";
        snippet.append(target);
        snippet += '"';
    }
    snippet += '>';
    snippet.append(innerHtml);
    snippet += "</A>";
    return snippet;
}

std::string FileNamePart(std::string_view path) {
    const std::size_t pos = LastSeparator(path);
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string FolderPart(std::string_view path) {
    const std::size_t pos = LastSeparator(path);
    if (pos == std::string_view::npos) return {};
    // A file right in the root keeps the root's separator.
    return std::string(path.substr(0, pos == 0 ? 1 : pos));
}

int BorderValue(std::string_view borderText) { return ParseIntOr(borderText, 0); }

std::string BuildAddImageSnippet(std::string_view imagePath, std::string_view borderText) {
    return "<IMG SRC=\"" + FileNamePart(imagePath) + "\" BORDER=\"" + std::to_string(BorderValue(borderText)) + "\">";
}

std::string PictureTargetPath(const std::string& projectFolder, std::string_view imagePath) {
    return JoinPath(projectFolder, FileNamePart(imagePath));
}

bool PictureNeedsCopy(const std::string& imagePath, const std::string& targetPath) {
    if (imagePath == targetPath) return false;
    // The picture may already be the project's file under another spelling
    // of its path: other letter case on a disk that ignores it, a link, "..".
    // Comparing the texts without regard to case would wrongly skip the copy
    // on a disk that tells the cases apart, so the disk decides.
    std::error_code ec;
    const bool same = std::filesystem::equivalent(imagePath, targetPath, ec);
    return ec || !same;
}

bool CopyPicture(const std::string& imagePath, const std::string& targetPath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (imagePath.empty() || !fs::is_regular_file(imagePath, ec)) return false;
    // Through a temporary file, so that a failed copy leaves any picture of
    // that name in the project as it was.
    const std::string temporary = targetPath + ".didad-copy";
    // The copy is on the disk before it takes the picture's name, as a script is.
    if (!fs::copy_file(imagePath, temporary, fs::copy_options::overwrite_existing, ec) ||
        !SyncFileToDisk(fs::path(temporary)).empty()) {
        fs::remove(temporary, ec);
        return false;
    }
    fs::rename(temporary, targetPath, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return SyncFolderToDisk(fs::path(targetPath).parent_path()).empty();
}

std::string PictureCopyFailedMessage(std::string_view imagePath) {
    std::string text = "Cannot copy this file: \r\n  ";
    text.append(imagePath);
    text +=
        "\r\nto project's folder.\r\n"
        "You may not see a picture unless you copy this file to project's folder.";
    return text;
}

std::string AddImageToProject(const std::string& imagePath, const std::string& borderText,
                              const std::string& projectFolder, IMessages& messages) {
    std::string snippet = BuildAddImageSnippet(imagePath, borderText);
    const std::string target = PictureTargetPath(projectFolder, imagePath);
    if (PictureNeedsCopy(imagePath, target) && (projectFolder.empty() || !CopyPicture(imagePath, target)))
        messages.ShowMessage(PictureCopyFailedMessage(imagePath));
    return snippet;
}

std::string LinkChooserNextFolder(const std::string& remembered, bool accepted, const std::string& chosenFile) {
    return accepted ? FolderPart(chosenFile) : remembered;
}

std::string PictureChooserNextFolder(bool accepted, const std::string& chosenFile) {
    return accepted ? FolderPart(chosenFile) : std::string();
}

} // namespace didad
