// Multistatus answers as servers send them: captured from Radicale and
// Xandikos on loopback (tests/data/carddav), and written in the shapes of
// Nextcloud and of other servers phones sync with. Each resource is compared
// as one line: href, then what the server said of it.

#include "carddav/multistatus.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/fakes/temp_dir.h"

namespace {

using carddav::readMultistatus;
using carddav::ResourceStatus;

constexpr std::size_t plenty = 1 << 20;

std::string answerFile(std::string_view name) {
  return testing_support::readBytes(std::string(MORVI_TEST_DATA_DIR) + "/carddav/" +
                                    std::string(name));
}

std::string describe(const ResourceStatus& resource) {
  std::string line = resource.href;
  if (resource.status) line += " status=" + std::to_string(*resource.status);
  if (resource.isGone()) line += " gone";
  if (resource.etag) line += " etag=" + *resource.etag;
  if (resource.isAddressBook) line += " addressbook";
  if (resource.displayName) line += " name=" + *resource.displayName;
  if (resource.currentUserPrincipal) line += " principal=" + *resource.currentUserPrincipal;
  for (const std::string& home : resource.addressBookHomes) line += " home=" + home;
  if (resource.addressData) line += " card";
  return line;
}

struct Case {
  std::string_view what;
  std::string body;
  std::vector<std::string> expected;
  std::string_view syncToken = {};
};

void checkAll(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    carddav::MultistatusReading reading = readMultistatus(c.body, plenty);
    EXPECT_EQ(reading.error, "") << c.what;
    std::vector<std::string> described;
    for (const ResourceStatus& resource : reading.multistatus.resources) {
      described.push_back(describe(resource));
    }
    EXPECT_EQ(described, c.expected) << c.what;
    EXPECT_EQ(reading.multistatus.syncToken.value_or(""), c.syncToken) << c.what;
  }
}

TEST(Multistatus, answersOfRadicaleAndXandikos) {
  checkAll({
      {"Radicale: the principal's collections",
       answerFile("radicale-collections.xml"),
       {"/anna/", "/anna/kontakte/ addressbook name=Kontakte der Familie"}},
      {"Radicale: the home set", answerFile("radicale-home-set.xml"), {"/anna/ home=/anna/"}},
      {"Radicale: a multiget with a card that is gone",
       answerFile("radicale-multiget.xml"),
       {"/anna/kontakte/gibtsnicht.vcf status=404 gone",
        "/anna/kontakte/m1.vcf "
        "etag=\"c43053b69f1334b46820192f92cc10fe210b8538fde3421e5cb44a26960ae239\" card",
        "/anna/kontakte/m3.vcf "
        "etag=\"e20148ccd18e0d4390e8c6b34b8aa111a6ae515de1ca75413aca92b9c95f861f\" card",
        "/anna/kontakte/m2.vcf "
        "etag=\"cc18b46d97b972dc7a57ae3516227bb00948cc480b7438d2a6814e0daf7f9e09\" card"}},
      {"Radicale: a change and a deletion since the token",
       answerFile("radicale-sync-changes.xml"),
       {"/anna/kontakte/m3.vcf status=404 gone",
        "/anna/kontakte/m1.vcf "
        "etag=\"81ffc3d9c6ae13f8f36ac8d44b576f52a6136d20dd226be8f746d25bc3a33bc9\""},
       "http://radicale.org/ns/sync/"
       "a7f9985c20e70f1a73a0246842c02ee873772d17a19e19f7cb017a8fe4034c54"},
      {"Xandikos: the principal", answerFile("xandikos-principal.xml"), {"/ principal=/user/"}},
      {"Xandikos: the home set",
       answerFile("xandikos-home-set.xml"),
       {"/user/ home=/user/contacts/"}},
      {"Xandikos: the collections of the home, status before the properties",
       answerFile("xandikos-collections.xml"),
       {"/user/contacts/ name=contacts",
        "/user/contacts/addressbook/ addressbook name=addressbook"}},
      {"Xandikos: a multiget",
       answerFile("xandikos-multiget.xml"),
       {"/user/contacts/addressbook/m1.vcf etag=\"288d0fd81ec1b69f460aa73810ab1417aaa9e516\" card",
        "/user/contacts/addressbook/m2.vcf etag=\"104f53274d46845d2ff4d09003b0f3b7e4e8e807\" card",
        "/user/contacts/addressbook/m3.vcf etag=\"8ef122da2f04570fc22d8232fa225599764c8d53\" card",
        "/user/contacts/addressbook/gibtsnicht.vcf status=404 gone"}},
      {"Xandikos: the token after the responses",
       answerFile("xandikos-sync-changes.xml"),
       {"/user/contacts/addressbook/m1.vcf etag=\"2f8d6d331dec1cc9dfdf0b4f2f7085ef27d94e75\"",
        "/user/contacts/addressbook/m3.vcf status=404 gone"},
       "a54722b9121ff08df8da422a5ee2f2103a3af0a8"},
  });
}

