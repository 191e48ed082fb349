#include "carddav/requests.h"

namespace carddav {

namespace {

constexpr std::string_view declaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

// Text as XML content. A CR is written as a reference, since a reader
// turns a CR as it stands into LF.
void appendEscaped(std::string_view text, std::string& out) {
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        out += c;
    }
  }
}

DavRequest propfind(int depth, std::string_view properties) {
  std::string body(declaration);
  body += "<d:propfind xmlns:d=\"DAV:\" xmlns:card=\"urn:ietf:params:xml:ns:carddav\">\n";
  body += "  <d:prop>";
  body += properties;
  body += "</d:prop>\n</d:propfind>\n";
  return {"PROPFIND", depth, std::move(body)};
}

}  // namespace

DavRequest currentUserPrincipalRequest() { return propfind(0, "<d:current-user-principal/>"); }

DavRequest addressBookHomeSetRequest() { return propfind(0, "<card:addressbook-home-set/>"); }

DavRequest addressBooksRequest(int depth) {
  return propfind(depth, "<d:resourcetype/><d:displayname/>");
}

DavRequest etagListingRequest() { return propfind(1, "<d:getetag/>"); }

DavRequest syncCollectionRequest(std::string_view token) {
  std::string body(declaration);
  body += "<d:sync-collection xmlns:d=\"DAV:\">\n  <d:sync-token>";
  appendEscaped(token, body);
  body += "</d:sync-token>\n  <d:sync-level>1</d:sync-level>\n";
  body += "  <d:prop><d:getetag/></d:prop>\n</d:sync-collection>\n";
  return {"REPORT", 0, std::move(body)};
}

DavRequest multigetRequest(std::span<const std::string> hrefs) {
  std::string body(declaration);
  body += "<card:addressbook-multiget xmlns:d=\"DAV:\" ";
  body += "xmlns:card=\"urn:ietf:params:xml:ns:carddav\">\n";
  body += "  <d:prop><d:getetag/><card:address-data/></d:prop>\n";
  for (const std::string& href : hrefs) {
    body += "  <d:href>";
    appendEscaped(href, body);
    body += "</d:href>\n";
  }
  body += "</card:addressbook-multiget>\n";
  return {"REPORT", 0, std::move(body)};
}

}  // namespace carddav
