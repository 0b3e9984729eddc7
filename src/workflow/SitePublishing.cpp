#include "workflow/SitePublishing.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

#include "model/PathRules.h"
#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"

namespace didad {

namespace fs = std::filesystem;

namespace {

fs::path SiteRoot(const std::string& site) {
    std::error_code ec;
    if (site.empty() || !fs::is_directory(site, ec)) throw PublishError("The site folder does not exist: " + site);
    fs::path root = fs::canonical(site, ec);
    if (ec) throw PublishError("The site folder cannot be read: " + site);
    return root;
}

// A path the user typed inside the site: either separator, no leading one.
fs::path InsidePath(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    const std::size_t start = text.find_first_not_of('/');
    return fs::path(start == std::string::npos ? std::string() : text.substr(start)).lexically_normal();
}

bool LeavesSite(const fs::path& inside) { return !inside.empty() && *inside.begin() == ".."; }

// The script folder in the site, made when missing.
fs::path ScriptFolder(const fs::path& root, const PublishRequest& request, bool make) {
    const std::string& scriptFolder = request.scriptFolder;
    const fs::path inside = InsidePath(scriptFolder);
    std::error_code ec;
    fs::path folder = fs::weakly_canonical(root / inside, ec);
    if (LeavesSite(inside) || ec || !PathIsInside(folder, root))
        throw PublishError("The script folder must lie inside the site folder: " + scriptFolder);
    // Its script is the editing build, rewritten by every save: the site
    // would serve that, and the project's own script would be replaced.
    if (!request.projectFolder.empty()) {
        const fs::path project = fs::weakly_canonical(StripTrailingBackslash(request.projectFolder), ec);
        std::error_code notThere;
        if (!ec && (folder == project || fs::equivalent(folder, project, notThere)))
            throw PublishError(
                "The script folder cannot be the project folder, where the editor keeps saving the "
                "script it works on; choose another script folder: " +
                folder.string());
    }
    if (make && !fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec) throw CannotCreateFile((folder / kScriptFileName).string());
    }
    return folder;
}

struct ResolvedPage {
    fs::path file;
    std::string problem;
    bool error = true;
};

bool IsPageName(const fs::path& name) {
    std::string ext = name.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
    return ext == ".htm" || ext == ".html";
}

// The file behind a page's path, or why it is left alone.
ResolvedPage ResolvePage(const fs::path& root, const std::string& path) {
    const fs::path inside = InsidePath(path);
    if (inside.empty() || inside == ".") return {{}, "not a page of the site folder"};
    if (LeavesSite(inside)) return {{}, "outside the site folder"};
    const fs::path named = root / inside;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(named, ec);
    if (ec || !fs::exists(status)) return {{}, "no such page"};
    const fs::path real = fs::canonical(named, ec);
    if (fs::is_symlink(status)) {
        if (ec) return {{}, "a link to nothing"};
        if (!PathIsInside(real, root)) return {{}, "a link that leaves the site folder"};
        return {
            {}, "a link to " + real.lexically_relative(root).generic_string() + ", published in its own place", false};
    }
    if (ec || real != named) return {{}, "reached through a folder link; name it by its own path"};
    if (!fs::is_regular_file(status)) return {{}, "not a file"};
    const std::uintmax_t size = fs::file_size(real, ec);
    if (ec) return {{}, "cannot be read"};
    if (size > kMaxPageBytes) return {{}, "larger than 16 MB"};
    return {real, {}};
}

bool ReadWhole(const fs::path& file, std::string& text) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool ReadPage(const fs::path& file, std::string& text) { return ReadWhole(file, text) && text.size() <= kMaxPageBytes; }

// Percent-escapes everything of a path but letters, digits, "-._~" and '/',
// so that the SRC attribute holds a plain URL whatever the folder names are.
std::string UrlPath(const std::string& path) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~' || c == '/') {
            out += c;
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

// The page's code as it should be, and what that changes.
PageOutcome Settle(const std::string& text, const PageWish& wish, const std::string& src, IncludeForm form,
                   PageCodeEdit& edit) {
    PageOutcome outcome;
    outcome.path = wish.path;
    outcome.withMenus = wish.withMenus;
    edit = wish.withMenus ? WithMenuCode(text, src, form) : WithoutMenuCode(text);
    if (!edit.problem.empty()) {
        outcome.change = PageChange::Skipped;
        outcome.reason = edit.problem;
        outcome.error = true;
    } else if (!edit.changed) {
        outcome.change = PageChange::Unchanged;
    } else if (!wish.withMenus) {
        outcome.change = PageChange::Removed;
    } else {
        outcome.change = InspectPage(text).HasCode() ? PageChange::Mended : PageChange::Added;
    }
    return outcome;
}

std::string ProjectKey(const PublishRequest& request) {
    std::error_code ec;
    const fs::path project = fs::weakly_canonical(StripTrailingBackslash(request.projectFolder), ec);
    return ec ? request.projectFolder : project.string();
}

std::optional<OtherScript> OtherScriptAt(const PublishRequest& request, const fs::path& file,
                                         const std::string& script) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(file, ec);
    if (ec || !fs::exists(status)) return std::nullopt;
    // A link or a folder in the script's place is not this project's script either.
    std::string present;
    if (fs::is_regular_file(status) && fs::file_size(file, ec) <= kMaxScriptBytesRead && !ec &&
        ReadWhole(file, present) &&
        (present == script ||
         RecordedAsPublished(request.recordFile, ProjectKey(request), file.string(), ScriptDigest(present))))
        return std::nullopt;
    return DescribeScript(file.string());
}

