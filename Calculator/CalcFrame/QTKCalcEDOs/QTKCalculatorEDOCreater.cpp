#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDOCreater.h"

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKIsolatedFDCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKPileCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKRaftFDCalcEDO.h"
#include "Calculator/Common/QTKCalcEDOFactoryIntf.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/Assert.h"

namespace {

constexpr int CRoomType = 32;
constexpr int CEaveType = 64;
constexpr int CRaftFDType = 48;
constexpr int CIsolatedFDType = 52;
constexpr int CPileCapType = 53;
constexpr int CPileType = 54;
constexpr int CIsolatedFDUnitType = 82;
constexpr int CPileCapUnitType = 83;

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

}  // namespace

// The element families' classes take their rows here as they are added; until
// then a kind is served by the base object, so every type id answers.
Ref<IQTKCalculatorEDO> TQTKCalcEDOCreater::CreateCalcEDO(int elementTypeId, std::uint8_t mode,
                                                         IQTKElementDrawObj* drawObj)
{
    switch (elementTypeId) {
        case CRoomType:
            return Create<TQTKCalculatorEDO>(2, drawObj);
        case CEaveType: {
            // An eave is a face (eave and canopy) or a line (eave line).
            const int shape = EdoPropValueInteger(drawObj->GetPropValues(), "Shape");
            QTK_ASSERT(shape == 0 || shape == 1);
            return Create<TQTKCalculatorEDO>(mode, drawObj);
        }
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
        default:
            return Create<TQTKCalculatorEDO>(mode, drawObj);
    }
}

const IQTKCalcEDOFactory& GetCalcEDOFactory()
{
    static const TQTKCalcEDOFactory factory;
    return factory;
}
