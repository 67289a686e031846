# The multi-part resumable downloader and its state file.
target_sources(solvanta_base PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MultiPartDownload.h
  ${CMAKE_CURRENT_LIST_DIR}/MultiPartDownload.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UMPDownloader.h
  ${CMAKE_CURRENT_LIST_DIR}/UMPDownloader.cpp)
# The firmware download screens.
target_sources(solvanta_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/uDownloadMultipart.h
  ${CMAKE_CURRENT_LIST_DIR}/uDownloadMultipart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uFormDownloadFirmware.h
  ${CMAKE_CURRENT_LIST_DIR}/uFormDownloadFirmware.cpp)
