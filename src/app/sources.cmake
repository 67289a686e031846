target_sources(solvanta_base PRIVATE app/ServerSettings.cpp)
target_sources(solvanta_gui PRIVATE
  app/UAPI.cpp
  app/UAPIProcess.cpp
  app/UAPIFlow.cpp
  app/ProgramEntry.cpp
  app/DemoPanel.cpp)
