// What lies below (or above) an element: the search behind the bottom
// elevation of over-height partitions and scaffolds.
//
// An analyzer looks, for one analysed element, for the slabs, rafts, stairs
// and (on request) foundations whose plan outlines cover it, nearest first,
// and stops once they cover it. Each band found is an elevation band of one
// candidate element (on a standard floor repeated N times, one band per
// storey). TQTKOverHighBottomElevCalculator turns the bands into one
// elevation; the floor area object reads them directly.
//
// Elevations are mm; floor-table values in metres are multiplied by 1000.
#pragma once

#include <memory>
#include <vector>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"

class IQTKElementDrawObj;
class TQTKLinearCalc2d;

// No bound ("-2147483647").
inline constexpr double CQTKNoLowerBound = -2147483647.0;

// One elevation band of one candidate element.
class IQTKElevEDOInfo : public virtual IInterface {
public:
    // Band bottom.
    virtual double GetFirstElev() const = 0;
    virtual IQTKElementDrawObj* GetDrawObj() const = 0;
    // Band top.
    virtual double GetSecondElev() const = 0;
    // The top used to place the band; for a spiral slab the elevation at
    // which the full spiral angle is reached.
    virtual double GetRefElev() const = 0;
    virtual void SetFirstElev(double value) = 0;
    virtual void SetDrawObj(IQTKElementDrawObj* drawObj) = 0;
    virtual void SetSecondElev(double value) = 0;
    virtual void SetRefElev(double value) = 0;
    // Plan outline of the band, built on the first call and kept (the
    // candidate's shape outline; for a spiral slab the piece of the ring
    // between the band's two elevations).
    virtual const TVRMMultiPolygon2d& GetPolygon() = 0;
};

using TQTKElevEDOInfoList = std::vector<Ref<IQTKElevEDOInfo>>;

class TQTKElevEDOInfo final : public TInterfacedObject, public IQTKElevEDOInfo {
public:
    // The draw object is not counted (the model owns it).
    TQTKElevEDOInfo(IQTKElementDrawObj* drawObj, double refElev, double secondElev, double firstElev);

    double GetFirstElev() const override { return firstElev_; }
    IQTKElementDrawObj* GetDrawObj() const override { return drawObj_; }
    double GetSecondElev() const override { return secondElev_; }
    double GetRefElev() const override { return refElev_; }
    void SetFirstElev(double value) override { firstElev_ = value; }
    void SetDrawObj(IQTKElementDrawObj* drawObj) override { drawObj_ = drawObj; }
    void SetSecondElev(double value) override { secondElev_ = value; }
    void SetRefElev(double value) override { refElev_ = value; }
    const TVRMMultiPolygon2d& GetPolygon() override;
    // Same draw object and elevations, no polygon.
    Ref<TQTKElevEDOInfo> Copy() const;

private:
    ~TQTKElevEDOInfo() override;

    IQTKElementDrawObj* drawObj_;
    double refElev_;
    double secondElev_;
    double firstElev_;
    std::unique_ptr<TVRMMultiPolygon2d> spiralPolygon_;
};

// The piece of a spiral slab's ring between two elevations, placed by the
// slab's point shape (empty without one).
std::unique_ptr<TVRMMultiPolygon2d> BuildSpiralSlabBandPolygon(const IQTKElementDrawObj& drawObj, double refElev,
                                                               double firstElev, double secondElev);

struct TQTKSlabElev {
    double First = 0.0;
    double Second = 0.0;
};
using TQTKSlabElevDynArray = std::vector<TQTKSlabElev>;

// The bands condensed: Elevs[i].First is the top surface of band i at its
// lowest point over the element (nearest band first).
struct TQTKOverHighBottomElevInfo {
    TQTKSlabElevDynArray Elevs;
    bool FirstInBand = false;
    bool HasSpiralSlab = false;
    bool NotCovered = false;
    bool HasOtherElement = false;
};

// ---------------------------------------------------------------------------
// Coverage of the analysed element by the bands taken so far.

class TQTKElevEDOCalculator {
public:
    virtual ~TQTKElevEDOCalculator() = default;
    virtual bool IsCovered() const = 0;
    // Takes the polygon when it covers enough of what is still uncovered.
    virtual bool TryCover(const TVRMMultiPolygon2d& polygon) = 0;
    virtual bool IsValid() const = 0;

protected:
    int Mark = 0;
    double Tolerance = 0.0;
};

