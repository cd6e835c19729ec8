// The empty cargo document of a completed pair.
#include <gtest/gtest.h>

#include <QSqlQuery>

#include "documentcore.h"
#include "journaltestdb.h"

using zv::testing::TestDatabase;

namespace {

const QDate Day(2026, 3, 2);

class CreateDocumentTest : public ::testing::Test {
protected:
    zv::store::TBVDMod1 &dm = zv::store::TBVDMod1::instance();
    TestDatabase db;
};

TEST_F(CreateDocumentTest, EmptyRowWithKeyDateAndTimeOfTheEvent)
{
    const int id = TestDatabase::seedEvent(Day, "08:30:00", 1, 0, "20000");
    const int doc = TestDatabase::journal().at(0).document;
    ASSERT_NE(doc, 0);
    ASSERT_EQ(id, 1);
    EXPECT_EQ(zv::documents::CreateDocument(dm, doc, Day, "08:30:00"), doc);

    QSqlQuery q(zv::store::Database::connection());
    ASSERT_TRUE(q.exec("SELECT ID_DOCUMEN, DATE_DOC, TIME_DOC, NAME_PRODU, WCARGO, ID_GR_OTPR, KOLVO FROM DOCUMENT"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), doc);
    EXPECT_EQ(q.value(1).toString(), "2026-03-02");
    EXPECT_EQ(q.value(2).toString(), "08:30:00");
    EXPECT_TRUE(q.value(3).toString().isEmpty()) << "an unfilled document has no goods";
    EXPECT_TRUE(q.value(4).toString().isEmpty());
    EXPECT_EQ(q.value(5).toInt(), 0);
    EXPECT_EQ(q.value(6).toInt(), 0);
    EXPECT_FALSE(q.next());
}

TEST_F(CreateDocumentTest, ForTheEventTheJournalQueryStandsOn)
{
    TestDatabase::seedEvent(Day, "08:00:00", 1, 1, "7000");
    TestDatabase::seedEvent(Day, "08:30:00", 1, 0, "20000");
    TestDatabase::seedEvent(Day.addDays(1), "06:00:00", 1, 0, "21000");
    auto &q = dm.BVQWrEvJrn;
    q.close();
    q.setParam("IN_DATE", Day);
    q.open();
    q.last();
    const int expected = TestDatabase::journal().at(1).document;
    EXPECT_EQ(zv::documents::CreateDocument(dm), expected);
    EXPECT_EQ(TestDatabase::documents(), std::vector<int>{expected});
    EXPECT_EQ(TestDatabase::scalar("SELECT TIME_DOC FROM DOCUMENT"), "08:30:00");
    // BVQDoc is re-read and lists it.
    dm.BVQDoc.close();
    dm.BVQDoc.setParam("IN_DATE", Day);
    dm.BVQDoc.open();
    EXPECT_EQ(dm.BVQDoc.fieldByName("ID_DOCUMEN").asInt(), expected);
}

TEST_F(CreateDocumentTest, ExistingDocumentIsKept)
{
    TestDatabase::seedEvent(Day, "08:30:00", 1, 0, "20000");
    const int doc = TestDatabase::journal().at(0).document;
    zv::documents::CreateDocument(dm, doc, Day, "08:30:00");
    TestDatabase::exec(QStringLiteral("UPDATE DOCUMENT SET NAME_PRODU = 'Щебень', NUMBER_NAK = '17' WHERE ID_DOCUMEN = %1").arg(doc));
    EXPECT_EQ(zv::documents::CreateDocument(dm, doc, Day, "09:00:00"), doc);
    EXPECT_EQ(TestDatabase::documents(), std::vector<int>{doc});
    EXPECT_EQ(TestDatabase::scalar("SELECT NAME_PRODU || '/' || NUMBER_NAK || '/' || TIME_DOC FROM DOCUMENT"),
              "Щебень/17/08:30:00");
}

TEST_F(CreateDocumentTest, NothingWithoutADocumentNumber)
{
    EXPECT_EQ(zv::documents::CreateDocument(dm, 0, Day, "08:30:00"), 0);
    auto &q = dm.BVQWrEvJrn;
    q.close();
    q.setParam("IN_DATE", Day);
    q.open(); // no events that day
    EXPECT_EQ(zv::documents::CreateDocument(dm), 0);
    EXPECT_TRUE(TestDatabase::documents().empty());
}

} // namespace
