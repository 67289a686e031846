# The archive readers' common ground and the RAR reader.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveSafety.h
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveSafety.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Rar4Headers.h
  ${CMAKE_CURRENT_LIST_DIR}/Rar4Headers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RarLibrary.h
  ${CMAKE_CURRENT_LIST_DIR}/RarLibrary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RAR.h
  ${CMAKE_CURRENT_LIST_DIR}/RAR.cpp)
