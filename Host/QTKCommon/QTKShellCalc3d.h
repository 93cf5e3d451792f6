// Area calculators over shells (finish faces, formwork faces). A calculator
// owns its shell and keeps the remainder: a subtraction removes only what is
// still there and returns that area times the factor (mm2).
//
// A subtraction without a record shapes the shell but books nothing: the
// faces it takes leave the remaining shell (geometric callers and details see
// the gap) and it returns their area, but the calculator's area keeps them as
// unbooked pieces until a subtraction with a record covers them; that one
// books them (added to what it returns), and no piece is booked twice. The
// area is (original - everything booked) x factor.
//
// Superposition kind sets (bit values): 1 = {0} also removes faces a solid
// face touches from the front (contact), 2 = {1} faces lying on a solid face
// of the same orientation (flush), 3 both; the inside of the solid always goes.
//
// Detail mode: a calculator with a record writes its original area as a
// detail when it is made; a subtraction or cut with writeDetail set writes the
// removed faces as a detail of the deducting record (text: the removed part's
// formula with formulaText set when there is one, else the area in m2).
// A calculator is used by one thread at a time, as the volume calculators.
#pragma once

#include <memory>
#include <vector>

#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXIntf.h"

class TVRMPlane3d;
class TVRMPolyhedron3d;
class TVRMPolyhedronShell3d;

class TQTKShellCalc3d {
public:
    // Takes the shell over.
    TQTKShellCalc3d(std::unique_ptr<TVRMPolyhedronShell3d> shell, RecordRef record, double factor = 1.0);
    // elementSolid: the element's solid the shell belongs to (taken over; may be nil).
    TQTKShellCalc3d(std::unique_ptr<TVRMPolyhedronShell3d> shell, RecordRef record,
                    std::unique_ptr<TVRMPolyhedron3d> elementSolid, double factor);
    virtual ~TQTKShellCalc3d();
    TQTKShellCalc3d(const TQTKShellCalc3d&) = delete;
    TQTKShellCalc3d& operator=(const TQTKShellCalc3d&) = delete;

    // (Remaining shell + unbooked pieces) x factor.
    virtual double GetArea() const;
    // Recomputes the area from the shell and the unbooked pieces and returns it.
    double CalcArea();
    const TVRMPolyhedronShell3d* GetShell() const noexcept { return shell_.get(); }
    const TVRMPolyhedron3d* GetElementSolid() const noexcept { return elementSolid_.get(); }
    const RecordRef& GetRecord() const noexcept { return record_; }
    double GetFactor() const noexcept { return factor_; }
    void SetFactor(double factor);
    // Set by the creator when the shell lies on an arc (chooses the expression writer).
    bool GetIsArc() const noexcept { return isArc_; }
    void SetIsArc(bool value) noexcept { isArc_ = value; }
    // Set by the creator when the factor is a correction ratio (the exact area
    // of a curved surface over the area of its facets): removed parts are then
    // written as plain values, a formula over facets meaning nothing.
    bool GetIsRatio() const noexcept { return isRatio_; }
    void SetIsRatio(bool value) noexcept { isRatio_ = value; }

    // Removes the part the solid takes (superposition kind set kinds); returns
    // the area removed x factor. Without a record the part is not booked (see
    // above); with one, the unbooked pieces it covers are booked too.
    // detailSolid: shown in the detail (input only).
    virtual double Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record, int kinds,
                            const TVRMPolyhedron3d* detailSolid = nullptr, bool writeDetail = true,
                            bool formulaText = true);
    // Adds copies of the shell's faces; returns the area added x factor.
    double AddShell(const TVRMPolyhedronShell3d& shell, const IRDXRecord* record,
                    const TVRMPolyhedron3d* solid = nullptr);
    // Removes the part on the plane's normal side (unbooked pieces there included).
    void Cut(const TVRMPlane3d& plane, const IRDXRecord* record, bool writeDetail = true, bool formulaText = true);
    // Empties the shell: the area becomes 0.
    void Clear();

    // Subtractions that left faces unresolved (those faces keep their area), in order.
    bool HasFailures() const noexcept { return !failures_.empty(); }
    const std::vector<TQTKGeometryFailure>& GetFailures() const noexcept { return failures_; }

