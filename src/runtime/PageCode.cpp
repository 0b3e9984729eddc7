#include "runtime/PageCode.h"

#include <algorithm>
#include <array>
#include <vector>

#include "model/ScriptTexts.h"
#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"

namespace didad {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// `word` (lower case) at `at`, in any letter case.
bool WordAt(std::string_view page, std::size_t at, std::string_view word) {
    if (at > page.size() || page.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (LowerAscii(page[at + i]) != word[i]) return false;
    return true;
}

// "</name" followed by what ends a tag name: the end tag that closes a raw text element.
bool EndTagAt(std::string_view page, std::size_t at, std::string_view name) {
    if (!WordAt(page, at, "</") || !WordAt(page, at + 2, name)) return false;
    const std::size_t after = at + 2 + name.size();
    return after < page.size() && (IsSpace(page[after]) || page[after] == '/' || page[after] == '>');
}

struct Tag {
    std::string name; // lower case
    std::size_t begin = 0;
    std::size_t end = 0;          // just after '>'
    std::string src;              // the value of its SRC attribute, if any
    bool declaresCharset = false; // a meta tag naming the page's character set
    bool deferred = false;        // a DEFER or ASYNC attribute: runs after the page is parsed
};

// Reads the tag whose name starts at `at`. False when the page ends inside
// the tag, which a browser then drops.
bool ReadTag(std::string_view page, std::size_t at, Tag& tag) {
    const std::size_t n = page.size();
    std::size_t i = at;
    while (i < n && !IsSpace(page[i]) && page[i] != '/' && page[i] != '>') tag.name += LowerAscii(page[i++]);
    for (;;) {
        while (i < n && (IsSpace(page[i]) || page[i] == '/')) ++i;
        if (i >= n) return false;
        if (page[i] == '>') break;
        // An attribute name may start with '=', as browsers read it.
        std::string name(1, LowerAscii(page[i++]));
        while (i < n && !IsSpace(page[i]) && page[i] != '/' && page[i] != '>' && page[i] != '=')
            name += LowerAscii(page[i++]);
        if (tag.name == "meta" && name == "charset") tag.declaresCharset = true;
        if (name == "defer" || name == "async") tag.deferred = true;
        while (i < n && IsSpace(page[i])) ++i;
        if (i >= n || page[i] != '=') continue;
        ++i;
        while (i < n && IsSpace(page[i])) ++i;
        if (i >= n) return false;
        std::size_t valueBegin = i;
        std::size_t valueEnd = 0;
        if (page[i] == '"' || page[i] == '\'') {
            valueBegin = i + 1;
            valueEnd = page.find(page[i], valueBegin);
            if (valueEnd == npos) return false;
            i = valueEnd + 1;
        } else {
            while (i < n && !IsSpace(page[i]) && page[i] != '>') ++i;
            valueEnd = i;
        }
        const std::string_view value = page.substr(valueBegin, valueEnd - valueBegin);
        if (name == "src" && tag.src.empty()) tag.src = std::string(value);
        if (tag.name == "meta" && name == "http-equiv" && value.size() == 12 && WordAt(value, 0, "content-type"))
            tag.declaresCharset = true;
    }
    tag.end = i + 1;
    return true;
}

// Where the script element's text ends (at its "</script"), with the
// escaped states a browser keeps for "<!--" and "<script" inside scripts.
std::size_t ScriptTextEnd(std::string_view page, std::size_t from) {
    enum { Data, Escaped, DoubleEscaped } state = Data;
    int dashes = 0;
    for (std::size_t i = from; i < page.size(); ++i) {
        const char c = page[i];
        if (c == '-') {
            if (state != Data) ++dashes;
            continue;
        }
        if (c == '>' && state != Data && dashes >= 2) {
            state = Data;
        } else if (c == '<') {
            if (state != DoubleEscaped && EndTagAt(page, i, "script")) return i;
            if (state == Data && WordAt(page, i, "<!--")) {
                state = Escaped;
                dashes = 2;
                i += 3;
                continue;
            }
            const std::size_t after = i + 7;
            if (state == Escaped && WordAt(page, i, "<script") && after < page.size() &&
                (IsSpace(page[after]) || page[after] == '/' || page[after] == '>')) {
                state = DoubleEscaped;
                i += 6;
            } else if (state == DoubleEscaped && EndTagAt(page, i, "script")) {
                state = Escaped;
                i += 7;
            }
        }
        dashes = 0;
    }
    return page.size();
}

// Elements whose text holds no tags.
constexpr std::array<std::string_view, 8> kRawTextElements = {"style",  "title",   "textarea", "xmp",
                                                              "iframe", "noembed", "noframes", "noscript"};

struct Comment {
    std::size_t begin;
    std::size_t end;
};

struct Script {
    Tag tag;
    std::size_t textEnd;
};

// The tags and comments of a page, found as a browser's tokenizer finds them.
struct Tokens {
    std::vector<Tag> tags; // start tags only
    std::vector<Comment> comments;
    std::vector<Script> scripts;
};

Tokens Tokenize(std::string_view page) {
    Tokens tokens;
    const std::size_t n = page.size();
    std::size_t i = 0;
    while ((i = page.find('<', i)) != npos) {
        const std::size_t begin = i;
        if (WordAt(page, i, "<!--")) {
            std::size_t end = 0;
            if (WordAt(page, i + 4, ">")) {
                end = i + 5; // "<!-->" is a whole comment
            } else if (WordAt(page, i + 4, "->")) {
                end = i + 6;
            } else {
                // Ends at "-->" or "--!>"; one pass, however many comments a page has.
                std::size_t dashes = i + 4;
                end = n;
                while ((dashes = page.find("--", dashes)) != npos) {
                    if (WordAt(page, dashes + 2, ">")) {
                        end = dashes + 3;
                        break;
                    }
                    if (WordAt(page, dashes + 2, "!>")) {
                        end = dashes + 4;
                        break;
                    }
                    ++dashes;
                }
            }
            tokens.comments.push_back({begin, end});
            i = end;
        } else if (WordAt(page, i, "<!") || WordAt(page, i, "<?") ||
                   (WordAt(page, i, "</") && i + 2 < n && !IsLetter(page[i + 2]))) {
            // DOCTYPE, processing instructions and the like run to the next '>'.
            const std::size_t close = page.find('>', i + 2);
            i = close == npos ? n : close + 1;
        } else if (i + 1 < n && (IsLetter(page[i + 1]) || (page[i + 1] == '/' && i + 2 < n))) {
            const bool endTag = page[i + 1] == '/';
            Tag tag;
            tag.begin = begin;
            if (!ReadTag(page, i + (endTag ? 2 : 1), tag)) break;
            i = tag.end;
            if (endTag) continue;
            if (tag.name == "plaintext") break;
            if (tag.name == "script") {
                const std::size_t textEnd = ScriptTextEnd(page, i);
                tokens.scripts.push_back({tag, textEnd});
                i = textEnd;
            } else if (std::find(kRawTextElements.begin(), kRawTextElements.end(), tag.name) !=
                       kRawTextElements.end()) {
                std::size_t close = i;
                while ((close = page.find('<', close)) != npos && !EndTagAt(page, close, tag.name)) ++close;
                i = close == npos ? n : close;
            }
            tokens.tags.push_back(std::move(tag));
        } else {
            ++i; // a '<' that starts no tag is text
        }
    }
    return tokens;
}

// From the opening frame comment to the end of the closing one.
struct Block {
    std::size_t begin = npos;
    std::size_t end = npos;
    bool Present() const { return end != npos; }
    bool Holds(std::size_t at) const { return Present() && at >= begin && at < end; }
};

struct PageScan {
    std::string problem;     // the page cannot take the code
    std::string hardProblem; // the page can neither take nor give up the code
    std::size_t headTagEnd = npos;
    std::size_t headCodeAt = npos; // where new head code goes
    std::size_t bodyTagEnd = npos;
    Block head;
    Block body;
    bool headDeferred = false; // the head frame loads the script deferred
};

bool CommentIs(std::string_view page, const Comment& comment, const std::string& line) {
    return page.substr(comment.begin, comment.end - comment.begin) == line;
}

// True when the script loads the menus' script file or builds the menus.
bool IsMenuScript(std::string_view page, const Script& script) {
    std::string src = script.tag.src;
    while (!src.empty() && IsSpace(src.back())) src.pop_back();
    const std::string file = kScriptFileName;
    const std::string lowerFile = LowerAscii(file);
    if (src.size() >= file.size() && WordAt(src, src.size() - file.size(), lowerFile)) {
        const std::size_t before = src.size() - file.size();
        if (before == 0 || src[before - 1] == '/' || src[before - 1] == '\\' || IsSpace(src[before - 1])) return true;
    }
    const std::string_view text = page.substr(script.tag.end, script.textEnd - script.tag.end);
    return text.find("makeDidad(") != npos;
}

PageScan Scan(std::string_view page) {
    PageScan scan;
    if (page.size() >= 2 && ((page[0] == '\xFF' && page[1] == '\xFE') || (page[0] == '\xFE' && page[1] == '\xFF'))) {
        scan.hardProblem = "written in UTF-16, which is not handled";
        return scan;
    }
    if (page.find('\0') != npos) {
        scan.hardProblem = "not a text file";
        return scan;
    }
    const Tokens tokens = Tokenize(page);
    const std::vector<std::string> headLines = HeadCodeLines(kScriptFileName);
    const std::vector<std::string> bodyLines = BodyCodeLines();
    struct Frame {
        Block* block;
        const std::string* open;
        const std::string* close;
    };
    const std::array<Frame, 2> frames = {
        Frame{&scan.head, &headLines.front(), &headLines.back()},
        Frame{&scan.body, &bodyLines.front(), &bodyLines.back()},
    };
    for (const Comment& comment : tokens.comments) {
        for (const Frame& frame : frames) {
            if (CommentIs(page, comment, *frame.open)) {
                if (frame.block->begin != npos) {
                    scan.hardProblem = "the menus' code is in it twice";
                    return scan;
                }
                frame.block->begin = comment.begin;
            } else if (CommentIs(page, comment, *frame.close)) {
                if (frame.block->begin == npos || frame.block->end != npos) {
                    scan.hardProblem = "the frame of the menus' code is broken";
                    return scan;
                }
                frame.block->end = comment.end;
            }
        }
    }
    for (const Frame& frame : frames) {
        if (frame.block->begin != npos && frame.block->end == npos) {
            scan.hardProblem = "the frame of the menus' code is broken";
            return scan;
        }
    }
    // Taking out or mending one frame would cut through the other and write
    // part of the page twice.
    if (scan.head.Present() && scan.body.Present()) {
        const bool headFirst = scan.head.begin < scan.body.begin;
        const Block& first = headFirst ? scan.head : scan.body;
        const Block& second = headFirst ? scan.body : scan.head;
        if (second.begin < first.end) {
            scan.hardProblem = second.end <= first.end ? "one frame of the menus' code lies inside the other"
                                                       : "the frames of the menus' code overlap";
            return scan;
        }
    }
    for (const Tag& tag : tokens.tags) {
        if ((tag.name == "head" || tag.name == "body") && (scan.head.Holds(tag.begin) || scan.body.Holds(tag.begin))) {
            // Taking the frame out would take the page's own tag with it.
            scan.hardProblem = "a frame of the menus' code holds the page's <" + tag.name + "> tag";
            return scan;
        }
    }
    for (const Script& script : tokens.scripts)
        if (scan.head.Holds(script.tag.begin) && script.tag.deferred) scan.headDeferred = true;
    for (const Tag& tag : tokens.tags) {
        if (tag.name == "frameset") scan.problem = "a frameset page";
        if (tag.name == "head" && scan.headTagEnd == npos) scan.headTagEnd = tag.end;
        if (tag.name == "body" && scan.bodyTagEnd == npos) scan.bodyTagEnd = tag.end;
    }
    if (!scan.problem.empty()) return scan;
    scan.headCodeAt = scan.headTagEnd;
    for (const Tag& tag : tokens.tags) {
        // Browsers look for the character set in the first 1024 bytes only:
        // the code goes after its declaration, so that it never pushes it out.
        if (tag.declaresCharset && tag.begin >= scan.headTagEnd && tag.begin < scan.bodyTagEnd &&
            !scan.head.Holds(tag.begin)) {
            scan.headCodeAt = tag.end;
            break;
        }
    }
    if (scan.headTagEnd == npos) {
        scan.problem = "no <head> tag";
    } else if (scan.bodyTagEnd == npos) {
        scan.problem = "no <body> tag";
    } else if (scan.bodyTagEnd < scan.headTagEnd) {
        scan.problem = "its <body> tag comes before its <head> tag";
    } else {
        for (const Script& script : tokens.scripts) {
            if (!scan.head.Holds(script.tag.begin) && !scan.body.Holds(script.tag.begin) &&
                IsMenuScript(page, script)) {
                scan.problem = "it loads the menus outside the framed lines; edit it by hand";
                break;
            }
        }
    }
    return scan;
}

// The page's own line break: its first one, or CR LF in a page of one line.
std::string LineBreakOf(std::string_view page) {
    const std::size_t at = page.find_first_of("\r\n");
    if (at == npos) return "\r\n";
    if (page[at] == '\r') return at + 1 < page.size() && page[at + 1] == '\n' ? "\r\n" : "\r";
    return "\n";
}

std::string Joined(const std::vector<std::string>& lines, const std::string& lineBreak) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) text += lineBreak;
        text += line;
    }
    return text;
}

