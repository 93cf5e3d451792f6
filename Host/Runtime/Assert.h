// Assertions for programming errors: a nil record, an index out of range, an
// unsupported kind. A failed assertion throws EQTKAssertionFailed naming the
// source unit (its path inside the project, without extension) and the line;
// the host catches it around a rule's calculation.
#pragma once

#include <stdexcept>
#include <string>

class EQTKAssertionFailed : public std::logic_error {
public:
    EQTKAssertionFailed(std::string unit, int line, const std::string& what);
    const std::string& Unit() const noexcept { return unit_; }
    int Line() const noexcept { return line_; }

private:
    std::string unit_;
    int line_;
};

// "Host/Runtime/Assert" for ".../Host/Runtime/Assert.cpp".
std::string QTKUnitPath(const char* file);

[[noreturn]] void QTKAssertFailed(const char* file, int line, const char* expression, const char* message = nullptr);

#define QTK_ASSERT(cond) ((cond) ? (void)0 : QTKAssertFailed(__FILE__, __LINE__, #cond))
#define QTK_ASSERT_MSG(cond, msg) ((cond) ? (void)0 : QTKAssertFailed(__FILE__, __LINE__, #cond, (msg)))
