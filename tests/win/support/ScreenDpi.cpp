#include "support/ScreenDpi.h"

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "Handle.h"
#include "support/RegisteredDll.h"

namespace inkra::test {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
constexpr char kDpiVariable[] = "INKRA_TEST_DPI";

// Sets LogPixels for its lifetime and puts back what was there (or nothing), even when the
// child fails, so no later test starts at the wrong resolution.
class LogPixelsSetting {
 public:
  explicit LogPixelsSetting(int dpi) {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key_.put(),
                        nullptr) != ERROR_SUCCESS)
      throw std::runtime_error("cannot open the desktop settings");
    DWORD value = 0, bytes = sizeof value, type = 0;
    if (RegQueryValueExW(key_.get(), kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) ==
            ERROR_SUCCESS &&
        type == REG_DWORD)
      previous_ = value;
    Write(DWORD(dpi));
  }
  ~LogPixelsSetting() {
    if (previous_) Write(*previous_);
    else RegDeleteValueW(key_.get(), kLogPixels);
  }

 private:
  void Write(DWORD value) {
    if (RegSetValueExW(key_.get(), kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) !=
        ERROR_SUCCESS)
      throw std::runtime_error("cannot set the screen resolution");
  }
  win::UniqueKey key_;
  std::optional<DWORD> previous_;
};

}  // namespace

int RequestedDpi() {
  const char* value = std::getenv(kDpiVariable);
  return value ? std::atoi(value) : 0;
}

unsigned long RunAtDpi(int dpi, const std::string& gtestFilter) {
  LogPixelsSetting setting(dpi);
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  SetEnvironmentVariableA(kDpiVariable, std::to_string(dpi).c_str());
  const std::wstring filter(gtestFilter.begin(), gtestFilter.end());
  const DWORD code = RunAndWait(L"\"" + std::wstring(self) + L"\" --gtest_filter=" + filter);
  SetEnvironmentVariableA(kDpiVariable, nullptr);
  return code;
}

}  // namespace inkra::test
