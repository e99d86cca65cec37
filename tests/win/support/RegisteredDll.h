#pragma once
// The built MSOAddIn.dll copied into a folder whose path has a blank, and registered there by the
// system's own regsvr32 (the 32-bit one for the 32-bit DLL), as an installer or a user would.
#include <windows.h>

#include <string>

namespace inkra::test {

// A path of the build machine as Wine sees it (drive Z:).
std::wstring WindowsPath(const char* unixPath);
// The DLL that the build produced, as a Windows path.
std::wstring BuiltDllPath();

// Runs a command line and waits for it; its exit code. Raises when it cannot start.
DWORD RunAndWait(std::wstring commandLine);

// The value of a registry entry: a string, a 32-bit number, or absent.
struct RegistryValue {
  bool present = false;
  DWORD type = REG_NONE;
  std::wstring text;
  DWORD number = 0;
};
RegistryValue ReadRegistry(HKEY root, const std::wstring& key, const std::wstring& valueName);
bool KeyExists(HKEY root, const std::wstring& key);

class RegisteredDll {
 public:
  // Copies the DLL into "%TEMP%\Inkra Add In <pid>\" (removed again on destruction).
  RegisteredDll();
  ~RegisteredDll();
  RegisteredDll(const RegisteredDll&) = delete;
  RegisteredDll& operator=(const RegisteredDll&) = delete;

  const std::wstring& Path() const { return path_; }
  // regsvr32 /s <options> "<path>"; its exit code (0: success).
  DWORD Regsvr32(const std::wstring& options) const;

 private:
  std::wstring folder_, path_;
};

}  // namespace inkra::test
