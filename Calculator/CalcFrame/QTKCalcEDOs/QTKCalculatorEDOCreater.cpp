#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDOCreater.h"

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKAlcoveCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKApronCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKBalconyAndSwingWinCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKBeamCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKColumnBaseCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKColumnCapCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCopingCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomFaceCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomLineCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomPointCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKDoorCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKDoorWinCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKDormerWinCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKEaveAndCanopyCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKEaveLineCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKFDBeamCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKFloorAreaCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKFootStepCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoComplexLineEntCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoLineEntCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasThicknessInfoLineEntCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKInsulatingWallCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKIsolatedFDCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKLintelCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKOpeningCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKParapetCalculator.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKPierCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKPileCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKRaftFDCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKRibbonOpeningCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKRoofCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSiteLevelingCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSlabCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSlabHoleCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKStairCalculator.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKStripFDCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKStripFDUnitCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKTieBeamCalculator.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKTieColumnCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKTrenchCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKTrenchUnitCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKWallCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKWindowCalcEDO.h"
#include "Calculator/Common/QTKCalcEDOFactoryIntf.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/Assert.h"

namespace {

constexpr int CWallType = 0;
constexpr int CStairType = 29;
constexpr int CDoorType = 4;
constexpr int CWindowType = 5;
constexpr int CDoorWinType = 6;
constexpr int COpeningType = 7;
constexpr int CRibbonWinType = 8;
constexpr int CRibbonOpeningType = 9;
constexpr int CDormerWinType = 11;
constexpr int CAlcoveType = 13;
constexpr int CRoomType = 32;
constexpr int CBeamType = 15;
constexpr int CBeamType17 = 17;
constexpr int CTieBeamType = 18;
constexpr int CFDBeamType = 47;
constexpr int CLintelType = 12;
constexpr int CFloorAreaType = 58;
constexpr int CSiteLevelingType = 60;
constexpr int CApronType = 61;
constexpr int CEaveType = 64;
constexpr int CColumnType = 25;
constexpr int CTieColumnType = 26;
constexpr int CColumnCapType = 27;
constexpr int CColumnBaseType = 28;
constexpr int CEaveAndCanopyType = 65;
constexpr int CRoofType = 67;
constexpr int CCopingType = 70;
constexpr int CPierType = 3;
constexpr int CBalconyType = 10;
constexpr int CFootStepType = 62;
constexpr int CSwingWindowType = 66;
constexpr int CParapetType = 69;
constexpr int CCustomPointType = 71;
constexpr int CCustomLineType = 72;
constexpr int CCustomFaceType = 73;
constexpr int CRaftFDType = 48;
constexpr int CIsolatedFDType = 52;
constexpr int CPileCapType = 53;
constexpr int CPileType = 54;
constexpr int CIsolatedFDUnitType = 82;
constexpr int CPileCapUnitType = 83;
constexpr int CSlabHoleType = 14;
constexpr int CSlabType = 19;
constexpr int CSlabKind2Type = 20;
constexpr int CSlabKind3Type = 21;
constexpr int CSlabOpeningType = 24;
constexpr int CStripFDType = 51;
constexpr int CStripFDUnitType = 81;
constexpr int CInsulatingWallType = 1;
constexpr int CInsulatingWallUnitType = 86;

// The factory behind IQTKCalcEDOFactory.
class TQTKCalcEDOFactory final : public IQTKCalcEDOFactory {
public:
    Ref<IQTKCalculatorEDO> CreateCalcEDO(int elementTypeId, std::uint8_t mode,
                                         IQTKElementDrawObj* drawObj) const override
    {
        return TQTKCalcEDOCreater::CreateCalcEDO(elementTypeId, mode, drawObj);
    }
};

template <class T>
Ref<IQTKCalculatorEDO> Create(std::uint8_t mode, IQTKElementDrawObj* drawObj)
{
    return Ref<IQTKCalculatorEDO>(new T(mode, drawObj));
}

// A line element whose family's own object is still to come: the line
// branch it stands on, joining the elements of its family.
template <class Branch>
class TQTKPlainLineEntCalcEDO final : public Branch {
public:
    using Branch::Branch;

protected:
    TQTKElementTypeSet GetConnectElementTypes() override
    {
        switch (const int type = this->GetElementDrawObj()->GetElementTypeID()) {
            case 0:
            case 1:
                return MakeElementTypeSet({0, 1});
            case 15:
            case 17:
            case 18:
            case 47:
                return MakeElementTypeSet({15, 17, 18, 47});
            default:
                return MakeElementTypeSet({type});
        }
    }
};

// Post-cast strips by thickness.
Ref<IQTKCalculatorEDO> CreatePlainLineEntCalcEDO(int elementTypeId, std::uint8_t mode, IQTKElementDrawObj* drawObj)
{
    switch (elementTypeId) {
        case 63:
            return Create<TQTKPlainLineEntCalcEDO<TQTKHasThicknessInfoLineEntCalcEDO>>(mode, drawObj);
        default:
            return nullptr;
    }
}

// An eave is a face (eave and canopy, "Shape" 0) or a line (eave line, "Shape" 1).
Ref<IQTKCalculatorEDO> CreateEaveCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
{
    switch (EdoPropValueInteger(drawObj->GetPropValues(), "Shape")) {
        case 0:
            return Create<TQTKEaveAndCanopyCalcEDO>(mode, drawObj);
        case 1:
            return Create<TQTKEaveLineCalcEDO>(mode, drawObj);
        default:
            QTK_ASSERT_MSG(false, "an eave is drawn as a face (Shape 0) or a line (Shape 1)");
            return nullptr;
    }
}

}  // namespace

