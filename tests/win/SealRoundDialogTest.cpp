// The round seal dialog driven as a user drives it: its pictures, its spin fields, its text
// check messages and what "确 定" writes.
#include <gtest/gtest.h>

#include "SealTestSupport.h"
#include "uSign.h"

#include <commctrl.h>

namespace inkra::test {
namespace {

using Failures = std::vector<std::string>;
using win::TfrmSign;

constexpr const wchar_t* kClass = L"TfrmSign";
constexpr const wchar_t* kCaption = L"公章制作";

// The up-down control whose buddy is `edit`.
HWND UpDownOf(HWND edit) {
  for (HWND w = GetWindow(GetParent(edit), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (UiDriver::ClassName(w) == UPDOWN_CLASSW && reinterpret_cast<HWND>(SendMessageW(w, UDM_GETBUDDY, 0, 0)) == edit)
      return w;
  return nullptr;
}

// Runs the dialog with `steps` done on it, then "确 定"; returns the picture written.
Bitmap ConfirmAfter(const std::function<void(UiDriver&, HWND)>& steps, TfrmSign& form,
                    const std::wstring& path) {
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(kClass, kCaption);
    steps(d, w);
    d.PressButton(w, L"确 定");
  });
  form.ShowModal();
  EXPECT_EQ(ui.Join(), Failures{});
  EXPECT_TRUE(form.Accepted());
  EXPECT_EQ(form.WrittenPath(), path);
  return ReadBack(path);
}

TEST(SealRoundDialog, DefaultSealIs196SquareWithTheRingCutRightAndBottom) {
  ScratchFolder scratch(L"sealround");
  const std::wstring path = scratch.File(L"temp00000001.bmp");
  TfrmSign form(nullptr, path);
  const Bitmap file = ConfirmAfter([](UiDriver&, HWND) {}, form, path);
  ASSERT_EQ(file.Width(), 196);
  ASSERT_EQ(file.Height(), 196);
  ExpectCarriesInk(file, form);
  const Bitmap seal = ShownBy(form);
  EXPECT_EQ(form.TextRadius(), 84);
  EXPECT_EQ(form.CenterX(), 99);
  EXPECT_EQ(form.CenterY(), 99);
  // Outer band of o + 1 = 6 pixels, one white, the thin ring, then white.
  EXPECT_EQ(Walk(seal, clRed, 0, 99, 1, 0, 9), "ccccccwcw");
  EXPECT_EQ(Walk(seal, clRed, 99, 0, 0, 1, 9), "ccccccwcw");
  // The ring's box is 198 wide: two of the six band pixels on the right and bottom are cut.
  EXPECT_EQ(Walk(seal, clRed, 195, 99, -1, 0, 7), "ccccwcw");
  EXPECT_EQ(Walk(seal, clRed, 99, 195, 0, -1, 7), "ccccwcw");
  // Where the ring runs at 45 degrees the band's inner edge and the thin ring (narrower than a
  // pixel's diagonal there) are blends, not stairs.
  EXPECT_EQ(Walk(seal, clRed, 27, 27, 1, 1, 12), "wwcccc??wwww");
  int edges = 0;
  for (int y = 0; y < seal.Height(); ++y)
    for (int x = 0; x < seal.Width(); ++x) edges += Walk(seal, clRed, x, y, 0, 0, 1) == "?";
  EXPECT_GT(edges, 1000) << "the ring's and the characters' edges are not anti-aliased";
}

TEST(SealRoundDialog, RingWidthZeroLeavesLineWhiteLine) {
  ScratchFolder scratch(L"sealring0");
  const std::wstring path = scratch.File(L"temp00000001.bmp");
  TfrmSign form(nullptr, path);
  std::wstring ringText;
  ConfirmAfter(
      [&](UiDriver& d, HWND w) {
        HWND ring = d.Child(w, L"Edit", nullptr, TfrmSign::idOutWith);
        PostKey(ring, VK_NEXT);  // 5 - 10, held at the minimum 0
        PostKey(ring, VK_NEXT);
      },
      form, path);
  const Bitmap seal = ShownBy(form);
  EXPECT_EQ(form.Params().ringWidth, 0);
  EXPECT_EQ(Walk(seal, clRed, 0, 99, 1, 0, 4), "cwcw");
  EXPECT_EQ(Walk(seal, clRed, 99, 0, 0, 1, 4), "cwcw");
  EXPECT_EQ(Walk(seal, clRed, 195, 99, -1, 0, 2), "cw");
}

TEST(SealRoundDialog, SpinFieldsStepByKeysAndWheelAndRefuseTyping) {
  ScratchFolder scratch(L"sealspin");
  TfrmSign form(nullptr, scratch.File(L"temp00000001.bmp"));
  std::wstring afterPage, afterWheel, afterTypingAndDown, ringAtMaximum;
  std::pair<int, int> accelSeen;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(kClass, kCaption);
    HWND size = d.Child(w, L"Edit", nullptr, TfrmSign::idWordInt);
    // Held buttons step by one all along: a single acceleration entry of 1.
    UDACCEL accel[4] = {};
    DWORD_PTR entries = 0;
    SendMessageTimeoutW(UpDownOf(size), UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(accel), SMTO_NORMAL, 2000, &entries);
    accelSeen = {int(entries), int(accel[0].nInc)};
    PostKey(size, VK_PRIOR);  // 20 -> 30
    afterPage = TextOnceItIs(size, L"30");
    PostMessageW(size, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-2 * WHEEL_DELTA)), 0);  // two notches down
    PostMessageW(size, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(WHEEL_DELTA / 2)), 0);   // half a notch: nothing
    afterWheel = TextOnceItIs(size, L"28");
    PostMessageW(size, WM_CHAR, L'7', 1);  // typing is refused
    PostKey(size, VK_DOWN);
    afterTypingAndDown = TextOnceItIs(size, L"27");
    HWND ring = d.Child(w, L"Edit", nullptr, TfrmSign::idOutWith);
    for (int i = 0; i < 12; ++i) PostKey(ring, VK_PRIOR);  // 5 + 120, held at the maximum
    ringAtMaximum = TextOnceItIs(ring, L"100");
    d.PressButton(w, L"取 消");
  });
  form.ShowModal();
  EXPECT_EQ(ui.Join(), Failures{});
  EXPECT_EQ(accelSeen, std::make_pair(1, 1));
  EXPECT_EQ(afterPage, L"30");
  EXPECT_EQ(afterWheel, L"28");
  EXPECT_EQ(afterTypingAndDown, L"27");
  EXPECT_EQ(ringAtMaximum, L"100");
  EXPECT_EQ(form.Params().ringWidth, 100);
  EXPECT_EQ(form.Params().textSize, 27);
  EXPECT_FALSE(form.Accepted());
}

