#include "Host/QTKCommon/QTKDeductDetailData.h"

#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/Runtime/NameList.h"
#include "Host/Runtime/SysUtils.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

std::string ScaledText(double value, double scale)
{
    return FloatToStr(FRound(value * scale, 4, 1e-12));
}

std::string PlainValueText(double value)
{
    return ScaledText(value, 1.0);
}

}  // namespace

std::string MMToM(double mm)
{
    return ScaledText(mm, 1e-3);
}

std::string MM2ToM2(double mm2)
{
    return ScaledText(mm2, 1e-6);
}

std::string MM3ToM3(double mm3)
{
    return ScaledText(mm3, 1e-9);
}

TQTKUnitFunction GetUnitFunctioin(std::string_view unit)
{
    struct TUnitName {
        std::string_view name;
        TQTKUnitFunction function;
    };
    static constexpr TUnitName units[] = {
        {"m", MMToM},        {"米", MMToM},   {"m2", MM2ToM2}, {"m²", MM2ToM2},
        {"平方米", MM2ToM2}, {"m3", MM3ToM3}, {"m³", MM3ToM3}, {"立方米", MM3ToM3},
    };
    for (const TUnitName& u : units)
        if (SameText(u.name, unit))
            return u.function;
    return PlainValueText;
}

std::string UnitChange(const IRDXRecord* qtyRecord, double value)
{
    const bool hasUnit = qtyRecord && qtyRecord->GetTable() && qtyRecord->GetTable()->FindField("Unit");
    return GetUnitFunctioin(hasUnit ? qtyRecord->GetAsString("Unit") : std::string())(value);
}

TQTKCorrectiveEDO::TQTKCorrectiveEDO(RecordRef record, std::unique_ptr<TVRMPolyhedron3d> solid)
    : record_(std::move(record)), solid_(std::move(solid))
{
}

TQTKCorrectiveEDO::~TQTKCorrectiveEDO() = default;

TQTKDeductDetail::TQTKDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc, std::string expr)
    : record_(std::move(record)), qtyCode_(std::move(qtyCode)), qtyDesc_(std::move(qtyDesc)), expr_(std::move(expr))
{
}

TQTKDeductDetail::~TQTKDeductDetail() = default;

void TQTKDeductDetail::AddCorrecticeEDO(std::unique_ptr<TQTKCorrectiveEDO> edo)
{
    if (edo)
        correctives_.push_back(std::move(edo));
}

const TQTKCorrectiveEDO* TQTKDeductDetail::GetCorrectiveEDO(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetCorrectiveEDOCount());
    return correctives_[static_cast<size_t>(index)].get();
}

TQTKCurrentQty CurrentQtyOf(const IRDXRecord* record)
{
    if (!record)
        return {};
    const TQTKEdoGlobalData* data = GetEdoGlobalData(record->GetID());
    return {data->GetCurQtyCode(), data->GetCurQtyDesc()};
}

TQTKSolidDeductDetail::TQTKSolidDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc,
                                             std::unique_ptr<TVRMPolyhedron3d> solid,
                                             std::unique_ptr<TVRMPolyhedron3d> deducted, std::string expr)
    : TQTKDeductDetail(std::move(record), std::move(qtyCode), std::move(qtyDesc), std::move(expr)),
      solid_(std::move(solid)),
      deducted_(std::move(deducted))
{
}

TQTKSolidDeductDetail::~TQTKSolidDeductDetail() = default;

TQTKShellDeductDetail::TQTKShellDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc,
                                             std::unique_ptr<TVRMPolyhedronShell3d> shell,
                                             std::unique_ptr<TVRMPolyhedron3d> solid, std::string expr)
    : TQTKDeductDetail(std::move(record), std::move(qtyCode), std::move(qtyDesc), std::move(expr)),
      shell_(std::move(shell)),
      solid_(std::move(solid))
{
}

TQTKShellDeductDetail::~TQTKShellDeductDetail() = default;

TQTKPoly2dDeductDetail::TQTKPoly2dDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc,
                                               TVRMMultiPolygon2d polygon, TVRMMultiPolygon2d deducted,
                                               std::string expr)
    : TQTKDeductDetail(std::move(record), std::move(qtyCode), std::move(qtyDesc), std::move(expr)),
      polygon_(std::move(polygon)),
      deducted_(std::move(deducted))
{
}

TQTKLine2dDeductDetail::TQTKLine2dDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc,
                                               TVRMSeg2dList segments, TVRMMultiPolygon2d outline, std::string expr)
    : TQTKDeductDetail(std::move(record), std::move(qtyCode), std::move(qtyDesc), std::move(expr)),
      segments_(std::move(segments)),
      outline_(std::move(outline))
{
}

TQTKLine3dDeductDetail::TQTKLine3dDeductDetail(RecordRef record, std::string qtyCode, std::string qtyDesc,
                                               std::unique_ptr<TVRMPolyhedronLines3d> lines, std::string expr)
    : TQTKDeductDetail(std::move(record), std::move(qtyCode), std::move(qtyDesc), std::move(expr)),
      lines_(std::move(lines))
{
}

TQTKLine3dDeductDetail::~TQTKLine3dDeductDetail() = default;

TQTKDeductDetailContainer::TQTKDeductDetailContainer() = default;
TQTKDeductDetailContainer::~TQTKDeductDetailContainer() = default;

void TQTKDeductDetailContainer::Add(std::unique_ptr<TQTKDeductDetail> detail)
{
    if (detail)
        items_.push_back(std::move(detail));
}

void TQTKDeductDetailContainer::Delete(int index)
{
    QTK_ASSERT(index >= 0 && index < GetCount());
    items_.erase(items_.begin() + index);
}

void TQTKDeductDetailContainer::Clear() noexcept
{
    items_.clear();
}

void TQTKDeductDetailContainer::Append(TQTKDeductDetailContainer& other)
{
    if (&other == this)
        return;
    for (auto& item : other.items_)
        items_.push_back(std::move(item));
    other.items_.clear();
}

TQTKDeductDetail* TQTKDeductDetailContainer::GetItems(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetCount());
    return items_[static_cast<size_t>(index)].get();
}

bool IsDetailRecording()
{
    return GIsDetailMode && GetDeductDetailContainer() != nullptr;
}

bool AddDeductDetail(std::unique_ptr<TQTKDeductDetail> detail)
{
    if (!detail || !IsDetailRecording())
        return false;
    GetDeductDetailContainer()->Add(std::move(detail));
    return true;
}
