#include "Host/Runtime/SysUtils.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Decimal digits (no leading zeros, trailing zeros stripped) and the decimal
// exponent of the first digit, after rounding to `precision` significant digits.
struct DecimalDigits {
    bool negative = false;
    std::string digits;  // at least one digit
    int exponent = 0;    // value = 0.d1d2d3... * 10^(exponent + 1)
};

DecimalDigits ToDigits(double value, int precision)
{
    DecimalDigits d;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, value);
    const char* p = buf;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            d.digits += *p;
    if (*p == 'e')
        d.exponent = std::atoi(p + 1);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

std::string NonFinite(double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string FixedFromDigits(const DecimalDigits& d)
{
    std::string out;
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent >= 0) {
        const int intDigits = d.exponent + 1;
        if (n <= intDigits) {
            out = d.digits;
            out.append(static_cast<size_t>(intDigits - n), '0');
        } else {
            out = d.digits;
            out.insert(static_cast<size_t>(intDigits), 1, '.');
        }
    } else {
        out = "0.";
        out.append(static_cast<size_t>(-d.exponent - 1), '0');
        out += d.digits;
    }
    return out;
}

}  // namespace

std::string FormatGeneral(double value, int precision)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    if (precision < 1 || precision > 18)
        precision = 15;
    if (value == 0.0)
        return "0";
    const DecimalDigits d = ToDigits(value, precision);
    std::string body;
    // Fixed notation from 0.00001 up to 15 integer digits.
    if (d.exponent >= -5 && d.exponent < 15) {
        body = FixedFromDigits(d);
    } else {
        body = d.digits;
        if (body.size() > 1)
            body.insert(1, 1, '.');
        body += 'E';
        body += std::to_string(d.exponent);
    }
    if (d.negative)
        body.insert(0, 1, '-');
    return body;
}

std::string FloatToStr(double value)
{
    return FormatGeneral(value, 15);
}

std::string QuotedStr(std::string_view text)
{
    std::string result = "'";
    for (char c : text) {
        result += c;
        if (c == '\'')
            result += '\'';
    }
    return result + "'";
}

namespace {

[[noreturn]] void InvalidFormat(std::string_view format)
{
    throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

std::string Pad(std::string text, int width, bool left)
{
    if (width > 0 && static_cast<int>(text.size()) < width) {
        const std::string fill(width - text.size(), ' ');
        text = left ? text + fill : fill + text;
    }
    return text;
}

std::string FixedText(double v, int precision, bool thousands)
{
    if (!std::isfinite(v))
        return NonFinite(v);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", precision, v);
    std::string s = buf;
    if (s == "-0" || s.find_first_not_of("-0.") == std::string::npos) {
        if (!s.empty() && s[0] == '-')
            s.erase(0, 1);  // no negative zero
    }
    if (thousands) {
        const bool neg = !s.empty() && s[0] == '-';
        const auto dot = s.find('.');
        std::string intPart = s.substr(neg ? 1 : 0, (dot == std::string::npos ? s.size() : dot) - (neg ? 1 : 0));
        std::string grouped;
        for (size_t i = 0; i < intPart.size(); ++i) {
            if (i > 0 && (intPart.size() - i) % 3 == 0)
                grouped += ',';
            grouped += intPart[i];
        }
        if (neg)
            grouped.insert(0, 1, '-');
        if (dot != std::string::npos)
            grouped += s.substr(dot);
        s = std::move(grouped);
    }
    return s;
}

std::string ScientificText(double v, int precision)
{
    if (!std::isfinite(v))
        return NonFinite(v);
    // Host form: mantissa with precision-1 decimals, "E", sign and at least three exponent digits.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", precision - 1, v);
    std::string s = buf;
    const auto e = s.find('E');
    std::string mant = s.substr(0, e);
    std::string exp = s.substr(e + 1);
    const char sign = exp[0];
    std::string digits = exp.substr(1);
    while (digits.size() < 3)
        digits.insert(0, 1, '0');
    mant += 'E';
    mant += sign;
    mant += digits;
    return mant;
}

}  // namespace

std::string Format(std::string_view format, std::initializer_list<TVarRec> args)
{
    const std::vector<const TVarRec*> list = [&] {
        std::vector<const TVarRec*> v;
        for (const auto& a : args)
            v.push_back(&a);
        return v;
    }();
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (++i >= format.size())
            InvalidFormat(format);
        if (format[i] == '%') {
            out += '%';
            continue;
        }
        // [index:]
        size_t j = i;
        int number = -1;
        auto readNumber = [&](size_t& k) {
            int v = -1;
            while (k < format.size() && format[k] >= '0' && format[k] <= '9') {
                v = (v < 0 ? 0 : v * 10) + (format[k] - '0');
                ++k;
            }
            return v;
        };
        number = readNumber(j);
        if (j < format.size() && format[j] == ':') {
            if (number < 0)
                InvalidFormat(format);
            next = static_cast<size_t>(number);
            i = j + 1;
        }
        bool left = false;
        if (i < format.size() && format[i] == '-') {
            left = true;
            ++i;
        }
        const int width = readNumber(i);
        int precision = -1;
        if (i < format.size() && format[i] == '.') {
            ++i;
            precision = readNumber(i);
            if (precision < 0)
                precision = 0;
        }
        if (i >= format.size())
            InvalidFormat(format);
        const char type = static_cast<char>(std::tolower(static_cast<unsigned char>(format[i])));
        if (next >= list.size())
            InvalidFormat(format);
        const auto& value = list[next++]->Value();
        std::string text;
        switch (type) {
            case 'd':
            case 'u':
            case 'x': {
                if (!std::holds_alternative<int64_t>(value))
                    InvalidFormat(format);
                const int64_t v = std::get<int64_t>(value);
                if (type == 'x') {
                    char buf[32];
                    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(v));
                    text = buf;
                } else {
                    text = std::to_string(type == 'u' ? static_cast<int64_t>(static_cast<uint32_t>(v)) : v);
                }
                if (precision > 0) {
                    const bool neg = !text.empty() && text[0] == '-';
                    std::string digits = neg ? text.substr(1) : text;
                    while (static_cast<int>(digits.size()) < precision)
                        digits.insert(0, 1, '0');
                    if (neg)
                        digits.insert(0, 1, '-');
                    text = std::move(digits);
                }
                break;
            }
            case 'g':
            case 'f':
            case 'e':
            case 'n': {
                double v;
                if (std::holds_alternative<double>(value))
                    v = std::get<double>(value);
                else if (std::holds_alternative<int64_t>(value))
                    v = static_cast<double>(std::get<int64_t>(value));
                else
                    InvalidFormat(format);
                if (type == 'g')
                    text = FormatGeneral(v, precision < 0 ? 15 : precision);
                else if (type == 'e')
                    text = ScientificText(v, precision < 0 ? 15 : (precision == 0 ? 1 : precision));
                else
                    text = FixedText(v, precision < 0 ? 2 : precision, type == 'n');
                break;
            }
            case 's': {
                if (!std::holds_alternative<std::string>(value))
                    InvalidFormat(format);
                text = std::get<std::string>(value);
                if (precision >= 0 && static_cast<int>(text.size()) > precision)
                    text.resize(precision);
                break;
            }
            default:
                InvalidFormat(format);
        }
        out += Pad(std::move(text), width, left);
    }
    return out;
}
