#include "MSOEventSink.h"

#include "OfficeIds.h"

namespace inkra::addin {

HRESULT TCommandBarButtonEventsSink::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS& params,
                                            VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  if (id == office::kDispIdClick && params.cArgs == 2) {
    DoClick(params);
    return S_OK;
  }
  return TEventSink::Invoke(id, iid, locale, flags, params, result, exception, argError);
}

void TCommandBarButtonEventsSink::DoClick(DISPPARAMS& params) {
  if (!OnClick) return;
  // Arguments stand last-first: [0] CancelDefault by reference, [1] Ctrl. The host passes a
  // VT_BOOL|VT_BYREF; anything else has no flag to read or write back.
  VARIANT& cancelArg = params.rgvarg[0];
  VARIANT& ctrlArg = params.rgvarg[1];
  VARIANT_BOOL* cancelTarget = cancelArg.vt == (VT_BOOL | VT_BYREF) ? cancelArg.pboolVal : nullptr;
  IDispatch* ctrl = ctrlArg.vt == VT_DISPATCH ? ctrlArg.pdispVal : nullptr;
  VARIANT_BOOL cancel = cancelTarget ? *cancelTarget : VARIANT_FALSE;
  // A copy: the add-in may clear OnClick while its handler runs (a disconnect from inside the
  // board's modal loop), which must not destroy the handler being run.
  const TClickHandler handler = OnClick;
  handler(ctrl, cancel);
  if (cancelTarget) *cancelTarget = cancel;
}

}  // namespace inkra::addin