TEST(Multistatus, answersInTheShapesOfOtherServers) {
  checkAll({
      {"Nextcloud: pretty-printed, five prefixes, a missing property in a 404 propstat",
       R"(<?xml version="1.0"?>
<d:multistatus xmlns:d="DAV:" xmlns:s="http://sabredav.org/ns" xmlns:card="urn:ietf:params:xml:ns:carddav" xmlns:oc="http://owncloud.org/ns" xmlns:nc="http://nextcloud.org/ns">
 <d:response>
  <d:href>/remote.php/dav/addressbooks/users/anna/contacts/</d:href>
  <d:propstat>
   <d:prop>
    <d:resourcetype><d:collection/><card:addressbook/></d:resourcetype>
    <d:displayname>Kontakte</d:displayname>
   </d:prop>
   <d:status>HTTP/1.1 200 OK</d:status>
  </d:propstat>
  <d:propstat>
   <d:prop><d:getetag/><oc:invite/></d:prop>
   <d:status>HTTP/1.1 404 Not Found</d:status>
  </d:propstat>
 </d:response>
 <d:response>
  <d:href>/remote.php/dav/addressbooks/users/anna/z-app-generated--contactsinteraction--recent/</d:href>
  <d:propstat>
   <d:prop>
    <d:resourcetype><d:collection/><card:addressbook/></d:resourcetype>
    <d:displayname>K&#xFC;rzlich kontaktiert</d:displayname>
    <nc:read-only>1</nc:read-only>
   </d:prop>
   <d:status>HTTP/1.1 200 OK</d:status>
  </d:propstat>
 </d:response>
</d:multistatus>
)",
       {"/remote.php/dav/addressbooks/users/anna/contacts/ addressbook name=Kontakte",
        "/remote.php/dav/addressbooks/users/anna/z-app-generated--contactsinteraction--recent/ "
        "addressbook name=K\xC3\xBCrzlich kontaktiert"}},
      {"Nextcloud: a sync answer with a deleted card",
       R"(<?xml version="1.0"?>
<d:multistatus xmlns:d="DAV:" xmlns:s="http://sabredav.org/ns" xmlns:card="urn:ietf:params:xml:ns:carddav">
 <d:response>
  <d:href>/remote.php/dav/addressbooks/users/anna/contacts/6F1A-22.vcf</d:href>
  <d:propstat><d:prop><d:getetag>&quot;9b2e7c1f&quot;</d:getetag></d:prop>
   <d:status>HTTP/1.1 200 OK</d:status></d:propstat>
 </d:response>
 <d:response>
  <d:href>/remote.php/dav/addressbooks/users/anna/contacts/Anna%20M%C3%BCller.vcf</d:href>
  <d:status>HTTP/1.1 404 Not Found</d:status>
 </d:response>
 <d:sync-token>http://sabre.io/ns/sync/118</d:sync-token>
</d:multistatus>)",
       {"/remote.php/dav/addressbooks/users/anna/contacts/6F1A-22.vcf etag=\"9b2e7c1f\"",
        "/remote.php/dav/addressbooks/users/anna/contacts/Anna%20M%C3%BCller.vcf status=404 gone"},
       "http://sabre.io/ns/sync/118"},
      {"principal and several home sets, capital prefixes",
       R"(<D:multistatus xmlns:D="DAV:" xmlns:C="urn:ietf:params:xml:ns:carddav">
<D:response><D:href>
   /principals/users/anna/
</D:href><D:propstat><D:prop>
<D:current-user-principal><D:href>/principals/users/anna/</D:href></D:current-user-principal>
<C:addressbook-home-set><D:href>/addressbooks/anna/</D:href><D:href>/shared/books/</D:href></C:addressbook-home-set>
</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response></D:multistatus>)",
       {"/principals/users/anna/ principal=/principals/users/anna/ home=/addressbooks/anna/ "
        "home=/shared/books/"}},
      {"default namespace, the CardDAV one declared on its element; several hrefs in one response",
       R"(<multistatus xmlns="DAV:"><response><href>/b/1.vcf</href><href>/b/2.vcf</href>
<status>HTTP/1.1 404 Not Found</status></response>
<response><href>/b/3.vcf</href><propstat><prop><getetag>"3"</getetag>
<address-data xmlns="urn:ietf:params:xml:ns:carddav">BEGIN:VCARD
END:VCARD
</address-data></prop><status>HTTP/1.1 200 OK</status></propstat></response></multistatus>)",
       {"/b/1.vcf status=404 gone", "/b/2.vcf status=404 gone", "/b/3.vcf etag=\"3\" card"}},
      {"look-alikes: names in other namespaces, an href inside an unknown element",
       R"(<a:multistatus xmlns:a="DAV:" xmlns:x="http://example.com/ns" xmlns:n="DAV">
<a:response><x:owner><a:href>/not/this/</a:href></x:owner><a:href>/b/4.vcf</a:href>
<a:propstat><a:prop><n:getetag>"wrong"</n:getetag><a:address-data>wrong</a:address-data>
<a:resourcetype><a:collection/><x:addressbook/></a:resourcetype>
<x:sync-token>wrong</x:sync-token><a:getetag>"4"</a:getetag></a:prop>
<a:status>HTTP/1.1 200 OK</a:status></a:propstat></a:response>
<x:sync-token>wrong</x:sync-token></a:multistatus>)",
       {"/b/4.vcf etag=\"4\""}},
      {"a propstat without status, and statuses that are no 200",
       R"(<d:multistatus xmlns:d="DAV:"><d:response><d:href>/b/5.vcf</d:href>
<d:propstat><d:prop><d:getetag>"a"</d:getetag></d:prop></d:propstat>
<d:propstat><d:prop><d:getetag>"b"</d:getetag></d:prop><d:status>HTTP/1.1 2000 OK</d:status></d:propstat>
<d:propstat><d:prop><d:displayname>c</d:displayname></d:prop><d:status>HTTP/1.1 403 Forbidden</d:status></d:propstat>
</d:response></d:multistatus>)",
       {"/b/5.vcf"}},
      {"an empty multistatus", R"(<multistatus xmlns="DAV:"/>)", {}},
  });
}

