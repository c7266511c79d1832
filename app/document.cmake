# The document, the snapshot file type's shell association (included by CMakeLists.txt). app_document
# (Windows build): CEx_StyleDoc and CGCFileTypeAccess, with the picture and database stand-ins.
if(DORVANE_WINDOWS)
  add_library(app_document STATIC ex_style_doc.cpp file_type_access.cpp)
  target_include_directories(app_document PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(app_document PUBLIC app_logic standins_win preview_viewers_win ui_msgbox_win classlib_win
                        advapi32 ole32 PRIVATE dorvane_flags)
  # The association read back from the registry, and the thumbnail folder emptied.
  dorvane_test(app_document_test SOURCES file_type_access_test.cpp ex_style_doc_test.cpp LIBS app_document standins_test_doubles
               WINE_ONLY HARNESS RESOURCE_LOCK wine-registry)
endif()
