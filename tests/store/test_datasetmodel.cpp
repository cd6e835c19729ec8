// The grid model follows its query: opening, re-running and closing.
#include "storefixture.h"

#include "datasetmodel.h"

using namespace zv::store;

class DatasetModelTest : public StoreTest {};

TEST_F(DatasetModelTest, FollowsTheQueryAndShowsDatesAsTyped)
{
    sql(QStringLiteral("INSERT INTO DOCUMENT (ID_DOCUMEN, DATE_DOC, TIME_DOC, NUMBER_NAK) VALUES "
                       "(1, '2024-05-06', '10:00:00', 'N-1'), (2, '2024-05-06', '09:00:00', 'N-2')"));
    Dataset &q = dm().BVQDoc;
    DatasetModel model(&q);
    model.setColumns({{QStringLiteral("DATE_DOC"), QStringLiteral("Дата")},
                      {QStringLiteral("TIME_DOC"), QStringLiteral("Время")},
                      {QStringLiteral("NUMBER_NAK"), QStringLiteral("№ накл."), Qt::AlignRight | Qt::AlignVCenter}});
    EXPECT_EQ(model.rowCount(), 0);
    q.setParam(QStringLiteral("IN_DATE"), QDate(2024, 5, 6));
    q.open();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("№ накл."));
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("06.05.2024"));
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QStringLiteral("N-2")); // ordered by time
    EXPECT_EQ(model.data(model.index(1, 2), Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));

    sql(QStringLiteral("INSERT INTO DOCUMENT (ID_DOCUMEN, DATE_DOC, TIME_DOC) VALUES (3, '2024-05-06', '11:00:00')"));
    q.close();
    EXPECT_EQ(model.rowCount(), 0);
    q.open();
    EXPECT_EQ(model.rowCount(), 3);
    // The grid's current row moves the query's cursor.
    q.setRecNo(2);
    EXPECT_EQ(q.fieldByName(QStringLiteral("ID_DOCUMEN")).asInteger(), 3);
}

// The filter's condition grid edits the scratch table in place.
TEST_F(DatasetModelTest, EditableTableCells)
{
    sql(QStringLiteral("INSERT INTO MEMD (F1, F2) VALUES ('Дата события', 'равно'), ('Водитель', 'равно')"));
    Dataset &t = dm().BVTMemD;
    t.open();
    DatasetModel model(&t);
    EXPECT_FALSE(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
    model.setEditable(true);
    ASSERT_TRUE(model.flags(model.index(1, 2)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.setData(model.index(1, 2), QStringLiteral("Иванов Иван Иванович")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT F3 FROM MEMD WHERE F1 = 'Водитель'")).toString(),
              QStringLiteral("Иванов Иван Иванович"));
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), QStringLiteral("Иванов Иван Иванович"));
    EXPECT_EQ(model.rowCount(), 2);
    // A text longer than the column keeps its beginning.
    EXPECT_TRUE(model.setData(model.index(0, 4), QStringLiteral("AND AND")));
    EXPECT_EQ(model.data(model.index(0, 4)).toString(), QStringLiteral("AND A"));

    // Queries stay read-only.
    sql(QStringLiteral("INSERT INTO TSTYPES VALUES (1, 'Самосвал')"));
    dm().BVQTsTypes.open();
    DatasetModel ro(&dm().BVQTsTypes);
    ro.setEditable(true);
    ASSERT_EQ(ro.rowCount(), 1);
    EXPECT_FALSE(ro.flags(ro.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(ro.setData(ro.index(0, 1), QStringLiteral("Фургон")));
}
