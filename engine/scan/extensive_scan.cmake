# Extensive Scan: the sector search and the analysis of what it found (included by CMakeLists.txt).
target_sources(engine_scan PRIVATE
  extensive_analysis_fat.cpp
  extensive_analysis_ntfs.cpp
  extensive_mft_numbers.cpp
  extensive_report.cpp
  extensive_scan.cpp
  extensive_search.cpp)
