# The data module and the statement texts.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DataModule.h
  ${CMAKE_CURRENT_LIST_DIR}/DataModule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Statements.h
  ${CMAKE_CURRENT_LIST_DIR}/Statements.cpp)
target_sources(solvanta_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/UAPICatalogue.cpp)
# Laying down the database files from data/ (the demo world and the tests).
target_sources(solvanta_sim PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DatabaseFiles.h
  ${CMAKE_CURRENT_LIST_DIR}/DatabaseFiles.cpp
  ${CMAKE_SOURCE_DIR}/data/data.qrc)
