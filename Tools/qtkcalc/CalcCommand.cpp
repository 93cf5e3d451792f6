#include "Tools/qtkcalc/CalcCommand.h"

#include <CLI/CLI.hpp>

#include <ostream>

#include "Calculator/Common/QTKCalcStrategys.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/ElementModel/QTKElementModel.h"
#include "Host/QTKCommon/QTKCalculationScope.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/Runtime/SysUtils.h"
#include "Tools/qtkcalc/QTKTakeoff.h"

CLI::App* AddCalcCommand(CLI::App& app, TCalcCommandOptions& options)
{
    auto* calc = app.add_subcommand("calc", "Run one rule on one element (pair) of a model");
    calc->add_option("MODEL", options.modelPath, "The model file (JSON)")->required();
    calc->add_option("--rule", options.rule, "Rule name (a registered rule class)")->required();
    calc->add_option("--subject", options.subject, "Record id of the subject element")->required();
    calc->add_option("--object", options.object, "Record id of the object (deducting or related) element");
    calc->add_option("--rules", options.rulesPath, "Rule tables (JSON) whose settings the rules read");
    calc->add_flag("--expr", options.expr, "Print the calculation expression");
    calc->add_flag("--details", options.details, "Print the deduction details");
    return calc;
}

namespace {

// The rule set a model carries: its first database after "Business", else
// the business database itself.
TableSourceRef RuleSetOf(const TQTKElementModel& model)
{
    const IRDXModel* rdx = model.GetRDXModel();
    for (int i = 0; i < rdx->GetDatabaseCount(); ++i) {
        IRDXDatabase* database = rdx->GetDatabaseByIndex(i);
        if (database != model.GetBusiness())
            return TableSourceRef(dynamic_cast<IRDXTableSource*>(database));
    }
    return TableSourceRef(model.GetBusiness());
}

std::string ElementLabel(const IQTKElementDrawObj& element)
{
    return std::to_string(element.GetIndexKey()) + " (" + GetElementTypeName(element.GetElementTypeID()) + ")";
}

void PrintDetails(const TQTKDeductDetailContainer& details, std::ostream& out)
{
    out << "details: " << details.GetCount() << '\n';
    for (int i = 0; i < details.GetCount(); ++i) {
        const TQTKDeductDetail* detail = details.GetItems(i);
        out << "  " << i + 1 << ". element " << (detail->GetRecord() ? detail->GetRecord()->GetID() : 0);
        if (!detail->GetQtyCode().empty())
            out << " [" << detail->GetQtyCode() << ']';
        out << ' ' << detail->GetDedcutExpr();
        if (detail->GetIsOriginalQty())
            out << " (original)";
        else if (detail->GetIsAddition())
            out << " (addition)";
        out << '\n';
    }
}

int Run(const TCalcCommandOptions& options, std::ostream& out, std::ostream& err)
{
    const Ref<TQTKElementModel> model = TQTKElementModel::LoadFromFile(options.modelPath);
    if (!options.rulesPath.empty())
        AttachRuleSet(*model, options.rulesPath);
    const IQTKElementDrawObj* subject = model->FindElement(options.subject);
    if (!subject) {
        err << "qtkcalc calc: " << options.modelPath << ": no element with id " << options.subject << '\n';
        return 1;
    }
    const IQTKElementDrawObj* object = options.object ? model->FindElement(*options.object) : nullptr;
    if (options.object && !object) {
        err << "qtkcalc calc: " << options.modelPath << ": no element with id " << *options.object << '\n';
        return 1;
    }
    if (!GStrategyList().FindClass(options.rule))
        err << "qtkcalc calc: rule \"" << options.rule << "\" is not registered; the neutral rule answers 0\n";

    model->Activate();
    TQTKCalculationScopeOptions scopeOptions;
    scopeOptions.session.business = TableSourceRef(model->GetBusiness());
    scopeOptions.session.calculatorSetting = RuleSetOf(*model);
    scopeOptions.session.detailMode = options.details;
    scopeOptions.messages = [&err](std::string_view message) { err << "qtkcalc calc: " << message << '\n'; };
    scopeOptions.exprMode = options.expr;
    scopeOptions.release = FreeCalcEDOs;
    TQTKCalculationScope scope(std::move(scopeOptions));
    scope.BeginQuantity(options.subject, options.rule);

    try {
        const Ref<IQTKCalcStrategy> rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(options.rule.c_str()));
        const double quantity =
            rule->Calculate(RecordRef(subject->GetRecord()), RecordRef(object ? object->GetRecord() : nullptr),
                            GBusiness(), GCalculatorSetting());
        out << "rule " << options.rule << " on element " << ElementLabel(*subject);
        if (object)
            out << " with element " << ElementLabel(*object);
        out << '\n'
            << "quantity " << FloatToStr(quantity) << '\n'
            << "  as length " << FloatToStr(quantity) << " mm = " << MMToM(quantity) << " m\n"
            << "  as area   " << FloatToStr(quantity) << " mm2 = " << MM2ToM2(quantity) << " m2\n"
            << "  as volume " << FloatToStr(quantity) << " mm3 = " << MM3ToM3(quantity) << " m3\n";
        if (options.expr) {
            out << "expression " << scope.ExprText(options.subject, options.rule).value_or("(none)") << '\n';
            // The terms some rules write as items (over-height pieces, sides given back).
            const TQTKCalcInternalExprContainer& items = GetEdoGlobalData(options.subject)->GetExprContainer();
            for (int i = 0; i < items.GetCount(); ++i)
                out << "  item " << items.GetItems(i)->GetExprText() << '\n';
        }
        if (options.details)
            PrintDetails(scope.Details(), out);
    } catch (const std::exception& error) {
        err << "qtkcalc calc: rule " << options.rule << " on element " << ElementLabel(*subject) << ": " << error.what()
            << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int RunCalcCommand(const TCalcCommandOptions& options, std::ostream& out, std::ostream& err)
{
    try {
        return Run(options, out, err);
    } catch (const std::exception& error) {
        err << "qtkcalc calc: " << options.modelPath << ": " << error.what() << '\n';
        return 1;
    }
}