// The outline of a point or face element (for a slab, less its walls, beams
// and columns); Tolerance is an area (mm2).
class TQTKPointFaceElevEDOCalculator final : public TQTKElevEDOCalculator {
public:
    TQTKPointFaceElevEDOCalculator(IQTKCalculatorEDO* edo, double tolerance);
    bool IsCovered() const override;
    bool TryCover(const TVRMMultiPolygon2d& polygon) override;
    bool IsValid() const override;

private:
    double RemainingArea = 0.0;
    double FullArea = 0.0;
    std::unique_ptr<TVRMMultiPolygon2d> Remaining;
    TVRMMultiPolygon2d Outline;
};

// The two side lines of a line element; Tolerance is a length (mm).
class TQTKLineElevEDOCalculator final : public TQTKElevEDOCalculator {
public:
    // An element object without side lines is an assertion failure.
    TQTKLineElevEDOCalculator(IQTKCalculatorEDO* edo, double tolerance);
    ~TQTKLineElevEDOCalculator() override;
    bool IsCovered() const override;
    bool TryCover(const TVRMMultiPolygon2d& polygon) override;
    bool IsValid() const override;

private:
    std::unique_ptr<TQTKLinearCalc2d> LeftCalc;
    std::unique_ptr<TQTKLinearCalc2d> RightCalc;
};

// ---------------------------------------------------------------------------
// Analyzers

class TQTKCustomOverHighBottomElevAnalyzer {
public:
    virtual ~TQTKCustomOverHighBottomElevAnalyzer() = default;

    virtual TVRMBox3d GetSearchBox() = 0;
    // Whether a candidate band (bottom and top elevation) may lie below the element.
    virtual bool AcceptsBand(IQTKElementDrawObj* drawObj, double bottom, double top) = 0;
    virtual bool AcceptsStairs() = 0;
    virtual bool IsSearchingDown() = 0;
    virtual bool AcceptsSlopedSlabs() = 0;
    virtual bool IncludesFoundations() { return IncludeFoundations; }
    virtual bool IsAscending() = 0;
    // Whether the band holds the element's bottom.
    virtual bool IsInBand(IQTKElevEDOInfo& band) = 0;
    virtual std::unique_ptr<TQTKElevEDOCalculator> CreateElevCalculator() = 0;
    virtual void SetBottomMethod(int /*method*/) { IncludeFoundations = false; }
    virtual TQTKElementTypeSet GetFoundationTypes() { return {}; }
    // The plan point at which a line-shaped foundation is measured; False: its ends' mean.
    virtual bool GetProbePoint(TVRMPoint2d& /*point*/) { return false; }

    // The search: Table is the property table of the analysed element's
    // record (the "Floor" table and the candidates are reached through it).
    // The bands found, nearest first; True when they cover the element.
    bool CollectElevInfos(const TVRMMultiPolygon2d& outline, const IRDXTable* table, int regionId, int recordId,
                          TQTKElevEDOInfoList& elevInfos, double lowerBound);

protected:
    bool IncludeFoundations = false;
};

class TQTKOverHighBottomElevAnalyzer : public TQTKCustomOverHighBottomElevAnalyzer {
public:
    explicit TQTKOverHighBottomElevAnalyzer(IQTKElementDrawObj* source);

    bool IsSearchingDown() override { return true; }
    bool AcceptsSlopedSlabs() override { return false; }
    bool IsAscending() override { return true; }

    // LowerBound: every band bottom must exceed it (CQTKNoLowerBound: none).
    bool FindBottomElement(TQTKElevEDOInfoList& elevInfos, double lowerBound);
    void Analyze(TQTKOverHighBottomElevInfo& info, double lowerBound);
    // The element belongs to a stair (its parent is one, type 29).
    static bool IsStairPart(const IQTKElementDrawObj* drawObj);

protected:
    // The analysed element's object (made and prepared on request).
    Ref<IQTKCalculatorEDO> SourceEDO();

    IQTKElementDrawObj* Source;
};

