#include "preview/LocalFileRule.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "model/ValueHelpers.h"

namespace didad {

namespace fs = std::filesystem;

namespace {

// The path with `..` and links resolved as far as it exists; empty when the
// file system cannot tell.
fs::path Resolved(const std::string& path) {
    if (path.empty()) return {};
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(path), error);
    if (error) return {};
    fs::path resolved = fs::weakly_canonical(absolute, error);
    return error ? fs::path() : resolved;
}

bool ResolvedIsInside(const fs::path& inner, const fs::path& outer) {
    if (inner.empty() || outer.empty()) return false;
    auto innerPart = inner.begin();
    for (auto outerPart = outer.begin(); outerPart != outer.end(); ++outerPart, ++innerPart) {
        // A trailing separator leaves an empty last part.
        if (outerPart->empty() && std::next(outerPart) == outer.end()) break;
        if (innerPart == inner.end() || *innerPart != *outerPart) return false;
    }
    return true;
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

PreviewRequestStep StepForPreviewRequest(LocalFileUse use, bool fileUrl, const std::string& path,
                                         const std::string& projectFolder) {
    const LocalTarget target = ResolveLocalTarget(path);
    if (!target.exists) return PreviewRequestStep::Refuse;
    // The project's own files belong to its origin, however they are named.
    if (ResolvedIsInside(fs::path(target.path), Resolved(projectFolder)))
        return fileUrl ? PreviewRequestStep::ToPreviewScheme : PreviewRequestStep::Load;
    // A page the user opens replaces the project's page: it may be anything.
    if (use == LocalFileUse::MainFrame) return fileUrl ? PreviewRequestStep::Load : PreviewRequestStep::ToFileUrl;
    if (!KindFitsUse(KindOfLocalFile(target.path), use)) return PreviewRequestStep::Refuse;
    // Only the project's origin can tell a request that reads its answer.
    return fileUrl ? PreviewRequestStep::ToPreviewScheme : PreviewRequestStep::Load;
}

PreviewServe StepForPreviewServe(const std::string& path, const std::string& projectFolder, bool corsRequest) {
    LocalTarget target = ResolveLocalTarget(path);
    if (!target.exists) return {};
    PreviewServe answer{PreviewServeStep::NotFound, std::move(target.path)};
    if (ResolvedIsInside(fs::path(answer.file), Resolved(projectFolder))) {
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
    case LocalFileKind::Script:
        // As a local file the page may show it or run it, never read it;
        // asked to read it, the page gets nothing, as from another site.
        answer.step = corsRequest ? PreviewServeStep::NotFound : PreviewServeStep::AsFileUrl;
        break;
    default: break;
    }
    return answer;
}

int PreviewPort(int load) {
    // Past the default port, within the 16 bits a port has.
    return kPreviewDefaultPort + 1 + load % (65535 - kPreviewDefaultPort);
}

std::string WithFileUrls(std::string_view text) {
    const std::string prefix = std::string(kPreviewScheme) + "://" + std::string(kPreviewHost);
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = text.find(prefix); at != std::string_view::npos; at = text.find(prefix, at + 1)) {
        std::size_t slash = at + prefix.size();
        if (slash < text.size() && text[slash] == ':') {
            const std::size_t digits = text.find_first_not_of("0123456789", slash + 1);
            slash = digits == slash + 1 ? std::string_view::npos : digits;
        }
        if (slash >= text.size() || text[slash] != '/') continue;
        result.append(text.substr(from, at - from));
        result += "file://";
        from = slash;
    }
    result.append(text.substr(from));
    return result;
}

} // namespace didad
