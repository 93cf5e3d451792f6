// A small plan of line elements behind simple implementations of the info interfaces: each
// element lists the elements meeting it at its ends (same connect group, overlapping in
// elevation, continuing through elements whose own end is at the same node).
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "Host/ElementModel/LineCalculator/QTKLineCalculator.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculatorImpl.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace LineTest {

struct TElement {
    int id = 0;
    TVRMCustomLine2d axis;
    double width = 240;
    double axisOffset = 120;
    int group = 0;  // elements of one group join
    double bottom = 0;
    double top = 3000;
    double leftLayer = 0;  // insulating layers
    double rightLayer = 0;
};

class TTestLineEdo : public TInterfacedObject, public IQTKLineEdoInfo, public IQTKLineEdoInfoProvider {
public:
    explicit TTestLineEdo(TElement e) : e_(std::move(e)) {}

    const TElement& Element() const { return e_; }
    TQTKLineEdoInfoArray start, end;

    int GetID() override { return e_.id; }
    TVRMCustomLine2d GetLine() override { return e_.axis; }
    double GetWidth() override { return e_.width; }
    double GetAxisOffset() override { return e_.axisOffset; }
    bool IsMidlineConnectable() override { return true; }
    double GetActualWidth() override { return e_.width + e_.leftLayer + e_.rightLayer; }
    double GetActualAxisOffset() override { return e_.axisOffset + e_.leftLayer; }
    IQTKLineShape* GetShape() override { return nullptr; }
    IRDXRecord* GetRecord() override { return nullptr; }
    TQTKLineEdoInfoArray GetLineEdoInfos() override { return {}; }

    TQTKLineEdoInfoArray GetStartLineEdoInfos() override { return start; }
    TQTKLineEdoInfoArray GetEndLineEdoInfos() override { return end; }
    TQTKLineEdoInfoArray GetStartSameKindLineEdoInfos() override { return start; }
    TQTKLineEdoInfoArray GetEndSameKindLineEdoInfos() override { return end; }
    Ref<IQTKConnectedEdoIDInfo> GetConnectedEdoIDInfo() override { return nullptr; }

private:
    TElement e_;
};

enum class TCalcKind { Midline, Actual, OnlyMaterial, Attach };

struct TLines {
    TVRMCustomLine2d mid, left, right;
    Ref<IQTKConnectedEdoIDInfo> info;
    int key = 0;
    double startExt = 0, endExt = 0;

    std::vector<int> StartIDs() const { return Ids(true); }
    std::vector<int> EndIDs() const { return Ids(false); }

private:
    std::vector<int> Ids(bool atStart) const
    {
        const auto* ids = dynamic_cast<const TQTKConnectedEdoIDInfo*>(info.get());
        return atStart ? ids->GetStart(key).ids : ids->GetEnd(key).ids;
    }
};

class TModel {
public:
    TModel() = default;
    explicit TModel(const std::vector<TElement>& elements)
    {
        for (const TElement& e : elements)
            Add(e);
    }
    TModel(const TModel&) = delete;
    TModel& operator=(const TModel&) = delete;
    // The neighbour lists refer to each other: drop them so that the elements go.
    ~TModel()
    {
        for (const Ref<TTestLineEdo>& item : items_)
            item->start.clear(), item->end.clear();
    }

    // Family priority of element ids (higher takes precedence); the pair callback may be replaced.
    std::map<int, int> rank;
    TQTKLinePriorityFunc priority = [this](IQTKLineEdoInfo* a, IQTKLineEdoInfo* b) {
        return Rank(a->GetID()) - Rank(b->GetID());
    };

    TTestLineEdo* Add(TElement e)
    {
        items_.push_back(MakeRef<TTestLineEdo>(std::move(e)));
        linked_ = false;
        return items_.back().get();
    }
    TTestLineEdo* Get(int id) const
    {
        for (const Ref<TTestLineEdo>& item : items_)
            if (item->GetID() == id)
                return item.get();
        return nullptr;
    }

