# Third-party libraries, all from Debian's packages (scripts/install-deps.sh).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(Boost 1.71 REQUIRED COMPONENTS filesystem)
find_package(glog REQUIRED)
find_package(nlohmann_json 3 REQUIRED)
find_package(CURL REQUIRED)

pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavcodec libavformat libavutil)
pkg_check_modules(LIBCDIO REQUIRED IMPORTED_TARGET libcdio)
pkg_check_modules(LIBISAL REQUIRED IMPORTED_TARGET libisal)

if(VANTOR_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  # libfec's general Reed-Solomon coder checks the CD-ROM sector parity the library writes.
  find_library(FEC_LIBRARY fec REQUIRED)
endif()
