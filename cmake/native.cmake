# Native build: the portable logic with its tests, benchmarks and fuzz targets.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

file(GLOB TRM_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
if(TRM_NATIVE_TESTS)
  add_executable(trm_native_tests ${TRM_NATIVE_TESTS})
  target_link_libraries(trm_native_tests PRIVATE trmcore GTest::gtest GTest::gtest_main Threads::Threads)
  target_compile_definitions(trm_native_tests PRIVATE TRM_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  add_test(NAME native_tests COMMAND trm_native_tests)
endif()

# Exported files read by an independent parser, Python's icalendar (Debian's python3-icalendar).
if(NOT TRM_FUZZ)
  add_executable(ical_export_tool ${CMAKE_SOURCE_DIR}/tests/ical/export_tool.cpp)
  target_link_libraries(ical_export_tool PRIVATE trmcore)
  add_test(NAME ical_python_check
           COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/ical/check_export.py
                   $<TARGET_FILE:ical_export_tool> ${CMAKE_BINARY_DIR}/ical-check)
endif()

if(NOT TRM_SANITIZE AND NOT TRM_FUZZ)
  file(GLOB TRM_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/native_*.cpp)
  foreach(src ${TRM_BENCHES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE trmcore)
  endforeach()
endif()

if(TRM_FUZZ)
  file(GLOB TRM_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
  foreach(src ${TRM_FUZZERS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -O1 -g)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE trmcore)
  endforeach()
endif()
