# What keeps the build's time down. Parsing the Qt headers again for every source was most of it:
# the tests, each a long source of its own, share one precompiled header of the Qt modules they use,
# and each library is compiled a few sources at a time (unity builds), which cost less than a
# precompiled header per library did.
option(TOUCHTUNER_PCH "Precompile the tests' Qt headers" ON)

# touch_precompile(<target> <Qt module>...): the modules' umbrella headers, for C++ only.
function(touch_precompile target)
    if(NOT TOUCHTUNER_PCH)
        return()
    endif()
    set(headers "")
    foreach(module IN LISTS ARGN)
        list(APPEND headers "$<$<COMPILE_LANGUAGE:CXX>:<${module}/${module}>>")
    endforeach()
    target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# touch_precompile_reuse(<target> <from>): the precompiled header of <from>, which <target>
# compiles with the same flags (the tests).
function(touch_precompile_reuse target from)
    if(TOUCHTUNER_PCH)
        target_precompile_headers(${target} REUSE_FROM ${from})
    endif()
endfunction()

# Unity builds: a library's sources compiled a few at a time as one, so that the Qt headers they
# share are parsed once per batch instead of once per source.
option(TOUCHTUNER_UNITY "Compile each library's sources in batches" ON)
function(touch_unity_build target)
    if(TOUCHTUNER_UNITY)
        set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    endif()
endfunction()
