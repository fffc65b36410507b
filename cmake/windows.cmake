enable_language(RC)
# Windows build: the framework layer, the program's classes, trm.exe and the Win32 tests.
set(TRM_WIN_DIRS fw app store grid list view options)
set(TRM_WIN_SOURCES)
foreach(dir ${TRM_WIN_DIRS})
  file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  list(APPEND TRM_WIN_SOURCES ${dir_sources})
endforeach()
# main.cpp is the program's own; the test program brings its own main.
list(REMOVE_ITEM TRM_WIN_SOURCES ${CMAKE_SOURCE_DIR}/app/main.cpp)

# Dialog, shell and component libraries are looked up on first use (fw/system_dll.h), so that
# start-up does not load them.
set(TRM_WIN_LIBS comctl32 gdi32 user32 uuid advapi32)

add_library(trmwin STATIC ${TRM_WIN_SOURCES})
target_link_libraries(trmwin PUBLIC trmcore ${TRM_WIN_LIBS})
target_compile_definitions(trmwin PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
trm_warnings(trmwin)

# Resources go into the program and into the test program, which loads them from itself.
set(TRM_RC ${CMAKE_SOURCE_DIR}/res/trm.rc)

if(MINGW)
  set(TRM_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
endif()

add_executable(trm WIN32 app/main.cpp ${TRM_RC})
target_link_libraries(trm PRIVATE trmwin)
target_link_options(trm PRIVATE ${TRM_STATIC_RUNTIME})
if(MINGW)
  # The release program carries no symbols: a smaller file that loads faster.
  target_link_options(trm PRIVATE $<$<CONFIG:Release>:-s>)
endif()
if(MSVC)
  set_property(TARGET trm PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded")
endif()

# Help file beside the executable, built with it when a CHM compiler is on the path: chmcmd (Free
# Pascal) or hhc (Microsoft's HTML Help Workshop).
find_program(TRM_CHM_COMPILER NAMES chmcmd hhc)
if(TRM_CHM_COMPILER AND EXISTS ${CMAKE_SOURCE_DIR}/help/trm.hhp)
  file(GLOB TRM_HELP_PAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/trm.chm
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help ${CMAKE_BINARY_DIR}/help
    COMMAND ${CMAKE_COMMAND} -DCOMPILER=${TRM_CHM_COMPILER} -DDIR=${CMAKE_BINARY_DIR}/help
            -DOUT=${CMAKE_BINARY_DIR}/trm.chm -P ${CMAKE_SOURCE_DIR}/cmake/chm.cmake
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DEPENDS ${TRM_HELP_PAGES} ${CMAKE_SOURCE_DIR}/cmake/chm.cmake
    COMMENT "Compiling trm.chm")
  add_custom_target(trm_help ALL DEPENDS ${CMAKE_BINARY_DIR}/trm.chm)
  # "Help" looks for trm.chm beside trm.exe: whoever builds trm gets it.
  add_dependencies(trm trm_help)
  if(CMAKE_CONFIGURATION_TYPES)
    add_custom_command(TARGET trm POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_BINARY_DIR}/trm.chm $<TARGET_FILE_DIR:trm>)
  endif()
endif()

# The alert sound beside the executable: "ring.mp3" is the default media file. Made by sox and
# encoded by lame when both are there.
find_program(SOX sox)
find_program(LAME lame)
if(SOX AND LAME)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/ring.mp3
    COMMAND ${CMAKE_COMMAND} -DSOX=${SOX} -DLAME=${LAME} -DWORK=${CMAKE_BINARY_DIR}/ring
            -DOUT=${CMAKE_BINARY_DIR}/ring.mp3 -P ${CMAKE_SOURCE_DIR}/res/ring.cmake
    DEPENDS ${CMAKE_SOURCE_DIR}/res/ring.cmake
    COMMENT "Making ring.mp3")
  add_custom_target(trm_sound ALL DEPENDS ${CMAKE_BINARY_DIR}/ring.mp3)
  add_dependencies(trm trm_sound)
endif()

# GoogleTest from the sources that Debian's googletest package ships.
set(TRM_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
if(EXISTS ${TRM_GTEST_SRC}/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${TRM_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  file(GLOB TRM_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
  if(TRM_WIN_TESTS)
    add_executable(trm_win_tests ${TRM_WIN_TESTS} ${TRM_RC})
    target_link_libraries(trm_win_tests PRIVATE trmwin gtest ole32 shell32 comdlg32)
    target_link_options(trm_win_tests PRIVATE ${TRM_STATIC_RUNTIME})
    target_compile_definitions(trm_win_tests PRIVATE TRM_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
    # Each run starts in an empty folder: the program reads and writes trm.dat and trm.log there.
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/testrun)
    add_test(NAME win_tests COMMAND trm_win_tests WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/testrun)
    # One test plays the shipped sound through the system.
    if(TARGET trm_sound)
      add_dependencies(trm_win_tests trm_sound)
    endif()
  endif()

  # Small helper programs the tests and benchmarks start (a fake media player, a bare window, a
  # window with the main window's controls).
  file(GLOB TRM_TEST_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/tools/*.cpp)
  foreach(src ${TRM_TEST_TOOLS})
    get_filename_component(name ${src} NAME_WE)
    get_filename_component(dir ${src} DIRECTORY)
    # A tool with resources of its own (a manifest) has an .rc file of the same name.
    set(rc)
    if(EXISTS ${dir}/${name}.rc)
      set(rc ${dir}/${name}.rc)
    endif()
    add_executable(${name} ${src} ${rc})
    target_link_options(${name} PRIVATE ${TRM_STATIC_RUNTIME})
    target_link_libraries(${name} PRIVATE user32 gdi32 comctl32)
    # Window programs are started like trm.exe: as GUI programs, without a console.
    if(name MATCHES "_window$")
      set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE ON)
    endif()
  endforeach()

  # End-to-end suite: starts the built trm.exe and drives it from outside with real input.
  # scripts/e2e.sh gives it a fresh Wine prefix (and Xvfb) of its own.
  file(GLOB TRM_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
  if(TRM_E2E_SOURCES)
    add_executable(trm_e2e ${TRM_E2E_SOURCES})
    target_link_libraries(trm_e2e PRIVATE gtest user32 gdi32 comctl32 advapi32)
    target_compile_definitions(trm_e2e PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    trm_warnings(trm_e2e)
    if(MSVC)
      target_compile_definitions(trm_e2e PRIVATE _CRT_SECURE_NO_WARNINGS)
    endif()
    target_link_options(trm_e2e PRIVATE ${TRM_STATIC_RUNTIME})
    add_dependencies(trm_e2e trm)
    add_test(NAME e2e COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/e2e.sh ${CMAKE_BINARY_DIR})
  endif()
endif()

file(GLOB TRM_WIN_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/win_*.cpp)
foreach(src ${TRM_WIN_BENCHES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src} ${TRM_RC})
  target_link_libraries(${name} PRIVATE trmwin)
  target_link_options(${name} PRIVATE ${TRM_STATIC_RUNTIME})
endforeach()
