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
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + kTypeLib));
}

// The per-user form registers the type library for the user alone, so its undo takes away all of
// it and never the machine's registration that an administrator made before.
TEST_F(Registration, PerUserRegistrationAndItsUndoLeaveTheMachinesTypeLibraryAlone) {
  ASSERT_EQ(dll.Regsvr32(L""), 0u);
  ASSERT_EQ(dll.Regsvr32(L"/n /i:user"), 0u);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kClasses + kTypeLib));
  ASSERT_EQ(dll.Regsvr32(L"/u /n /i:user"), 0u);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClasses + kTypeLib));
  // The Office keys are the user's in both forms and went with the undo; the machine's classes stay.
  for (const std::wstring& key : {kTypeLib, kWordClass, kExcelClass})
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + key)) << win::WideToUtf8(key);
}

struct Form {
  const char* name;
  const wchar_t *registerOptions, *unregisterOptions;
};
void PrintTo(const Form& form, std::ostream* out) { *out << form.name; }

class WpsWhiteLists : public Registration, public ::testing::WithParamInterface<Form> {};

// WPS Office loads an add-in from Office's keys only when its ProgID is in the program's white
// list; other programs' entries there are the user's, and stay.
TEST_P(WpsWhiteLists, RegistrationListsOurProgIdsAndItsUndoRemovesOnlyThem) {
  const std::pair<std::wstring, const wchar_t*> lists[] = {{kWpsWriterList, L"MSOAddIn.WordAddIn"},
                                                           {kWpsSheetList, L"MSOAddIn.ExcelAddIn"}};
  for (const auto& [list, progId] : lists) {
    win::UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, list.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.get(), L"Other.Connect", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), 2),
              ERROR_SUCCESS);
  }
  ASSERT_EQ(dll.Regsvr32(GetParam().registerOptions), 0u);
  for (const auto& [list, progId] : lists) {
    SCOPED_TRACE(win::WideToUtf8(list));
    const RegistryValue ours = ReadRegistry(HKEY_CURRENT_USER, list, progId);
    EXPECT_TRUE(ours.present);
    EXPECT_EQ(ours.type, DWORD(REG_SZ));
    EXPECT_EQ(ours.text, L"");
  }
  // Each program lists only its own host's add-in.
  EXPECT_FALSE(ReadRegistry(HKEY_CURRENT_USER, kWpsWriterList, L"MSOAddIn.ExcelAddIn").present);
  EXPECT_FALSE(ReadRegistry(HKEY_CURRENT_USER, kWpsSheetList, L"MSOAddIn.WordAddIn").present);

  ASSERT_EQ(dll.Regsvr32(GetParam().unregisterOptions), 0u);
  for (const auto& [list, progId] : lists) {
    SCOPED_TRACE(win::WideToUtf8(list));
    EXPECT_FALSE(ReadRegistry(HKEY_CURRENT_USER, list, progId).present);
    EXPECT_TRUE(ReadRegistry(HKEY_CURRENT_USER, list, L"Other.Connect").present);
    RegDeleteKeyW(HKEY_CURRENT_USER, list.c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, WpsWhiteLists,
                         ::testing::Values(Form{"Machine", L"", L"/u"},
                                           Form{"PerUser", L"/n /i:user", L"/u /n /i:user"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A key under Excel's add-in key that cannot be deleted (its owner allows no one anything): the
// rest of Excel's registration goes, and so does all of Word's, which comes after it.
TEST_F(Registration, AnOfficeKeyThatWillNotGoDoesNotStopUnregistration) {
  ASSERT_EQ(dll.Regsvr32(L""), 0u);
  const std::wstring stuck = kExcelOffice + L"\\Stuck";
  win::UniqueKey created;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (stuck + L"\\Inner").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            created.put(), nullptr),
            ERROR_SUCCESS);
  created.reset();
  // The handle keeps the right to give the access back, whatever this test meets.
  struct Locked {
    win::UniqueKey key;
    void Set(bool locked) {
      SECURITY_DESCRIPTOR descriptor{};
      InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
      ACL empty{};
      InitializeAcl(&empty, sizeof empty, ACL_REVISION);
      SetSecurityDescriptorDacl(&descriptor, locked, locked ? &empty : nullptr, FALSE);
      EXPECT_EQ(RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
    }
    ~Locked() {
      if (!key) return;
      Set(false);
      key.reset();
      RegDeleteTreeW(HKEY_CURRENT_USER, kExcelOffice.c_str());
    }
  } locked;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, stuck.c_str(), 0, KEY_ALL_ACCESS, locked.key.put()), ERROR_SUCCESS);
  locked.Set(true);
  win::UniqueKey probe;
  ASSERT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, stuck.c_str(), 0, DELETE | KEY_READ, probe.put()), ERROR_SUCCESS)
      << "the locked key is still open to everyone";

  EXPECT_EQ(dll.Regsvr32(L"/u"), 0u);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + kExcelClass));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + kWordClass));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kWordOffice));
  EXPECT_FALSE(ReadRegistry(HKEY_CURRENT_USER, kWpsWriterList, L"MSOAddIn.WordAddIn").present);
  EXPECT_FALSE(ReadRegistry(HKEY_CURRENT_USER, kWpsSheetList, L"MSOAddIn.ExcelAddIn").present);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kExcelOffice));
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
