#include "preview/LocalFileRule.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "model/PathRules.h"

#include "model/ValueHelpers.h"

namespace didad {

namespace fs = std::filesystem;

namespace {

fs::path Resolved(const std::string& path) { return ResolvedPath(path); }

// A file with a second name may be any file of the user's, whatever folder
// the name lies in; a file of another owner is nothing the user made.
bool OneNameAndOwn(const fs::path& file) {
#ifdef _WIN32
    (void)file;
    return true;
#else
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) return false;
    return status.st_nlink == 1 && status.st_uid == ::geteuid();
#endif
}

std::string LowerExtension(const std::string& path) { return LowerAscii(fs::path(path).extension().string()); }

struct KnownType {
    std::string_view extension;
    LocalFileKind kind;
    std::string_view contentType;
};

constexpr KnownType kKnownTypes[] = {
    {".html", LocalFileKind::Page, "text/html"},
    {".htm", LocalFileKind::Page, "text/html"},
    {".xhtml", LocalFileKind::Page, "application/xhtml+xml"},
    {".png", LocalFileKind::Image, "image/png"},
    {".gif", LocalFileKind::Image, "image/gif"},
    {".jpg", LocalFileKind::Image, "image/jpeg"},
    {".jpeg", LocalFileKind::Image, "image/jpeg"},
    {".bmp", LocalFileKind::Image, "image/bmp"},
    {".ico", LocalFileKind::Image, "image/x-icon"},
    {".cur", LocalFileKind::Image, "image/x-icon"},
    {".webp", LocalFileKind::Image, "image/webp"},
    {".avif", LocalFileKind::Image, "image/avif"},
    {".svg", LocalFileKind::Image, "image/svg+xml"},
    {".woff", LocalFileKind::Font, "font/woff"},
    {".woff2", LocalFileKind::Font, "font/woff2"},
    {".ttf", LocalFileKind::Font, "font/ttf"},
    {".otf", LocalFileKind::Font, "font/otf"},
    {".css", LocalFileKind::Stylesheet, "text/css"},
    {".js", LocalFileKind::Script, "text/javascript"},
    {".mjs", LocalFileKind::Script, "text/javascript"},
    {".json", LocalFileKind::Json, "application/json"},
    {".txt", LocalFileKind::Text, "text/plain"},
    {".xml", LocalFileKind::Text, "text/xml"},
};

const KnownType* KnownTypeOf(const std::string& path) {
    const std::string extension = LowerExtension(path);
    for (const KnownType& each : kKnownTypes)
        if (each.extension == extension) return &each;
    return nullptr;
}

// A browser refuses another site's file as a picture, a font, a style sheet
// or a script unless its type says it is one.
bool KindFitsUse(LocalFileKind kind, LocalFileUse use) {
    switch (use) {
    case LocalFileUse::MainFrame: return true;
    case LocalFileUse::Image:
    case LocalFileUse::Favicon: return kind == LocalFileKind::Image;
    case LocalFileUse::Font: return kind == LocalFileKind::Font;
    case LocalFileUse::Stylesheet: return kind == LocalFileKind::Stylesheet;
    case LocalFileUse::Script: return kind == LocalFileKind::Script;
    case LocalFileUse::Other: return false;
    }
    return false;
}

} // namespace

LocalTarget ResolveLocalTarget(const std::string& path) {
    LocalTarget target;
    const fs::path resolved = Resolved(path);
    if (resolved.empty()) return target;
    target.path = resolved.string();
    std::error_code error;
    target.exists = fs::is_regular_file(resolved, error) && !error;
    return target;
}

LocalFileKind KindOfLocalFile(const std::string& resolvedPath) {
    const KnownType* type = KnownTypeOf(resolvedPath);
    return type ? type->kind : LocalFileKind::Unknown;
}

std::string ContentTypeOfLocalFile(const std::string& resolvedPath) {
    const KnownType* type = KnownTypeOf(resolvedPath);
    // Shown as text rather than offered for download.
    return std::string(type ? type->contentType : "text/plain");
}

bool PreviewMayRead(const std::string& resolvedPath, const PreviewFolders& folders) {
    const fs::path file(resolvedPath);
    const bool inside = PathIsInside(file, Resolved(folders.project)) ||
                        (!folders.site.empty() && PathIsInside(file, Resolved(folders.site)));
    return inside && OneNameAndOwn(file);
}

PreviewRequestStep StepForPreviewRequest(LocalFileUse use, bool fileUrl, const std::string& path,
                                         const PreviewFolders& folders) {
    const LocalTarget target = ResolveLocalTarget(path);
    if (!target.exists) return PreviewRequestStep::Refuse;
    // The project's files belong to its origin, however they are named.
    if (PreviewMayRead(target.path, folders))
        return fileUrl ? PreviewRequestStep::ToPreviewScheme : PreviewRequestStep::Load;
    // A page the user opens replaces the project's page: it may be anything.
    if (use == LocalFileUse::MainFrame) return fileUrl ? PreviewRequestStep::Load : PreviewRequestStep::ToFileUrl;
    const LocalFileKind kind = KindOfLocalFile(target.path);
    // An outside script would run with the page's rights and leave what it
    // defines readable; what a page reads is the page's to keep.
    if (use == LocalFileUse::Other || (use == LocalFileUse::Script && kind == LocalFileKind::Script))
        return PreviewRequestStep::RefuseOutside;
    if (!KindFitsUse(kind, use)) return PreviewRequestStep::Refuse;
    // Only the project's origin can tell a request that reads its answer.
    return fileUrl ? PreviewRequestStep::ToPreviewScheme : PreviewRequestStep::Load;
}

