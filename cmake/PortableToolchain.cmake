# The portable build (./scripts/build.sh portable): this machine's gcc-12 compiles and links against
# the Debian 11 sysroot from scripts/sysroot.sh, so that the packaged programs need glibc 2.31 only.
# The C++ runtime comes from gcc-12 itself and is linked statically (Debian 11's is too old for it).
if(NOT CDMENU_SYSROOT)
  set(CDMENU_SYSROOT "$ENV{CDMENU_SYSROOT}")
endif()
if(NOT EXISTS "${CDMENU_SYSROOT}/usr/include/stdio.h")
  message(FATAL_ERROR "CDMENU_SYSROOT='${CDMENU_SYSROOT}' is no sysroot; make one with scripts/sysroot.sh")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CDMENU_SYSROOT)

set(CMAKE_C_COMPILER gcc-12)
set(CMAKE_CXX_COMPILER g++-12)
set(CMAKE_SYSROOT "${CDMENU_SYSROOT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "${CDMENU_SYSROOT}/usr/local/lib/pkgconfig:${CDMENU_SYSROOT}/usr/lib/x86_64-linux-gnu/pkgconfig:${CDMENU_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "${CDMENU_SYSROOT}")

# gcc searches its own library folder's neighbours (the host's /usr/lib/x86_64-linux-gnu) before the
# sysroot; naming the sysroot's folders first keeps the host's newer libc and start files out.
set(sysroot_libs "-B${CDMENU_SYSROOT}/usr/lib/x86_64-linux-gnu -L${CDMENU_SYSROOT}/usr/lib/x86_64-linux-gnu -L${CDMENU_SYSROOT}/lib/x86_64-linux-gnu")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${sysroot_libs} -static-libstdc++ -static-libgcc")
# A shared library keeps its copy of the C++ runtime to itself.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${sysroot_libs} -static-libstdc++ -static-libgcc -Wl,--exclude-libs,ALL")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${CMAKE_SHARED_LINKER_FLAGS_INIT}")
# gcc-12's static C++ runtime was built against a newer glibc: cmake/GlibcCompat.c fills the gap.
set(CDMENU_GLIBC_COMPAT ON)
