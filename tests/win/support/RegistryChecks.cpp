#include "support/RegistryChecks.h"

#include <gtest/gtest.h>

#include "Handle.h"
#include "TextConvert.h"
#include "support/RegisteredDll.h"

namespace inkra::test {
namespace {

struct Expected {
  bool classes;  // under the classes root; otherwise under the Office root
  std::wstring key, valueName;
  std::variant<std::wstring, DWORD> data;
};

std::vector<Expected> EveryEntry(const std::wstring& serverPath, const std::wstring& libraryPath) {
  std::vector<Expected> entries;
  auto host = [&](const std::wstring& classKey, const wchar_t* clsid, const wchar_t* coclass, const std::wstring& office,
                  const wchar_t* friendly, const std::wstring& whiteList) {
    const std::wstring description = std::wstring(coclass) + L" Object";
    const std::wstring progId = std::wstring(L"MSOAddIn.") + coclass;
    entries.push_back({true, classKey, L"", description});
    entries.push_back({true, classKey + L"\\InprocServer32", L"", serverPath});
    entries.push_back({true, classKey + L"\\InprocServer32", L"ThreadingModel", std::wstring(L"Apartment")});
    entries.push_back({true, progId, L"", description});
    entries.push_back({true, progId + L"\\Clsid", L"", std::wstring(clsid)});
    entries.push_back({true, classKey + L"\\ProgID", L"", progId});
    entries.push_back({true, classKey + L"\\Version", L"", std::wstring(L"1.0")});
    entries.push_back({true, classKey + L"\\TypeLib", L"", std::wstring(L"{35A17783-59C5-4B66-B0E3-A7BEEC7971D0}")});
    entries.push_back({false, office, L"FriendlyName", std::wstring(friendly)});
    entries.push_back({false, office, L"Description", std::wstring(friendly)});
    entries.push_back({false, office, L"LoadBehavior", DWORD(3)});
    entries.push_back({false, whiteList, progId, std::wstring()});
  };
  host(kWordClass, L"{811CC9C8-001E-407A-90B4-6B16A017C5BB}", L"WordAddIn", kWordOffice, L"Inkra Word 2000/XP AddIn",
       kWpsWriterList);
  host(kExcelClass, L"{5C2240AF-D37C-465E-99E7-1E604DEF7018}", L"ExcelAddIn", kExcelOffice,
       L"Inkra Excel 2000/XP AddIn", kWpsSheetList);
  const wchar_t* platform = sizeof(void*) == 8 ? L"\\1.0\\409\\win64" : L"\\1.0\\409\\win32";
  entries.push_back({true, kTypeLib + platform, L"", libraryPath});
  return entries;
}

std::string Describe(const RegistryValue& value) {
  if (!value.present) return "(absent)";
  if (value.type == REG_DWORD) return "REG_DWORD " + std::to_string(value.number);
  return (value.type == REG_SZ ? "REG_SZ " : "type " + std::to_string(value.type) + " ") + win::WideToUtf8(value.text);
}

}  // namespace

void ExpectEntries(bool present, RegistryPlace place, const std::wstring& serverPath,
                   const std::wstring& libraryPath) {
  for (const Expected& e : EveryEntry(serverPath, libraryPath)) {
    HKEY root = e.classes ? place.classesRoot : place.officeRoot;
    const std::wstring key = e.classes ? kClasses + e.key : e.key;
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

void AddUserEntries(HKEY root, const std::wstring& officeKey) {
  win::UniqueKey key;
  ASSERT_EQ(RegCreateKeyExW(root, (officeKey + L"\\Options\\Deeper").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            key.put(), nullptr),
            ERROR_SUCCESS);
  const DWORD one = 1;
  ASSERT_EQ(RegSetValueExW(key.get(), L"Mine", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one),
            ERROR_SUCCESS);
  win::UniqueKey office;
  ASSERT_EQ(RegOpenKeyExW(root, officeKey.c_str(), 0, KEY_SET_VALUE, office.put()), ERROR_SUCCESS);
  ASSERT_EQ(
      RegSetValueExW(office.get(), L"CommandLineSafe", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one),
      ERROR_SUCCESS);
}

std::wstring ShortPathOf(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH] = {};
  GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  return shortPath;
}

}  // namespace inkra::test
