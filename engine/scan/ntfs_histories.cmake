# NTFS volumes with the histories and damage users bring (included by CMakeLists.txt): scanned, listed and
# saved as a user does, against the bytes make_ntfs_histories.py wrote.
dorvane_test(engine_scan_ntfs_histories_test
  SOURCES ntfs_histories_test.cpp extensive_test_support.cpp ${CMAKE_SOURCE_DIR}/engine/save/save_test_support.cpp
  LIBS engine_scan engine_save dorvane_host_fakes
  FIXTURES "images;ntfs.histories")
dorvane_test_images(engine_scan_ntfs_histories_test ORACLE ntfs.histories
                    SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/make_ntfs_histories.py
                    OUT ${CMAKE_SOURCE_DIR}/build/native/test-images/ntfs_histories/cases.tsv
                    DEFINE DORVANE_NTFS_HISTORIES)
if(TARGET engine_scan_ntfs_histories_test)
  # The Extensive Scan tests' support names their own disks, which these tests do not read.
  target_compile_definitions(engine_scan_ntfs_histories_test PRIVATE DORVANE_EXTENSIVE_EXPECTED="")
endif()
