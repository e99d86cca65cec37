#pragma once
// Office's reading of custom UI markup, for the ribbon double: the markup parsed by a real XML
// parser (MSXML 3's DOMDocument, which Windows and Wine both ship), then checked against the part
// of the custom UI schema that a ribbon tab holds.
#include <string>
#include <vector>

#include "hostdouble/Ribbon.h"

namespace inkra::test::office {

// Fills ribbon.buttons from ribbon.markup and adds to ribbon.problems whatever Office's schema
// check would refuse. Names of the callbacks used go to `callbacks`, for the caller to look up.
void ReadCustomUi(Ribbon& ribbon, std::vector<std::wstring>& callbacks);

}  // namespace inkra::test::office
