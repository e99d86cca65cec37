// TMSOfficeAddIn's connection against Word, Excel and Outlook host doubles: host name, command-bar
// binding, the bind failure box, and errors returned to the host.
#include <gtest/gtest.h>

#include "AddInTestSupport.h"
#include "ComPtr.h"
#include "OfficeIds.h"
#include "ServerState.h"
#include "TextConvert.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/ComFailures.h"

namespace inkra::addin {
namespace {

using test::MessageBoxInfo;
using test::TakeErrorInfo;
using test::UiDriver;
using test::office::HostDouble;
using test::office::HostKind;
using win::ComPtr;

constexpr DWORD kQuietMs = 400;  // how long a test watches for a box that should not come

class Connection : public ::testing::Test {
 protected:
  void SetUp() override { addIn = NewAddIn(); }
  HRESULT Connect(HostDouble& host) {
    return addIn->OnConnection(host.Application(), 1, nullptr, nullptr);
  }
  // Connects while watching for message boxes; returns the boxes seen.
  std::vector<MessageBoxInfo> ConnectWatching(HostDouble& host, HRESULT& hr) {
    return BoxesDuring(kQuietMs, [&] { hr = Connect(host); });
  }
  static ComPtr<ScriptedAddIn> NewAddIn() { return win::Adopt(new ScriptedAddIn); }

  test::Apartment apartment;
  ComPtr<ScriptedAddIn> addIn;
};

TEST_F(Connection, OutlookBindsNothingAndShowsNothing) {
  HostDouble outlook(HostKind::Outlook);
  HRESULT hr = E_FAIL;
  EXPECT_TRUE(ConnectWatching(outlook, hr).empty());
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(addIn->hostName(), L"Outlook");
  EXPECT_EQ(addIn->commandBars(), nullptr);
  EXPECT_EQ(addIn->application(), outlook.Application());
  EXPECT_TRUE(outlook.log().CallsTo(L"*", L"CommandBars").empty());
  EXPECT_EQ(addIn->calls, std::vector<std::wstring>{L"Connection"});
  EXPECT_EQ(addIn->lastMode, 1);
}

TEST_F(Connection, NamesOnlyResemblingOutlookBind) {
  for (const wchar_t* name : {L"outlook", L"Outlook 2003", L"OUTLOOK", L" Outlook"}) {
    SCOPED_TRACE(win::WideToUtf8(name));
    HostDouble word(HostKind::Word);
    word.SetName(name);
    ComPtr<ScriptedAddIn> fresh = NewAddIn();
    ASSERT_EQ(fresh->OnConnection(word.Application(), 0, nullptr, nullptr), S_OK);
    EXPECT_EQ(fresh->hostName(), name);
    ASSERT_NE(fresh->commandBars(), nullptr);
    EXPECT_EQ(word.log().CallsTo(L"Application", L"CommandBars").size(), 1u);
  }
}

TEST_F(Connection, BindsTheCommandBarCollection) {
  HostDouble excel(HostKind::Excel);
  ASSERT_EQ(Connect(excel), S_OK);
  EXPECT_EQ(addIn->hostName(), L"Microsoft Excel");
  ASSERT_NE(addIn->commandBars(), nullptr);
  // The collection itself, as _CommandBars.
  ComPtr<IUnknown> viaQuery;
  ASSERT_EQ(addIn->commandBars()->QueryInterface(inkra::office::IID__CommandBars,
                                                 reinterpret_cast<void**>(viaQuery.GetAddressOf())),
            S_OK);
  auto name = addIn->GetAppProperty(L"Name");
  EXPECT_EQ(name.vt(), VT_BSTR);
  auto reads = excel.log().CallsTo(L"Application", L"Name");
  ASSERT_FALSE(reads.empty());
  EXPECT_EQ(reads[0].flags, DISPATCH_PROPERTYGET);
  EXPECT_EQ(reads[0].locale, 0x400u);
  EXPECT_TRUE(reads[0].args.empty());
}

TEST_F(Connection, AnEmptyOrUnreadableNameGivesTheFallbackAndStillBinds) {
  const struct {
    const char* what;
    std::function<void(HostDouble&)> arrange;
    VARTYPE nameRead;  // what GetAppProperty(Name) gives
  } cases[] = {
      {"empty", [](HostDouble& h) { h.SetName(L""); }, VT_BSTR},
      {"failing", [](HostDouble& h) { h.log().FailCall(L"Application", L"Name", E_FAIL, L"no name today"); },
       VT_EMPTY},
      {"lacking", [](HostDouble& h) { h.log().Lack(L"Application", L"Name"); }, VT_EMPTY},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HostDouble word(HostKind::Word);
    c.arrange(word);
    ComPtr<ScriptedAddIn> fresh = NewAddIn();
    ASSERT_EQ(fresh->OnConnection(word.Application(), 0, nullptr, nullptr), S_OK);
    EXPECT_EQ(fresh->hostName(), L"没有找到MS Office组件！");
    EXPECT_NE(fresh->commandBars(), nullptr);
    EXPECT_EQ(fresh->GetAppProperty(L"Name").vt(), c.nameRead);
  }
}

// The caption Windows gives a message box that has none, read from a box shown here.
std::wstring DefaultCaption() {
  std::wstring caption;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND box = d.WaitForWindow(test::kDialogClass, nullptr);
    caption = d.ReadMessageBox(box).caption;
    d.PressButton(box, IDOK);
  });
  MessageBoxW(nullptr, L"reference", nullptr, MB_OK);
  ui.Join();
  return caption;
}

