#include "RegistryTable.h"

#include <optional>

#include "ComError.h"
#include "Handle.h"

namespace inkra::addin {

using win::UniqueKey;

namespace {

HRESULT FromWin32(LSTATUS status) { return HRESULT_FROM_WIN32(DWORD(status)); }

std::wstring Where(const RegistryEntry& entry) {
  const wchar_t* root = entry.root == RegistryRoot::ClassesRoot ? L"HKEY_CLASSES_ROOT\\" : L"HKEY_CURRENT_USER\\";
  return root + entry.key;
}

void SetValue(HKEY key, const RegistryEntry& entry) {
  LSTATUS status;
  if (const auto* text = std::get_if<std::wstring>(&entry.data)) {
    const DWORD bytes = DWORD((text->size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(key, entry.valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
                            bytes);
  } else {
    const DWORD number = std::get<DWORD>(entry.data);
    status = RegSetValueExW(key, entry.valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                            sizeof number);
  }
  if (status != ERROR_SUCCESS)
    win::ThrowFailure(FromWin32(status), (Where(entry) + L" value " + entry.valueName).c_str());
}

// Our value goes; the key goes too when no other program has a value or a subkey in it.
LSTATUS DeleteSharedValue(const RegistryEntry& entry) {
  UniqueKey key;
  LSTATUS status = RegOpenKeyExW(RootKey(entry.root), entry.key.c_str(), 0, KEY_READ | KEY_SET_VALUE, key.put());
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteValueW(key.get(), entry.valueName.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return status;
  DWORD subkeys = 0, values = 0;
  status = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr);
  key.reset();
  if (status != ERROR_SUCCESS || subkeys != 0 || values != 0) return status;
  return RegDeleteKeyW(RootKey(entry.root), entry.key.c_str());
}

LSTATUS DeleteKey(const RegistryEntry& entry) {
  HKEY root = RootKey(entry.root);
  if (entry.sharedKey) return DeleteSharedValue(entry);
  return entry.deleteTree ? RegDeleteTreeW(root, entry.key.c_str()) : RegDeleteKeyW(root, entry.key.c_str());
}

}  // namespace

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER; }

void WriteEntries(std::span<const RegistryEntry> entries) {
  for (const RegistryEntry& entry : entries) {
    UniqueKey key;
    LSTATUS status = RegCreateKeyExW(RootKey(entry.root), entry.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) {
      if (entry.skipUnopenedKey) continue;
      win::ThrowFailure(FromWin32(status), Where(entry).c_str());
    }
    SetValue(key.get(), entry);
  }
}

void DeleteEntries(std::span<const RegistryEntry> entries) {
  std::optional<win::ComError> firstFailure;
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    LSTATUS status = DeleteKey(*entry);
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) continue;
    if (!firstFailure) firstFailure.emplace(FromWin32(status), Where(*entry));
  }
  if (firstFailure) throw *firstFailure;
}

}  // namespace inkra::addin