std::vector<PageOutcome> BringPages(const PublishRequest& request, const std::string* script, bool write) {
    const fs::path root = SiteRoot(request.site);
    const bool writesScript = write && script && WritesScript(request);
    const fs::path scriptFolder = ScriptFolder(root, request, writesScript);
    const std::string scriptInside =
        scriptFolder == root ? std::string() : scriptFolder.lexically_relative(root).generic_string();
    std::error_code ec;
    const fs::path projectPage =
        request.projectPage.empty() ? fs::path() : fs::weakly_canonical(request.projectPage, ec);
    // The script first: a page must never load a script that is not there.
    if (writesScript) {
        const fs::path file = scriptFolder / kScriptFileName;
        if (!request.replaceOtherScript) {
            if (const auto other = OtherScriptAt(request, file, *script))
                throw OtherScriptError(
                    "The script folder holds another " + std::string(kScriptFileName) + " (" +
                    OtherScriptSummary(*other) +
                    "), not the one this project last published there; nothing was written: " + other->path);
        }
        WriteFileReplacing(file.string(), *script);
        RecordPublished(request.recordFile, ProjectKey(request), file.string(), ScriptDigest(*script));
    }

    std::vector<PageOutcome> outcomes;
    std::set<fs::path> done;
    for (const PageWish& wish : request.pages) {
        const ResolvedPage page = ResolvePage(root, wish.path);
        PageOutcome outcome{wish.path, PageChange::Skipped, page.problem, page.error};
        std::string text;
        PageCodeEdit edit;
        if (!page.problem.empty()) {
            // outcome says why
        } else if (!done.insert(page.file).second) {
            outcome.reason = "named twice";
            outcome.error = false;
        } else if (!ReadPage(page.file, text)) {
            outcome.reason = "cannot be read";
        } else {
            outcome = Settle(text, wish, ScriptSrcFor(InsidePath(wish.path).generic_string(), scriptInside),
                             request.form, edit);
            const bool strips = outcome.change == PageChange::Mended || outcome.change == PageChange::Removed;
            if (strips && !projectPage.empty() && page.file == projectPage) {
                outcome = {wish.path, PageChange::Skipped, "the project's own page keeps the project's script", false};
            }
        }
        const bool writes = outcome.change != PageChange::Skipped && outcome.change != PageChange::Unchanged;
        if (write && writes) {
            try {
                // The new file takes the old one's permissions and owner, as an edit in place would.
                WriteFileInPlaceOf(page.file.string(), edit.text);
            } catch (const CannotCreateFile&) {
                outcome = {wish.path, PageChange::Skipped, "cannot be written", true};
            }
        }
        outcome.withMenus = wish.withMenus;
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

} // namespace

std::vector<SitePage> ListSitePages(const std::string& site) {
    const fs::path root = SiteRoot(site);
    std::vector<SitePage> pages;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!IsPageName(it->path().filename())) continue;
        std::error_code typeError;
        if (it->is_directory(typeError) && !it->is_symlink(typeError)) continue;
        SitePage page;
        page.path = it->path().lexically_relative(root).generic_string();
        const ResolvedPage resolved = ResolvePage(root, page.path);
        std::string text;
        if (!resolved.problem.empty()) {
            page.state.problem = resolved.problem;
            page.error = resolved.error;
        } else if (!ReadPage(resolved.file, text)) {
            page.state.problem = "cannot be read";
        } else {
            page.state = InspectPage(text);
        }
        pages.push_back(std::move(page));
    }
    std::sort(pages.begin(), pages.end(), [](const SitePage& a, const SitePage& b) { return a.path < b.path; });
    return pages;
}

std::string OutcomeText(const PageOutcome& outcome) {
    switch (outcome.change) {
    case PageChange::Added: return "added";
    case PageChange::Mended: return "mended";
    case PageChange::Removed: return "removed";
    case PageChange::Unchanged: return "unchanged";
    case PageChange::Skipped: break;
    }
    return "skipped: " + outcome.reason;
}

std::string ScriptSrcFor(const std::string& pagePath, const std::string& scriptFolder) {
    const fs::path pageFolder = InsidePath(pagePath).parent_path();
    const fs::path script = InsidePath(scriptFolder) / kScriptFileName;
    return UrlPath(
        script.lexically_normal().lexically_relative(pageFolder.empty() ? fs::path(".") : pageFolder).generic_string());
}

