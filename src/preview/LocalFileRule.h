#pragma once
// What the preview's page may load of the user's own files. A project is a
// folder that people pass around, so its page must not read the user's
// other files. The page is served under a URL scheme of the program's own:
// the project folder is one origin, where the page may read anything; every
// file outside it reaches the page as a local file, another origin, and only
// as what a page shows but cannot read back (pictures, fonts, style sheets,
// scripts), as a browser treats another site's files. A request is judged by
// the file it reaches once links and `..` are resolved, never by its name.
#include <string>
#include <string_view>

namespace didad {

// The scheme and host of the project folder's origin; the URL's path is the
// file's absolute path. The engine keeps what it loaded of a scheme of its
// own for as long as it runs, so every preview load has a port of its own
// ("didad-preview://project:7/..."): a fresh origin, which reads the files as
// they are now, in the same process.
inline constexpr std::string_view kPreviewScheme = "didad-preview";
inline constexpr std::string_view kPreviewHost = "project";
inline constexpr int kPreviewDefaultPort = 1;
int PreviewPort(int load);

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

// What becomes of a request before it is loaded. A file lies inside the
// project when it lies in `projectFolder` or a sub-folder once `..` and links
// are resolved in both (an empty folder holds nothing). Refused requests fail
// as a missing file does, so that the page cannot tell the two apart.
enum class PreviewRequestStep {
    Load,            // as asked
    Refuse,          // as for a missing file
    ToPreviewScheme, // asked again under the project's origin, which decides
    ToFileUrl,       // opened as the local file (a page outside the project)
};
// `fileUrl` tells whether the request names a file: URL or the preview
// scheme's; `path` is the file that URL names.
PreviewRequestStep StepForPreviewRequest(LocalFileUse use, bool fileUrl, const std::string& path,
                                         const std::string& projectFolder);

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
PreviewServe StepForPreviewServe(const std::string& path, const std::string& projectFolder, bool corsRequest);

// A line for js.log with the preview scheme's URLs written as file URLs, the
// files the user knows.
std::string WithFileUrls(std::string_view text);

} // namespace didad
