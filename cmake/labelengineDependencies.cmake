# What the libraries link against outside this project. Read by the build and,
# installed beside the package configuration, by find_package(labelengine), so
# that both name the same targets.
include_guard(DIRECTORY)

find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)

# Vellum's drawing, text, picture and PNG libraries (pkg-config module names;
# the pkg-config file's Requires line is made from this list too).
set(LABELENGINE_VELLUM_MODULES cairo cairo-pdf pango pangocairo pangoft2 fontconfig gdk-pixbuf-2.0 libpng zlib
    libdeflate)
pkg_check_modules(LABELENGINE_VELLUM_DEPS REQUIRED IMPORTED_TARGET ${LABELENGINE_VELLUM_MODULES})

# zlib for the ZPL parser's compressed graphics and the PNG files it stores.
pkg_check_modules(LABELENGINE_ZLIB REQUIRED IMPORTED_TARGET zlib)

# zint, the barcode encoder, ships no pkg-config file.
find_library(LABELENGINE_ZINT_LIBRARY zint REQUIRED)
find_path(LABELENGINE_ZINT_INCLUDE_DIR zint.h REQUIRED)
if(NOT TARGET labelengine_deps::zint)
  add_library(labelengine_deps::zint UNKNOWN IMPORTED)
  set_target_properties(labelengine_deps::zint PROPERTIES
    IMPORTED_LOCATION "${LABELENGINE_ZINT_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${LABELENGINE_ZINT_INCLUDE_DIR}")
endif()

# The host library's network printer: cpp-httplib for HTTP and standalone Asio
# (header-only, no pkg-config file) for the raw port.
pkg_check_modules(LABELENGINE_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
find_path(LABELENGINE_ASIO_INCLUDE_DIR asio.hpp REQUIRED)
if(NOT TARGET labelengine_deps::asio)
  add_library(labelengine_deps::asio INTERFACE IMPORTED)
  set_target_properties(labelengine_deps::asio PROPERTIES
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${LABELENGINE_ASIO_INCLUDE_DIR}"
    INTERFACE_INCLUDE_DIRECTORIES "${LABELENGINE_ASIO_INCLUDE_DIR}"
    INTERFACE_COMPILE_DEFINITIONS "ASIO_STANDALONE;ASIO_NO_DEPRECATED")
endif()
