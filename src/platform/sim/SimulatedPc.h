#pragma once

#include <QJsonObject>
#include <functional>
#include <string>

#include "platform/JsonStateFile.h"

namespace platform {

// The simulated PC: its whole state in one JSON file that the program, the
// fake tools and the demo panel share. Every read takes the file afresh;
// every change is a read-modify-write under a lock, written atomically.
//
// Schema (every member optional):
//   "environment":    {"NAME": "value"}            names without regard to case
//   "specialFolders": {"28": "/path", "36": "/path"}
//   "wmi":            {"ClassName": [{"Prop": "text", ...}, ...]}
//                     CIM_OperatingSystem is answered from Win32_OperatingSystem;
//                     Win32_Process from "processes" and the real children
//   "wmiFailures":    ["ClassName", ...]           queries of these classes fail
//   "registry":       {"HKCU": hive, "HKLM": hive} hives as JsonRegistry describes
//                     them: {"Key\\Path": [{"name": n, "type": "sz"|"dword",
//                     "data": text or number}, ...]}; HKLM is read-only to the program
//   "processes":      [{"pid": n, "ppid": n, "imageName": "X.exe"}]
//                     simulated processes, removed when killed
//   "taskbar":        {"state": n, "value": n, "maximum": n, "flashes": n}
//                     the last progress, and how many times it was flashed
//   "fonts":          ["/path/font.ttf", ...]      fonts added and not removed
//   "fontChanges":    n                            font-change notifications sent
//   "shellLog":       [{"file", "parameters", "workingDir", "hide", "started"}]
//                     every start request, in order
class SimulatedPc {
 public:
  explicit SimulatedPc(std::string statePath);

  const std::string& Path() const { return file_.Path(); }

  // The state now; empty when the file is missing or unreadable.
  QJsonObject State() const;

  // Applies `change` to the state; `change` returns false to write nothing.
  // False when nothing was written (see JsonStateFile::Update).
  bool Update(const std::function<bool(QJsonObject&)>& change) const;

  // Shorthand: applies `change` and always writes.
  bool Change(const std::function<void(QJsonObject&)>& change) const;

 private:
  JsonStateFile file_;
};

}  // namespace platform
