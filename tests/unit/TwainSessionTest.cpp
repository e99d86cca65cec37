// The scanner session: identity, finding the manager, selection and the opening steps with their
// error record and warnings.
#include <cstring>
#include <functional>

#include "TwainTestSupport.h"

namespace inkra::twain::testing {
namespace {

TEST(TwainIdentity, GoesOutExactlyAsTabled) {
  const TwIdentity id = ApplicationIdentity();
  EXPECT_EQ(+id.Id, 0u);
  EXPECT_EQ(+id.Version.MajorNum, 1);
  EXPECT_EQ(+id.Version.MinorNum, 0);
  EXPECT_EQ(+id.Version.Language, 13);
  EXPECT_EQ(+id.Version.Country, 1);
  EXPECT_EQ(+id.ProtocolMajor, 1);
  EXPECT_EQ(+id.ProtocolMinor, 6);
  EXPECT_EQ(+id.SupportedGroups, 3u);
  for (const char* text : {id.Version.Info, id.Manufacturer, id.ProductFamily, id.ProductName})
    EXPECT_STREQ(text, "<?>");
  EXPECT_EQ(offsetof(TwIdentity, ProductName), 122u);
}

TEST(TwainManagerPath, SeparatorOnlyWhereTheFolderNeedsOne) {
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\WINDOWS", "C:\\WINDOWS\\TWAIN_32.DLL"}, {"C:", "C:TWAIN_32.DLL"},
      {"C:\\", "C:\\\\TWAIN_32.DLL"}, {"", "TWAIN_32.DLL"}};
  for (const auto& [folder, path] : cases) EXPECT_EQ(ManagerPath(folder, kManagerFile), path) << folder;
}

TEST(TwainPixelTypeFilter, KeepsTheCommonTypesInIncreasingOrder) {
  struct Case {
    std::vector<std::uint16_t> in;
    std::uint32_t mask;
    std::vector<std::uint16_t> out;
  } cases[] = {{{2, 1, 0}, 0x3, {0, 1}}, {{3, 3, 1}, 0xF, {1, 3}}, {{2}, 0x1, {}}, {{40, 0}, 0xFFFFFFFF, {0}}};
  for (Case& c : cases) {
    const std::size_t n = FilterPixelTypes(c.in.data(), c.in.size(), c.mask);
    EXPECT_EQ(std::vector<std::uint16_t>(c.in.begin(), c.in.begin() + n), c.out);
  }
}

using TwainSelectionTest = TwainTest;

TEST_F(TwainSelectionTest, FindsTheManagerByBitnessAndFallsBack) {
  struct Case {
    bool sixtyFour;
    std::vector<std::string> files;
    std::vector<std::string> loaded;
  } cases[] = {
      {false, {"C:\\WINDOWS\\TWAIN_32.DLL", "C:\\WINDOWS\\system32\\TWAINDSM.DLL"}, {"C:\\WINDOWS\\TWAIN_32.DLL"}},
      {false, {"C:\\WINDOWS\\system32\\TWAINDSM.DLL"}, {"C:\\WINDOWS\\system32\\TWAINDSM.DLL"}},
      {true, {"C:\\WINDOWS\\TWAIN_32.DLL", "C:\\WINDOWS\\system32\\TWAINDSM.DLL"},
       {"C:\\WINDOWS\\system32\\TWAINDSM.DLL"}},
      {true, {"C:\\WINDOWS\\TWAIN_32.DLL"}, {}},
  };
  for (const Case& c : cases) {
    platform.sixtyFour = c.sixtyFour;
    platform.files = c.files;
    platform.loaded.clear();
    platform.boxes.clear();
    EXPECT_EQ(session.SelectImageSource(nullptr), c.loaded.empty() ? 0 : 1);
    EXPECT_EQ(platform.loaded, c.loaded);
    if (c.loaded.empty()) {
      EXPECT_EQ(platform.Texts(), std::vector{Warning(kCannotLoadManager)});
    }
    EXPECT_EQ(session.State(), kNoManager);
  }
}

TEST_F(TwainSelectionTest, AnswersAndWarnsForEachOutcome) {
  struct Case {
    const char* name;
    WindowHandle window;
    std::vector<std::string> files;
    bool exportsEntry, proxyFails;
    std::uint16_t openDsm, userSelect;
    int result;
    std::vector<std::string> texts;
  } cases[] = {
      {"chosen", nullptr, {"C:\\WINDOWS\\TWAIN_32.DLL"}, true, false, 0, TWRC_SUCCESS, 1, {}},
      {"cancelled", nullptr, {"C:\\WINDOWS\\TWAIN_32.DLL"}, true, false, 0, TWRC_CANCEL, 0, {}},
      {"board window", FakePlatform::kBoard, {"C:\\WINDOWS\\TWAIN_32.DLL"}, true, false, 0, TWRC_SUCCESS, 1, {}},
      {"no manager", nullptr, {}, true, false, 0, 0, 0, {Warning(kCannotLoadManager)}},
      {"no entry", nullptr, {"C:\\WINDOWS\\TWAIN_32.DLL"}, false, false, 0, 0, 0, {Warning(kCannotLoadManager)}},
      {"not opened", nullptr, {"C:\\WINDOWS\\TWAIN_32.DLL"}, true, false, TWRC_FAILURE, 0, 0,
       {Warning(kCannotOpenManager)}},
      {"invalid window", reinterpret_cast<WindowHandle>(0x99), {"C:\\WINDOWS\\TWAIN_32.DLL"}, true, false, 0, 0, 0,
       {Warning(kSelectInvalidWindow)}},
      {"no proxy", nullptr, {"C:\\WINDOWS\\TWAIN_32.DLL"}, true, true, 0, 0, 0, {Warning(kSelectNoProxy)}},
  };
  for (const Case& c : cases) {
    TwainRig r;
    auto& [p, m, s] = r;
    p.files = c.files;
    p.exportsEntry = c.exportsEntry;
    p.proxyFails = c.proxyFails;
    m.answers[{DAT_PARENT, MSG_OPENDSM}] = c.openDsm;
    m.answers[{DAT_IDENTITY, MSG_USERSELECT}] = c.userSelect;
    EXPECT_EQ(s.SelectImageSource(c.window), c.result) << c.name;
    EXPECT_EQ(p.Texts(), c.texts) << c.name;
    EXPECT_EQ(s.State(), kNoManager) << c.name;
    EXPECT_EQ(p.freedLibraries, int(p.loaded.size())) << c.name;
    EXPECT_EQ(p.proxiesDestroyed, c.proxyFails ? 0 : p.proxiesMade) << c.name;
    if (c.result) {
      const std::vector<Triplet> expected{{false, DG_CONTROL, DAT_PARENT, MSG_OPENDSM},
                                          {false, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT},
                                          {false, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM}};
      EXPECT_EQ(m.log, expected) << c.name;
      EXPECT_EQ(m.openedWith, std::vector{c.window ? c.window : FakePlatform::kProxy}) << c.name;
    }
  }
}

TEST_F(TwainSelectionTest, AManagerThatWillNotCloseIsUnloadedAndTheNextSelectionWorks) {
  manager.answers[{DAT_PARENT, MSG_CLOSEDSM}] = TWRC_FAILURE;
  EXPECT_EQ(session.SelectImageSource(nullptr), 1);
  EXPECT_EQ(manager.unloadedIn, std::vector{int(kManagerOpen)});
  manager.answers.clear();
  EXPECT_EQ(session.SelectImageSource(nullptr), 1);
  EXPECT_EQ(manager.unloadedIn.back(), kManagerLoaded);
  ExpectTornDown();
}

// The fakes keep TWAIN's state table, so a caller that loses track of the state is caught.
TEST(TwainFakeManager, ATripletOutOfSequenceFailsWithSeqError) {
  struct Case {
    int state;
    bool toSource;
    std::uint32_t dg;
    std::uint16_t dat, msg;
  } cases[] = {{kManagerOpen, false, DG_CONTROL, DAT_PARENT, MSG_OPENDSM},
               {kSourceOpen, false, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM},
               {kSourceEnabled, false, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS},
               {kTransferring, true, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS},
               {kTransferring, true, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET},
               {kSourceEnabled, true, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER},
               {kSourceEnabled, true, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET},
               {kSourceOpen, true, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT},
               {kSourceEnabled, true, DG_CONTROL, DAT_CAPABILITY, MSG_SET}};
  for (const Case& c : cases) {
    FakePlatform p;
    FakeManager m(p);
    TwIdentity app = ApplicationIdentity(), source{};
    m.state = c.state;
    std::uint8_t data[200]{};
    const int message = kSourceXferReady;
    TwEvent event{const_cast<int*>(&message), MSG_NULL};
    void* argument = c.dat == DAT_EVENT ? static_cast<void*>(&event) : data;
    EXPECT_EQ(m.Entry(&app, c.toSource ? &source : nullptr, c.dg, c.dat, c.msg, argument), TWRC_FAILURE) << c.msg;
    EXPECT_EQ(m.state, c.state) << c.msg;
    TwStatus status{};
    m.Entry(&app, nullptr, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    EXPECT_EQ(status.ConditionCode, TWCC_SEQERROR) << c.msg;
    EXPECT_EQ(m.sequenceErrors, 1) << c.msg;
  }
}

using TwainOpeningTest = TwainTest;

// Wine's manager passes the identity it is given on to the source as it is; only Windows' fills
// in its default source. The session asks for the default source and opens that identity.
TEST_F(TwainOpeningTest, TheDefaultSourceOpensWithEveryManager) {
  struct Case {
    const char* name;
    bool passesIdentityOn;
    std::uint16_t getDefault;
    const char* asked;  // the ProductName MSG_OPENDS was given
    bool opened;
  } cases[] = {{"passes it on", true, TWRC_SUCCESS, "Fake Source", true},
               {"fills it in, cannot tell its default", false, TWRC_FAILURE, "", true},
               {"passes it on, cannot tell its default", true, TWRC_FAILURE, "", false}};
  for (const Case& c : cases) {
    TwainRig r;
    auto& [p, m, s] = r;
    m.passesIdentityOn = c.passesIdentityOn;
    m.answers[{DAT_IDENTITY, MSG_GETDEFAULT}] = c.getDefault;
    p.queue = {kSourceCloseRequest};
    s.AcquireImages(nullptr, 0);
    EXPECT_EQ(m.openRequests, std::vector<std::string>{c.asked}) << c.name;
    EXPECT_EQ(m.Sent(DAT_USERINTERFACE, MSG_ENABLEDS), c.opened) << c.name;
    EXPECT_EQ(s.LastError().code, c.opened ? kNoError : kManagerOperationFailed) << c.name;
    if (c.opened) {
      EXPECT_EQ(std::string(s.Source().ProductName), "Fake Source") << c.name;
    }
    ExpectTornDown(r);
  }
}

TEST_F(TwainOpeningTest, FailuresRecordTheirCodeReportOnceAndTakeTheSessionDown) {
  struct Case {
    const char* name;
    std::function<void(FakeManager&)> script;
    std::uint32_t mask;
    ErrorRecord error;
  } cases[] = {
      {"no source", [](FakeManager& m) { m.answers[{DAT_IDENTITY, MSG_OPENDS}] = TWRC_FAILURE; }, 0,
       {kManagerOperationFailed, TWRC_FAILURE, 5}},
      {"not enabled", [](FakeManager& m) { m.answers[{DAT_USERINTERFACE, MSG_ENABLEDS}] = TWRC_FAILURE; }, 0,
       {kSourceOperationFailed, TWRC_FAILURE, 5}},
      {"get fails", [](FakeManager& m) { m.answers[{DAT_CAPABILITY, MSG_GET}] = TWRC_FAILURE; }, 1,
       {kCapabilityGetFailed, TWRC_FAILURE, 5}},
      {"set fails", [](FakeManager& m) { m.answers[{DAT_CAPABILITY, MSG_SET}] = TWRC_FAILURE; }, 1,
       {kCapabilitySetFailed, TWRC_FAILURE, 5}},
      {"null container", [](FakeManager& m) { m.nullContainer = true; }, 1, {kNullContainer, 0, 0}},
      {"container locked", [](FakeManager& m) { m.containerUnlockable = true; }, 1, {kContainerNotLockable, 0, 0}},
      {"range", [](FakeManager& m) { m.conType = 6; }, 1, {kUnknownContainer, 0, 0}},
      {"strings", [](FakeManager& m) { m.itemType = 12; }, 1, {kItemTypeNotInteger, 0, 0}},
      {"empty", [](FakeManager& m) { m.pixelTypes.clear(); }, 1, {kNoItems, 0, 0}},
      {"array empty", [](FakeManager& m) { m.conType = TWON_ARRAY, m.pixelTypes.clear(); }, 1, {kNoItems, 0, 0}},
      {"nothing common", [](FakeManager&) {}, 0x8, {kNoCommonPixelType, 0, 0}},
      {"one value not common", [](FakeManager& m) { m.conType = TWON_ONEVALUE; }, 0x1, {kNoCommonPixelType, 0, 0}},
  };
  for (const Case& c : cases) {
    TwainRig r;
    auto& [p, m, s] = r;
    m.condition = 5;
    c.script(m);
    EXPECT_EQ(s.AcquireImages(nullptr, c.mask), nullptr) << c.name;
    EXPECT_EQ(s.LastError().code, c.error.code) << c.name;
    EXPECT_EQ(s.LastError().result, c.error.result) << c.name;
    EXPECT_EQ(s.LastError().condition, c.error.condition) << c.name;
    EXPECT_EQ(p.Texts(), std::vector{Warning(kReportLastError)}) << c.name;
    EXPECT_EQ(s.State(), kNoManager) << c.name;
    EXPECT_EQ(s.ImageCount(), 0) << c.name;
    EXPECT_FALSE(m.Sent(DAT_EVENT, MSG_PROCESSEVENT)) << c.name;
    // The capability container belongs to the caller after MSG_GET, and is freed unless unlockable.
    EXPECT_EQ(p.blocks.size(), c.error.code == kContainerNotLockable ? 1u : 0u) << c.name;
  }
}

TEST_F(TwainOpeningTest, NegotiationSendsBackTheFilteredListOrNothing) {
  struct Case {
    std::uint16_t conType;
    std::vector<std::uint16_t> offered;
    std::uint32_t mask;
    bool setSent;
  } cases[] = {{TWON_ENUMERATION, {TWPT_RGB, TWPT_GRAY, TWPT_BW}, 0x3, true},
               {TWON_ARRAY, {TWPT_RGB, TWPT_GRAY, TWPT_BW}, 0x3, true},
               {TWON_ONEVALUE, {TWPT_RGB}, 0x4, false},
               {TWON_ENUMERATION, {TWPT_RGB}, 0, false}};
  for (const Case& c : cases) {
    TwainRig r;
    auto& [p, m, s] = r;
    m.conType = c.conType;
    m.pixelTypes = c.offered;
    p.queue = {kSourceCloseRequest};
    s.AcquireImages(nullptr, c.mask);
    EXPECT_EQ(s.LastError().code, kNoError);
    EXPECT_EQ(m.Sent(DAT_CAPABILITY, MSG_GET), c.mask != 0);
    EXPECT_EQ(m.Sent(DAT_CAPABILITY, MSG_SET), c.setSent);
    if (c.conType == TWON_ENUMERATION && c.setSent) {
      const std::uint8_t expected[] = {4, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 1, 0};
      ASSERT_GE(m.sentBack.size(), sizeof expected);
      EXPECT_EQ(0, std::memcmp(m.sentBack.data(), expected, sizeof expected));
    }
    if (c.conType == TWON_ARRAY) {
      const std::uint8_t expected[] = {4, 0, 2, 0, 0, 0, 0, 0, 1, 0};
      EXPECT_EQ(0, std::memcmp(m.sentBack.data(), expected, sizeof expected));
    }
    EXPECT_TRUE(p.blocks.empty());
  }
}

TEST_F(TwainOpeningTest, EnablesTheSourceWithItsOwnDialogOverTheDisabledProxy) {
  manager.answers[{DAT_USERINTERFACE, MSG_ENABLEDS}] = TWRC_CHECKSTATUS;
  platform.queue = {kSourceCloseRequest};
  EXPECT_EQ(Acquire(), nullptr);
  EXPECT_EQ(session.LastError().code, kNoError);
  EXPECT_TRUE(platform.boxes.empty());
  const std::vector<std::pair<WindowHandle, bool>> enables{{FakePlatform::kProxy, false}, {FakePlatform::kProxy, true}};
  EXPECT_EQ(platform.enables, enables);
  EXPECT_EQ(std::string(session.Source().ProductName), "Fake Source");
  const std::vector<Triplet> tail{{true, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS},
                                  {false, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS},
                                  {false, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM}};
  EXPECT_EQ(std::vector(manager.log.end() - 3, manager.log.end()), tail);
  ExpectTornDown();
}

TEST_F(TwainOpeningTest, TheFirstErrorOfAnAcquisitionIsKept) {
  manager.answers[{DAT_IDENTITY, MSG_OPENDS}] = TWRC_FAILURE;
  Acquire();
  session.RecordError(kNoCommonPixelType);
  EXPECT_EQ(session.LastError().code, kManagerOperationFailed);
  manager.answers.clear();
  platform.queue = {kSourceCloseRequest};
  Acquire();
  EXPECT_EQ(session.LastError().code, kNoError);
}

TEST_F(TwainOpeningTest, ConditionCodeAsksWhoeverIsOpen) {
  manager.condition = 9;
  session.RecordError(kCapabilityGetFailed);
  EXPECT_EQ(session.LastError().condition, TWCC_SEQERROR);
  EXPECT_TRUE(manager.log.empty());
}

}  // namespace
}  // namespace inkra::twain::testing
