#pragma once
// What the Office host double saw: every IDispatch::Invoke on any of its objects, and the rules
// that make chosen calls fail or chosen members be missing.
#include <windows.h>

#include <string>
#include <vector>

#include "Variant.h"
#include "hostdouble/LiveObjects.h"

namespace inkra::test::office {

struct CallRecord {
  std::wstring object;  // the object's kind: L"CommandBar", L"Shapes", ...
  int objectId = 0;     // tells objects of one kind apart (one number per COM object)
  std::wstring member;  // empty when the dispatch id named no member
  DISPID dispid = 0;
  WORD flags = 0;       // DISPATCH_METHOD, DISPATCH_PROPERTYGET, ...
  LCID locale = 0;
  // Arguments in call order (first parameter first), by-reference ones as the value they point at;
  // a property put's value is its only argument.
  std::vector<win::Variant> args;
  std::vector<VARTYPE> types;   // the VARTYPE of each argument as passed (VT_BYREF kept)
  std::vector<DISPID> named;    // named-argument ids as passed (DISPID_PROPERTYPUT for a put)
  HRESULT result = S_OK;

  // "CommandBar#3.FindControl(VT_I4 1, VT_BSTR \"x\") -> 0x00000000"
  std::wstring Describe() const;
};

class CallLog {
 public:
  // Invoke on object/member answers hr; with a description, DISP_E_EXCEPTION whose EXCEPINFO
  // carries hr and the description, as Office reports its errors. member L"*" matches any member.
  void FailCall(std::wstring object, std::wstring member, HRESULT hr, std::wstring description = L"");
  // GetIDsOfNames of object/member answers DISP_E_UNKNOWNNAME (and Invoke DISP_E_MEMBERNOTFOUND).
  void Lack(std::wstring object, std::wstring member);
  // The n-th call into the host from now (1-based; every Invoke, GetIDsOfNames and connection
  // point call counts, whatever its object) fails with hr: Invoke and the connection point
  // answer hr, GetIDsOfNames DISP_E_UNKNOWNNAME. 0: none.
  void FailNthCall(long n, HRESULT hr);
  // Calls into the host counted so far.
  long CallsCounted() const { return counted_; }
  void ClearRules();

  const std::vector<CallRecord>& Calls() const { return calls_; }
  // The calls of one member (object L"*" for any object), in order.
  std::vector<CallRecord> CallsTo(const std::wstring& object, const std::wstring& member) const;
  void Clear() { calls_.clear(); }
  // Every call, one per line.
  std::wstring Describe() const;

  // For the double's objects.
  struct Failure {
    std::wstring object, member;
    HRESULT hr;
    std::wstring description;
  };
  const Failure* FailureFor(const std::wstring& object, const std::wstring& member) const;
  // Counts one call into the host; true when it is the one FailNthCall chose.
  bool CountCall() { return ++counted_ == failNth_; }
  // Counts one call: the n-th failure when it is the chosen one, else the rule for
  // object.member (null: none).
  const Failure* Enter(const std::wstring& object, const std::wstring& member) {
    return CountCall() ? &nth_ : FailureFor(object, member);
  }
  bool Lacks(const std::wstring& object, const std::wstring& member) const;
  void Record(CallRecord call) { calls_.push_back(std::move(call)); }
  int NextObjectId() { return ++objects_; }
  // The host's COM objects alive now (its Application included).
  LiveObjects& live() { return live_; }

 private:
  std::vector<CallRecord> calls_;
  std::vector<Failure> failures_;
  std::vector<std::pair<std::wstring, std::wstring>> lacking_;
  int objects_ = 0;
  long counted_ = 0, failNth_ = 0;
  Failure nth_{};
  LiveObjects live_;
};

}  // namespace inkra::test::office