// Walls and other line elements standing on something.
class TQTKWallOverHighBottomElevAnalyzer : public TQTKOverHighBottomElevAnalyzer {
public:
    using TQTKOverHighBottomElevAnalyzer::TQTKOverHighBottomElevAnalyzer;
    TVRMBox3d GetSearchBox() override;
    bool AcceptsBand(IQTKElementDrawObj* drawObj, double bottom, double top) override;
    bool AcceptsStairs() override { return true; }
    bool IsInBand(IQTKElevEDOInfo& band) override;
    std::unique_ptr<TQTKElevEDOCalculator> CreateElevCalculator() override;
    // Method 6 adds foundation beams and strip foundations.
    void SetBottomMethod(int method) override { IncludeFoundations = method == 6; }
    TQTKElementTypeSet GetFoundationTypes() override;
};

class TQTKColumnOverHighBottomElevAnalyzer : public TQTKOverHighBottomElevAnalyzer {
public:
    using TQTKOverHighBottomElevAnalyzer::TQTKOverHighBottomElevAnalyzer;
    TVRMBox3d GetSearchBox() override;
    bool AcceptsBand(IQTKElementDrawObj* drawObj, double bottom, double top) override;
    bool AcceptsStairs() override { return true; }
    bool IsInBand(IQTKElevEDOInfo& band) override;
    // Area tolerance 0: a band that only touches the column holds.
    std::unique_ptr<TQTKElevEDOCalculator> CreateElevCalculator() override;
    // Method 3 adds column bases, strip and isolated foundations and pile caps.
    void SetBottomMethod(int method) override { IncludeFoundations = method == 3; }
    TQTKElementTypeSet GetFoundationTypes() override;
    bool GetProbePoint(TVRMPoint2d& point) override;
};

class TQTKSlabOverHighBottomElevAnalyzer : public TQTKOverHighBottomElevAnalyzer {
public:
    using TQTKOverHighBottomElevAnalyzer::TQTKOverHighBottomElevAnalyzer;
    TVRMBox3d GetSearchBox() override;
    bool AcceptsBand(IQTKElementDrawObj* drawObj, double bottom, double top) override;
    bool AcceptsStairs() override { return true; }
    bool IsInBand(IQTKElevEDOInfo&) override { return true; }
    std::unique_ptr<TQTKElevEDOCalculator> CreateElevCalculator() override;
};

class TQTKBeamOverHighBottomElevAnalyzer : public TQTKOverHighBottomElevAnalyzer {
public:
    using TQTKOverHighBottomElevAnalyzer::TQTKOverHighBottomElevAnalyzer;
    TVRMBox3d GetSearchBox() override;
    bool AcceptsBand(IQTKElementDrawObj* drawObj, double bottom, double top) override;
    bool AcceptsStairs() override { return true; }
    bool IsInBand(IQTKElevEDOInfo&) override { return true; }
    std::unique_ptr<TQTKElevEDOCalculator> CreateElevCalculator() override;
};

// Upward searches: what lies above a floor area or a hung ceiling.
class TQTKFloorAreaOverHighBottomElevAnalyzer : public TQTKOverHighBottomElevAnalyzer {
public:
    using TQTKOverHighBottomElevAnalyzer::TQTKOverHighBottomElevAnalyzer;
    TVRMBox3d GetSearchBox() override;
    bool AcceptsBand(IQTKElementDrawObj* drawObj, double bottom, double top) override;
    bool AcceptsStairs() override { return false; }
    bool IsSearchingDown() override { return false; }
    bool AcceptsSlopedSlabs() override { return true; }
    bool IsAscending() override { return false; }
    bool IsInBand(IQTKElevEDOInfo&) override { return true; }
    std::unique_ptr<TQTKElevEDOCalculator> CreateElevCalculator() override;

protected:
    // The elevation the search starts from.
    virtual double BaseElev();
};

class TQTKHungCeilingOverHighBottomElevAnalyzer final : public TQTKFloorAreaOverHighBottomElevAnalyzer {
public:
    using TQTKFloorAreaOverHighBottomElevAnalyzer::TQTKFloorAreaOverHighBottomElevAnalyzer;

protected:
    // The ceiling's elevation.
    double BaseElev() override;
};

// A class reference: makes an analyzer of one kind for an element.
using TQTKOverHighBottomElevAnalyzerClass =
    std::unique_ptr<TQTKOverHighBottomElevAnalyzer> (*)(IQTKElementDrawObj* source);

template <class T>
std::unique_ptr<TQTKOverHighBottomElevAnalyzer> MakeOverHighBottomElevAnalyzer(IQTKElementDrawObj* source)
{
    return std::make_unique<T>(source);
}
