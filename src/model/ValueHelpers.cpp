#include "model/ValueHelpers.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "model/Errors.h"

namespace didad {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// `count` characters of `text` from `pos`, clipped to the text like a
// substring of a short string would be.
std::string Piece(const std::string& text, std::size_t pos, std::size_t count) {
    if (pos >= text.size()) return {};
    return text.substr(pos, count);
}

} // namespace

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool ParseDecimal(std::string_view text, int& value) {
    if (text.empty()) return false;
    std::size_t start = 0;
    if (text[0] == '+') {
        // from_chars takes no plus sign; a sign alone or "+-1" is still invalid.
        start = 1;
        if (text.size() == 1 || text[1] == '-') return false;
    }
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    int parsed = 0;
    auto [end, ec] = std::from_chars(first, last, parsed, 10);
    if (ec != std::errc() || end != last) return false;
    value = parsed;
    return true;
}

std::string ColorToHtml(Color colour) {
    std::string out = "#";
    for (std::uint8_t byte : {colour.red, colour.green, colour.blue}) {
        out += kHexDigits[byte >> 4];
        out += kHexDigits[byte & 0x0F];
    }
    return out;
}

Color HtmlToColor(const std::string& text) {
    // The digits are regrouped blue-green-red before conversion, and that
    // regrouped text is what the conversion error names.
    std::string rearranged = "$";
    rearranged += Piece(text, 5, 2);
    rearranged += Piece(text, 3, 2);
    rearranged += Piece(text, 1, 2);
    if (!IsHtmlColor(text)) throw ConversionError(rearranged);
    auto byteAt = [&](std::size_t pos) {
        return static_cast<std::uint8_t>(HexDigitValue(text[pos]) * 16 + HexDigitValue(text[pos + 1]));
    };
    return Color{byteAt(1), byteAt(3), byteAt(5)};
}

bool IsHtmlColor(std::string_view text) {
    return text.size() == 7 && text[0] == '#' &&
           std::all_of(text.begin() + 1, text.end(), [](char c) { return HexDigitValue(c) >= 0; });
}

bool IsMenuColor(std::string_view text) { return text.empty() || text == "transparent" || IsHtmlColor(text); }

int ParseIntOr(std::string_view text, int fallback) {
    int value = 0;
    return ParseDecimal(text, value) ? value : fallback;
}

int ClampInt(int value, int low, int high) {
    if (value < low) value = low;
    if (value > high) value = high;
    return value;
}

int ArrowStep(int shown, int delta, int low, int high) {
    const long long next = static_cast<long long>(shown) + delta;
    const int limited = static_cast<int>(std::clamp<long long>(next, low, high));
    if (delta > 0 && limited < shown) return shown;
    if (delta < 0 && limited > shown) return shown;
    return limited;
}

std::string CleanSettingText(const std::string& text, const std::string& fallback) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\\':
        case '"':
        case '\'':
        case '/':
        case ':': break;
        case '\n':
            // A lone LF is a line break too, and written between quotes it
            // would end the script's string; the LF of a CR LF is covered.
            if (i == 0 || text[i - 1] != '\r') out += '\\';
            out += c;
            break;
        case '\r':
            out += '\\';
            out += c;
            break;
        default: out += c;
        }
    }
    return out.empty() ? fallback : out;
}

std::string StripTrailingBackslash(const std::string& path) {
    if (path.size() < 2 || !IsPathSeparator(path.back())) return path;
    if (path[path.size() - 2] == ':') return path; // a drive root such as "C:\"
    return path.substr(0, path.size() - 1);
}

bool PathExists(const std::string& path) {
    const std::string stripped = StripTrailingBackslash(path);
    if (stripped.empty()) return false;
    std::error_code ec;
    // symlink_status: a dangling link is still a name that exists in the folder.
    const auto status = std::filesystem::symlink_status(stripped, ec);
    return !ec && std::filesystem::exists(status);
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = LowerAscii(c);
    return lower;
}

char PathSeparator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (IsPathSeparator(folder.back())) return folder + name;
    return folder + PathSeparator() + name;
}

} // namespace didad
