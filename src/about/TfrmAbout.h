#pragma once
// The about box: a picture, the product's name and version, and its own close button.
#include <windows.h>

#include <memory>

#include "GdiCanvas.h"
#include "Handle.h"
#include "Window.h"

namespace inkra::about {

class TfrmAbout final : public inkra::win::Window {
 public:
  TfrmAbout();
  ~TfrmAbout() override;

  static constexpr int kCloseButton = 1;  // IDOK: Enter closes the box too

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();
  // Picture, fonts and button at the window's dpi: at creation and after a move to a monitor of
  // another dpi.
  void DpiChanged() override;

  inkra::win::UniqueFont font_, titleFont_;
  std::unique_ptr<inkra::win::GdiCanvas> picture_;
};

}  // namespace inkra::about
