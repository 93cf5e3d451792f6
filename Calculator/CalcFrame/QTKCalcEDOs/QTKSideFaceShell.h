// The side-face shell of a wall or a wall layer, the faces its formwork is
// taken from. Both side faces go in, once each, before anyone reads the shell
// or makes its formwork calculator, whichever rule or quantity asks first (a
// rule run on its own finds them, the over-height builder cuts them); the end
// faces go in once, when the end-face rule asks for them. Faces that go in
// after the calculator is made go into the calculator too.
//
// Threads: the shell, the calculator and the flags are kept under the
// holder's own lock, which is never held while the owner builds a face or a
// calculator, or while a calculator takes faces.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

class TQTKShellCalc3d;
class TVRMPolyhedronShell3d;

class TQTKSideFaceShell {
public:
    // Puts the side face on the left (right) line into Face; False when there
    // is none to put in yet (that side is tried again on the next request).
    using TMakeSideFace = std::function<bool(bool left, TVRMPolyhedronShell3d& face)>;
    // The owner's formwork calculator over the shell it is given.
    using TMakeCalc = std::function<std::shared_ptr<TQTKShellCalc3d>(std::unique_ptr<TVRMPolyhedronShell3d> shell)>;

    TQTKSideFaceShell();
    ~TQTKSideFaceShell();
    TQTKSideFaceShell(const TQTKSideFaceShell&) = delete;
    TQTKSideFaceShell& operator=(const TQTKSideFaceShell&) = delete;

    // The shell with both side faces in (owned here, valid until Clear).
    TVRMPolyhedronShell3d* Get(const TMakeSideFace& make);
    // The side face on the left (right) line in, once.
    void AddSide(bool left, const TMakeSideFace& make);
    // The end faces in on the first call only.
    void AddEndsOnce(const TVRMPolyhedronShell3d& ends);
    // The formwork calculator, made once over a copy of the shell with both
    // side faces in; when two threads make it at once the first one kept wins.
    std::shared_ptr<TQTKShellCalc3d> GetCalc(const TMakeSideFace& make, const TMakeCalc& makeCalc);
    // Drops the shell and the calculator (outside the lock) and every flag.
    void Clear();

private:
    TVRMPolyhedronShell3d* ShellLocked();
    // Faces into the shell under the lock, then into the calculator if made.
    void Append(const TVRMPolyhedronShell3d& faces, std::unique_lock<std::mutex>& guard);

    std::mutex lock_;
    std::unique_ptr<TVRMPolyhedronShell3d> shell_;
    std::shared_ptr<TQTKShellCalc3d> calc_;
    bool leftAdded_ = false, rightAdded_ = false, endsAdded_ = false;
};
