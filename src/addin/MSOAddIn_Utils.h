#pragma once
// Helpers over the host's command bars that the Word and Excel add-ins share.
#include <windows.h>
#include <oaidl.h>

#include <string_view>

namespace inkra::addin {

// The 1-based position in `commandBars` of the first bar whose Name equals `name` exactly (case
// matters), 0 when there is none. A host call that fails ends the search with what was found so
// far; a null collection holds nothing.
int FindCommandBar(IDispatch* commandBars, std::wstring_view name);

}  // namespace inkra::addin
