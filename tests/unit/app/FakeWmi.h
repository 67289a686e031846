#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Wmi.h"

// Answers fixed rows for the exact WQL texts it knows; any other text, or
// every text when `failing`, throws like a provider that cannot run it.
class FakeWmi : public platform::Wmi {
 public:
  std::map<std::string, std::vector<platform::WmiRow>> answers;
  bool failing = false;
  std::vector<std::string> asked;

  std::vector<platform::WmiRow> Query(const std::string& wql) override {
    asked.push_back(wql);
    const auto it = answers.find(wql);
    if (failing || it == answers.end()) {
      throw platform::WmiError("query failed: " + wql);
    }
    return it->second;
  }
};
