// The square seal dialog driven as a user drives it: the frame's pixels, the name checks in
// their order with the field emptied or kept, and what "确 定" writes.
#include <gtest/gtest.h>

#include "SealTestSupport.h"
#include "UtOneSign.h"

namespace inkra::test {
namespace {

using Failures = std::vector<std::string>;
using win::TfrmOneSign;

constexpr const wchar_t* kClass = L"TfrmOneSign";
constexpr const wchar_t* kCaption = L"私章制作";

// The seal as the layout draws it directly as ink over white, for comparing with what the
// dialog shows.
std::vector<std::uint8_t> DrawnDirectly(const std::string& name, const SquareSealParams& like) {
  SquareSealParams p = like;
  p.name = name;
  win::GdiGlyphSource glyphs;
  const auto ink = win::DrawSealInk(glyphs, kSquareSealSide, kSquareSealSide, [&p](Canvas& c) { DrawSquareSeal(c, p); });
  return win::InkOverWhite(*ink)->ToBitmap().Pixels();
}

std::vector<std::uint8_t> PixelsOf(const win::GdiCanvas* canvas) {
  return canvas ? canvas->ToBitmap().Pixels() : std::vector<std::uint8_t>{};
}

TEST(SealSquareDialog, DefaultSealWrittenToTheFixedPathHasTheFrame) {
  TfrmOneSign form;  // the real hand-off path: writable in the test prefix
  UiDriver ui;
  ui.Then([&](UiDriver& d) { d.PressButton(d.WaitForWindow(kClass, kCaption), L"确 定"); });
  form.ShowModal();
  ASSERT_EQ(ui.Join(), Failures{});
  ASSERT_TRUE(form.Accepted());
  const std::wstring written = form.WrittenPath();
  EXPECT_TRUE(written == win::kSealHandOffPath ||
              written == win::TempFolderPathFor(win::kSealHandOffPath));
  const Bitmap file = ReadBack(written);
  DeleteFileW(written.c_str());
  ASSERT_EQ(file.Width(), 150);
  ASSERT_EQ(file.Height(), 150);
  ExpectCarriesInk(file, form);
  const Bitmap seal = ShownBy(form);
  EXPECT_EQ(seal.PixelRGB(5, 70), clRed);
  EXPECT_EQ(seal.PixelRGB(145, 70), clRed);
  EXPECT_EQ(seal.PixelRGB(6, 70), clWhite);
  EXPECT_EQ(seal.PixelRGB(144, 70), clWhite);
  EXPECT_EQ(seal.PixelRGB(70, 5), clRed);
  EXPECT_EQ(seal.PixelRGB(70, 145), clRed);
  EXPECT_EQ(seal.PixelRGB(70, 6), clWhite);
  EXPECT_EQ(seal.PixelRGB(70, 144), clWhite);
  EXPECT_EQ(seal.PixelRGB(0, 0), clRed);
  EXPECT_EQ(seal.PixelRGB(149, 149), clRed);
  // The characters are drawn: some pixels of the colour inside each cell.
  auto inked = [&](int left, int top) {
    int count = 0;
    for (int y = top; y < top + 60; ++y)
      for (int x = left; x < left + 60; ++x) count += seal.PixelRGB(x, y) == clRed;
    return count;
  };
  EXPECT_GT(inked(77, 12), 50);
  EXPECT_GT(inked(77, 77), 50);
  EXPECT_GT(inked(12, 12), 50);
  EXPECT_GT(inked(12, 77), 50);
}

TEST(SealSquareDialog, PreviewChecksTheNameWithItsMessages) {
  ScratchFolder scratch(L"sealname");
  TfrmOneSign form(nullptr, scratch.File(L"temp00000001.bmp"));
  struct Case {
    std::wstring name, message, fieldAfter;
  };
  const Case cases[] = {
      {L"ab张三", L"不是有效的汉字！", L""},  // ASCII first: emptied
      {L"张", L"请输入2-4个之内的汉字！", L"张"},  // kept
      {L"", L"请输入2-4个之内的汉字！", L""},
      {L"一二三四五", L"请输入2-4个之内的汉字！", L"一二三四五"},
      {L" 张三", L"", L" 张三"},  // trimmed before the check: no message
  };
  std::vector<MessageBoxInfo> seen;
  std::vector<std::wstring> fieldAfter;
  std::vector<bool> redrawn;
  std::vector<std::vector<std::uint8_t>> shown;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(kClass, kCaption);
    HWND name = d.Child(w, L"Edit", nullptr, TfrmOneSign::idValue);
    for (const Case& c : cases) {
      const win::GdiCanvas* before = form.Picture();
      d.SetText(name, c.name);  // typing redraws nothing
      bool typingRedrew = form.Picture() != before;
      d.PressButton(w, L"预 览");
      if (c.message.empty()) {
        Eventually([&] { return form.Picture() != before; });
        seen.push_back({});
      } else {
        seen.push_back(AnswerHint(d));
      }
      fieldAfter.push_back(TextOf(name));
      redrawn.push_back(typingRedrew || form.Picture() != before);
      shown.push_back(PixelsOf(form.Picture()));
    }
    d.PressButton(w, L"取 消");
  });
  form.ShowModal();
  ASSERT_EQ(ui.Join(), Failures{});
  ASSERT_EQ(seen.size(), std::size(cases));
  for (std::size_t i = 0; i < seen.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(seen[i].text, cases[i].message);
    if (!cases[i].message.empty()) {
      EXPECT_EQ(seen[i].caption, L"提示");
      EXPECT_EQ(seen[i].icon, MessageIcon::Information);
    }
    EXPECT_EQ(fieldAfter[i], cases[i].fieldAfter);
    EXPECT_EQ(redrawn[i], cases[i].message.empty());
  }
  EXPECT_EQ(shown.back(), DrawnDirectly("张三", form.Params()));
  EXPECT_FALSE(form.Accepted());
}

