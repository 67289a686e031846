#pragma once

#include <QString>
#include <expected>

namespace sim {

class DemoWorld;
class MakerServer;

// Makes the demo world a PC the program can run on: the simulated PC's state
// file (written once, so a restart of the program finds the registry and the
// facts it left) and, in the installation folder, the program file that a
// restart starts, which runs `program` on the same world, and the stand-in
// for the update installer. Returns the state file's path.
std::expected<QString, QString> WriteDemoState(const DemoWorld& world, const QString& program);

// One line per system-log row the world's server received, for the demo's
// console.
QString ReceivedLogReport(const MakerServer& server);

// Makes the world's server offer one newer program file, so the run starts
// with a self-update.
std::expected<void, QString> OfferDemoUpdate(DemoWorld& world);

}  // namespace sim
