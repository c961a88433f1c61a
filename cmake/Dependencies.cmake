# Third-party libraries, all from Debian's packages (scripts/install-deps.sh).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(Boost 1.71 REQUIRED COMPONENTS filesystem)
find_package(glog REQUIRED)

pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavcodec libavformat libavutil)
pkg_check_modules(LIBCDIO REQUIRED IMPORTED_TARGET libcdio)

if(VANTOR_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
