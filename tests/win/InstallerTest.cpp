// The installer packages, installed and removed by the system's msiexec as a user or an
// administrator runs them: every file and key in its place (the 64-bit package's in the 64-bit
// view, since this test runs at the package's bitness); the add-in created and connected from the
// installed file by the host stand-ins' loader, as Office does at start-up; nothing of it left
// after removal but the user's pen settings; and an upgrade that leaves one copy.
#include <windows.h>
#include <msi.h>
#include <msidefs.h>
#include <msiquery.h>
#include <oleauto.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "ByteSink.h"
#include "ComPtr.h"
#include "Handle.h"
#include "InkraVersion.h"
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
// Each architecture's package is its own product.
constexpr wchar_t kX86UpgradeCode[] = L"{9EF41448-D1AE-43CB-84A4-2BA98A32E374}";
constexpr wchar_t kX64UpgradeCode[] = L"{4A0C3E55-7B41-4F0B-9C59-2E8D6A1F3B07}";
const wchar_t* const kUpgradeCode = sizeof(void*) == 8 ? kX64UpgradeCode : kX86UpgradeCode;
const wchar_t* const kOtherUpgradeCode = sizeof(void*) == 8 ? kX86UpgradeCode : kX64UpgradeCode;
const std::wstring kPenSettings = L"SOFTWARE\\InkraWirte\\WriteBoard";

struct Scope {
  const char* name;
  const wchar_t* properties;  // on msiexec's command line
  HKEY root;                  // where every key lands
  int folder;                 // CSIDL of the folder the files go under
};
void PrintTo(const Scope& scope, std::ostream* out) { *out << scope.name; }
// The package is dual purpose (ALLUSERS=2 with MSIINSTALLPERUSER=1: per user unless asked).
// Wine 8's installer predates that and reads ALLUSERS=2 as per machine, so the per-user install
// is asked for as any installer understands it; PackageMarking checks the default itself.
constexpr wchar_t kPerUserProperties[] = L"ALLUSERS=\"\"";
const Scope kPerUser{"PerUser", kPerUserProperties, HKEY_CURRENT_USER, CSIDL_LOCAL_APPDATA};
const Scope kPerMachine{"PerMachine", L"ALLUSERS=1", HKEY_LOCAL_MACHINE, CSIDL_PROGRAM_FILES};

DWORD Msiexec(const std::wstring& action, const std::wstring& package, const std::wstring& properties = L"") {
  return RunAndWait(L"msiexec.exe " + action + L" \"" + package + L"\" /qn " + properties);
}

std::wstring InstallFolder(const Scope& scope) {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, scope.folder, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::wstring(folder) + L"\\InkraSign";
}

