#include "Calculator/Strategies/ColumnStrategies/QTKColumnShellTarget.h"

#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"

double TQTKColumnShellTarget::Subtract(const TVRMPolyhedron3d& solid, IRDXRecord* record, int kinds) const
{
    if (overhigh_)
        return overhigh_->Subtract(solid, record, kinds);
    return regular_ ? regular_->Subtract(solid, record, kinds) : 0.0;
}

double TQTKColumnShellTarget::SubtractWall(IRDXRecord* wall, bool bothKinds) const
{
    if (overhigh_)
        return SubtractWallFromOverhighShell(*overhigh_, wall, bothKinds);
    return regular_ ? SubtractWallFromShell(*regular_, wall, bothKinds, true) : 0.0;
}

double TQTKColumnShellTarget::GetArea() const
{
    if (overhigh_)
        return overhigh_->GetArea();
    return regular_ ? regular_->GetArea() : 0.0;
}

void TQTKColumnShellTarget::Clear() const
{
    if (overhigh_)
        overhigh_->Clear();
    else if (regular_)
        regular_->Clear();
}
