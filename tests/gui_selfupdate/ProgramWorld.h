#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/ProgramEntry.h"
#include "app/ServerSettings.h"
#include "platform/Platform.h"
#include "sim/DemoState.h"
#include "sim/DemoWorld.h"

// The program created in-process in a fresh demo world on the simulated PC.
class ProgramWorld : public testing::Test {
 protected:
  void SetUp() override {
    auto created = sim::DemoWorld::Create({});
    ASSERT_TRUE(created) << created.error();
    world_ = std::move(*created);
    const std::filesystem::path restart = world_->Root() / "restart.sh";
    std::ofstream(restart) << "#!/bin/sh\n";
    std::filesystem::permissions(restart, std::filesystem::perms::owner_all);
    auto state = sim::WriteDemoState(*world_, QString::fromStdString(restart.string()));
    ASSERT_TRUE(state) << state.error().toStdString();
    statePath_ = state->toStdString();
    ServerSettings::SetMakerBaseUrl(world_->ServerUrl());
  }

  void TearDown() override {
    DestroyProgramObjects();
    platform::SetCurrent({});
  }

  void Start() {
    platform::PlatformOptions options;
    options.name = "sim";
    options.simStatePath = statePath_;
    platform::SetCurrent(platform::CreatePlatform(options));
    CreateProgramObjects();
  }

  // Runs the event loop until `done` holds or `ms` pass; returns `done()`.
  static bool RunUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }

  std::unique_ptr<sim::DemoWorld> world_;
  std::string statePath_;
};
