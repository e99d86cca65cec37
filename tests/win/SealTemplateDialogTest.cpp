// The seal dialogs' templates, code and stamp's look driven as a user drives them: the seal
// handed off at the board's dpi measures the template on paper (72 points per inch of the
// board's picture), "自定义" gives the classic pixels, and "上次使用" brings back the last seal.
#include <gtest/gtest.h>

#include "SealTestSupport.h"  // windows.h before the canvas, whose TextOut it renames

#include <cmath>

#include "AveragedBack.h"
#include "MemorySettingsStore.h"
#include "PrintOutput.h"
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

// Opens the dialog, does `steps`, presses "确 定" and reads back what it wrote; with `art`, what
// the dialog hands the board to draw the seal again, kept after the dialog is gone.
Bitmap Confirmed(const Dialog& dialog, int dpi, SealMemory* memory, const std::function<void(UiDriver&, HWND)>& steps,
                 std::shared_ptr<const ScalableArt>* art = nullptr) {
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
  if (art) *art = form->Art();
  return ReadBack(path);
}

void ChooseTemplate(UiDriver&, HWND w, const Dialog& dialog, int index) { test::ChooseTemplate(w, dialog.templateId, index); }

// The ink's outer extent in the file: columns and rows with at least half coverage.
std::pair<int, int> InkExtent(const Bitmap& b) {
  return test::InkExtent(b.Width(), b.Height(), [&b](int x, int y) { return b.Row(y)[4 * x + 3] >= 128; });
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

TEST(SealTemplateDialogs, TheAcceptedSealDrawsAgainAsTheFileAtOneAndAsThePreviewAtPrintScale) {
  const struct {
    const Dialog* dialog;
    int index, dpi;
    bool look;
  } cases[] = {{&kRound, 0, 96, false}, {&kRound, 1, 96, true}, {&kRound, 6, 96, true},
               {&kSquare, 2, 96, true},  {&kRound, 6, 144, true}, {&kSquare, 2, 144, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dialog->cls << " template " << c.index << " at " << c.dpi);
    const int look = c.dialog->round ? int(TfrmSign::idLook) : int(TfrmOneSign::idLook);
    std::shared_ptr<const ScalableArt> art;
    const Bitmap file = Confirmed(*c.dialog, c.dpi, nullptr, [&](UiDriver& d, HWND w) {
      ChooseTemplate(d, w, *c.dialog, c.index);
      if (c.look) PostMessageW(GetDlgItem(w, look), BM_CLICK, 0, 0);
    }, &art);
    ASSERT_NE(art, nullptr);  // the dialog is gone by now: the art stands on its own
    const Bitmap same = art->DrawAt(1);
    EXPECT_TRUE(same.Width() == file.Width() && same.Height() == file.Height() && same.Pixels() == file.Pixels());
    // At the print scale, averaged back to the file's pixels: the same seal, the look included. At
    // 144 dpi the file's own layout is rounded to whole pixels of 1.5 units (a 1-unit line is 2
    // pixels), which a finer drawing does not copy: there only the size is compared.
    const double scale = board::PrintScale({file.Width(), file.Height()}, c.dpi);
    const Bitmap print = art->DrawAt(scale);
    EXPECT_NEAR(print.Width(), file.Width() * scale, scale);  // sizes rounded from the 96-dpi layout
    EXPECT_NEAR(print.Height(), file.Height() * scale, scale);
    if (c.dpi != 96) continue;
    const std::vector<double> back = AveragedBack(print.Width(), print.Height(), scale, scale, file.Width(), file.Height(),
                                                  1, [&](int x, int y, int) { return print.Row(y)[4 * x + 3]; });
    // Compared over blocks of 4 x 4 pixels (about a millimetre at 96 dpi): a thin stroke a
    // fraction of a pixel apart differs pixel by pixel, the ink it puts on paper does not.
    double pixelDiff = 0, ink = 0, worstBlock = 0;
    for (int by = 0; by + 4 <= file.Height(); by += 4)
      for (int bx = 0; bx + 4 <= file.Width(); bx += 4) {
        double block = 0;
        for (int y = by; y < by + 4; ++y)
          for (int x = bx; x < bx + 4; ++x) {
            const double diff = back[std::size_t(y) * file.Width() + x] - file.Row(y)[4 * x + 3];
            block += diff / 16;
            pixelDiff += std::abs(diff);
            ink += file.Row(y)[4 * x + 3];
          }
        worstBlock = std::max(worstBlock, std::abs(block));
      }
    EXPECT_LT(pixelDiff / ink, 0.15);
    EXPECT_LT(worstBlock, 64);  // a quarter of full ink
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
