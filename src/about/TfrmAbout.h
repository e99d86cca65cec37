#pragma once
// The about box: a picture, the product's name and version, and its own close button.
#include <windows.h>

#include <memory>

#include "GdiCanvas.h"
#include "Handle.h"

namespace inkra::about {

class TfrmAbout {
 public:
  TfrmAbout();
  ~TfrmAbout();
  TfrmAbout(const TfrmAbout&) = delete;
  TfrmAbout& operator=(const TfrmAbout&) = delete;

  void ShowModal();
  HWND Handle() const { return window_; }

  static constexpr int kCloseButton = 1;  // IDOK: Enter closes the box too

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  HWND window_ = nullptr;
  bool closed_ = false;
  inkra::win::UniqueFont font_, titleFont_;
  std::unique_ptr<inkra::win::GdiCanvas> picture_;
};

}  // namespace inkra::about
