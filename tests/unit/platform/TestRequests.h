#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace platform {

inline StartRequest Request(std::string file, std::string parameters = {},
                            std::string workingDir = {}, bool captureOutput = false) {
  StartRequest request;
  request.file = std::move(file);
  request.parameters = std::move(parameters);
  request.workingDir = std::move(workingDir);
  request.captureOutput = captureOutput;
  return request;
}

inline StartRequest Hidden(StartRequest request) {
  request.hide = true;
  return request;
}

inline PlatformOptions Options(std::string name, std::string simStatePath = {},
                               std::shared_ptr<Clock> clock = {}) {
  PlatformOptions options;
  options.name = std::move(name);
  options.simStatePath = std::move(simStatePath);
  options.clock = std::move(clock);
  return options;
}

}  // namespace platform
