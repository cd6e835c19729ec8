#pragma once
// A weighing page over a real database file in a temporary directory: the
// store's own schema and built-in rows plus a few vehicles, cargo, cargo
// types and drivers. Message boxes are scripted (test main), the clock is
// fixed at 10:00 of a working day.
#include "waitfor.h"
#include <QComboBox>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "bvwnettoform.h"
#include "catalogue.h"
#include "clock.h"
#include "database.h"
#include "datamodule.h"
#include "messages.h"
#include "runstate.h"
#include "weighingpage.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) { *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']'; }
QT_END_NAMESPACE

namespace zvtest {

inline const QDate kDay(2026, 3, 17);


// Types text key by key (Cyrillic included, which QTest::keyClicks refuses).
inline void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The operator replaces the text of an editable combo box by typing.
inline void typeInto(QComboBox *box, const QString &text)
{
    box->lineEdit()->selectAll();
    QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
    typeText(box->lineEdit(), text);
}

// Runs one SQL statement on the test database; the test fails when it is refused.
inline void sql(const QString &statement)
{
    try {
        zv::store::Database::exec(statement);
    } catch (const std::exception &e) {
        ADD_FAILURE() << "SQL refused: " << statement.toStdString() << ": " << e.what();
    }
}

// One value of the database, read with the store's connection.
inline QVariant sqlValue(const QString &query)
{
    QSqlQuery q(zv::store::Database::connection());
    if (!q.exec(query) || !q.next()) {
        ADD_FAILURE() << "no value for " << query.toStdString();
        return {};
    }
    return q.value(0);
}

// Vehicles (two with a tag, one with a trailer, two without a tag), cargo,
// a cargo type and drivers.
inline void addReferenceRows()
{
    const char *ts = "INSERT INTO TRANSPORT (ID_TRANSP, NAMETRANSP, STATENUMB, STATENUM_T, W_EMPTYCAR, W_EMPTY_TR, "
                     "ID_MODEL, ID_OWNER, IDRF, ID_TRAILER) VALUES ";
    sql(QString::fromUtf8(ts) + QStringLiteral("(1, 'Самосвал', 'А123ВС71', '', '10000', '0', 0, 0, 'TAG-001', 0)"));
    sql(QString::fromUtf8(ts)
        + QStringLiteral("(2, 'Седельный тягач', 'М456ОР71', 'АК123471', '7900', '7000', 0, 0, 'TAG-002', 0)"));
    sql(QString::fromUtf8(ts) + QStringLiteral("(3, 'Бортовой', 'К789ЕН50', '', '4050', '0', 0, 0, '', 0)"));
    sql(QString::fromUtf8(ts) + QStringLiteral("(4, 'Бортовой', 'Т321УХ71', '', '4300', '0', 0, 0, '', 0)"));
    sql(QStringLiteral("INSERT INTO CARGO (ID_CARGO, NAMECARGO, CODCARGO) VALUES (1, 'Песок строительный', '101')"));
    sql(QStringLiteral("INSERT INTO CARGO (ID_CARGO, NAMECARGO, CODCARGO) VALUES (2, 'Щебень', '102')"));
    sql(QStringLiteral("INSERT INTO CARGOTYPES (ID_CARGOTY, NAMECARGOT) VALUES (1, 'Сыпучий')"));
    sql(QStringLiteral("INSERT INTO DRIVER (ID_DRIVER, LASTN_DRIV, FIRSN_DRIV, PATR_DRIV) "
                       "VALUES (1, 'Иванов', 'Иван', 'Иванович')"));
    sql(QStringLiteral("INSERT INTO DRIVER (ID_DRIVER, LASTN_DRIV, FIRSN_DRIV, PATR_DRIV) "
                       "VALUES (2, 'Петров', 'Пётр', 'Петрович')"));

}

class PageDb : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        zv::store::createDatabase(dir.path());
        zv::store::Database::setDirectory(dir.path());
        addReferenceRows();

        zv::settings() = zv::SettingsValues{};
        zv::settings().modeIndex = 0;
        zv::settings().DecimalPoint = 0;
        zv::settings().IntervalActualTare = 60;
        zv::run().CurrUserID = 1;
        zv::Clock::setFixed(QDateTime(kDay, QTime(10, 0, 0)));
        zv::Messages::clear();
        TBVWNettoForm::clearShown();
    }

    void TearDown() override
    {
        page.reset();
        zv::store::Database::setDirectory(QString());
        zv::Clock::reset();
        zv::Messages::clear();
    }

    // The page as the main window prepares it at start and on "Взвешивание".
    TWeighingPage *openPage(bool rfid = false)
    {
        page = std::make_unique<TWeighingPage>();
        page->resize(1400, 900);
        page->show();
        page->setRfidEnabledInSettings(rfid);
        page->prepareAtStartup();
        EXPECT_TRUE(page->openDayDocuments());
        EXPECT_TRUE(page->openDayJournal());
        EXPECT_TRUE(page->prepare()) << zv::Messages::shownTexts().join(QLatin1Char('\n')).toStdString();
        return page.get();
    }

    QTemporaryDir dir;
    std::unique_ptr<TWeighingPage> page;
};

} // namespace zvtest
