// Drives a real board and captures the whole screen (menus included) at each state, as BMP
// files that scripts/screenshot-board turns into PNGs.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "BoardTestJpeg.h"
#include "BoardTool.h"
#include "Bmp.h"
#include "Dpi.h"
#include "GdiCanvas.h"
#include "MemorySettingsStore.h"
#include "support/BoardDriver.h"

namespace {

using namespace inkra;
using namespace inkra::test;

void Capture(const std::wstring& folder, const wchar_t* name) {
  Sleep(400);  // let the posted input and the repaints run
  const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  win::GdiCanvas shot(w, h, 24);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Dc(), 0, 0, w, h, screen, 0, 0, SRCCOPY);
  ReleaseDC(nullptr, screen);
  FileSink out(std::filesystem::path(folder) / (std::wstring(name) + L".bmp"));
  WriteBmp(shot.ToBitmap(), out);
  out.Close();
}

// A wavy signature-like line through `points` of the driver.
std::vector<POINT> Wave(int x0, int y0, int length, int amplitude, double turns) {
  std::vector<POINT> points;
  for (int i = 0; i <= length; i += 3)
    points.push_back({x0 + i, y0 + int(amplitude * std::sin(i * turns * 6.283 / length))});
  return points;
}

// Opens a list as a click on its field does, so the list drops to the height a user sees.
void DropList(HWND combo) {
  RECT r{};
  GetClientRect(combo, &r);
  const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(combo, WM_LBUTTONUP, 0, at);
}

}  // namespace

int RunBoardScreens(const std::wstring& folder) {
  const std::wstring jpegPath = folder + L"\\sample.jpg";
  const std::wstring pictures = folder + L"\\pictures";  // away from the captures
  {
    auto jpeg = board::testing::MakeJpeg(360, 200, 250, 240, 200);
    std::ofstream(std::filesystem::path(jpegPath), std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
  }
  {
    // A bitmap beside it, for the open dialog's preview (its first filter shows bitmaps only).
    Bitmap stripes(240, 160, 24);
    for (int y = 0; y < stripes.Height(); ++y)
      for (int x = 0; x < stripes.Width(); ++x) {
        std::uint8_t* p = stripes.Row(y) + x * 3;  // blue, green, red
        p[0] = std::uint8_t(y * 255 / stripes.Height());
        p[1] = std::uint8_t((x / 30) % 2 ? 200 : 60);
        p[2] = std::uint8_t(x * 255 / stripes.Width());
      }
    std::filesystem::create_directories(pictures);
    FileSink out(std::filesystem::path(pictures) / L"sample.bmp");
    WriteBmp(stripes, out);
    out.Close();
  }
  board::MemorySettingsStore noSettings;
  board::win::BoardOptions options;
  options.settings = {&noSettings};
  options.handOffPath = folder + L"\\handoff.wmf";
  board::win::TfrmWhiteBorad board(options);
  UiDriver ui(20000);
  ui.Then([&](UiDriver& d) {
    WaitForBoard(d);
    // The script's places are at 96 dpi; the board may be laid out for another.
    const auto at = [&board](int length) { return win::ScaleToDpi(length, board.Dpi()); };
    const auto wave = [&at](int x0, int y0, int length, int amplitude, double turns) {
      return Wave(at(x0), at(y0), at(length), at(amplitude), turns);
    };
    Capture(folder, L"board-fresh");
    const struct { HWND list; const wchar_t* name; } lists[] = {{board.PenList(), L"board-pen-list"},
                                                                 {board.ColourList(), L"board-colour-list"},
                                                                 {board.PlacementList(), L"board-place-list"}};
    for (const auto& l : lists) {
      DropList(l.list);
      Capture(folder, l.name);
      SendMessageW(l.list, CB_SHOWDROPDOWN, FALSE, 0);
    }
    Stroke(board.View(), wave(40, 100, 240, 40, 1.5));
    Stroke(board.View(), {{at(60), at(60)}, {at(90), at(150)}, {at(120), at(60)}, {at(150), at(150)}});
    int blue = 0;
    for (int i = 0; i < board.ColourPicker().Count(); ++i)
      if (board.ColourPicker().EntryValue(i) == clBlue) blue = i;
    ChooseListEntry(board.ColourList(), blue);
    ChooseListEntry(board.PenList(), 5);
    Stroke(board.View(), wave(300, 120, 240, 30, 2.5));
    Capture(folder, L"board-strokes");
    ChoosePopupItem(d, board.View(), at(330), at(200), 1);
    Capture(folder, L"board-timestamp");
    d.RightDown(board.View(), at(200), at(60));
    d.RightUp(board.View(), at(200), at(60));
    HWND menu = d.WaitForWindow(L"#32768", nullptr);
    Capture(folder, L"board-popup");
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    d.WaitUntilGone(menu);
    ClickTool(board.Toolbar(), board::win::kBtnOpen);
    HWND dialog = d.WaitForWindow(kDialogClass, nullptr);
    SelectListEntry(d, EnterFolder(d, dialog, pictures, 1), L"sample");
    Capture(folder, L"board-open-dialog");
    d.FillFileDialog(dialog, jpegPath);
    d.WaitUntilGone(dialog);
    Capture(folder, L"board-jpeg");
    // A scan over the JPEG, through the prefix's source manager and the test feeder.
    SetEnvironmentVariableW(L"INKRA_FEEDER_DIALOG", L"1");
    ClickTool(board.Toolbar(), board::win::kBtnScan);
    d.WaitForWindow(kDialogClass, L"Select Source");
    Capture(folder, L"board-scan-select");
    ChooseTwainSource(d, kTestFeeder, IDOK);
    // The feeder's own dialog is open: the board says what it waits for.
    HWND feeder = d.WaitForWindow(L"InkraTestFeederDialog", nullptr);
    Capture(folder, L"board-scan-waiting");
    d.PressButton(feeder, IDOK);
    HWND done = d.WaitForWindow(kDialogClass, L"扫描");
    Capture(folder, L"board-scan-done");
    d.PressButton(done, IDOK);
    d.WaitUntilGone(done);
    Capture(folder, L"board-scan");
    ClickTool(board.Toolbar(), board::win::kBtnInformation);
    HWND about = d.WaitForWindow(L"TfrmAbout", nullptr);
    Capture(folder, L"about");
    d.PressButton(about, L"确定");
    d.WaitUntilGone(about);
    d.Close(board.Handle());
  });
  board.ShowModal();
  auto failures = ui.Join();
  for (const auto& f : failures) std::fprintf(stderr, "screens: %s\n", f.c_str());
  return failures.empty() ? 0 : 1;
}
