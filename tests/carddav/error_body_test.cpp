// The bodies servers send when they refuse a sync report: only a DAV:error
// that names valid-sync-token means the token is gone.

#include "carddav/error_body.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "tests/fakes/temp_dir.h"

namespace {

TEST(ErrorBody, onlyTheFailedSyncTokenConditionRefusesTheToken) {
  const struct {
    std::string_view what;
    std::string body;
    bool refused;
  } cases[] = {
      {"Radicale",
       testing_support::readBytes(std::string(MORVI_TEST_DATA_DIR) +
                                  "/carddav/radicale-sync-refused.xml"),
       true},
      {"Nextcloud, with its exception text",
       R"(<?xml version="1.0" encoding="utf-8"?>
<d:error xmlns:d="DAV:" xmlns:s="http://sabredav.org/ns">
  <s:exception>Sabre\DAV\Exception\InvalidSyncToken</s:exception>
  <s:message>Invalid or unknown sync token</s:message>
  <d:valid-sync-token/>
</d:error>)",
       true},
      {"another condition",
       R"(<D:error xmlns:D="DAV:"><D:number-of-matches-within-limits/></D:error>)", false},
      {"the condition in another namespace",
       R"(<D:error xmlns:D="DAV:" xmlns:x="urn:x"><x:valid-sync-token/></D:error>)", false},
      {"the condition below another element",
       R"(<error xmlns="DAV:"><x><valid-sync-token/></x></error>)", false},
      {"a multistatus", R"(<multistatus xmlns="DAV:"><valid-sync-token/></multistatus>)", false},
      {"Xandikos 0.2.8, which answers an unknown token with 500 and text",
       "500 Internal Server Error\n\nServer got itself in trouble", false},
      {"a broken body", R"(<error xmlns="DAV:"><valid-sync-token/>)", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(carddav::refusesSyncToken(c.body, 1 << 16), c.refused) << c.what;
  }
}

}  // namespace
