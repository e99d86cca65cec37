// Restricting the source's pixel types to a mask: ask for ICAP_PIXELTYPE, filter the answer in
// place and send it back.
#include <cstring>

#include "TwainSession.h"

namespace inkra::twain {
namespace {

constexpr std::size_t kEnumerationItems = 14;  // ItemType, NumItems, CurrentIndex, DefaultIndex
constexpr std::size_t kArrayItems = 6;         // ItemType, NumItems
constexpr std::size_t kOneValueSize = 6;       // ItemType, Item

template <typename T>
T Get(const std::uint8_t* at) {
  T v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

template <typename T>
void Put(std::uint8_t* at, T v) {
  std::memcpy(at, &v, sizeof v);
}

bool InMask(std::uint32_t value, std::uint32_t mask) { return value < 32 && (mask >> value & 1u); }

}  // namespace

std::size_t FilterPixelTypes(std::uint16_t* values, std::size_t count, std::uint32_t mask) {
  std::uint32_t present = 0;
  for (std::size_t i = 0; i < count; ++i)
    if (values[i] < 32) present |= 1u << values[i];
  const std::uint32_t common = present & mask;
  std::size_t written = 0;
  for (std::uint16_t n = 0; n < 32; ++n)
    if (common >> n & 1u) values[written++] = n;
  return written;
}

bool Session::NegotiatePixelType(std::uint32_t mask) {
  if (state_ != kSourceOpen) {
    RecordError(kNegotiationOutOfState);
    return false;
  }
  if (mask == 0) return true;
  TwCapability cap{ICAP_PIXELTYPE, TWON_ENUMERATION, nullptr};
  if (!CallSource(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &cap)) {
    RecordError(kCapabilityGetFailed);
    return false;
  }
  if (!cap.hContainer) {
    RecordError(kNullContainer);
    return false;
  }
  auto* container = static_cast<std::uint8_t*>(platform_.Lock(cap.hContainer));
  if (!container) {
    RecordError(kContainerNotLockable);
    return false;
  }
  bool ok = ReadPixelTypeContainer(container, platform_.BlockSize(cap.hContainer), cap.ConType, mask);
  platform_.Unlock(cap.hContainer);
  if (ok && cap.ConType != TWON_ONEVALUE && !CallSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap)) {
    RecordError(kCapabilitySetFailed);
    ok = false;
  }
  platform_.Free(cap.hContainer);
  return ok;
}

bool Session::ReadPixelTypeContainer(std::uint8_t* container, std::size_t size, std::uint16_t conType,
                                     std::uint32_t mask) {
  if (conType == TWON_ONEVALUE) {
    if (size < kOneValueSize) {
      RecordError(kNoItems);
      return false;
    }
    if (InMask(Get<std::uint32_t>(container + 2), mask)) return true;
    RecordError(kNoCommonPixelType);
    return false;
  }
  if (conType != TWON_ENUMERATION && conType != TWON_ARRAY) {
    RecordError(kUnknownContainer);
    return false;
  }
  const std::size_t itemsAt = conType == TWON_ENUMERATION ? kEnumerationItems : kArrayItems;
  if (size < itemsAt) {
    RecordError(kNoItems);
    return false;
  }
  const std::uint16_t itemType = Get<std::uint16_t>(container);
  std::uint32_t count = Get<std::uint32_t>(container + 2);
  if (count < 1) {
    RecordError(kNoItems);
    return false;
  }
  if (itemType != TWTY_UINT16 && itemType != TWTY_INT16) {
    RecordError(kItemTypeNotInteger);
    return false;
  }
  // A count larger than the block holds is read only as far as the block goes.
  if (count > (size - itemsAt) / 2) count = std::uint32_t((size - itemsAt) / 2);
  if (conType == TWON_ENUMERATION) {
    Put<std::uint32_t>(container + 6, 0xFFFFFFFFu);
    Put<std::uint32_t>(container + 10, 0xFFFFFFFFu);
  }
  std::vector<std::uint16_t> items(count);
  std::memcpy(items.data(), container + itemsAt, count * 2);
  const std::size_t kept = FilterPixelTypes(items.data(), items.size(), mask);
  std::memcpy(container + itemsAt, items.data(), kept * 2);
  Put<std::uint32_t>(container + 2, std::uint32_t(kept));
  if (kept == 0) {
    RecordError(kNoCommonPixelType);
    return false;
  }
  return true;
}

}  // namespace inkra::twain
