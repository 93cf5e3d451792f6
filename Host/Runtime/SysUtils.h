// Number text and format strings of the host runtime.
//
// FloatToStr and "%g" use the host's general number format, which is not C's
// printf "%g": the value is rounded to 15 significant digits; magnitudes from
// 0.00001 up to (not including) 1E15 print in fixed notation, others as a
// mantissa with "E" and an unpadded exponent ("1.5E-6", "1E15"); trailing
// zeros and a trailing point are dropped; the decimal separator is always ".".
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

std::string FloatToStr(double value);

// The text in single quotes, quote characters inside doubled ("it's" ->
// "'it''s'"), as a text literal of the engine's expression language.
std::string QuotedStr(std::string_view text);

// General format with `precision` significant digits (FloatToStr uses 15).
std::string FormatGeneral(double value, int precision = 15);

// One argument of Format: an integer, a floating value or a text.
class TVarRec {
public:
    TVarRec(int v) : value_(static_cast<int64_t>(v)) {}
    TVarRec(long v) : value_(static_cast<int64_t>(v)) {}
    TVarRec(long long v) : value_(static_cast<int64_t>(v)) {}
    TVarRec(unsigned v) : value_(static_cast<int64_t>(v)) {}
    TVarRec(double v) : value_(v) {}
    TVarRec(const char* v) : value_(std::string(v ? v : "")) {}
    TVarRec(std::string v) : value_(std::move(v)) {}
    TVarRec(std::string_view v) : value_(std::string(v)) {}

    const std::variant<int64_t, double, std::string>& Value() const { return value_; }

private:
    std::variant<int64_t, double, std::string> value_;
};

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Format string of the host runtime: directives %[index:][-][width][.precision]type
// with the types d, u, x (integers), g, f, e, n (floats; an integer argument is
// accepted and widened), s (text), and "%%". A missing argument or an
// incompatible one raises EConvertError naming the format.
std::string Format(std::string_view format, std::initializer_list<TVarRec> args);
