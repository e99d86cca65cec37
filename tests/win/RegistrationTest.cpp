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

namespace inkra::test {
namespace {

const std::wstring kWordClass = L"CLSID\\{811CC9C8-001E-407A-90B4-6B16A017C5BB}";
const std::wstring kExcelClass = L"CLSID\\{5C2240AF-D37C-465E-99E7-1E604DEF7018}";
const std::wstring kTypeLib = L"TypeLib\\{35A17783-59C5-4B66-B0E3-A7BEEC7971D0}";
const std::wstring kWordOffice = L"Software\\Microsoft\\Office\\Word\\Addins\\MSOAddIn.WordAddIn";
const std::wstring kExcelOffice = L"Software\\Microsoft\\Office\\Excel\\Addins\\MSOAddIn.ExcelAddIn";

// Class registration lands under this key of HKEY_LOCAL_MACHINE (machine) or HKEY_CURRENT_USER (per user).
const std::wstring kClasses = L"Software\\Classes\\";

struct Expected {
  bool classes;        // under the classes root; otherwise under HKEY_CURRENT_USER itself
  std::wstring key, valueName;
  std::variant<std::wstring, DWORD> data;
};

std::vector<Expected> EveryEntry(const std::wstring& shortPath, const std::wstring& longPath) {
  std::vector<Expected> entries;
  auto host = [&](const std::wstring& classKey, const wchar_t* clsid, const wchar_t* coclass, const std::wstring& office,
                  const wchar_t* friendly) {
    const std::wstring description = std::wstring(coclass) + L" Object";
    const std::wstring progId = std::wstring(L"MSOAddIn.") + coclass;
    entries.push_back({true, classKey, L"", description});
    entries.push_back({true, classKey + L"\\InprocServer32", L"", shortPath});
    entries.push_back({true, classKey + L"\\InprocServer32", L"ThreadingModel", std::wstring(L"Apartment")});
    entries.push_back({true, progId, L"", description});
    entries.push_back({true, progId + L"\\Clsid", L"", std::wstring(clsid)});
    entries.push_back({true, classKey + L"\\ProgID", L"", progId});
    entries.push_back({true, classKey + L"\\Version", L"", std::wstring(L"1.0")});
    entries.push_back({true, classKey + L"\\TypeLib", L"", std::wstring(L"{35A17783-59C5-4B66-B0E3-A7BEEC7971D0}")});
    entries.push_back({false, office, L"FriendlyName", std::wstring(friendly)});
    entries.push_back({false, office, L"Description", std::wstring(friendly)});
    entries.push_back({false, office, L"LoadBehavior", DWORD(3)});
  };
  host(kWordClass, L"{811CC9C8-001E-407A-90B4-6B16A017C5BB}", L"WordAddIn", kWordOffice, L"Inkra Word 2000/XP AddIn");
  host(kExcelClass, L"{5C2240AF-D37C-465E-99E7-1E604DEF7018}", L"ExcelAddIn", kExcelOffice,
       L"Inkra Excel 2000/XP AddIn");
  const wchar_t* platform = sizeof(void*) == 8 ? L"\\1.0\\409\\win64" : L"\\1.0\\409\\win32";
  entries.push_back({true, kTypeLib + platform, L"", longPath});
  return entries;
}

std::string Describe(const RegistryValue& value) {
  if (!value.present) return "(absent)";
  if (value.type == REG_DWORD) return "REG_DWORD " + std::to_string(value.number);
  return (value.type == REG_SZ ? "REG_SZ " : "type " + std::to_string(value.type) + " ") + win::WideToUtf8(value.text);
}

class Registration : public ::testing::Test {
 protected:
  void TearDown() override {
    // Whatever a failed test left behind goes, so the next test starts from a clean registry.
    dll.Regsvr32(L"/u");
    dll.Regsvr32(L"/u /n /i:user");
  }

  // Every entry holds its value (present) or none exists at all (!present), in the machine's or
  // the user's classes.
  void ExpectEntries(bool present, HKEY classesRoot, const std::wstring& classes) {
    for (const Expected& e : EveryEntry(ShortPath(), dll.Path())) {
      HKEY root = e.classes ? classesRoot : HKEY_CURRENT_USER;
      const std::wstring key = e.classes ? classes + e.key : e.key;
      SCOPED_TRACE(win::WideToUtf8(key + L" [" + e.valueName + L"]"));
      RegistryValue value = ReadRegistry(root, key, e.valueName);
      if (!present) {
        EXPECT_FALSE(KeyExists(root, key)) << Describe(value);
        continue;
      }
      if (const auto* text = std::get_if<std::wstring>(&e.data)) {
        EXPECT_EQ(value.type, DWORD(REG_SZ)) << Describe(value);
        EXPECT_EQ(value.text, *text);
      } else {
        EXPECT_EQ(value.type, DWORD(REG_DWORD)) << Describe(value);
        EXPECT_EQ(value.number, std::get<DWORD>(e.data));
      }
    }
  }
  std::wstring ShortPath() const {
    wchar_t shortPath[MAX_PATH] = {};
    GetShortPathNameW(dll.Path().c_str(), shortPath, MAX_PATH);
    return shortPath;
  }
  // What a user may add under an add-in key: a value, and a subkey with one of its own.
  static void AddUserEntries(const std::wstring& officeKey) {
    win::UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (officeKey + L"\\Options\\Deeper").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    const DWORD one = 1;
    ASSERT_EQ(RegSetValueExW(key.get(), L"Mine", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one),
              ERROR_SUCCESS);
    win::UniqueKey office;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, officeKey.c_str(), 0, KEY_SET_VALUE, office.put()), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(office.get(), L"CommandLineSafe", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                             sizeof one),
              ERROR_SUCCESS);
  }

  RegisteredDll dll;
};

TEST_F(Registration, Regsvr32WritesEveryKeyWithItsValueAndItsUndoRemovesThemWithWhatAUserAdded) {
  ASSERT_NE(dll.Path().find(L' '), std::wstring::npos);
  ASSERT_EQ(ShortPath().find(L' '), std::wstring::npos) << win::WideToUtf8(ShortPath());

  ASSERT_EQ(dll.Regsvr32(L""), 0u);
  ExpectEntries(true, HKEY_LOCAL_MACHINE, kClasses);

  AddUserEntries(kWordOffice);
  AddUserEntries(kExcelOffice);
  ASSERT_EQ(dll.Regsvr32(L"/u"), 0u);
  ExpectEntries(false, HKEY_LOCAL_MACHINE, kClasses);
  // Keys already gone are no error.
  EXPECT_EQ(dll.Regsvr32(L"/u"), 0u);
}

TEST_F(Registration, PerUserRegistrationWritesOnlyUnderTheCurrentUserAndItsUndoRemovesAllOfIt) {
  ASSERT_EQ(dll.Regsvr32(L"/n /i:user"), 0u);
  ExpectEntries(true, HKEY_CURRENT_USER, kClasses);
  for (const std::wstring& key : {kWordClass, kExcelClass, std::wstring(L"MSOAddIn.WordAddIn"), kTypeLib})
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + key)) << win::WideToUtf8(key);

  AddUserEntries(kExcelOffice);
  ASSERT_EQ(dll.Regsvr32(L"/u /n /i:user"), 0u);
  ExpectEntries(false, HKEY_CURRENT_USER, kClasses);
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
