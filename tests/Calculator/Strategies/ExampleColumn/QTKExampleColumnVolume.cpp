#include "tests/Calculator/Strategies/ExampleColumn/QTKExampleColumnVolume.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Calculator/Common/QTKRuleOperator.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/RuleCases.h"

double TQTKExampleColumnVolume::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                          const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKCalculatorEDO> column = GetCalcEDO(subject, true);
    const TVRMPolyhedron3d& solid = *column->GetOriginalPolyhedron();
    const double volume = solid.GetVolume();
    if (IsExprMode(subject.get())) {
        // The formula of the solid's measures ("0.4<长度>*0.4<宽度>*3<高度>"), else the plain value.
        std::string text;
        GVolumeExprParser(subject.get(), nullptr, solid, 1.0, true, volume, text);
        AddExprText(subject.get(), text);
    }
    return volume;
}

double TQTKExampleColumnVolumeDeductBeam::Calculate(const RecordRef& subject, const RecordRef& object,
                                                    const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    // Only a beam that the project's rule table names for the column's volume deducts.
    if (!TQTKRuleQuery::FindVolumeRule(subject, object))
        return 0.0;
    const Ref<IQTKCalculatorEDO> beam = GetCalcEDO(object, true);
    const IPropValues* props = beam->GetElementDrawObj()->GetPropValues();
    const double section = EdoPropValueFloat(props, "SectionWidth") * EdoPropValueFloat(props, "SectionHeight");
    if (const std::optional<double> limit = SectionLimit(); limit && section <= *limit)
        return 0.0;
    const Ref<IQTKCalculatorEDO> column = GetCalcEDO(subject, true);
    TQTKSolidCalc3d volume(column->GetOriginalPolyhedron()->Clone(), subject);
    return volume.Subtract(*beam->GetOriginalPolyhedron(), object.get());
}

void RegisterExampleColumnVolumeRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKExampleColumnVolume);
    QTK_REGISTER(registry, TQTKExampleColumnVolumeDeductBeam);
    QTK_REGISTER(registry, TQTKExampleColumnVolumeDeductBeamDot1M2Limited);
}

// Test-only: known to the rule-case program, not to the library.
QTK_RULE_CASE_UNIT(RegisterExampleColumnVolumeRules);
