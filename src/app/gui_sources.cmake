# The main window, the stage, the dialogs and their artwork.
target_sources(solvanta_gui PRIVATE
  app/Look.cpp
  app/PictureButton.cpp
  app/Screen.cpp
  app/fp.cpp
  app/FBNB.cpp
  app/SystemDone.cpp
  app/RichTextBold.cpp
  app/Fmessage.cpp
  app/msgSimNao.cpp
  ${CMAKE_SOURCE_DIR}/resources/art.qrc)
