// Registration as an installer or a user runs it: the system's regsvr32 on the DLL copied into a
// folder whose path has a blank. Each key and value is checked against what COM and Office read.
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <variant>

#include "ComPtr.h"
#include "Handle.h"
#include "IDTExtensibility2.h"
#include "TextConvert.h"
#include "hostdouble/Apartment.h"
#include "support/RegisteredDll.h"
#include "support/RegistryChecks.h"

namespace inkra::test {
namespace {

class Registration : public ::testing::Test {
 protected:
  void TearDown() override {
    // Whatever a failed test left behind goes, so the next test starts from a clean registry.
    dll.Regsvr32(L"/u");
    dll.Regsvr32(L"/u /n /i:user");
  }

  // Every entry in the machine's or the user's classes; the Office keys under the current user.
  void ExpectEntries(bool present, HKEY classesRoot) {
    test::ExpectEntries(present, {classesRoot, HKEY_CURRENT_USER}, ShortPath(), dll.Path());
  }
  std::wstring ShortPath() const { return ShortPathOf(dll.Path()); }

  RegisteredDll dll;
};

TEST_F(Registration, Regsvr32WritesEveryKeyWithItsValueAndItsUndoRemovesThemWithWhatAUserAdded) {
  ASSERT_NE(dll.Path().find(L' '), std::wstring::npos);
  ASSERT_EQ(ShortPath().find(L' '), std::wstring::npos) << win::WideToUtf8(ShortPath());

  ASSERT_EQ(dll.Regsvr32(L""), 0u);
  ExpectEntries(true, HKEY_LOCAL_MACHINE);

  AddUserEntries(HKEY_CURRENT_USER, kWordOffice);
  AddUserEntries(HKEY_CURRENT_USER, kExcelOffice);
  ASSERT_EQ(dll.Regsvr32(L"/u"), 0u);
  ExpectEntries(false, HKEY_LOCAL_MACHINE);
  // Keys already gone are no error.
  EXPECT_EQ(dll.Regsvr32(L"/u"), 0u);
}

TEST_F(Registration, PerUserRegistrationWritesOnlyUnderTheCurrentUserAndItsUndoRemovesAllOfIt) {
  ASSERT_EQ(dll.Regsvr32(L"/n /i:user"), 0u);
  ExpectEntries(true, HKEY_CURRENT_USER);
  for (const std::wstring& key : {kWordClass, kExcelClass, std::wstring(L"MSOAddIn.WordAddIn"), kTypeLib})
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + key)) << win::WideToUtf8(key);

  AddUserEntries(HKEY_CURRENT_USER, kExcelOffice);
  ASSERT_EQ(dll.Regsvr32(L"/u /n /i:user"), 0u);
  ExpectEntries(false, HKEY_CURRENT_USER);
}

TEST_F(Registration, AKeyThatCannotBeWrittenStopsRegistrationAndKeepsWhatWasWrittenBefore) {
  // A volatile class key takes no lasting subkey: Word's InprocServer32 cannot be written. Excel,
  // registered first, is complete; Word stops at that key and gets no Office key.
  const std::wstring wordClass = kClasses + kWordClass;
  win::UniqueKey blocker;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, wordClass.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, blocker.put(), nullptr),
            ERROR_SUCCESS);
  EXPECT_NE(dll.Regsvr32(L""), 0u);
  EXPECT_EQ(ReadRegistry(HKEY_LOCAL_MACHINE, kClasses + kExcelClass + L"\\TypeLib", L"").text,
            L"{35A17783-59C5-4B66-B0E3-A7BEEC7971D0}");
  EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, kExcelOffice, L"LoadBehavior").number, 3u);
  EXPECT_EQ(ReadRegistry(HKEY_LOCAL_MACHINE, wordClass, L"").text, L"WordAddIn Object");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, wordClass + L"\\InprocServer32"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kWordOffice));
  blocker.reset();
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, wordClass.c_str());
}

// Wine's COM reads classes from the machine alone (Windows merges the user's into them), so the
// creation is checked after the machine registration.
TEST_F(Registration, EachHostCreatesItsAddInByProgIdInThisProcess) {
  ASSERT_EQ(dll.Regsvr32(L""), 0u);
  Apartment apartment;
  for (const wchar_t* progId : {L"MSOAddIn.WordAddIn", L"MSOAddIn.ExcelAddIn"}) {
    SCOPED_TRACE(win::WideToUtf8(progId));
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
    win::ComPtr<IUnknown> addIn;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&addIn)), S_OK);
    win::ComPtr<IDTExtensibility2> extensibility;
    win::ComPtr<ISupportErrorInfo> errorInfo;
    win::ComPtr<IProvideClassInfo> classInfo;
    EXPECT_EQ(addIn.As(&extensibility), S_OK);
    EXPECT_EQ(addIn.As(&errorInfo), S_OK);
    EXPECT_EQ(addIn.As(&classInfo), S_OK);
    // The object lives in the registered copy, loaded into this process.
    HMODULE server = nullptr;
    ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCWSTR>(*reinterpret_cast<void**>(addIn.Get())), &server));
    EXPECT_EQ(server, GetModuleHandleW(dll.Path().c_str()));
  }
}

}  // namespace
}  // namespace inkra::test