// The product versions installed under an upgrade code, one per installed copy.
std::vector<std::wstring> InstalledVersions(const wchar_t* upgradeCode = kUpgradeCode) {
  std::vector<std::wstring> versions;
  wchar_t product[39] = {};
  for (DWORD i = 0; MsiEnumRelatedProductsW(upgradeCode, 0, i, product) == ERROR_SUCCESS; ++i) {
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

std::wstring InstalledProduct(const wchar_t* upgradeCode = kUpgradeCode) {
  wchar_t product[39] = {};
  if (MsiEnumRelatedProductsW(upgradeCode, 0, 0, product) != ERROR_SUCCESS) return L"";
  return product;
}

// Removal as Programs and Features runs it: by product code, in the context it was installed in.
// Windows takes that context from the installed product; Wine 8 takes ALLUSERS=2 from the package
// even then, so a per-user product is named as such here.
DWORD UninstallAsControlPanel(const wchar_t* upgradeCode = kUpgradeCode) {
  const std::wstring product = InstalledProduct(upgradeCode);
  if (product.empty()) return ERROR_UNKNOWN_PRODUCT;
  wchar_t state[8] = {};
  DWORD length = 8;
  const bool perMachine = MsiGetProductInfoExW(product.c_str(), nullptr, MSIINSTALLCONTEXT_MACHINE,
                                               INSTALLPROPERTY_PRODUCTSTATE, state, &length) == ERROR_SUCCESS;
  const std::wstring context = perMachine ? L"" : L" " + std::wstring(kPerUserProperties);
  return RunAndWait(L"msiexec.exe /x " + product + L" /qn" + context);
}

std::wstring ProductInfo(const std::wstring& product, const wchar_t* property) {
  wchar_t value[512] = {};
  DWORD length = 512;
  if (MsiGetProductInfoW(product.c_str(), property, value, &length) != ERROR_SUCCESS) return L"(none)";
  return value;
}

// One value from a package's tables, by a query that selects one column.
std::wstring QueryPackage(const std::wstring& package, const std::wstring& sql) {
  MSIHANDLE database = 0, view = 0, record = 0;
  std::wstring result = L"(none)";
  if (MsiOpenDatabaseW(package.c_str(), MSIDBOPEN_READONLY, &database) == ERROR_SUCCESS &&
      MsiDatabaseOpenViewW(database, sql.c_str(), &view) == ERROR_SUCCESS && MsiViewExecute(view, 0) == ERROR_SUCCESS &&
      MsiViewFetch(view, &record) == ERROR_SUCCESS) {
    wchar_t value[512] = {};
    DWORD length = 512;
    if (MsiRecordGetStringW(record, 1, value, &length) == ERROR_SUCCESS) result = value;
  }
  for (MSIHANDLE handle : {record, view, database})
    if (handle) MsiCloseHandle(handle);
  return result;
}

void SetLoadBehavior(HKEY root, const std::wstring& officeKey, DWORD value) {
  win::UniqueKey key;
  ASSERT_EQ(RegOpenKeyExW(root, officeKey.c_str(), 0, KEY_SET_VALUE, key.put()), ERROR_SUCCESS);
  const BYTE* data = reinterpret_cast<const BYTE*>(&value);
  ASSERT_EQ(RegSetValueExW(key.get(), L"LoadBehavior", 0, REG_DWORD, data, sizeof value), ERROR_SUCCESS);
}

class Installer : public ::testing::TestWithParam<Scope> {
 protected:
  void TearDown() override {
    // Whatever a failed test left installed goes, so the next test starts from a clean machine.
    for (const wchar_t* code : {kUpgradeCode, kOtherUpgradeCode})
      while (!InstalledVersions(code).empty())
        if (UninstallAsControlPanel(code) != 0) break;
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
  const std::wstring rebuiltPackage = WindowsPath(INKRA_REBUILT_MSI_PATH);
  const std::wstring version = INKRA_PRODUCT_VERSION;
};

TEST_P(Installer, InstallsEveryFileAndKeyOfficeLoadsItAndRemovalLeavesOnlyThePenSettings) {
  const Scope& scope = GetParam();
  ASSERT_EQ(Msiexec(L"/i", package, scope.properties), 0u);
  ExpectInstalled(scope, true);
  EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{version});
  // What Programs and Features shows.
  EXPECT_EQ(ProductInfo(InstalledProduct(), INSTALLPROPERTY_PUBLISHER), L"InkraSoft");
  EXPECT_EQ(ProductInfo(InstalledProduct(), INSTALLPROPERTY_VERSIONSTRING), version);
  EXPECT_EQ(ProductInfo(InstalledProduct(), INSTALLPROPERTY_PRODUCTNAME), L"InkraSign");
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

TEST_P(Installer, AnUpgradeKeepsTheAddInTheUserSwitchedOff) {
  const Scope& scope = GetParam();
  ASSERT_EQ(Msiexec(L"/i", olderPackage, scope.properties), 0u);
  SetLoadBehavior(scope.root, kWordOffice, 2);  // unloaded: what Office's add-in dialog writes
  ASSERT_EQ(Msiexec(L"/i", package, scope.properties), 0u);
  EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{version});
  EXPECT_EQ(ReadRegistry(scope.root, kWordOffice, L"LoadBehavior").number, 2u);
  EXPECT_EQ(ReadRegistry(scope.root, kExcelOffice, L"LoadBehavior").number, 3u);
  EXPECT_EQ(ReadRegistry(scope.root, kWordOffice, L"FriendlyName").text, L"Inkra Word 2000/XP AddIn");
}

TEST_P(Installer, ARebuiltPackageOfTheSameVersionReplacesTheInstalledOne) {
  const Scope& scope = GetParam();
  ASSERT_EQ(Msiexec(L"/i", package, scope.properties), 0u);
  const std::wstring first = InstalledProduct();
  ASSERT_EQ(Msiexec(L"/i", rebuiltPackage, scope.properties), 0u);
  EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{version});
  EXPECT_NE(InstalledProduct(), first);
  ExpectInstalled(scope, true);
  ASSERT_EQ(UninstallAsControlPanel(), 0u);
  ExpectInstalled(scope, false);
}

// The user's classes win over the machine's: a second copy in the other scope could leave the
// wrong version loading, so the second install is refused and the first stays whole.
TEST_P(Installer, ASecondCopyInTheOtherScopeIsRefused) {
  const Scope& scope = GetParam();
  const Scope& other = scope.root == HKEY_CURRENT_USER ? kPerMachine : kPerUser;
  ASSERT_EQ(Msiexec(L"/i", olderPackage, scope.properties), 0u);
  EXPECT_NE(Msiexec(L"/i", package, other.properties), 0u);
  EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{L"0.0.1"});
  EXPECT_EQ(GetFileAttributesW(InstallFolder(other).c_str()), INVALID_FILE_ATTRIBUTES);
  // Removed first, the other scope installs.
  ASSERT_EQ(UninstallAsControlPanel(), 0u);
  ASSERT_EQ(Msiexec(L"/i", package, other.properties), 0u);
  ExpectInstalled(other, true);
}

