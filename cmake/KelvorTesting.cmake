# kelvor_skipped_test(<name> <reason>): a suite that cannot run here (a
# missing optional package, a platform without threads) shows in CTest's
# summary as skipped, with its reason, instead of passing silently.
function(kelvor_skipped_test name reason)
  add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo "skipped: ${reason}")
  set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "skipped: ")
endfunction()
