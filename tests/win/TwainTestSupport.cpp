#include "TwainTestSupport.h"

#include <stdexcept>

#include "AddInTestSupport.h"
#include "TextConvert.h"
#include "TwainTypes.h"

namespace inkra::twain::test {
namespace {

constexpr wchar_t kOverrides[] = L"Software\\Wine\\DllOverrides";

// Wine loads its builtin module of a name even from our file unless the override asks for ours.
void PreferNative(const wchar_t* module, bool on) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)) return;
  if (on) {
    const wchar_t native[] = L"native";
    RegSetValueExW(key, module, 0, REG_SZ, reinterpret_cast<const BYTE*>(native), sizeof native);
  } else {
    RegDeleteValueW(key, module);
  }
  RegCloseKey(key);
}

// A file of Wine's goes aside while a test puts another or none there, and comes back after.
std::wstring SavedName(const std::wstring& file) { return file + L".wine"; }

void SetAside(const std::wstring& file) {
  if (GetFileAttributesW(SavedName(file).c_str()) == INVALID_FILE_ATTRIBUTES) MoveFileW(file.c_str(), SavedName(file).c_str());
  DeleteFileW(file.c_str());  // a leftover of an earlier test that did not end
}

void Restore(const std::wstring& file) {
  if (GetFileAttributesW(SavedName(file).c_str()) != INVALID_FILE_ATTRIBUTES) MoveFileW(SavedName(file).c_str(), file.c_str());
}

// Wine's manager looks only for the two sources it ships, sane.ds and gphoto2.ds (the first fails
// to load here: Debian's Wine has no SANE), so the test source takes the place of sane.ds.
std::wstring TestSourceFile() {
  wchar_t folder[MAX_PATH];
  GetWindowsDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\twain_32\\sane.ds";
}

std::wstring Built(const char* unixPath) {
  const std::string path = unixPath;
  return L"Z:" + std::wstring(path.begin(), path.end());
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
  PreferNative(L"twain_32", which == Manager::Fake);
  PreferNative(L"sane.ds", which == Manager::Wine);
  if (which == Manager::WineCamera) {
    SetAside(TestSourceFile());  // Wine's SANE source, which cannot load here, is not offered
    return;
  }
  const std::wstring file = which == Manager::Wine ? TestSourceFile() : ManagerFile();
  SetAside(file);
  if (which == Manager::None) return;
  placed_.push_back(file);
  if (!CopyFileW(Built(which == Manager::Wine ? INKRA_TEST_SOURCE_PATH : INKRA_FAKE_TWAIN_PATH).c_str(), file.c_str(),
                 FALSE))
    throw std::runtime_error("cannot place a test module");
  if (which == Manager::Wine) return;
  mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(fake::Shared),
                                fake::SharedName().c_str());
  if (mapping_) shared_ = static_cast<fake::Shared*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  HMODULE loaded = LoadLibraryW(ManagerFile().c_str());
  const bool usable = shared_ && loaded && GetProcAddress(loaded, "DSM_Entry");
  if (loaded) FreeLibrary(loaded);  // the scanner module alone keeps it loaded from here on
  if (!usable) throw std::runtime_error("the fake did not load");
  SetScript(PagesScript(0));
}

ManagerPlacement::~ManagerPlacement() {
  if (shared_) UnmapViewOfFile(shared_);
  if (mapping_) CloseHandle(mapping_);
  // Wine's manager keeps the sources it loaded after it is unloaded; a loaded file cannot go.
  for (int i = 0; i < 8; ++i) {
    HMODULE source = GetModuleHandleW(TestSourceFile().c_str());
    if (!source) break;
    FreeLibrary(source);
  }
  PreferNative(L"twain_32", false);
  PreferNative(L"sane.ds", false);
  for (const std::wstring& file : placed_) DeleteFileW(file.c_str());
  Restore(ManagerFile());
  Restore(TestSourceFile());
}

void ManagerPlacement::SetScript(const fake::Script& script) {
  shared_->script = script;
  shared_->nextPage = 0;
  shared_->batchEnded = 0;
  shared_->outstandingCount = 0;
  shared_->report = {};
  shared_->report.state = 1;
}

fake::Report ManagerPlacement::Report() {
  fake::Report report = shared_->report;
  report.blocksLive = 0;
  for (int i = 0; i < shared_->outstandingCount; ++i) {
    const auto handle = reinterpret_cast<HANDLE>(shared_->outstanding[i]);
    const bool live = shared_->outstandingHandle[i] == fake::kGlobalDib ? GlobalSize(handle) != 0
                                                                        : GetObjectType(handle) != 0;
    report.blocksLive += live;
  }
  return report;
}

void ManagerPlacement::SourceEvent(std::uint16_t twMessage) {
  static const UINT event = RegisterWindowMessageW(fake::kEventMessage);
  PostMessageW(reinterpret_cast<HWND>(shared_->parent), event, twMessage, 0);
}

void ManagerPlacement::UserCloses() { SourceEvent(MSG_CLOSEDSREQ); }

HWND ManagerPlacement::SourceDialog() { return FindWindowW(fake::kDialogClass, nullptr); }

void ManagerPlacement::PressInSourceDialog(int button) { PostMessageW(SourceDialog(), WM_COMMAND, button, 0); }
void ManagerPlacement::UserScans() { SourceEvent(MSG_XFERREADY); }

fake::Script PagesScript(int pages, int width, int height, int bits) {
  fake::Script script{};
  script.pageCount = pages;
  for (int i = 0; i < pages; ++i) script.pages[i] = {TWRC_XFERDONE, width, height, std::uint16_t(bits), 0};
  return script;
}

fake::Script CameraScript(int pages, int width, int height) {
  fake::Script script = PagesScript(pages, width, height);
  for (int i = 0; i < pages; ++i) script.pages[i].handle = fake::kDibSection;
  script.countsDelivered = script.ownDialog = script.neverCloses = 1;
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
