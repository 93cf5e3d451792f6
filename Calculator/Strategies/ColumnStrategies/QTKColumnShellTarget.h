// The formwork a family's deductions take neighbours off: an element's shell
// calculator (a column's side faces, a column cap's or base's faces), or the
// weighted pieces of its over-height formwork. The formwork families ask one
// hook for it, so one deduction serves both.
#pragma once

#include <memory>
#include <utility>

class IRDXRecord;
class TQTKShellCalc3d;
class TVRMOverhighShellCalc3d;
class TVRMPolyhedron3d;

class TQTKColumnShellTarget {
public:
    TQTKColumnShellTarget() = default;
    explicit TQTKColumnShellTarget(std::shared_ptr<TQTKShellCalc3d> regular) : regular_(std::move(regular)) {}
    explicit TQTKColumnShellTarget(std::shared_ptr<TVRMOverhighShellCalc3d> overhigh) : overhigh_(std::move(overhigh))
    {
    }

    // False when there is nothing to deduct from (no calculator).
    explicit operator bool() const noexcept { return regular_ != nullptr || overhigh_ != nullptr; }
    TQTKShellCalc3d* Regular() const noexcept { return regular_.get(); }
    TVRMOverhighShellCalc3d* Overhigh() const noexcept { return overhigh_.get(); }

    // Takes Solid off on Record's behalf by the superposition Kinds; the area
    // removed, weighted piece by piece for an over-height formwork.
    double Subtract(const TVRMPolyhedron3d& solid, IRDXRecord* record, int kinds) const;
    // A concrete wall by its own solid less the fill walls laid in it; both
    // superposition kinds when BothKinds, else contact only.
    double SubtractWall(IRDXRecord* wall, bool bothKinds) const;
    // What is left (weighted), and emptying it.
    double GetArea() const;
    void Clear() const;

private:
    std::shared_ptr<TQTKShellCalc3d> regular_;
    std::shared_ptr<TVRMOverhighShellCalc3d> overhigh_;
};
