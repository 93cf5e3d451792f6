#include "Host/Runtime/Assert.h"

#include <cstring>

#ifndef QTK_SOURCE_ROOT
#define QTK_SOURCE_ROOT ""
#endif

EQTKAssertionFailed::EQTKAssertionFailed(std::string unit, int line, const std::string& what)
    : std::logic_error(what), unit_(std::move(unit)), line_(line)
{
}

std::string QTKUnitPath(const char* file)
{
    std::string path = file ? file : "";
    const std::string root = QTK_SOURCE_ROOT;
    if (!root.empty() && path.compare(0, root.size(), root) == 0) {
        path.erase(0, root.size());
    } else {
        // A relative or foreign path: keep it from the earliest top-level folder on
        // ("../main/tests/Host/..." is a test unit, not a host unit).
        auto first = std::string::npos;
        for (const char* top : {"Host/", "Calculator/", "Tools/", "tests/", "bench/"}) {
            const auto pos = path.find(top);
            if (pos != std::string::npos && (first == std::string::npos || pos < first))
                first = pos;
        }
        if (first != std::string::npos)
            path.erase(0, first);
    }
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        path.erase(dot);
    return path;
}

void QTKAssertFailed(const char* file, int line, const char* expression, const char* message)
{
    std::string unit = QTKUnitPath(file);
    std::string what = "Assertion failed: ";
    what += (message && *message) ? message : expression;
    what += " (" + unit + ", line " + std::to_string(line) + ")";
    throw EQTKAssertionFailed(std::move(unit), line, what);
}
