// Arithmetic on the 320-bit fixed-point numbers of the accurate paths.
#include "wide.h"

#include <initializer_list>

namespace kelvor::detail::crmath {
namespace {

// Word holding bits 64 idx .. 64 idx + 63 of the 320-bit integer, 0 outside.
std::uint64_t word_at(const Wide& a, int idx) { return idx >= 0 && idx < 5 ? a.w[4 - idx] : 0; }

// Bits lsb .. lsb + 63 of the integer (bits below 0 read as zeros).
std::uint64_t bit_field(const Wide& a, int lsb) {
  if (lsb <= -64) return 0;
  if (lsb < 0) return word_at(a, 0) << -lsb;
  const int idx = lsb / 64, sh = lsb % 64;
  std::uint64_t v = word_at(a, idx) >> sh;
  if (sh != 0) v |= word_at(a, idx + 1) << (64 - sh);
  return v;
}

// Index of the highest set bit, -1 for zero.
int top_bit(const Wide& a) {
  for (int i = 0; i < 5; ++i) {
    if (a.w[i] != 0) {
      int b = 63;
      while (((a.w[i] >> b) & 1) == 0) --b;
      return 64 * (4 - i) + b;
    }
  }
  return -1;
}

// Whether any of bits 0 .. n - 1 is set.
bool any_below(const Wide& a, int n) {
  for (int idx = 0; idx < 5 && n > 0; ++idx, n -= 64) {
    const std::uint64_t word = word_at(a, idx);
    const std::uint64_t mask = n >= 64 ? ~0ULL : (1ULL << n) - 1;
    if ((word & mask) != 0) return true;
  }
  return false;
}

// acc[k + 1] accumulates word k of a product, k = -1 .. 4 (k = -1 overflows).
void add_at(std::uint64_t (&acc)[6], int k, std::uint64_t v) {
  int i = k + 1;
  acc[i] += v;
  bool carry = acc[i] < v;
  while (carry && i > 0) {
    --i;
    acc[i] += 1;
    carry = acc[i] == 0;
  }
}

}  // namespace

bool wide_is_zero(const Wide& a) { return (a.w[0] | a.w[1] | a.w[2] | a.w[3] | a.w[4]) == 0; }

int wide_cmp(const Wide& a, const Wide& b) {
  for (int i = 0; i < 5; ++i) {
    if (a.w[i] != b.w[i]) return a.w[i] < b.w[i] ? -1 : 1;
  }
  return 0;
}

Wide wide_add(const Wide& a, const Wide& b) {
  Wide r;
  std::uint64_t carry = 0;
  for (int i = 4; i >= 0; --i) {
    const std::uint64_t s = a.w[i] + b.w[i];
    const std::uint64_t c1 = s < a.w[i];
    r.w[i] = s + carry;
    carry = c1 | (r.w[i] < s);
  }
  return r;
}

Wide wide_sub(const Wide& a, const Wide& b) {
  Wide r;
  std::uint64_t borrow = 0;
  for (int i = 4; i >= 0; --i) {
    const std::uint64_t d = a.w[i] - b.w[i];
    const std::uint64_t b1 = a.w[i] < b.w[i];
    r.w[i] = d - borrow;
    borrow = b1 | (d < borrow);
  }
  return r;
}

// Word products a_i b_j weigh 2^(-64 (i + j)); their high halves land in word
// i + j - 1 and their low halves in word i + j. What is dropped: the low
// halves with i + j = 5 (4 products, each < 1 unit) and every product with
// i + j >= 6 (3 of them below one unit each, the rest far smaller): less than
// 8 units, always downwards.
Wide wide_mul(const Wide& a, const Wide& b) {
  std::uint64_t acc[6] = {0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 5; ++i) {
    if (a.w[i] == 0) continue;
    for (int j = 0; j < 5 && i + j <= 5; ++j) {
      std::uint64_t hi, lo;
      mul64(a.w[i], b.w[j], hi, lo);
      const int k = i + j;
      if (k <= 4) add_at(acc, k, lo);
      add_at(acc, k - 1, hi);
    }
  }
  return Wide{{acc[1], acc[2], acc[3], acc[4], acc[5]}};
}

Wide wide_div_small(const Wide& a, std::uint32_t d) {
  Wide q;
  std::uint64_t rem = 0;
  for (int i = 0; i < 5; ++i) {
    const std::uint64_t hi = (rem << 32) | (a.w[i] >> 32);
    const std::uint64_t qh = hi / d;
    rem = hi % d;
    const std::uint64_t lo = (rem << 32) | (a.w[i] & 0xffffffffULL);
    const std::uint64_t ql = lo / d;
    rem = lo % d;
    q.w[i] = (qh << 32) | ql;
  }
  return q;
}

void wide_deposit(Wide& v, std::uint64_t word, int pos) {
  if (pos < 0) {
    if (pos <= -64) return;
    word >>= -pos;
    pos = 0;
  }
  if (pos >= 320) return;
  const int idx = pos / 64, sh = pos % 64;
  v.w[4 - idx] |= word << sh;
  if (sh != 0 && idx + 1 < 5) v.w[4 - idx - 1] |= word >> (64 - sh);
}

Wide wide_from_double(double d) {
  const std::uint64_t u = bits_of(d);
  const int biased = static_cast<int>((u >> 52) & 0x7ff);
  std::uint64_t m = u & 0x000fffffffffffffULL;
  int e = -1074;
  if (biased != 0) {
    m |= 1ULL << 52;
    e = biased - 1075;
  }
  Wide v = wide_zero();
  wide_deposit(v, m, e + 256);
  return v;
}

Wide wide_add_dd(const Wide& a, double hi, double lo) {
  Wide r = a;
  for (const double part : {hi, lo}) {
    const Wide mag = wide_from_double(abs_of(part));
    r = (bits_of(part) >> 63) ? wide_sub(r, mag) : wide_add(r, mag);
  }
  return r;
}

DD wide_to_dd(const Wide& a) {
  const int p = top_bit(a);
  if (p < 0) return {0.0, 0.0};
  const std::uint64_t mask53 = (1ULL << 53) - 1;
  const std::uint64_t m1 = bit_field(a, p - 52) & mask53;
  const std::uint64_t m2 = bit_field(a, p - 105) & mask53;
  return {static_cast<double>(m1) * pow2(p - 52 - 256),
          static_cast<double>(m2) * pow2(p - 105 - 256)};
}

double wide_nearest(const Wide& a) {
  int p = top_bit(a);
  if (p < 0) return 0.0;
  std::uint64_t m = bit_field(a, p - 52) & ((1ULL << 53) - 1);
  if (p >= 53) {
    const bool half = (bit_field(a, p - 53) & 1) != 0;
    if (half && ((m & 1) != 0 || any_below(a, p - 53))) {
      ++m;
      if (m == (1ULL << 53)) {
        m >>= 1;
        ++p;
      }
    }
  }
  const std::uint64_t biased = static_cast<std::uint64_t>(p - 256 + 1023);
  return from_bits((biased << 52) | (m & 0x000fffffffffffffULL));
}

double wide_round(const Wide& a, std::uint64_t err, bool& decided) {
  const Wide e{{0, 0, 0, 0, err}};
  const Wide lo = wide_cmp(a, e) > 0 ? wide_sub(a, e) : wide_zero();
  const double down = wide_nearest(lo);
  const double up = wide_nearest(wide_add(a, e));
  decided = down == up;
  return wide_nearest(a);
}

}  // namespace kelvor::detail::crmath
