#include "support/RegisteredDll.h"

#include <stdexcept>
#include <vector>

#include "Handle.h"

namespace inkra::test {

std::wstring WindowsPath(const char* unixPath) {
  const std::string path = unixPath;
  return L"Z:" + std::wstring(path.begin(), path.end());
}

std::wstring BuiltDllPath() { return WindowsPath(INKRA_DLL_PATH); }

DWORD RunAndWait(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    throw std::runtime_error("cannot start a process: " + std::to_string(GetLastError()));
  win::UniqueKernelHandle processHandle(process.hProcess), thread(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = DWORD(-1);
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}

RegistryValue ReadRegistry(HKEY root, const std::wstring& key, const std::wstring& valueName) {
  RegistryValue value;
  win::UniqueKey opened;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS) return value;
  DWORD bytes = 0;
  if (RegQueryValueExW(opened.get(), valueName.c_str(), nullptr, &value.type, nullptr, &bytes) != ERROR_SUCCESS)
    return value;
  std::vector<BYTE> data(bytes + sizeof(wchar_t));
  if (RegQueryValueExW(opened.get(), valueName.c_str(), nullptr, &value.type, data.data(), &bytes) != ERROR_SUCCESS)
    return value;
  value.present = true;
  if (value.type == REG_DWORD) value.number = *reinterpret_cast<const DWORD*>(data.data());
  else value.text.assign(reinterpret_cast<const wchar_t*>(data.data()), wcsnlen(reinterpret_cast<const wchar_t*>(data.data()), bytes / 2));
  return value;
}

bool KeyExists(HKEY root, const std::wstring& key) {
  win::UniqueKey opened;
  return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

RegisteredDll::RegisteredDll() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  folder_ = std::wstring(temp) + L"Inkra Add In " + std::to_wstring(GetCurrentProcessId());
  path_ = folder_ + L"\\MSOAddIn.dll";
  CreateDirectoryW(folder_.c_str(), nullptr);
  if (!CopyFileW(BuiltDllPath().c_str(), path_.c_str(), FALSE))
    throw std::runtime_error("cannot copy the DLL: " + std::to_string(GetLastError()));
}

RegisteredDll::~RegisteredDll() {
  DeleteFileW(path_.c_str());
  RemoveDirectoryW(folder_.c_str());
}

DWORD RegisteredDll::Regsvr32(const std::wstring& options) const {
  // The regsvr32 of the DLL's own bitness: a 32-bit DLL loads only in the 32-bit one.
  wchar_t system[MAX_PATH] = {};
  if (sizeof(void*) == 4) GetSystemWow64DirectoryW(system, MAX_PATH);
  else GetSystemDirectoryW(system, MAX_PATH);
  return RunAndWait(L"\"" + std::wstring(system) + L"\\regsvr32.exe\" /s " + options + L" \"" + path_ + L"\"");
}

}  // namespace inkra::test
