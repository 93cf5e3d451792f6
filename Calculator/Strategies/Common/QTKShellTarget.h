// The area a formwork family's deductions take solids off: an element's
// regular formwork shell calculator, or the weighted pieces of its
// over-height formwork. The formwork families ask one hook for it, so one
// deduction serves both quantities.
#pragma once

#include <memory>
#include <utility>

class IRDXRecord;
class TQTKShellCalc3d;
class TVRMOverhighShellCalc3d;
class TVRMPolyhedron3d;

class TQTKShellTarget {
public:
    TQTKShellTarget() = default;
    explicit TQTKShellTarget(TQTKShellCalc3d* regular) : regular_(regular) {}
    explicit TQTKShellTarget(std::shared_ptr<TVRMOverhighShellCalc3d> overhigh) : overhigh_(std::move(overhigh)) {}

    // False when there is nothing to deduct from (no calculator).
    explicit operator bool() const noexcept { return regular_ != nullptr || overhigh_ != nullptr; }
    TQTKShellCalc3d* Regular() const noexcept { return regular_; }
    TVRMOverhighShellCalc3d* Overhigh() const noexcept { return overhigh_.get(); }

    // Takes Solid off on Record's behalf with the superposition kind set
    // Kinds; the area removed, weighted piece by piece for an over-height
    // calculator. 0 without a calculator or for a nil or empty solid.
    double Subtract(const TVRMPolyhedron3d* solid, IRDXRecord* record, int kinds, bool formulaText = true) const;
    // A concrete wall's own solid (without the fill walls laid in it), both
    // kinds when BothKinds, else contact only.
    double SubtractWall(IRDXRecord* wall, bool bothKinds) const;
    // A piece of the wall's solid, less the fill walls overlaying the wall that it meets.
    double SubtractWallPiece(const TVRMPolyhedron3d& piece, IRDXRecord* wall, bool bothKinds) const;
    // What is left (weighted for an over-height calculator); 0 without one.
    double GetArea() const;

private:
    TQTKShellCalc3d* regular_ = nullptr;
    std::shared_ptr<TVRMOverhighShellCalc3d> overhigh_;
};
