// What every rule registry must satisfy, checked over all its names: no name
// refused as a duplicate (a letter-case clash counts), every name unique
// ignoring case, every class creatable by its name, and the object created
// for a name of exactly the class registered under it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"

using TRuleMaker = std::function<Ref<IQTKCalcStrategy>(const std::string& name)>;

// One line per fault found ("duplicate ...", "not creatable ...", ...); empty
// when the registry is sound. Make creates a rule by name (GetStrategy for the
// library's registry).
std::vector<std::string> RegistryProblems(const TStrategyRegistry& registry, const TRuleMaker& make);

// The class name of a rule object, without namespaces ("TQTKCalcStrategy").
std::string RuleClassName(const IQTKCalcStrategy& rule);
