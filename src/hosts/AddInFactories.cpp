#include "AddInFactories.h"

#include <new>

#include "ExcelAddIn_IMPL.h"
#include "MSOAddIn_h.h"
#include "WordAddIn_IMPL.h"

namespace inkra::addin {
namespace {

template <typename AddIn>
TMSOfficeAddIn* Create() {
  return new (std::nothrow) AddIn();
}

// WPS Writer ("WPS") reads Word's add-ins, WPS Spreadsheets ("ET") Excel's.
TMSOAddInFactory gWordFactory(
    {L"Word", L"Inkra Word 2000/XP AddIn", L"Inkra Word 2000/XP AddIn", 3, &CLSID_WordAddIn, L"WPS"},
    &Create<TWordAddIn>);
TMSOAddInFactory gExcelFactory(
    {L"Excel", L"Inkra Excel 2000/XP AddIn", L"Inkra Excel 2000/XP AddIn", 3, &CLSID_ExcelAddIn, L"ET"},
    &Create<TExcelAddIn>);
TMSOAddInFactory* const gFactories[] = {&gWordFactory, &gExcelFactory};

}  // namespace

FactoryList ServerFactories() { return gFactories; }

}  // namespace inkra::addin
