# One set of warning flags for every target the project compiles itself.
function(stagewalk_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(STAGEWALK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
