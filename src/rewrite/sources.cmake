# Device presence detection: the checks over the Plug and Play devices, the
# serial-port snapshots and the device-change relay; the platform backends'
# device facts and events.
target_sources(solvanta_base PRIVATE
  rewrite/DevicePresence.cpp
  rewrite/SerialPorts.cpp
  platform/linux/UdevFacts.cpp
  platform/linux/UdevDevices.cpp
  platform/linux/DriverTools.cpp
  platform/sim/SimDevices.cpp)
target_sources(solvanta_gui PRIVATE
  rewrite/UAPIDevices.cpp
  rewrite/uClassDeviceChanges.cpp)
