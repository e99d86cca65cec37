// Pen settings over a settings store: what a load applies, what a save writes, and the
// fallback from the machine-wide store to the user's.
#include <gtest/gtest.h>

#include "BoardFakes.h"
#include "BoardModel.h"
#include "MemorySettingsStore.h"
#include "PenSettings.h"

namespace inkra::board {
namespace {

using Store = MemorySettingsStore;

LoadedPenSettings Load(Store& machine) {
  SettingsStore* stores[] = {&machine};
  return LoadPenSettings(stores);
}

TEST(PenSettingsLoad, NothingSavedLeavesTheDefaults) {
  Store s;
  EXPECT_EQ(Load(s), LoadedPenSettings{});
  EXPECT_EQ(s.opens, 1);  // the key is created when missing
}

TEST(PenSettingsLoad, ColourNamesAndNumbers) {
  const std::pair<const char*, ColourValue> cases[] = {
      {"clRed", clRed}, {"CLBLUE", clBlue}, {"$00C08040", RGB24(64, 128, 192)}, {"255", 255u}};
  for (const auto& [text, colour] : cases) {
    Store s;
    s.values["PenColor"] = std::string(text);
    EXPECT_EQ(Load(s).colour, colour) << text;
  }
}

TEST(PenSettingsLoad, BareWordStopsTheLoadBeforeTheWidth) {
  Store s;
  s.values["PenColor"] = std::string("blue");
  s.values["PenWidth"] = std::uint32_t(5);
  EXPECT_EQ(Load(s), LoadedPenSettings{});
}

TEST(PenSettingsLoad, WrongTypeStopsTheLoadKeepingWhatCameBefore) {
  Store s;
  s.values["PenColor"] = std::string("clGreen");
  s.values["PenWidth"] = std::string("5");
  EXPECT_EQ(Load(s), (LoadedPenSettings{clGreen, std::nullopt}));
  s.values["PenColor"] = std::uint32_t(3);
  s.values["PenWidth"] = std::uint32_t(5);
  EXPECT_EQ(Load(s), LoadedPenSettings{});
}

TEST(PenSettingsLoad, WidthAloneAndOutOfRange) {
  Store s;
  s.values["PenWidth"] = std::uint32_t(9);
  EXPECT_EQ(Load(s), (LoadedPenSettings{std::nullopt, 9}));
  s.values["PenWidth"] = std::uint32_t(0xFFFFFFFF);
  EXPECT_EQ(Load(s).penWidth, -1);
}

// Saves go to the machine's store, else the user's; the load reads where the user's saves are.
TEST(PenSettingsLoad, TheUsersKeyWinsWhenItExistsElseTheMachinesFirstOpenStore) {
  struct Case {
    const char* what;
    bool machineKey, machineRefused, userKey, userRefused;
    std::optional<ColourValue> colour;
  };
  const Case cases[] = {
      {"the user's saves, with the machine's key there too", true, false, true, false, clNavy},
      {"no user key: the machine's", true, false, false, false, clLime},
      {"a user key that will not open: the machine's", true, false, true, true, clLime},
      {"no key at all: the machine's is created and is empty", false, false, false, false, std::nullopt},
      {"the machine refused, no user key yet: the user's", true, true, false, false, clNavy},
      {"both refused", true, true, true, true, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Store machine, user;
    machine.keyExists = c.machineKey;
    machine.refuseOpen = c.machineRefused;
    user.keyExists = c.userKey;
    user.refuseOpen = c.userRefused;
    if (c.machineKey) machine.values["PenColor"] = std::string("clLime");
    if (c.userKey) user.values["PenColor"] = std::string("clNavy");
    if (c.machineRefused && !c.userKey) user.values["PenColor"] = std::string("clNavy");
    SettingsStore* stores[] = {&machine, &user};
    EXPECT_EQ(LoadPenSettings(stores).colour, c.colour);
  }
}

TEST(PenSettingsSave, WritesTheColourTextAndTheListIndex) {
  Store s;
  SettingsStore* stores[] = {&s};
  ASSERT_TRUE(SavePenSettings(stores, clRed, 3));
  EXPECT_EQ(std::get<std::string>(s.values.at("PenColor")), "clRed");
  EXPECT_EQ(std::get<std::uint32_t>(s.values.at("PenWidth")), 3u);
  ASSERT_TRUE(SavePenSettings(stores, RGB24(64, 128, 192), 0));
  EXPECT_EQ(std::get<std::string>(s.values.at("PenColor")), "$00C08040");
  EXPECT_EQ(std::get<std::uint32_t>(s.values.at("PenWidth")), 0u);
}

TEST(PenSettingsSave, FallsBackAndFailsOnlyWhenEveryStoreRefuses) {
  Store machine, user;
  SettingsStore* stores[] = {&machine, &user};
  machine.refuseWrite = true;
  ASSERT_TRUE(SavePenSettings(stores, clBlue, 2));
  EXPECT_TRUE(machine.values.empty());
  EXPECT_EQ(std::get<std::string>(user.values.at("PenColor")), "clBlue");
  machine.refuseWrite = false;
  machine.refuseOpen = true;
  user.values.clear();
  ASSERT_TRUE(SavePenSettings(stores, clBlue, 2));
  EXPECT_EQ(user.values.size(), 2u);
  user.refuseWrite = true;
  EXPECT_FALSE(SavePenSettings(stores, clBlue, 2));
}

// The board applies a load: colour to pen, fill and selection; width plus one; the list stays.
class PenSettingsOnBoard : public ::testing::Test {
 protected:
  void Apply(const LoadedPenSettings& s) {
    board.Create(602, 258);
    board.ApplySettings(s);
  }
  testing::RecordingSurfaces surfaces;
  BoardModel board{surfaces};
};

TEST_F(PenSettingsOnBoard, WidthIsValuePlusOneWithoutMovingTheList) {
  Apply({std::nullopt, 9});
  EXPECT_EQ(board.NibWidth(), 10);
  EXPECT_EQ(board.PenIndex(), 3);
  Apply({std::nullopt, -1});
  EXPECT_EQ(board.NibWidth(), 0);
  Apply({std::nullopt, 0});
  EXPECT_EQ(board.NibWidth(), 1);
  // Saving then writes the list's index, not the nib.
  Store s;
  SettingsStore* stores[] = {&s};
  ASSERT_TRUE(SavePenSettings(stores, board.SelectedColour(), board.PenIndex()));
  EXPECT_EQ(std::get<std::uint32_t>(s.values.at("PenWidth")), 3u);
}

TEST_F(PenSettingsOnBoard, ColourGoesToPenThenFillThenSelection) {
  Apply({clTeal, std::nullopt});
  EXPECT_EQ(board.SelectedColour(), clTeal);
  const auto& ops = surfaces.Last().Recorder().Ops();
  ASSERT_GE(ops.size(), 2u);
  EXPECT_EQ(ops[ops.size() - 2].kind, CanvasOp::Kind::PenColour);
  EXPECT_EQ(ops.back().kind, CanvasOp::Kind::BrushColour);
  EXPECT_EQ(ops.back().colour, clTeal);
  EXPECT_EQ(board.NibWidth(), 3);
}

}  // namespace
}  // namespace inkra::board
