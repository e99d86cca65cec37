// Office command bars: the collection, a bar, its controls, a button and the button's Click
// connection point.
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cwchar>

#include "hostdouble/OfficeIids.h"
#include "hostdouble/Objects.h"

namespace inkra::test::office {

using win::ComPtr;
using win::Variant;

namespace {

const std::wstring kNotAvailable = L"The object is no longer available.";

std::vector<std::shared_ptr<CommandBarState>>& Bars(const Context& host) { return host->profile->bars; }

// --- The button's connection point --------------------------------------------------------------

// Office fires a button's Click only while the object its sinks were advised through is alive: an
// add-in that releases its button object stops hearing clicks. The point keeps that object alive
// and records each cookie with it.
class ClickConnectionPoint final : public IConnectionPoint {
 public:
  ClickConnectionPoint(Context host, std::shared_ptr<ControlState> control, ComPtr<IDispatch> owner,
                       std::vector<DWORD>& ownerCookies)
      : host_(std::move(host)), control_(std::move(control)), owner_(std::move(owner)), ownerCookies_(ownerCookies) {
    host_->log->live().Created();
  }
  ~ClickConnectionPoint() { host_->log->live().Destroyed(); }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return ULONG(left);
  }
  STDMETHODIMP GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = published::DIID__CommandBarButtonEvents;
    return S_OK;
  }
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    HRESULT hr = Rule(L"Advise");
    ComPtr<IDispatch> events;
    if (SUCCEEDED(hr) && (!sink || FAILED(sink->QueryInterface(published::DIID__CommandBarButtonEvents,
                                                              reinterpret_cast<void**>(events.GetAddressOf())))))
      hr = CONNECT_E_CANNOTCONNECT;
    if (SUCCEEDED(hr)) {
      *cookie = control_->nextCookie++;
      control_->sinks.emplace_back(*cookie, events);
      ownerCookies_.push_back(*cookie);
    }
    Log(L"Advise", *cookie, hr);
    return hr;
  }
  STDMETHODIMP Unadvise(DWORD cookie) override {
    HRESULT hr = Rule(L"Unadvise");
    auto& sinks = control_->sinks;
    auto found = std::find_if(sinks.begin(), sinks.end(), [&](auto& s) { return s.first == cookie; });
    if (SUCCEEDED(hr) && found == sinks.end()) hr = CONNECT_E_NOCONNECTION;
    ComPtr<IDispatch> dropped;
    if (SUCCEEDED(hr)) {
      dropped = found->second;  // released after the list is consistent again
      sinks.erase(found);
    }
    Log(L"Unadvise", cookie, hr);
    return hr;
  }
  STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

 private:
  HRESULT Rule(const wchar_t* member) {
    const CallLog::Failure* failure = host_->log->Enter(L"ConnectionPoint", member);
    return failure ? failure->hr : S_OK;
  }
  void Log(const wchar_t* member, DWORD cookie, HRESULT hr) {
    CallRecord call;
    call.object = L"ConnectionPoint";
    call.member = member;
    call.args.push_back(Variant(long(cookie)));
    call.types.push_back(VT_I4);
    call.result = hr;
    host_->log->Record(std::move(call));
  }

  LONG refs_ = 1;
  Context host_;
  std::shared_ptr<ControlState> control_;
  ComPtr<IDispatch> owner_;
  std::vector<DWORD>& ownerCookies_;  // owner_'s, alive as long as this point
};

// --- Controls ------------------------------------------------------------------------------------

class ControlDouble final : public DispatchDouble, public IConnectionPointContainer {
 public:
  ControlDouble(Context host, std::shared_ptr<ControlState> control)
      : DispatchDouble(host->log, control->type == msoControlButton ? L"CommandBarButton" : L"CommandBarControl"),
        host_(std::move(host)),
        control_(std::move(control)) {
    if (control_->type == msoControlButton) AlsoAnswer(published::IID__CommandBarButton);
    auto text = [this](const wchar_t* name, DISPID id, std::wstring ControlState::*field) {
      Property(
          name, id, [this, field](const Args&) { return Variant(Live().*field); },
          [this, field](const Variant& v) { Live().*field = v.ToString(); });
    };
    text(L"Tag", 0x60030030, &ControlState::tag);
    text(L"TooltipText", 0x60030032, &ControlState::tooltipText);
    text(L"Caption", 0x60030008, &ControlState::caption);
    text(L"Parameter", 0x60030026, &ControlState::parameter);
    Property(
        L"Style", 0x6004001A, [this](const Args&) { return Variant(Live().style); },
        [this](const Variant& v) { Live().style = v.ToInt32(); });
    Property(
        L"Visible", 0x60030034, [this](const Args&) { return Variant(Live().visible); },
        [this](const Variant& v) { Live().visible = v.ToBool(); });
    Property(L"Type", 0x60030033, [this](const Args&) { return Variant(Live().type); });
    Property(L"Id", 0x60030016, [this](const Args&) { return Variant(Live().id); });
    Method(L"Delete", 0x60030011, 0, 1, [this](const Args&) {
      Live().deleted = true;
      for (auto& bar : Bars(host_)) std::erase(bar->controls, control_);
      return Variant();
    });
  }

