// The seal dialogs' templates, code and stamp's look driven as a user drives them: the seal
// handed off at the board's dpi measures the template on paper (72 points per inch of the
// board's picture), "自定义" gives the classic pixels, and "上次使用" brings back the last seal.
#include <gtest/gtest.h>

#include "SealTestSupport.h"  // windows.h before the canvas, whose TextOut it renames

#include "MemorySettingsStore.h"
#include "SealTemplates.h"
#include "StoredSeals.h"
#include "UtOneSign.h"
#include "uSign.h"

namespace inkra::test {
namespace {

using Failures = std::vector<std::string>;
using win::TfrmOneSign;
using win::TfrmSign;

struct Dialog {
  bool round;
  const wchar_t* cls;
  const wchar_t* caption;
  int templateId, okId;
};
const Dialog kRound{true, L"TfrmSign", L"公章制作", TfrmSign::idTemplate, TfrmSign::idBtnOk};
const Dialog kSquare{false, L"TfrmOneSign", L"私章制作", TfrmOneSign::idTemplate, TfrmOneSign::idBtnOk};

// Opens the dialog, does `steps`, presses "确 定" and reads back what it wrote.
Bitmap Confirmed(const Dialog& dialog, int dpi, SealMemory* memory, const std::function<void(UiDriver&, HWND)>& steps) {
  ScratchFolder scratch(L"sealtemplate");
  const std::wstring path = scratch.File(L"temp00000001.bmp");
  std::unique_ptr<win::SealForm> form;
  if (dialog.round) {
    form = std::make_unique<TfrmSign>(nullptr, path, dpi, memory);
  } else {
    form = std::make_unique<TfrmOneSign>(nullptr, path, dpi, memory);
  }
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(dialog.cls, dialog.caption);
    steps(d, w);
    d.PressButton(w, dialog.okId);
    d.WaitUntilGone(w);
  });
  form->ShowModal();
  EXPECT_EQ(ui.Join(), Failures{});
  EXPECT_TRUE(form->Accepted());
  return ReadBack(path);
}

void ChooseTemplate(UiDriver& d, HWND w, const Dialog& dialog, int index) {
  HWND list = d.Child(w, L"ComboBox", nullptr, dialog.templateId);
  // Sent, not posted: the choice is handled (fields set, seal redrawn) when this returns.
  DWORD_PTR done = 0;
  SendMessageTimeoutW(list, CB_SETCURSEL, WPARAM(index), 0, SMTO_NORMAL, 5000, &done);
  SendMessageTimeoutW(w, WM_COMMAND, MAKEWPARAM(dialog.templateId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list),
                      SMTO_NORMAL, 10000, &done);
}

// The ink's outer extent in the file: columns and rows with at least half coverage.
std::pair<int, int> InkExtent(const Bitmap& b) {
  int left = b.Width(), right = -1, top = b.Height(), bottom = -1;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Row(y)[4 * x + 3] >= 128) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  return {right - left + 1, bottom - top + 1};
}

TEST(SealTemplateDialogs, EachTemplateHandsOffItsSizeOnPaperAt96And144Dpi) {
  for (const Dialog* dialog : {&kRound, &kSquare}) {
    const int count = int((dialog->round ? RoundTemplateNames() : SquareTemplateNames()).size());
    for (int index = 1; index < count; ++index)
      for (int dpi : {96, 144}) {
        const Bitmap file = Confirmed(*dialog, dpi, nullptr, [&](UiDriver& d, HWND w) { ChooseTemplate(d, w, *dialog, index); });
        const SealSizeMm mm = dialog->round ? RoundTemplateSize(index) : SquareTemplateSize(index);
        const auto [w, h] = InkExtent(file);
        const double wantW = mm.width * 72 / 25.4, wantH = mm.height * 72 / 25.4;
        EXPECT_NEAR(w * 72.0 / dpi, wantW, wantW / 100) << index << " at " << dpi;
        EXPECT_NEAR(h * 72.0 / dpi, wantH, wantH / 100) << index << " at " << dpi;
      }
  }
}

TEST(SealTemplateDialogs, BackToCustomGivesTheClassicPicture) {
  for (const Dialog* dialog : {&kRound, &kSquare}) {
    const Bitmap classic = Confirmed(*dialog, 96, nullptr, [](UiDriver&, HWND) {});
    const Bitmap back = Confirmed(*dialog, 96, nullptr, [&](UiDriver& d, HWND w) {
      ChooseTemplate(d, w, *dialog, 2);
      ChooseTemplate(d, w, *dialog, 0);
    });
    EXPECT_TRUE(classic.Pixels() == back.Pixels() && classic.Width() == back.Width());
  }
}

