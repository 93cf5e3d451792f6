// The two-floor model of the fixtures, loaded once per test program.
#pragma once

#include <cstdlib>
#include <filesystem>

#include "Host/RDX/RDXJsonModel.h"

inline std::filesystem::path RdxFixture(const char* name)
{
    const char* root = std::getenv("QTK_TEST_FIXTURES");
    return std::filesystem::path(root ? root : "tests/fixtures") / "rdx" / name;
}

inline TRDXModel& TwoFloorModel()
{
    static const Ref<TRDXModel> model = LoadRDXModelFile(RdxFixture("two-floor.json"));
    return *model;
}

inline IRDXTable* BusinessTable(const char* name)
{
    return TwoFloorModel().GetDatabaseByName("Business")->GetTable(name);
}

inline IRDXTable* RuleTable(const char* name)
{
    return TwoFloorModel().GetDatabaseByName("NormCalcRule")->GetTable(name);
}
