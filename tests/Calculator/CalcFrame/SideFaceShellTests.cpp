// The side-face shell of walls and wall layers: side faces in once each
// before the shell or its calculator is read, end faces once, faces that go
// in after the calculator is made (or while it is made) in the calculator too.
#include <gtest/gtest.h>

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSideFaceShell.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

// A wall 5000 long, 200 thick, 3000 high: each side face 15e6 mm2, the end
// face at the start 0.6e6 mm2.
constexpr double CSide = 5000.0 * 3000, CEnd = 200.0 * 3000;

bool MakeSide(bool left, TVRMPolyhedronShell3d& face)
{
    const double y = left ? 100 : -100;
    face.AddFace(TVRMCustomLine2d({0, y}, {5000, y}), left, 0, 3000, 0, 3000);
    return true;
}

TVRMPolyhedronShell3d Ends()
{
    TVRMPolyhedronShell3d ends;
    ends.AddFace(TVRMCustomLine2d({0, 100}, {0, -100}), false, 0, 3000, 0, 3000);
    return ends;
}

std::shared_ptr<TQTKShellCalc3d> MakeCalc(std::unique_ptr<TVRMPolyhedronShell3d> shell)
{
    return std::make_shared<TQTKShellCalc3d>(std::move(shell), nullptr, 1.0);
}

}  // namespace

TEST(SideFaceShell, SideAndEndFacesGoInOnceWhoeverAsksFirst)
{
    struct Case {
        const char* name;
        void (*steps)(TQTKSideFaceShell&);
        int faces;
        double area;
    };
    const Case cases[] = {
        {"read: both sides", [](TQTKSideFaceShell& s) { s.Get(MakeSide); }, 2, 2 * CSide},
        {"read twice", [](TQTKSideFaceShell& s) { s.Get(MakeSide), s.Get(MakeSide); }, 2, 2 * CSide},
        {"one side added twice, then read",
         [](TQTKSideFaceShell& s) { s.AddSide(true, MakeSide), s.AddSide(true, MakeSide), s.Get(MakeSide); }, 2,
         2 * CSide},
        {"ends twice before the sides",
         [](TQTKSideFaceShell& s) { s.AddEndsOnce(Ends()), s.AddEndsOnce(Ends()), s.Get(MakeSide); }, 3,
         2 * CSide + CEnd},
        {"calculator, then the sides again",
         [](TQTKSideFaceShell& s) { s.GetCalc(MakeSide, MakeCalc), s.Get(MakeSide); }, 2, 2 * CSide},
        {"cleared, then read",
         [](TQTKSideFaceShell& s) { s.AddEndsOnce(Ends()), s.Get(MakeSide), s.Clear(), s.Get(MakeSide); }, 2,
         2 * CSide},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TQTKSideFaceShell holder;
        c.steps(holder);
        const TVRMPolyhedronShell3d* shell = holder.Get(MakeSide);
        EXPECT_EQ(shell->GetFaceCount(), c.faces);
        EXPECT_NEAR(shell->GetArea(), c.area, 1e-3);
        EXPECT_NEAR(holder.GetCalc(MakeSide, MakeCalc)->GetArea(), c.area, 1e-3);
    }
}

// A side that cannot be built yet (no line shape) is tried again on the next read.
TEST(SideFaceShell, ASideNotReadyYetGoesInOnTheNextRead)
{
    bool ready = false;
    const TQTKSideFaceShell::TMakeSideFace make = [&ready](bool left, TVRMPolyhedronShell3d& face) {
        return ready && MakeSide(left, face);
    };
    TQTKSideFaceShell holder;
    EXPECT_EQ(holder.Get(make)->GetFaceCount(), 0);
    ready = true;
    EXPECT_NEAR(holder.Get(make)->GetArea(), 2 * CSide, 1e-3);
}

// End faces that go in after the calculator is made, or while it is being
// made (another rule on another thread), count in it, once.
TEST(SideFaceShell, EndFacesGoIntoTheCalculatorMadeBeforeOrMeanwhile)
{
    for (const bool meanwhile : {false, true}) {
        SCOPED_TRACE(meanwhile ? "while the calculator is made" : "after it is made");
        TQTKSideFaceShell holder;
        const std::shared_ptr<TQTKShellCalc3d> calc =
            holder.GetCalc(MakeSide, [&](std::unique_ptr<TVRMPolyhedronShell3d> shell) {
                if (meanwhile)
                    holder.AddEndsOnce(Ends());
                return MakeCalc(std::move(shell));
            });
        holder.AddEndsOnce(Ends());
        EXPECT_NEAR(calc->GetArea(), 2 * CSide + CEnd, 1e-3);
        EXPECT_NEAR(holder.Get(MakeSide)->GetArea(), 2 * CSide + CEnd, 1e-3);
        EXPECT_EQ(holder.GetCalc(MakeSide, MakeCalc), calc);
    }
}
