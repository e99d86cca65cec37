#pragma once
// The one COM pointer type: AddRef on copy, take-over on move, Release on destruction.
#include <wrl/client.h>

namespace inkra::win {
using Microsoft::WRL::ComPtr;
}
