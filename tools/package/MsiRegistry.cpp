// msi_registry: writes the installer's Registry table (an .idt file that msibuild imports) from
// the registration the DLL itself performs: every factory's entries, and the type library's keys.
//
//   msi_registry.exe OUTPUT.idt FILE-ID COMPONENT
//
// FILE-ID is the installed DLL's key in the File table, COMPONENT the component that owns the
// rows. All rows use root -1: HKEY_CURRENT_USER for a per-user install, HKEY_LOCAL_MACHINE when
// ALLUSERS=1. Class keys therefore go to Software\Classes under that root (what HKEY_CLASSES_ROOT
// merges), and the Office add-in keys to Software\Microsoft\Office under it, where Office reads
// the current user's add-ins and the machine's add-ins for every user.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "AddInFactories.h"
#include "ComError.h"
#include "TextConvert.h"
#include "TypeLibrary.h"

namespace {

using inkra::addin::RegistryEntry;
using inkra::addin::RegistryRoot;

// Where the table's serverPath goes; replaced by the installed file's formatted reference.
constexpr wchar_t kServerPath[] = L"\x01";

struct Row {
  std::wstring key, name, value;  // value empty with name "-": the key goes, subkeys and all, on uninstall
};

// Formatted-text escapes: a literal "[" or "]" would otherwise be read as a property reference.
std::wstring Escape(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'[') out += L"[\\[]";
    else if (c == L']') out += L"[\\]]";
    else out += c;
  }
  // A leading "#" marks a number; "##" is the literal character.
  if (!out.empty() && out[0] == L'#') out.insert(0, 1, L'#');
  return out;
}

std::wstring FormattedValue(const RegistryEntry& entry, const std::wstring& shortPathRef) {
  if (const DWORD* number = std::get_if<DWORD>(&entry.data)) return L"#" + std::to_wstring(*number);
  const std::wstring& text = std::get<std::wstring>(entry.data);
  // The DLL registers its short path when the long one has a blank. Whether the installed path has
  // one (Program Files, a user name) is known only on the target machine, so the package always
  // registers "[!file]", the short path, which COM reads alike; a volume without short names
  // gives the long path there, as the DLL's own fallback does.
  if (text == kServerPath) return shortPathRef;
  return Escape(text);
}

std::wstring TableKey(const RegistryEntry& entry) {
  return entry.root == RegistryRoot::ClassesRoot ? L"Software\\Classes\\" + entry.key : entry.key;
}

void AddFactoryRows(std::vector<Row>& rows, const std::wstring& fileId) {
  for (const inkra::addin::TMSOAddInFactory* factory : inkra::addin::ServerFactories()) {
    std::wstring treeKey;
    for (const RegistryEntry& entry : factory->RegistryEntries(kServerPath)) {
      rows.push_back({TableKey(entry), entry.valueName, FormattedValue(entry, L"[!" + fileId + L"]")});
      if (entry.deleteTree && TableKey(entry) != treeKey) {
        treeKey = TableKey(entry);
        rows.push_back({treeKey, L"-", L""});
      }
    }
  }
}

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