// The element families' classes take their rows here as they are added; until
// then a kind is served by the base object, so every type id answers.
Ref<IQTKCalculatorEDO> TQTKCalcEDOCreater::CreateCalcEDO(int elementTypeId, std::uint8_t mode,
                                                         IQTKElementDrawObj* drawObj)
{
    switch (elementTypeId) {
        case CWallType:
            return Create<TQTKWallCalcEDO>(mode, drawObj);
        case CPierType:
            return Create<TQTKPierCalcEDO>(mode, drawObj);
        case CParapetType:
            return Create<TQTKParapetCalculator>(mode, drawObj);
        case CDoorType:
            return Create<TQTKDoorCalcEDO>(mode, drawObj);
        case CWindowType:
            return Create<TQTKWindowCalcEDO>(mode, drawObj);
        case CDoorWinType:
            return Create<TQTKDoorWinCalcEDO>(mode, drawObj);
        case COpeningType:
            return Create<TQTKOpeningCalcEDO>(mode, drawObj);
        case CRibbonWinType:
            return Create<TQTKRibbonWinCalcEDO>(mode, drawObj);
        case CRibbonOpeningType:
            return Create<TQTKRibbonOpeningCalcEDO>(mode, drawObj);
        case CDormerWinType:
            return Create<TQTKDormerWinCalcEDO>(mode, drawObj);
        case CAlcoveType:
            return Create<TQTKAlcoveCalcEDO>(mode, drawObj);
        case CRoomType:
            return Create<TQTKCalculatorEDO>(2, drawObj);
        case CColumnType:
            return Create<TQTKColumnCalculatorEDO>(mode, drawObj);
        case CTieColumnType:
            return Create<TQTKTieColumnCalculatorEDO>(mode, drawObj);
        case CColumnCapType:
            return Create<TQTKColumnCapCalculatorEDO>(mode, drawObj);
        case CColumnBaseType:
            return Create<TQTKColumnBaseCalculatorEDO>(mode, drawObj);
        case CStairType:
            return Create<TQTKStairCalculator>(mode, drawObj);
        case CFloorAreaType:
            return Create<TQTKFloorAreaCalcEDO>(mode, drawObj);
        case CSiteLevelingType:
            return Create<TQTKSiteLevelingCalcEDO>(mode, drawObj);
        case CApronType:
            return Create<TQTKApronCalcEDO>(mode, drawObj);
        case CBeamType:
        case CBeamType17:
            return Create<TQTKBeamCalcEDO>(mode, drawObj);
        case CTieBeamType:
            return Create<TQTKTieBeamCalculator>(mode, drawObj);
        case CFDBeamType:
            return Create<TQTKFDBeamCalcEDO>(mode, drawObj);
        case CLintelType:
            return Create<TQTKLintelCalcEDO>(mode, drawObj);
        case CEaveType:
            return CreateEaveCalcEDO(mode, drawObj);
        case CEaveAndCanopyType:
            return Create<TQTKEaveAndCanopyCalcEDO>(mode, drawObj);
        case CRoofType:
            return Create<TQTKRoofCalcEDO>(mode, drawObj);
        case CCopingType:
            return Create<TQTKCopingCalcEDO>(mode, drawObj);
        case CBalconyType:
        case CSwingWindowType:
            return Create<TQTKBalconyAndSwingWinCalcEDO>(mode, drawObj);
        case CFootStepType:
            return Create<TQTkFootStepCalcEDO>(mode, drawObj);
        case CCustomPointType:
            return Create<TQTKCustomPointCalcEDO>(mode, drawObj);
        case CCustomLineType:
            return Create<TQTKCustomLineCalcEDO>(mode, drawObj);
        case CCustomFaceType:
            return Create<TQTKCustomFaceCalcEDO>(mode, drawObj);
        case CRaftFDType:
            return Create<TQTKRaftFDCalcEDO>(mode, drawObj);
        case CIsolatedFDType:
            return Create<TQTKIsolatedFDCalcEDO>(mode, drawObj);
        case CPileCapType:
            return Create<TQTKPileCapCalcEDO>(mode, drawObj);
        case CPileType:
            return Create<TQTKPileCalcEDO>(mode, drawObj);
        case CIsolatedFDUnitType:
            return Create<TQTKIsolatedFDUnitCalcEDO>(mode, drawObj);
        case CPileCapUnitType:
            return Create<TQTKPileCapUnitCalcEDO>(mode, drawObj);
        case CSlabType:
        case CSlabKind2Type:
        case CSlabKind3Type:
            return Create<TQTKSlabCalculator>(mode, drawObj);
        case CSlabHoleType:
        case CSlabOpeningType:
            return Create<TQTKSlabHoleCalcEDO>(mode, drawObj);
        case CStripFDType:
            return Create<TQTKStripFDCalcEDO>(mode, drawObj);
        case CStripFDUnitType:
            return Create<TQTKStripFDUnitCalcEDO>(mode, drawObj);
        case 80:
            return Create<TQTKTrenchCalcEDO>(mode, drawObj);
        case 84:
            return CreateTrenchUnitEDO(mode, drawObj);
        case CInsulatingWallType:
            return Create<TQTKInsulatingWallCalcEDO>(mode, drawObj);
        case CInsulatingWallUnitType:
            return Create<TQTKInsulatingWallUnitCalcEDO>(mode, drawObj);
        default:
            if (Ref<IQTKCalculatorEDO> lineEnt = CreatePlainLineEntCalcEDO(elementTypeId, mode, drawObj))
                return lineEnt;
            return Create<TQTKCalculatorEDO>(mode, drawObj);
    }
}

const IQTKCalcEDOFactory& GetCalcEDOFactory()
{
    static const TQTKCalcEDOFactory factory;
    return factory;
}
