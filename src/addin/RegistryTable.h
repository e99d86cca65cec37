#pragma once
// Registration as data: one table of registry entries {root, key, value name, data} that is
// written front to back to register and deleted back to front to unregister. The installer's
// registry entries come from the same table.
#include <windows.h>

#include <span>
#include <string>
#include <variant>
#include <vector>

namespace inkra::addin {

enum class RegistryRoot { ClassesRoot, CurrentUser };

struct RegistryEntry {
  RegistryRoot root;
  std::wstring key;
  std::wstring valueName;                    // empty: the key's default value
  std::variant<std::wstring, DWORD> data;    // REG_SZ or REG_DWORD
  // A key that cannot be opened is skipped without an error, values and all (the Office add-in
  // key); a value that cannot be written is still an error.
  bool skipUnopenedKey = false;
  // Unregistration deletes the key with every subkey under it, whoever added them.
  bool deleteTree = false;
  // The key is shared with other programs (a host's white list): unregistration deletes this
  // value alone, and the key only when nothing is left in it.
  bool sharedKey = false;
};

// The predefined key for a root. HKEY_CLASSES_ROOT follows RegOverridePredefKey, which is how a
// per-user registration lands under HKEY_CURRENT_USER\Software\Classes.
HKEY RootKey(RegistryRoot root);

// Writes the entries in order. Raises a ComError at the first key or value that cannot be
// written; what was written before stays.
void WriteEntries(std::span<const RegistryEntry> entries);

// Deletes the entries' keys (a shared key: our value) in reverse order. A key already gone is no
// error; any other failure is raised after every key has been tried, so one stuck key does not
// keep the others.
void DeleteEntries(std::span<const RegistryEntry> entries);

}  // namespace inkra::addin
