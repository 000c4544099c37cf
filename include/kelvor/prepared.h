/// @file
/// Bulk queries: a polygon (one ring, or rings with holes and many parts)
/// prepared once and asked about many points, an index of many such zones,
/// the two crossing rules, and an inscribed rectangle that scales to large
/// outlines.
///
/// Everything here is an addition in namespace kelvor; the free functions of
/// <kelvor/planar.h> and <kelvor/shapes.h> keep their answers bit for bit.
///
/// The two rules. Both are the even-odd rule of Polygon_Contain_Point: a point
/// (x, y) is inside when an odd number of edges straddle its row
/// (a.y <= y < b.y or b.y <= y < a.y) and cross it strictly right of x, the
/// crossing a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y) measured from the
/// edge's start point a in ring order and truncated toward zero; the ring is
/// closed from its last point to its first.
///  * Rule::Compatible forms that product in wrapping 32-bit arithmetic, as the
///    exported functions do, and so answers exactly what they answer. On a
///    row where (b.x - a.x) * (y - a.y) falls outside [-2^31, 2^31 - 1] the
///    product wraps and the crossing lands far from the edge; this needs
///    |b.x - a.x| * |b.y - a.y| above 2^31 - 1 (both extents above 46,340, or
///    a long flat edge such as 10,000,000 by 300): points well inside or
///    outside a long-edged outline can be misclassified (RingCanWrap tells).
///  * Rule::Exact forms every crossing without overflow. It answers like the
///    compatible rule wherever nothing wraps and is geometrically right
///    elsewhere: inside means inside the half-open bounding rectangle and
///    inside the ring, up to the truncation of each crossing toward its start.
///
/// Rings and areas. A polygon with holes or a multipolygon is a list of rings
/// in GeoJSON order, each outer ring followed by its holes. A point is inside
/// when some outer ring holds it and none of that outer ring's holes does,
/// each ring decided alone by the rule (as a one-ring PreparedPolygon of it
/// answers). Outer rings may overlap (their union counts), holes may nest or
/// cross each other or their outer ring; a hole before the first outer ring,
/// and the holes of an empty outer ring, have no effect.
///
/// Query cost. The index cuts the rings' bounding rectangle into cells and
/// cuts every crowded cell into a finer grid of 4 by 4 again until each lists
/// at most some twenty edges, fourteen or so in a zone index, which may test
/// several zones at a point (except where more edges than that pass within a
/// unit of each other, or on rings whose rows cross a large share of their
/// edges, where a memory budget stops the splitting: such rings take some 80
/// to 160 bytes per vertex when spiky, and up to some 350 when every edge is
/// long, as between random points): a
/// query reads its cell, the finer grids' cells down to its leaf, and tests
/// the leaf's few edges, whose coordinates an outline's leaf holds itself.
/// It never walks across other cells. On an index too large for the caches
/// (4 MiB and up) the batch calls keep a few dozen queries in flight so that
/// their memory reads overlap, and ZoneIndex::Locate over 16,384 points or
/// more answers them in the order of its grid, so that queries near each
/// other share their reads.
///
/// Thread safety: building is not synchronised, but every const member may be
/// called from any number of threads at once on one object.
/// Allocation: builders allocate with operator new and throw std::bad_alloc
/// when memory runs out, leaking nothing. Queries never throw, and only
/// that ordered ZoneIndex::Locate allocates: 16 bytes a point, at most
/// 16 MiB a call, freed before it returns; without that memory it answers
/// the same in the order given.
#ifndef KELVOR_PREPARED_H
#define KELVOR_PREPARED_H

// Inside the library each folder may include only the headers of what it
// uses (see its CMakeLists.txt); clients include anything.
#if defined(KELVOR_BUILDING) && !defined(KELVOR_USES_PREPARED)
#error "this part of Kelvor does not use <kelvor/prepared.h>"
#endif

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "kelvor/export.h"
#include "kelvor/rule.h"
#include "kelvor/shapes.h"
#include "kelvor/types.h"

namespace kelvor::detail {
class AreaScratch;  // the index builder's working storage
}  // namespace kelvor::detail

