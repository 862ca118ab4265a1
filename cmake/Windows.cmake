# The Windows build (included from the top CMakeLists.txt when cross-compiling with mingw-w64).
# Only the layers that need no window yet: base, gfx, platform (the services that have a Win32
# implementation), zip and the unpack library, with their tests as .exe files.
# Static archives only (not the import libraries beside them, such as libz.dll.a): every program
# must need nothing but Windows' own DLLs. Set here, as the platform files reset it after the toolchain.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(ZLIB_USE_STATIC_LIBS ON)
find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(Freetype REQUIRED)
find_package(libzip CONFIG REQUIRED)
find_library(LIBDEFLATE_LIBRARY deflate REQUIRED)
find_path(LIBDEFLATE_INCLUDE_DIR libdeflate.h REQUIRED)

# The static FreeType and libzip were built with zlib.
set_property(TARGET Freetype::Freetype APPEND PROPERTY INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
# The names the Linux build gets from pkg-config, so that the folders' own CMake files stay as they are.
add_library(PkgConfig::LIBZIP INTERFACE IMPORTED)
target_link_libraries(PkgConfig::LIBZIP INTERFACE libzip::zip ZLIB::ZLIB)
add_library(PkgConfig::LIBDEFLATE INTERFACE IMPORTED)
target_link_libraries(PkgConfig::LIBDEFLATE INTERFACE ${LIBDEFLATE_LIBRARY})
target_include_directories(PkgConfig::LIBDEFLATE INTERFACE ${LIBDEFLATE_INCLUDE_DIR})

# Unicode Win32 API throughout; no min/max macros from <windows.h>.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

include(cmake/Folders.cmake)

cdmenu_library(base FOLDERS base)
cdmenu_library(gfx FOLDERS gfx DEPS base JPEG::JPEG PNG::PNG Freetype::Freetype)
# The shell's recording fake plans with the real shell, which has no Windows version yet; so do
# the recording services that install it.
cdmenu_library(platform FOLDERS platform platform/win32
               EXCLUDE platform/RecordingShell.cpp platform/RecordingServices.cpp
               DEPS base Threads::Threads shell32)
cdmenu_library(zip FOLDERS zip DEPS base platform)
target_sources(zip PRIVATE zip/unpack32/SafePath.cpp)
cdmenu_library(writers FOLDERS tools/common DEPS base ZLIB::ZLIB)

add_subdirectory(zip/unpack32)

# Tests of the POSIX implementations (their Win32 counterparts are tested in tests/platform/win32/),
# and tests that run Unix tools or the programs that are not built for Windows yet.
set(CDMENU_TESTS_EXCLUDE
    platform/AppPathsTest.cpp platform/DynLibTest.cpp platform/FileOpsTest.cpp platform/NativePathTest.cpp
    platform/ServicesTest.cpp platform/ShellTest.cpp platform/SingleInstanceTest.cpp platform/SoundTest.cpp
    platform/VolumeTest.cpp zip/OutsideArchivesTest.cpp zip/ZipfrontToolTest.cpp)

if(CDMENU_TESTS)
  enable_testing()
  add_subdirectory(tests)
endif()