// A block with the line break before it, which adding put there.
Block WithLineBreakBefore(std::string_view page, Block block) {
    if (block.begin >= 2 && page.substr(block.begin - 2, 2) == "\r\n") {
        block.begin -= 2;
    } else if (block.begin >= 1 && (page[block.begin - 1] == '\n' || page[block.begin - 1] == '\r')) {
        block.begin -= 1;
    }
    return block;
}

struct Replacement {
    Block range;
    std::string text;
};

std::string Apply(std::string_view page, std::vector<Replacement> replacements) {
    std::sort(replacements.begin(), replacements.end(),
              [](const Replacement& a, const Replacement& b) { return a.range.begin < b.range.begin; });
    std::string out;
    out.reserve(page.size() + 256);
    std::size_t at = 0;
    for (const Replacement& r : replacements) {
        out.append(page.substr(at, r.range.begin - at));
        out += r.text;
        at = r.range.end;
    }
    out.append(page.substr(at));
    return out;
}

PageCodeEdit Finish(std::string_view page, const std::vector<Replacement>& replacements) {
    PageCodeEdit edit;
    edit.text = Apply(page, replacements);
    edit.changed = edit.text != page;
    return edit;
}

bool OneLineCode(const PageScan& scan) { return scan.head.Present() && scan.headDeferred && !scan.body.Present(); }

} // namespace

