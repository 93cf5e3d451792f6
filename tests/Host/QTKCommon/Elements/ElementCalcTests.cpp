// Formwork and finish shells of elements read from small models, reduced by
// the solids of their neighbours: which faces a neighbour takes by kind set.
#include <numeric>
#include <string>

#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "tests/Host/ElementModel/ElementModelTestUtils.h"
#include "tests/Host/QTKCommon/QTKCommonTestUtils.h"

namespace {

std::unique_ptr<TVRMPolyhedron3d> SolidOf(const TQTKElementModel& model, int id)
{
    const IQTKElementDrawObj* e = model.FindElement(id);
    EXPECT_NE(e, nullptr) << "element " << id;
    return e ? e->BuildPolyhedron() : std::make_unique<TVRMPolyhedron3d>();
}

// The faces of a solid at the given positions.
std::unique_ptr<TVRMPolyhedronShell3d> FacesOf(const TVRMPolyhedron3d& solid, const std::vector<int>& faces)
{
    return std::make_unique<TVRMPolyhedronShell3d>(solid, faces);
}

// A ring beam 240 x 300 from 2800 on a 240 wall 6000 long whose top is wallTop.
Ref<TQTKElementModel> WallUnderRingBeam(double wallTop)
{
    return LoadElements(R"({"id": 1, "type": 0, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": )" +
                        std::to_string(wallTop) + R"(}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
        {"id": 2, "type": 17, "props": {"SectionWidth": 240, "BottomElev": 2800, "TopElev": 3100},
         "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})");
}

}  // namespace

using ElementShells = TQTKSessionTest;

// The beam's bottom formwork faces down onto the wall's top: the wall stands
// against it (contact), so the kind sets with 0 take it and {1} keeps it.
// Lowered by 1 mm the wall no longer touches it. A wall running up through
// the beam takes the face whatever the set (it lies inside the wall); the
// part of that wall below the beam bottom touches it as the lower wall does.
TEST_F(ElementShells, RingBeamBottomOnAWall)
{
    const double all = 240.0 * 6000;
    struct Case {
        double wallTop;
        bool cutAtBeamBottom;
        double removed[4];  // by kind set bit value 0..3
    } cases[] = {
        {2800, false, {0, all, 0, all}},
        {2799, false, {0, 0, 0, 0}},
        {3100, false, {all, all, all, all}},
        {3100, true, {0, all, 0, all}},
    };
    for (const Case& c : cases) {
        const auto model = WallUnderRingBeam(c.wallTop);
        const auto beam = SolidOf(*model, 2);
        auto wall = SolidOf(*model, 1);
        if (c.cutAtBeamBottom) {
            std::unique_ptr<TVRMPolyhedron3d> above;
            wall = wall->Cut(TVRMPlane3d({0, 0, 1}, {0, 0, 2800}), above);
            ASSERT_NEAR(wall->GetBox().max.z, 2800, 1e-9);
        }
        ASSERT_EQ(beam->GetFaceCount(), 6);
        const TVRMFace3d& bottom = beam->GetFace(3);  // sides, top, bottom, then the end faces
        ASSERT_LT(bottom.GetNormal().z, -0.99);
        for (int kinds = 0; kinds <= 3; ++kinds) {
            TQTKShellCalc3d calc(FacesOf(*beam, {3}), model->GetElementTable()->GetRecordByID(2));
            EXPECT_NEAR(calc.GetArea(), all, 1e-3);
            EXPECT_NEAR(calc.Subtract(*wall, model->GetElementTable()->GetRecordByID(1), kinds), c.removed[kinds], 1e-2)
                << "wall top " << c.wallTop << (c.cutAtBeamBottom ? " cut" : "") << ", kinds " << kinds;
            EXPECT_NEAR(calc.GetArea(), all - c.removed[kinds], 1e-2);
        }
    }
}

// A door exactly as thick as its 200 brick wall, its jamb against a column's
// side: the door's solid touches the column's side face from the front
// (contact), so {1} takes nothing and {0,1} the abutting strip 200 x 2100.
// Each part of the column's side is taken once: the wall then takes the rest
// of its own strip.
TEST_F(ElementShells, DoorAgainstAColumn)
{
    const auto model = LoadElements(R"(
        {"id": 1, "type": 25, "props": {"SectionWidth": 400, "SectionHeight": 400, "BottomElev": 0, "TopElev": 3000},
         "shape": {"kind": "point", "insertPt": [-200, 0]}},
        {"id": 2, "type": 0, "props": {"Thickness": 200, "BottomElev": 0, "TopElev": 3000, "Material": "砖"},
         "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0]}},
        {"id": 3, "type": 4, "parent": 2, "props": {"OpeningWidth": 900, "OpeningHeight": 2100, "BottomElev": 0},
         "shape": {"kind": "opening", "at": 450}})");
    const auto column = SolidOf(*model, 1);
    const auto door = SolidOf(*model, 3);
    const auto wall = SolidOf(*model, 2);
    EXPECT_NEAR(door->GetVolume(), 900.0 * 2100 * 200, 1e-2);
    const TVRMBox3d box = door->GetBox();
    EXPECT_NEAR(box.min.x, 0, 1e-9);
    EXPECT_NEAR(box.max.y - box.min.y, 200, 1e-9);
    std::vector<int> sides(static_cast<size_t>(column->GetFaceCount() - 2));  // top and bottom are last
    std::iota(sides.begin(), sides.end(), 0);
    const double shellArea = 4 * 400.0 * 3000;
    struct Case {
        int kinds;
        double removed;
    } cases[] = {{0, 0}, {1, 200.0 * 2100}, {2, 0}, {3, 200.0 * 2100}};
    for (const Case& c : cases) {
        TQTKShellCalc3d calc(FacesOf(*column, sides), model->GetElementTable()->GetRecordByID(1));
        EXPECT_NEAR(calc.GetArea(), shellArea, 1e-2);
        EXPECT_NEAR(calc.Subtract(*door, model->GetElementTable()->GetRecordByID(3), c.kinds), c.removed, 1e-2)
            << "kinds " << c.kinds;
        EXPECT_NEAR(calc.Subtract(*door, model->GetElementTable()->GetRecordByID(3), c.kinds), 0, 1e-2)
            << "again, kinds " << c.kinds;
        EXPECT_NEAR(calc.GetArea(), shellArea - c.removed, 1e-2);
        // The host wall against the same side takes only what the door left of its strip.
        EXPECT_NEAR(calc.Subtract(*wall, model->GetElementTable()->GetRecordByID(2), 3), 200.0 * 3000 - c.removed, 1e-2)
            << "wall after the door, kinds " << c.kinds;
    }
}
