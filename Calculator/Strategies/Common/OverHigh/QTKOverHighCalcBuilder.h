// The over-height partition that the builders of beams, walls, piers,
// columns, tie-column indentings and column caps share (the slab builders
// derive from it too).
//
// A member whose top T lies more than the critical height C above its bottom
// elevation B is over height. Its solid (and its formwork shell) is cut
// horizontally into pieces, each weighted by how far it lies above; the
// host's over-height calculators then give the weighted volume and area and
// take deductions piece by piece. Six settings keys of the element kind's
// settings table drive it (lengths in m, read as mm):
//   "OverHighCriticalHeight"     C
//   "OverHighPartitionHeight"    H, the layer height
//   "OverHighStartCalcHeight"    start offset S (methods 0-2) and start height S'
//   "OverHighPartitionMethod"    0 one piece, weight 1; 1 one piece weighted by the
//                                excess height in m; 2 one piece weighted N; 3 layers
//   "OverHighRoundMethod"        0 floor, 1 ceiling, other: the family's rounding of N
//   "OverHighTopElevCalcMethod"  how T is found (the family's table)
// N = (T' - B - S') / H rounded, T' the count top (T unless the family counts
// to another top, as slabs do). A start height that is null or missing from
// the table is taken as C, and the start offset then puts the cut just below
// the element (its lowest point less B, less a margin), so one piece holds it
// whole. A partition height of 0 or less (or null) makes no layer, and N never
// exceeds CQTKOverHighMaxLayerCount.
//
// A family's builder answers the hooks: bottom elevation, top elevation by
// method, the value list's top and where it goes, the start margin, the
// rounding of other round methods, what an unknown partition method does, and
// the pieces' second coefficient and reference solid. One builder serves one
// rule call; it takes no lock (the element objects guard their stores).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKFloatList.h"

class TVRMOverhighSolidCalcItem3d;
class TVRMOverhighShellCalcItem3d;

// No partition has more layers than this.
inline constexpr int CQTKOverHighMaxLayerCount = 1000;

// One layer of a partition: the piece between two elevations (the highest one
// reaches the element's top) and its weight.
struct TQTKOverHighLayer {
    double bottom = 0.0;
    double top = 0.0;
    double weight = 0.0;
};

// One cut: the part above z is a piece of that weight.
struct TQTKOverHighCut {
    double z = 0.0;
    double weight = 0.0;
};

class TQTKOverHighCalcBuilder {
public:
    virtual ~TQTKOverHighCalcBuilder();
    TQTKOverHighCalcBuilder(const TQTKOverHighCalcBuilder&) = delete;
    TQTKOverHighCalcBuilder& operator=(const TQTKOverHighCalcBuilder&) = delete;

    // False on a foundation floor; otherwise T - B above C (tolerance 0.0010123456789).
    virtual bool IsOverHigh();

    // The partition as layers in ascending order, computed without cutting
    // (the pieces a volume or formwork build makes, bottom up).
    std::vector<TQTKOverHighLayer> GetLayers();

    // The value list of the last volume build (nil before); the caller may take it.
    TFloatList* GetValueList() const noexcept { return valueList_.get(); }
    std::unique_ptr<TFloatList> TakeValueList() noexcept { return std::move(valueList_); }

    // Derived values (mm). Only the bottom elevation is kept once computed.
    double GetBottomElev();
    double GetTopElev();
    // The top the layer count N runs to: T, unless the family counts to another top.
    virtual double GetCountTopElev() { return GetTopElev(); }
    double GetCriticalHeight() const;
    double GetPartitionHeight() const;
    double GetStartOffset();
    double GetStartHeight() const;
    int GetPartitionMethod() const;
    int GetRoundMethod() const;
    int GetTopElevCalcMethod() const;
    int GetPartitionCount();

    IRDXRecord* GetSettingsRow() const noexcept { return settingsRow_; }
    IQTKCalculatorEDO* GetElementEDO() const noexcept { return edo_.get(); }
    IQTKElementDrawObj* GetDrawObj() const noexcept { return drawObj_; }
    const RecordRef& GetSubjectRecord() const noexcept { return subject_; }
    const TableSourceRef& GetRuleContext() const noexcept { return ruleContext_; }
    bool GetArcFlag() const noexcept { return arcFlag_; }

protected:
    // The settings row is row 0 of SettingsTable in the rule context; the
    // element object is the subject's, prepared. Business is kept, not read.
    TQTKOverHighCalcBuilder(const RecordRef& subject, const TableSourceRef& business, const TableSourceRef& ruleContext,
                            std::string_view settingsTable);

