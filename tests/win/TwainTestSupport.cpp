#include "TwainTestSupport.h"

#include <stdexcept>

#include "AddInTestSupport.h"
#include "TextConvert.h"

namespace inkra::twain::test {
namespace {

constexpr wchar_t kOverrides[] = L"Software\\Wine\\DllOverrides";

std::wstring Saved() { return ManagerPlacement::ManagerFile() + L".wine"; }

// Wine loads its builtin twain_32 even from our file unless the override asks for ours.
void PreferNative(bool on) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)) return;
  if (on) {
    const wchar_t native[] = L"native";
    RegSetValueExW(key, L"twain_32", 0, REG_SZ, reinterpret_cast<const BYTE*>(native), sizeof native);
  } else {
    RegDeleteValueW(key, L"twain_32");
  }
  RegCloseKey(key);
}

// Wine's own manager goes aside while a test needs another or none, and comes back after.
void SetWineManagerAside(bool aside) {
  const std::wstring file = ManagerPlacement::ManagerFile(), saved = Saved();
  if (aside) {
    if (GetFileAttributesW(saved.c_str()) == INVALID_FILE_ATTRIBUTES) MoveFileW(file.c_str(), saved.c_str());
    DeleteFileW(file.c_str());
  } else if (GetFileAttributesW(saved.c_str()) != INVALID_FILE_ATTRIBUTES) {
    DeleteFileW(file.c_str());
    MoveFileW(saved.c_str(), file.c_str());
  }
}

}  // namespace

std::wstring ManagerPlacement::ManagerFile() {
  wchar_t folder[MAX_PATH];
  if (sizeof(void*) == 8) {
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\TWAINDSM.DLL";
  }
  GetWindowsDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\TWAIN_32.DLL";
}

ManagerPlacement::ManagerPlacement(Manager which) {
  SetWineManagerAside(which != Manager::Wine);
  PreferNative(which == Manager::Fake);
  if (which != Manager::Fake) return;
  const std::string unixPath = INKRA_FAKE_TWAIN_PATH;
  const std::wstring built = L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
  if (!CopyFileW(built.c_str(), ManagerFile().c_str(), FALSE)) throw std::runtime_error("cannot place the fake");
  fake_ = LoadLibraryW(ManagerFile().c_str());
  if (!fake_ || !GetProcAddress(fake_, "FakeTwain_SetScript")) throw std::runtime_error("the fake did not load");
  SetScript(PagesScript(0));
}

ManagerPlacement::~ManagerPlacement() {
  if (fake_) FreeLibrary(fake_);
  PreferNative(false);
  SetWineManagerAside(false);
  if (sizeof(void*) == 8) DeleteFileW(ManagerFile().c_str());
}

void ManagerPlacement::SetScript(const fake::Script& script) {
  reinterpret_cast<fake::SetScriptProc>(reinterpret_cast<void*>(GetProcAddress(fake_, "FakeTwain_SetScript")))(&script);
}

fake::Report ManagerPlacement::Report() {
  fake::Report report{};
  reinterpret_cast<fake::GetReportProc>(reinterpret_cast<void*>(GetProcAddress(fake_, "FakeTwain_GetReport")))(&report);
  return report;
}

void ManagerPlacement::UserCloses() {
  reinterpret_cast<fake::UserClosesProc>(reinterpret_cast<void*>(GetProcAddress(fake_, "FakeTwain_UserCloses")))();
}

fake::Script PagesScript(int pages, int width, int height, int bits) {
  fake::Script script{};
  script.pageCount = pages;
  for (int i = 0; i < pages; ++i) script.pages[i] = {6 /* TWRC_XFERDONE */, width, height, std::uint16_t(bits), 0};
  return script;
}

Box Warning(const char* text) {
  return {L"TWAIN Error", inkra::win::Utf8ToWide(text), inkra::test::MessageIcon::Warning};
}

void PrintTo(const Box& box, std::ostream* out) {
  *out << '"' << inkra::win::WideToUtf8(box.caption) << "\" \"" << inkra::win::WideToUtf8(box.text) << "\" icon "
       << int(box.icon);
}

std::vector<Box> ToBoxes(const std::vector<inkra::test::MessageBoxInfo>& seen) {
  std::vector<Box> boxes;
  for (const auto& b : seen) boxes.push_back({b.caption, b.text, b.icon});
  return boxes;
}

std::vector<Box> BoxesDuring(const std::function<void()>& operation) {
  std::vector<inkra::test::MessageBoxInfo> boxes;
  {
    inkra::test::UiDriver ui(1500);
    inkra::addin::WatchForMessageBoxes(ui, boxes);
    operation();
    ui.Join();
  }
  return ToBoxes(boxes);
}

}  // namespace inkra::twain::test
