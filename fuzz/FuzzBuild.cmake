# The fuzz build (BLACKBOX_FUZZ=ON, clang only): every library is instrumented for libFuzzer and
# checked by AddressSanitizer and UndefinedBehaviorSanitizer, float-to-integer overflows included.
# Only the platform-free libraries that hold the parsers are built, with the sample-card
# generator that writes the seed corpora. `./dev.sh fuzz` configures it in build-fuzz/.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "BLACKBOX_FUZZ needs clang and libFuzzer: configure with -DCMAKE_CXX_COMPILER=clang++-14")
endif()

set(BLACKBOX_FUZZ_SANITIZERS address,undefined,float-cast-overflow)
# clang 14 leaves sized deallocation off unless asked, and the point store uses it.
add_compile_options(-fsanitize=${BLACKBOX_FUZZ_SANITIZERS},fuzzer-no-link -fno-sanitize-recover=all
                    -fno-omit-frame-pointer -fsized-deallocation)
add_link_options(-fsanitize=${BLACKBOX_FUZZ_SANITIZERS})

find_package(PkgConfig REQUIRED)
pkg_check_modules(LZO2 REQUIRED IMPORTED_TARGET lzo2)

# Declared as in the full build, so the fuzz build holds to the same layers.
include(cmake/BlackboxTargets.cmake)

add_subdirectory(common)
add_subdirectory(manager/language)
add_subdirectory(manager/recording)
add_subdirectory(manager/library)
add_subdirectory(manager/setup)
add_subdirectory(manager/timeline)
add_subdirectory(tracker/log)
add_subdirectory(tracker/app/profile)
add_subdirectory(tools/samplecard)
add_subdirectory(fuzz)
