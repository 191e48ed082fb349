#include "carddav/sync_state.h"

#include <gtest/gtest.h>

namespace {

TEST(SyncState, comesBackAsWrittenAndAnythingElseIsNoState) {
  carddav::SyncState state{"https://dav.example/anna/kontakte/",
                           "tok-7",
                           {{"/a/1.vcf", "\"e1\"", "uid\twith tab", "BEGIN:VCARD\r\n12:34\n\r\n"},
                            {"/a/2.vcf", "\"e2\"", "2", ""}}};
  std::string bytes = carddav::writeSyncState(state);
  auto read = carddav::readSyncState(bytes);
  ASSERT_TRUE(read);
  EXPECT_EQ(carddav::writeSyncState(*read), bytes);
  EXPECT_EQ(read->cards[0].uid, "uid\twith tab");
  for (std::size_t cut : {std::size_t{0}, std::size_t{10}, bytes.size() - 1}) {
    EXPECT_FALSE(carddav::readSyncState(bytes.substr(0, cut))) << cut;
  }
  EXPECT_FALSE(carddav::readSyncState(bytes + "x"));
}

}  // namespace
