# Runs localedef for one locale. localedef exits non-zero on mere warnings
# (characters missing from a legacy charmap), so success is judged by the
# compiled LC_CTYPE it leaves behind.
execute_process(
  COMMAND "${LOCALEDEF}" --no-archive -c -i "${SOURCE}" -f "${CHARMAP}" "${OUTPUT}"
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT EXISTS "${OUTPUT}/LC_CTYPE")
  message(FATAL_ERROR "localedef ${SOURCE} ${CHARMAP} failed (${result}):\n${output}")
endif()
