#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSideFaceShell.h"

#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

TQTKSideFaceShell::TQTKSideFaceShell() = default;
TQTKSideFaceShell::~TQTKSideFaceShell() = default;

TVRMPolyhedronShell3d* TQTKSideFaceShell::ShellLocked()
{
    if (!shell_)
        shell_ = std::make_unique<TVRMPolyhedronShell3d>();
    return shell_.get();
}

void TQTKSideFaceShell::Append(const TVRMPolyhedronShell3d& faces, std::unique_lock<std::mutex>& guard)
{
    TVRMPolyhedronShell3d* shell = ShellLocked();
    for (const TVRMFace3d& face : faces.GetFaces())
        shell->AddFace(face);
    const std::shared_ptr<TQTKShellCalc3d> calc = calc_;
    guard.unlock();
    if (calc && faces.HasFaces())
        calc->AddShell(faces, nullptr);
}

TVRMPolyhedronShell3d* TQTKSideFaceShell::Get(const TMakeSideFace& make)
{
    AddSide(true, make);
    AddSide(false, make);
    std::lock_guard guard(lock_);
    return ShellLocked();
}

void TQTKSideFaceShell::AddSide(bool left, const TMakeSideFace& make)
{
    {
        std::lock_guard guard(lock_);
        if (left ? leftAdded_ : rightAdded_)
            return;
    }
    TVRMPolyhedronShell3d face;
    if (!make(left, face))
        return;
    std::unique_lock guard(lock_);
    bool& added = left ? leftAdded_ : rightAdded_;
    if (added)
        return;
    added = true;
    Append(face, guard);
}

void TQTKSideFaceShell::AddEndsOnce(const TVRMPolyhedronShell3d& ends)
{
    std::unique_lock guard(lock_);
    if (endsAdded_)
        return;
    endsAdded_ = true;
    Append(ends, guard);
}

std::shared_ptr<TQTKShellCalc3d> TQTKSideFaceShell::GetCalc(const TMakeSideFace& make, const TMakeCalc& makeCalc)
{
    {
        std::lock_guard guard(lock_);
        if (calc_)
            return calc_;
    }
    Get(make);
    std::unique_ptr<TVRMPolyhedronShell3d> copy;
    const TVRMPolyhedronShell3d* source = nullptr;
    {
        std::lock_guard guard(lock_);
        if (calc_)
            return calc_;
        source = ShellLocked();
        copy = source->Clone();
    }
    const int copied = copy->GetFaceCount();
    std::shared_ptr<TQTKShellCalc3d> built = makeCalc(std::move(copy));
    // Faces that went in while the calculator was made found none to go into.
    TVRMPolyhedronShell3d later;
    std::shared_ptr<TQTKShellCalc3d> calc;
    {
        std::lock_guard guard(lock_);
        if (!calc_) {
            calc_ = std::move(built);
            if (shell_.get() == source)
                for (int i = copied; i < shell_->GetFaceCount(); ++i)
                    later.AddFace(shell_->GetFaces()[i]);
        }
        calc = calc_;
    }
    if (later.HasFaces())
        calc->AddShell(later, nullptr);
    return calc;
}

void TQTKSideFaceShell::Clear()
{
    std::unique_ptr<TVRMPolyhedronShell3d> shell;
    std::shared_ptr<TQTKShellCalc3d> calc;
    std::lock_guard guard(lock_);
    shell.swap(shell_);
    calc.swap(calc_);
    leftAdded_ = rightAdded_ = endsAdded_ = false;
}
