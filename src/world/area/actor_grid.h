#pragma once
// The actors of an area filed by where they stand, so that asking who stands near a
// point looks at the few buckets round it and not at every actor of the area. The
// area files an actor as it joins the list and takes it out as it leaves; the actor
// itself tells the grid when it moves or changes size, so no path that puts an
// actor somewhere can leave the grid behind. Near() gives the candidates in the
// area's actor order, so a search that takes the first one found finds the one a
// walk over the whole list would.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace DRAV {

class CActor;
class CActorGrid;
using ActorList = std::vector<std::shared_ptr<CActor>>;

// Where an actor is filed; kept by the actor, written by the grid alone. Not copied
// with an actor, as a copy is filed nowhere.
struct CGridFiling {
    CGridFiling() = default;
    CGridFiling(const CGridFiling&) {}
    CGridFiling& operator=(const CGridFiling&) { return *this; }
    CActorGrid* grid = nullptr;
    std::uint32_t bucket = 0;
    // The actor's place in the area's list.
    std::uint32_t order = 0;
};

// The actors a query found, in the area's order. Most queries find a handful: those
// stay on the stack.
class CNearActors {
public:
    void Add(CActor* actor);
    void SortByOrder();
    CActor* const* begin() const { return m_more.empty() ? m_few.data() : m_more.data(); }
    CActor* const* end() const { return begin() + m_count; }
    std::size_t size() const { return m_count; }

private:
    static constexpr std::size_t kFew = 32;
    std::array<CActor*, kFew> m_few{};
    std::vector<CActor*> m_more;
    std::size_t m_count = 0;
};

class CActorGrid {
public:
    // Eight cells a side: an actor's circle spans one or two buckets, and a look as
    // far as sight reaches a few dozen.
    static constexpr double kBucketSize = 20.0;

    CActorGrid() = default;
    ~CActorGrid();
    CActorGrid(const CActorGrid&) = delete;
    CActorGrid& operator=(const CActorGrid&) = delete;

    // Covers ground `width` x `depth`, filing the actors again. Anyone standing off
    // it is filed in the nearest bucket, so the size only changes how fast a query
    // is, never what it finds.
    void Resize(double width, double depth);
    // Files `actor` at `order` in the area's list; an actor filed in another grid
    // leaves that one first.
    void File(CActor& actor, std::uint32_t order);
    // Nothing when the actor is not filed here.
    void Unfile(CActor& actor);
    // Files again an actor that moved or changed size.
    void Refile(CActor& actor);
    // The order of `actors` from `first` on, after the list changed there.
    void Renumber(const ActorList& actors, std::size_t first);

    // Every filed actor whose circle may come within `reach` of (x, y), in the area's
    // order; some may lie farther, none nearer is left out.
    void Near(double x, double y, double reach, CNearActors& found) const;
    // The same actors in no order, for a search whose answer does not hang on it.
    template <typename Visit>
    void ForEachNear(double x, double y, double reach, Visit visit) const {
        const Span span = SpanOf(x, y, reach);
        for (std::uint32_t row = span.firstRow; row <= span.lastRow; ++row)
            for (std::uint32_t column = span.firstColumn; column <= span.lastColumn; ++column)
                for (CActor* actor : m_buckets[static_cast<std::size_t>(row) * m_columns + column]) visit(*actor);
    }
    // Whether the actors near (x, y) within `reach` are every actor filed.
    bool Covers(double x, double y, double reach) const;
    std::size_t Size() const { return m_filed; }

private:
    struct Span {
        std::uint32_t firstColumn, lastColumn, firstRow, lastRow;
    };
    std::uint32_t BucketColumn(double x) const;
    std::uint32_t BucketRow(double y) const;
    std::uint32_t BucketOf(const CActor& actor) const;
    Span SpanOf(double x, double y, double reach) const;
    void Remove(CActor& actor);

    std::uint32_t m_columns = 1;
    std::uint32_t m_rows = 1;
    std::vector<std::vector<CActor*>> m_buckets = std::vector<std::vector<CActor*>>(1);
    std::size_t m_filed = 0;
    // The widest radius filed since the grid was last sized: candidates are sought
    // this much farther out.
    double m_widest = 0.0;
};

}  // namespace DRAV
