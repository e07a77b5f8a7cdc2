# Turns the IGRF coefficient table into a C++ source, so the program carries the
# model and reads no file at run time. Run as: cmake -DIN=table -DOUT=source -P this
file(STRINGS "${IN}" header REGEX "^g/h ")
file(STRINGS "${IN}" rows REGEX "^[gh] ")
string(REGEX REPLACE "[ \t\r]+" ";" header "${header}")
list(SUBLIST header 3 -1 epochs)
list(POP_BACK epochs)  # the last column is the secular variation
list(LENGTH epochs epochCount)
list(JOIN epochs ", " epochText)

set(body "")
set(rowCount 0)
foreach(row IN LISTS rows)
  string(STRIP "${row}" row)
  string(REGEX REPLACE "[ \t\r]+" ";" fields "${row}")
  list(LENGTH fields count)
  math(EXPR expected "${epochCount} + 4")
  if(NOT count EQUAL expected)
    message(FATAL_ERROR "${IN}: a row has ${count} fields, not ${expected}: ${row}")
  endif()
  list(GET fields 0 kind)
  list(GET fields 1 n)
  list(GET fields 2 m)
  list(SUBLIST fields 3 ${epochCount} values)
  list(GET fields -1 sv)
  list(JOIN values ", " valueText)
  string(APPEND body "    {'${kind}', ${n}, ${m}, {${valueText}}, ${sv}},\n")
  math(EXPR rowCount "${rowCount} + 1")
endforeach()

file(WRITE "${OUT}.tmp"
"// Generated from igrf14coeffs.txt by GenerateGaussTable.cmake; do not edit.
#include \"corrections/GaussTable.h\"

namespace velkor::gauss {

static_assert(kEpochCount == ${epochCount}, \"the table's epochs\");
static_assert(kRowCount == ${rowCount}, \"the table's rows\");

const std::array<double, kEpochCount> kEpochs{${epochText}};

const std::array<Row, kRowCount> kRows{{
${body}}};

}  // namespace velkor::gauss
")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${OUT}.tmp" "${OUT}")
file(REMOVE "${OUT}.tmp")
