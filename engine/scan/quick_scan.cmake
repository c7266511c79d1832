# Quick Scan and the partition parameters it shares with File Trace (included by CMakeLists.txt).
target_sources(engine_scan PRIVATE
  boot_parameters.cpp
  fat_parameter_search.cpp
  fat_table_search.cpp
  lost_ntfs_data.cpp
  quick_scan.cpp
  quick_scan_fat.cpp
  quick_scan_ntfs.cpp
  range_sectors.cpp
  results_tree_build.cpp
  scan_end.cpp)
target_link_libraries(engine_scan PUBLIC engine_fat engine_ntfs engine_partitions)

# Its tests join the folder's test program (which reads the shared images through scan_test_support).
if(TARGET engine_scan_test)
  target_sources(engine_scan_test PRIVATE boot_parameters_test.cpp quick_scan_test.cpp quick_scan_test_support.cpp)
  target_link_libraries(engine_scan_test PRIVATE dorvane_host_fakes)
endif()
