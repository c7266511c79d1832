# The workers on a thread of their own while the test's thread polls, presses Stop and reads the results as
# the pages do (included by CMakeLists.txt). Built by the ThreadSanitizer build (tsan preset) alone: the other
# engine tests run the same workers under ASan.
if(NOT DORVANE_TSAN)
  return()
endif()
dorvane_test(engine_scan_threads_test
  SOURCES scan_threads_test.cpp ${CMAKE_SOURCE_DIR}/engine/partitions/partition_test_support.cpp
  LIBS engine_scan engine_save engine_partitions dorvane_host_fakes
  FIXTURES images
  THREADS)
dorvane_test_images(engine_scan_threads_test)
add_dependencies(engine_scan_threads_test raw_dat)
target_compile_definitions(engine_scan_threads_test PRIVATE DORVANE_RAW_DAT="${raw_dat_file}")
# The images fixture's generator uses the NTFS helper of the build.
dorvane_add_to(tsan_tests ntfs_image_helper)
