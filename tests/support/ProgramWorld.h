#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/ProgramEntry.h"
#include "app/ServerSettings.h"
#include "platform/Platform.h"
#include "sim/DemoState.h"
#include "sim/DemoWorld.h"

// A test that runs the whole program in-process in a demo world: the local
// server, the simulated PC's state and the program's server settings are set
// up first; Start() creates the program's objects, the end of the test
// destroys them.
class ProgramWorldTest : public testing::Test {
 protected:
  void SetUp() override {
    auto created = sim::DemoWorld::Create({});
    ASSERT_TRUE(created) << created.error();
    world_ = std::move(*created);
    auto state = sim::WriteDemoState(*world_, QStringLiteral("/bin/true"));
    ASSERT_TRUE(state) << state.error().toStdString();
    statePath_ = state->toStdString();
    ServerSettings::SetMakerBaseUrl(world_->ServerUrl());
    ServerSettings::SetGeoBaseUrl(world_->GeoUrl());
  }

  void TearDown() override {
    DestroyProgramObjects();
    platform::SetCurrent({});
  }

  // `clock` replaces the real clock when set.
  void Start(std::shared_ptr<platform::Clock> clock = nullptr) {
    platform::SetCurrent(platform::CreatePlatform({"sim", statePath_, std::move(clock)}));
    CreateProgramObjects();
  }

  std::unique_ptr<sim::DemoWorld> world_;
  std::string statePath_;
};
