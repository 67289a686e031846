#pragma once

#include <functional>

namespace platform {

// Device-change notifications (a device or volume arrived or left).
class DeviceEvents {
 public:
  virtual ~DeviceEvents() = default;
  using Handler = std::function<void()>;
  // The handler runs on the thread that owns the program's event loop.
  virtual void Subscribe(Handler handler) = 0;
};

}  // namespace platform