TEST(SealTemplateDialogs, TheStampLookIsTheSameEveryTimeAndChangesPartOfTheInk) {
  for (const Dialog* dialog : {&kRound, &kSquare}) {
    const int look = dialog->round ? int(TfrmSign::idLook) : int(TfrmOneSign::idLook);
    auto withLook = [&](bool on) {
      return Confirmed(*dialog, 96, nullptr, [&](UiDriver& d, HWND w) {
        ChooseTemplate(d, w, *dialog, 1);
        if (on) PostMessageW(GetDlgItem(w, look), BM_CLICK, 0, 0);  // ticks it, as a click does
      });
    };
    const Bitmap plain = withLook(false), first = withLook(true), second = withLook(true);
    EXPECT_TRUE(first.Pixels() == second.Pixels());
    int ink = 0, changed = 0;
    for (int y = 0; y < plain.Height(); ++y)
      for (int x = 0; x < plain.Width(); ++x) {
        const bool inked = plain.Row(y)[4 * x + 3] > 0;
        ink += inked;
        changed += inked && plain.Row(y)[4 * x + 3] != first.Row(y)[4 * x + 3];
      }
    EXPECT_GE(changed, ink * 3 / 100);
    EXPECT_LE(changed, ink * 25 / 100);
  }
}

TEST(SealTemplateDialogs, ACodeOfDigitsIsDrawnAndAnythingElseIsRefusedWithAHint) {
  MessageBoxInfo hint;
  std::wstring kept;
  const Bitmap without = Confirmed(kRound, 96, nullptr, [](UiDriver&, HWND) {});
  const Bitmap with = Confirmed(kRound, 96, nullptr, [&](UiDriver& d, HWND w) {
    HWND code = d.Child(w, L"Edit", nullptr, TfrmSign::idCodeNo);
    SetTextNoWait(code, L"1234567890123");
    TextOnceItIs(code, L"1234567890123");
    SetTextNoWait(code, L"12345678901234");  // fourteen digits
    hint = AnswerHint(d);
    kept = TextOnceItIs(code, L"1234567890123");
  });
  EXPECT_EQ(hint.text, L"编码只能是13位以内的数字！");
  EXPECT_EQ(kept, L"1234567890123");
  EXPECT_FALSE(with.Pixels() == without.Pixels()) << "the code left no ink";
}

TEST(SealTemplateDialogs, LastUsedRestoresTheSealAcceptedInAnEarlierBoard) {
  board::MemorySettingsStore machine, user;
  machine.refuseOpen = true;
  board::SettingsStore* stores[] = {&machine, &user};
  board::StoredSeals first(stores);
  const Bitmap made = Confirmed(kRound, 96, &first, [&](UiDriver& d, HWND w) {
    ChooseTemplate(d, w, kRound, 4);
    SetTextNoWait(d.Child(w, L"Edit", nullptr, TfrmSign::idInput), L"广州某某有限公司");
    SetTextNoWait(d.Child(w, L"Edit", nullptr, TfrmSign::idCodeNo), L"4401000011111");
    TextOnceItIs(d.Child(w, L"Edit", nullptr, TfrmSign::idCodeNo), L"4401000011111");
  });
  // A later board: its own memory over the same stores, the dialog opening on "自定义".
  board::StoredSeals later(stores);
  int entries = 0;
  std::wstring text, code;
  const Bitmap restored = Confirmed(kRound, 96, &later, [&](UiDriver& d, HWND w) {
    HWND list = d.Child(w, L"ComboBox", nullptr, kRound.templateId);
    entries = int(SendMessageW(list, CB_GETCOUNT, 0, 0));
    ChooseTemplate(d, w, kRound, entries - 1);
    text = TextOf(d.Child(w, L"Edit", nullptr, TfrmSign::idInput));
    code = TextOf(d.Child(w, L"Edit", nullptr, TfrmSign::idCodeNo));
  });
  EXPECT_EQ(entries, int(RoundTemplateNames().size()) + 1);
  EXPECT_EQ(text, L"广州某某有限公司");
  EXPECT_EQ(code, L"4401000011111");
  EXPECT_TRUE(made.Pixels() == restored.Pixels());
}

}  // namespace
}  // namespace inkra::test
