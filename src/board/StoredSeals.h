#pragma once
// The last seals accepted, kept under the board's settings key beside the pen settings, in the
// same stores and the same order: the machine's first, the user's when the machine refuses.
#include <span>
#include <vector>

#include "SealMemory.h"
#include "SettingsStore.h"

namespace inkra::board {

class StoredSeals final : public SealMemory {
 public:
  // The stores in saving order; not owned, they must outlive this.
  explicit StoredSeals(std::span<SettingsStore* const> stores) : stores_(stores.begin(), stores.end()) {}
  // From the last store whose key exists (the user's latest saves), else the first that opens.
  std::optional<std::string> Load(const std::string& name) override;
  // Into the first store that takes it.
  void Save(const std::string& name, const std::string& text) override;

 private:
  std::vector<SettingsStore*> stores_;
};

}  // namespace inkra::board
