#pragma once
// TCommandBarButtonEventsSink: turns the Click event of an Office command-bar button
// (_CommandBarButtonEvents, dispatch id 1) into a call of its OnClick handler.
#include <functional>

#include "EventSink.h"

namespace inkra::addin {

// (Ctrl, CancelDefault): the button as the host passed it (not AddRef'd), and the host's
// by-reference flag, which the handler may set.
using TClickHandler = std::function<void(IDispatch* Ctrl, VARIANT_BOOL& CancelDefault)>;

class TCommandBarButtonEventsSink : public TEventSink {
 public:
  explicit TCommandBarButtonEventsSink(const IID& eventIid) : TEventSink(eventIid) {}

  TClickHandler OnClick;  // empty: clicks are answered and ignored

 protected:
  using TEventSink::Invoke;
  HRESULT Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS& params, VARIANT* result,
                 EXCEPINFO* exception, UINT* argError) override;
  void DoClick(DISPPARAMS& params);
};

}  // namespace inkra::addin
