# Quick Scan and the partition parameters it shares with File Trace (included by CMakeLists.txt).
target_sources(engine_scan PRIVATE
  boot_parameters.cpp
  fat_parameter_search.cpp
  lost_ntfs_data.cpp
  quick_scan.cpp
  quick_scan_fat.cpp
  quick_scan_ntfs.cpp
  range_sectors.cpp
  results_tree_build.cpp
  scan_end.cpp)
target_link_libraries(engine_scan PUBLIC engine_fat engine_ntfs engine_partitions)
