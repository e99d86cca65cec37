#pragma once
// TEventSink: a minimal sink for any dispatch event interface. It answers the source's query for
// the event interface, advises itself on (and unadvises from) a source's connection point, and
// routes IDispatch::Invoke to its virtual Invoke.
//
// Lifetime: created with a reference count of 0 and not counted among the server's live objects.
// The source's connection point takes the references while advised; when the count drops back to
// 0 the sink deletes itself. Its creator keeps a plain, non-owning pointer.
#include <windows.h>
#include <oaidl.h>

namespace inkra::addin {

class TEventSink : public IDispatch {
 public:
  explicit TEventSink(const IID& eventIid);
  TEventSink(const TEventSink&) = delete;
  TEventSink& operator=(const TEventSink&) = delete;

  // IUnknown: EventIID gives the IDispatch, IUnknown the identity; anything else (IDispatch
  // included) E_NOINTERFACE.
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch: no type information; Invoke goes to the virtual Invoke below.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

  // Advises this sink on source's connection point for EventIID (dropping an earlier advise first);
  // true when connected afterwards.
  bool Connect(IUnknown* source);
  // Unadvises; true when not connected afterwards. May destroy the sink (the source held the last
  // reference), so the caller must not use it after a successful disconnect.
  bool Disconnect(IUnknown* source);

  const IID& EventIID() const { return eventIid_; }
  DWORD Connection() const { return connection_; }
  // Live sinks in this process, for tests of their lifetime.
  static long LiveSinks();

 protected:
  virtual ~TEventSink();
  // The body of IDispatch::Invoke. The base knows no member.
  virtual HRESULT Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS& params, VARIANT* result,
                         EXCEPINFO* exception, UINT* argError);

 private:
  IUnknown* Identity() { return static_cast<IDispatch*>(this); }

  LONG refs_ = 0;
  const IID eventIid_;
  DWORD connection_ = 0;
};

}  // namespace inkra::addin
