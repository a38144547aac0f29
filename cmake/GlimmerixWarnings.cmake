# Warning flags for every target of ours; errors when GLIMMERIX_WERROR is on (CI builds).
function(glimmerix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                         $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>
                         -Wno-missing-field-initializers)
  if(GLIMMERIX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
