#include "Calculator/Strategies/Common/OverHigh/QTKOverHighCalcBuilder.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr const char* CCriticalHeight = "OverHighCriticalHeight";
constexpr const char* CPartitionHeight = "OverHighPartitionHeight";
constexpr const char* CStartCalcHeight = "OverHighStartCalcHeight";
constexpr const char* CPartitionMethod = "OverHighPartitionMethod";
constexpr const char* CRoundMethod = "OverHighRoundMethod";
constexpr const char* CTopElevCalcMethod = "OverHighTopElevCalcMethod";

// The horizontal plane at z whose cut returns the part above it.
TVRMPlane3d CutPlane(double z)
{
    return TVRMPlane3d(TVRMVector3d(0, 0, -1), TVRMPoint3d(0, 0, z), 0);
}

// Cuts the whole, then each rest, in plan order.
template <class Geometry, class CutOne>
void RunCuts(const std::vector<TQTKOverHighCut>& cuts, const Geometry& whole, CutOne cutOne)
{
    std::unique_ptr<Geometry> rest;
    const Geometry* current = &whole;
    for (const TQTKOverHighCut& cut : cuts) {
        rest = cutOne(*current, cut.z, cut.weight);
        current = rest.get();
    }
}

}  // namespace

TQTKOverHighCalcBuilder::TQTKOverHighCalcBuilder(const RecordRef& subject, const TableSourceRef& business,
                                                 const TableSourceRef& ruleContext, std::string_view settingsTable)
    : subject_(subject), business_(business), ruleContext_(ruleContext)
{
    QTK_ASSERT(subject_);
    settingsRow_ = GetSettingRow(ruleContext_, settingsTable);
    drawObj_ = GetRecordDrawObj(subject_.get());
    QTK_ASSERT(drawObj_);
    edo_ = GetCalcEDO(subject_.get(), true);
}

TQTKOverHighCalcBuilder::~TQTKOverHighCalcBuilder() = default;

double TQTKOverHighCalcBuilder::SettingMM(std::string_view key) const
{
    return FieldValueFloat(settingsRow_, key, 0.0) * 1000.0;
}

int TQTKOverHighCalcBuilder::SettingInteger(std::string_view key) const
{
    return FieldValueInteger(settingsRow_, key, 0);
}

const IRDXTable* TQTKOverHighCalcBuilder::GetQtyRuleTable() const
{
    const IRDXTable* settings = settingsRow_ ? settingsRow_->GetTable() : nullptr;
    const IRDXDatabase* database = settings ? settings->GetDatabase() : nullptr;
    return database ? database->GetTable("InternalQtyCalcRule") : nullptr;
}

bool TQTKOverHighCalcBuilder::HasQtyRule(const IRDXTable* rules, int qtyId)
{
    for (int i = 0; rules && i < rules->GetRowCount(); ++i) {
        const IRDXRecord* row = rules->GetRow(i);
        if (FieldValueInteger(row, "InternalQtyID", -1) == qtyId)
            return !row->IsNull("CalcRuleID");
    }
    return false;
}

double TQTKOverHighCalcBuilder::GetCriticalHeight() const
{
    return SettingMM(CCriticalHeight);
}

double TQTKOverHighCalcBuilder::GetPartitionHeight() const
{
    return SettingMM(CPartitionHeight);
}

int TQTKOverHighCalcBuilder::GetPartitionMethod() const
{
    return SettingInteger(CPartitionMethod);
}

int TQTKOverHighCalcBuilder::GetRoundMethod() const
{
    return SettingInteger(CRoundMethod);
}

int TQTKOverHighCalcBuilder::GetTopElevCalcMethod() const
{
    return SettingInteger(CTopElevCalcMethod);
}

double TQTKOverHighCalcBuilder::GetBottomElev()
{
    if (!bottom_)
        bottom_ = CalcBottomElev();
    return *bottom_;
}

double TQTKOverHighCalcBuilder::GetTopElev()
{
    return CalcTopElev(GetTopElevCalcMethod());
}

