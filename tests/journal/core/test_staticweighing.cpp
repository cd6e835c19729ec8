// Static axle-by-axle weighing: counters, axle rows in MEMD, the total, and
// the refusals that must leave everything as it was.
#include <gtest/gtest.h>

#include <QSqlQuery>

#include "journaltestdb.h"
#include "staticweighing.h"

using namespace zv::journal;
using zv::testing::TestDatabase;

namespace {

using Press = StaticWeighing::Press;

class StaticWeighingTest : public ::testing::Test {
protected:
    void SetUp() override { zv::Messages::clear(); }

    static QStringList axleRows()
    {
        QStringList rows;
        QSqlQuery q(zv::store::Database::connection());
        EXPECT_TRUE(q.exec("SELECT F1, F2 FROM MEMD ORDER BY ROWID"));
        while (q.next())
            rows << q.value(0).toString() + "/" + q.value(1).toString();
        return rows;
    }
    QString counters() const { return w.EditWg() + "/" + w.EditOst(); }

    TestDatabase db;
    StaticWeighing w{zv::store::TBVDMod1::instance()};
};

TEST_F(StaticWeighingTest, ThreeAxleVehicle)
{
    ASSERT_TRUE(w.RGAxis1Click(1)); // "3 (Три)"
    EXPECT_EQ(w.AxleCountChosen(), 3);
    EXPECT_EQ(counters(), "0/3");
    EXPECT_EQ(w.BtSaveWClick("5020", true, true), Press::AxleWeighed);
    EXPECT_EQ(counters(), "1/2");
    EXPECT_EQ(w.BtSaveWClick("7310", true, true), Press::AxleWeighed);
    EXPECT_EQ(counters(), "2/1");
    EXPECT_EQ(w.BtSaveWClick("7290", true, true), Press::LastAxleWeighed);
    EXPECT_EQ(counters(), "3/0");
    EXPECT_EQ(w.WeightTotal(), 19620);
    EXPECT_EQ(w.LastWeightText(), "7290");
    EXPECT_EQ(axleRows(), QStringList({"1/5020", "2/7310", "3/7290"}));
    EXPECT_TRUE(zv::Messages::shown().isEmpty());
}

TEST_F(StaticWeighingTest, WeightsAreTakenAsShown)
{
    ASSERT_TRUE(w.RGAxis1Click(0));
    w.BtSaveWClick("0004500.75", true, true);
    w.BtSaveWClick("4500.75", true, true);
    EXPECT_DOUBLE_EQ(w.WeightTotal(), 9001.5);
    EXPECT_EQ(axleRows(), QStringList({"1/0004500.75", "2/4500.75"}));
}

TEST_F(StaticWeighingTest, ChoosingAgainStartsOver)
{
    ASSERT_TRUE(w.RGAxis1Click(2));
    w.BtSaveWClick("5000", true, true);
    w.BtSaveWClick("6000", true, true);
    ASSERT_TRUE(w.RGAxis1Click(0));
    EXPECT_EQ(counters(), "0/2");
    EXPECT_EQ(w.WeightTotal(), 0);
    EXPECT_TRUE(axleRows().isEmpty());
    EXPECT_EQ(w.BtSaveWClick("3000", true, true), Press::AxleWeighed);
    EXPECT_EQ(axleRows(), QStringList({"1/3000"}));
}

struct Refusal {
    const char *name;
    const char *weight;
    bool axisChosen;
    bool windowClosed;
    bool allWeighed;
    QString message;
};

TEST_F(StaticWeighingTest, RefusedPressesChangeNothing)
{
    const Refusal cases[] = {
        {"empty weight", "", true, false, false, StaticWeighing::noWeightMessage()},
        {"typed text", "12a", true, false, false, StaticWeighing::notANumberMessage("12a")},
        {"two points", "1.2.3", true, false, false, StaticWeighing::notANumberMessage("1.2.3")},
        {"empty platform", "0000000", true, false, false, StaticWeighing::noAxleWeightMessage("0000000")},
        {"silent indicator", "0", true, false, false, StaticWeighing::noAxleWeightMessage("0")},
        {"negative reading", "-120", true, false, false, StaticWeighing::noAxleWeightMessage("-120")},
        {"no axle count", "5000", false, false, false, StaticWeighing::noAxleCountMessage()},
        {"counters emptied", "5000", true, true, false, StaticWeighing::noAxleCountMessage()},
        {"every axle weighed", "5000", true, false, true, StaticWeighing::noAxleCountMessage()},
    };
    for (const Refusal &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(w.RGAxis1Click(0));
        w.BtSaveWClick("4000", true, true);
        if (c.allWeighed)
            w.BtSaveWClick("4100", true, true);
        if (c.windowClosed)
            w.axleWindowClosed();
        const QString before = counters();
        const QStringList rowsBefore = axleRows();
        const double total = w.WeightTotal();
        const int next = w.NextAxleNo();
        zv::Messages::clear();
        EXPECT_EQ(w.BtSaveWClick(c.weight, c.axisChosen, true), Press::Refused);
        EXPECT_EQ(zv::Messages::shownTexts(), QStringList{c.message});
        EXPECT_EQ(counters(), before);
        EXPECT_EQ(axleRows(), rowsBefore);
        EXPECT_EQ(w.WeightTotal(), total);
        EXPECT_EQ(w.NextAxleNo(), next);
    }
}

TEST_F(StaticWeighingTest, ClosingTheWindowKeepsTheTotal)
{
    ASSERT_TRUE(w.RGAxis1Click(1));
    w.BtSaveWClick("5020", true, true);
    w.axleWindowClosed();
    EXPECT_EQ(counters(), "/");
    EXPECT_EQ(w.WeightTotal(), 5020);
    EXPECT_EQ(w.NextAxleNo(), 2);
}

TEST_F(StaticWeighingTest, FailedAxleRowCountsNothing)
{
    ASSERT_TRUE(w.RGAxis1Click(0));
    TestDatabase::exec("CREATE TRIGGER no_axle BEFORE INSERT ON MEMD BEGIN SELECT RAISE(ABORT, 'no space'); END");
    EXPECT_EQ(w.BtSaveWClick("5000", true, true), Press::WriteFailed);
    EXPECT_EQ(counters(), "0/2");
    EXPECT_EQ(w.WeightTotal(), 0);
    ASSERT_EQ(zv::Messages::shown().size(), 1);
    EXPECT_EQ(zv::Messages::shown().at(0).kind, zv::ShownMessage::Error);
    EXPECT_TRUE(zv::Messages::shownTexts().at(0).contains("no space"));
}

} // namespace
