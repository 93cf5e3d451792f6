// Extension lengths of calculated middle lines, found again by their end points or by the band
// of the element that owns them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

#include "Host/ElementModel/LineCalculator/QTKLineBand.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculator.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

struct TExtendEntry {
    TVRMCustomLine2d mid;
    TQTKLineBand band;  // the owner's drawn band (no info kept)
    double startExt = 0.0;
    double endExt = 0.0;
    int elementType = -1;
};

// Entries by the 1 mm cell of their middle line's start point.
class TExtendRegistry {
public:
    void Add(TExtendEntry entry)
    {
        std::unique_lock lock(mutex_);
        std::vector<size_t>& cell = cells_[CellOf(entry.mid.StartPt())];
        for (size_t index : cell) {
            TExtendEntry& e = entries_[index];
            if (e.band.id == entry.band.id && SameEnds(e.mid, entry.mid.StartPt(), entry.mid.EndPt())) {
                e = std::move(entry);
                return;
            }
        }
        cell.push_back(entries_.size());
        entries_.push_back(std::move(entry));
    }

    void Clear()
    {
        std::unique_lock lock(mutex_);
        entries_.clear();
        cells_.clear();
    }

    void Find(const TVRMCustomLine2d& line, int elementType, double& startExt, double& endExt) const
    {
        std::shared_lock lock(mutex_);
        if (FindByEnds(line, startExt, endExt))
            return;
        bool found = false;
        const TVRMPoint2d middle = line.MiddlePoint();
        for (const TExtendEntry& e : entries_) {
            if (!IsOfType(e, elementType) || !e.band.Contains(middle) ||
                !TVRMPositionFunc2d::IsParallel(line, e.band.centre))
                continue;
            const bool same = TVRMPositionFunc2d::IsSameDirection(line, e.band.centre);
            startExt = std::max(found ? startExt : 0.0, same ? e.startExt : e.endExt);
            endExt = std::max(found ? endExt : 0.0, same ? e.endExt : e.startExt);
            found = true;
        }
        if (found)
            return;
        // No owner: the elements of that type whose band holds an end are its neighbours there.
        for (const bool atStart : {true, false}) {
            const TVRMPoint2d& end = atStart ? line.StartPt() : line.EndPt();
            std::vector<TQTKLineBand> neighbours;
            double half = 0.0;
            for (const TExtendEntry& e : entries_)
                if (IsOfType(e, elementType) && e.band.Contains(end)) {
                    neighbours.push_back(e.band);
                    half = std::max(half, e.band.half);
                }
            (atStart ? startExt : endExt) = ReachPastNeighbours(line, atStart, half, neighbours);
        }
    }

private:
    static int64_t CellOf(const TVRMPoint2d& p)
    {
        return CellOf(static_cast<int64_t>(std::floor(p.x)), static_cast<int64_t>(std::floor(p.y)));
    }
    static int64_t CellOf(int64_t cx, int64_t cy) { return cx * 73856093 ^ cy * 19349663; }
    static bool IsOfType(const TExtendEntry& e, int elementType)
    {
        return elementType == -1 || e.elementType == elementType;
    }
    static bool SameEnds(const TVRMCustomLine2d& l, const TVRMPoint2d& s, const TVRMPoint2d& e)
    {
        return l.StartPt().IsEqualTo(s) && l.EndPt().IsEqualTo(e);
    }

    bool FindByEnds(const TVRMCustomLine2d& line, double& startExt, double& endExt) const
    {
        // A middle line starting at either end of the line, in the cells around that point.
        for (const bool reversed : {false, true}) {
            const TVRMPoint2d& s = reversed ? line.EndPt() : line.StartPt();
            const TVRMPoint2d& e = reversed ? line.StartPt() : line.EndPt();
            const int64_t cx = static_cast<int64_t>(std::floor(s.x));
            const int64_t cy = static_cast<int64_t>(std::floor(s.y));
            for (int64_t dx = -1; dx <= 1; ++dx)
                for (int64_t dy = -1; dy <= 1; ++dy) {
                    const auto it = cells_.find(CellOf(cx + dx, cy + dy));
                    if (it == cells_.end())
                        continue;
                    for (size_t index : it->second) {
                        const TExtendEntry& entry = entries_[index];
                        if (!SameEnds(entry.mid, s, e))
                            continue;
                        startExt = reversed ? entry.endExt : entry.startExt;
                        endExt = reversed ? entry.startExt : entry.endExt;
                        return true;
                    }
                }
        }
        return false;
    }

    mutable std::shared_mutex mutex_;
    std::vector<TExtendEntry> entries_;
    std::unordered_map<int64_t, std::vector<size_t>> cells_;
};

TExtendRegistry& Registry()
{
    static TExtendRegistry registry;
    return registry;
}

}  // namespace

void RegisterLineExtension(const TVRMCustomLine2d& mid, const TQTKLineBand& owner, double startExt, double endExt,
                           int elementType)
{
    TExtendEntry entry{mid, owner, startExt, endExt, elementType};
    entry.band.info = nullptr;
    Registry().Add(std::move(entry));
}

void CalcLineEDOExtendLength(const TVRMCustomLine2d& line, double& endExt, double& startExt, int elementType)
{
    endExt = startExt = 0.0;
    Registry().Find(line, elementType, startExt, endExt);
}

void ClearLineExtendRegistry()
{
    Registry().Clear();
}
