#pragma once
// What the preview's page may load of the user's own files. A project is a
// folder that people pass around, so its page must read no more than what
// would be published. The page is served under a URL scheme of the program's
// own: the project is one origin, where the page may read the files of the
// project folder and of its site folder; every other file reaches the page
// only as what a page shows but cannot read back (pictures, fonts, style
// sheets), and an outside script does not run. A request is judged by the
// file it reaches once links and `..` are resolved, never by its name.
#include <string>
#include <string_view>
#include <vector>

namespace didad {

// The preview scheme. Each project is one origin for the whole run: its host
// is made from the project folder (QtPreviewScheme), so a page reaches no
// other project's origin. A URL's path names no folder of the user's; it is
// "/<load>" and then the file's path from the project folder, with one empty
// part for each folder of the project folder's own path, so that a page's
// `../` leads where it leads on the disk. The load number changes with every
// preview load: the engine keeps what a scheme of its own served for as long
// as it runs, and a fresh path reads the files as they are now.
inline constexpr std::string_view kPreviewScheme = "didad-preview";

// The folders whose files the page may read: the project folder and, once
// the user has chosen one for the project, its site folder.
struct PreviewFolders {
    std::string project;
    std::string site; // empty when none is chosen
};

// The path of the preview URL of `file` in preview load `load`, and back: the
// file a preview URL's path names, empty when it names none.
std::string PreviewUrlPath(const std::string& file, const std::string& projectFolder, int load);
std::string FileOfPreviewUrlPath(std::string_view urlPath, const std::string& projectFolder);

// Why the page asks for a file, as far as the rule cares.
enum class LocalFileUse {
    MainFrame, // the page itself, or a page a link leads to
    Image,
    Favicon,
    Font,
    Stylesheet,
    Script,
    Other, // requests, frames, objects, workers, media, prefetches, ...
};

// What a local file is, from the extension of the file a path resolves to.
enum class LocalFileKind { Page, Image, Font, Stylesheet, Script, Json, Text, Unknown };

// A path with links and `..` resolved; `exists` is false when nothing is
// there (or the file system cannot tell).
struct LocalTarget {
    std::string path;
    bool exists = false;
};
LocalTarget ResolveLocalTarget(const std::string& path);

LocalFileKind KindOfLocalFile(const std::string& resolvedPath);
// The content type the preview serves a file of the project folder with.
std::string ContentTypeOfLocalFile(const std::string& resolvedPath);

// Whether the page may read a file (`resolvedPath`, links resolved): it lies
// in the project folder or the site folder, it has no second name (a hard
// link made by unpacking an archive can lead anywhere) and it belongs to the
// user. Every other file is outside.
bool PreviewMayRead(const std::string& resolvedPath, const PreviewFolders& folders);

// What becomes of a request before it is loaded. Refused requests fail as a
// missing file does, so that the page cannot tell the two apart.
enum class PreviewRequestStep {
    Load,            // as asked
    Refuse,          // as for a missing file
    RefuseOutside,   // the same, for a file outside that the site folder may be meant to hold
    ToPreviewScheme, // asked again under the project's origin, which decides
    ToFileUrl,       // opened as the local file (a page outside the project)
};
// `fileUrl` tells whether the request names a file: URL or the preview
// scheme's; `path` is the file that URL names.
PreviewRequestStep StepForPreviewRequest(LocalFileUse use, bool fileUrl, const std::string& path,
                                         const PreviewFolders& folders);

// How the project's origin answers a request for `path` that reached it.
// `corsRequest` is true when the page asked to read the answer (a module
// import, a font, an element marked crossorigin).
enum class PreviewServeStep {
    Serve,     // from the project's origin
    NotFound,  // as for a missing file
    AsFileUrl, // as the local file, another origin whose content stays unreadable
};
struct PreviewServe {
    PreviewServeStep step = PreviewServeStep::NotFound;
    std::string file; // the file judged, links resolved: what is served or sent on
};
PreviewServe StepForPreviewServe(const std::string& path, const PreviewFolders& folders, bool corsRequest);

// A line for js.log with the URLs of the origin `origin`
// ("didad-preview://host") written as file URLs, the files the user knows.
std::string WithFileUrls(std::string_view text, std::string_view origin, const std::string& projectFolder);

// The preview window's line about the files outside the project that the
// page was refused (`names`, in the order asked), naming the first few.
std::string OutsideFilesLine(const std::vector<std::string>& names);

} // namespace didad
