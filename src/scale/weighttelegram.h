#pragma once
// Weight telegrams of the indicator and the weight-to-text conversion.
#include <QByteArray>
#include <QString>

namespace zv::scale {

// The weight text of one received block: the digits and points of the block
// in their order, everything else dropped. In the decimal form a block
// without a point gives an empty text.
QString extractWeight(const QByteArray &block, bool decimalForm);

// Text of `weight` with `digits` digits after a "." (none when digits is 0),
// rounded, without leading blanks. A weight exactly halfway goes away from
// zero (12345.5 -> "12346", -7.5 -> "-8"), judged on the decimal the weight is
// written as, so 1.005 gives "1.01" although its binary value lies a hair
// below. A negative weight that rounds to zero is "0". Not a number: empty.
QString ConvWeightStr(int digits, double weight);

} // namespace zv::scale