TEST(Multistatus, cardsComeDecodedAsUtf8) {
  struct CardCase {
    std::string_view what;
    std::string body;
    std::string_view href;
    std::string_view card;
  };
  const CardCase cases[] = {
      {"Radicale: raw CR LF, umlauts, escaped markup", answerFile("radicale-multiget.xml"),
       "/anna/kontakte/m1.vcf",
       "BEGIN:VCARD\nVERSION:3.0\nUID:m1\nFN:J\xC3\xBCrgen M\xC3\xBCller\n"
       "N:M\xC3\xBCller;J\xC3\xBCrgen;;;\nNOTE:Gr\xC3\xB6\xC3\x9F"
       "e & <Gewicht>\n"
       "TEL;TYPE=CELL:+49 170 1\nEND:VCARD\n"},
      {"Xandikos: a Polish name", answerFile("xandikos-multiget.xml"),
       "/user/contacts/addressbook/m2.vcf",
       "BEGIN:VCARD\nVERSION:3.0\nUID:m2\nFN:Ma\xC5\x82gorzata W\xC4\x85sowska-\xC5\xB9rebiec\n"
       "N:W\xC4\x85sowska-\xC5\xB9rebiec;Ma\xC5\x82gorzata;;;\nTEL;TYPE=CELL:+48 600 2\n"
       "NOTE:\xC5\x81\xC3\xB3"
       "d\xC5\xBA\nEND:VCARD\n"},
  };
  for (const CardCase& c : cases) {
    carddav::MultistatusReading reading = readMultistatus(c.body, plenty);
    ASSERT_EQ(reading.error, "") << c.what;
    bool found = false;
    for (const ResourceStatus& resource : reading.multistatus.resources) {
      if (resource.href != c.href) continue;
      found = true;
      EXPECT_EQ(resource.addressData.value_or("(none)"), c.card) << c.what;
    }
    EXPECT_TRUE(found) << c.what;
  }
}

TEST(Multistatus, aBodyThatIsNoReadableMultistatusGivesAnErrorAndNoResources) {
  // What the reader refuses is its own table; here only that a refusal half
  // way drops what was read before it, and that the size bound reaches it.
  const std::string good = answerFile("radicale-sync-changes.xml");
  const struct {
    std::string_view what;
    std::string body;
    std::size_t maxBytes;
    std::string_view error;
  } cases[] = {
      {"a refused token", answerFile("radicale-sync-refused.xml"), plenty,
       "the answer is no multistatus"},
      {"a page of HTML", "<html><body>Login</body></html>", plenty, "the answer is no multistatus"},
      {"truncated", good.substr(0, good.size() / 2), plenty, "the input ends inside an element"},
      {"too large", good, good.size() - 1, "the input is larger than allowed (byte 0)"},
  };
  for (const auto& c : cases) {
    carddav::MultistatusReading reading = readMultistatus(c.body, c.maxBytes);
    EXPECT_TRUE(reading.error.starts_with(c.error)) << c.what << ": " << reading.error;
    EXPECT_TRUE(reading.multistatus.resources.empty()) << c.what;
    EXPECT_FALSE(reading.multistatus.syncToken) << c.what;
  }
}

}  // namespace
