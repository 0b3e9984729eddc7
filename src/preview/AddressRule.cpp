#include "preview/AddressRule.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>

#include "model/ValueHelpers.h"

namespace didad {

namespace {

using Ipv4 = std::array<std::uint8_t, 4>;
using Ipv6 = std::array<std::uint8_t, 16>;

// Four decimal parts; the engine writes every IPv4 address so.
std::optional<Ipv4> ParseIpv4(std::string_view text) {
    Ipv4 address{};
    std::size_t part = 0;
    std::size_t at = 0;
    while (part < 4) {
        std::size_t end = at;
        int value = 0;
        while (end < text.size() && end - at < 4 && std::isdigit(static_cast<unsigned char>(text[end])))
            value = value * 10 + (text[end++] - '0');
        if (end == at || value > 255) return std::nullopt;
        address[part++] = static_cast<std::uint8_t>(value);
        if (part < 4 && (end >= text.size() || text[end] != '.')) return std::nullopt;
        at = end + 1;
        if (part == 4 && end != text.size()) return std::nullopt;
    }
    return address;
}

// Groups of hexadecimal digits with one "::" at most and an IPv4 address
// at the end allowed.
std::optional<Ipv6> ParseIpv6(std::string_view text) {
    Ipv6 address{};
    std::array<std::uint16_t, 8> head{}, tail{};
    std::size_t heads = 0, tails = 0;
    bool gap = false;
    std::size_t at = 0;
    if (text.substr(0, 2) == "::") {
        gap = true;
        at = 2;
    }
    while (at < text.size()) {
        auto& groups = gap ? tail : head;
        std::size_t& count = gap ? tails : heads;
        if (heads + tails >= 8) return std::nullopt;
        const std::size_t colon = text.find(':', at);
        const std::string_view group = text.substr(at, colon == std::string_view::npos ? text.npos : colon - at);
        if (group.find('.') != std::string_view::npos) {
            const auto v4 = ParseIpv4(group);
            if (!v4 || colon != std::string_view::npos || heads + tails > 6) return std::nullopt;
            groups[count++] = static_cast<std::uint16_t>((*v4)[0] << 8 | (*v4)[1]);
            groups[count++] = static_cast<std::uint16_t>((*v4)[2] << 8 | (*v4)[3]);
            break;
        }
        if (group.empty() || group.size() > 4) return std::nullopt;
        unsigned value = 0;
        for (const char c : group) {
            const int digit = HexDigitValue(c);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        groups[count++] = static_cast<std::uint16_t>(value);
        if (colon == std::string_view::npos) break;
        at = colon + 1;
        if (at < text.size() && text[at] == ':') {
            if (gap) return std::nullopt;
            gap = true;
            ++at;
        } else if (at == text.size()) {
            return std::nullopt;
        }
    }
    if (gap ? heads + tails > 7 : heads != 8) return std::nullopt;
    std::array<std::uint16_t, 8> groups{};
    std::copy_n(head.begin(), heads, groups.begin());
    std::copy_n(tail.begin(), tails, groups.begin() + static_cast<std::ptrdiff_t>(8 - tails));
    for (std::size_t i = 0; i < 8; ++i) {
        address[2 * i] = static_cast<std::uint8_t>(groups[i] >> 8);
        address[2 * i + 1] = static_cast<std::uint8_t>(groups[i] & 0xFF);
    }
    return address;
}

bool IsLocalIpv4(const Ipv4& a) {
    return a[0] == 0 ||                               // "this network"; 0.0.0.0 reaches this machine
           a[0] == 10 ||                              // private
           a[0] == 127 ||                             // loopback
           (a[0] == 100 && (a[1] & 0xC0) == 64) ||    // shared, behind a carrier's NAT
           (a[0] == 169 && a[1] == 254) ||            // link-local
           (a[0] == 172 && (a[1] & 0xF0) == 16) ||    // private
           (a[0] == 192 && a[1] == 168) ||            // private
           (a[0] == 192 && a[1] == 0 && a[2] == 0) || // protocol assignments
           (a[0] == 198 && (a[1] & 0xFE) == 18) ||    // benchmarking
           a[0] >= 224;                               // multicast, reserved, broadcast
}

bool IsLocalIpv6(const Ipv6& a) {
    const bool zeroHead = std::all_of(a.begin(), a.begin() + 10, [](std::uint8_t b) { return b == 0; });
    const Ipv4 last{a[12], a[13], a[14], a[15]};
    if (zeroHead && a[10] == 0 && a[11] == 0) {
        // ::, ::1 and the old IPv4-compatible form.
        return (last[0] == 0 && last[1] == 0 && last[2] == 0) || IsLocalIpv4(last);
    }
    if (zeroHead && a[10] == 0xFF && a[11] == 0xFF) return IsLocalIpv4(last);                   // IPv4-mapped
    if (a[0] == 0x00 && a[1] == 0x64 && a[2] == 0xFF && a[3] == 0x9B) return IsLocalIpv4(last); // NAT64
    return (a[0] & 0xFE) == 0xFC ||                   // unique local, fc00::/7
           (a[0] == 0xFE && (a[1] & 0xC0) == 0x80) || // link-local, fe80::/10
           (a[0] == 0xFE && (a[1] & 0xC0) == 0xC0) || // the old site-local, fec0::/10
           a[0] == 0xFF;                              // multicast
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsLocalName(std::string_view name) {
    // A name of one label is completed by the local resolver's search list.
    if (name.find('.') == std::string_view::npos) return true;
    for (const std::string_view local : {".localhost", ".local", ".lan", ".internal", ".home.arpa", ".localdomain"})
        if (EndsWith(name, local)) return true;
    return false;
}

} // namespace

bool IsLocalNetworkHost(std::string_view host) {
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    if (host.empty()) return true;
    // A zone names an interface of this machine: link-local.
    if (host.find('%') != std::string_view::npos) return true;
    if (host.find(':') != std::string_view::npos) {
        const auto v6 = ParseIpv6(host);
        return !v6 || IsLocalIpv6(*v6);
    }
    std::string name = LowerAscii(host);
    if (!name.empty() && name.back() == '.') name.pop_back();
    if (name.empty()) return true;
    if (const auto v4 = ParseIpv4(name)) return IsLocalIpv4(*v4);
    // A last label of digits is an address in a form the engine would have
    // rewritten; nothing public looks so.
    const std::size_t lastDot = name.rfind('.');
    const std::string_view last = std::string_view(name).substr(lastDot == std::string::npos ? 0 : lastDot + 1);
    if (!last.empty() &&
        std::all_of(last.begin(), last.end(),
                    [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == 'x'; }) &&
        std::isdigit(static_cast<unsigned char>(last.front())))
        return true;
    return IsLocalName(name);
}

} // namespace didad
