#pragma once

#include <map>
#include <mutex>

#include "platform/Fonts.h"

namespace platform {

// Font files registered with Qt's application font database for the run,
// keyed by path. Needs a QGuiApplication; without one every call answers
// false.
class QtFonts : public Fonts {
 public:
  bool AddFontResource(const std::string& path) override;
  bool RemoveFontResource(const std::string& path) override;
  // Posts QEvent::ApplicationFontChange to the application.
  void NotifyFontChange() override;

 private:
  std::mutex mutex_;
  std::map<std::string, int> ids_;
};

}  // namespace platform
