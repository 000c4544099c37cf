// Unsigned integers of any size, as much of them as the table generator
// needs: sums, differences, products, shifts, division by a small number and
// long division. Little-endian 32-bit limbs; every result is exact.
#ifndef KELVOR_TOOLS_BIGNUM_H
#define KELVOR_TOOLS_BIGNUM_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tablegen {

class Big {
 public:
  Big() = default;
  explicit Big(std::uint64_t v) {
    while (v != 0) {
      d_.push_back(static_cast<std::uint32_t>(v));
      v >>= 32;
    }
  }

  bool zero() const { return d_.empty(); }
  // Number of significant bits (0 for zero).
  std::size_t bits() const {
    if (d_.empty()) return 0;
    std::size_t n = 32 * (d_.size() - 1);
    for (std::uint32_t top = d_.back(); top != 0; top >>= 1) ++n;
    return n;
  }
  bool bit(std::size_t i) const {
    return i / 32 < d_.size() && ((d_[i / 32] >> (i % 32)) & 1u) != 0;
  }
  // Bits [from, from + 64) as a number.
  std::uint64_t word(std::size_t from) const {
    std::uint64_t w = 0;
    for (std::size_t i = 0; i < 64; ++i) w |= static_cast<std::uint64_t>(bit(from + i)) << i;
    return w;
  }
  // True when some bit below `below` is set.
  bool any_below(std::size_t below) const {
    for (std::size_t i = 0; i < d_.size() && 32 * i < below; ++i) {
      const std::size_t n = std::min<std::size_t>(32, below - 32 * i);
      const std::uint32_t mask = n == 32 ? 0xFFFFFFFFu : (1u << n) - 1;
      if ((d_[i] & mask) != 0) return true;
    }
    return false;
  }

  friend int compare(const Big& a, const Big& b) {
    if (a.d_.size() != b.d_.size()) return a.d_.size() < b.d_.size() ? -1 : 1;
    for (std::size_t i = a.d_.size(); i-- > 0;) {
      if (a.d_[i] != b.d_[i]) return a.d_[i] < b.d_[i] ? -1 : 1;
    }
    return 0;
  }
  friend Big operator+(const Big& a, const Big& b) {
    Big r;
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < std::max(a.d_.size(), b.d_.size()) || carry != 0; ++i) {
      carry += static_cast<std::uint64_t>(a.limb(i)) + b.limb(i);
      r.d_.push_back(static_cast<std::uint32_t>(carry));
      carry >>= 32;
    }
    r.trim();
    return r;
  }
  // a - b for a >= b.
  friend Big operator-(const Big& a, const Big& b) {
    Big r;
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < a.d_.size(); ++i) {
      std::int64_t v = static_cast<std::int64_t>(a.d_[i]) - b.limb(i) - borrow;
      borrow = v < 0 ? 1 : 0;
      if (v < 0) v += std::int64_t{1} << 32;
      r.d_.push_back(static_cast<std::uint32_t>(v));
    }
    r.trim();
    return r;
  }
  friend Big operator*(const Big& a, const Big& b) {
    if (a.zero() || b.zero()) return Big();
    Big r;
    r.d_.assign(a.d_.size() + b.d_.size(), 0);
    for (std::size_t i = 0; i < a.d_.size(); ++i) {
      std::uint64_t carry = 0;
      for (std::size_t j = 0; j < b.d_.size(); ++j) {
        carry += static_cast<std::uint64_t>(a.d_[i]) * b.d_[j] + r.d_[i + j];
        r.d_[i + j] = static_cast<std::uint32_t>(carry);
        carry >>= 32;
      }
      r.d_[i + b.d_.size()] = static_cast<std::uint32_t>(carry);
    }
    r.trim();
    return r;
  }
  friend Big operator*(const Big& a, std::uint64_t m) { return a * Big(m); }
  friend Big operator<<(const Big& a, std::size_t n) {
    if (a.zero()) return a;
    Big r;
    r.d_.assign(n / 32, 0);
    std::uint32_t carry = 0;
    for (const std::uint32_t v : a.d_) {
      r.d_.push_back(n % 32 == 0 ? v : (v << (n % 32)) | carry);
      carry = n % 32 == 0 ? 0 : v >> (32 - n % 32);
    }
    r.d_.push_back(carry);
    r.trim();
    return r;
  }
  friend Big operator>>(const Big& a, std::size_t n) {
    Big r;
    for (std::size_t i = n / 32; i < a.d_.size(); ++i) {
      const std::uint64_t pair = static_cast<std::uint64_t>(a.limb(i + 1)) << 32 | a.d_[i];
      r.d_.push_back(static_cast<std::uint32_t>(pair >> (n % 32)));
    }
    r.trim();
    return r;
  }
  // Quotient by a small number, rounded down.
  friend Big operator/(const Big& a, std::uint32_t m) {
    Big r;
    r.d_.assign(a.d_.size(), 0);
    std::uint64_t rest = 0;
    for (std::size_t i = a.d_.size(); i-- > 0;) {
      rest = rest << 32 | a.d_[i];
      r.d_[i] = static_cast<std::uint32_t>(rest / m);
      rest %= m;
    }
    r.trim();
    return r;
  }
  // Quotient rounded down, by shifting and subtracting; *nonzero_rest tells
  // whether it was inexact.
  static Big divide(const Big& a, const Big& b, bool* nonzero_rest) {
    Big q, rest;
    for (std::size_t i = a.bits(); i-- > 0;) {
      rest = rest << 1;
      if (a.bit(i)) rest = rest + Big(1);
      q = q << 1;
      if (compare(rest, b) >= 0) {
        rest = rest - b;
        q = q + Big(1);
      }
    }
    *nonzero_rest = !rest.zero();
    return q;
  }

 private:
  std::uint32_t limb(std::size_t i) const { return i < d_.size() ? d_[i] : 0; }
  void trim() {
    while (!d_.empty() && d_.back() == 0) d_.pop_back();
  }
  std::vector<std::uint32_t> d_;
};

}  // namespace tablegen

#endif  // KELVOR_TOOLS_BIGNUM_H
