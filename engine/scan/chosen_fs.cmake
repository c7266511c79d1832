# Reading a file system that an Extensive Scan found (included by CMakeLists.txt). Its NTFS lister fills
# the results list with the rows and file filters of the results listing.
target_sources(engine_scan PRIVATE
  choose_file_system.cpp
  chosen_fat.cpp
  fat_held_clusters.cpp
  chosen_fs.cpp
  chosen_ntfs.cpp
  chosen_ntfs_files.cpp)
target_link_libraries(engine_scan PUBLIC engine_listing)

dorvane_test(engine_scan_choose_test SOURCES choose_file_system_test.cpp LIBS engine_scan)

# Its tests read the shared test images, the disks make_chosen_disks.py writes, and (through the Extensive
# Scan tests' support) those make_extensive_disks.py writes.
dorvane_test(engine_scan_chosen_test
  SOURCES chosen_fs_test.cpp extensive_test_support.cpp
  LIBS engine_scan dorvane_host_fakes
  FIXTURES "images;extensive.disks;chosen.disks")
dorvane_test_images(engine_scan_chosen_test ORACLE chosen.disks
                    SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/make_chosen_disks.py
                    OUT ${CMAKE_SOURCE_DIR}/build/native/test-images/chosen/disks.tsv
                    DEFINE DORVANE_CHOSEN_DISKS)
if(TARGET engine_scan_chosen_test)
  set(extensive_expected ${CMAKE_SOURCE_DIR}/build/native/test-images/extensive/expected.tsv)
  if(DORVANE_WINDOWS)
    set(extensive_expected Z:${extensive_expected})
  endif()
  target_compile_definitions(engine_scan_chosen_test PRIVATE DORVANE_EXTENSIVE_EXPECTED="${extensive_expected}")
endif()
