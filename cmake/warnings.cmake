# Warnings for our own targets only; third-party headers stay quiet.
function(tp_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
