#include "EventSink.h"

#include <ocidl.h>

#include "ComError.h"
#include "ComPtr.h"

namespace inkra::addin {

using win::ComPtr;

namespace {
volatile LONG gLiveSinks = 0;

// The connection point of source for iid, or null.
ComPtr<IConnectionPoint> FindPoint(IUnknown* source, const IID& iid) {
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  if (source && SUCCEEDED(source->QueryInterface(IID_PPV_ARGS(&container))))
    container->FindConnectionPoint(iid, &point);
  return point;
}
}  // namespace

TEventSink::TEventSink(const IID& eventIid) : eventIid_(eventIid) { InterlockedIncrement(&gLiveSinks); }

TEventSink::~TEventSink() { InterlockedDecrement(&gLiveSinks); }

long TEventSink::LiveSinks() { return InterlockedCompareExchange(&gLiveSinks, 0, 0); }

STDMETHODIMP TEventSink::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == eventIid_) *object = static_cast<IDispatch*>(this);
  else if (iid == IID_IUnknown) *object = Identity();
  else return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TEventSink::AddRef() { return ULONG(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) TEventSink::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return ULONG(left);
}

STDMETHODIMP TEventSink::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP TEventSink::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP TEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP TEventSink::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  DISPPARAMS none{};
  return win::ComBoundary(nullptr, eventIid_, [&] {
    return Invoke(id, iid, locale, flags, params ? *params : none, result, exception, argError);
  });
}

HRESULT TEventSink::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS&, VARIANT*, EXCEPINFO*, UINT*) {
  return DISP_E_MEMBERNOTFOUND;
}

bool TEventSink::Connect(IUnknown* source) {
  // Keeps the sink alive while a former advise is dropped, without destroying it afterwards: a sink
  // that no source holds stays with its creator, as it was before the call.
  InterlockedIncrement(&refs_);
  Disconnect(source);
  connection_ = 0;
  if (ComPtr<IConnectionPoint> point = FindPoint(source, eventIid_)) point->Advise(Identity(), &connection_);
  bool connected = connection_ != 0;
  InterlockedDecrement(&refs_);
  return connected;
}

bool TEventSink::Disconnect(IUnknown* source) {
  if (connection_ == 0) return true;
  AddRef();  // the source's Unadvise may drop what was the last other reference
  if (ComPtr<IConnectionPoint> point = FindPoint(source, eventIid_))
    if (SUCCEEDED(point->Unadvise(connection_))) connection_ = 0;
  bool disconnected = connection_ == 0;
  Release();
  return disconnected;
}

}  // namespace inkra::addin