    // Builds every element's start and end lists.
    void Link()
    {
        for (const Ref<TTestLineEdo>& item : items_) {
            item->start = Collect(item.get(), true);
            item->end = Collect(item.get(), false);
        }
        linked_ = true;
    }

    TLines Calc(int id, TCalcKind kind = TCalcKind::Actual, bool axisOnly = false, bool actualWidth = false)
    {
        if (!linked_)
            Link();
        TTestLineEdo* self = Get(id);
        TLineCalcArgs args;
        args.self = self;
        args.provider = self;
        args.priority = priority;
        args.bottomLevel = [this](IQTKLineEdoInfo* a, IQTKLineEdoInfo* b, const TVRMPoint2d&) {
            return CompareValue(Get(b->GetID())->Element().bottom, Get(a->GetID())->Element().bottom);
        };
        args.topLevel = [this](IQTKLineEdoInfo* a, IQTKLineEdoInfo* b, const TVRMPoint2d&) {
            return CompareValue(Get(a->GetID())->Element().top, Get(b->GetID())->Element().top);
        };
        args.attachMode = kind == TCalcKind::Attach;
        args.actualWidth = actualWidth;
        args.elementType = self->Element().group;
        std::unique_ptr<TQTKLineCalculator> calc;
        switch (kind) {
            case TCalcKind::Midline:
                calc = std::make_unique<TQTKMidlineCalculator>(args);
                break;
            case TCalcKind::Actual:
                calc = std::make_unique<TQTKActualMiddleCalculator>(args);
                break;
            case TCalcKind::OnlyMaterial:
                calc = std::make_unique<TQTKActualMiddleCalculatorOnlyMaterialCalculator>(args);
                break;
            case TCalcKind::Attach:
                calc = std::make_unique<TQTKAttachWallfaceZEntMiddleCalculator>(args);
                break;
        }
        TLines r;
        r.key = id;
        if (axisOnly)
            calc->AxisCalculate(r.mid, r.left, r.right, r.info);
        else
            calc->Calculate(r.mid, r.left, r.right, r.info);
        CalcLineEDOExtendLength(r.mid, r.endExt, r.startExt, -1);
        return r;
    }

    const std::vector<Ref<TTestLineEdo>>& Items() const { return items_; }

private:
    int Rank(int id) const
    {
        const auto it = rank.find(id);
        return it == rank.end() ? 0 : it->second;
    }

    static bool Overlap(const TElement& a, const TElement& b)
    {
        return std::min(a.top, b.top) - std::max(a.bottom, b.bottom) >= 0.1;
    }

    // Every element meeting at one end, continuing through the ends of those met at the node.
    TQTKLineEdoInfoArray Collect(TTestLineEdo* self, bool atStart) const
    {
        TQTKLineEdoInfoArray found;
        std::set<int> visited{self->GetID()};
        std::function<void(TTestLineEdo*, bool)> visit = [&](TTestLineEdo* current, bool currentStart) {
            for (const Ref<TTestLineEdo>& other : items_) {
                if (visited.count(other->GetID()) || other->Element().group != self->Element().group ||
                    !Overlap(self->Element(), other->Element()))
                    continue;
                bool endFlag = false, startFlag = false;
                if (!IsIntersect(current, currentStart, other.get(), endFlag, startFlag))
                    continue;
                visited.insert(other->GetID());
                found.push_back(Ref<IQTKLineEdoInfo>(other.get()));
                if (startFlag)
                    visit(other.get(), true);
                if (endFlag)
                    visit(other.get(), false);
            }
        };
        visit(self, atStart);
        return found;
    }

    std::vector<Ref<TTestLineEdo>> items_;
    bool linked_ = false;
};

inline TVRMCustomLine2d Seg(double x0, double y0, double x1, double y1)
{
    return TVRMCustomLine2d({x0, y0}, {x1, y1});
}

}  // namespace LineTest