// The two architectures share the user's Office keys: whichever comes second is refused, in
// either order, and the first stays whole.
TEST_P(Installer, TheOtherArchitecturesPackageIsRefusedInEitherOrder) {
  const Scope& scope = GetParam();
  const std::wstring otherPackage = WindowsPath(INKRA_OTHER_ARCH_MSI_PATH);
  if (GetFileAttributesW(otherPackage.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "the other architecture's package is not built (scripts/package builds both)";
  ASSERT_EQ(Msiexec(L"/i", package, scope.properties), 0u);
  EXPECT_NE(Msiexec(L"/i", otherPackage, scope.properties), 0u);
  EXPECT_TRUE(InstalledVersions(kOtherUpgradeCode).empty());
  ExpectInstalled(scope, true);
  ASSERT_EQ(UninstallAsControlPanel(), 0u);

  ASSERT_EQ(Msiexec(L"/i", otherPackage, scope.properties), 0u);
  EXPECT_NE(Msiexec(L"/i", package, scope.properties), 0u);
  EXPECT_TRUE(InstalledVersions().empty());
  EXPECT_EQ(InstalledVersions(kOtherUpgradeCode), std::vector<std::wstring>{version});
  ASSERT_EQ(UninstallAsControlPanel(kOtherUpgradeCode), 0u);
}

// Across scopes too: the user's keys, which both architectures read, would hide the other
// architecture's machine-wide copy.
TEST_F(Installer, APerUserCopyIsRefusedOverTheOtherArchitecturesMachineCopy) {
  const std::wstring otherPackage = WindowsPath(INKRA_OTHER_ARCH_MSI_PATH);
  if (GetFileAttributesW(otherPackage.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "the other architecture's package is not built (scripts/package builds both)";
  ASSERT_EQ(Msiexec(L"/i", otherPackage, kPerMachine.properties), 0u);
  EXPECT_NE(Msiexec(L"/i", package, kPerUser.properties), 0u);
  EXPECT_TRUE(InstalledVersions().empty());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kWordOffice));
}

INSTANTIATE_TEST_SUITE_P(Scopes, Installer, ::testing::Values(kPerUser, kPerMachine),
                         [](const auto& info) { return std::string(info.param.name); });

// How the package asks for what it needs: not flagged "no elevation", so ALLUSERS=1 from an
// ordinary prompt asks for it; per user by default; the DLL compared by its version resource; an
// icon and a publisher for Programs and Features; the other architecture's package detected.
TEST(InstallerPackage, PackageMarking) {
  const std::wstring package = WindowsPath(INKRA_MSI_PATH);
  MSIHANDLE summary = 0;
  ASSERT_EQ(MsiGetSummaryInformationW(0, package.c_str(), 0, &summary), ERROR_SUCCESS);
  UINT type = 0;
  INT wordCount = -1;
  FILETIME time{};
  DWORD length = 0;
  EXPECT_EQ(MsiSummaryInfoGetPropertyW(summary, PID_WORDCOUNT, &type, &wordCount, &time, nullptr, &length),
            ERROR_SUCCESS);
  MsiCloseHandle(summary);
  EXPECT_EQ(wordCount & 8, 0) << "flagged as needing no elevation: a per-machine install cannot ask for it";

  auto property = [&](const wchar_t* name) {
    return QueryPackage(package, L"SELECT `Value` FROM `Property` WHERE `Property` = '" + std::wstring(name) + L"'");
  };
  EXPECT_EQ(property(L"ALLUSERS"), L"2");
  EXPECT_EQ(property(L"MSIINSTALLPERUSER"), L"1");
  EXPECT_EQ(property(L"Manufacturer"), L"InkraSoft");
  EXPECT_EQ(property(L"UpgradeCode"), kUpgradeCode);
  const std::wstring icon = property(L"ARPPRODUCTICON");
  EXPECT_EQ(QueryPackage(package, L"SELECT `Name` FROM `Icon` WHERE `Name` = '" + icon + L"'"), icon);
  EXPECT_EQ(QueryPackage(package, L"SELECT `Version` FROM `File` WHERE `File` = 'MSOAddIn.dll'"),
            win::Utf8ToWide(INKRA_VERSION_QUAD));
  EXPECT_EQ(QueryPackage(package, L"SELECT `ActionProperty` FROM `Upgrade` WHERE `UpgradeCode` = '" +
                                      std::wstring(kOtherUpgradeCode) + L"'"),
            L"INKRAOTHERARCH");
}

}  // namespace
}  // namespace inkra::test
