#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ManualClock.h"
#include "sim/DemoWorld.h"

class QWidget;

// The program created in-process in a fresh demo world on the simulated PC,
// on a manual clock, with every message answered by its OK button. Restart()
// ends the program objects and creates them again on the same world: a new
// run of the program that finds what the last one left on disk.
class DownloadWorld : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Replaces the world with one whose maker's server speaks HTTPS; before Start.
  void UseHttps();
  void Start();
  void Restart();

  // Serves `contents` at the firmware path `name`; returns its URL.
  QString Serve(const std::string& name, const QByteArray& contents);
  static std::string FirmwarePath(const std::string& name) { return "/solvanta/firmware/" + name; }
  // The local copy the flow names for a file of the firmware folder.
  QString LocalFile(const std::string& name) const;
  // The Range header of every GET of the firmware `name`, in order (empty
  // text for a GET without one).
  std::vector<std::string> RangesAsked(const std::string& name) const;
  // The simulated PC's record of the taskbar button.
  int TaskbarValue(const char* key) const;
  // The files the simulated PC was asked to start.
  QStringList StartedPrograms() const;

  // Runs the event loop until `done` holds or `ms` pass; returns `done()`.
  static bool RunUntil(const std::function<bool()>& done, int ms = 10000);
  static void RunFor(int ms);
  // With SOLVANTA_SCREENSHOTS naming a folder, saves `widget` there as `name`.png.
  static void Shoot(QWidget* widget, const QString& name);

  std::unique_ptr<sim::DemoWorld> world_;
  std::string statePath_;
  std::shared_ptr<platform::ManualClock> clock_;
  QStringList messages_;  // texts of the messages shown, in order
};

// Deterministic bytes that differ from offset to offset.
QByteArray Firmware(int size, unsigned seed = 1);
QString Md5Of(const QByteArray& data);
QByteArray ReadFile(const QString& path);
