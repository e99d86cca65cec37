#include "OfficeAddIns.h"

#include <algorithm>
#include <cstdio>

#include "Handle.h"

namespace inkra::demo {
namespace {

// IDTExtensibility2's ConnectMode and RemoveMode as Office passes them at start-up and exit.
constexpr int ext_cm_Startup = 1;
constexpr int ext_dm_HostShutdown = 0;
// LoadBehavior bits: connected now, and load at the host's start-up.
constexpr DWORD kConnected = 1;
constexpr DWORD kLoadAtStartup = 2;

std::wstring Hex(HRESULT hr) {
  wchar_t text[16];
  swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

}  // namespace

OfficeAddIns::OfficeAddIns(const wchar_t* officeApp, IDispatch* application) {
  custom_ = SafeArrayCreateVector(VT_VARIANT, 0, 0);
  const std::wstring addinsKey = std::wstring(L"Software\\Microsoft\\Office\\") + officeApp + L"\\Addins";
  // The user's add-ins, then the machine's (installed for every user); a ProgID listed in both is
  // the user's.
  std::vector<std::wstring> seen;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    win::UniqueKey addins;
    if (RegOpenKeyExW(root, addinsKey.c_str(), 0, KEY_READ, addins.put()) != ERROR_SUCCESS) continue;
    std::vector<std::wstring> names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumKeyExW(addins.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    for (const std::wstring& progId : names) {
      if (std::find(seen.begin(), seen.end(), progId) != seen.end()) continue;
      seen.push_back(progId);
      Load(root, addinsKey, progId, application);
    }
  }
}

void OfficeAddIns::Load(HKEY root, const std::wstring& addinsKey, const std::wstring& progId, IDispatch* application) {
  const std::wstring key = addinsKey + L"\\" + progId;
  DWORD behaviour = 0, size = sizeof behaviour;
  if (RegGetValueW(root, key.c_str(), L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &behaviour, &size) !=
          ERROR_SUCCESS ||
      !(behaviour & kLoadAtStartup))
    return;
  CLSID clsid{};
  win::ComPtr<IDTExtensibility2> addIn;
  HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
  if (SUCCEEDED(hr)) hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&addIn));
  if (SUCCEEDED(hr)) hr = addIn->OnConnection(application, ext_cm_Startup, nullptr, &custom_);
  if (FAILED(hr)) {
    failures_.push_back(progId + L": " + Hex(hr));
    // Office keeps the add-in listed but no longer connected.
    const DWORD notConnected = behaviour & ~kConnected;
    RegSetKeyValueW(root, key.c_str(), L"LoadBehavior", REG_DWORD, &notConnected, sizeof notConnected);
    return;
  }
  addIn->OnAddInsUpdate(&custom_);
  addIn->OnStartupComplete(&custom_);
  addIns_.push_back(addIn);
  progIds_.push_back(progId);
}

OfficeAddIns::~OfficeAddIns() {
  for (auto& addIn : addIns_) addIn->OnBeginShutdown(&custom_);
  for (auto& addIn : addIns_) addIn->OnDisconnection(ext_dm_HostShutdown, &custom_);
  addIns_.clear();
  CoFreeUnusedLibraries();
  SafeArrayDestroy(custom_);
}

}  // namespace inkra::demo
