// Reference lines of an element in space (a beam's edges or axis) from which
// solids are deducted: the remaining length is the element's clear length.
// Each deduction removes only what is still there.
#pragma once

#include <memory>

#include "Host/RDX/RDXIntf.h"

class TVRMPolyhedron3d;
class TVRMPolyhedronLines3d;

class TQTKDeductPolyhedronLines {
public:
    // Takes the lines over; flag is accepted for the callers and has no effect.
    TQTKDeductPolyhedronLines(std::unique_ptr<TVRMPolyhedronLines3d> lines, bool flag, double factor = 1.0);
    ~TQTKDeductPolyhedronLines();

    // Remaining length x factor (mm).
    double GetLength() const;
    double GetFactor() const noexcept { return factor_; }
    const TVRMPolyhedronLines3d* GetLines() const noexcept { return lines_.get(); }
    // Removes the pieces inside the closed solid; returns the length removed x
    // factor. In detail mode with writeDetail, a length detail of the record
    // with the removed pieces. relationSolid is accepted for the callers (input only).
    double Subtract(const TVRMPolyhedron3d& solid, bool writeDetail, const IRDXRecord* record,
                    const TVRMPolyhedron3d* relationSolid = nullptr);

private:
    std::unique_ptr<TVRMPolyhedronLines3d> lines_;
    double factor_;
};
