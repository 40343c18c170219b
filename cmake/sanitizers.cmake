# TP_SANITIZE="address;undefined" or "thread" instruments every target of the tree.
if(TP_SANITIZE)
    list(JOIN TP_SANITIZE "," _tp_san)
    add_compile_options(-fsanitize=${_tp_san} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=${_tp_san})
endif()

# TP_FUZZ: every target gets libFuzzer's coverage hooks and ASan/UBSan, so the
# fuzzers see (and check) the code they reach in the libraries as well as in
# their own sources. Only the fuzz targets link libFuzzer's driver. Meant for a
# build folder of its own: scripts/fuzz.sh makes one.
if(TP_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "TP_FUZZ needs clang (CC=clang CXX=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
