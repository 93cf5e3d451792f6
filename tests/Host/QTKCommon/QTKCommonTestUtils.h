// Fixtures of the calculation-common tests: element records, boxes, faces and
// a session with detail recording into a container of the test's thread.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "Host/QTKCommon/QTKCalculationScope.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/RDX/RDXTable.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

// Records 1..9 of a small element table (fields ID, Unit).
inline IRDXRecord* TestRecord(int id)
{
    static const Ref<TRDXTable> table = [] {
        Ref<TRDXTable> t(
            new TRDXTable("ElementDrawObj", {{"ID", TRDXFieldType::Integer, ""}, {"Unit", TRDXFieldType::Text, ""}}));
        for (int i = 1; i <= 9; ++i)
            t->AddRow({int64_t{i}, std::string(i == 1 ? "m3" : "m2")});
        return t;
    }();
    return table->GetRecordByID(id);
}

inline std::unique_ptr<TVRMPolyhedron3d> Box(double x0, double y0, double z0, double x1, double y1, double z1)
{
    return TVRMPolyhedron3d::CreateBox(TVRMBox3d({x0, y0, z0}, {x1, y1, z1}));
}

// A shell of one planar face on the loop (normal by the loop's turning sense).
inline std::unique_ptr<TVRMPolyhedronShell3d> FaceShell(TVRMLoop3d loop)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    shell->AddFace(TVRMFace3d::FromLoop(std::move(loop)));
    return shell;
}

// A calculation scope per test; the test's thread records details into Details().
class TQTKSessionTest : public ::testing::Test {
protected:
    TQTKDeductDetailContainer& Details() { return scope_.Details(); }

private:
    TQTKCalculationScope scope_;
};