/// Kelvor's additions to the exported interface: the bulk queries of this
/// header. New functions and classes go here; the exported names outside it
/// never change.
namespace kelvor {

/// True when some edge of the ring (closing edge from the last point to the
/// first included) can make a compatible-rule crossing wrap, on a row or a
/// column: it is not axis-parallel and its coordinate differences do not fit
/// 32 bits, or the largest product |b.x - a.x| * |h - a.y| over the rows h it
/// straddles (or the same with x and y exchanged) exceeds 2^31 - 1. Such an
/// edge has |dx| * |dy| above 2^31 - 1: both extents above 46,340, or a long
/// flat edge such as 10,000,000 by 300 (which wraps on rows 215 or more from
/// its start). Where this is false, the compatible and the exact rule agree on
/// every point, row and column. count <= 0 or a null array gives false.
KELVOR_API bool RingCanWrap(const tagPOINT* points, std::int32_t count);

/// The ring with every edge that can wrap split into pieces that cannot, for
/// data that must go to engines using the compatible rule. Inserted points lie
/// on the edge rounded to the nearest integer (halves away from zero), so the
/// boundary moves by at most one unit (at most half a unit in each axis); no
/// point is moved or removed and other edges are kept as they are. A ring
/// given closed (last point equal to the first) comes back closed. The result
/// never wraps: RingCanWrap of it is false. count <= 0 or a null array gives
/// an empty vector.
KELVOR_API std::vector<tagPOINT> DensifyRing(const tagPOINT* points, std::int32_t count);

/// One ring of a polygon with holes or of a multipolygon, in GeoJSON order:
/// each outer ring followed by its holes. The points are only borrowed while
/// a PreparedPolygon or ZoneIndex is built from it.
struct Ring {
  const tagPOINT* points;  ///< Open or closed; null or count <= 0: an empty ring.
  std::int32_t count;      ///< Number of points.
  bool hole;               ///< True: a hole of the nearest outer ring before it.
};

/// A polygon (one ring, or rings with holes and many parts) prepared for many
/// point-in-polygon queries. The constructor copies the points and builds the
/// index described at the top of this header (some 18 to 25 bytes per vertex
/// for outlines whose edges are short against their rectangle; long or spiky
/// edges cost more, as that description says); afterwards the caller's arrays may
/// change or go away. Building takes time in proportion to the cells each
/// edge is listed in: 40 to 100 ns a vertex for outlines and coastlines of up
/// to half a million vertices, and half a microsecond to a few microseconds a
/// vertex for spiky rings, whose every edge crosses many cells. (Exported
/// member by member, as ZoneIndex is.)
class PreparedPolygon {
 public:
  /// A polygon of no points: contains nothing.
  KELVOR_API PreparedPolygon();
  /// One outer ring. count <= 0 or a null array gives the polygon of no
  /// points. Rings may be given open or closed, with repeated points, any
  /// orientation, crossing themselves. Throws std::bad_alloc when memory runs
  /// out (or the polygon is too large for the index's 32-bit counts, beyond
  /// some 500 million vertices).
  KELVOR_API PreparedPolygon(const tagPOINT* points, std::int32_t count,
                             Rule rule = Rule::Compatible);
  /// Rings in GeoJSON order (see the top of this header); a null array or
  /// ring_count 0 gives the polygon of no points. Each ring is copied as
  /// given, empty rings included. Throws std::bad_alloc as above.
  KELVOR_API PreparedPolygon(const Ring* rings, std::size_t ring_count,
                             Rule rule = Rule::Compatible);
  /// Copies the rings and the index. Throws std::bad_alloc when memory runs out.
  KELVOR_API PreparedPolygon(const PreparedPolygon& other);
  /// Takes over other's rings and index; other is left the polygon of no
  /// points.
  KELVOR_API PreparedPolygon(PreparedPolygon&& other) noexcept;
  /// Copies the rings and the index. Throws std::bad_alloc when memory runs out.
  KELVOR_API PreparedPolygon& operator=(const PreparedPolygon& other);
  /// Takes over other's rings and index; other is left the polygon of no
  /// points.
  KELVOR_API PreparedPolygon& operator=(PreparedPolygon&& other) noexcept;
  /// Frees the copy of the rings and the index.
  KELVOR_API ~PreparedPolygon();

