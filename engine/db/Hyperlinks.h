#pragma once
#include <string>
#include <vector>

#include "engine/db/ErrorStatus.h"
#include "engine/db/XData.h"

namespace cad {

class DbObject;

// An entity hyperlink as drawings store it: extended data under the application "PE_URL".
struct Hyperlink {
    std::string url;
    std::string description;
    std::string subLocation;
    int flags = 0;  // 1: convert drawing links to DWF

    friend bool operator==(const Hyperlink&, const Hyperlink&) = default;
};

constexpr const char* kHyperlinkApp = "PE_URL";

// The hyperlinks in a PE_URL chain: each string at brace depth 0 starts a link; the first and
// second strings inside its braces are description and sub-location, a 1071 in the inner braces
// the flags. The short form (a bare URL) is read too.
std::vector<Hyperlink> hyperlinksFromXData(const XDataChain& chain);
// The PE_URL chain for `links` (the 1001 item first). A link with no description, sub-location
// or flags is written in the short form.
XDataChain hyperlinksToXData(const std::vector<Hyperlink>& links);

std::vector<Hyperlink> getHyperlinks(const DbObject& object);
// Replaces the object's hyperlinks (an empty list removes them), registering PE_URL when needed.
ErrorStatus setHyperlinks(DbObject& object, const std::vector<Hyperlink>& links);

}  // namespace cad