    // --- hooks
    virtual double CalcBottomElev() = 0;
    virtual double CalcTopElev(int method) = 0;
    // The element's top that the value list carries (and the highest layer reaches).
    virtual double GetValueListTop() = 0;
    // The value list starts with the top (walls) instead of ending with it.
    virtual bool IsTopFirstInValueList() const { return false; }
    // Lowest point of the solid the start offset is measured from.
    virtual double GetLowestElev();
    // The cut of a null start offset lies this far below the lowest point.
    virtual double GetStartMargin() const { return 1.0; }
    // Other round methods: host Round (false) or floor((x + H/2) / H) (true).
    virtual bool IsRoundByHalfLayer() const { return false; }
    // The method a build uses: any unknown one means layers here; the column
    // family raises its assertion instead.
    virtual int CheckPartitionMethod(int method, bool forVolume);
    // The second coefficient and reference solid of every piece.
    virtual double GetPieceCoefficient() const { return 1.0; }
    virtual std::unique_ptr<TVRMPolyhedron3d> MakeReferenceSolid();
    // The elevation at or below which the soffit of a piece made from a
    // solid's faces stays ("BottomElev").
    virtual double GetSoffitElev();

    // --- cutting
    // The cuts of a partition method in cut order (highest first).
    std::vector<TQTKOverHighCut> PlanCuts(int method);
    // Each cuts at z, adds the part above as a piece of the weight and returns the part below.
    std::unique_ptr<TVRMPolyhedron3d> AddSolidPiece(TVRMOverhighSolidCalc3d& calc, const TVRMPolyhedron3d& solid,
                                                    double z, double weight, TFloatList& values);
    std::unique_ptr<TVRMPolyhedronShell3d> AddShellPiece(TVRMOverhighShellCalc3d& calc,
                                                         const TVRMPolyhedronShell3d& shell, double z, double weight);
    // The piece is the faces of the part above that are not horizontal, with
    // its downward level faces when IncludeSoffit and the soffit is at or above z.
    std::unique_ptr<TVRMPolyhedron3d> AddSolidFacePiece(TVRMOverhighShellCalc3d& calc, const TVRMPolyhedron3d& solid,
                                                        double z, double weight, bool includeSoffit);

    // --- builds: a new calculator; an exception releases it (and the list) and passes on.
    // Volume: cuts the solid, and leaves a new value list (cuts and top in the family's order).
    std::unique_ptr<TVRMOverhighSolidCalc3d> BuildSolidCalc(const TVRMPolyhedron3d& solid);
    // Formwork cut from a shell.
    std::unique_ptr<TVRMOverhighShellCalc3d> BuildShellCalc(const TVRMPolyhedronShell3d& shell);
    // Formwork made from the faces of a solid's pieces.
    std::unique_ptr<TVRMOverhighShellCalc3d> BuildSolidFaceCalc(const TVRMPolyhedron3d& solid, bool includeSoffit);

    void SetArcFlag(bool value) noexcept { arcFlag_ = value; }
    void SetValueList(std::unique_ptr<TFloatList> list) noexcept { valueList_ = std::move(list); }
    // A setting (m) as mm; 0 when the row, field or value is missing.
    double SettingMM(std::string_view key) const;
    int SettingInteger(std::string_view key) const;
    // The "InternalQtyCalcRule" table of the settings row's database (nil
    // without one), and whether its row of an internal quantity names a rule.
    const IRDXTable* GetQtyRuleTable() const;
    static bool HasQtyRule(const IRDXTable* rules, int qtyId);

private:
    RecordRef subject_;
    TableSourceRef business_;
    TableSourceRef ruleContext_;
    IRDXRecord* settingsRow_ = nullptr;
    Ref<IQTKCalculatorEDO> edo_;
    IQTKElementDrawObj* drawObj_ = nullptr;
    std::unique_ptr<TFloatList> valueList_;
    std::optional<double> bottom_;
    bool arcFlag_ = false;
};

// The larger of a line element's end tops ("StartPtTopElev", "EndPtTopElev";
// the line shape's where a property is null).
double GetLineEntMaxTopElev(IRDXRecord* record);
