#pragma once
// Puts a source manager where the scanner module looks for it in the test prefix, and takes it
// away again: none at all, the scripted fake, or Wine's own TWAIN_32.DLL.
#include <windows.h>

#include <string>

#include "faketwain/FakeTwainScript.h"

namespace inkra::twain::test {

enum class Manager { None, Fake, Wine };

class ManagerPlacement {
 public:
  explicit ManagerPlacement(Manager which);
  ~ManagerPlacement();
  ManagerPlacement(const ManagerPlacement&) = delete;
  ManagerPlacement& operator=(const ManagerPlacement&) = delete;

  // The fake only: its script and what it saw.
  void SetScript(const fake::Script& script);
  fake::Report Report();

  // Where the module of this build looks first.
  static std::wstring ManagerFile();

 private:
  HMODULE fake_ = nullptr;
};

// A script with every triplet succeeding and the given pages, each `width` x `height` x `bits`.
fake::Script PagesScript(int pages, int width = 40, int height = 30, int bits = 24);

}  // namespace inkra::twain::test
