// The demo host: a small Word or Excel stand-in built on the Office host double. It loads the
// registered add-ins as the host does (its Office add-in key, then CoCreateInstance by ProgID and
// IDTExtensibility2); the add-in's toolbar and button appear on the window's command-bar strip and
// its ribbon button on the Insert tab, a click on either opens the handwriting board, and the
// confirmed signature shows on the page or the sheet.
//
//   demo.exe [--excel]                     interactive
//   demo.exe [--excel] --script [--out D]  a scripted session; writes D\board.bmp and
//                                          D\document.bmp (Excel: D\worksheet.bmp)
//     [--seal]                             the session makes a round seal instead of writing
//     [--shot NAME]                        the host's screenshot is D\NAME.bmp
//     [--print NAME]                       keeps the inserted picture: a BMP as D\print-NAME-screen.bmp
//                                          (its place: .txt); a PNG, with that BMP, gives
//                                          D\print-NAME.png (see PrintCrop.h; a seal's inch
//                                          is the bottom middle one, with its code)
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "ByteSink.h"
#include "DemoScript.h"
#include "HostWindow.h"
#include "OfficeAddIns.h"
#include "PrintCrop.h"
#include "support/BoardDriver.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "hostdouble/Ribbon.h"

namespace {

using inkra::test::office::DocumentState;
using inkra::test::office::HostDouble;
using inkra::test::office::HostKind;
using inkra::test::office::ShapesState;

int RunInteractive() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

// What the host opens with: Word a blank document, Excel a workbook of three sheets.
const ShapesState& OpenBlank(HostDouble& host) {
  if (host.kind() == HostKind::Excel) return host.Excel().AddWorkbook().sheets.at(0)->shapes;
  auto document = std::make_shared<DocumentState>();
  document->name = L"Document1";
  // A page break after the agreement, so a straddle seal has two pages' edges to lie across;
  // pages of the stand-in's Letter size, and the cursor after "甲方（签字）：".
  document->pages = 2;
  document->pageWidth = 612, document->pageHeight = 792;
  host.Word().cursor.x = 160, host.Word().cursor.y = 150;
  host.Word().documents.push_back(document);
  host.Word().active = 0;
  host.Word().created = 1;
  return document->shapes;
}

// Keeps the inserted picture for the print comparison (see the usage above): a BMP with its
// shape's place in a text file beside it. False on failure.
bool KeepForPrint(const ShapesState& shapes, const std::wstring& outDir, const std::wstring& name, bool seal) {
  if (shapes.items.empty() || shapes.items[0]->picture.size() < 8) return false;
  const inkra::test::office::ShapeState& shape = *shapes.items[0];
  const std::wstring screenPath = outDir + L"\\print-" + name + L"-screen";
  inkra::demo::PlacedPicture screen, print{shape.picture, shape.left, shape.top, shape.width};
  if (shape.picture[0] == 'B' && shape.picture[1] == 'M') {
    FILE* place = _wfopen((screenPath + L".txt").c_str(), L"w");
    if (!place) return false;
    std::fprintf(place, "%f %f %f\n", shape.left, shape.top, shape.width);
    const bool written = std::fclose(place) == 0;
    try {
      inkra::FileSink file(screenPath + L".bmp");
      file.Write(shape.picture);
      file.Close();
    } catch (const std::exception&) {
      return false;
    }
    return written;
  }
  FILE* place = _wfopen((screenPath + L".txt").c_str(), L"r");
  if (!place) return false;
  const bool read = std::fscanf(place, "%lf %lf %lf", &screen.left, &screen.top, &screen.width) == 3;
  std::fclose(place);
  screen.file = inkra::test::ReadWholeFile(screenPath + L".bmp");
  if (!read || !inkra::demo::WritePrintComparison(screen, print, seal, outDir + L"\\print-" + name + L".png")) return false;
  std::printf("demo: wrote print-%ls.png\n", name.c_str());
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bool script = false, excel = false;
  bool seal = false;
  std::wstring shotName, printName;
  int placement = 0;  // the scripted session's choice of place: 0 page's top left, 1 cursor, 2 straddle
  std::wstring outDir = L".";
  // Office 2016's answer by default: the signature arrives as a PNG with alpha. "11.0" shows
  // what Office 2003 gets (the BMP with its white keyed out).
  std::wstring version = L"16.0";
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--script") {
      script = true;
    } else if (arg == L"--excel") {
      excel = true;
    } else if (arg == L"--out" && i + 1 < argc) {
      outDir = argv[++i];
    } else if (arg == L"--placement" && i + 1 < argc) {
      placement = _wtoi(argv[++i]);
    } else if (arg == L"--seal") {
      seal = true;
    } else if (arg == L"--shot" && i + 1 < argc) {
      shotName = argv[++i];
    } else if (arg == L"--print" && i + 1 < argc) {
      printName = argv[++i];
    } else if (arg == L"--version" && i + 1 < argc) {
      version = argv[++i];
    } else {
      std::fprintf(stderr, "usage: demo.exe [--excel] [--version 16.0|11.0] [--placement 0|1|2] [--seal] [--script [--out DIR] [--shot NAME] [--print NAME]]\n");
      return 2;
    }
  }

  inkra::test::Apartment apartment;
  HostDouble host(excel ? HostKind::Excel : HostKind::Word);
  host.SetVersion(version);
  const ShapesState& shapes = OpenBlank(host);

  int result = 0;
  {
    inkra::demo::OfficeAddIns addIns(excel ? L"Excel" : L"Word", host.Application());
    for (const std::wstring& failure : addIns.Failures()) std::fprintf(stderr, "demo: not loaded: %ls\n", failure.c_str());
    for (const std::wstring& progId : addIns.Connected()) std::printf("demo: connected %ls\n", progId.c_str());
    if (addIns.Connected().empty()) {
      std::fprintf(stderr, "demo: no add-in is registered to load at start-up\n");
      return 1;
    }
    inkra::demo::HostWindow window(host);
    // Office 2007 and later then ask each add-in for its part of the main ribbon.
    for (const auto& addIn : addIns.AddIns()) {
      const inkra::test::office::Ribbon ribbon = inkra::test::office::LoadRibbon(host, addIn.Get());
      for (const std::wstring& problem : ribbon.problems) std::fprintf(stderr, "demo: ribbon markup: %ls\n", problem.c_str());
      if (ribbon.problems.empty()) window.Ribbon().Add(addIn.Get(), ribbon);
    }
    ShowWindow(window.Handle(), SW_SHOW);
    UpdateWindow(window.Handle());
    std::wstring shot = excel ? L"worksheet" : placement == 2 ? L"straddle" : L"document";
    if (!shotName.empty()) shot = shotName;
    result = script ? inkra::demo::RunScriptedSession(window, outDir, shot, placement, seal)
                    : RunInteractive();
  }  // the host closes: the add-ins are disconnected and released

  if (script) {
    for (const auto& shape : shapes.items)
      std::printf("demo: inserted \"%ls\": %.1f x %.1f pt at %.0f/%.0f, transparent %d, wrap %d\n",
                  shape->name.c_str(), shape->width, shape->height, shape->left, shape->top,
                  shape->transparentBackground, shape->wrapType);
    if (shapes.items.empty()) {
      std::fprintf(stderr, "demo: nothing was inserted\n");
      result = 1;
    }
    if (!printName.empty() && !KeepForPrint(shapes, outDir, printName, seal)) {
      std::fprintf(stderr, "demo: the picture for print-%ls could not be kept or compared\n", printName.c_str());
      result = 1;
    }
  }
  return result;
}
