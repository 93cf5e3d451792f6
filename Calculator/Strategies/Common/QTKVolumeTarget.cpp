#include "Calculator/Strategies/Common/QTKVolumeTarget.h"

#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"

double TQTKVolumeTarget::Subtract(const TVRMPolyhedron3d& solid, IRDXRecord* record,
                                  const TVRMPolyhedron3d* whole) const
{
    if (overhigh_)
        return overhigh_->Subtract(solid, record, whole);
    return regular_ ? regular_->Subtract(solid, record, whole, true, true) : 0.0;
}

double TQTKVolumeTarget::DeductPart(IRDXRecord* record, bool parallel) const
{
    if (overhigh_)
        return parallel ? OverhighDeductParallelPart(*overhigh_, record)
                        : OverhighDeductCrossingPart(*overhigh_, record);
    return regular_ ? DeductPartSolid(*regular_, record) : 0.0;
}
