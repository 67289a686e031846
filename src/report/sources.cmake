# Machine facts.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MachineInfo.h
  ${CMAKE_CURRENT_LIST_DIR}/MachineInfo.cpp)
target_sources(solvanta_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/UAPIMachineInfo.cpp)
