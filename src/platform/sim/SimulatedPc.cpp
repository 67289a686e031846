#include "platform/sim/SimulatedPc.h"

namespace platform {

SimulatedPc::SimulatedPc(std::string statePath) : file_(std::move(statePath)) {}

QJsonObject SimulatedPc::State() const {
  return file_.Load().value_or(QJsonObject{});
}

bool SimulatedPc::Update(const std::function<bool(QJsonObject&)>& change) const {
  return file_.Update(change);
}

bool SimulatedPc::Change(const std::function<void(QJsonObject&)>& change) const {
  return file_.Update([&](QJsonObject& state) {
    change(state);
    return true;
  });
}

}  // namespace platform
