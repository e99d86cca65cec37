#pragma once
// A TMSOfficeAddIn subclass whose notifications are scripted, and a guard that fails a test when a
// message box appears where none should.
#include <functional>
#include <stdexcept>

#include <gtest/gtest.h>

#include "MSOAddIn_h.h"
#include "MSOfficeAddIn.h"
#include "support/UiDriver.h"

namespace inkra::addin {

class ScriptedAddIn : public TMSOfficeAddIn {
 public:
  ScriptedAddIn() : TMSOfficeAddIn(CLSID_WordAddIn, L"MSOAddIn.WordAddIn") {}

  HRESULT result = S_OK;        // what each notification returns
  bool throwStd = false;        // or: it raises a plain C++ exception
  std::vector<std::wstring> calls;
  int lastMode = -1;

  IDispatch* application() const { return Application.Get(); }
  IDispatch* commandBars() const { return CommandBars.Get(); }
  const std::wstring& hostName() const { return HostName; }

 protected:
  HRESULT Notify(const wchar_t* name, int mode) {
    calls.push_back(name);
    lastMode = mode;
    if (throwStd) throw std::logic_error("scripted failure");
    return result;
  }
  HRESULT DoOnConnection(int mode, IDispatch*, SAFEARRAY**) override { return Notify(L"Connection", mode); }
  HRESULT DoOnDisconnection(int mode, SAFEARRAY**) override { return Notify(L"Disconnection", mode); }
  HRESULT DoOnAddInsUpdate(SAFEARRAY**) override { return Notify(L"AddInsUpdate", -1); }
  HRESULT DoOnStartupComplete(SAFEARRAY**) override { return Notify(L"StartupComplete", -1); }
  HRESULT DoOnBeginShutdown(SAFEARRAY**) override { return Notify(L"BeginShutdown", -1); }
};

// The base class with every default left in place.
class PlainAddIn : public TMSOfficeAddIn {
 public:
  PlainAddIn() : TMSOfficeAddIn(CLSID_WordAddIn, L"MSOAddIn.WordAddIn") {}
};

// Queues a step that watches for a message box for a while; any box seen is recorded and closed.
inline void WatchForMessageBoxes(test::UiDriver& ui, std::vector<test::MessageBoxInfo>& seen) {
  ui.Then([&seen](test::UiDriver& d) {
    try {
      for (;;) {
        HWND box = d.WaitForWindow(test::kDialogClass, nullptr);
        seen.push_back(d.ReadMessageBox(box));
        d.PressButton(box, IDOK);
        d.WaitUntilGone(box);
      }
    } catch (const std::exception&) {
      // no (further) box within the driver's timeout
    }
  });
}

// The message boxes that come up while `act` runs, each closed with OK; the watch goes on for
// `quietMs` after the last one.
inline std::vector<test::MessageBoxInfo> BoxesDuring(DWORD quietMs, const std::function<void()>& act) {
  std::vector<test::MessageBoxInfo> seen;
  test::UiDriver ui(quietMs);
  WatchForMessageBoxes(ui, seen);
  act();
  EXPECT_EQ(ui.Join(), std::vector<std::string>{});
  return seen;
}

}  // namespace inkra::addin
