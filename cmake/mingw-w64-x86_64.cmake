# Cross-compiling for 64-bit Windows (see cmake/MingwToolchain.cmake).
set(CDMENU_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
