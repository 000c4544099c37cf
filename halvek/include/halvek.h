// Halvek: scan conversion of a polygon ring into the crossings of its edges
// with successive integer scan lines (plain functions on plain records, in
// the style of a C library; compiled as C++).
//
// A scan visits, in ascending order, every integer line between
// max(lo, first line any edge crosses) and min(hi, last line any edge
// crosses) on which at least one edge crosses; lines without crossings are
// skipped, never produced. An edge a-b (the ring's edges run i -> i+1 and
// last -> first) crosses the line h when a <= h < b or b <= h < a in the
// scanned axis (the straddle rule of the even-odd test),
// at the coordinate a' + (b' - a') * (h - a) / (b - a) measured along the
// line from the start point a, the division truncating toward zero and the
// product exact (no overflow for any 32-bit input).
//
// The caller owns the work array: one _crossing_ record per edge, so a
// capacity equal to the vertex count always suffices. The scanner never
// writes more than `capacity` records; if the edges to scan need more, the
// scan produces no line at all. The state and the work array belong to one
// scan; scans with separate states run independently (no global state).
#ifndef HALVEK_HALVEK_H
#define HALVEK_HALVEK_H

#include <cstdint>

extern "C" {

// A ring vertex: x then y, two signed 32-bit integers.
struct halvek_point {
  std::int32_t x;
  std::int32_t y;
};

// One edge of the scan: six 32-bit fields.
struct _crossing_ {
  std::int32_t first;  // first line the edge crosses
  std::int32_t last;   // last line the edge crosses
  std::int32_t at;     // crossing on the current line, measured along it
  std::int32_t from;   // index of the edge's start vertex
  std::int32_t to;     // index of the edge's end vertex
  std::int32_t dir;    // +1 when the edge runs toward higher lines, else -1
};

// Scan state: ten positions (a pointer counts as one). The caller sets
// `work` and `capacity` before init_scan; the scanner never changes them.
struct _scanner_ {
  _crossing_* work;            // 1: caller's work array
  std::int32_t capacity;       // 2: its size in records
  std::int32_t active;         // 3: index of the first active record of the line
  std::int32_t count;          // 4: number of active records, ascending by `at`
  std::int32_t pending;        // 5: index of the first record not yet active
  std::int32_t total;          // 6: number of records entered
  std::int32_t line;           // 7: coordinate of the current line (y of a row, x of a column)
  std::int32_t end;            // 8: last line to visit
  const halvek_point* points;  // 9: the ring being scanned
  std::int32_t flags;          // 10: direction and progress bits
};

// Prepares a scan of the ring pts[0..n-1] over the lines lo..hi (inclusive).
// mode is reserved and must be 0. direction 0 scans rows (lines y = h,
// crossings are x values); any other value scans columns (lines x = h,
// crossings are y values). n < 2, a null pts, lo > hi or too small a
// capacity give a scan with no line. A null state is ignored.
void init_scan(const halvek_point* pts, std::int32_t n, _scanner_* state, std::int32_t lo,
               std::int32_t hi, std::int32_t mode, char direction);

// Advances to the next line: 0 when one was produced (line, active, count
// and work[active .. active + count - 1] describe it, ascending by `at`;
// consecutive pairs bound the spans inside the ring by the even-odd rule),
// non-zero when no line is left (count is then 0). The first call after
// init_scan produces the first line. A null state answers non-zero.
std::int32_t edge_scan(_scanner_* state);

}  // extern "C"

#endif  // HALVEK_HALVEK_H
