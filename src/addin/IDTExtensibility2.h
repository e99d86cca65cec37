#pragma once
// The Office COM add-in connection interface, declared here as Office's add-in designer type
// library declares it: a dual interface whose five methods follow IDispatch's.
#include <windows.h>
#include <oaidl.h>

// ConnectMode and RemoveMode are 32-bit enumerations in the type library, passed as int here.
MIDL_INTERFACE("B65AD801-ABAF-11D0-BB8B-00A0C90F2744")
IDTExtensibility2 : public IDispatch {
 public:
  virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, int ConnectMode, IDispatch* AddInInst,
                                                 SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnDisconnection(int RemoveMode, SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};
__CRT_UUID_DECL(IDTExtensibility2, 0xB65AD801, 0xABAF, 0x11D0, 0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44)

namespace inkra::addin {
// RemoveMode values: the host shuts down, or the user removed the add-in.
inline constexpr int kRemoveModeHostShutdown = 0;
inline constexpr int kRemoveModeUserClosed = 1;
}  // namespace inkra::addin
