# Machine facts and the Linux providers behind them.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MachineInfo.h
  ${CMAKE_CURRENT_LIST_DIR}/MachineInfo.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/linux/MachineFactsProviders.h
  ${CMAKE_SOURCE_DIR}/src/platform/linux/MachineFactsProviders.cpp)
target_sources(solvanta_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/UAPIMachineInfo.cpp)
