// The version resource as Explorer, Windows Installer and a support call read it, from the built
// DLL and from the copy the packages carry; the windows show the same version.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "InkraVersion.h"
#include "Product.h"
#include "TextConvert.h"
#include "support/RegisteredDll.h"

namespace inkra::test {
namespace {

class VersionResource : public ::testing::TestWithParam<const char*> {};

TEST_P(VersionResource, CarriesTheProjectVersionAndTheProductsNames) {
  const std::wstring file = WindowsPath(GetParam());
  DWORD ignored = 0;
  std::vector<BYTE> block(GetFileVersionInfoSizeW(file.c_str(), &ignored));
  ASSERT_FALSE(block.empty()) << "no version resource in " << GetParam();
  ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, DWORD(block.size()), block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const DWORD high = MAKELONG(INKRA_VERSION_MINOR, INKRA_VERSION_MAJOR);
  const DWORD low = MAKELONG(INKRA_VERSION_TWEAK, INKRA_VERSION_PATCH);
  EXPECT_EQ(fixed->dwFileVersionMS, high);
  EXPECT_EQ(fixed->dwFileVersionLS, low);
  EXPECT_EQ(fixed->dwProductVersionMS, high);
  EXPECT_EQ(fixed->dwProductVersionLS, low);
  EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));

  // The strings of the language the Translation value names first.
  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &length));
  wchar_t prefix[40] = {};
  swprintf(prefix, 40, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
  auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), (prefix + std::wstring(name)).c_str(), reinterpret_cast<void**>(&value), &size))
      return std::wstring(L"(absent)");
    return std::wstring(value);
  };
  // The project's version as CMake gives it to the tests, apart from the generated header.
  EXPECT_EQ(text(L"ProductVersion"), std::wstring(INKRA_PRODUCT_VERSION));
  EXPECT_EQ(text(L"FileVersion"), win::Utf8ToWide(INKRA_VERSION_QUAD));
  EXPECT_EQ(text(L"FileVersion").rfind(std::wstring(INKRA_PRODUCT_VERSION) + L".", 0), 0u);
  EXPECT_EQ(text(L"ProductName"), L"InkraSign");
  EXPECT_EQ(text(L"OriginalFilename"), L"MSOAddIn.dll");
  EXPECT_EQ(text(L"CompanyName"), L"InkraSoft");
  for (const wchar_t* name : {L"FileDescription", L"LegalCopyright"}) {
    const std::wstring value = text(name);
    EXPECT_FALSE(value.empty() || value == L"(absent)") << win::WideToUtf8(name);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, VersionResource, ::testing::Values(INKRA_DLL_PATH, INKRA_PACKAGED_DLL_PATH),
                         [](const auto& info) { return info.index == 0 ? "BuiltDll" : "PackagedDll"; });

TEST(VersionResource, TheWindowsShowTheSameVersion) {
  EXPECT_EQ(win::Utf8ToWide(kProductVersion), std::wstring(INKRA_PRODUCT_VERSION));
}

}  // namespace
}  // namespace inkra::test
