// The add-in's lifetime over many cycles, through the built DLL as a host loads it: create by the
// class factory, connect to a Word or Excel double, click the button (the UI driver writes a
// stroke, so the board's ink and undo history are made, and cancels the board), disconnect,
// release. At the end the server must be unloadable, every host object freed, and the process's
// GDI objects, windows and private memory back where they were after the first cycle (which
// loads what stays for the life of the process: window classes, fonts, the common controls).
//
//   addin_soak.exe CYCLES DLL     exit code 0 when every check held
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ComPtr.h"
#include "Figure.h"
#include "Handle.h"
#include "IDTExtensibility2.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/BoardDriver.h"
#include "support/GdiObjects.h"

namespace {

using inkra::test::office::HostDouble;
using inkra::test::office::HostKind;
using inkra::win::ComPtr;

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(WINAPI*)();

constexpr CLSID kWordAddIn = {0x811CC9C8, 0x001E, 0x407A, {0x90, 0xB4, 0x6B, 0x16, 0xA0, 0x17, 0xC5, 0xBB}};
constexpr CLSID kExcelAddIn = {0x5C2240AF, 0xD37C, 0x465E, {0x99, 0xE7, 0x1E, 0x60, 0x4D, 0xEF, 0x70, 0x18}};
constexpr long kHandful = 5;  // GDI or USER objects a run may differ by without a leak
// Private memory a run may gain without a leak: heap fragmentation and caches. A board's picture
// and ink left behind each cycle would be hundreds of kilobytes a cycle, hundreds of MB a run.
constexpr double kPrivateSlackMb = 16;

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  EnumChildWindows(window, &CountWindow, count);
  return TRUE;
}

// What a leak would show in, counted as the system at hand allows: GDI objects through the
// handle table where GetGuiResources is Wine's stub, USER objects (0 under Wine), the thread's
// windows (a board or dialog left behind) and the private memory (pictures, ink, history).
struct GuiObjects {
  long gdi, user, windows;
  double privateMb;
};
GuiObjects Count() {
  HANDLE self = GetCurrentProcess();
  long windows = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&windows));
  // The commit charge: the private memory committed. Wine answers PrivateUsage with 0 but fills this.
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(self, &memory, sizeof memory);
  return {inkra::test::GdiObjectCount(), long(GetGuiResources(self, GR_USEROBJECTS)), windows,
          double(memory.PagefileUsage) / (1 << 20)};
}

// One cycle; false (with a message) when a step failed.
bool Cycle(GetClassObjectFn getClassObject, HostKind kind, HostDouble& host) {
  ComPtr<IClassFactory> factory;
  ComPtr<IDTExtensibility2> addIn;
  HRESULT hr = getClassObject(kind == HostKind::Word ? kWordAddIn : kExcelAddIn, IID_PPV_ARGS(&factory));
  if (SUCCEEDED(hr)) hr = factory->CreateInstance(nullptr, IID_PPV_ARGS(&addIn));
  if (SUCCEEDED(hr)) hr = addIn->OnConnection(host.Application(), 1, nullptr, nullptr);
  if (FAILED(hr)) {
    std::fprintf(stderr, "soak: creation or connection failed: 0x%08lX\n", static_cast<unsigned long>(hr));
    return false;
  }
  auto* bar = host.profile().Find(L"InkraSoft");
  if (!bar || bar->controls.empty()) {
    std::fprintf(stderr, "soak: no button on the command bars\n");
    return false;
  }
  inkra::test::UiDriver ui(10000);
  ui.Then([](inkra::test::UiDriver& d) {
    HWND board = inkra::test::WaitForBoard(d);
    inkra::test::Stroke(d.Child(board, L"InkraBoardView", nullptr), {{40, 40}, {140, 90}, {240, 40}});
    d.Close(board);  // the user cancels
    d.WaitUntilGone(board);
  });
  VARIANT_BOOL cancel = VARIANT_FALSE;
  FireClick(host, *bar->controls[0], cancel);
  for (const std::string& failure : ui.Join()) {
    std::fprintf(stderr, "soak: %s\n", failure.c_str());
    return false;
  }
  hr = addIn->OnDisconnection(0, nullptr);
  if (FAILED(hr)) {
    std::fprintf(stderr, "soak: disconnection failed: 0x%08lX\n", static_cast<unsigned long>(hr));
    return false;
  }
  return true;
}

