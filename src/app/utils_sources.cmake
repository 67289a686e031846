# The process, file and WMI utilities.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FileUtils.h
  ${CMAKE_CURRENT_LIST_DIR}/FileUtils.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Process.h
  ${CMAKE_CURRENT_LIST_DIR}/Process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WMI.h
  ${CMAKE_CURRENT_LIST_DIR}/WMI.cpp)
