# Platform ports' backends and the factory.
target_sources(solvanta_base PRIVATE
  platform/JsonRegistry.cpp
  platform/JsonStateFile.cpp
  platform/ManualClock.cpp
  platform/Platform.cpp
  platform/RealClock.cpp
  platform/Wql.cpp
  platform/linux/Builtins.cpp
  platform/linux/CommandLine.cpp
  platform/linux/LinuxEnvironment.cpp
  platform/linux/LinuxRegistry.cpp
  platform/linux/LinuxShell.cpp
  platform/linux/LinuxWmi.cpp
  platform/linux/OperatingSystemProvider.cpp
  platform/linux/ProcessProvider.cpp
  platform/linux/ProcFs.cpp
  platform/linux/QtFonts.cpp
  platform/linux/SystemFiles.cpp
  platform/linux/UnityTaskbar.cpp
  platform/sim/SimBackends.cpp
  platform/sim/SimShell.cpp
  platform/sim/SimWmi.cpp
  platform/sim/SimulatedPc.cpp)
