# The update service client.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Idmserver.h
  ${CMAKE_CURRENT_LIST_DIR}/Idmserver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoapMessages.h
  ${CMAKE_CURRENT_LIST_DIR}/SoapMessages.cpp)
