// The demo host: a small Word stand-in built on the Office host double. It creates the Word
// add-in as Word would and connects it; the add-in's toolbar and button appear on the window's
// command-bar strip, a click opens the handwriting board, and the confirmed signature shows on
// the page.
//
//   demo.exe                     interactive
//   demo.exe --script [--out D]  a scripted session; writes D\board.bmp and D\document.bmp
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "DemoScript.h"
#include "WordAddIn_IMPL.h"
#include "WordWindow.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"

namespace {

using inkra::test::office::DocumentState;
using inkra::test::office::HostDouble;
using inkra::test::office::HostKind;

constexpr int ext_cm_Startup = 1;  // Word loads its add-ins as it starts
constexpr int ext_dm_HostShutdown = 0;

int RunInteractive() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bool script = false;
  std::wstring outDir = L".";
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--script") {
      script = true;
    } else if (arg == L"--out" && i + 1 < argc) {
      outDir = argv[++i];
    } else {
      std::fprintf(stderr, "usage: demo.exe [--script [--out DIR]]\n");
      return 2;
    }
  }

  inkra::test::Apartment apartment;
  HostDouble word(HostKind::Word);
  // Word starts with a blank document.
  auto document = std::make_shared<DocumentState>();
  document->name = L"Document1";
  word.Word().documents.push_back(document);
  word.Word().active = 0;
  word.Word().created = 1;

  auto addIn = inkra::win::Adopt(new inkra::addin::TWordAddIn);
  if (FAILED(addIn->OnConnection(word.Application(), ext_cm_Startup, nullptr, nullptr))) {
    std::fprintf(stderr, "demo: the add-in refused the connection\n");
    return 1;
  }

  int result = 0;
  {
    inkra::demo::WordWindow window(word);
    ShowWindow(window.Handle(), SW_SHOW);
    UpdateWindow(window.Handle());
    result = script ? inkra::demo::RunScriptedSession(window, outDir) : RunInteractive();
  }
  addIn->OnDisconnection(ext_dm_HostShutdown, nullptr);

  if (script) {
    for (const auto& shape : word.Word().documents.at(0)->shapes.items)
      std::printf("demo: inserted \"%ls\": %.1f x %.1f pt at %.0f/%.0f, transparent %d, wrap %d\n",
                  shape->name.c_str(), shape->width, shape->height, shape->left, shape->top,
                  shape->transparentBackground, shape->wrapType);
    if (word.Word().documents.at(0)->shapes.items.empty()) {
      std::fprintf(stderr, "demo: nothing was inserted\n");
      result = 1;
    }
  }
  return result;
}
