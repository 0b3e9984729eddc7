#pragma once
// Publishing to the user's own site: the final script goes into the site
// folder and the menus' code into (or out of) the pages the user picks. The
// one place where the program writes outside the project folder, and it never
// writes outside the site folder the user chose.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Errors.h"
#include "runtime/PageCode.h"
#include "workflow/PublishedScripts.h"

namespace didad {

// A page larger than this is left alone.
inline constexpr std::uintmax_t kMaxPageBytes = std::uintmax_t{16} * 1024 * 1024;

// A site folder or script folder that cannot be used; nothing was written.
class PublishError : public PlatformError {
public:
    using PlatformError::PlatformError;
};

// The script folder holds a script this project did not publish there last,
// and the request did not say to replace it; nothing was written.
class OtherScriptError : public PublishError {
public:
    using PublishError::PublishError;
};

struct SitePage {
    std::string path;    // inside the site folder, '/' between folders
    PageCodeState state; // state.problem: why the page is left alone
    bool error = true;   // false when the problem is no fault (a link to a page of the site)
};

// Every .htm and .html page under the site folder, in the order of their
// paths. Folder links are not followed: those inside the site lead to pages
// listed under their own path, the others leave the site.
std::vector<SitePage> ListSitePages(const std::string& site);

enum class PageChange { Added, Mended, Removed, Unchanged, Skipped };

struct PageWish {
    std::string path; // inside the site folder
    bool withMenus = false;
};

struct PageOutcome {
    std::string path;
    PageChange change = PageChange::Unchanged;
    std::string reason;     // why a page was skipped
    bool error = false;     // skipped for a fault of the page or the disk
    bool withMenus = false; // what the page was to be
};

// "added", "mended", "removed", "unchanged" or "skipped: REASON".
std::string OutcomeText(const PageOutcome& outcome);

struct PublishRequest {
    std::string site;
    std::string scriptFolder; // inside the site folder; empty for its root
    std::vector<PageWish> pages;
    // The project's own page: its code is neither mended nor taken out, so
    // the preview keeps loading the project's script.
    std::string projectPage;
    // Never the script folder: the editor keeps saving its working script there.
    std::string projectFolder;
    // New pages get the one line; `Classic` puts the pair on every page.
    IncludeForm form = IncludeForm::OneLine;
    // Replace a script in the script folder that this project did not publish last.
    bool replaceOtherScript = false;
    // The record of what was published (kPublishRecordFileName in the
    // program's data folder); empty: only an identical script counts as this
    // project's own.
    std::string recordFile;
};

// The path from the page's folder to the script, as the page's SRC.
std::string ScriptSrcFor(const std::string& pagePath, const std::string& scriptFolder);

// What publishing would do to each page, in the order asked; nothing is written.
std::vector<PageOutcome> PlanPublish(const PublishRequest& request);

// True when some page is to show the menus: only then is the script written.
bool WritesScript(const PublishRequest& request);

// The script in the script folder when it is neither `script` nor the one
// this project published there last; nullopt otherwise.
std::optional<OtherScript> FindOtherScript(const PublishRequest& request, const std::string& script);

// Writes `script` (a final script) into the script folder when a page is to
// show the menus, then brings every page to its wish; a page that cannot be
// read or written is skipped and the others are still done. Throws
// PublishError for a site or script folder that cannot be used,
// OtherScriptError for another script in the way (see replaceOtherScript)
// and CannotCreateFile when the script cannot be written; no page is touched
// then.
std::vector<PageOutcome> Publish(const PublishRequest& request, const std::string& script);

// Where Publish writes the script.
std::string PublishedScriptPath(const PublishRequest& request);

// The question asked before publishing: where the script goes (or that it
// is not written, when no page is to show the menus) and what happens to
// each page. CR LF between lines.
std::string PublishConfirmationText(const PublishRequest& request, const std::vector<PageOutcome>& plan);
// What publishing did, with a reason for every page left alone (`leftAlone`:
// the pages that could not be offered, with their problems).
std::string PublishReportText(const PublishRequest& request, const std::vector<PageOutcome>& outcomes,
                              const std::vector<PageOutcome>& leftAlone);

// Takes the code out of the pages; the script stays where it is.
std::vector<PageOutcome> Unpublish(const std::string& site, const std::vector<std::string>& pages);

} // namespace didad