TEST(SealSquareDialog, FaceOrColourChangeDrawsEvenAfterAFailedCheck) {
  ScratchFolder scratch(L"sealface");
  TfrmOneSign form(nullptr, scratch.File(L"temp00000001.bmp"));
  MessageBoxInfo longName, asciiName;
  std::wstring fieldAfterLong, fieldAfterAscii;
  std::vector<std::uint8_t> afterLong, afterAscii;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(kClass, kCaption);
    HWND name = d.Child(w, L"Edit", nullptr, TfrmOneSign::idValue);
    HWND face = d.Child(w, L"ComboBox", nullptr, TfrmOneSign::idSignFont);
    HWND colour = d.Child(w, L"ComboBox", nullptr, TfrmOneSign::idColor);

    d.SetText(name, L"一二三四五");
    const win::GdiCanvas* before = form.Picture();
    DWORD_PTR current = 0;
    SendMessageTimeoutW(face, CB_GETCURSEL, 0, 0, SMTO_NORMAL, 2000, &current);
    ChooseEntry(w, face, int(current) == CB_ERR ? 0 : int(current));
    longName = AnswerHint(d);
    Eventually([&] { return form.Picture() != before; });
    fieldAfterLong = TextOf(name);
    afterLong = PixelsOf(form.Picture());

    d.SetText(name, L"abc");
    before = form.Picture();
    DWORD_PTR blue = 0;
    SendMessageTimeoutW(colour, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(L"Blue"), SMTO_NORMAL, 2000, &blue);
    ChooseEntry(w, colour, int(blue));
    asciiName = AnswerHint(d);
    Eventually([&] { return form.Picture() != before; });
    fieldAfterAscii = TextOf(name);
    afterAscii = PixelsOf(form.Picture());
    d.PressButton(w, L"取 消");
  });
  form.ShowModal();
  ASSERT_EQ(ui.Join(), Failures{});
  EXPECT_EQ(longName.text, L"请输入2-4个之内的汉字！");
  EXPECT_EQ(fieldAfterLong, L"一二三四五");
  SquareSealParams red = form.Params();
  red.colour = clRed;
  EXPECT_EQ(afterLong, DrawnDirectly("一二三四", red));  // the first four characters
  EXPECT_EQ(asciiName.text, L"不是有效的汉字！");
  EXPECT_EQ(fieldAfterAscii, L"");
  SquareSealParams blue = form.Params();
  EXPECT_EQ(blue.colour, clBlue);
  EXPECT_EQ(afterAscii, DrawnDirectly("", blue));  // frame, "之" and "印" only
}

TEST(SealSquareDialog, OkWritesTheLastDrawingNotTheEditedName) {
  ScratchFolder scratch(L"sealsqok");
  const std::wstring path = scratch.File(L"temp00000001.bmp");
  TfrmOneSign form(nullptr, path);
  std::vector<std::uint8_t> shown;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(kClass, kCaption);
    shown = PixelsOf(form.Picture());
    d.SetText(d.Child(w, L"Edit", nullptr, TfrmOneSign::idValue), L"王五");  // not previewed
    d.PressButton(w, L"确 定");
  });
  form.ShowModal();
  ASSERT_EQ(ui.Join(), Failures{});
  ASSERT_TRUE(form.Accepted());
  ExpectCarriesInk(ReadBack(path), form);
  EXPECT_EQ(PixelsOf(form.Picture()), shown);
  EXPECT_EQ(shown, DrawnDirectly(SquareSealParams{}.name, form.Params()));
}

TEST(SealSquareDialog, UnwritableFileIsReportedAndTheDialogStaysOpen) {
  ScratchFolder scratch(L"sealsqfail");
  const std::wstring name = L"sealsqfail" + std::to_wstring(GetCurrentProcessId()) + L".bmp";
  const std::wstring fixed = scratch.BlockedWithStandIn(name);
  TfrmOneSign form(nullptr, fixed);
  MessageBoxInfo error;
  bool stillOpen = false;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(kClass, kCaption);
    d.PressButton(w, L"确 定");
    HWND box = d.WaitForWindow(kDialogClass, nullptr);
    error = d.ReadMessageBox(box);
    d.PressButton(box, IDOK);
    d.WaitUntilGone(box);
    Sleep(100);
    stillOpen = IsWindowVisible(w);
    d.PressButton(w, L"取 消");
  });
  form.ShowModal();
  ASSERT_EQ(ui.Join(), Failures{});
  EXPECT_EQ(error.text, L"Cannot create file " + fixed);
  EXPECT_TRUE(stillOpen);
  EXPECT_FALSE(form.Accepted());
}

}  // namespace
}  // namespace inkra::test
