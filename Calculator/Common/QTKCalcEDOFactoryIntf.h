// The element factory as the common routines see it. GetOrCreateCalcEDO makes
// every element object through it and so knows no element-object class; the
// factory unit (Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDOCreater) is
// the one place that does.
#pragma once

#include <cstdint>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

class IQTKCalcEDOFactory {
public:
    // A new element object for the host element type id, made with (Mode,
    // DrawObj). Never nil: a kind without an object of its own gets the base
    // class.
    virtual Ref<IQTKCalculatorEDO> CreateCalcEDO(int elementTypeId, std::uint8_t mode,
                                                 IQTKElementDrawObj* drawObj) const = 0;

protected:
    ~IQTKCalcEDOFactory() = default;
};

// The library's element factory.
const IQTKCalcEDOFactory& GetCalcEDOFactory();