protected:
    // Without the original-area detail (the pieces of an over-height calculator).
    TQTKShellCalc3d(std::unique_ptr<TVRMPolyhedronShell3d> shell, RecordRef record, double factor, bool unrecorded);

private:
    void WriteRemovedDetail(const TVRMPolyhedronShell3d& removed, double amount, const IRDXRecord* record,
                            const TVRMPolyhedron3d* shown, bool formulaText) const;
    // Books what the solid covers of the unbooked pieces; returns that area
    // (the covered faces go to claimed when given).
    double ClaimUnbooked(const TVRMPolyhedron3d& solid, int kinds, TVRMPolyhedronShell3d* claimed);
    double UnbookedArea() const;

    std::unique_ptr<TVRMPolyhedronShell3d> shell_;
    std::unique_ptr<TVRMPolyhedron3d> elementSolid_;
    RecordRef record_;
    double factor_;
    double area_ = 0.0;  // of the shell and the unbooked pieces, without the factor
    std::vector<std::unique_ptr<TVRMPolyhedronShell3d>> unbooked_;
    bool isArc_ = false;
    bool isRatio_ = false;
    std::vector<TQTKGeometryFailure> failures_;
};

// A shell calculator that also measures the remaining perimeter.
class TQTKShellPerimterCalcItem3d : public TQTKShellCalc3d {
public:
    using TQTKShellCalc3d::TQTKShellCalc3d;
    // Sum of the face outlines of what remains (mm).
    double GetPerimter() const;
};

// The bottom of a raft: its flat and its sloped faces measured as one shell.
class TQTKFDBottomAreaShellCalc3d : public TQTKShellCalc3d {
public:
    TQTKFDBottomAreaShellCalc3d(std::unique_ptr<TVRMPolyhedronShell3d> bottomShell, double factor, RecordRef record,
                                std::unique_ptr<TVRMPolyhedronShell3d> inclinedShell);
    using TQTKShellCalc3d::Subtract;
    // lastFlag is accepted for the callers and has no effect.
    double Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record, int kinds,
                    const TVRMPolyhedron3d* detailSolid, bool writeDetail, bool formulaText, bool lastFlag);
};

// One piece of an over-height area: counted with weight (x ratio when the ratio flag is set).
class TVRMOverhighShellCalcItem3d : public TQTKShellCalc3d {
public:
    TVRMOverhighShellCalcItem3d(std::unique_ptr<TVRMPolyhedronShell3d> piece, RecordRef record,
                                std::unique_ptr<TVRMPolyhedron3d> referenceSolid, double weight, double ratio = 1.0,
                                bool isArc = false, bool useRatio = false);
    ~TVRMOverhighShellCalcItem3d() override;
    double GetWeight() const noexcept { return weight_; }
    double GetRatio() const noexcept { return ratio_; }
    bool GetUseRatio() const noexcept { return useRatio_; }
    // The piece's parts may be merged into one term (a piece on an arc).
    bool GetMergeFlag() const noexcept { return GetIsArc(); }
    const TVRMPolyhedron3d* GetReferenceSolid() const noexcept { return referenceSolid_.get(); }
    // The piece's counted area (area x weight [x ratio]).
    double GetQuantity() const { return GetArea(); }

private:
    std::unique_ptr<TVRMPolyhedron3d> referenceSolid_;
    double weight_, ratio_;
    bool useRatio_;
};

// Over-height area: pieces added by the builders, each with its weight.
class TVRMOverhighShellCalc3d : public TVRMOverhighCalc3d<TVRMOverhighShellCalcItem3d> {
public:
    // Sum over the pieces of their counted areas.
    double GetArea() const { return Total(); }
    // Subtracts from every piece; returns the weighted area removed.
    double Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record, int kinds,
                    const TVRMPolyhedron3d* detailSolid = nullptr, bool writeDetail = true, bool formulaText = true)
    {
        return SubtractAll(nullptr, solid, record, kinds, detailSolid, writeDetail, formulaText);
    }
    // The same, with the weighted area removed from each piece.
    double Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record, int kinds, std::vector<double>& perPiece,
                    bool writeDetail = true, bool formulaText = true)
    {
        return SubtractAll(&perPiece, solid, record, kinds, nullptr, writeDetail, formulaText);
    }
};
