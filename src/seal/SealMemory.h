#pragma once
// Where a seal dialog keeps the last seal accepted ("上次使用"): one text per dialog, under the
// opener's settings. The dialogs know only this; the board gives its own settings behind it.
#include <optional>
#include <string>

namespace inkra {

class SealMemory {
 public:
  virtual ~SealMemory() = default;
  // nullopt when nothing was kept, or it cannot be read.
  virtual std::optional<std::string> Load(const std::string& name) = 0;
  // Keeps `text`; a refusal is not the dialog's concern (the seal itself is already handed off).
  virtual void Save(const std::string& name, const std::string& text) = 0;
};

}  // namespace inkra
