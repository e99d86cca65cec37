// Lifetimes a host relies on: every host object the add-in took is released again (the former
// application's on a reconnection), a button's Click stops with the button object, and a
// disconnection while the board is open frees nothing under the running click.
#include <atomic>

#include "ExcelAddIn_IMPL.h"
#include "ServerState.h"
#include "TextConvert.h"
#include "ToolbarClickSupport.h"
#include "WordAddIn_IMPL.h"

namespace inkra::addin {
namespace {

using test::office::HostDouble;
using test::office::HostKind;

TToolbarAddIn* NewAddIn(HostKind kind) {
  if (kind == HostKind::Word) return new TWordAddIn;
  return new TExcelAddIn;
}

const char* Name(HostKind kind) { return kind == HostKind::Word ? "Word" : "Excel"; }

TEST(AddInLifetime, EveryHostObjectIsReleasedAndTheFormerApplicationOnAReconnection) {
  test::Apartment apartment;
  for (HostKind kind : {HostKind::Word, HostKind::Excel}) {
    SCOPED_TRACE(Name(kind));
    HostDouble first(kind), second(kind);
    const long firstBase = first.log().live().Count(), secondBase = second.log().live().Count();
    const long objects = LiveObjects(), sinks = TEventSink::LiveSinks();
    {
      win::ComPtr<TToolbarAddIn> addIn = win::Adopt(NewAddIn(kind));
      ASSERT_EQ(addIn->OnConnection(first.Application(), 0, nullptr, nullptr), S_OK);
      EXPECT_GT(first.log().live().Count(), firstBase);
      auto firstButton = first.profile().Find(L"InkraSoft")->controls.at(0);
      ASSERT_EQ(firstButton->sinks.size(), 1u);

      // Connected again, elsewhere, without a disconnection: nothing of the first host is kept,
      // and its button no longer reaches the add-in.
      ASSERT_EQ(addIn->OnConnection(second.Application(), 0, nullptr, nullptr), S_OK);
      EXPECT_EQ(first.log().live().Count(), firstBase);
      EXPECT_TRUE(firstButton->sinks.empty());
      EXPECT_EQ(second.profile().Find(L"InkraSoft")->controls.at(0)->sinks.size(), 1u);
      EXPECT_EQ(TEventSink::LiveSinks(), sinks + 1);

      EXPECT_EQ(addIn->OnDisconnection(kRemoveModeHostShutdown, nullptr), S_OK);
      EXPECT_EQ(TEventSink::LiveSinks(), sinks);
    }
    EXPECT_EQ(second.log().live().Count(), secondBase);
    EXPECT_EQ(LiveObjects(), objects);
  }
}

TEST(AddInLifetime, AButtonStopsFiringClickOnceTheObjectItsSinkWasAdvisedThroughIsReleased) {
  test::Apartment apartment;
  HostDouble word(HostKind::Word);
  const long sinks = TEventSink::LiveSinks();
  win::ComPtr<TToolbarAddIn> addIn = win::Adopt(NewAddIn(HostKind::Word));
  ASSERT_EQ(addIn->OnConnection(word.Application(), 0, nullptr, nullptr), S_OK);
  auto button = word.profile().Find(L"InkraSoft")->controls.at(0);
  ASSERT_EQ(button->sinks.size(), 1u);
  // Destroying the add-in releases its button object: Office then drops the advised sink, which
  // goes with it.
  addIn.Reset();
  EXPECT_TRUE(button->sinks.empty());
  EXPECT_EQ(TEventSink::LiveSinks(), sinks);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  EXPECT_EQ(FireClick(word, *button, cancel), S_OK);
}

// The user unticks the add-in while the board of a click is open: the host disconnects it and
// drops its reference from inside the board's modal loop.
class DisconnectDuringBoard : public HostClick, public ::testing::WithParamInterface<HostKind> {
 protected:
  DisconnectDuringBoard() : HostClick(GetParam(), NewAddIn(GetParam())) {}

  static void CALLBACK Disconnect(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    current->addIn->OnDisconnection(kRemoveModeUserClosed, nullptr);
    current->addIn.Reset();
    current->disconnected = true;
  }

  static inline DisconnectDuringBoard* current = nullptr;
  std::atomic<bool> disconnected{false};
};

TEST_P(DisconnectDuringBoard, TheClickFinishesWithoutInsertingAndThenTheAddInIsFreed) {
  host.Word().documents.push_back(std::make_shared<test::office::DocumentState>());
  host.Word().active = 0;
  host.Excel().AddWorkbook();
  const long objects = LiveObjects() - 1;  // the add-in goes
  current = this;
  SetTimer(nullptr, 0, 10, &Disconnect);  // runs once the board's modal loop pumps messages
  EmptyTheClipboard();
  std::vector<test::MessageBoxInfo> boxes;
  Click(
      [this](test::UiDriver& d, HWND, HWND toolbar, HWND) {
        test::Eventually(d, [this] { return disconnected.load(); }, "the disconnection");
        test::ClickTool(toolbar, board::win::kBtnOK);  // the board writes its file and closes
      },
      3000, &boxes);
  // Nobody takes the picture now: the user is told, and has it on the clipboard.
  ExpectKeptOnTheClipboard(boxes, kHostGone, 602, 258);
  EXPECT_TRUE(disconnected);
  EXPECT_EQ(LiveObjects(), objects);
  EXPECT_EQ(host.profile().Find(L"InkraSoft"), nullptr);  // removed by the user
  EXPECT_TRUE(host.log().CallsTo(L"*", L"AddPicture").empty()) << win::WideToUtf8(host.log().Describe());
  EXPECT_EQ(host.log().live().Count(), HostDouble(GetParam()).log().live().Count());  // its Application alone
  EXPECT_TRUE(button->sinks.empty());
  EXPECT_FALSE(FileExists(handOff));  // written by the board, then removed
}

INSTANTIATE_TEST_SUITE_P(BothHosts, DisconnectDuringBoard, ::testing::Values(HostKind::Word, HostKind::Excel),
                         [](const auto& info) { return std::string(Name(info.param)); });

}  // namespace
}  // namespace inkra::addin
