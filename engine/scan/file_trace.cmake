# File Trace: the signature search over a range of sectors and its hits (included by CMakeLists.txt).
target_sources(engine_scan PRIVATE
  file_trace.cpp
  scan_drive.cpp)

# Its tests run the worker over the carving samples of the shared images and over a disk of samples that
# make_trace_samples.py writes, with what each sample should give.
dorvane_test(engine_scan_trace_test
  SOURCES file_trace_test.cpp scan_test_support.cpp quick_scan_test_support.cpp
          ${CMAKE_SOURCE_DIR}/engine/partitions/partition_test_support.cpp
  LIBS engine_scan engine_save dorvane_host_fakes
  FIXTURES "images;scan.trace_samples")
if(TARGET engine_scan_trace_test)
  add_dependencies(engine_scan_trace_test raw_dat)
  target_compile_definitions(engine_scan_trace_test PRIVATE
    DORVANE_SIGNATURE_TABLE="${signature_table}" DORVANE_RAW_DAT="${raw_dat_file}"
    DORVANE_COMPOUND_SAMPLES="${compound_samples}")
endif()
dorvane_test_images(engine_scan_trace_test ORACLE scan.trace_samples
                    SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/make_trace_samples.py
                    OUT ${CMAKE_SOURCE_DIR}/build/native/test-images/trace
                    DEFINE DORVANE_TRACE_SAMPLES
                    ARGS --ntfs-helper $<TARGET_FILE:ntfs_image_helper>)
