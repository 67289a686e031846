# The single-file downloader, the link check and the image cache screen.
target_sources(solvanta_base PRIVATE
  download/UDownloader.cpp
  download/CheckUrl.cpp)
target_sources(solvanta_gui PRIVATE
  download/UAPIImageCache.cpp
  download/UformCacheImg.cpp
  ${CMAKE_SOURCE_DIR}/resources/selfupdate.qrc)
