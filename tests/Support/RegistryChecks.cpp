#include "tests/Support/RegistryChecks.h"

#include <cxxabi.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <typeinfo>

namespace {

std::string AsciiUpper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

std::string RuleClassName(const IQTKCalcStrategy& rule)
{
    const char* mangled = typeid(rule).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    const size_t colons = name.rfind("::");
    return colons == std::string::npos ? name : name.substr(colons + 2);
}

std::vector<std::string> RegistryProblems(const TStrategyRegistry& registry, const TRuleMaker& make)
{
    std::vector<std::string> problems;
    for (const std::string& name : registry.Duplicates())
        problems.push_back("duplicate registration of " + name);
    std::map<std::string, std::string> byUpperName;
    for (const std::string& name : registry.Names()) {
        const auto [it, added] = byUpperName.emplace(AsciiUpper(name), name);
        if (!added)
            problems.push_back("names differing only in case: " + it->second + ", " + name);
        Ref<IQTKCalcStrategy> rule;
        try {
            rule = make(name);
        } catch (const std::exception& error) {
            problems.push_back("not creatable: " + name + ": " + error.what());
            continue;
        }
        if (!rule) {
            problems.push_back("not creatable: " + name);
            continue;
        }
        const std::string className = RuleClassName(*rule);
        if (className != name)
            problems.push_back(name + " creates " + className);
    }
    return problems;
}
