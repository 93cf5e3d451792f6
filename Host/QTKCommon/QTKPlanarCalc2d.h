// Plan area calculator: a polygon set from which covering polygons are
// deducted; each deduction removes only what is still there.
#pragma once

#include <memory>

#include "Host/RDX/RDXIntf.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

class TQTKPlanarCalc2d {
public:
    // In detail mode a calculator with a record writes its original area as a detail.
    TQTKPlanarCalc2d(const TVRMMultiPolygon2d& polygon, RecordRef record, bool flag = false);

    double GetArea() const { return polygon_.Area(); }
    // The remaining polygon.
    const TVRMMultiPolygon2d& GetPolygon() const noexcept { return polygon_; }
    const RecordRef& GetRecord() const noexcept { return record_; }
    bool GetFlag() const noexcept { return flag_; }

    // Removes the part of the remainder under the polygon and returns its
    // area. writeDetail: in detail mode an area detail of the record with the
    // removed polygon; formulaText: the detail's text is the removed part's
    // formula when it has one (else its area in m2).
    double Sub(const TVRMMultiPolygon2d& polygon, const IRDXRecord* record, bool writeDetail = true,
               bool formulaText = true);

private:
    TVRMMultiPolygon2d polygon_;
    RecordRef record_;
    bool flag_;
};
