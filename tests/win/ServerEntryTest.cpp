// The built DLL as a host loads it: by path, entry points found by name.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring DllPath() {
  std::string unixPath = INKRA_DLL_PATH;
  return L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
}

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using NoArgumentFn = HRESULT(WINAPI*)();

TEST(ServerEntry, LoadsAndAnswersOnlyForClassesItServes) {
  HMODULE dll = LoadLibraryW(DllPath().c_str());
  ASSERT_NE(dll, nullptr) << GetLastError();
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(GetProcAddress(dll, "DllGetClassObject"));
  auto canUnloadNow = reinterpret_cast<NoArgumentFn>(GetProcAddress(dll, "DllCanUnloadNow"));
  ASSERT_NE(getClassObject, nullptr);
  ASSERT_NE(canUnloadNow, nullptr);
  ASSERT_NE(GetProcAddress(dll, "DllRegisterServer"), nullptr);
  ASSERT_NE(GetProcAddress(dll, "DllUnregisterServer"), nullptr);

  // The Outlook coclass is declared in the type library but has no factory.
  CLSID outlook{};
  ASSERT_EQ(CLSIDFromString(L"{9CF0B415-3F27-4C67-89AE-31D3F18ABC03}", &outlook), S_OK);
  void* factory = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject(outlook, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(factory, nullptr);

  // Nothing was created, so the host may unload the library.
  EXPECT_EQ(canUnloadNow(), S_OK);
  FreeLibrary(dll);
}

}  // namespace
