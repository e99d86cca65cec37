// The smallest in-process COM server an Office host could load: one class whose object answers
// IDTExtensibility2 and does nothing on connection. The DLL-load benchmark runs the host's start-up
// sequence on it beside MSOAddIn.dll, so the figure shows what the add-in adds to the host's wait.
#include <windows.h>
#include <objbase.h>

#include "IDTExtensibility2.h"

namespace {

// {6F1D2C3B-8E4A-4D5F-9A1B-2C3D4E5F6A7B}
constexpr CLSID kEmptyAddIn = {0x6F1D2C3B, 0x8E4A, 0x4D5F, {0x9A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x6A, 0x7B}};
volatile LONG gObjects = 0;

class EmptyAddIn final : public IDTExtensibility2 {
 public:
  EmptyAddIn() { InterlockedIncrement(&gObjects); }
  ~EmptyAddIn() { InterlockedDecrement(&gObjects); }
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != __uuidof(IDTExtensibility2)) return E_NOINTERFACE;
    *object = static_cast<IDTExtensibility2*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return ULONG(left);
  }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP OnConnection(IDispatch*, int, IDispatch*, SAFEARRAY**) override { return S_OK; }
  STDMETHODIMP OnDisconnection(int, SAFEARRAY**) override { return S_OK; }
  STDMETHODIMP OnAddInsUpdate(SAFEARRAY**) override { return S_OK; }
  STDMETHODIMP OnStartupComplete(SAFEARRAY**) override { return S_OK; }
  STDMETHODIMP OnBeginShutdown(SAFEARRAY**) override { return S_OK; }

 private:
  LONG refs_ = 1;
};

class Factory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* created = new EmptyAddIn;
    HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

Factory gFactory;

}  // namespace

extern "C" {

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != kEmptyAddIn) return CLASS_E_CLASSNOTAVAILABLE;
  return gFactory.QueryInterface(iid, object);
}

HRESULT WINAPI DllCanUnloadNow() { return gObjects == 0 ? S_OK : S_FALSE; }

}
