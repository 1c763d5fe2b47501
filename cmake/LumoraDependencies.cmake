# Libraries from Debian, found once for the whole tree.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(GTest REQUIRED)
include(GoogleTest)

pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(PANGO REQUIRED IMPORTED_TARGET pangocairo pangoft2 fontconfig)
pkg_check_modules(GDKPIXBUF REQUIRED IMPORTED_TARGET gdk-pixbuf-2.0)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11 xext xrandr xtst xrender)
pkg_check_modules(SQLITE REQUIRED IMPORTED_TARGET sqlite3)
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip zlib)
find_package(OpenSSL REQUIRED COMPONENTS Crypto)

if(LUMORA_BENCH)
  find_package(benchmark REQUIRED)
endif()
