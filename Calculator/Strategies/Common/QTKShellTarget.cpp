#include "Calculator/Strategies/Common/QTKShellTarget.h"

#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

double TQTKShellTarget::Subtract(const TVRMPolyhedron3d* solid, IRDXRecord* record, int kinds, bool formulaText) const
{
    if (!solid || !solid->HasFaces())
        return 0.0;
    if (overhigh_)
        return overhigh_->Subtract(*solid, record, kinds, nullptr, true, formulaText);
    return regular_ ? regular_->Subtract(*solid, record, kinds, nullptr, true, formulaText) : 0.0;
}

double TQTKShellTarget::SubtractWall(IRDXRecord* wall, bool bothKinds) const
{
    if (overhigh_)
        return SubtractWallFromOverhighShell(*overhigh_, wall, bothKinds);
    return regular_ ? SubtractWallFromShell(*regular_, wall, bothKinds, true) : 0.0;
}

double TQTKShellTarget::SubtractWallPiece(const TVRMPolyhedron3d& piece, IRDXRecord* wall, bool bothKinds) const
{
    if (overhigh_)
        return SubtractWallPieceFromOverhighShell(piece, *overhigh_, wall, bothKinds);
    return regular_ ? SubtractWallPieceFromShell(piece, *regular_, wall, bothKinds) : 0.0;
}

double TQTKShellTarget::GetArea() const
{
    if (overhigh_)
        return overhigh_->GetArea();
    return regular_ ? regular_->GetArea() : 0.0;
}
