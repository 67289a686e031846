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
# The selection and identification screens, their rules and artwork.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ClientRules.h
  ${CMAKE_CURRENT_LIST_DIR}/ClientRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Selection.h
  ${CMAKE_CURRENT_LIST_DIR}/Selection.cpp)
target_sources(solvanta_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/UAPIClientData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SelectionArt.h
  ${CMAKE_CURRENT_LIST_DIR}/SelectionArt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FWCmsg.h
  ${CMAKE_CURRENT_LIST_DIR}/FWCmsg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FsTsystem.h
  ${CMAKE_CURRENT_LIST_DIR}/FsTsystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FSModel.h
  ${CMAKE_CURRENT_LIST_DIR}/FSModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TvsGetRadical.h
  ${CMAKE_CURRENT_LIST_DIR}/TvsGetRadical.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FCliEntry.h
  ${CMAKE_CURRENT_LIST_DIR}/FCliEntry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/acceptcontract.h
  ${CMAKE_CURRENT_LIST_DIR}/acceptcontract.cpp
  ${CMAKE_SOURCE_DIR}/resources/selection.qrc)
