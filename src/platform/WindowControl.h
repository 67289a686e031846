#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

using WindowId = std::int64_t;

struct ChildWindow {
  WindowId id = 0;
  int controlId = 0;
  std::string className;
  std::string text;
};

// Control of another program's top-level window.
class WindowControl {
 public:
  virtual ~WindowControl() = default;
  virtual std::optional<WindowId> FindTopLevel(const std::string& title) = 0;
  virtual bool Hide(WindowId window) = 0;
  virtual std::vector<ChildWindow> Children(WindowId window) = 0;
  virtual bool Click(WindowId child) = 0;
};

}  // namespace platform