PreviewServe StepForPreviewServe(const std::string& path, const PreviewFolders& folders, bool corsRequest) {
    LocalTarget target = ResolveLocalTarget(path);
    if (!target.exists) return {};
    PreviewServe answer{PreviewServeStep::NotFound, std::move(target.path)};
    if (PreviewMayRead(answer.file, folders)) {
        answer.step = PreviewServeStep::Serve;
        return answer;
    }
    switch (KindOfLocalFile(answer.file)) {
    case LocalFileKind::Font:
        // A font's bytes never reach a script, and a font from another
        // origin would load only through a read request.
        answer.step = PreviewServeStep::Serve;
        break;
    case LocalFileKind::Image:
    case LocalFileKind::Stylesheet:
        // As a local file the page may show it, never read it; asked to
        // read it, the page gets nothing, as from another site.
        answer.step = corsRequest ? PreviewServeStep::NotFound : PreviewServeStep::AsFileUrl;
        break;
    default: break;
    }
    return answer;
}

namespace {

std::vector<std::string> PartsOf(const fs::path& path) {
    std::vector<std::string> parts;
    for (const fs::path& part : path.relative_path())
        if (!part.empty()) parts.push_back(part.string());
    return parts;
}

std::string PercentEncoded(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char each : path) {
        const auto c = static_cast<unsigned char>(each);
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += each;
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 15];
        }
    }
    return encoded;
}

// The folder made of the first `depth` parts of the project folder.
fs::path AncestorOfProject(const fs::path& project, std::size_t depth) {
    fs::path ancestor = project.root_path();
    std::size_t taken = 0;
    for (const std::string& part : PartsOf(project)) {
        if (taken++ == depth) break;
        ancestor /= part;
    }
    return ancestor;
}

// Where the file's path begins in a preview URL path, after the load part
// and the empty parts, whose count goes to `depth`; npos when it is no
// preview path of a project of `projectDepth` folders.
std::size_t RestOfPreviewPath(std::string_view urlPath, std::size_t projectDepth, std::size_t& depth) {
    if (urlPath.size() < 2 || urlPath[0] != '/') return std::string_view::npos;
    const std::size_t slash = urlPath.find_first_not_of("0123456789", 1);
    if (slash == 1 || slash == std::string_view::npos || urlPath[slash] != '/') return std::string_view::npos;
    const std::size_t rest = urlPath.find_first_not_of('/', slash);
    if (rest == std::string_view::npos) return std::string_view::npos;
    depth = rest - slash - 1;
    return depth > projectDepth ? std::string_view::npos : rest;
}

} // namespace

std::string PreviewUrlPath(const std::string& file, const std::string& projectFolder, int load) {
    const std::vector<std::string> project = PartsOf(Resolved(projectFolder));
    std::error_code error;
    const std::vector<std::string> parts = PartsOf(fs::absolute(fs::path(file), error).lexically_normal());
    std::size_t shared = 0;
    while (shared < project.size() && shared < parts.size() && project[shared] == parts[shared]) ++shared;
    std::string path = "/" + std::to_string(load) + std::string(shared, '/');
    for (std::size_t i = shared; i < parts.size(); ++i) path += "/" + parts[i];
    return path;
}

std::string FileOfPreviewUrlPath(std::string_view urlPath, const std::string& projectFolder) {
    const fs::path project = Resolved(projectFolder);
    std::size_t depth = 0;
    const std::size_t rest = RestOfPreviewPath(urlPath, PartsOf(project).size(), depth);
    if (project.empty() || rest == std::string_view::npos) return {};
    return (AncestorOfProject(project, depth) / fs::path(std::string(urlPath.substr(rest)))).string();
}

std::string WithFileUrls(std::string_view text, std::string_view origin, const std::string& projectFolder) {
    const fs::path project = Resolved(projectFolder);
    if (origin.empty() || project.empty()) return std::string(text);
    const std::size_t projectDepth = PartsOf(project).size();
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = text.find(origin); at != std::string_view::npos; at = text.find(origin, at + 1)) {
        std::size_t depth = 0;
        const std::size_t rest = RestOfPreviewPath(text.substr(at + origin.size()), projectDepth, depth);
        if (rest == std::string_view::npos) continue;
        std::string folder = AncestorOfProject(project, depth).generic_string();
        if (folder.back() != '/') folder += '/';
        result.append(text.substr(from, at - from));
        result += "file://" + PercentEncoded(folder);
        from = at + origin.size() + rest;
    }
    result.append(text.substr(from));
    return result;
}

std::string OutsideFilesLine(const std::vector<std::string>& names) {
    constexpr std::size_t kNamed = 3;
    const bool one = names.size() == 1;
    std::string line =
        "The page uses " + std::to_string(names.size()) + (one ? " file" : " files") + " outside the project (";
    for (std::size_t i = 0; i < names.size() && i < kNamed; ++i) line += (i ? ", " : "") + names[i];
    if (names.size() > kNamed) line += ", ...";
    line +=
        one ? "); choose its site folder to show it: Publish..." : "); choose its site folder to show them: Publish...";
    return line;
}

} // namespace didad
