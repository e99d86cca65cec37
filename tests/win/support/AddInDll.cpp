#include "support/AddInDll.h"

#include <stdexcept>
#include <string>

#include "support/RegisteredDll.h"

namespace inkra::test {
namespace {

constexpr CLSID kWordAddIn = {0x811CC9C8, 0x001E, 0x407A, {0x90, 0xB4, 0x6B, 0x16, 0xA0, 0x17, 0xC5, 0xBB}};
constexpr CLSID kExcelAddIn = {0x5C2240AF, 0xD37C, 0x465E, {0x99, 0xE7, 0x1E, 0x60, 0x4D, 0xEF, 0x70, 0x18}};

void Check(HRESULT hr, const char* step) {
  if (hr != S_OK) throw std::runtime_error(std::string(step) + " failed: " + std::to_string(hr));
}

}  // namespace

AddInDll::AddInDll() : dll_(LoadLibraryW(BuiltDllPath().c_str())) {
  if (!dll_) return;
  // Through a plain function pointer: the entry points' real types are not FARPROC's.
  getClassObject_ = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(dll_.get(), "DllGetClassObject")));
  canUnloadNow_ =
      reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void (*)()>(GetProcAddress(dll_.get(), "DllCanUnloadNow")));
}

win::ComPtr<IDTExtensibility2> AddInDll::Create(office::HostKind kind) const {
  win::ComPtr<IClassFactory> factory;
  win::ComPtr<IDTExtensibility2> addIn;
  Check(getClassObject_(kind == office::HostKind::Word ? kWordAddIn : kExcelAddIn, IID_PPV_ARGS(&factory)),
        "DllGetClassObject");
  Check(factory->CreateInstance(nullptr, IID_PPV_ARGS(&addIn)), "CreateInstance");
  return addIn;
}

win::ComPtr<IDTExtensibility2> AddInDll::Connect(office::HostDouble& host) const {
  const bool word = host.kind() == office::HostKind::Word;
  win::ComPtr<IDTExtensibility2> addIn = Create(host.kind());
  Check(addIn->OnConnection(host.Application(), 1, nullptr, nullptr), "OnConnection");
  if (word) {
    host.Word().documents.push_back(std::make_shared<office::DocumentState>());
    host.Word().active = 0;
  } else {
    host.Excel().AddWorkbook();
  }
  return addIn;
}

office::ShapesState& AddInDll::Shapes(office::HostDouble& host) {
  if (host.kind() == office::HostKind::Excel) return host.Excel().workbooks.at(0)->sheets.at(0)->shapes;
  return host.Word().documents.at(0)->shapes;
}

}  // namespace inkra::test
