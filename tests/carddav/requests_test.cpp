// The request bodies read back with the program's own reader: the element
// each starts with, the properties it asks for, and the hrefs and token it
// carries, whatever bytes they hold.

#include "carddav/requests.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "carddav/xml_reader.h"

namespace {

using carddav::DavRequest;
using carddav::XmlEvent;

// The outline of a body: its root element, then every element below the
// root as {uri}local, with the text of the elements that hold text.
std::vector<std::string> outline(const DavRequest& request) {
  carddav::XmlReader reader(request.body, 1 << 20);
  std::vector<std::string> lines;
  std::string* open = nullptr;
  for (XmlEvent event = reader.next(); event != XmlEvent::end; event = reader.next()) {
    if (event == XmlEvent::error) return {"error: " + std::string(reader.error())};
    if (event == XmlEvent::startElement) {
      lines.push_back("{" + std::string(reader.name().namespaceUri) + "}" +
                      std::string(reader.name().localName));
      open = &lines.back();
    } else if (event == XmlEvent::text && open != nullptr &&
               reader.text().find_first_not_of(" \n") != std::string_view::npos) {
      *open += "=" + std::string(reader.text());
    } else if (event == XmlEvent::endElement) {
      open = nullptr;
    }
  }
  return lines;
}

TEST(Requests, eachAsksForWhatItsStepNeeds) {
  const std::vector<std::string> hrefs = {"/anna/kontakte/m1.vcf", "/anna/kontakte/M%C3%BC.vcf"};
  const struct {
    std::string_view what;
    DavRequest request;
    std::string_view method;
    int depth;
    std::vector<std::string> outline;
  } cases[] = {
      {"principal",
       carddav::currentUserPrincipalRequest(),
       "PROPFIND",
       0,
       {"{DAV:}propfind", "{DAV:}prop", "{DAV:}current-user-principal"}},
      {"home set",
       carddav::addressBookHomeSetRequest(),
       "PROPFIND",
       0,
       {"{DAV:}propfind", "{DAV:}prop", "{urn:ietf:params:xml:ns:carddav}addressbook-home-set"}},
      {"the address book itself",
       carddav::addressBooksRequest(0),
       "PROPFIND",
       0,
       {"{DAV:}propfind", "{DAV:}prop", "{DAV:}resourcetype", "{DAV:}displayname"}},
      {"address books in a home",
       carddav::addressBooksRequest(1),
       "PROPFIND",
       1,
       {"{DAV:}propfind", "{DAV:}prop", "{DAV:}resourcetype", "{DAV:}displayname"}},
      {"listing",
       carddav::etagListingRequest(),
       "PROPFIND",
       1,
       {"{DAV:}propfind", "{DAV:}prop", "{DAV:}getetag"}},
      {"first sync",
       carddav::syncCollectionRequest(""),
       "REPORT",
       0,
       {"{DAV:}sync-collection", "{DAV:}sync-token", "{DAV:}sync-level=1", "{DAV:}prop",
        "{DAV:}getetag"}},
      {"later sync",
       carddav::syncCollectionRequest("http://radicale.org/ns/sync/90c2"),
       "REPORT",
       0,
       {"{DAV:}sync-collection", "{DAV:}sync-token=http://radicale.org/ns/sync/90c2",
        "{DAV:}sync-level=1", "{DAV:}prop", "{DAV:}getetag"}},
      {"multiget",
       carddav::multigetRequest(hrefs),
       "REPORT",
       0,
       {"{urn:ietf:params:xml:ns:carddav}addressbook-multiget", "{DAV:}prop", "{DAV:}getetag",
        "{urn:ietf:params:xml:ns:carddav}address-data", "{DAV:}href=/anna/kontakte/m1.vcf",
        "{DAV:}href=/anna/kontakte/M%C3%BC.vcf"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.request.method, c.method) << c.what;
    EXPECT_EQ(c.request.depth, c.depth) << c.what;
    EXPECT_EQ(outline(c.request), c.outline) << c.what;
  }
}

TEST(Requests, hrefsAndTokensComeBackAsGivenWhateverTheyHold) {
  const std::vector<std::string> awkward = {"/b/a&b.vcf",
                                            "/b/<x>.vcf",
                                            "/b/]]>.vcf",
                                            "/b/&amp;.vcf",
                                            "/b/q\"'.vcf",
                                            "/b/M\xC3\xBCller \xC5\x81\xC3\xB3"
                                            "d\xC5\xBA.vcf",
                                            "/b/cr\r\nlf.vcf"};
  for (const std::string& value : awkward) {
    std::vector<std::string> one = {value};
    std::vector<std::string> multiget = outline(carddav::multigetRequest(one));
    ASSERT_EQ(multiget.size(), 5u) << value;
    EXPECT_EQ(multiget[4], "{DAV:}href=" + value);
    std::vector<std::string> sync = outline(carddav::syncCollectionRequest(value));
    ASSERT_EQ(sync.size(), 5u) << value;
    EXPECT_EQ(sync[1], "{DAV:}sync-token=" + value);
  }
}

}  // namespace
