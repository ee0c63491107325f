# Warnings for every target of the project; the build must stay free of them.
function(quilmor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                         -Wnon-virtual-dtor)
endfunction()
