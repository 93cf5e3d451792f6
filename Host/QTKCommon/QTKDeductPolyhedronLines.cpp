#include "Host/QTKCommon/QTKDeductPolyhedronLines.h"

#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"

TQTKDeductPolyhedronLines::TQTKDeductPolyhedronLines(std::unique_ptr<TVRMPolyhedronLines3d> lines, bool /*flag*/,
                                                     double factor)
    : lines_(lines ? std::move(lines) : std::make_unique<TVRMPolyhedronLines3d>()), factor_(factor)
{
}

TQTKDeductPolyhedronLines::~TQTKDeductPolyhedronLines() = default;

double TQTKDeductPolyhedronLines::GetLength() const
{
    return lines_->GetLength() * factor_;
}

double TQTKDeductPolyhedronLines::Subtract(const TVRMPolyhedron3d& solid, bool writeDetail, const IRDXRecord* record,
                                           const TVRMPolyhedron3d* /*relationSolid*/)
{
    if (!solid.HasFaces() || lines_->GetEdgeCount() == 0)
        return 0.0;
    const bool recording = writeDetail && record && IsDetailRecording();
    std::unique_ptr<TVRMPolyhedronLines3d> removed =
        recording ? std::make_unique<TVRMPolyhedronLines3d>(*lines_) : nullptr;
    const double length = lines_->Subtract(solid) * factor_;
    if (removed && length > CVRMEpsilon) {
        removed->Intersect(solid);
        const TQTKCurrentQty qty = CurrentQtyOf(record);
        AddDeductDetail(std::make_unique<TQTKLine3dDeductDetail>(RecordRef(const_cast<IRDXRecord*>(record)), qty.code,
                                                                 qty.desc, std::move(removed), MMToM(length)));
    }
    return length;
}
