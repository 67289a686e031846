# Device presence detection: the checks over the Plug and Play devices, the
# serial-port snapshots and the device-change relay.
target_sources(solvanta_base PRIVATE
  rewrite/DevicePresence.cpp
  rewrite/SerialPorts.cpp)
target_sources(solvanta_gui PRIVATE
  rewrite/UAPIDevices.cpp
  rewrite/uClassDeviceChanges.cpp)
target_sources(solvanta_gui PRIVATE rewrite/FallDone.cpp ${CMAKE_SOURCE_DIR}/resources/rewrite.qrc)
