#include "MSOAddIn_Utils.h"

#include "ComError.h"
#include "Dispatch.h"

namespace inkra::addin {

int FindCommandBar(IDispatch* commandBars, std::wstring_view name) {
  int found = 0;
  if (!commandBars) return found;
  try {
    const int count = win::Get(commandBars, L"Count").ToInt32();
    for (int i = 1; i <= count; ++i) {
      win::ComPtr<IDispatch> bar = win::Get(commandBars, L"Item", i).ToDispatch();
      if (bar && win::Get(bar.Get(), L"Name").ToString() == name) {
        found = i;
        break;
      }
    }
  } catch (const std::exception&) {
    // an unreadable collection or bar ends the search; the add-in then creates its own bar
  }
  return found;
}

}  // namespace inkra::addin
