# The hardening a Debian package is expected to carry (lintian checks it): position-independent
# executables, read-only relocations bound at start-up (-z relro, -z now), checked string and
# memory functions (_FORTIFY_SOURCE, which needs the optimisation of a release build) and stack
# protection. The scripts build every tree with it (scripts/deps.sh), so the package comes from the
# tree the suite ran on; the sanitizer and fuzzing builds leave it off.
option(TOUCHTUNER_HARDENING "Build with the hardening flags of the Debian package" OFF)
if(TOUCHTUNER_HARDENING)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    include(CheckPIESupported)
    check_pie_supported()
    # Undefined first: some compilers define it already, and a second definition is a warning.
    add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong)
    add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
