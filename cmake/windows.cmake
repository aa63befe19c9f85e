# SPDX-License-Identifier: MIT
# The Windows tree (cmake/mingw-w64.cmake): the converter's libraries, qvj2avi.exe, the
# settings store on the registry, the desktop's services on the shell, start-up and
# installation, the dialog kit over the system's own dialogs and the windows (reelcraft.exe).
# Qt and GStreamer have no mingw build here, so the plugin, the thumbnailer and the benchmarks
# are left out. The tests run under wine64 (scripts/wine-run.sh, the toolchain's emulator).

enable_language(RC) # the program's icon resource

# nlohmann_json is header-only: the host's copy serves, from a folder of its own so that the
# host's other headers stay out of a Windows compile.
find_path(REELCRAFT_NLOHMANN_JSON_DIR nlohmann/json.hpp NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(json_copy ${PROJECT_BINARY_DIR}/third_party/include)
file(COPY ${REELCRAFT_NLOHMANN_JSON_DIR}/nlohmann DESTINATION ${json_copy})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                      INTERFACE_INCLUDE_DIRECTORIES ${json_copy})

# libturbojpeg for mingw, where one is installed under the toolchain's root or
# REELCRAFT_WINDOWS_DEPS. pkg-config looks only at the Windows libraries, never at the host's.
set(pkg_config_dirs ${CMAKE_FIND_ROOT_PATH})
list(TRANSFORM pkg_config_dirs APPEND /lib/pkgconfig)
string(REPLACE ";" ":" pkg_config_dirs "${pkg_config_dirs}")
set(ENV{PKG_CONFIG_LIBDIR} "${pkg_config_dirs}")
set(ENV{PKG_CONFIG_PATH} "")
find_package(PkgConfig)
if(PkgConfig_FOUND)
  pkg_check_modules(TURBOJPEG IMPORTED_TARGET libturbojpeg)
endif()
if(NOT TURBOJPEG_FOUND)
  message(WARNING "libturbojpeg for mingw not found: the engine will not compile")
  add_library(PkgConfig::TURBOJPEG INTERFACE IMPORTED)
endif()

add_subdirectory(sys)
add_subdirectory(store)
add_subdirectory(desktop)
add_subdirectory(app)
add_subdirectory(avi)
add_subdirectory(engine)
add_subdirectory(cli)
add_subdirectory(ui)
add_subdirectory(gui)

# The zip a Windows user unpacks: the programs, stripped, the licence and a short read-me.
set(zip_name reelcraft-${PROJECT_VERSION}-win64)
set(zip_folder ${PROJECT_BINARY_DIR}/${zip_name})
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/${zip_name}.zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${zip_folder}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${zip_folder}
  COMMAND ${CMAKE_STRIP} -o ${zip_folder}/qvj2avi.exe $<TARGET_FILE:qvj2avi>
  COMMAND ${CMAKE_STRIP} -o ${zip_folder}/reelcraft.exe $<TARGET_FILE:reelcraft>
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${zip_folder}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/cmake/windows-readme.txt
          ${zip_folder}/README.txt
  COMMAND ${CMAKE_COMMAND} -E tar cf ${zip_name}.zip --format=zip ${zip_name}
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  DEPENDS qvj2avi reelcraft ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/cmake/windows-readme.txt
  VERBATIM)
add_custom_target(windows-zip ALL DEPENDS ${PROJECT_BINARY_DIR}/${zip_name}.zip)

if(BUILD_TESTING)
  # Debian packages GoogleTest for the host only; its source (package googletest) is built here
  # with the Windows compiler, without GoogleMock, which the converter's tests do not use.
  set(REELCRAFT_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source tree")
  set(BUILD_GMOCK OFF)
  set(INSTALL_GTEST OFF)
  add_subdirectory(${REELCRAFT_GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest
                   EXCLUDE_FROM_ALL SYSTEM)
  add_subdirectory(tests)
endif()
