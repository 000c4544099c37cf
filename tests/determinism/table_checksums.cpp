// Prints a checksum of every generated constant table. The tables come from
// a generator that runs on the build host with that host's maths library; the
// committed checksums make sure no host ever changes an entry unnoticed.
#include <cstdint>
#include <cstdio>

#include "kelvor/fixed.h"
#include "trig_tables.h"

namespace {

// FNV-1a over each entry's value as four little-endian bytes, so the sum does
// not depend on the target's byte order or the entry type.
template <class T, std::size_t N>
void print_checksum(const char* name, const T (&table)[N]) {
  std::uint64_t h = 1469598103934665603ull;
  for (const T entry : table) {
    const auto v = static_cast<std::uint32_t>(static_cast<std::int64_t>(entry));
    for (int byte = 0; byte < 4; ++byte) h = (h ^ ((v >> (8 * byte)) & 0xFFu)) * 1099511628211ull;
  }
  std::printf("%-22s %6zu %016llx\n", name, N, static_cast<unsigned long long>(h));
}

}  // namespace

int main() {
  print_checksum("g_sqrt_table", g_sqrt_table);
  print_checksum("g_elder_bit_table", g_elder_bit_table);
  print_checksum("g_sin_table", kelvor::detail::g_sin_table);
  print_checksum("g_cos_table", kelvor::detail::g_cos_table);
  print_checksum("g_tan_table", kelvor::detail::g_tan_table);
  print_checksum("g_cordic_angle_table", kelvor::detail::g_cordic_angle_table);
  return 0;
}
