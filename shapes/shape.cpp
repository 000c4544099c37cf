// KShape: the root class answers 0 to every relation, so a derived class only
// overrides the relations that mean something for it.
#include "kelvor/shapes.h"

KShape::KShape() = default;
KShape::KShape(const KShape&) = default;
KShape& KShape::operator=(const KShape&) { return *this; }

std::int32_t KShape::Contain(const KPGON&) const { return 0; }
std::int32_t KShape::Contain(const KPLINE&) const { return 0; }
std::int32_t KShape::Contain(const KRECT&) const { return 0; }
std::int32_t KShape::Contain(const tagPOINT&, const tagPOINT&) const { return 0; }
std::int32_t KShape::Contain(const tagPOINT&) const { return 0; }
std::int32_t KShape::Intersect(const KPGON&) const { return 0; }
std::int32_t KShape::Intersect(const KPLINE&) const { return 0; }
std::int32_t KShape::Intersect(const KRECT&) const { return 0; }
std::int32_t KShape::Intersect(const tagPOINT&, const tagPOINT&) const { return 0; }
std::int32_t KShape::Intersect(const tagPOINT&) const { return 0; }
