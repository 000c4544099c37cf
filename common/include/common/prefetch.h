// A hint to start loading a cache line that an interleaved query will read
// in its next step; no effect on any answer.
#ifndef KELVOR_COMMON_PREFETCH_H
#define KELVOR_COMMON_PREFETCH_H

namespace kelvor::detail {

inline void prefetch(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

}  // namespace kelvor::detail

#endif  // KELVOR_COMMON_PREFETCH_H
