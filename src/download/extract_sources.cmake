# The ZIP reader and the extraction screens.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZipReader.h
  ${CMAKE_CURRENT_LIST_DIR}/ZipReader.cpp)
target_sources(solvanta_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/uFormDescompactaFirmwares.h
  ${CMAKE_CURRENT_LIST_DIR}/uFormDescompactaFirmwares.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uFormdownloadextractgeral.h
  ${CMAKE_CURRENT_LIST_DIR}/uFormdownloadextractgeral.cpp)
