// What every calculation-expression builder shares: whether expressions are
// wanted for a record, where its texts go (one text per quantity key, the
// first writer wins), how numbers are rounded for printing, the check of a
// text against the quantity, and optional terms.
//
// Numbers print in m, m², m³ rounded to 4 decimals in the host's general
// number format, each followed by its label ("%g<宽度>" with 0.24 gives
// 0.24<宽度>). Texts are UTF-8.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "Host/RDX/RDXIntf.h"
#include "Host/Runtime/SysUtils.h"

class TVRMMultiPolygon2d;

// Tolerances of the check of a text's product against the rounded quantity.
inline constexpr double CQTKExprAreaTolerance = 0.0004;   // m²
inline constexpr double CQTKExprVolumeTolerance = 0.001;  // m³

// The record's expression flag for the current run; False for a nil record.
bool IsExprMode(const IRDXRecord* record);
// Stores the text as the expression of the record's current quantity unless
// that quantity already has one; True when stored.
bool AddExprText(const IRDXRecord* record, const std::string& text);
// Appends to the current quantity's text; False (nothing changed) without one.
bool AppendToExprText(const IRDXRecord* record, const std::string& text);

// In expression mode, a non-empty text appended to the current quantity's
// text, or stored as its text when it has none.
void AppendExprText(const IRDXRecord* record, const std::string& text);
// The record's current quantity has a text.
bool HasExprText(const IRDXRecord* record);

// Adds the text as an original-quantity expression item (factor 1) of the
// record's current quantity, whatever the expression flag; a nil record adds
// nothing.
void AddOriginalExprItem(IRDXRecord* record, const std::string& text);

// Printed values: model units to m / m² / m³, rounded to 4 decimals.
double ExprLength(double mm);
double ExprArea(double mm2);
double ExprVolume(double mm3);
// A coefficient the rule passes, rounded to 4 decimals without scaling.
double ExprFactor(double factor);

// The product the text states equals the rounded quantity within the tolerance.
bool IsExprConsistent(double product, double roundedQuantity, double tolerance);
// A difference already scaled to m, m² or m³ that rounds (4 decimals) to 0
// within the tolerance.
bool IsPrintedZero(double scaledDifference, double tolerance);
// A difference of areas (mm²) that prints as 0 m² (within 0.0004).
bool IsExprAreaMatch(double difference);

// Formats the template ("%g" the general number format, "%s" a text) and
// stores it when the product of the printed numbers matches the rounded
// quantity; True when stored.
bool AddCheckedExprText(const IRDXRecord* record, double product, double roundedQuantity, double tolerance,
                        std::string_view format, std::initializer_list<TVarRec> args);

// The host's area formula of a polygon set with the precision given; empty
// when the host has none for it.
std::string PolygonAreaFormula(const TVRMMultiPolygon2d& set, int precision);

// A plan area as length times width, "%g<长度>*%g<宽度>", written only in
// expression mode and when the rounded sizes give the rounded area (mm, mm²).
bool AddLengthWidthAreaExpr(const IRDXRecord* record, double area, double length, double width);

// Optional terms: a term is written only when its rounded value is not 0
// (0.0010123456789), and "+" joins only the terms written.
class TQTKExprTerms {
public:
    void Add(double roundedValue, std::string_view format, std::initializer_list<TVarRec> args);
    bool IsEmpty() const noexcept { return text_.empty(); }
    const std::string& Text() const noexcept { return text_; }

private:
    std::string text_;
};