TEST(SealRoundDialog, ArrowKeysStepByOneWithinTheRangeAndRedraw) {
  ScratchFolder scratch(L"sealarrows");
  TfrmSign form(nullptr, scratch.File(L"temp00000001.bmp"));
  struct Case {
    int field;
    UINT key;
    int presses;
    std::wstring text;
  };
  // In order: a case may go on from the value an earlier one left.
  const Case cases[] = {
      {TfrmSign::idWordInt, VK_UP, 1, L"21"},     // 20 + 1
      {TfrmSign::idWordGD, VK_DOWN, 3, L"267"},   // 270 - 3
      {TfrmSign::idOutWith, VK_DOWN, 7, L"0"},    // 5 - 7, held at the minimum
      {TfrmSign::idOutWith, VK_UP, 1, L"1"},
      {TfrmSign::idWordInt, VK_UP, 80, L"100"},   // 21 + 80, held at the maximum
  };
  std::vector<std::wstring> texts;
  std::vector<bool> redrawn;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(kClass, kCaption);
    for (const Case& c : cases) {
      HWND field = d.Child(w, L"Edit", nullptr, c.field);
      const win::GdiCanvas* before = form.Picture();
      for (int i = 0; i < c.presses; ++i) PostKey(field, c.key);
      texts.push_back(TextOnceItIs(field, c.text));
      redrawn.push_back(Eventually([&] { return form.Picture() != before; }));
    }
    d.PressButton(w, L"取 消");
  });
  form.ShowModal();
  ASSERT_EQ(ui.Join(), Failures{});
  ASSERT_EQ(texts.size(), std::size(cases));
  for (std::size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(texts[i], cases[i].text);
    EXPECT_TRUE(redrawn[i]) << "the field's change did not reach the dialog";
  }
}