double TQTKOverHighCalcBuilder::GetLowestElev()
{
    const Ref<IQTKPolyhedron3dIntf> solid = edo_->GetOriginalPolyhedronIntf();
    if (solid && solid->GetPolyhedron()->HasFaces())
        return solid->GetPolyhedron()->GetBox().min.z;
    return drawObj_->GetBox().min.z;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKOverHighCalcBuilder::MakeReferenceSolid()
{
    return nullptr;
}

double TQTKOverHighCalcBuilder::GetSoffitElev()
{
    return EdoPropValueFloat(drawObj_->GetPropValues(), "BottomElev", 0.0);
}

// A start height that is missing from the table counts as null: minus
// infinity would make the layer count unbounded.
double TQTKOverHighCalcBuilder::GetStartOffset()
{
    if (!settingsRow_ || !FieldExist(settingsRow_, CStartCalcHeight) || settingsRow_->IsNull(CStartCalcHeight))
        return GetLowestElev() - GetBottomElev() - GetStartMargin();
    return SettingMM(CStartCalcHeight);
}

double TQTKOverHighCalcBuilder::GetStartHeight() const
{
    if (!settingsRow_ || !FieldExist(settingsRow_, CStartCalcHeight) || settingsRow_->IsNull(CStartCalcHeight))
        return GetCriticalHeight();
    return SettingMM(CStartCalcHeight);
}

int TQTKOverHighCalcBuilder::GetPartitionCount()
{
    const double height = GetPartitionHeight();
    if (!(height > CVRMEpsilon))
        return 0;  // no layer height: no layer (the count would divide by zero)
    const double x = GetCountTopElev() - GetBottomElev() - GetStartHeight();
    if (!std::isfinite(x))
        return 0;
    int64_t count = 0;
    switch (GetRoundMethod()) {
        case 0:
            count = Floor(x / height);
            break;
        case 1:
            count = Ceil(x / height);
            break;
        default:
            count =
                IsRoundByHalfLayer() ? static_cast<int64_t>(std::floor((x + height / 2) / height)) : Round(x / height);
            break;
    }
    return static_cast<int>(std::clamp<int64_t>(count, 0, CQTKOverHighMaxLayerCount));
}

bool TQTKOverHighCalcBuilder::IsOverHigh()
{
    if (IsOnFoundationFloor(drawObj_->GetRecord()))
        return false;
    const double top = GetTopElev();
    return GreaterThan(top - GetBottomElev(), GetCriticalHeight(), CVRMEpsilon);
}

int TQTKOverHighCalcBuilder::CheckPartitionMethod(int method, bool)
{
    return method >= 0 && method <= 2 ? method : 3;
}

std::vector<TQTKOverHighCut> TQTKOverHighCalcBuilder::PlanCuts(int method)
{
    std::vector<TQTKOverHighCut> cuts;
    switch (method) {
        case 0:
            cuts.push_back({GetBottomElev() + GetStartOffset(), 1.0});
            break;
        case 1: {
            const double excess = GetTopElev() - GetBottomElev() - GetCriticalHeight();
            if (CompareValue(excess, 0.0, CVRMEpsilon) == 1)
                cuts.push_back({GetBottomElev() + GetStartOffset(), excess / 1000.0});
            break;
        }
        case 2: {
            const int count = GetPartitionCount();
            if (count > 0)
                cuts.push_back({GetBottomElev() + GetStartOffset(), static_cast<double>(count)});
            break;
        }
        default: {
            const int count = GetPartitionCount();
            if (count <= 0)
                break;
            const double start = GetBottomElev() + GetStartHeight();
            const double height = GetPartitionHeight();
            cuts.reserve(static_cast<size_t>(count));
            for (int i = count - 1; i >= 0; --i)
                cuts.push_back({start + i * height, static_cast<double>(i + 1)});
            break;
        }
    }
    return cuts;
}

std::vector<TQTKOverHighLayer> TQTKOverHighCalcBuilder::GetLayers()
{
    const std::vector<TQTKOverHighCut> cuts = PlanCuts(CheckPartitionMethod(GetPartitionMethod(), true));
    std::vector<TQTKOverHighLayer> layers;
    if (cuts.empty())
        return layers;
    const double top = GetValueListTop();
    layers.reserve(cuts.size());
    for (size_t i = cuts.size(); i-- > 0;)
        layers.push_back({cuts[i].z, i == 0 ? top : cuts[i - 1].z, cuts[i].weight});
    return layers;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKOverHighCalcBuilder::AddSolidPiece(TVRMOverhighSolidCalc3d& calc,
                                                                         const TVRMPolyhedron3d& solid, double z,
                                                                         double weight, TFloatList& values)
{
    std::unique_ptr<TVRMPolyhedron3d> rest;
    std::unique_ptr<TVRMPolyhedron3d> piece = solid.Cut(CutPlane(z), rest, CVRMPlaneEpsilon);
    calc.Add(std::make_unique<TVRMOverhighSolidCalcItem3d>(std::move(piece), drawObj_->GetRecord(),
                                                           MakeReferenceSolid(), weight, GetPieceCoefficient()));
    values.Add(z);
    return rest;
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTKOverHighCalcBuilder::AddShellPiece(TVRMOverhighShellCalc3d& calc,
                                                                              const TVRMPolyhedronShell3d& shell,
                                                                              double z, double weight)
{
    std::unique_ptr<TVRMPolyhedronShell3d> rest;
    std::unique_ptr<TVRMPolyhedronShell3d> piece = shell.Cut(CutPlane(z), rest, CVRMPlaneEpsilon);
    const double coefficient = GetPieceCoefficient();
    calc.Add(std::make_unique<TVRMOverhighShellCalcItem3d>(std::move(piece), drawObj_->GetRecord(),
                                                           MakeReferenceSolid(), weight, coefficient, arcFlag_,
                                                           coefficient != 1.0));
    return rest;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKOverHighCalcBuilder::AddSolidFacePiece(TVRMOverhighShellCalc3d& calc,
                                                                             const TVRMPolyhedron3d& solid, double z,
                                                                             double weight, bool includeSoffit)
{
    std::unique_ptr<TVRMPolyhedron3d> rest;
    const std::unique_ptr<TVRMPolyhedron3d> above = solid.Cut(CutPlane(z), rest, CVRMPlaneEpsilon);
    const bool keepSoffit = includeSoffit && GreaterEqualThan(GetSoffitElev(), z, CVRMEpsilon);
    auto piece = std::make_unique<TVRMPolyhedronShell3d>();
    for (const TVRMFace3d& face : above->GetFaces()) {
        const TVRMVector3d& n = face.GetNormal();
        const bool level = IsZero(n.x, CVRMEpsilon) && IsZero(n.y, CVRMEpsilon);
        if (!level || (keepSoffit && !GreaterThan(n.z, 0.0, CVRMEpsilon)))
            piece->AddFace(face);
    }
    const double coefficient = GetPieceCoefficient();
    calc.Add(std::make_unique<TVRMOverhighShellCalcItem3d>(std::move(piece), drawObj_->GetRecord(),
                                                           MakeReferenceSolid(), weight, coefficient, arcFlag_,
                                                           coefficient != 1.0));
    return rest;
}

std::unique_ptr<TVRMOverhighSolidCalc3d> TQTKOverHighCalcBuilder::BuildSolidCalc(const TVRMPolyhedron3d& solid)
{
    const int method = CheckPartitionMethod(GetPartitionMethod(), true);
    auto calc = std::make_unique<TVRMOverhighSolidCalc3d>();
    auto values = std::make_unique<TFloatList>();
    if (IsTopFirstInValueList())
        values->Add(GetValueListTop());
    RunCuts(PlanCuts(method), solid, [&](const TVRMPolyhedron3d& current, double z, double weight) {
        return AddSolidPiece(*calc, current, z, weight, *values);
    });
    if (!IsTopFirstInValueList())
        values->Add(GetValueListTop());
    valueList_ = std::move(values);
    return calc;
}

std::unique_ptr<TVRMOverhighShellCalc3d> TQTKOverHighCalcBuilder::BuildShellCalc(const TVRMPolyhedronShell3d& shell)
{
    const int method = CheckPartitionMethod(GetPartitionMethod(), false);
    auto calc = std::make_unique<TVRMOverhighShellCalc3d>();
    RunCuts(PlanCuts(method), shell, [&](const TVRMPolyhedronShell3d& current, double z, double weight) {
        return AddShellPiece(*calc, current, z, weight);
    });
    return calc;
}

std::unique_ptr<TVRMOverhighShellCalc3d> TQTKOverHighCalcBuilder::BuildSolidFaceCalc(const TVRMPolyhedron3d& solid,
                                                                                     bool includeSoffit)
{
    const int method = CheckPartitionMethod(GetPartitionMethod(), false);
    auto calc = std::make_unique<TVRMOverhighShellCalc3d>();
    RunCuts(PlanCuts(method), solid, [&](const TVRMPolyhedron3d& current, double z, double weight) {
        return AddSolidFacePiece(*calc, current, z, weight, includeSoffit);
    });
    return calc;
}

double GetLineEntMaxTopElev(IRDXRecord* record)
{
    const TQTKLineEndElevs elevs = GetLineEndElevs(record);
    return std::max(elevs.startTop, elevs.endTop);
}
