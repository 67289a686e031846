#pragma once

#include "platform/Taskbar.h"

namespace platform {

// Progress and attention on the launcher through the Unity launcher-entry
// D-Bus signal (read by the docks and panels that show launcher progress).
// Without a session bus or an application object nothing happens.
class UnityTaskbar : public Taskbar {
 public:
  void SetProgress(TaskbarState state, std::int64_t value, std::int64_t maximum) override;
  // Asks for attention ("urgent"); the desktop clears it when the window is
  // activated, so count and rate have no equivalent.
  void Flash(int count, std::chrono::milliseconds rate) override;
};

}  // namespace platform
