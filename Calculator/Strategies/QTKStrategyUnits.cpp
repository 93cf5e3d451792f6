#include "Calculator/Strategies/QTKStrategyUnits.h"

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"

// Each rule unit declares its registration function here and is called below
// in the units' order.
void RegisterWallVolumeRules(TStrategyRegistry& registry);
void RegisterWallOverhighVolRules(TStrategyRegistry& registry);
void RegisterWallOverhighFormBoardRules(TStrategyRegistry& registry);
void RegisterInsulatingWallUnitOverHighFormBoardRules(TStrategyRegistry& registry);
void RegisterWallAreaRules(TStrategyRegistry& registry);
void RegisterWallSizeRules(TStrategyRegistry& registry);
void RegisterPierRules(TStrategyRegistry& registry);
void RegisterWallScaffoldRules(TStrategyRegistry& registry);
void RegisterSlabVolRules(TStrategyRegistry& registry);
void RegisterBeamVolRules(TStrategyRegistry& registry);
void RegisterBeamFormBoardAreaRules(TStrategyRegistry& registry);
void RegisterBeamOverHighVolRules(TStrategyRegistry& registry);
void RegisterBeamOverHighFormBoardAreaRules(TStrategyRegistry& registry);
void RegisterLintelRules(TStrategyRegistry& registry);
void RegisterBeamPropValueRules(TStrategyRegistry& registry);
void RegisterBeamScaffoldRules(TStrategyRegistry& registry);
void RegisterFDBeamBelowRaftFDRules(TStrategyRegistry& registry);
void RegisterFDBeamBottomRules(TStrategyRegistry& registry);
void RegisterBeamFinishQtyRules(TStrategyRegistry& registry);
void RegisterBeamSideAreaRules(TStrategyRegistry& registry);
void RegisterBeamBrickMoldRules(TStrategyRegistry& registry);
void RegisterColumnVolumeRules(TStrategyRegistry& registry);
void RegisterColumnFormBoardAreaRules(TStrategyRegistry& registry);
void RegisterColumnHeightRules(TStrategyRegistry& registry);
void RegisterColumnSectionAreaRules(TStrategyRegistry& registry);
void RegisterColumnSectionPerimeterRules(TStrategyRegistry& registry);
void RegisterColumnScaffoldRules(TStrategyRegistry& registry);
void RegisterColumnCapVolumeRules(TStrategyRegistry& registry);
void RegisterColumnCapFormBoardAreaRules(TStrategyRegistry& registry);
void RegisterColumnCapSectionPerimeterRules(TStrategyRegistry& registry);
void RegisterColumnCapOverhighVolRules(TStrategyRegistry& registry);
void RegisterColumnCapOverhighFormboardAreaRules(TStrategyRegistry& registry);
void RegisterColumnBaseBrickModelRules(TStrategyRegistry& registry);
void RegisterColumnBaseVolumeRules(TStrategyRegistry& registry);
void RegisterColumnBaseFormBoardAreaRules(TStrategyRegistry& registry);
void RegisterColumnBaseFaceAreaRules(TStrategyRegistry& registry);
void RegisterColumnBaseSectionPerimeterRules(TStrategyRegistry& registry);
void RegisterSlabFormboardAreaRules(TStrategyRegistry& registry);
void RegisterWallFormBoardAreaRules(TStrategyRegistry& registry);
void RegisterInsulatingWallVolumeRules(TStrategyRegistry& registry);
void RegisterInsulatingWallUnitAreaRules(TStrategyRegistry& registry);
void RegisterSlabAreaRules(TStrategyRegistry& registry);
void RegisterSlabProjectiveAreaRules(TStrategyRegistry& registry);
void RegisterSlabContactWallLenRules(TStrategyRegistry& registry);
void RegisterPrecastSlabRules(TStrategyRegistry& registry);
void RegisterInsulatingWallUnitOverHighVolRules(TStrategyRegistry& registry);

void RegisterAllStrategyUnits(TStrategyRegistry& registry)
{
    RegisterWallVolumeRules(registry);
    RegisterWallOverhighVolRules(registry);
    RegisterWallOverhighFormBoardRules(registry);
    RegisterInsulatingWallUnitOverHighFormBoardRules(registry);
    RegisterWallAreaRules(registry);
    RegisterWallSizeRules(registry);
    RegisterPierRules(registry);
    RegisterWallScaffoldRules(registry);
    RegisterSlabVolRules(registry);
    RegisterBeamVolRules(registry);
    RegisterBeamFormBoardAreaRules(registry);
    RegisterBeamOverHighVolRules(registry);
    RegisterBeamOverHighFormBoardAreaRules(registry);
    RegisterLintelRules(registry);
    RegisterBeamPropValueRules(registry);
    RegisterBeamScaffoldRules(registry);
    RegisterFDBeamBelowRaftFDRules(registry);
    RegisterFDBeamBottomRules(registry);
    RegisterBeamFinishQtyRules(registry);
    RegisterBeamSideAreaRules(registry);
    RegisterBeamBrickMoldRules(registry);
    RegisterColumnVolumeRules(registry);
    RegisterColumnFormBoardAreaRules(registry);
    RegisterColumnHeightRules(registry);
    RegisterColumnSectionAreaRules(registry);
    RegisterColumnSectionPerimeterRules(registry);
    RegisterColumnScaffoldRules(registry);
    RegisterColumnCapVolumeRules(registry);
    RegisterColumnCapFormBoardAreaRules(registry);
    RegisterColumnCapSectionPerimeterRules(registry);
    RegisterColumnCapOverhighVolRules(registry);
    RegisterColumnCapOverhighFormboardAreaRules(registry);
    RegisterColumnBaseBrickModelRules(registry);
    RegisterColumnBaseVolumeRules(registry);
    RegisterColumnBaseFormBoardAreaRules(registry);
    RegisterColumnBaseFaceAreaRules(registry);
    RegisterColumnBaseSectionPerimeterRules(registry);
    RegisterSlabFormboardAreaRules(registry);
    RegisterWallFormBoardAreaRules(registry);
    RegisterInsulatingWallVolumeRules(registry);
    RegisterInsulatingWallUnitAreaRules(registry);
    RegisterSlabAreaRules(registry);
    RegisterSlabProjectiveAreaRules(registry);
    RegisterSlabContactWallLenRules(registry);
    RegisterPrecastSlabRules(registry);
    RegisterInsulatingWallUnitOverHighVolRules(registry);
}
