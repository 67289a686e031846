# The program's self-update: its rules, the check and its screen.
target_sources(solvanta_base PRIVATE service/SystemUpdateRules.cpp)
target_sources(solvanta_gui PRIVATE
  service/UAPIUpdate.cpp
  service/UpdateSystem.cpp)
