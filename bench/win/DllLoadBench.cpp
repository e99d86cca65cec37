// What a host waits for at every start, per add-in: load the DLL, get the class object, create the
// add-in and connect it (OnConnection against the Word double, whose command bars already hold the
// toolbar, as on every start after the first). Timed for MSOAddIn.dll and for an empty COM server
// built for the comparison; prints the medians and their ratio.
//
//   dll_load_bench.exe MSOADDIN_DLL EMPTY_DLL [RUNS]
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "Figure.h"
#include "IDTExtensibility2.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"

namespace {

using inkra::test::office::HostDouble;
using inkra::test::office::HostKind;
using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

constexpr CLSID kWordAddIn = {0x811CC9C8, 0x001E, 0x407A, {0x90, 0xB4, 0x6B, 0x16, 0xA0, 0x17, 0xC5, 0xBB}};
constexpr CLSID kEmptyAddIn = {0x6F1D2C3B, 0x8E4A, 0x4D5F, {0x9A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x6A, 0x7B}};

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / double(frequency.QuadPart);
}

// One host start in milliseconds: the library's loading, then the rest up to the connected add-in;
// negative when a step failed. The add-in is disconnected, released and the DLL unloaded after the
// clock stops.
struct Start {
  double load = -1, total = -1;
};
Start StartOnce(const wchar_t* path, const CLSID& clsid, HostDouble& word) {
  const double begin = Now();
  HMODULE dll = LoadLibraryW(path);
  const double loaded = Now();
  if (!dll) return {};
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(GetProcAddress(dll, "DllGetClassObject"));
  inkra::win::ComPtr<IClassFactory> factory;
  inkra::win::ComPtr<IDTExtensibility2> addIn;
  HRESULT hr = getClassObject ? getClassObject(clsid, IID_PPV_ARGS(&factory)) : E_FAIL;
  if (SUCCEEDED(hr)) hr = factory->CreateInstance(nullptr, IID_PPV_ARGS(&addIn));
  if (SUCCEEDED(hr)) hr = addIn->OnConnection(word.Application(), 1, nullptr, nullptr);
  const double end = Now();
  if (addIn) addIn->OnDisconnection(0, nullptr);
  addIn.Reset();
  factory.Reset();
  FreeLibrary(dll);
  if (FAILED(hr)) return {};
  return {(loaded - begin) * 1000, (end - begin) * 1000};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: dll_load_bench.exe MSOADDIN_DLL EMPTY_DLL [RUNS]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 50;
  inkra::test::Apartment apartment;
  // Word has the common controls and dialogs loaded long before it loads its add-ins.
  for (const wchar_t* system : {L"comctl32.dll", L"comdlg32.dll", L"oleaut32.dll"}) LoadLibraryW(system);
  auto profile = inkra::test::office::NewProfile(HostKind::Word);
  const struct {
    const wchar_t* path;
    const CLSID* clsid;
  } servers[] = {{argv[1], &kWordAddIn}, {argv[2], &kEmptyAddIn}};
  double total[2] = {}, load[2] = {};
  for (int s = 0; s < 2; ++s) {
    std::vector<double> totals, loads;
    for (int i = 0; i <= runs; ++i) {
      HostDouble word(HostKind::Word, profile);
      const Start start = StartOnce(servers[s].path, *servers[s].clsid, word);
      if (start.total < 0) {
        std::fprintf(stderr, "dll_load_bench: %ls failed to start\n", servers[s].path);
        return 1;
      }
      if (i == 0) continue;  // the first run creates the toolbar and warms the file cache
      totals.push_back(start.total);
      loads.push_back(start.load);
    }
    total[s] = Median(totals);
    load[s] = Median(loads);
  }
  std::printf("DLL load to connected add-in, median of %d: MSOAddIn.dll %.3f ms (LoadLibrary %.3f), "
              "empty COM server %.3f ms (LoadLibrary %.3f), ratio %.2f (target <= 1.5)\n",
              runs, total[0], load[0], total[1], load[1], total[0] / total[1]);
  PrintFigure("dll_load", total[0], total[1]);
  return 0;
}