  /// 1 when p is inside by the rule, else 0. For one ring under
  /// Rule::Compatible this is exactly Polygon_Contain_Point(points, count, &p)
  /// (so a ring of 2 points can hold points, and one point holds none); for
  /// several rings it combines each ring's answer as described at the top of
  /// this header.
  KELVOR_API std::int32_t Contain(const tagPOINT& p) const;
  /// 1 when p lies in the half-open bound() and Contain(p) is 1, else 0. For
  /// one ring under Rule::Compatible this is exactly what
  /// KPGON(count, points).Contain(p) answers: 0 for rings of fewer than 3
  /// points. Under Rule::Exact it equals Contain(p) whenever every ring that
  /// holds p has 3 points or more (a two-point ring can hold points: each
  /// crossing is truncated from its own edge's start).
  KELVOR_API std::int32_t ContainBounded(const tagPOINT& p) const;
  /// out[i] = Contain(points[i]) for i < count (0 or 1). count 0 reads and
  /// writes nothing.
  KELVOR_API void Contain(const tagPOINT* points, std::size_t count, std::uint8_t* out) const;
  /// out[i] = ContainBounded(points[i]) for i < count.
  KELVOR_API void ContainBounded(const tagPOINT* points, std::size_t count,
                                 std::uint8_t* out) const;

  /// The rule given when built.
  KELVOR_API Rule rule() const;
  /// Every ring's points as built, ring after ring in the order given (empty
  /// for no points). For one ring: that ring.
  KELVOR_API const std::vector<tagPOINT>& points() const;
  /// The rings as built, in the order given (empty rings included), each
  /// pointing into points(); valid while this object lives unchanged. The
  /// one-ring constructor gives one outer ring (none for no points).
  KELVOR_API std::vector<Ring> rings() const;
  /// The rectangle KPGON keeps for each ring of 3 points or more (GetMBR of
  /// its points), joined over the rings; the canonical empty rectangle when
  /// no ring has 3 points. For one ring: KPGON's rcBound.
  KELVOR_API KRECT bound() const;
  /// True when some ring can wrap (RingCanWrap of it): only then can the two
  /// rules answer differently.
  KELVOR_API bool can_wrap() const;
  /// Bytes held by this object (points, index and bookkeeping).
  KELVOR_API std::size_t memory_bytes() const;

 private:
  friend class ZoneIndex;  // reads the index of each zone
  struct KELVOR_LOCAL Impl;
  // Builds impl from the rings with the given working storage (a zone index
  // lends one to all its zones), splitting leaves longer than leaf_words
  // (a zone index splits finer than a polygon alone).
  KELVOR_LOCAL static void prepare(Impl& impl, const Ring* rings, std::size_t ring_count, Rule rule,
                                   std::size_t leaf_words, detail::AreaScratch* scratch);
  // The same for one ring, as the one-ring constructor keeps it.
  KELVOR_LOCAL static void prepare_ring(Impl& impl, const tagPOINT* points, std::int32_t count,
                                        Rule rule, std::size_t leaf_words);
  // This object's state, or that of no points once moved from.
  KELVOR_LOCAL const Impl& get() const;
  std::unique_ptr<Impl> impl_;
};

/// One zone of one ring for ZoneIndex: a ring (borrowed only while the
/// index is built) and its id.
struct Zone {
  const tagPOINT* points;  ///< The ring, open or closed; null holds no point.
  std::int32_t count;      ///< Number of points; <= 0 holds no point.
  std::int32_t id;         ///< Answered by ZoneIndex::Locate; ZoneIndex::kNoZone skips the zone.
};

/// A zone made of rings for ZoneIndex: a polygon with holes or a
/// multipolygon, as PreparedPolygon takes them (borrowed only while the index
/// is built), and its id.
struct Area {
  const Ring* rings;       ///< GeoJSON order; null holds no point.
  std::size_t ring_count;  ///< Number of rings.
  std::int32_t id;         ///< Answered by ZoneIndex::Locate; ZoneIndex::kNoZone skips the area.
};

/// Many prepared zones, answering for a point the lowest id among the zones
/// whose PreparedPolygon::Contain holds it. Zones may overlap, nest or lie far
/// apart; ids need not be distinct or sorted. A multipolygon with thousands of
/// parts is one zone, indexed as one. A grid over all zones lists in each
/// cell, by id, the zones that hold some point of it, marking those that hold
/// all of it; a cell that no zone reaches, or whose first zone holds all of
/// it, answers from its own word. A query in the open or inside a zone thus
/// usually reads one word of the grid, and otherwise asks the listed zones'
/// own indexes. Under Rule::Compatible a zone with a
/// ring that can wrap also holds points beside its bounding rectangle, as
/// Polygon_Contain_Point does: within 2^31 / |dy| of a wrapping edge on that
/// edge's rows (or anywhere on them when that reaches past the 32-bit range);
/// the grid covers that reach too. (Exported member by member, so that
/// kNoZone stays a plain constant for clients of a DLL.)
class ZoneIndex {
 public:
  /// The answer for a point in no zone; zones with this id are skipped.
  static constexpr std::int32_t kNoZone = INT32_MIN;

