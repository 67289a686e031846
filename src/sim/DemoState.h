#pragma once

#include <QString>
#include <expected>

namespace sim {

class DemoWorld;

// Makes the demo world a PC the program can run on: the simulated PC's state
// file (written once, so a restart of the program finds the registry and the
// facts it left) and, in the installation folder, the program file that a
// restart starts, which runs `program` on the same world. Returns the state
// file's path.
std::expected<QString, QString> WriteDemoState(const DemoWorld& world, const QString& program);

}  // namespace sim
