#pragma once
// The HTML that the snippet tools write into the caption and menu boxes, and
// the rules of inserting it and of bringing a picture into the project.
#include <cstddef>
#include <string>
#include <string_view>

#include "model/Messages.h"
#include "model/ProjectModel.h"

namespace didad {

inline constexpr const char* kNewLineSnippet = "<BR>";

// Text of an HTML box after a snippet went in, and where the caret ends.
struct SnippetInsertion {
    std::string text;
    std::size_t caret = 0;
};

// Inserts `snippet` and `lineBreak` at the start of the selection
// [selectionStart, selectionEnd) (either order). Selected text is not
// replaced: the snippet goes in front of it. The caret ends after the
// inserted text, with nothing selected.
SnippetInsertion InsertSnippet(std::string_view text, std::size_t selectionStart, std::size_t selectionEnd,
                               std::string_view snippet, std::string_view lineBreak = "\r\n");

// ---- Add Text ----

// Keeps the author's spacing and line breaks in HTML: a leading space and
// the first space of every further line become "&nbsp;", every pair of
// spaces "&nbsp;&nbsp;", every CR LF "<BR>" CR LF. Nothing is escaped.
std::string ConvertAddText(std::string_view text);

struct AddTextOptions {
    std::string fontFace = "Arial";
    bool defaultFace = false;
    std::string fontSize = "2";
    bool defaultSize = false;
    Color colour = kWhite;
    bool defaultColor = false;
    bool center = false;
};

// The snippet around a text already converted by ConvertAddText.
std::string BuildAddTextSnippet(std::string_view convertedText, const AddTextOptions& options);

// ---- Add URL ----

std::string BuildAddUrlSnippet(std::string_view url, std::string_view target, std::string_view innerHtml);

// ---- Add Image ----

// The part of a path after its last separator (\, / or :).
std::string FileNamePart(std::string_view path);
// The folder part of a path, without the trailing separator; empty if none.
std::string FolderPart(std::string_view path);
// The border box read as an integer; 0 for anything that is not one.
int BorderValue(std::string_view borderText);
std::string BuildAddImageSnippet(std::string_view imagePath, std::string_view borderText);

// Where the picture goes: the project folder and the picture's file name.
std::string PictureTargetPath(const std::string& projectFolder, std::string_view imagePath);
// A picture is copied unless it already is the project's file: the two paths
// are the same text or name the same file on disk.
bool PictureNeedsCopy(const std::string& imagePath, const std::string& targetPath);
// Copies the picture over any file of that name. False on any failure; the
// file at the target is then left as it was.
bool CopyPicture(const std::string& imagePath, const std::string& targetPath);
std::string PictureCopyFailedMessage(std::string_view imagePath);

// Add Image's OK: copies the picture into the project folder when needed
// (telling the user when that fails) and returns the snippet, which is to be
// inserted whatever happened to the copy.
std::string AddImageToProject(const std::string& imagePath, const std::string& borderText,
                              const std::string& projectFolder, IMessages& messages);

// ---- The two file choosers' remembered folders ----

// The link chooser keeps its folder on cancel.
std::string LinkChooserNextFolder(const std::string& remembered, bool accepted, const std::string& chosenFile);
// The picture chooser takes the folder of its current file name, which a
// cancel leaves empty.
std::string PictureChooserNextFolder(bool accepted, const std::string& chosenFile);

} // namespace didad
