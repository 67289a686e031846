# The catalogue update of the TV models.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TvsCatalogue.h
  ${CMAKE_CURRENT_LIST_DIR}/TvsCatalogue.cpp)
target_sources(solvanta_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/UAPITvs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Tvs_update.h
  ${CMAKE_CURRENT_LIST_DIR}/Tvs_update.cpp)
