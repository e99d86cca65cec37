// The installer packages, installed and removed by the system's msiexec as a user or an
// administrator runs them: every file and key in its place (the 64-bit package's in the 64-bit
// view, since this test runs at the package's bitness); the add-in created and connected from the
// installed file by the host stand-ins' loader, as Office does at start-up; nothing of it left
// after removal but the user's pen settings; and an upgrade that leaves one copy.
#include <windows.h>
#include <msi.h>
#include <oleauto.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "ByteSink.h"
#include "ComPtr.h"
#include "Handle.h"
#include "OfficeAddIns.h"
#include "TextConvert.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/RegisteredDll.h"
#include "support/RegistryChecks.h"

namespace inkra::test {
namespace {

using office::HostDouble;
using office::HostKind;

constexpr GUID kLibraryId = {0x35A17783, 0x59C5, 0x4B66, {0xB0, 0xE3, 0xA7, 0xBE, 0xEC, 0x79, 0x71, 0xD0}};
constexpr wchar_t kUpgradeCode[] = L"{9EF41448-D1AE-43CB-84A4-2BA98A32E374}";
const std::wstring kPenSettings = L"SOFTWARE\\InkraWirte\\WriteBoard";

struct Scope {
  const char* name;
  const wchar_t* properties;  // on msiexec's command line
  HKEY root;                  // where every key lands
  int folder;                 // CSIDL of the folder the files go under
};
void PrintTo(const Scope& scope, std::ostream* out) { *out << scope.name; }
const Scope kPerUser{"PerUser", L"", HKEY_CURRENT_USER, CSIDL_LOCAL_APPDATA};
const Scope kPerMachine{"PerMachine", L"ALLUSERS=1", HKEY_LOCAL_MACHINE, CSIDL_PROGRAM_FILES};

DWORD Msiexec(const std::wstring& action, const std::wstring& package, const std::wstring& properties = L"") {
  return RunAndWait(L"msiexec.exe " + action + L" \"" + package + L"\" /qn " + properties);
}

std::wstring InstallFolder(const Scope& scope) {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, scope.folder, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::wstring(folder) + L"\\InkraSign";
}

// The product versions installed under our upgrade code, one per installed copy.
std::vector<std::wstring> InstalledVersions() {
  std::vector<std::wstring> versions;
  wchar_t product[39] = {};
  for (DWORD i = 0; MsiEnumRelatedProductsW(kUpgradeCode, 0, i, product) == ERROR_SUCCESS; ++i) {
    wchar_t version[64] = {};
    DWORD length = 64;
    MsiGetProductInfoW(product, INSTALLPROPERTY_VERSIONSTRING, version, &length);
    versions.push_back(version);
  }
  return versions;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(ShortPathOf(a).c_str(), -1, ShortPathOf(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The machine's Office key in the other bitness's view: 32-bit and 64-bit Office each read only
// their own (the current user's Software is one for both).
bool OfficeKeyInOtherView(HKEY root) {
  const REGSAM otherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  win::UniqueKey key;
  return RegOpenKeyExW(root, kWordOffice.c_str(), 0, KEY_READ | otherView, key.put()) == ERROR_SUCCESS;
}

// Removal as Programs and Features runs it: by product code, with no properties.
DWORD UninstallAsControlPanel() {
  wchar_t product[39] = {};
  if (MsiEnumRelatedProductsW(kUpgradeCode, 0, 0, product) != ERROR_SUCCESS) return ERROR_UNKNOWN_PRODUCT;
  return RunAndWait(L"msiexec.exe /x " + std::wstring(product) + L" /qn");
}

class Installer : public ::testing::TestWithParam<Scope> {
 protected:
  void TearDown() override {
    // Whatever a failed test left installed goes, so the next test starts from a clean machine.
    while (!InstalledVersions().empty())
      if (UninstallAsControlPanel() != 0) break;
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\InkraWirte");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\InkraWirte");
  }

  void ExpectInstalled(const Scope& scope, bool present) {
    const std::wstring dll = InstallFolder(scope) + L"\\MSOAddIn.dll";
    if (present) {
      ASSERT_TRUE(std::filesystem::exists(dll)) << win::WideToUtf8(dll);
      EXPECT_TRUE(ReadFileBytes(dll) == ReadFileBytes(WindowsPath(INKRA_PACKAGED_DLL_PATH)));
      ExpectEntries(true, {scope.root, scope.root}, ShortPathOf(dll), dll);
    } else {
      EXPECT_EQ(GetFileAttributesW(InstallFolder(scope).c_str()), INVALID_FILE_ATTRIBUTES);
      ExpectEntries(false, {scope.root, scope.root}, L"", L"");
      for (const std::wstring& key : {kTypeLib, std::wstring(L"Interface\\{FA03D569-2213-40CA-B62E-244039FA1258}"),
                                      std::wstring(L"Interface\\{0ED24C8C-3AFB-4DF1-9103-B65CD0069FC7}")})
        EXPECT_FALSE(KeyExists(scope.root, kClasses + key)) << win::WideToUtf8(key);
    }
  }

  const std::wstring package = WindowsPath(INKRA_MSI_PATH);
  const std::wstring olderPackage = WindowsPath(INKRA_OLDER_MSI_PATH);
  const std::wstring version = INKRA_PRODUCT_VERSION;
};

TEST_P(Installer, InstallsEveryFileAndKeyOfficeLoadsItAndRemovalLeavesOnlyThePenSettings) {
  const Scope& scope = GetParam();
  ASSERT_EQ(Msiexec(L"/i", package, scope.properties), 0u);
  ExpectInstalled(scope, true);
  EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{version});
  const HKEY otherRoot = scope.root == HKEY_CURRENT_USER ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  EXPECT_FALSE(KeyExists(otherRoot, kWordOffice));
  EXPECT_FALSE(KeyExists(otherRoot, kClasses + kWordClass));
  if (scope.root == HKEY_LOCAL_MACHINE) EXPECT_FALSE(OfficeKeyInOtherView(scope.root));

  // Wine's COM reads classes from the machine alone (Windows merges the user's into them), so the
  // add-in is created from the per-machine install only.
  if (scope.root == HKEY_LOCAL_MACHINE) {
    Apartment apartment;
    for (auto [app, progId, kind] : {std::tuple{L"Word", L"MSOAddIn.WordAddIn", HostKind::Word},
                                     std::tuple{L"Excel", L"MSOAddIn.ExcelAddIn", HostKind::Excel}}) {
      SCOPED_TRACE(win::WideToUtf8(app));
      HostDouble host(kind);
      demo::OfficeAddIns addIns(app, host.Application());
      EXPECT_EQ(addIns.Connected(), std::vector<std::wstring>{progId});
      EXPECT_TRUE(addIns.Failures().empty());
      EXPECT_NE(GetModuleHandleW((InstallFolder(scope) + L"\\MSOAddIn.dll").c_str()), nullptr);
      EXPECT_NE(host.profile().Find(L"InkraSoft"), nullptr);
    }
    // The type library as automation clients find it.
    BSTR library = nullptr;
    ASSERT_EQ(QueryPathOfRegTypeLib(kLibraryId, 1, 0, 0x409, &library), S_OK);
    EXPECT_TRUE(SameFile(library, InstallFolder(scope) + L"\\MSOAddIn.dll")) << win::WideToUtf8(library);
    SysFreeString(library);
    CoFreeUnusedLibrariesEx(0, 0);
  }

  // The user's pen settings, and what Office or the user added under the add-in key.
  win::UniqueKey settings;
  ASSERT_EQ(RegCreateKeyExW(scope.root, kPenSettings.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, settings.put(),
                            nullptr),
            ERROR_SUCCESS);
  const DWORD width = 7;
  RegSetValueExW(settings.get(), L"PenWidth", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&width), sizeof width);
  AddUserEntries(scope.root, kWordOffice);

  ASSERT_EQ(UninstallAsControlPanel(), 0u);
  ExpectInstalled(scope, false);
  EXPECT_TRUE(InstalledVersions().empty());
  EXPECT_EQ(ReadRegistry(scope.root, kPenSettings, L"PenWidth").number, width);
}

TEST_P(Installer, ANewerPackageReplacesTheOlderAndAnOlderOneIsRefused) {
  const Scope& scope = GetParam();
  ASSERT_EQ(Msiexec(L"/i", olderPackage, scope.properties), 0u);
  EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{L"0.0.1"});
  ASSERT_EQ(Msiexec(L"/i", package, scope.properties), 0u);
  EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{version});
  ExpectInstalled(scope, true);

  EXPECT_NE(Msiexec(L"/i", olderPackage, scope.properties), 0u);
  EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{version});

  ASSERT_EQ(Msiexec(L"/x", package, scope.properties), 0u);
  ExpectInstalled(scope, false);
  EXPECT_TRUE(InstalledVersions().empty());
}

INSTANTIATE_TEST_SUITE_P(Scopes, Installer, ::testing::Values(kPerUser, kPerMachine),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace inkra::test
