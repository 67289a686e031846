# test helpers
target_sources(solvanta_testsupport PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/HttpClient.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LocalServer.cpp)
target_link_libraries(solvanta_testsupport PUBLIC solvanta_sim)
