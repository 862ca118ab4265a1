# The portable build's stand-ins for newer glibc functions (GlibcCompat.c) go into every program and
# shared library of the tree; static libraries stay without, so that no link sees them twice.
add_library(glibccompat OBJECT ${CMAKE_CURRENT_LIST_DIR}/GlibcCompat.c)

function(cdmenu_add_glibc_compat dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
      target_sources(${t} PRIVATE $<TARGET_OBJECTS:glibccompat>)
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    cdmenu_add_glibc_compat(${sub})
  endforeach()
endfunction()
cdmenu_add_glibc_compat(${PROJECT_SOURCE_DIR})