PageCodeState InspectPage(std::string_view page) {
    const PageScan scan = Scan(page);
    PageCodeState state;
    state.problem = scan.hardProblem.empty() ? scan.problem : scan.hardProblem;
    state.headCode = scan.head.Present();
    state.bodyCode = scan.body.Present();
    state.oneLine = OneLineCode(scan);
    return state;
}

PageCodeEdit WithMenuCode(std::string_view page, const std::string& src, IncludeForm form) {
    const PageScan scan = Scan(page);
    const std::string& problem = scan.hardProblem.empty() ? scan.problem : scan.hardProblem;
    if (!problem.empty()) return {problem, false, {}};
    const bool hasCode = scan.head.Present() || scan.body.Present();
    const bool oneLine = form == IncludeForm::OneLine && (hasCode ? OneLineCode(scan) : true);
    const std::string lineBreak = LineBreakOf(page);
    const std::string headCode = Joined(oneLine ? OneLineHeadCodeLines(src) : HeadCodeLines(src), lineBreak);
    std::vector<Replacement> replacements;
    // Code that is there is mended where it stands; missing code goes right
    // after its tag, on a line of its own.
    if (scan.head.Present()) {
        replacements.push_back({scan.head, headCode});
    } else {
        replacements.push_back({{scan.headCodeAt, scan.headCodeAt}, lineBreak + headCode});
    }
    if (oneLine) return Finish(page, replacements);
    const std::string bodyCode = Joined(BodyCodeLines(), lineBreak);
    if (scan.body.Present()) {
        replacements.push_back({scan.body, bodyCode});
    } else {
        replacements.push_back({{scan.bodyTagEnd, scan.bodyTagEnd}, lineBreak + bodyCode});
    }
    return Finish(page, replacements);
}

PageCodeEdit WithoutMenuCode(std::string_view page) {
    const PageScan scan = Scan(page);
    if (!scan.hardProblem.empty()) return {scan.hardProblem, false, {}};
    std::vector<Replacement> replacements;
    for (const Block& block : {scan.head, scan.body})
        if (block.Present()) replacements.push_back({WithLineBreakBefore(page, block), {}});
    return Finish(page, replacements);
}

} // namespace didad
