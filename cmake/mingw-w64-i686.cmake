# Cross-compiling for 32-bit Windows (see cmake/MingwToolchain.cmake): the build whose records the
# 32-bit call interface of the unpack library describes.
set(CDMENU_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
