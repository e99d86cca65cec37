#pragma once
// The engine under every object of the Office host double: an IDispatch answered from a table of
// members (name, dispatch id, kind, handler), with Office's argument rules, a record of every call
// in the CallLog, and the log's failure rules applied.
#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ComPtr.h"
#include "Variant.h"
#include "hostdouble/CallLog.h"

namespace inkra::test::office {

// Raised by a member's handler: Invoke answers hr, or DISP_E_EXCEPTION carrying hr and the
// description when there is one.
struct HostError {
  HRESULT hr;
  std::wstring description;
};

// The arguments of one call, in call order, by-reference ones dereferenced.
class Args {
 public:
  explicit Args(std::vector<win::Variant> values) : values_(std::move(values)) {}
  size_t Count() const { return values_.size(); }
  // Given, and not the missing-argument marker.
  bool Present(size_t i) const { return i < values_.size() && !values_[i].IsMissing(); }
  const win::Variant& Raw(size_t i) const { return values_.at(i); }
  // Coerced as Office coerces (VariantChangeType); DISP_E_TYPEMISMATCH when it cannot be.
  win::Variant As(size_t i, VARTYPE vt) const;
  std::wstring String(size_t i) const;
  int32_t Int(size_t i) const;
  float Float(size_t i) const;
  bool Bool(size_t i) const;
  int32_t IntOr(size_t i, int32_t fallback) const { return Present(i) ? Int(i) : fallback; }
  bool BoolOr(size_t i, bool fallback) const { return Present(i) ? Bool(i) : fallback; }
  // Index of the argument whose conversion failed, for puArgErr.
  mutable size_t failedArg = size_t(-1);

 private:
  std::vector<win::Variant> values_;
};

class DispatchDouble : public IDispatch {
 public:
  DispatchDouble(std::shared_ptr<CallLog> log, std::wstring kind);
  virtual ~DispatchDouble();
  DispatchDouble(const DispatchDouble&) = delete;
  DispatchDouble& operator=(const DispatchDouble&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

  const std::wstring& Kind() const { return kind_; }

 protected:
  using Body = std::function<win::Variant(const Args&)>;
  using Setter = std::function<void(const win::Variant& value)>;
  // A method taking minArgs to maxArgs positional arguments.
  void Method(const wchar_t* name, DISPID id, size_t minArgs, size_t maxArgs, Body body);
  // A property; read-only without a setter. Indexed properties (Item) take up to maxIndex arguments.
  void Property(const wchar_t* name, DISPID id, Body get, Setter set = nullptr, size_t minIndex = 0,
                size_t maxIndex = 0);
  // Another interface identifier answered with this object's IDispatch (a dual interface).
  void AlsoAnswer(const IID& iid) { iids_.push_back(iid); }
  // Interfaces that are not IDispatch-based (IConnectionPointContainer).
  virtual IUnknown* QueryOther(REFIID) { return nullptr; }

  std::shared_ptr<CallLog> log_;

 private:
  struct Member {
    std::wstring name;
    DISPID id;
    WORD kinds;
    size_t minArgs, maxArgs;
    Body body;
    Setter set;
  };
  const Member* Find(DISPID id) const;
  HRESULT Run(const Member& member, WORD flags, const DISPPARAMS& params, const Args& args, VARIANT* result);

  LONG refs_ = 1;
  std::wstring kind_;
  int id_;
  std::vector<Member> members_;
  std::vector<IID> iids_;
};

// A new double with one reference, as IDispatch.
template <typename T, typename... A>
win::ComPtr<IDispatch> Make(A&&... args) {
  return win::Adopt<IDispatch>(new T(std::forward<A>(args)...));
}

// A small object of the model (a page setup, a pane, a count) whose members are defined where
// it is made, over the state its handlers capture.
class ObjectDouble final : public DispatchDouble {
 public:
  using DispatchDouble::AlsoAnswer;
  using DispatchDouble::DispatchDouble;
  using DispatchDouble::Method;
  using DispatchDouble::Property;
};
template <typename Define>
win::ComPtr<IDispatch> MakeObject(const std::shared_ptr<CallLog>& log, const wchar_t* kind, Define&& define) {
  auto* object = new ObjectDouble(log, kind);
  define(*object);
  return win::Adopt<IDispatch>(static_cast<IDispatch*>(object));
}
// The same, as the variant a property answers.
template <typename Define>
win::Variant ObjectVariant(const std::shared_ptr<CallLog>& log, const wchar_t* kind, Define&& define) {
  return win::Variant(MakeObject(log, kind, std::forward<Define>(define)).Get());
}

// Office's "Nothing": an object variant holding null.
inline win::Variant Nothing() { return win::Variant(static_cast<IDispatch*>(nullptr)); }

}  // namespace inkra::test::office
