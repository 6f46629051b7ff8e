# Every layer collects its sources by folder, so adding a file needs no list edit.
function(norv_collect_sources out_var)
  set(all)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.c")
    list(APPEND all ${found})
  endforeach()
  set(${out_var} ${all} PARENT_SCOPE)
endfunction()
