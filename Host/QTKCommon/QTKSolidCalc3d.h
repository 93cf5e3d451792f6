// Volume calculators. A calculator owns the solid it measures and keeps the
// remainder: a subtraction removes from it only what is still there and
// returns that volume times the calculator's factor, so a space removed once
// is never removed again. Volumes are mm3.
//
// Detail mode (GIsDetailMode with a current detail container): a calculator
// with a record writes its original volume as a detail when it is made, and
// each subtraction with writeDetail set writes a detail of the deducting
// record (the display solid, or a copy of the subtracted solid, and the
// amount: the removed part's formula with formulaText set when there is one,
// else the volume in m3). Details never change a quantity.
//
// A calculator is used by one thread at a time (the element object that keeps
// it serialises the rules that subtract from it).
#pragma once

#include <memory>
#include <vector>

#include "Host/RDX/RDXIntf.h"
#include "Host/Runtime/Assert.h"

class TVRMPolyhedron3d;

// A boolean of a calculator that the geometry refused after its retries: the
// calculator's shape stays as it was and the operation is recorded here, so
// that the rule's caller can report the element, the rule and the object
// instead of taking the unchanged quantity for a result.
struct TQTKGeometryFailure {
    RecordRef record;   // the deducting (or added) object's record; nil when none was given
    int objectId = -1;  // its record id, -1 without a record
    int kind = 0;       // CVRMBoolSubtract, CVRMBoolUnion, CVRMBoolIntersect
};

class TQTKSolidCalc3d {
public:
    // Takes the solid over.
    TQTKSolidCalc3d(std::unique_ptr<TVRMPolyhedron3d> solid, RecordRef record, double factor = 1.0);
    // secondSolid: the solid shown in the original-volume detail (taken over; may be nil).
    TQTKSolidCalc3d(std::unique_ptr<TVRMPolyhedron3d> solid, RecordRef record,
                    std::unique_ptr<TVRMPolyhedron3d> secondSolid, double factor);
    virtual ~TQTKSolidCalc3d();
    TQTKSolidCalc3d(const TQTKSolidCalc3d&) = delete;
    TQTKSolidCalc3d& operator=(const TQTKSolidCalc3d&) = delete;

    // (Original - everything booked) x factor: the remaining volume plus the
    // pieces that subtractions without a record took and no record has
    // claimed yet.
    virtual double GetVolume() const;
    // The remaining solid (nil after Clear).
    const TVRMPolyhedron3d* GetSolid() const noexcept { return solid_.get(); }
    const TVRMPolyhedron3d* GetSecondSolid() const noexcept { return secondSolid_.get(); }
    const RecordRef& GetRecord() const noexcept { return record_; }
    double GetFactor() const noexcept { return factor_; }
    void SetFactor(double factor) noexcept { factor_ = factor; }

    // Removes what the solid covers; returns the volume removed x factor.
    // Without a record the piece leaves the remaining solid (geometric
    // callers and details see the hole) but is not booked: the quantity keeps
    // it until a subtraction with a record covers it, which books it then
    // (added to what it returns), once.
    // detailSolid: shown in the detail instead of the subtracted solid (input only).
    virtual double Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record,
                            const TVRMPolyhedron3d* detailSolid = nullptr, bool writeDetail = true,
                            bool formulaText = true);
    // Adds the piece to the solid; returns the volume added x factor (0 for a
    // piece already inside). hostSolid: shown in the detail (input only).
    double Unite(const TVRMPolyhedron3d& piece, const IRDXRecord* record, const TVRMPolyhedron3d* hostSolid = nullptr,
                 bool writeDetail = true, bool formulaText = true);
    // The volume x factor; with writeExpr the record's volume expression is
    // written (GVolumeExprParser).
    double HandleVolumeExpr(bool writeExpr);
    // Drops the solid: the volume becomes 0.
    void Clear();

    // Booleans that failed on this calculator, in the order they were asked for.
    bool HasFailures() const noexcept { return !failures_.empty(); }
    const std::vector<TQTKGeometryFailure>& GetFailures() const noexcept { return failures_; }

protected:
    // Without the original-volume detail (the pieces of an over-height calculator).
    TQTKSolidCalc3d(std::unique_ptr<TVRMPolyhedron3d> solid, RecordRef record, double factor, bool unrecorded);

private:
    // Applies a boolean (union or difference) to the remainder; returns the volume change x factor.
    double Apply(const TVRMPolyhedron3d& solid, int kind, const IRDXRecord* record, const TVRMPolyhedron3d* shown,
                 bool writeDetail, bool formulaText);

    // Books what a subtraction with a record covers of the unbooked pieces; returns that volume.
    double ClaimUnbooked(const TVRMPolyhedron3d& solid);

    std::unique_ptr<TVRMPolyhedron3d> solid_;
    std::unique_ptr<TVRMPolyhedron3d> secondSolid_;
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> unbooked_;
    RecordRef record_;
    double factor_;
    std::vector<TQTKGeometryFailure> failures_;
};

