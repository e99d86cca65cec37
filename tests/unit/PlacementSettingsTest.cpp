// The placement choice beside the pen settings: what a stored index means, and which store
// keeps it.
#include <gtest/gtest.h>

#include "MemorySettingsStore.h"
#include "Placement.h"

namespace inkra::board {
namespace {

using Store = MemorySettingsStore;

TEST(PlacementSetting, StoredIndexOrTheDefault) {
  const struct {
    const char* name;
    std::optional<Store::Value> stored;
    bool straddleOffered;
    Placement expected;
  } cases[] = {
      {"nothing stored", std::nullopt, true, Placement::PageTopLeft},
      {"page top left", std::uint32_t(0), true, Placement::PageTopLeft},
      {"cursor", std::uint32_t(1), false, Placement::Cursor},
      {"straddle where offered", std::uint32_t(2), true, Placement::Straddle},
      {"straddle in a host without pages", std::uint32_t(2), false, Placement::PageTopLeft},
      {"an index past the list", std::uint32_t(3), true, Placement::PageTopLeft},
      {"-1", std::uint32_t(0xFFFFFFFF), true, Placement::PageTopLeft},
      {"a string", std::string("1"), true, Placement::PageTopLeft},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Store s;
    if (c.stored) s.values[kPlacementValue] = *c.stored;
    SettingsStore* stores[] = {&s};
    EXPECT_EQ(LoadPlacement(stores, c.straddleOffered), c.expected);
  }
}

TEST(PlacementSetting, KeptWhereTheNextBoardReadsIt) {
  // An ordinary user: the machine's key refuses writes, the user's takes them and is read back.
  Store machine, user;
  machine.keyExists = true;
  machine.refuseWrite = true;
  SettingsStore* stores[] = {&machine, &user};
  ASSERT_TRUE(SavePlacement(stores, Placement::Cursor));
  EXPECT_FALSE(machine.values.contains(kPlacementValue));
  EXPECT_EQ(user.values.at(kPlacementValue), Store::Value(std::uint32_t(1)));
  EXPECT_EQ(LoadPlacement(stores, true), Placement::Cursor);

  // The user's key holds the pen settings already: the choice goes there too, not to the machine.
  Store machine2, user2;
  machine2.keyExists = user2.keyExists = true;
  SettingsStore* both[] = {&machine2, &user2};
  ASSERT_TRUE(SavePlacement(both, Placement::Straddle));
  EXPECT_FALSE(machine2.values.contains(kPlacementValue));
  EXPECT_EQ(LoadPlacement(both, true), Placement::Straddle);

  Store refused;
  refused.refuseOpen = true;
  SettingsStore* none[] = {&refused};
  EXPECT_FALSE(SavePlacement(none, Placement::Cursor));
  EXPECT_EQ(LoadPlacement(none, true), Placement::PageTopLeft);
}

}  // namespace
}  // namespace inkra::board