TEST_F(Connection, AHostWithoutCommandBarsShowsTheBindBoxOnceAndGoesOn) {
  HostDouble word(HostKind::Word);
  word.log().Lack(L"Application", L"CommandBars");
  addIn->result = S_FALSE;
  HRESULT hr = E_FAIL;
  std::vector<MessageBoxInfo> seen = ConnectWatching(word, hr);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, L"Failed to bind to MS Office application command bars!");
  EXPECT_EQ(seen[0].caption, DefaultCaption());
  EXPECT_EQ(seen[0].icon, test::MessageIcon::None);
  ASSERT_EQ(seen[0].buttons.size(), 1u);
  EXPECT_EQ(seen[0].buttons[0].id, IDOK);
  EXPECT_EQ(addIn->calls, std::vector<std::wstring>{L"Connection"});
  EXPECT_EQ(hr, S_OK);  // DoOnConnection succeeded (S_FALSE is success)
  EXPECT_EQ(addIn->commandBars(), nullptr);
  EXPECT_EQ(addIn->hostName(), L"Microsoft Word");
}

TEST_F(Connection, CommandBarsThatAreNoCollectionFailToBind) {
  HostDouble word(HostKind::Word);
  word.log().FailCall(L"Application", L"CommandBars", E_ACCESSDENIED);
  HRESULT hr = E_FAIL;
  EXPECT_EQ(ConnectWatching(word, hr).size(), 1u);
  EXPECT_EQ(addIn->commandBars(), nullptr);
  EXPECT_FALSE(addIn->BindCommandBars());
}

TEST_F(Connection, AFailingDoOnConnectionReturnsItsFailureWithErrorInformation) {
  HostDouble word(HostKind::Word);
  addIn->result = E_ACCESSDENIED;
  SetErrorInfo(0, nullptr);
  EXPECT_EQ(Connect(word), E_ACCESSDENIED);
  const test::ErrorInformation info = TakeErrorInfo();
  EXPECT_EQ(info.source, L"MSOAddIn.WordAddIn");
  EXPECT_NE(info.description.find(L"DoOnConnection"), std::wstring::npos) << info.description;
  EXPECT_TRUE(IsEqualGUID(info.guid, __uuidof(IDTExtensibility2)));
  // The fields of steps 1 to 3 stay set.
  EXPECT_EQ(addIn->application(), word.Application());
  EXPECT_EQ(addIn->hostName(), L"Microsoft Word");
  EXPECT_NE(addIn->commandBars(), nullptr);
}

