// The built DLL as a host loads it: by path, entry points found by name, objects made by its
// class factories.
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>

#include "ComPtr.h"
#include "Handle.h"
#include "IDTExtensibility2.h"
#include "hostdouble/Apartment.h"
#include "support/RegisteredDll.h"

namespace {

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using NoArgumentFn = HRESULT(WINAPI*)();
using inkra::win::ComPtr;

CLSID ClassId(const wchar_t* text) {
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromString(text, &clsid), S_OK);
  return clsid;
}

class ServerEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    dll.reset(LoadLibraryW(inkra::test::BuiltDllPath().c_str()));
    ASSERT_TRUE(dll) << GetLastError();
    getClassObject = reinterpret_cast<GetClassObjectFn>(GetProcAddress(dll.get(), "DllGetClassObject"));
    canUnloadNow = reinterpret_cast<NoArgumentFn>(GetProcAddress(dll.get(), "DllCanUnloadNow"));
    ASSERT_NE(getClassObject, nullptr);
    ASSERT_NE(canUnloadNow, nullptr);
    for (const char* name : {"DllRegisterServer", "DllUnregisterServer", "DllInstall"})
      ASSERT_NE(GetProcAddress(dll.get(), name), nullptr) << name;
  }

  inkra::test::Apartment apartment;
  inkra::win::UniqueModule dll;
  GetClassObjectFn getClassObject = nullptr;
  NoArgumentFn canUnloadNow = nullptr;
};

TEST_F(ServerEntry, TheOutlookClassIsDeclaredButHasNoFactory) {
  void* factory = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject(ClassId(L"{9CF0B415-3F27-4C67-89AE-31D3F18ABC03}"), IID_IClassFactory, &factory),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(factory, nullptr);
  EXPECT_EQ(canUnloadNow(), S_OK);  // nothing was created
}

TEST_F(ServerEntry, EachFactoryMakesAddInsThatKeepTheServerLoadedWhileTheyLive) {
  for (const wchar_t* clsid : {L"{811CC9C8-001E-407A-90B4-6B16A017C5BB}", L"{5C2240AF-D37C-465E-99E7-1E604DEF7018}"}) {
    SCOPED_TRACE(testing::Message() << "class " << std::string(clsid, clsid + wcslen(clsid)));
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject(ClassId(clsid), IID_PPV_ARGS(&factory)), S_OK);
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(ClassId(clsid), IID_IDispatch, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);

    // Aggregation is refused; a query for an interface the add-in lacks frees the new object.
    ComPtr<IUnknown> outer, aggregated;
    factory.As(&outer);
    EXPECT_EQ(factory->CreateInstance(outer.Get(), IID_PPV_ARGS(&aggregated)), CLASS_E_NOAGGREGATION);
    ComPtr<IClassFactory> wrong;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&wrong)), E_NOINTERFACE);
    EXPECT_EQ(canUnloadNow(), S_OK);

    // Each request gets a new object, with one identity across its interfaces.
    ComPtr<IDTExtensibility2> first, second;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&first)), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&second)), S_OK);
    EXPECT_NE(first.Get(), second.Get());
    ComPtr<IUnknown> identity, identityAgain;
    ComPtr<IProvideClassInfo> classInfo;
    first.As(&identity);
    first.As(&classInfo);
    classInfo.As(&identityAgain);
    EXPECT_EQ(identity.Get(), identityAgain.Get());
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    first.Reset(), second.Reset(), identity.Reset(), identityAgain.Reset(), classInfo.Reset();
    EXPECT_EQ(canUnloadNow(), S_OK);

    // A lock keeps the server loaded without any object.
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnloadNow(), S_OK);
  }
}

}  // namespace