TEST(SealRoundDialog, InvalidTextsShowTheirMessageAndKeepThePicture) {
  ScratchFolder scratch(L"sealtext");
  TfrmSign form(nullptr, scratch.File(L"temp00000001.bmp"));
  struct Case {
    std::wstring text, message;
  };
  const Case cases[] = {
      {L"印", L"请输入2-18个之内的汉字！"},
      {L"一二三四五六七八九十甲乙丙丁戊己庚辛壬", L"请输入2-18个之内的汉字！"},
      {L"ab公章", L"不是有效的汉字！"},
      {L" 公章", L"不是有效的汉字！"},
  };
  std::vector<MessageBoxInfo> seen;
  std::vector<std::wstring> fieldAfter;
  std::vector<const win::GdiCanvas*> pictures;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(kClass, kCaption);
    HWND input = d.Child(w, L"Edit", nullptr, TfrmSign::idInput);
    pictures.push_back(form.Picture());
    for (const Case& c : cases) {
      SetTextNoWait(input, c.text);
      seen.push_back(AnswerHint(d));
      fieldAfter.push_back(TextOf(input));
      pictures.push_back(form.Picture());
    }
    d.SetText(input, L"公章测试");  // valid again: redraws, no message
    pictures.push_back(form.Picture());
    d.PressButton(w, L"取 消");
  });
  form.ShowModal();
  ASSERT_EQ(ui.Join(), Failures{});
  ASSERT_EQ(seen.size(), std::size(cases));
  for (std::size_t i = 0; i < seen.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(seen[i].caption, L"提示");
    EXPECT_EQ(seen[i].text, cases[i].message);
    EXPECT_EQ(seen[i].icon, MessageIcon::Information);
    ASSERT_EQ(seen[i].buttons.size(), 1u);
    EXPECT_EQ(seen[i].buttons[0].id, IDOK);
    EXPECT_EQ(fieldAfter[i], cases[i].text);  // left as typed
    EXPECT_EQ(pictures[i + 1], pictures[0]);  // nothing drawn
  }
  EXPECT_NE(pictures.back(), pictures[0]);
  EXPECT_FALSE(form.Accepted());
}

TEST(SealRoundDialog, OkWritesTheLastPreviewNotTheResizedPanel) {
  ScratchFolder scratch(L"sealresize");
  const std::wstring path = scratch.File(L"temp00000001.bmp");
  TfrmSign form(nullptr, path);
  RECT image{};
  Bitmap seal = ConfirmAfter(
      [&](UiDriver& d, HWND w) {
        PostKey(d.Child(w, L"Edit", nullptr, TfrmSign::idHight), VK_PRIOR);  // 200 -> 210
        PostKey(d.Child(w, L"Edit", nullptr, TfrmSign::idWith), VK_NEXT);    // 200 -> 190
        HWND picture = d.Child(w, L"InkraSealImage", nullptr);
        Eventually([&] {
          GetClientRect(picture, &image);
          return image.right == 186 && image.bottom == 206;
        });
      },
      form, path);
  EXPECT_EQ(image.right, 186);
  EXPECT_EQ(image.bottom, 206);
  EXPECT_EQ(seal.Width(), 196);
  EXPECT_EQ(seal.Height(), 196);
}

TEST(SealRoundDialog, PreviewAfterResizeDrawsTheNewSizeWithTheTextCentreMoved) {
  ScratchFolder scratch(L"sealhw");
  const std::wstring path = scratch.File(L"temp00000001.bmp");
  TfrmSign form(nullptr, path);
  const Bitmap file = ConfirmAfter(
      [&](UiDriver& d, HWND w) {
        HWND height = d.Child(w, L"Edit", nullptr, TfrmSign::idHight);
        PostKey(height, VK_PRIOR);  // 210
        PostKey(height, VK_PRIOR);  // 220
        d.PressButton(w, L"预 览");
      },
      form, path);
  ExpectCarriesInk(file, form);
  const Bitmap seal = ShownBy(form);
  EXPECT_EQ(seal.Width(), 196);
  EXPECT_EQ(seal.Height(), 216);
  EXPECT_EQ(form.CenterX(), 99);
  EXPECT_EQ(form.CenterY(), 109);
  // The ring stays a circle of diameter 198 at the top-left corner.
  EXPECT_EQ(Walk(seal, clRed, 99, 195, 0, -1, 7), "ccccwcw");
  EXPECT_EQ(Walk(seal, clRed, 99, 215, 0, -1, 18), std::string(18, 'w'));
}

