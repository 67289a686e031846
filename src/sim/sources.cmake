# sources of sim
# Debian ships cpp-httplib as a declarations-only header plus a compiled
# library built with OpenSSL, zlib and Brotli support. The class layouts depend
# on those CPPHTTPLIB_*_SUPPORT macros, so every user must take the package's
# own compile flags: pkg-config gives them.
pkg_check_modules(CPPHTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)

target_sources(solvanta_sim PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/server/MakerServer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/server/SoapEnvelope.cpp
  ${CMAKE_CURRENT_LIST_DIR}/server/Certificates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/server/AnswersFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DemoWorld.cpp)
target_link_libraries(solvanta_sim PRIVATE PkgConfig::CPPHTTPLIB OpenSSL::SSL OpenSSL::Crypto)
target_sources(solvanta_sim PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ArchiveWriters.cpp ${CMAKE_CURRENT_LIST_DIR}/DemoArchives.cpp)
target_sources(solvanta_sim PRIVATE ${CMAKE_CURRENT_LIST_DIR}/DemoPictures.cpp)
