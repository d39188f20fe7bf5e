// What a stopped listing still shows: the file on screen completely, or the
// next one when the file on screen was complete, and nothing after it.

#include "listing/listing_display.h"

#include <gtest/gtest.h>

namespace {

struct StopCase {
  const char* name;
  bool shownFileComplete;  // its last step ran before the stop
  int lastShown;           // the last file whose steps are still shown
};

class ListingDisplayStop : public ::testing::TestWithParam<StopCase> {};

TEST_P(ListingDisplayStop, EndsAfterTheFileTheUserSawBeingListed) {
  ListingDisplay display;
  display.Begin();
  for (int file = 1; file <= 3; ++file) ASSERT_EQ(display.NextFile(), file);
  ASSERT_TRUE(display.Shows(1));
  display.Finished(1);
  ASSERT_TRUE(display.Shows(2));
  if (GetParam().shownFileComplete) display.Finished(2);
  display.StopRequested();
  // A second press changes nothing.
  display.StopRequested();
  for (int file = 2; file <= 5; ++file) EXPECT_EQ(display.Shows(file), file <= GetParam().lastShown) << file;
  // Steps of the window's own thread are not the listing's.
  EXPECT_TRUE(display.Shows(0));
}

INSTANTIATE_TEST_SUITE_P(Cases, ListingDisplayStop,
                         ::testing::Values(StopCase{"midFile", false, 2}, StopCase{"betweenFiles", true, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ListingDisplay, ANewListingShowsEverythingAgainAndCountsFromOne) {
  ListingDisplay display;
  display.Begin();
  static_cast<void>(display.NextFile());
  ASSERT_TRUE(display.Shows(1));
  display.StopRequested();
  EXPECT_FALSE(display.Shows(2));
  display.Begin();
  EXPECT_EQ(display.NextFile(), 1);
  EXPECT_TRUE(display.Shows(1));
  EXPECT_TRUE(display.Shows(40));
}

}  // namespace