bool ChooseSeaBlue(HWND, COLORREF& colour) {
  colour = RGB(0x12, 0x34, 0x56);
  return true;
}

TEST(SealRoundDialog, ChosenColoursAreWrittenExactly) {
  ScratchFolder scratch(L"sealcolour");
  const std::wstring path = scratch.File(L"temp00000001.bmp");
  {
    TfrmSign form(nullptr, path);
    Bitmap seal = ConfirmAfter(
        [&](UiDriver& d, HWND w) {
          HWND box = d.Child(w, L"ComboBox", nullptr, TfrmSign::idColor);
          DWORD_PTR index = 0;
          SendMessageTimeoutW(box, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(L"Navy"), SMTO_NORMAL,
                              2000, &index);
          ChooseEntry(w, box, int(index));
        },
        form, path);
    EXPECT_EQ(seal.PixelRGB(0, 99), clNavy);
    EXPECT_EQ(seal.PixelRGB(7, 99), clNavy);
  }
  win::ColourBox::SetChooser(ChooseSeaBlue);
  {
    TfrmSign form(nullptr, path);
    Bitmap seal = ConfirmAfter(
        [&](UiDriver& d, HWND w) {
          HWND box = d.Child(w, L"ComboBox", nullptr, TfrmSign::idColor);
          DWORD_PTR count = 0;
          SendMessageTimeoutW(box, CB_GETCOUNT, 0, 0, SMTO_NORMAL, 2000, &count);
          ChooseEntry(w, box, int(count) - 1);  // "Custom"
        },
        form, path);
    EXPECT_EQ(seal.PixelRGB(0, 99), RGB24(0x12, 0x34, 0x56));
    EXPECT_EQ(form.Params().colour, RGB24(0x12, 0x34, 0x56));
  }
  win::ColourBox::SetChooser(nullptr);
}

TEST(SealRoundDialog, CancelAndCloseBoxLeaveAcceptedFalseAndWriteNothing) {
  ScratchFolder scratch(L"sealcancel");
  const std::wstring path = scratch.File(L"temp00000001.bmp");
  for (bool closeBox : {false, true}) {
    TfrmSign form(nullptr, path);
    UiDriver ui;
    ui.Then([&](UiDriver& d) {
      HWND w = d.WaitForWindow(kClass, kCaption);
      if (closeBox) {
        d.Close(w);
      } else {
        d.PressButton(w, L"取 消");
      }
    });
    form.ShowModal();
    EXPECT_EQ(ui.Join(), Failures{});
    EXPECT_FALSE(form.Accepted());
    EXPECT_FALSE(FileExists(path));
  }
}

TEST(SealRoundDialog, UnwritableFileIsReportedAndTheDialogClosesAnyway) {
  ScratchFolder scratch(L"sealfail");
  const std::wstring name = L"sealfail" + std::to_wstring(GetCurrentProcessId()) + L".bmp";
  const std::wstring fixed = scratch.BlockedWithStandIn(name);
  TfrmSign form(nullptr, fixed);
  MessageBoxInfo error;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(kClass, kCaption);
    d.PressButton(w, L"确 定");
    HWND box = d.WaitForWindow(kDialogClass, nullptr);
    error = d.ReadMessageBox(box);
    d.PressButton(box, IDOK);
  });
  form.ShowModal();
  EXPECT_EQ(ui.Join(), Failures{});
  EXPECT_EQ(error.text, L"Cannot create file " + fixed);
  EXPECT_FALSE(form.Accepted());
  EXPECT_TRUE(form.WrittenPath().empty());
}

}  // namespace
}  // namespace inkra::test
