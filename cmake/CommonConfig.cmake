# One place for the compiler settings every target of the project shares.
add_library(visemer_common INTERFACE)
target_compile_features(visemer_common INTERFACE cxx_std_20)
target_compile_options(visemer_common INTERFACE
    -Wall -Wextra -Wpedantic
    -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast
    -Wshadow -Wcast-align)
if(VISEMER_WERROR)
    target_compile_options(visemer_common INTERFACE -Werror)
endif()
target_compile_definitions(visemer_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_KEYWORDS
    QT_NO_FOREACH)

if(VISEMER_SANITIZE)
    target_compile_options(visemer_common INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(visemer_common INTERFACE -fsanitize=address,undefined)
endif()

if(VISEMER_FUZZ)
    # Coverage for the fuzzers reaches every library, not only the targets.
    target_compile_options(visemer_common INTERFACE -fsanitize=fuzzer-no-link)
endif()
