#include <gtest/gtest.h>

#include "Host/Runtime/Assert.h"

namespace {

TEST(AssertTest, NamesTheUnitPathAndLine)
{
    try {
        const int* record = nullptr;
        QTK_ASSERT(record != nullptr);
        FAIL() << "no exception";
    } catch (const EQTKAssertionFailed& e) {
        EXPECT_EQ(e.Unit(), "tests/Host/Runtime/AssertTests");
        EXPECT_EQ(e.Line(), __LINE__ - 4);
        EXPECT_NE(std::string(e.what()).find("tests/Host/Runtime/AssertTests, line"), std::string::npos) << e.what();
    }
}

TEST(AssertTest, UnitPathOfForeignAndRelativePaths)
{
    EXPECT_EQ(QTKUnitPath("/somewhere/else/Calculator/Common/QTKCalculatorCommon.cpp"),
              "Calculator/Common/QTKCalculatorCommon");
    EXPECT_EQ(QTKUnitPath("Host/VRM/Geometry2d/Polygon.h"), "Host/VRM/Geometry2d/Polygon");
}

}  // namespace
