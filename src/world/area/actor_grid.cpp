#include "world/area/actor_grid.h"

#include <cmath>

#include "world/actor.h"

namespace DRAV {

namespace {

// Added to every reach: a touch the distance test rounds one way must not fall on
// a bucket the span rounded the other.
constexpr double kSlack = 1e-6;

std::uint32_t BucketIndex(double coordinate, std::uint32_t count) {
    const double bucket = std::floor(coordinate / CActorGrid::kBucketSize);
    if (!(bucket >= 0.0)) return 0;
    if (bucket >= static_cast<double>(count)) return count - 1;
    return static_cast<std::uint32_t>(bucket);
}

std::uint32_t BucketCount(double extent) {
    const double count = std::ceil(extent / CActorGrid::kBucketSize);
    // An area is at most 1,000 cells wide, 125 buckets; the rows of a deeper one
    // share the last bucket rather than each area hold a million.
    if (!(count >= 1.0)) return 1;
    return static_cast<std::uint32_t>(std::min(count, 256.0));
}

}  // namespace

void CNearActors::Add(CActor* actor) {
    if (m_count < kFew && m_more.empty()) {
        m_few[m_count++] = actor;
        return;
    }
    if (m_more.empty()) m_more.assign(m_few.begin(), m_few.end());
    m_more.push_back(actor);
    ++m_count;
}

void CNearActors::SortByOrder() {
    CActor** first = m_more.empty() ? m_few.data() : m_more.data();
    std::sort(first, first + m_count, [](const CActor* a, const CActor* b) {
        return a->GetGridFiling().order < b->GetGridFiling().order;
    });
}

CActorGrid::~CActorGrid() {
    for (const auto& bucket : m_buckets)
        for (CActor* actor : bucket) actor->GetGridFiling().grid = nullptr;
}

std::uint32_t CActorGrid::BucketColumn(double x) const { return BucketIndex(x, m_columns); }
std::uint32_t CActorGrid::BucketRow(double y) const { return BucketIndex(y, m_rows); }

std::uint32_t CActorGrid::BucketOf(const CActor& actor) const {
    return BucketRow(actor.GetY()) * m_columns + BucketColumn(actor.GetX());
}

CActorGrid::Span CActorGrid::SpanOf(double x, double y, double reach) const {
    const double out = reach + m_widest + kSlack;
    // No bucket stands for a point nowhere: every actor is a candidate.
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(out)) return {0, m_columns - 1, 0, m_rows - 1};
    return {BucketColumn(x - out), BucketColumn(x + out), BucketRow(y - out), BucketRow(y + out)};
}

void CActorGrid::Resize(double width, double depth) {
    std::vector<CActor*> filed;
    for (const auto& bucket : m_buckets) filed.insert(filed.end(), bucket.begin(), bucket.end());
    m_columns = BucketCount(width);
    m_rows = BucketCount(depth);
    m_buckets.assign(static_cast<std::size_t>(m_columns) * m_rows, {});
    m_widest = 0.0;
    for (CActor* actor : filed) {
        CGridFiling& filing = actor->GetGridFiling();
        filing.bucket = BucketOf(*actor);
        m_buckets[filing.bucket].push_back(actor);
        m_widest = std::max(m_widest, actor->GetRadius());
    }
}

void CActorGrid::File(CActor& actor, std::uint32_t order) {
    CGridFiling& filing = actor.GetGridFiling();
    if (filing.grid == this) Remove(actor);
    else if (filing.grid) filing.grid->Unfile(actor);
    filing.grid = this;
    filing.order = order;
    filing.bucket = BucketOf(actor);
    m_buckets[filing.bucket].push_back(&actor);
    ++m_filed;
    m_widest = std::max(m_widest, actor.GetRadius());
}

void CActorGrid::Remove(CActor& actor) {
    auto& bucket = m_buckets[actor.GetGridFiling().bucket];
    const auto found = std::find(bucket.begin(), bucket.end(), &actor);
    if (found == bucket.end()) return;
    bucket.erase(found);
    --m_filed;
}

void CActorGrid::Unfile(CActor& actor) {
    if (actor.GetGridFiling().grid != this) return;
    Remove(actor);
    actor.GetGridFiling().grid = nullptr;
}

void CActorGrid::Refile(CActor& actor) {
    CGridFiling& filing = actor.GetGridFiling();
    if (filing.grid != this) return;
    m_widest = std::max(m_widest, actor.GetRadius());
    const std::uint32_t bucket = BucketOf(actor);
    if (bucket == filing.bucket) return;
    Remove(actor);
    filing.bucket = bucket;
    m_buckets[bucket].push_back(&actor);
    ++m_filed;
}

void CActorGrid::Renumber(const ActorList& actors, std::size_t first) {
    for (std::size_t index = first; index < actors.size(); ++index)
        actors[index]->GetGridFiling().order = static_cast<std::uint32_t>(index);
}

void CActorGrid::Near(double x, double y, double reach, CNearActors& found) const {
    ForEachNear(x, y, reach, [&found](CActor& actor) { found.Add(&actor); });
    found.SortByOrder();
}

bool CActorGrid::Covers(double x, double y, double reach) const {
    const Span span = SpanOf(x, y, reach);
    return span.firstColumn == 0 && span.firstRow == 0 && span.lastColumn == m_columns - 1 &&
           span.lastRow == m_rows - 1;
}

}  // namespace DRAV
