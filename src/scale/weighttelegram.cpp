#include "weighttelegram.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace zv::scale {

QString extractWeight(const QByteArray &block, bool decimalForm)
{
    QString text;
    text.reserve(block.size());
    bool hasPoint = false;
    for (const char c : block) {
        if (c >= '0' && c <= '9') {
            text.append(QLatin1Char(c));
        } else if (c == '.') {
            text.append(QLatin1Char(c));
            hasPoint = true;
        }
    }
    if (decimalForm && !hasPoint)
        return QString();
    return text;
}

namespace {

// Rounds a plain decimal text "ddd.ddd" (no sign) to `digits` digits after the
// point, halves away from zero. Working on the shortest decimal text of the
// double rounds the number the operator saw: 1.005 gives 1.01, although the
// nearest double lies slightly below 1.005.
std::string roundDecimalText(const std::string &text, int digits)
{
    const auto point = text.find('.');
    std::string intPart = point == std::string::npos ? text : text.substr(0, point);
    std::string fracPart = point == std::string::npos ? std::string() : text.substr(point + 1);
    if (intPart.empty())
        intPart.push_back('0');

    const bool roundUp = int(fracPart.size()) > digits && fracPart[size_t(digits)] >= '5';
    fracPart.resize(size_t(digits), '0');

    std::string all = intPart + fracPart;
    if (roundUp) {
        int i = int(all.size()) - 1;
        for (; i >= 0; --i) {
            if (all[size_t(i)] == '9') {
                all[size_t(i)] = '0';
            } else {
                ++all[size_t(i)];
                break;
            }
        }
        if (i < 0)
            all.insert(all.begin(), '1');
    }
    std::string result = all.substr(0, all.size() - size_t(digits));
    if (digits > 0)
        result += '.' + all.substr(all.size() - size_t(digits));
    return result;
}

} // namespace

QString ConvWeightStr(int digits, double weight)
{
    // A weight that is not a number has no text; the callers refuse an empty weight.
    if (!std::isfinite(weight))
        return QString();
    digits = std::clamp(digits, 0, 15);

    char buf[512];
    const double magnitude = std::fabs(weight);
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed);
    if (res.ec != std::errc())
        return QString();
    std::string text = roundDecimalText(std::string(buf, res.ptr), digits);

    // No "-0" or "-0.00": a negative weight that rounds to zero is zero.
    const bool isZero = text.find_first_not_of("0.") == std::string::npos;
    if (std::signbit(weight) && !isZero)
        text.insert(text.begin(), '-');
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace zv::scale
