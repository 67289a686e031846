# Driver installation.
target_sources(solvanta_base PRIVATE drivers/WindowsVersion.cpp)
target_sources(solvanta_gui PRIVATE
  drivers/UAPIDrivers.cpp
  drivers/SmoothProgressBar.cpp
  drivers/DrvInstall.cpp
  ${CMAKE_SOURCE_DIR}/resources/drivers.qrc)