std::vector<PageOutcome> PlanPublish(const PublishRequest& request) { return BringPages(request, nullptr, false); }

bool WritesScript(const PublishRequest& request) {
    return std::any_of(request.pages.begin(), request.pages.end(), [](const PageWish& page) { return page.withMenus; });
}

std::optional<OtherScript> FindOtherScript(const PublishRequest& request, const std::string& script) {
    if (!WritesScript(request)) return std::nullopt;
    const fs::path root = SiteRoot(request.site);
    return OtherScriptAt(request, ScriptFolder(root, request, false) / kScriptFileName, script);
}

std::vector<PageOutcome> Publish(const PublishRequest& request, const std::string& script) {
    return BringPages(request, &script, true);
}

std::string PublishedScriptPath(const PublishRequest& request) {
    return (fs::path(request.site) / InsidePath(request.scriptFolder) / kScriptFileName).lexically_normal().string();
}

namespace {

// A message box cannot show a site of thousands of pages; each list names
// this many and counts the rest.
constexpr int kPagesNamed = 40;

// "Heading (N):" and the pages that `pick` chooses, one a line.
template <typename Pick>
void AppendPages(std::string& text, const std::vector<PageOutcome>& outcomes, const char* heading, Pick pick) {
    std::string lines;
    int count = 0;
    for (const PageOutcome& outcome : outcomes) {
        if (!pick(outcome)) continue;
        if (++count <= kPagesNamed) {
            lines += "\r\n    " + outcome.path;
            if (outcome.change == PageChange::Skipped) lines += ": " + outcome.reason;
        }
    }
    if (count > kPagesNamed) lines += "\r\n    ... and " + std::to_string(count - kPagesNamed) + " more";
    if (count > 0) text += "\r\n" + std::string(heading) + " (" + std::to_string(count) + "):" + lines;
}

auto Is(PageChange change) {
    return [change](const PageOutcome& outcome) { return outcome.change == change; };
}

auto KeptAsItWas(bool withMenus) {
    return [withMenus](const PageOutcome& outcome) {
        return outcome.change == PageChange::Unchanged && outcome.withMenus == withMenus;
    };
}

// What happens, or happened, to each page: the same headings before and after.
void AppendEveryPage(std::string& text, const std::vector<PageOutcome>& outcomes, bool done) {
    AppendPages(text, outcomes, done ? "Menus added to" : "Pages that get the menus", Is(PageChange::Added));
    AppendPages(text, outcomes, done ? "Menu code updated in" : "Pages whose menu code is updated",
                Is(PageChange::Mended));
    AppendPages(text, outcomes, done ? "Menus taken out of" : "Pages the menus are taken out of",
                Is(PageChange::Removed));
    AppendPages(text, outcomes,
                done ? "Pages that kept the menus as they were" : "Pages that keep the menus as they are",
                KeptAsItWas(true));
    AppendPages(text, outcomes, done ? "Pages left without the menus, as they were" : "Pages left without the menus",
                KeptAsItWas(false));
}

} // namespace

std::string PublishConfirmationText(const PublishRequest& request, const std::vector<PageOutcome>& plan) {
    const bool writesScript = WritesScript(request);
    std::string text = writesScript ? std::string(kScriptFileName) + " will be written as:\r\n    " +
                                          PublishedScriptPath(request) + "\r\n"
                                    : "No page is to show the menus, so " + std::string(kScriptFileName) +
                                          " is not written (one already in the site stays).\r\n";
    AppendEveryPage(text, plan, false);
    AppendPages(text, plan, "Pages left alone", Is(PageChange::Skipped));
    const bool changes = std::any_of(plan.begin(), plan.end(), [](const PageOutcome& o) {
        return o.change == PageChange::Added || o.change == PageChange::Mended || o.change == PageChange::Removed;
    });
    if (writesScript) return text + "\r\n\r\nPublish now?";
    return text + (changes ? "\r\n\r\nTake the menus out now?" : "\r\nNo page changes.\r\n\r\nGo on?");
}

std::string PublishReportText(const PublishRequest& request, const std::vector<PageOutcome>& outcomes,
                              const std::vector<PageOutcome>& leftAlone) {
    std::string text = WritesScript(request) ? std::string(kScriptFileName) + " was written as:\r\n    " +
                                                   PublishedScriptPath(request) + "\r\n"
                                             : std::string(kScriptFileName) + " was not written.\r\n";
    AppendEveryPage(text, outcomes, true);
    std::vector<PageOutcome> skipped = leftAlone;
    for (const PageOutcome& outcome : outcomes)
        if (outcome.change == PageChange::Skipped) skipped.push_back(outcome);
    AppendPages(text, skipped, "Pages left alone", Is(PageChange::Skipped));
    return text;
}

std::vector<PageOutcome> Unpublish(const std::string& site, const std::vector<std::string>& pages) {
    PublishRequest request;
    request.site = site;
    for (const std::string& page : pages) request.pages.push_back({page, false});
    return BringPages(request, nullptr, true);
}

} // namespace didad
