# Cross-compiling for Windows with Debian's mingw-w64 (POSIX thread model, so std::thread and
# std::mutex work), included by cmake/mingw-w64-x86_64.cmake and cmake/mingw-w64-i686.cmake after
# they set CDMENU_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR. CDMENU_MINGW_PREFIX names the folder that
# scripts/windows-deps.sh filled.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${CDMENU_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CDMENU_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${CDMENU_MINGW_TRIPLE}-windres)
if(CDMENU_MINGW_TRIPLE MATCHES "^x86_64")
  set(CMAKE_ASM_NASM_OBJECT_FORMAT win64)
else()
  set(CMAKE_ASM_NASM_OBJECT_FORMAT win32)
  # Floating point in SSE2 registers, as on x86_64: the x87 unit keeps 80-bit intermediates, and a
  # layout computed in single precision (the GIF control's margins) came out a pixel off.
  set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
  set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
endif()

set(CDMENU_MINGW_PREFIX "" CACHE PATH "Folder with the cross-built libraries")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CDMENU_MINGW_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${CDMENU_MINGW_TRIPLE})
if(CDMENU_MINGW_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${CDMENU_MINGW_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The C++ runtime, libgcc and winpthread go into each .exe and .dll.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