  // The sinks advised through this object go with it.
  ~ControlDouble() override {
    std::vector<ComPtr<IDispatch>> dropped;  // released once the list is consistent again
    std::erase_if(control_->sinks, [&](auto& advised) {
      if (std::find(cookies_.begin(), cookies_.end(), advised.first) == cookies_.end()) return false;
      dropped.push_back(advised.second);
      return true;
    });
  }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return DispatchDouble::QueryInterface(iid, object); }
  STDMETHODIMP_(ULONG) AddRef() override { return DispatchDouble::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return DispatchDouble::Release(); }

  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (host_->log->CountCall()) return E_FAIL;
    if (iid != published::DIID__CommandBarButtonEvents) return CONNECT_E_NOCONNECTION;
    *point = new ClickConnectionPoint(host_, control_, static_cast<DispatchDouble*>(this), cookies_);
    return S_OK;
  }

 protected:
  IUnknown* QueryOther(REFIID iid) override {
    if (iid == IID_IConnectionPointContainer && control_->type == msoControlButton)
      return static_cast<IConnectionPointContainer*>(this);
    return nullptr;
  }

 private:
  ControlState& Live() {
    if (control_->deleted) throw HostError{E_FAIL, kNotAvailable};
    return *control_;
  }
  Context host_;
  std::shared_ptr<ControlState> control_;
  std::vector<DWORD> cookies_;  // of the sinks advised through this object
};

class ControlsDouble : public DispatchDouble {
 public:
  ControlsDouble(Context host, std::shared_ptr<CommandBarState> bar)
      : DispatchDouble(host->log, L"CommandBarControls"), host_(std::move(host)), bar_(std::move(bar)) {
    Property(L"Count", 0x60030001, [this](const Args&) { return Variant(int(bar_->controls.size())); });
    Property(L"Item", 0, [this](const Args& a) {
      return Variant(MakeControl(host_, ItemOf(a, bar_->controls, &ControlState::caption)).Get());
    }, nullptr, 1, 1);
    // Add(Type, Id, Parameter, Before, Temporary), all optional.
    Method(L"Add", 0x60030002, 0, 5, [this](const Args& a) {
      auto control = std::make_shared<ControlState>();
      control->type = a.IntOr(0, msoControlButton);
      control->id = a.IntOr(1, 1);
      if (a.Present(2)) control->parameter = a.String(2);
      control->temporary = a.BoolOr(4, false);
      auto& list = bar_->controls;
      int before = a.IntOr(3, int(list.size()) + 1);
      if (before < 1 || before > int(list.size()) + 1) InvalidArgument();
      list.insert(list.begin() + (before - 1), control);
      return Variant(MakeControl(host_, control).Get());
    });
  }

 private:
  Context host_;
  std::shared_ptr<CommandBarState> bar_;
};

// --- Bars ----------------------------------------------------------------------------------------

class CommandBarDouble : public DispatchDouble {
 public:
  CommandBarDouble(Context host, std::shared_ptr<CommandBarState> bar)
      : DispatchDouble(host->log, L"CommandBar"), host_(std::move(host)), bar_(std::move(bar)) {
    Property(
        L"Name", 0x60030038, [this](const Args&) { return Variant(Live().name); },
        [this](const Variant& v) { Live().name = v.ToString(); });
    Property(L"Controls", 0x6003000B, [this](const Args&) {
      Live();
      return Variant(Make<ControlsDouble>(host_, bar_).Get());
    });
    Property(
        L"Visible", 0x60030044, [this](const Args&) { return Variant(Live().visible); },
        [this](const Variant& v) { Live().visible = v.ToBool(); });
    Property(
        L"Position", 0x6003003F, [this](const Args&) { return Variant(Live().position); },
        [this](const Variant& v) { Live().position = v.ToInt32(); });
    Property(L"BuiltIn", 0x60030005, [this](const Args&) { return Variant(Live().builtIn); });
    // FindControl(Type, Id, Tag, Visible, Recursive), all optional: the first match or Nothing.
    Method(L"FindControl", 0x60030012, 0, 5, [this](const Args& a) {
      for (auto& c : Live().controls) {
        if (a.Present(0) && c->type != a.Int(0)) continue;
        if (a.Present(1) && c->id != a.Int(1)) continue;
        if (a.Present(2) && c->tag != a.String(2)) continue;
        if (a.Present(3) && a.Bool(3) && !c->visible) continue;
        return Variant(MakeControl(host_, c).Get());
      }
      return Nothing();
    });
    Method(L"Delete", 0x60030010, 0, 0, [this](const Args&) {
      if (Live().builtIn) InvalidArgument();
      bar_->deleted = true;
      std::erase(Bars(host_), bar_);
      return Variant();
    });
  }