  /// An index of no zones: every point is in no zone.
  KELVOR_API ZoneIndex();
  /// Zones of one ring each. Copies every ring. A null zones array with
  /// count 0 is fine; a zone with a null ring or count <= 0 holds no point.
  /// Throws std::bad_alloc when memory runs out.
  KELVOR_API ZoneIndex(const Zone* zones, std::size_t count, Rule rule = Rule::Compatible);
  /// Zones made of rings. Copies every ring. A null areas array with count 0
  /// is fine; an area with null rings holds no point. An area of one outer
  /// ring answers exactly as the Zone of that ring. Throws std::bad_alloc when
  /// memory runs out.
  KELVOR_API ZoneIndex(const Area* areas, std::size_t count, Rule rule = Rule::Compatible);
  /// No zones (a null array of either kind): every point is in no zone.
  ZoneIndex(std::nullptr_t, std::size_t count, Rule rule = Rule::Compatible)
      : ZoneIndex(static_cast<const Zone*>(nullptr), count, rule) {}
  /// Copies every prepared zone and the grid. Throws std::bad_alloc when
  /// memory runs out.
  KELVOR_API ZoneIndex(const ZoneIndex& other);
  /// Takes over other's zones and grid; other is left the index of no zones.
  KELVOR_API ZoneIndex(ZoneIndex&& other) noexcept;
  /// Copies every prepared zone and the grid. Throws std::bad_alloc when
  /// memory runs out.
  KELVOR_API ZoneIndex& operator=(const ZoneIndex& other);
  /// Takes over other's zones and grid; other is left the index of no zones.
  KELVOR_API ZoneIndex& operator=(ZoneIndex&& other) noexcept;
  /// Frees the prepared zones and the grid.
  KELVOR_API ~ZoneIndex();

  /// The lowest id among the zones whose Contain(p) is 1, or kNoZone.
  KELVOR_API std::int32_t Locate(const tagPOINT& p) const;
  /// out[i] = Locate(points[i]) for i < count. Large batches on a large
  /// index borrow working memory (see Allocation above).
  KELVOR_API void Locate(const tagPOINT* points, std::size_t count, std::int32_t* out) const;

  /// The rule given when built.
  KELVOR_API Rule rule() const;
  /// Number of zones kept (zones with id kNoZone are not kept).
  KELVOR_API std::size_t size() const;
  /// Zone i as kept, in the order given: its prepared polygon. i must be
  /// below size().
  KELVOR_API const PreparedPolygon& zone(std::size_t i) const;
  /// The id of zone i as kept; i must be below size().
  KELVOR_API std::int32_t id(std::size_t i) const;
  /// Bytes held by this object (prepared zones, grid and bookkeeping).
  KELVOR_API std::size_t memory_bytes() const;

 private:
  struct KELVOR_LOCAL Impl;
  // This object's state, or that of no zones once moved from.
  KELVOR_LOCAL const Impl& get() const;
  std::unique_ptr<Impl> impl_;
};

/// The rectangle GetMCR grows inside the ring, with the inside tests made by
/// the given rule: under Rule::Compatible exactly GetMCR's result, under
/// Rule::Exact the same search whose corners are right on long-edged
/// outlines. The inside tests use a prepared index, so the growth costs little;
/// the two scan passes visit every row that some edge crosses and every
/// column across the widest row span, about 20 ns per line: a 10,000-vertex
/// outline 100,000 units tall takes some 10 ms, and time grows with the
/// outline's height and width in units, not with its vertex count.
/// Degenerate input and allocation failure give the canonical empty
/// rectangle (1, 1, 0, 0), as GetMCR does; step < 1 counts as 1.
KELVOR_API KRECT InscribedRect(const tagPOINT* points, std::int32_t count, std::int32_t step,
                               Rule rule = Rule::Compatible);

}  // namespace kelvor

#endif  // KELVOR_PREPARED_H
