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
  MessageBoxInfo said;
  std::vector<std::shared_ptr<office::ShapeState>> shapes;
  ScanInWord(60000, [&](UiDriver& d, HWND) {
    ChooseTwainSource(d, L"Mass Storage Camera", IDOK);
    d.PressButton(d.WaitForWindow(kDialogClass, L"Files on Camera"), kImportAll);
    said = AnswerMessageBox(d, L"扫描");
  }, shapes);
  EXPECT_EQ(said.text, L"扫描操作完成，成功！");
  ASSERT_EQ(shapes.size(), 1u);
  const Bitmap inserted = ReadBmp(shapes[0]->picture);
  EXPECT_TRUE(Near(inserted.PixelRGB(32, 24), 0xDC8C1E)) << std::hex << inserted.PixelRGB(32, 24);
}

}  // namespace
}  // namespace inkra::test
