// Scanning from a source nobody here wrote: Wine's camera source (gphoto2.ds, "Mass Storage
// Camera") behind Wine's own manager, over libgphoto2's mass-storage camera, which is any mounted
// folder holding DCIM/. real-camera.sh mounts a tmpfs for it, in a mount namespace with a Wine
// server of its own, and names it in INKRA_CAMERA_FOLDER; anywhere else the test is skipped.
// This source closes its dialog, never asks to be closed, reports wrong pending counts and hands
// the picture over as a DIB-section bitmap: the road ends only if the board copes with all four.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "BoardScanSupport.h"
#include "../unit/BoardTestJpeg.h"
#include "Bmp.h"
#include "hostdouble/Apartment.h"
#include "support/AddInDll.h"

namespace inkra::test {
namespace {

constexpr int kImportAll = 1002;  // the button of the camera's "Files on Camera" dialog

bool Near(std::uint32_t colour, std::uint32_t expected) {
  for (int shift : {0, 8, 16})
    if (std::abs(int(colour >> shift & 0xFF) - int(expected >> shift & 0xFF)) > 8) return false;
  return true;
}

TEST_F(BoardScan, RealCameraSourcesPictureReachesTheBoardAndTheDocument) {
  if (sizeof(void*) == 8) GTEST_SKIP() << "Wine ships no 64-bit TWAINDSM.DLL";
  wchar_t folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"INKRA_CAMERA_FOLDER", folder, MAX_PATH))
    GTEST_SKIP() << "no mounted camera folder: tests/win/real-camera.sh runs this test where a folder can be mounted";
  const std::filesystem::path dcim = std::filesystem::path(L"Z:" + std::wstring(folder)) / L"DCIM" / L"100INKRA";
  std::filesystem::create_directories(dcim);
  const auto jpeg = board::testing::MakeJpeg(64, 48, 30, 140, 220);
  std::ofstream(dcim / L"IMG_0001.JPG", std::ios::binary)
      .write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));

  ManagerPlacement placed(Manager::WineCamera);
  Apartment apartment;
  AddInDll dll;
  ASSERT_TRUE(dll.Loaded());
  office::HostDouble host(office::HostKind::Word);
  win::ComPtr<IDTExtensibility2> addIn = dll.Connect(host);
  ASSERT_TRUE(addIn);
  MessageBoxInfo said;
  UiDriver ui(60000);
  ui.Then([&](UiDriver& d) {
    HWND board = WaitForBoard(d), toolbar = d.Child(board, TOOLBARCLASSNAMEW, nullptr);
    ClickTool(toolbar, board::win::kBtnScan);
    ChooseTwainSource(d, L"Mass Storage Camera", IDOK);
    HWND files = d.WaitForWindow(kDialogClass, L"Files on Camera");
    d.PressButton(files, kImportAll);
    said = AnswerMessageBox(d, L"扫描");
    Eventually(d, [&] { return IsWindowEnabled(toolbar) != FALSE; }, "the scan ended");
    ClickTool(toolbar, board::win::kBtnOK);
  });
  VARIANT_BOOL cancel = VARIANT_FALSE;
  EXPECT_EQ(office::FireClick(host, *host.profile().Find(L"InkraSoft")->controls.at(0), cancel), S_OK);
  ASSERT_EQ(ui.Join(), std::vector<std::string>{});
  EXPECT_EQ(said.text, L"扫描操作完成，成功！");
  ASSERT_EQ(AddInDll::Shapes(host).items.size(), 1u);
  const Bitmap inserted = ReadBmp(AddInDll::Shapes(host).items[0]->picture);
  EXPECT_TRUE(Near(inserted.PixelRGB(32, 24), 0xDC8C1E)) << std::hex << inserted.PixelRGB(32, 24);
  EXPECT_EQ(addIn->OnDisconnection(0, nullptr), S_OK);
}

}  // namespace
}  // namespace inkra::test
