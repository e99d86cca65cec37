// The Word add-in's toolbar and button against the Word host double: creation in a fresh
// profile, reuse on the next connection, a look-alike toolbar, removal, a deleted or hidden
// button, missing command bars, and the button's sink.
#include <olectl.h>

#include <algorithm>

#include "AddInTestSupport.h"
#include "Dispatch.h"
#include "MSOAddIn_Utils.h"
#include "WordAddInTestSupport.h"

namespace inkra::addin {
namespace {

using test::office::CallRecord;
using test::office::CommandBarState;
using test::office::ControlState;
using test::office::NewProfile;
using win::ComPtr;

constexpr DWORD kQuietMs = 400;  // how long a test watches for a box that should not come

class WordToolbar : public WordAddInTest {
 protected:
  // The puts on one kind of object, in order, as "Member=value".
  static std::vector<std::wstring> Puts(const test::office::CallLog& log, const std::wstring& object) {
    std::vector<std::wstring> puts;
    for (const CallRecord& c : log.Calls())
      if (c.object == object && (c.flags & DISPATCH_PROPERTYPUT)) puts.push_back(c.member + L"=" + c.args[0].Describe());
    return puts;
  }
  // A profile in which an earlier session of Word made our toolbar and button.
  std::shared_ptr<test::office::Profile> ProfileFromAnEarlierSession() {
    auto profile = NewProfile(HostKind::Word);
    HostDouble word(HostKind::Word, profile);
    auto first = NewAddIn();
    EXPECT_EQ(Connect(first, word), S_OK);
    EXPECT_EQ(first->OnDisconnection(0, nullptr), S_OK);
    return profile;
  }
  // The button as the add-in makes it: a caption-only button tagged to be found again.
  static void ExpectOurButton(const ControlState& button) {
    EXPECT_EQ(button.type, 1);
    EXPECT_EQ(button.id, 1);
    EXPECT_EQ(button.caption, L"手写签名");
    EXPECT_EQ(button.tooltipText, L"手写签名");
    EXPECT_EQ(button.tag, L"手写签名$$$");
    EXPECT_EQ(button.style, 2);  // caption only
    EXPECT_FALSE(button.temporary);
  }
};

TEST_F(WordToolbar, FirstConnectionInAFreshProfileCreatesTheToolbarAndItsButton) {
  HostDouble word(HostKind::Word);
  const size_t builtIn = word.profile().bars.size();
  auto addIn = NewAddIn();
  ASSERT_EQ(Connect(addIn, word), S_OK);

  ASSERT_EQ(word.profile().bars.size(), builtIn + 1);
  const CommandBarState& bar = *word.profile().bars.back();
  EXPECT_EQ(bar.name, L"InkraSoft");
  EXPECT_EQ(bar.position, 1);  // docked at the top
  EXPECT_TRUE(bar.visible);
  EXPECT_FALSE(bar.temporary);
  EXPECT_FALSE(bar.menuBar);
  ASSERT_EQ(bar.controls.size(), 1u);
  ExpectOurButton(*bar.controls[0]);
  EXPECT_EQ(bar.controls[0]->sinks.size(), 1u);
  ASSERT_NE(addIn->sink(), nullptr);
  EXPECT_NE(addIn->sink()->Connection(), 0u);
  EXPECT_NE(addIn->button(), nullptr);
  EXPECT_NE(addIn->toolbar(), nullptr);
}

TEST_F(WordToolbar, CreationPassesTheArgumentsWithTheirTypesAndSetsTheButtonInOrder) {
  HostDouble word(HostKind::Word);
  auto addIn = NewAddIn();
  ASSERT_EQ(Connect(addIn, word), S_OK);
  const auto& log = word.log();

  EXPECT_EQ(ArgsOf(OnlyCall(log, L"CommandBars", L"Add")),
            (std::vector<std::wstring>{L"VT_BSTR \"InkraSoft\"", L"VT_I4 1", L"VT_I4 0", L"VT_BOOL 0"}));
  EXPECT_EQ(ArgsOf(OnlyCall(log, L"CommandBarControls", L"Add")),
            (std::vector<std::wstring>{L"VT_I4 1", L"VT_I4 1", L"VT_I4 0", L"VT_I4 1", L"VT_BOOL 0"}));

  EXPECT_EQ(Puts(log, L"CommandBarButton"),
            (std::vector<std::wstring>{L"Tag=VT_BSTR \"手写签名$$$\"", L"TooltipText=VT_BSTR \"手写签名\"",
                                       L"Style=VT_I4 2", L"Caption=VT_BSTR \"手写签名\""}));
  CallRecord visiblePut = OnlyCall(log, L"CommandBar", L"Visible");
  EXPECT_EQ(visiblePut.flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(ArgsOf(visiblePut), std::vector<std::wstring>{L"VT_BOOL -1"});
  // The toolbar is made visible after its button is complete.
  auto names = CallNames(log);
  auto caption = std::find(names.begin(), names.end(), L"CommandBarButton.Caption");
  auto visible = std::find(names.begin(), names.end(), L"CommandBar.Visible");
  EXPECT_LT(caption, visible);
}

TEST_F(WordToolbar, SecondConnectionFindsToolbarAndButtonAndCreatesNothing) {
  auto profile = ProfileFromAnEarlierSession();
  const size_t bars = profile->bars.size();
  HostDouble word(HostKind::Word, profile);
  auto second = NewAddIn();
  second->countOnly = true;
  ASSERT_EQ(Connect(second, word), S_OK);

  EXPECT_EQ(profile->bars.size(), bars);
  EXPECT_EQ(profile->Count(L"InkraSoft"), 1);
  CommandBarState& bar = *profile->Find(L"InkraSoft");
  ASSERT_EQ(bar.controls.size(), 1u);
  EXPECT_TRUE(word.log().CallsTo(L"*", L"Add").empty());
  EXPECT_TRUE(Puts(word.log(), L"CommandBarButton").empty());

  EXPECT_EQ(ArgsOf(OnlyCall(word.log(), L"CommandBar", L"FindControl")),
            (std::vector<std::wstring>{L"VT_I4 1", L"VT_I4 1", L"VT_BSTR \"手写签名$$$\"", L"VT_I4 1", L"VT_I4 1"}));

  // The found button is the one listened to: a click reaches the second add-in.
  ASSERT_EQ(bar.controls[0]->sinks.size(), 1u);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  EXPECT_EQ(FireClick(word, *bar.controls[0], cancel), S_OK);
  EXPECT_EQ(second->clicks, 1);
}

TEST_F(WordToolbar, AToolbarNamedInAnotherLetterCaseIsNotOurs) {
  for (const wchar_t* lookAlike : {L"inkrasoft", L"INKRASOFT", L"InkraSoft "}) {
    SCOPED_TRACE(win::WideToUtf8(lookAlike));
    auto profile = NewProfile(HostKind::Word);
    auto other = std::make_shared<CommandBarState>();
    other->name = lookAlike;
    auto foreign = std::make_shared<ControlState>();
    foreign->tag = L"手写签名$$$";
    other->controls.push_back(foreign);
    profile->bars.insert(profile->bars.begin(), other);

    HostDouble word(HostKind::Word, profile);
    auto addIn = NewAddIn();
    ASSERT_EQ(Connect(addIn, word), S_OK);
    EXPECT_EQ(profile->Count(L"InkraSoft"), 1);
    EXPECT_EQ(profile->Count(lookAlike), 1);
    EXPECT_EQ(other->controls.size(), 1u);
    EXPECT_TRUE(foreign->sinks.empty());
    EXPECT_TRUE(word.log().CallsTo(L"CommandBar", L"FindControl").empty());
    EXPECT_EQ(profile->Find(L"InkraSoft")->controls.at(0)->sinks.size(), 1u);
  }
}

TEST_F(WordToolbar, FindCommandBarAnswersTheExactNamesOneBasedPosition) {
  auto profile = NewProfile(HostKind::Word);  // Standard, Formatting, Drawing, Web
  HostDouble word(HostKind::Word, profile);
  ComPtr<IDispatch> bars = win::Get(word.Application(), L"CommandBars").ToDispatch();
  EXPECT_EQ(FindCommandBar(bars.Get(), L"Standard"), 1);
  EXPECT_EQ(FindCommandBar(bars.Get(), L"Web"), 4);
  EXPECT_EQ(FindCommandBar(bars.Get(), L"web"), 0);
  EXPECT_EQ(FindCommandBar(bars.Get(), L"InkraSoft"), 0);
  EXPECT_EQ(FindCommandBar(nullptr, L"Standard"), 0);
  // Two bars of the same name: the first counts.
  auto twin = std::make_shared<CommandBarState>();
  twin->name = L"Drawing";
  profile->bars.push_back(twin);
  EXPECT_EQ(FindCommandBar(bars.Get(), L"Drawing"), 3);
  // A bar whose name cannot be read ends the search silently.
  word.log().FailCall(L"CommandBar", L"Name", E_FAIL);
  EXPECT_EQ(FindCommandBar(bars.Get(), L"Web"), 0);
  word.log().ClearRules();
  word.log().FailCall(L"CommandBars", L"Count", E_FAIL);
  EXPECT_EQ(FindCommandBar(bars.Get(), L"Standard"), 0);
}

TEST_F(WordToolbar, DisconnectionKeepsTheToolbarWhenWordClosesAndDeletesItOnRemoval) {
  auto profile = NewProfile(HostKind::Word);
  const long sinksBefore = TEventSink::LiveSinks();
  {
    HostDouble word(HostKind::Word, profile);
    auto addIn = NewAddIn();
    ASSERT_EQ(Connect(addIn, word), S_OK);
    auto button = profile->Find(L"InkraSoft")->controls.at(0);
    ASSERT_EQ(addIn->OnDisconnection(0, nullptr), S_OK);
    EXPECT_EQ(addIn->sink(), nullptr);
    EXPECT_TRUE(button->sinks.empty());
    EXPECT_EQ(TEventSink::LiveSinks(), sinksBefore);
    ASSERT_NE(profile->Find(L"InkraSoft"), nullptr);
    EXPECT_EQ(profile->Find(L"InkraSoft")->controls.size(), 1u);
    EXPECT_TRUE(word.log().CallsTo(L"CommandBar", L"Delete").empty());
  }
  HostDouble word(HostKind::Word, profile);
  auto addIn = NewAddIn();
  ASSERT_EQ(Connect(addIn, word), S_OK);
  ASSERT_EQ(addIn->OnDisconnection(1, nullptr), S_OK);
  EXPECT_EQ(profile->Find(L"InkraSoft"), nullptr);
  EXPECT_EQ(word.log().CallsTo(L"CommandBar", L"Delete").size(), 1u);
  EXPECT_EQ(TEventSink::LiveSinks(), sinksBefore);
}

TEST_F(WordToolbar, ADeletedButtonIsMadeAgainOnTheExistingToolbar) {
  auto profile = ProfileFromAnEarlierSession();
  CommandBarState& bar = *profile->Find(L"InkraSoft");
  bar.controls.front()->deleted = true;  // the user dragged it off the toolbar
  bar.controls.clear();
  bar.visible = false;                   // and closed the toolbar

  HostDouble word(HostKind::Word, profile);
  auto addIn = NewAddIn();
  addIn->countOnly = true;
  ASSERT_EQ(Connect(addIn, word), S_OK);
  EXPECT_EQ(profile->Count(L"InkraSoft"), 1);
  EXPECT_TRUE(word.log().CallsTo(L"CommandBars", L"Add").empty());
  ASSERT_EQ(bar.controls.size(), 1u);
  ExpectOurButton(*bar.controls[0]);
  EXPECT_FALSE(bar.visible);  // the user's choice to hide the toolbar stands
  VARIANT_BOOL cancel = VARIANT_FALSE;
  FireClick(word, *bar.controls[0], cancel);
  EXPECT_EQ(addIn->clicks, 1);
}

TEST_F(WordToolbar, AHiddenButtonIsListenedToRatherThanDuplicated) {
  auto profile = ProfileFromAnEarlierSession();
  CommandBarState& bar = *profile->Find(L"InkraSoft");
  bar.controls.front()->visible = false;
  HostDouble word(HostKind::Word, profile);
  auto addIn = NewAddIn();
  ASSERT_EQ(Connect(addIn, word), S_OK);
  ASSERT_EQ(bar.controls.size(), 1u);
  EXPECT_FALSE(bar.controls[0]->visible);
  EXPECT_EQ(bar.controls[0]->sinks.size(), 1u);
  EXPECT_TRUE(word.log().CallsTo(L"*", L"Add").empty());
}

TEST_F(WordToolbar, WithoutCommandBarsNothingIsSetUpAndDisconnectionTouchesNothing) {
  HostDouble word(HostKind::Word);
  word.log().Lack(L"Application", L"CommandBars");
  auto addIn = NewAddIn();
  HRESULT hr = E_FAIL;
  const auto seen = BoxesDuring(kQuietMs * 3, [&] { hr = Connect(addIn, word); });
  EXPECT_EQ(hr, S_OK);
  // Only the base's binding box; the add-in's own failure is silent.
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, L"Failed to bind to MS Office application command bars!");
  EXPECT_EQ(addIn->toolbar(), nullptr);
  EXPECT_EQ(addIn->button(), nullptr);
  EXPECT_EQ(addIn->sink(), nullptr);
  word.log().Clear();
  EXPECT_EQ(addIn->OnDisconnection(1, nullptr), S_OK);
  EXPECT_TRUE(word.log().Calls().empty()) << win::WideToUtf8(word.log().Describe());
}

TEST_F(WordToolbar, FailedCreationIsSilentAndLeavesNoSink) {
  for (const wchar_t* failing : {L"CommandBars.Add", L"CommandBarControls.Add", L"CommandBarButton.Caption"}) {
    SCOPED_TRACE(win::WideToUtf8(failing));
    std::wstring object(failing), member = object.substr(object.find(L'.') + 1);
    object.resize(object.find(L'.'));
    HostDouble word(HostKind::Word);
    word.log().FailCall(object, member, E_FAIL, L"The host refused.");
    auto addIn = NewAddIn();
    HRESULT hr = E_FAIL;
    EXPECT_TRUE(BoxesDuring(kQuietMs, [&] { hr = Connect(addIn, word); }).empty());
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(addIn->sink(), nullptr);
    EXPECT_TRUE(word.log().CallsTo(L"ConnectionPoint", L"Advise").empty());
    EXPECT_EQ(addIn->OnDisconnection(0, nullptr), S_OK);
  }
}

TEST_F(WordToolbar, ARefusedAdviseLeavesNoSinkBehindAfterDisconnection) {
  HostDouble word(HostKind::Word);
  word.log().FailCall(L"ConnectionPoint", L"Advise", CONNECT_E_ADVISELIMIT);
  const long sinksBefore = TEventSink::LiveSinks();
  auto addIn = NewAddIn();
  ASSERT_EQ(Connect(addIn, word), S_OK);
  EXPECT_FALSE(addIn->SetupButton());
  ASSERT_NE(addIn->sink(), nullptr);
  EXPECT_EQ(addIn->sink()->Connection(), 0u);
  EXPECT_EQ(TEventSink::LiveSinks(), sinksBefore + 1);
  ASSERT_EQ(addIn->OnDisconnection(0, nullptr), S_OK);
  EXPECT_EQ(TEventSink::LiveSinks(), sinksBefore);
}

TEST_F(WordToolbar, ClicksReachButtonClickAndCancelDefaultIsLeftAlone) {
  HostDouble word(HostKind::Word);
  auto addIn = NewAddIn();
  addIn->countOnly = true;
  ASSERT_EQ(Connect(addIn, word), S_OK);
  ControlState& button = *word.profile().Find(L"InkraSoft")->controls.at(0);
  for (VARIANT_BOOL in : {VARIANT_FALSE, VARIANT_TRUE}) {
    VARIANT_BOOL cancel = in;
    EXPECT_EQ(FireClick(word, button, cancel), S_OK);
    EXPECT_EQ(cancel, in);
  }
  EXPECT_EQ(addIn->clicks, 2);
  // After disconnection the button no longer reaches the add-in.
  ASSERT_EQ(addIn->OnDisconnection(0, nullptr), S_OK);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  FireClick(word, button, cancel);
  EXPECT_EQ(addIn->clicks, 2);
}

TEST_F(WordToolbar, TheOtherNotificationsDoNothing) {
  HostDouble word(HostKind::Word);
  auto addIn = NewAddIn();
  ASSERT_EQ(Connect(addIn, word), S_OK);
  word.log().Clear();
  EXPECT_TRUE(BoxesDuring(kQuietMs, [&] {
                EXPECT_EQ(addIn->OnAddInsUpdate(nullptr), S_OK);
                EXPECT_EQ(addIn->OnStartupComplete(nullptr), S_OK);
                EXPECT_EQ(addIn->OnBeginShutdown(nullptr), S_OK);
              }).empty());
  EXPECT_TRUE(word.log().Calls().empty());
}

TEST_F(WordToolbar, AFailedRemovalIsReportedToWord) {
  HostDouble word(HostKind::Word);
  auto addIn = NewAddIn();
  ASSERT_EQ(Connect(addIn, word), S_OK);
  word.log().FailCall(L"CommandBar", L"Delete", E_ACCESSDENIED);
  EXPECT_EQ(addIn->OnDisconnection(1, nullptr), E_ACCESSDENIED);
  EXPECT_EQ(addIn->sink(), nullptr);  // the sink was released first
}

}  // namespace
}  // namespace inkra::addin
