// The picture chosen by the host's version, through the built DLL: Office 2007 and later
// (Application.Version 12 or more) get a PNG with alpha and no white keyed out; older hosts, and
// hosts that do not say, get the BMP with its white keyed out, the ink thresholded.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "Bmp.h"
#include "HandOffFile.h"
#include "Png.h"
#include "TextConvert.h"
#include "WhiteBorad.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/AddInDll.h"
#include "support/BoardDriver.h"

namespace inkra::test {
namespace {

using office::HostDouble;
using office::HostKind;

constexpr const wchar_t* kBmpHandOff = L"c:\\00000001InkraWebWhirte.wmf";

struct Case {
  const char* name;
  HostKind kind;
  std::optional<std::wstring> version;
  bool png;
};

class HostVersionInsert : public ::testing::Test {
 protected:
  // Connects a DLL add-in to a host answering `version`, signs a slanted stroke and confirms.
  office::ShapeState& SignInto(HostDouble& host, const Case& c) {
    host.SetVersion(c.version);
    win::ComPtr<IDTExtensibility2> addIn = dll.Connect(host);
    UiDriver ui;
    ui.Then([](UiDriver& d) {
      HWND board = WaitForBoard(d);
      Stroke(d.Child(board, L"InkraBoardView", nullptr), {{60, 200}, {160, 120}, {260, 40}});
      ClickTool(d.Child(board, TOOLBARCLASSNAMEW, nullptr), board::win::kBtnOK);
    });
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(office::FireClick(host, *host.profile().Find(L"InkraSoft")->controls.at(0), cancel), S_OK);
    EXPECT_EQ(ui.Join(), std::vector<std::string>{});
    addIn->OnDisconnection(0, nullptr);
    auto& shapes = AddInDll::Shapes(host).items;
    EXPECT_EQ(shapes.size(), 1u);
    return *shapes.at(0);
  }

  Apartment apartment;
  AddInDll dll;
};

TEST_F(HostVersionInsert, APngWithAlphaFromVersion12AndTheKeyedBmpBeforeOrWhenUnknown) {
  ASSERT_TRUE(dll.Loaded());
  const std::wstring png = board::win::PngHandOffPath(kBmpHandOff);
  const Case cases[] = {
      {"Word 16.0", HostKind::Word, L"16.0", true},
      {"Excel 16.0", HostKind::Excel, L"16.0", true},
      {"Word 12.0.4518", HostKind::Word, L"12.0.4518", true},
      {"Word 11.0", HostKind::Word, L"11.0", false},
      {"Excel 11.0", HostKind::Excel, L"11.0", false},
      {"Word without a version", HostKind::Word, std::nullopt, false},
      {"Excel answering no number", HostKind::Excel, L"Office", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HostDouble host(c.kind);
    const office::ShapeState& shape = SignInto(host, c);
    const bool keyed = !host.log().CallsTo(L"PictureFormat", L"TransparentBackground").empty();
    EXPECT_EQ(keyed, !c.png);
    EXPECT_EQ(host.log().CallsTo(L"PictureFormat", L"TransparencyColor").empty(), c.png);
    EXPECT_EQ(host.log().CallsTo(L"FillFormat", L"Visible").size(), 1u);
    // The BMP is the whole board at 0.75 pt a pixel; the PNG the box of the stroke's ink, drawn
    // at 300 pixels to the inch.
    if (!c.png) EXPECT_EQ(std::tuple(shape.width, shape.height), std::tuple(451.5f, 193.5f));
    if (c.png) EXPECT_GE(float(shape.pixelWidth) / shape.width, 300.0f / 72 - 1e-3f);
    if (c.png) {
      EXPECT_LT(shape.width, 451.5f / 2);
    }
    EXPECT_EQ(GetFileAttributesW(png.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(kBmpHandOff), INVALID_FILE_ATTRIBUTES);
    // Pixels: red ink, and around it either the ink's own alpha or plain white.
    int inked = 0, partial = 0, other = 0;
    if (c.png) {
      EXPECT_EQ(shape.fileName, png);
      const PngImage image = ReadPng(shape.picture);
      ASSERT_EQ(image.channels, 4);
      for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        const std::uint8_t* p = &image.pixels[i];
        if (p[3] == 0) continue;
        ++(p[3] == 255 ? inked : partial);
        other += !(p[0] == 255 && p[1] == 0 && p[2] == 0);  // lighter than the ink: a halo
      }
      EXPECT_GT(partial, 100);
    } else {
      EXPECT_EQ(std::filesystem::path(shape.fileName).filename(), std::filesystem::path(kBmpHandOff).filename());
      const Bitmap image = ReadBmp(shape.picture);
      for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
          const std::uint32_t px = image.PixelRGB(x, y);
          inked += px == 0x0000FFu;
          other += px != 0x0000FFu && px != 0xFFFFFFu;
        }
    }
    EXPECT_GT(inked, 300);
    EXPECT_EQ(other, 0);
  }
}

}  // namespace
}  // namespace inkra::test
