// The version resource as Explorer, Windows Installer and a support call read it, from the built
// DLL and from the copy the packages carry.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InkraVersion.h"
#include "Product.h"
#include "TextConvert.h"
#include "support/RegisteredDll.h"

namespace inkra::test {
namespace {

struct VersionInfo {
  std::vector<BYTE> block;

  explicit VersionInfo(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return;
    block.resize(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) block.clear();
  }

  const VS_FIXEDFILEINFO* Fixed() {
    void* data = nullptr;
    UINT length = 0;
    if (block.empty() || !VerQueryValueW(block.data(), L"\\", &data, &length) || length < sizeof(VS_FIXEDFILEINFO))
      return nullptr;
    return static_cast<const VS_FIXEDFILEINFO*>(data);
  }

  // A string of the language and code page that the Translation value names first.
  std::wstring Text(const wchar_t* name) {
    struct Translation {
      WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (block.empty() || !VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                                         reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation))
      return L"(no translation)";
    wchar_t path[96] = {};
    swprintf(path, 96, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage, name);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&text), &length)) return L"(absent)";
    return std::wstring(text, length ? length - 1 : 0);
  }
};

const std::wstring kVersionText = win::Utf8ToWide(INKRA_VERSION_TEXT);
const DWORD kVersionMs = MAKELONG(INKRA_VERSION_MINOR, INKRA_VERSION_MAJOR);
const DWORD kVersionLs = MAKELONG(INKRA_VERSION_TWEAK, INKRA_VERSION_PATCH);

class VersionResource : public ::testing::TestWithParam<const char*> {};

TEST_P(VersionResource, CarriesTheProjectVersionAndTheProductsNames) {
  VersionInfo info(WindowsPath(GetParam()));
  ASSERT_FALSE(info.block.empty()) << "no version resource in " << GetParam();
  const VS_FIXEDFILEINFO* fixed = info.Fixed();
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, kVersionMs);
  EXPECT_EQ(fixed->dwFileVersionLS, kVersionLs);
  EXPECT_EQ(fixed->dwProductVersionMS, kVersionMs);
  EXPECT_EQ(fixed->dwProductVersionLS, kVersionLs);
  EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));

  // The project's version as CMake gives it to the tests, independently of the generated header.
  EXPECT_EQ(info.Text(L"ProductVersion"), std::wstring(INKRA_PRODUCT_VERSION));
  EXPECT_EQ(info.Text(L"FileVersion"), win::Utf8ToWide(INKRA_VERSION_QUAD));
  EXPECT_EQ(info.Text(L"FileVersion").rfind(std::wstring(INKRA_PRODUCT_VERSION) + L".", 0), 0u);
  EXPECT_EQ(info.Text(L"ProductName"), L"InkraSign");
  EXPECT_EQ(info.Text(L"OriginalFilename"), L"MSOAddIn.dll");
  EXPECT_EQ(info.Text(L"CompanyName"), L"InkraSoft");
  for (const wchar_t* name : {L"FileDescription", L"LegalCopyright"}) {
    const std::wstring text = info.Text(name);
    EXPECT_FALSE(text.empty() || text[0] == L'(') << win::WideToUtf8(name);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, VersionResource, ::testing::Values(INKRA_DLL_PATH, INKRA_PACKAGED_DLL_PATH),
                         [](const auto& info) { return info.index == 0 ? "BuiltDll" : "PackagedDll"; });

TEST(VersionResource, TheWindowsShowTheSameVersion) {
  EXPECT_EQ(win::Utf8ToWide(kProductVersion), std::wstring(INKRA_PRODUCT_VERSION));
  EXPECT_EQ(kVersionText, std::wstring(INKRA_PRODUCT_VERSION));
}

}  // namespace
}  // namespace inkra::test
