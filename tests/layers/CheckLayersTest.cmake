# tools/check-layers.cmake on a made-up tree holding one include of each
# kind: it must fail, name the includes that run up (also by a relative
# path), the one between peers and the folder it cannot place, and let the
# includes that run down pass.
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_CURRENT_LIST_DIR}/tree -P ${CHECKER}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(status EQUAL 0)
  message(FATAL_ERROR "the check passed a tree that breaks the layers:\n${out}")
endif()
set(expected
  "src/ui/common/Low.h -> ui/shell/Top.h: 'shell' is a higher layer than 'common'\n"
  "src/ui/exercises/Panel.h -> ui/mimic/Gauge.h: 'exercises' and 'mimic' are peers\n"
  "src/ui/extra/Stray.h: folder 'extra' has no place in the layers\n"
  "src/ui/mimic/Gauge.h -> ui/common/Low.h\n"
  "src/ui/shell/Top.cpp -> ui/common/Low.h\n"
  "src/ui/trends/Plot.cpp -> ui/analysis/Menu.h: 'analysis' is a higher layer than 'trends'\n"
  "4 fault(s) in the layers")
foreach(line IN LISTS expected)
  string(FIND "${out}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing from the check's output: ${line}\n${out}")
  endif()
endforeach()
