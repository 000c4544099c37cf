# Warning and floating-point flags shared by every Kelvor target: the library,
# its tests, the tour, the benchmarks and the table generator. Fused
# multiply-adds would change double results between targets, so contraction
# is off; fast-math is never allowed.
if(NOT TARGET kelvor_flags)
  add_library(kelvor_flags INTERFACE)
  set(_kelvor_gnu_flags -Wall -Wextra -Wpedantic -Wshadow -ffp-contract=off -fno-fast-math)
  set(_kelvor_msvc_flags /W4 /fp:precise)
  target_compile_options(kelvor_flags INTERFACE
    "$<$<CXX_COMPILER_ID:GNU,Clang,AppleClang>:${_kelvor_gnu_flags}>"
    "$<$<CXX_COMPILER_ID:MSVC>:${_kelvor_msvc_flags}>")
endif()