TEST_F(Connection, NoCppExceptionLeavesAHostCalledMethod) {
  HostDouble word(HostKind::Word);
  addIn->throwStd = true;
  SetErrorInfo(0, nullptr);
  EXPECT_EQ(Connect(word), E_UNEXPECTED);
  EXPECT_EQ(TakeErrorInfo().description, L"scripted failure");
  EXPECT_EQ(addIn->OnDisconnection(1, nullptr), E_UNEXPECTED);
  EXPECT_EQ(addIn->OnAddInsUpdate(nullptr), E_UNEXPECTED);
  EXPECT_EQ(addIn->OnStartupComplete(nullptr), E_UNEXPECTED);
  EXPECT_EQ(addIn->OnBeginShutdown(nullptr), E_UNEXPECTED);
  const test::ErrorInformation info = TakeErrorInfo();
  EXPECT_EQ(info.source, L"MSOAddIn.WordAddIn");
  EXPECT_EQ(info.description, L"scripted failure");
}

TEST_F(Connection, TheOtherNotificationsPassTheirArgumentsAndResults) {
  HostDouble word(HostKind::Word);
  ASSERT_EQ(Connect(word), S_OK);
  addIn->result = DISP_E_OVERFLOW;
  EXPECT_EQ(addIn->OnDisconnection(kRemoveModeUserClosed, nullptr), DISP_E_OVERFLOW);
  EXPECT_EQ(addIn->lastMode, 1);
  addIn->result = S_OK;
  EXPECT_EQ(addIn->OnDisconnection(kRemoveModeHostShutdown, nullptr), S_OK);
  EXPECT_EQ(addIn->lastMode, 0);
  EXPECT_EQ(addIn->OnAddInsUpdate(nullptr), S_OK);
  EXPECT_EQ(addIn->OnStartupComplete(nullptr), S_OK);
  EXPECT_EQ(addIn->OnBeginShutdown(nullptr), S_OK);
  EXPECT_EQ(addIn->calls, (std::vector<std::wstring>{L"Connection", L"Disconnection", L"Disconnection",
                                                     L"AddInsUpdate", L"StartupComplete", L"BeginShutdown"}));
  // Disconnection leaves the fields as they were.
  EXPECT_EQ(addIn->application(), word.Application());
  EXPECT_NE(addIn->commandBars(), nullptr);
}

TEST_F(Connection, ReconnectingReplacesTheApplication) {
  HostDouble first(HostKind::Word), second(HostKind::Excel);
  ASSERT_EQ(Connect(first), S_OK);
  ASSERT_EQ(Connect(second), S_OK);
  EXPECT_EQ(addIn->application(), second.Application());
  EXPECT_EQ(addIn->hostName(), L"Microsoft Excel");
}

TEST(AddInDefaults, EachNotificationShowsItsOwnBox) {
  test::Apartment apartment;
  HostDouble outlook(HostKind::Outlook);
  ComPtr<PlainAddIn> addIn = win::Adopt(new PlainAddIn);
  const std::vector<MessageBoxInfo> seen = BoxesDuring(kQuietMs * 3, [&] {
    EXPECT_EQ(addIn->OnConnection(outlook.Application(), 0, nullptr, nullptr), S_OK);
    EXPECT_EQ(addIn->OnAddInsUpdate(nullptr), S_OK);
    EXPECT_EQ(addIn->OnStartupComplete(nullptr), S_OK);
    EXPECT_EQ(addIn->OnBeginShutdown(nullptr), S_OK);
    EXPECT_EQ(addIn->OnDisconnection(0, nullptr), S_OK);
  });
  const wchar_t* expected[] = {L"TMSOfficeAddIn.DoOnConnection", L"TMSOfficeAddIn.DoOnAddInsUpdate",
                               L"TMSOfficeAddIn.DoOnStartupComplete", L"TMSOfficeAddIn.DoOnBeginShutdown",
                               L"TMSOfficeAddIn.DoOnDisconnection"};
  ASSERT_EQ(seen.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(seen[i].text, expected[i]);
    EXPECT_EQ(seen[i].caption, L"Message");
    EXPECT_EQ(seen[i].icon, test::MessageIcon::None);
    ASSERT_EQ(seen[i].buttons.size(), 1u);
    EXPECT_EQ(seen[i].buttons[0].id, IDOK);
  }
}

}  // namespace
}  // namespace inkra::addin
