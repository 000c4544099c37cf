// Internal constant tables of the trigonometry, generated at build time by
// the table generator (one entry per 1/65536 of a turn; pi taken as 3.141592654).
#ifndef KELVOR_FIXED_TRIG_TABLES_H
#define KELVOR_FIXED_TRIG_TABLES_H

#include <cstdint>

namespace kelvor::detail {

extern const std::int32_t g_sin_table[65536];
extern const std::int32_t g_cos_table[65536];
extern const std::int32_t g_tan_table[16384];
// CORDIC step angles in 16.16 degrees: atan 2, then atan 2^-(k-1), k = 1..23.
extern const std::int32_t g_cordic_angle_table[24];

}  // namespace kelvor::detail

#endif  // KELVOR_FIXED_TRIG_TABLES_H
