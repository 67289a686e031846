# The update service client, and the Linux WMI network adapter facts the log reads.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Idmserver.h
  ${CMAKE_CURRENT_LIST_DIR}/Idmserver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoapMessages.h
  ${CMAKE_CURRENT_LIST_DIR}/SoapMessages.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/linux/NetworkAdapterProvider.h
  ${CMAKE_SOURCE_DIR}/src/platform/linux/NetworkAdapterProvider.cpp)
