#pragma once
// What the preview's page may load of the user's own files. A project is a
// folder that people pass around, so its page must not read the user's
// other files: inside the project folder it may load anything, from
// elsewhere only what a page shows and a script cannot read back (pictures,
// style sheets, scripts, fonts), as a browser treats another site's files.
#include <string>

namespace didad {

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

// True when `path` lies in `folder` or one of its sub-folders, once `..` and
// links are resolved in both. An empty folder holds nothing.
bool PathIsInsideFolder(const std::string& path, const std::string& folder);

bool MayLoadLocalFile(LocalFileUse use, const std::string& path, const std::string& projectFolder);

} // namespace didad
