#pragma once
// Puts a source manager where the scanner module looks for it in the test prefix, and takes it
// away again: none at all, the scripted fake, or Wine's own TWAIN_32.DLL. Also the message boxes
// a scan shows, as the tests compare them.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "faketwain/FakeTwainScript.h"
#include "support/UiDriver.h"

namespace inkra::twain::test {

// Wine: Wine's manager with the test feeder as its source; WineCamera: Wine's manager with only
// the sources Wine ships (its camera source).
enum class Manager { None, Fake, Wine, WineCamera };

class ManagerPlacement {
 public:
  explicit ManagerPlacement(Manager which);
  ~ManagerPlacement();
  ManagerPlacement(const ManagerPlacement&) = delete;
  ManagerPlacement& operator=(const ManagerPlacement&) = delete;

  // The fake only: its script (which also starts a new report) and what it saw.
  void SetScript(const fake::Script& script);
  fake::Report Report();
  // The user closes the source's dialog, or presses its scan button (from any thread).
  void UserCloses();
  void UserScans();
  // The source's own dialog (a script's ownDialog), null while it is not open; its OK or Cancel.
  static HWND SourceDialog();
  static void PressInSourceDialog(int button);

  // Where the module of this build looks first.
  static std::wstring ManagerFile();

 private:
  void SourceEvent(std::uint16_t twMessage);

  HANDLE mapping_ = nullptr;
  fake::Shared* shared_ = nullptr;    // the block the fake maps while it is loaded
  std::vector<std::wstring> placed_;  // files of ours put into the prefix
};

// A script with every triplet succeeding and the given pages, each `width` x `height` x `bits`.
fake::Script PagesScript(int pages, int width = 40, int height = 30, int bits = 24);

// A source like Wine's camera source: its own dialog, whose OK hands over the pages as DIB-section
// bitmaps; after each transfer as many pending as delivered in all; never asks to be closed.
fake::Script CameraScript(int pages, int width = 40, int height = 30);

struct Box {
  std::wstring caption, text;
  inkra::test::MessageIcon icon;
  friend bool operator==(const Box&, const Box&) = default;
};
void PrintTo(const Box& box, std::ostream* out);

// A warning of the scanner module: "TWAIN Error" with the exclamation icon.
Box Warning(const char* text);
// Runs `operation` on this thread while a driver records and answers every message box.
std::vector<Box> BoxesDuring(const std::function<void()>& operation);
std::vector<Box> ToBoxes(const std::vector<inkra::test::MessageBoxInfo>& seen);

}  // namespace inkra::twain::test
