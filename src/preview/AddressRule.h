#pragma once
// Which web addresses the preview's page may reach. A page the user only
// previews must not talk to the services of this machine or of its local
// network (a router's page, a database bound to 127.0.0.1, a printer), which
// trust whoever reaches them from there.
#include <string_view>

namespace didad {

// True when `host` (a URL's host, as the engine writes it: lower case, IPv6
// without brackets) names this machine or an address of a private or
// link-local network: a loopback, private, shared, link-local, unspecified
// or multicast IPv4 or IPv6 address, "localhost" and its sub-names, names
// that only a local network resolves (".local", ".lan", ".internal",
// ".home.arpa") and names of a single label, which the local resolver
// completes. An empty host counts as local.
bool IsLocalNetworkHost(std::string_view host);

} // namespace didad
