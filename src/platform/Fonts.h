#pragma once

#include <string>

namespace platform {

// Font files made available to the program for the run.
class Fonts {
 public:
  virtual ~Fonts() = default;
  virtual bool AddFontResource(const std::string& path) = 0;
  virtual bool RemoveFontResource(const std::string& path) = 0;
  // Tells the program's windows that the set of fonts changed.
  virtual void NotifyFontChange() = 0;
};

}  // namespace platform
