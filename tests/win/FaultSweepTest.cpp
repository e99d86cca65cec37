// The road of one signature with the host failing once, at each of its calls in turn: connect,
// click, the board signed and confirmed, the insertion, disconnect, through the built DLL loaded
// as Office loads it. Whichever call fails, the host survives: no crash, no hang, no window, GDI
// object or host object left behind, the DLL free to unload, no hand-off file on disk, and the
// user told exactly when the signature did not get into the document.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <string>
#include <vector>

#include "ByteSink.h"
#include "HandOffFile.h"
#include "HostTexts.h"
#include "IDTExtensibility2.h"
#include "TextConvert.h"
#include "WhiteBorad.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/AddInDll.h"
#include "support/BoardDriver.h"
#include "support/GdiObjects.h"

namespace inkra::test {
namespace {

using office::HostDouble;
using office::HostKind;

// The files the DLL's board and seal dialogs hand over in, by their fixed paths.
constexpr const wchar_t* kHandOffFiles[] = {L"c:\\00000001InkraWebWhirte.wmf", L"c:\\temp00000001.bmp"};
// Bounds one road: a hung road fails, and the driver then closes its windows.
constexpr DWORD kRoadTimeoutMs = 15000;

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// Windows of this thread, hidden ones included.
int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

bool HandOffFileLeft() {
  for (const wchar_t* path : kHandOffFiles)
    for (const std::wstring& at : {std::wstring(path), win::TempFolderPathFor(path)})
      if (GetFileAttributesW(at.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  return false;
}

int FailuresSoFar() { return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count(); }

struct Road {
  long calls = 0;          // calls into the host along it
  bool clicked = false;    // the button was there to click
  bool inserted = false;   // the picture is in the document
  bool leftAfterConnection = false;  // a hand-off file on disk once connected
  size_t shapes = 0;
  std::vector<MessageBoxInfo> insertionBoxes;  // captioned with the button's name
  std::vector<std::string> driverFailures;     // a hang shows here
  long hostObjectsLeft = 0, hostObjectsBefore = 0;
};

class FaultSweep : public ::testing::TestWithParam<HostKind> {
 protected:
  // One road with the host's n-th call failing (0: none).
  Road Travel(long failAt) {
    Road road;
    HostDouble host(GetParam());
    // The user has a document or workbook open.
    if (GetParam() == HostKind::Word) {
      host.Word().documents.push_back(std::make_shared<office::DocumentState>());
      host.Word().active = 0;
    } else {
      host.Excel().AddWorkbook();
    }
    road.hostObjectsBefore = host.log().live().Count();
    std::atomic<bool> done{false};
    UiDriver ui(kRoadTimeoutMs);
    ui.Then([&](UiDriver& d) { SignAndAnswer(d, done, road); });
    host.log().FailNthCall(failAt, E_FAIL);
    {
      win::ComPtr<IDTExtensibility2> addIn = dll.Create(GetParam());
      addIn->OnConnection(host.Application(), 1, nullptr, nullptr);
      road.leftAfterConnection = HandOffFileLeft();
      office::CommandBarState* bar = host.profile().Find(L"InkraSoft");
      if (bar && !bar->controls.empty() && !bar->controls[0]->sinks.empty()) {
        road.clicked = true;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        office::FireClick(host, *bar->controls[0], cancel);
      }
      addIn->OnDisconnection(0, nullptr);
    }
    done = true;
    road.driverFailures = ui.Join();
    road.calls = host.log().CallsCounted();
    road.shapes = AddInDll::Shapes(host).items.size();
    road.inserted = road.shapes > 0;
    road.hostObjectsLeft = host.log().live().Count();
    return road;
  }

  // The user: signs and confirms the board when it opens, and answers every message box.
  static void SignAndAnswer(UiDriver& d, const std::atomic<bool>& done, Road& road) {
    const DWORD start = GetTickCount();
    bool signedBoard = false;
    while (!done) {
      if (GetTickCount() - start > kRoadTimeoutMs) d.Fail("the road did not end");
      for (HWND window : UiDriver::TopLevelWindows()) {
        const std::wstring className = UiDriver::ClassName(window);
        if (className == kDialogClass) {
          MessageBoxInfo box = d.ReadMessageBox(window);
          if (box.caption == win::Utf8ToWide(addin::kInsertCaption)) road.insertionBoxes.push_back(box);
          d.PressButton(window, IDOK);
          d.WaitUntilGone(window);
        } else if (className == L"TfrmWhiteBorad" && !signedBoard) {
          signedBoard = true;
          Stroke(d.Child(window, L"InkraBoardView", nullptr), {{60, 60}, {160, 90}, {260, 60}});
          ClickTool(d.Child(window, TOOLBARCLASSNAMEW, nullptr), board::win::kBtnOK);
        }
      }
      Sleep(5);
    }
  }

  Apartment apartment;
  AddInDll dll;
};

TEST_P(FaultSweep, EveryInjectedHostFailureAlongTheRoadIsSurvived) {
  ASSERT_TRUE(dll.Loaded());
  // Hand-off files a crashed host left behind, with a signature in them: the connection removes them.
  for (const wchar_t* path : kHandOffFiles)
    for (const std::wstring& at : {std::wstring(path), win::TempFolderPathFor(path)})
      WriteFileBytes(at, std::vector<std::uint8_t>{'B', 'M'});
  const int windows = ThreadWindows();

  // The road without a failure: how many calls it makes, and the GDI objects a road keeps for
  // good (stock objects, cached fonts) counted in from the start.
  const Road clean = Travel(0);
  ASSERT_TRUE(clean.clicked);
  ASSERT_EQ(clean.shapes, 1u);
  ASSERT_TRUE(clean.insertionBoxes.empty());
  ASSERT_FALSE(clean.leftAfterConnection);
  ASSERT_GT(clean.calls, 20);
  long gdi = GdiObjectCount();
  ASSERT_GT(gdi, 0);
  bool boxSeen = false;

  long survived = 0, clicked = 0, inserted = 0, told = 0;
  for (long n = 1; n <= clean.calls; ++n) {
    SCOPED_TRACE("host call " + std::to_string(n) + " of " + std::to_string(clean.calls) + " failing");
    const int failuresBefore = FailuresSoFar();
    const Road road = Travel(n);
    clicked += road.clicked;
    inserted += road.inserted;
    told += long(road.insertionBoxes.size());
    EXPECT_EQ(road.driverFailures, std::vector<std::string>{});
    EXPECT_EQ(ThreadWindows(), windows);
    // The first message box of the process loads the system's message-box font and icons for
    // good; after that, no road may keep a GDI object.
    if (road.insertionBoxes.empty() || boxSeen) {
      EXPECT_LE(GdiObjectCount(), gdi);
    } else {
      boxSeen = true;
      gdi = std::max(gdi, GdiObjectCount());
    }
    EXPECT_EQ(road.hostObjectsLeft, road.hostObjectsBefore);
    EXPECT_EQ(dll.CanUnloadNow(), S_OK);
    EXPECT_FALSE(HandOffFileLeft());
    EXPECT_LE(road.shapes, 1u);
    // Told exactly when a signature that was made did not get in, and where it is instead.
    const bool lost = road.clicked && !road.inserted;
    EXPECT_EQ(road.insertionBoxes.size(), lost ? 1u : 0u);
    for (const MessageBoxInfo& box : road.insertionBoxes)
      EXPECT_NE(box.text.find(win::Utf8ToWide(addin::kOnClipboard)), std::wstring::npos) << win::WideToUtf8(box.text);
    if (FailuresSoFar() == failuresBefore) ++survived;
  }
  const std::string figure = std::to_string(survived) + " of " + std::to_string(clean.calls) +
                             " injected failures survived; " + std::to_string(clicked) + " reached the board, " +
                             std::to_string(inserted) + " inserted, " + std::to_string(told) + " told (" + std::to_string(gdi) +
                             " GDI objects at the most, never more after the first message box)";
  std::cout << (GetParam() == HostKind::Word ? "Word: " : "Excel: ") << figure << std::endl;
  RecordProperty("figure", figure);
  EXPECT_EQ(survived, clean.calls);
}

INSTANTIATE_TEST_SUITE_P(Hosts, FaultSweep, ::testing::Values(HostKind::Word, HostKind::Excel),
                         [](const auto& info) { return info.param == HostKind::Word ? "Word" : "Excel"; });

}  // namespace
}  // namespace inkra::test