// The failure entry of a boolean asked for by `record` (nil allowed). It is
// also noted for the calling thread, so that whoever called the rule learns of
// a failure on a calculator it never sees (one a rule built for itself).
TQTKGeometryFailure MakeGeometryFailure(const IRDXRecord* record, int kind);
// The failures noted on the calling thread since the last call, and forgets them.
std::vector<TQTKGeometryFailure> TakeThreadGeometryFailures();

// A volume calculator that keeps every subtraction (deducting record and volume removed).
class TVRMDividedSolidCalc3d : public TQTKSolidCalc3d {
public:
    struct TDivideItem {
        RecordRef record;
        double volume = 0.0;  // x factor
    };
    // flag is accepted for the callers and has no effect.
    TVRMDividedSolidCalc3d(RecordRef record, std::unique_ptr<TVRMPolyhedron3d> solid, bool flag, double factor = 1.0);

    double Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record,
                    const TVRMPolyhedron3d* detailSolid = nullptr, bool writeDetail = true,
                    bool formulaText = true) override;
    int GetDivideCount() const noexcept { return static_cast<int>(divides_.size()); }
    const TDivideItem& GetDivideItem(int index) const;

private:
    std::vector<TDivideItem> divides_;
};

// The divided volume calculator of slabs.
class TVRMSlabDividedSolidCalc3d : public TVRMDividedSolidCalc3d {
public:
    using TVRMDividedSolidCalc3d::TVRMDividedSolidCalc3d;
};

// One piece of an over-height volume: counted with weight x coefficient.
class TVRMOverhighSolidCalcItem3d : public TQTKSolidCalc3d {
public:
    TVRMOverhighSolidCalcItem3d(std::unique_ptr<TVRMPolyhedron3d> piece, RecordRef record,
                                std::unique_ptr<TVRMPolyhedron3d> referenceSolid, double weight,
                                double coefficient = 1.0);
    ~TVRMOverhighSolidCalcItem3d() override;
    double GetWeight() const noexcept { return weight_; }
    double GetCoefficient() const noexcept { return coefficient_; }
    const TVRMPolyhedron3d* GetReferenceSolid() const noexcept { return referenceSolid_.get(); }
    // The piece's counted volume (volume x weight x coefficient).
    double GetQuantity() const { return GetVolume(); }

private:
    std::unique_ptr<TVRMPolyhedron3d> referenceSolid_;
    double weight_, coefficient_;
};

// The list of pieces of an over-height calculator (Item: a calculator whose
// factor is the piece's weight).
template <class Item>
class TVRMOverhighCalc3d {
public:
    // Takes ownership.
    void Add(std::unique_ptr<Item> item)
    {
        if (item)
            items_.push_back(std::move(item));
    }
    int GetCount() const noexcept { return static_cast<int>(items_.size()); }
    Item* GetItem(int index) const
    {
        QTK_ASSERT(index >= 0 && index < GetCount());
        return items_[static_cast<size_t>(index)].get();
    }
    void Clear() noexcept { items_.clear(); }
    // Whether a boolean failed on any piece (each piece lists its own, GetFailures).
    bool HasFailures() const noexcept
    {
        for (const auto& item : items_)
            if (item->HasFailures())
                return true;
        return false;
    }

protected:
    double Total() const
    {
        double sum = 0.0;
        for (const auto& item : items_)
            sum += item->GetQuantity();
        return sum;
    }
    // Subtracts from every piece; perPiece (optional) receives each piece's share.
    template <class... Args>
    double SubtractAll(std::vector<double>* perPiece, Args&&... args)
    {
        if (perPiece)
            perPiece->clear();
        double sum = 0.0;
        for (auto& item : items_) {
            const double removed = item->Subtract(args...);
            if (perPiece)
                perPiece->push_back(removed);
            sum += removed;
        }
        return sum;
    }

private:
    std::vector<std::unique_ptr<Item>> items_;
};

// Over-height volume: pieces added by the builders, each with its weight.
class TVRMOverhighSolidCalc3d : public TVRMOverhighCalc3d<TVRMOverhighSolidCalcItem3d> {
public:
    // Sum over the pieces of volume x weight.
    double GetVolume() const { return Total(); }
    // Subtracts from every piece; returns the weighted volume removed.
    double Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record,
                    const TVRMPolyhedron3d* detailSolid = nullptr, bool writeDetail = true, bool formulaText = true)
    {
        return SubtractAll(nullptr, solid, record, detailSolid, writeDetail, formulaText);
    }
    // The same, with the weighted volume removed from each piece.
    double Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record, std::vector<double>& perPiece,
                    bool writeDetail = true, bool formulaText = true)
    {
        return SubtractAll(&perPiece, solid, record, nullptr, writeDetail, formulaText);
    }
};
