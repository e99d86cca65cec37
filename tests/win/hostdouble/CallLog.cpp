#include "hostdouble/CallLog.h"

#include <cwchar>

namespace inkra::test::office {
namespace {

bool Same(const std::wstring& pattern, const std::wstring& name) {
  return pattern == L"*" || _wcsicmp(pattern.c_str(), name.c_str()) == 0;
}

}  // namespace

std::wstring CallRecord::Describe() const {
  std::wstring text = object + L"#" + std::to_wstring(objectId) + L"." +
                      (member.empty() ? L"[" + std::to_wstring(dispid) + L"]" : member);
  text += flags & DISPATCH_PROPERTYPUT ? L" = " : L"(";
  for (size_t i = 0; i < args.size(); ++i) {
    if (i) text += L", ";
    text += win::VarTypeName(types[i]) + L":" + args[i].Describe();
  }
  if (!(flags & DISPATCH_PROPERTYPUT)) text += L")";
  wchar_t code[24];
  std::swprintf(code, 24, L" -> 0x%08lX", static_cast<unsigned long>(result));
  return text + code;
}

void CallLog::FailCall(std::wstring object, std::wstring member, HRESULT hr, std::wstring description) {
  failures_.push_back({std::move(object), std::move(member), hr, std::move(description)});
}

void CallLog::Lack(std::wstring object, std::wstring member) {
  lacking_.emplace_back(std::move(object), std::move(member));
}

void CallLog::FailNthCall(long n, HRESULT hr) {
  counted_ = 0;
  failNth_ = n;
  nth_ = {L"*", L"*", hr, L""};
}

void CallLog::ClearRules() {
  failures_.clear();
  lacking_.clear();
  failNth_ = 0;
}


std::vector<CallRecord> CallLog::CallsTo(const std::wstring& object, const std::wstring& member) const {
  std::vector<CallRecord> found;
  for (const CallRecord& call : calls_)
    if (Same(object, call.object) && Same(member, call.member)) found.push_back(call);
  return found;
}

std::wstring CallLog::Describe() const {
  std::wstring text;
  for (const CallRecord& call : calls_) text += call.Describe() + L"\n";
  return text;
}

const CallLog::Failure* CallLog::FailureFor(const std::wstring& object, const std::wstring& member) const {
  for (const Failure& f : failures_)
    if (Same(f.object, object) && Same(f.member, member)) return &f;
  return nullptr;
}

bool CallLog::Lacks(const std::wstring& object, const std::wstring& member) const {
  for (const auto& [o, m] : lacking_)
    if (Same(o, object) && Same(m, member)) return true;
  return false;
}

}  // namespace inkra::test::office