// Loads the DLL, runs one cycle through it and frees it again.
bool LoadUseAndFree(const wchar_t* path, HostKind kind) {
  inkra::win::UniqueModule dll(LoadLibraryW(path));
  auto getClassObject =
      dll ? reinterpret_cast<GetClassObjectFn>(GetProcAddress(dll.get(), "DllGetClassObject")) : nullptr;
  if (!getClassObject) {
    std::fprintf(stderr, "soak: cannot load %ls again: %lu\n", path, GetLastError());
    return false;
  }
  HostDouble host(kind, inkra::test::office::NewProfile(kind));
  return Cycle(getClassObject, kind, host);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: addin_soak.exe CYCLES DLL\n");
    return 2;
  }
  const int cycles = _wtoi(argv[1]);
  inkra::test::Apartment apartment;
  inkra::win::UniqueModule dll(LoadLibraryW(argv[2]));
  if (!dll) {
    std::fprintf(stderr, "soak: cannot load %ls: %lu\n", argv[2], GetLastError());
    return 1;
  }
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(GetProcAddress(dll.get(), "DllGetClassObject"));
  auto canUnloadNow = reinterpret_cast<CanUnloadNowFn>(GetProcAddress(dll.get(), "DllCanUnloadNow"));

  GuiObjects start{};
  const auto began = std::chrono::steady_clock::now();
  int failures = 0;
  {
    // One profile per host, as a user's command bars: the toolbar made in the first cycle is found
    // in every later one.
    auto wordProfile = inkra::test::office::NewProfile(HostKind::Word);
    auto excelProfile = inkra::test::office::NewProfile(HostKind::Excel);
    for (int i = 0; i < cycles && failures == 0; ++i) {
      const HostKind kind = i % 2 == 0 ? HostKind::Word : HostKind::Excel;
      HostDouble host(kind, kind == HostKind::Word ? wordProfile : excelProfile);
      if (!Cycle(getClassObject, kind, host)) ++failures;
      if (i == 0) start = Count();
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  const GuiObjects end = Count();
  const long liveHostObjects = inkra::test::office::LiveObjects::InProcess();
  const HRESULT unload = canUnloadNow();
  std::printf("soak: %d cycles in %.1f s (%.1f ms each); GDI objects %ld -> %ld, USER objects %ld -> %ld, "
              "windows %ld -> %ld, private memory %.1f -> %.1f MB; host objects alive %ld; DllCanUnloadNow 0x%08lX\n",
              cycles, seconds, seconds * 1000 / (cycles ? cycles : 1), start.gdi, end.gdi, start.user, end.user,
              start.windows, end.windows, start.privateMb, end.privateMb, liveHostObjects, static_cast<unsigned long>(unload));
  PrintFigure("soak_gdi", end.gdi, start.gdi);
  PrintFigure("soak_user", end.user, start.user);
  PrintFigure("soak_windows", end.windows, start.windows);
  PrintFigure("soak_private", end.privateMb, start.privateMb);
  PrintFigure("soak_com", liveHostObjects, 0);
  if (unload != S_OK) ++failures, std::fprintf(stderr, "soak: the server cannot unload\n");
  if (liveHostObjects != 0) ++failures, std::fprintf(stderr, "soak: host objects were not released\n");
  if (std::labs(end.gdi - start.gdi) > kHandful || std::labs(end.user - start.user) > kHandful ||
      end.windows != start.windows)
    ++failures, std::fprintf(stderr, "soak: GDI or USER objects or windows leaked\n");
  if (end.privateMb - start.privateMb > kPrivateSlackMb) ++failures, std::fprintf(stderr, "soak: private memory grew\n");
  // Freed by its host, the DLL takes its window classes along: a later load must not find
  // classes whose procedure points into the freed code.
  const HINSTANCE module = dll.get();
  dll.reset();
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  if (GetModuleHandleW(argv[2]) != nullptr)
    ++failures, std::fprintf(stderr, "soak: the DLL stayed loaded after it was freed\n");
  else if (GetClassInfoExW(module, L"TfrmWhiteBorad", &cls))
    ++failures, std::fprintf(stderr, "soak: the board's window class outlived the DLL\n");
  // What the DLL keeps for the life of its module (fonts, toolbar images) goes with it: loaded
  // again, used and freed, it leaves the process as the first unload did.
  const long unloaded = Count().gdi;
  if (!LoadUseAndFree(argv[2], HostKind::Word)) ++failures;
  const long unloadedAgain = Count().gdi;
  std::printf("soak: GDI objects after the DLL was freed %ld, after it was loaded, used and freed again %ld\n",
              unloaded, unloadedAgain);
  if (unloadedAgain > unloaded)
    ++failures, std::fprintf(stderr, "soak: the DLL's kept GDI objects outlived it\n");
  return failures == 0 ? 0 : 1;
}
