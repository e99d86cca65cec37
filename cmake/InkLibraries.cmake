# The libraries under the ink model and the PNG writer, the same sources in every build.
#
# AGG rather than pixman: AGG's scanline rasterizer accumulates the exact area of the polygon in
# each pixel cell (coverage is the covered area, not a count of sample points), it is a C++
# header library that compiles into any of our builds without a build system of its own, and it
# depends on nothing. pixman samples coverage on a sub-pixel grid, is a C library with its own
# build, and needs per-architecture assembly to be fast.
# Clipper joins a stroke step's nib positions into one outline (polygon union), so that AGG sees
# each pixel's area once, however many positions of the nib cover it.
set(INKRA_THIRD_PARTY ${CMAKE_SOURCE_DIR}/build/third_party)

find_path(INKRA_AGG_INCLUDE agg_rasterizer_scanline_aa.h PATHS /usr/include/agg2
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(inkra_agg INTERFACE)
target_include_directories(inkra_agg SYSTEM INTERFACE ${INKRA_AGG_INCLUDE})

file(GLOB INKRA_CLIPPER_DIR LIST_DIRECTORIES true ${INKRA_THIRD_PARTY}/src/libpolyclipping-*/cpp)
if(NOT INKRA_CLIPPER_DIR)
  message(FATAL_ERROR "Clipper's source is missing: run scripts/setup")
endif()
add_library(inkra_clipper STATIC ${INKRA_CLIPPER_DIR}/clipper.cpp)
target_include_directories(inkra_clipper SYSTEM PUBLIC ${INKRA_CLIPPER_DIR})
target_compile_options(inkra_clipper PRIVATE -w)
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  # As the ink model (src/ink): SSE2 doubles, so the union rounds its crossings onto the grid as
  # every other build does, and faster than the x87 default.
  target_compile_options(inkra_clipper PRIVATE -msse2 -mfpmath=sse)
endif()

if(WIN32)
  set(INKRA_PNG_ROOT ${INKRA_THIRD_PARTY}/png-${INKRA_ARCH})
  add_library(zlib_static STATIC IMPORTED)
  set_target_properties(zlib_static PROPERTIES IMPORTED_LOCATION ${INKRA_PNG_ROOT}/lib/libz.a)
  add_library(png_static STATIC IMPORTED)
  set_target_properties(png_static PROPERTIES
    IMPORTED_LOCATION ${INKRA_PNG_ROOT}/lib/libpng16.a
    INTERFACE_INCLUDE_DIRECTORIES ${INKRA_PNG_ROOT}/include
    INTERFACE_LINK_LIBRARIES zlib_static)
else()
  find_package(PNG REQUIRED)
  add_library(png_static ALIAS PNG::PNG)
endif()
