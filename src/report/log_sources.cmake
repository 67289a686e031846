# The system log and the protocol number.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Rel.h
  ${CMAKE_CURRENT_LIST_DIR}/Rel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Ptr.h
  ${CMAKE_CURRENT_LIST_DIR}/Ptr.cpp)
target_sources(solvanta_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/LogProgram.cpp)
