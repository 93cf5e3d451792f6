// The rule registry and the library's entry.
//
// Every rule class is registered under its own class name. Lookup ignores
// letter case; a second registration of a name is ignored (the first class
// stays). Unknown names give the neutral base rule, whose calculation is 0.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Calculator/Common/QTKCalcStrategy.h"
#include "Host/Runtime/NameList.h"

#if defined(_WIN32)
#define QTK_EXPORT __declspec(dllexport)
#else
#define QTK_EXPORT __attribute__((visibility("default")))
#endif

// A rule class: makes a new instance with no construction logic of its own.
using TQTKStrategyClass = TQTKCalcStrategy* (*)();

template <class T>
TQTKCalcStrategy* CreateStrategyInstance()
{
    return new T();
}

class TStrategyRegistry {
public:
    // Adds (name, class). A name registered before in any letter case is
    // refused: the first class stays, the call answers false and the name is
    // kept in Duplicates(), which the registry test checks to be empty.
    bool RegisterStrategy(std::string_view name, TQTKStrategyClass ruleClass);
    // The class registered under the name (any letter case), or nil.
    TQTKStrategyClass FindClass(std::string_view name) const;
    // A new rule of the named class, or of TQTKCalcStrategy when the name is unknown.
    Ref<IQTKCalcStrategy> CreateStrategy(std::string_view name) const;
    std::vector<std::string> Names() const;
    int Count() const { return list_.Count(); }
    // The names refused by RegisterStrategy, in the order they came.
    const std::vector<std::string>& Duplicates() const { return duplicates_; }

private:
    TSortedNameList<TQTKStrategyClass> list_;
    std::vector<std::string> duplicates_;
};

// Registers a rule class under its own class name, so the name can never drift.
#define QTK_REGISTER(registry, Class) (registry).RegisterStrategy(#Class, &CreateStrategyInstance<Class>)

// The two over-height elevations the slab over-height builder hands to the
// slab element object, which keeps them.
struct TQTKOverhighElev {
    double FirstElev = 0.0;
    double SecondElev = 0.0;
};

// The library's registry, filled by every rule unit's registration function in
// the units' order the first time it is used.
const TStrategyRegistry& GStrategyList();

// C++ form of the entry.
Ref<IQTKCalcStrategy> NewStrategy(std::string_view name);

// The exported entry: a new rule object for the name; the caller owns the one
// reference it carries and releases it when done. Never nil.
extern "C" QTK_EXPORT IQTKCalcStrategy* GetStrategy(const char* name);
