#include "hostdouble/DispatchDouble.h"

#include <cwchar>

namespace inkra::test::office {

using win::Variant;

Variant Args::As(size_t i, VARTYPE vt) const {
  Variant out;
  if (i >= values_.size() ||
      FAILED(VariantChangeType(out.put(), const_cast<VARIANT*>(&values_[i].get()), 0, vt))) {
    failedArg = i;
    throw HostError{DISP_E_TYPEMISMATCH, L""};
  }
  return out;
}

std::wstring Args::String(size_t i) const {
  Variant v = As(i, VT_BSTR);
  return v.get().bstrVal ? std::wstring(v.get().bstrVal, SysStringLen(v.get().bstrVal)) : std::wstring();
}
int32_t Args::Int(size_t i) const { return As(i, VT_I4).get().lVal; }
float Args::Float(size_t i) const { return As(i, VT_R4).get().fltVal; }
bool Args::Bool(size_t i) const { return As(i, VT_BOOL).get().boolVal != VARIANT_FALSE; }

DispatchDouble::DispatchDouble(std::shared_ptr<CallLog> log, std::wstring kind)
    : log_(std::move(log)), kind_(std::move(kind)), id_(log_->NextObjectId()) {
  log_->live().Created();
}

DispatchDouble::~DispatchDouble() { log_->live().Destroyed(); }

STDMETHODIMP DispatchDouble::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  IUnknown* found = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch) found = static_cast<IDispatch*>(this);
  for (const IID& extra : iids_)
    if (iid == extra) found = static_cast<IDispatch*>(this);
  if (!found) found = QueryOther(iid);
  if (!found) return E_NOINTERFACE;
  found->AddRef();
  *object = found;
  return S_OK;
}

STDMETHODIMP_(ULONG) DispatchDouble::AddRef() { return ULONG(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) DispatchDouble::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return ULONG(left);
}

STDMETHODIMP DispatchDouble::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP DispatchDouble::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

void DispatchDouble::Method(const wchar_t* name, DISPID id, size_t minArgs, size_t maxArgs, Body body) {
  members_.push_back({name, id, DISPATCH_METHOD, minArgs, maxArgs, std::move(body), nullptr});
}

void DispatchDouble::Property(const wchar_t* name, DISPID id, Body get, Setter set, size_t minIndex,
                              size_t maxIndex) {
  WORD kinds = DISPATCH_PROPERTYGET | (set ? DISPATCH_PROPERTYPUT : 0);
  members_.push_back({name, id, kinds, minIndex, maxIndex, std::move(get), std::move(set)});
}

const DispatchDouble::Member* DispatchDouble::Find(DISPID id) const {
  for (const Member& m : members_)
    if (m.id == id) return &m;
  return nullptr;
}

STDMETHODIMP DispatchDouble::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  // Only the chosen n-th call fails a name lookup; the rules by member apply to Invoke.
  if (log_->CountCall()) return DISP_E_UNKNOWNNAME;
  for (const Member& m : members_)
    if (_wcsicmp(m.name.c_str(), names[0]) == 0 && !log_->Lacks(kind_, m.name)) ids[0] = m.id;
  if (ids[0] == DISPID_UNKNOWN || count > 1) return DISP_E_UNKNOWNNAME;  // named parameters: not served
  return S_OK;
}

HRESULT DispatchDouble::Run(const Member& member, WORD flags, const DISPPARAMS& params, const Args& args,
                            VARIANT* result) {
  bool isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (isPut) {
    if (!member.set) return DISP_E_MEMBERNOTFOUND;
    if (params.cNamedArgs != 1 || params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTOPTIONAL;
    if (args.Count() != 1) return DISP_E_BADPARAMCOUNT;
    member.set(args.Raw(0));
    return S_OK;
  }
  if (!(flags & member.kinds & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
  if (params.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (args.Count() > member.maxArgs) return DISP_E_BADPARAMCOUNT;
  for (size_t i = 0; i < member.minArgs; ++i)
    if (!args.Present(i)) return DISP_E_PARAMNOTFOUND;
  Variant value = member.body(args);
  if (result) *result = value.Detach();
  return S_OK;
}

STDMETHODIMP DispatchDouble::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                    VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_INVALIDARG;
  if (result) VariantInit(result);
  const Member* member = Find(id);
  if (member && log_->Lacks(kind_, member->name)) member = nullptr;

  CallRecord call;
  call.object = kind_;
  call.objectId = id_;
  call.member = member ? member->name : L"";
  call.dispid = id;
  call.flags = flags;
  call.locale = locale;
  std::vector<Variant> values;
  for (UINT i = params->cArgs; i-- > 0;) {
    const VARIANT& arg = params->rgvarg[i];
    Variant value;
    if (FAILED(VariantCopyInd(value.put(), const_cast<VARIANT*>(&arg)))) value = Variant();
    call.types.push_back(arg.vt);
    call.args.push_back(value);
    values.push_back(std::move(value));
  }
  for (UINT i = 0; i < params->cNamedArgs; ++i) call.named.push_back(params->rgdispidNamedArgs[i]);

  Args args(std::move(values));
  HRESULT hr = S_OK;
  std::wstring description;
  if (const CallLog::Failure* failure = log_->Enter(kind_, call.member.empty() ? L"?" : call.member)) {
    hr = failure->hr;
    description = failure->description;
  } else if (!member) {
    hr = DISP_E_MEMBERNOTFOUND;
  } else {
    try {
      hr = Run(*member, flags, *params, args, result);
    } catch (const HostError& error) {
      hr = error.hr;
      description = error.description;
      if (args.failedArg != size_t(-1) && argError) *argError = UINT(params->cArgs - 1 - args.failedArg);
    }
  }
  if (!description.empty()) {
    if (exception) {
      *exception = EXCEPINFO{};
      exception->scode = hr;
      exception->bstrSource = SysAllocString(L"Office host double");
      exception->bstrDescription = SysAllocString(description.c_str());
    }
    hr = DISP_E_EXCEPTION;
  }
  call.result = hr;
  log_->Record(std::move(call));
  return hr;
}

}  // namespace inkra::test::office
