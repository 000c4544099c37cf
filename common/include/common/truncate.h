// The library's one conversion from double to a 32-bit integer.
#ifndef KELVOR_COMMON_TRUNCATE_H
#define KELVOR_COMMON_TRUNCATE_H

#include <cstdint>

namespace kelvor::detail {

// Truncation toward zero. A value beyond the 32-bit range saturates (keeping
// its sign) and NaN gives 0, so no input makes the conversion undefined.
inline std::int32_t trunc_to_i32(double v) {
  if (v != v) return 0;
  if (v <= -2147483648.0) return INT32_MIN;
  if (v >= 2147483647.0) return INT32_MAX;
  return static_cast<std::int32_t>(v);
}

}  // namespace kelvor::detail

#endif  // KELVOR_COMMON_TRUNCATE_H