// The keys RegisterTypeLib writes for the library and its automation interfaces.
void AddTypeLibraryRows(std::vector<Row>& rows, const std::wstring& fileId) {
  using inkra::win::ThrowIfFailed;
  auto library = inkra::addin::OwnTypeLibrary();
  TLIBATTR* attr = nullptr;
  ThrowIfFailed(library->GetLibAttr(&attr), L"GetLibAttr");
  const TLIBATTR lib = *attr;
  library->ReleaseTLibAttr(attr);
  BSTR doc = nullptr;
  ThrowIfFailed(library->GetDocumentation(-1, nullptr, &doc, nullptr, nullptr), L"Library help string");
  const std::wstring help = doc ? std::wstring(doc, SysStringLen(doc)) : L"";
  SysFreeString(doc);

  wchar_t version[16] = {}, locale[16] = {};
  swprintf(version, 16, L"%x.%x", lib.wMajorVerNum, lib.wMinorVerNum);
  swprintf(locale, 16, L"%lx", lib.lcid);
  const std::wstring libId = GuidText(lib.guid);
  const std::wstring libKey = L"Software\\Classes\\TypeLib\\" + libId + L"\\" + version;
  const wchar_t* platform = lib.syskind == SYS_WIN64 ? L"win64" : L"win32";
  rows.push_back({libKey, L"", Escape(help)});
  rows.push_back({libKey + L"\\" + locale + L"\\" + platform, L"", L"[#" + fileId + L"]"});
  rows.push_back({libKey + L"\\FLAGS", L"", std::to_wstring(lib.wLibFlags)});
  rows.push_back({libKey + L"\\HELPDIR", L"", L"[INSTALLDIR]"});

  const std::wstring automationProxy = L"{00020424-0000-0000-C000-000000000046}";
  for (UINT i = 0, count = library->GetTypeInfoCount(); i < count; ++i) {
    TYPEKIND kind{};
    if (FAILED(library->GetTypeInfoType(i, &kind)) || kind != TKIND_DISPATCH) continue;
    inkra::win::ComPtr<ITypeInfo> info;
    ThrowIfFailed(library->GetTypeInfo(i, &info), L"GetTypeInfo");
    TYPEATTR* typeAttr = nullptr;
    ThrowIfFailed(info->GetTypeAttr(&typeAttr), L"GetTypeAttr");
    const GUID iid = typeAttr->guid;
    info->ReleaseTypeAttr(typeAttr);
    BSTR name = nullptr;
    ThrowIfFailed(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), L"Interface name");
    const std::wstring interfaceKey = L"Software\\Classes\\Interface\\" + GuidText(iid);
    rows.push_back({interfaceKey, L"", Escape(std::wstring(name, SysStringLen(name)))});
    SysFreeString(name);
    rows.push_back({interfaceKey + L"\\ProxyStubClsid", L"", automationProxy});
    rows.push_back({interfaceKey + L"\\ProxyStubClsid32", L"", automationProxy});
    rows.push_back({interfaceKey + L"\\TypeLib", L"", libId});
    rows.push_back({interfaceKey + L"\\TypeLib", L"Version", version});
  }
}

// The .idt text format: tab-separated, three header lines; the text must be plain ASCII here.
std::string Idt(const std::vector<Row>& rows, const std::wstring& component) {
  std::wstring text = L"Registry\tRoot\tKey\tName\tValue\tComponent_\r\n"
                      L"s72\ti2\tl255\tL255\tL0\ts72\r\n"
                      L"Registry\tRegistry\r\n";
  int number = 0;
  for (const Row& row : rows) {
    wchar_t id[16] = {};
    swprintf(id, 16, L"reg%03d", ++number);
    text += std::wstring(id) + L"\t-1\t" + row.key + L"\t" + row.name + L"\t" + row.value + L"\t" + component + L"\r\n";
  }
  for (wchar_t c : text)
    if (c > 0x7e || (c < 0x20 && c != L'\t' && c != L'\r' && c != L'\n'))
      throw std::runtime_error("registry text outside printable ASCII");
  return inkra::win::WideToUtf8(text);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fputs("usage: msi_registry OUTPUT.idt FILE-ID COMPONENT\n", stderr);
    return 2;
  }
  try {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) throw std::runtime_error("CoInitializeEx");
    std::vector<Row> rows;
    AddFactoryRows(rows, argv[2]);
    AddTypeLibraryRows(rows, argv[2]);
    const std::string idt = Idt(rows, argv[3]);
    FILE* out = _wfopen(argv[1], L"wb");
    if (!out || std::fwrite(idt.data(), 1, idt.size(), out) != idt.size() || std::fclose(out) != 0)
      throw std::runtime_error("cannot write the output file");
    std::printf("msi_registry: %zu rows\n", rows.size());
    return 0;
  } catch (const inkra::win::ComError& error) {
    std::fprintf(stderr, "msi_registry: %s\n", inkra::win::WideToUtf8(error.description()).c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "msi_registry: %s\n", error.what());
  }
  return 1;
}
