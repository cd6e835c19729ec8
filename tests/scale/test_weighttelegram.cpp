#include "weighttelegram.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <limits>

using zv::scale::ConvWeightStr;
using zv::scale::extractWeight;

namespace {

struct ExtractCase {
    const char *name;
    QByteArray block;
    const char *wholeForm;   // text in the whole-number form
    const char *decimalForm; // text in the decimal form
};

void PrintTo(const ExtractCase &c, std::ostream *os) { *os << c.name; }

const ExtractCase kExtractCases[] = {
    {"plain digits", "0012340", "0012340", ""},
    {"decimal with unit", "12.34 t", "12.34", "12.34"},
    {"decorated telegram", "ST,GS,+0012340kg", "0012340", ""},
    {"decorated decimal", "US,GS,+12.34 t\r\n", "12.34", "12.34"},
    {"line end only", "\r\n", "", ""},
    {"empty block", "", "", ""},
    {"minus sign dropped", "-0000020\r\n", "0000020", ""},
    {"two telegrams in one block", "0012340\r\n0012350\r\n", "00123400012350", ""},
    {"partial telegram", "340\r\n00", "34000", ""},
    {"several points kept", "1.2.3", "1.2.3", "1.2.3"},
    {"lone point", ".", ".", "."},
    {"bytes outside ASCII dropped", QByteArray("\xff\xfe") + QByteArray("12.5 \xd1\x82"), "12.5", "12.5"},
    {"nul bytes dropped", QByteArray("00\0" "12", 5), "0012", ""},
};

class ExtractWeight : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractWeight, KeepsDigitsAndPointsOnly)
{
    const ExtractCase &c = GetParam();
    EXPECT_EQ(extractWeight(c.block, false), QString::fromLatin1(c.wholeForm));
    EXPECT_EQ(extractWeight(c.block, true), QString::fromLatin1(c.decimalForm));
}

INSTANTIATE_TEST_SUITE_P(Blocks, ExtractWeight, ::testing::ValuesIn(kExtractCases),
                         [](const auto &info) {
                             std::string n = info.param.name;
                             for (char &ch : n)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });

struct ConvCase {
    int digits;
    double weight;
    const char *text;
};

void PrintTo(const ConvCase &c, std::ostream *os) { *os << c.digits << " digits, " << c.weight; }

// Halves are rounded away from zero, judged on the decimal the weight was
// written as, not on the nearest binary double (1.005 is stored as
// 1.00499999...).
const ConvCase kConvCases[] = {
    {0, 12345.4, "12345"},
    {0, 12345.6, "12346"},
    {2, 12.3, "12.30"},
    {2, 7.5, "7.50"},
    {0, 19620, "19620"},
    {0, 12345.5, "12346"},
    {0, 12344.5, "12345"},
    {0, 9.5, "10"},
    {2, 1.005, "1.01"},
    {2, 2.675, "2.68"},
    {2, 99.995, "100.00"},
    {2, 0.1 + 0.2, "0.30"},
    {2, 12.34, "12.34"},
    {1, 2.25, "2.3"},
    {0, 0, "0"},
    {2, 0, "0.00"},
    {0, -0.4, "0"},
    {2, -0.001, "0.00"},
    {0, -0.0, "0"},
    {0, -12.5, "-13"},
    {2, -7.5, "-7.50"},
    {0, 1e7, "10000000"},
    {0, 123456789012.0, "123456789012"},
    {2, 0.004999, "0.00"},
    {-1, 5.5, "6"},
};

class ConvWeight : public ::testing::TestWithParam<ConvCase> {};

TEST_P(ConvWeight, RoundsToTheGivenDigits)
{
    const ConvCase &c = GetParam();
    EXPECT_EQ(ConvWeightStr(c.digits, c.weight), QString::fromLatin1(c.text))
        << "digits " << c.digits << " weight " << c.weight;
}

INSTANTIATE_TEST_SUITE_P(Weights, ConvWeight, ::testing::ValuesIn(kConvCases));

TEST(ConvWeightStr, NotANumberGivesNoText)
{
    EXPECT_TRUE(ConvWeightStr(0, std::numeric_limits<double>::quiet_NaN()).isEmpty());
    EXPECT_TRUE(ConvWeightStr(2, std::numeric_limits<double>::infinity()).isEmpty());
    EXPECT_TRUE(ConvWeightStr(2, -std::numeric_limits<double>::infinity()).isEmpty());
}

// What the journal stores must read back as the same number.
TEST(ConvWeightStr, TextReadsBackAsTheRoundedWeight)
{
    for (int digits : {0, 2}) {
        for (double w = -50.0; w < 50000.0; w += 13.37) {
            const QString text = ConvWeightStr(digits, w);
            bool ok = false;
            const double back = text.toDouble(&ok);
            ASSERT_TRUE(ok) << text.toStdString();
            EXPECT_LE(std::fabs(back - w), 0.5 * std::pow(10.0, -digits) + 1e-9) << text.toStdString();
            EXPECT_EQ(text.contains(QLatin1Char('.')), digits > 0);
        }
    }
}

} // namespace