 private:
  CommandBarState& Live() {
    if (bar_->deleted) throw HostError{E_FAIL, kNotAvailable};
    return *bar_;
  }
  Context host_;
  std::shared_ptr<CommandBarState> bar_;
};

class CommandBarsDouble : public DispatchDouble {
 public:
  explicit CommandBarsDouble(Context host) : DispatchDouble(host->log, L"CommandBars"), host_(std::move(host)) {
    AlsoAnswer(published::IID__CommandBars);
    Property(L"Count", 0x60030018, [this](const Args&) { return Variant(int(Bars(host_).size())); });
    // Item(Index): a 1-based number, or a bar's name in any letter case.
    Property(
        L"Item", 0, [this](const Args& a) { return Variant(MakeCommandBar(host_, ItemOf(a, Bars(host_))).Get()); },
        nullptr, 1, 1);
    // Add(Name, Position, MenuBar, Temporary), all optional.
    Method(L"Add", 0x60030019, 0, 4, [this](const Args& a) {
      auto bar = std::make_shared<CommandBarState>();
      bar->name = a.Present(0) ? a.String(0) : L"Custom " + std::to_wstring(Bars(host_).size() + 1);
      if (host_->profile->Find(bar->name)) InvalidArgument();
      bar->position = a.IntOr(1, msoBarFloating);
      bar->menuBar = a.BoolOr(2, false);
      bar->temporary = a.BoolOr(3, false);
      Bars(host_).push_back(bar);
      return Variant(MakeCommandBar(host_, bar).Get());
    });
  }

 private:
  Context host_;
};

}  // namespace

void InvalidArgument() { throw HostError{E_INVALIDARG, L"Invalid procedure call or argument"}; }

ComPtr<IDispatch> MakeCommandBars(const Context& host) { return Make<CommandBarsDouble>(host); }

ComPtr<IDispatch> MakeCommandBar(const Context& host, std::shared_ptr<CommandBarState> bar) {
  return Make<CommandBarDouble>(host, std::move(bar));
}

ComPtr<IDispatch> MakeControl(const Context& host, std::shared_ptr<ControlState> control) {
  return win::Adopt<IDispatch>(static_cast<DispatchDouble*>(new ControlDouble(host, std::move(control))));
}

ComPtr<IDispatch> ControlObject(HostDouble& host, std::shared_ptr<ControlState> control) {
  return MakeControl(host.context(), std::move(control));
}

HRESULT FireClick(HostDouble& host, ControlState& button, VARIANT_BOOL& cancelDefault) {
  std::shared_ptr<ControlState> shared;
  for (auto& bar : host.profile().bars)
    for (auto& c : bar->controls)
      if (c.get() == &button) shared = c;
  ComPtr<IDispatch> ctrl = shared ? MakeControl(host.context(), shared) : nullptr;
  auto sinks = button.sinks;  // a sink may unadvise while handling the event
  HRESULT hr = S_OK;
  for (auto& [cookie, sink] : sinks) {
    VARIANT_BOOL cancel = cancelDefault;
    VARIANTARG args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[0].vt = VT_BOOL | VT_BYREF;
    args[0].pboolVal = &cancel;
    args[1].vt = VT_DISPATCH;
    args[1].pdispVal = ctrl.Get();
    DISPPARAMS params{args, nullptr, 2, 0};
    hr = sink->Invoke(published::kDispIdClick, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                      nullptr, nullptr);
    cancelDefault = cancel;
  }
  return hr;
}

CommandBarState* Profile::Find(const std::wstring& name) const {
  for (auto& bar : bars)
    if (bar->name == name) return bar.get();
  return nullptr;
}

int Profile::Count(const std::wstring& name) const {
  return int(std::count_if(bars.begin(), bars.end(), [&](auto& b) { return b->name == name; }));
}

std::shared_ptr<Profile> NewProfile(HostKind kind) {
  auto profile = std::make_shared<Profile>();
  if (kind == HostKind::Outlook) return profile;
  const wchar_t* names[] = {L"Standard", L"Formatting", L"Drawing", L"Web"};
  for (const wchar_t* name : names) {
    auto bar = std::make_shared<CommandBarState>();
    bar->name = name;
    bar->builtIn = true;
    bar->position = msoBarTop;
    bar->visible = std::wstring(name) != L"Web";
    profile->bars.push_back(bar);
  }
  return profile;
}

}  // namespace inkra::test::office
