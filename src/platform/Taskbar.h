#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

// Progress states of the taskbar button, with the original's numbering.
enum class TaskbarState : int { None = 0, Indeterminate = 1, Normal = 2, Error = 3, Paused = 4 };

class Taskbar {
 public:
  virtual ~Taskbar() = default;
  virtual void SetProgress(TaskbarState state, std::int64_t value, std::int64_t maximum) = 0;
  // Flashes the caption and the taskbar button `count` times, once per `rate`.
  virtual void Flash(int count, std::chrono::milliseconds rate) = 0;
};

}  // namespace platform
