// A vehicle weighed axle by axle from indicator readings on a pseudo-terminal,
// loaded and then empty half an hour later: the counters, the axle rows, the
// journal events with their pair, the net weight in the information window,
// the cargo document and the red rows of the journal grid.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "bvviewwtelform.h"
#include "indicatorlink.h"
#include "pagefixture.h"
#include "pseudoterminal.h"
#include "radiogroup.h"
#include "simulator.h"
#include "weighttelegram.h"

using namespace zvtest;
using zv::scale::IndicatorLink;
using zv::scale::PseudoTerminal;

namespace {

class StaticWeighingOnPty : public PageDb {
protected:
    void SetUp() override
    {
        PageDb::SetUp();
        QString error;
        ASSERT_TRUE(pty.open(&error)) << error.toStdString();
        p = openPage();
        // What the main window does with each block of the indicator
        // (whole-number form): the digits of the block become the current weight.
        QObject::connect(&link, &IndicatorLink::blockReceived, p, [this](const QByteArray &block) {
            const QString w = zv::scale::extractWeight(block, false);
            if (!w.isEmpty())
                p->EditWeight->setText(w);
        });
        zv::PortValues port;
        port.port = pty.slavePath();
        port.baudRateIndex = 12;
        ASSERT_TRUE(link.open(port, &error)) << error.toStdString();
    }

    void TearDown() override
    {
        link.close();
        PageDb::TearDown();
    }

    // The indicator shows `kg` until the weight box has it.
    QString indicatorShows(double kg)
    {
        const QByteArray telegram = zv::scale::makeTelegram(kg, true, zv::scale::TelegramForm{});
        const QString expected = zv::scale::extractWeight(telegram, false);
        EXPECT_TRUE(waitFor([&] {
            pty.write(telegram);
            QTest::qWait(20);
            return p->EditWeight->text() == expected;
        })) << "the weight box never showed " << expected.toStdString();
        return expected;
    }

    void chooseAxles(int axles)
    {
        QRadioButton *item = p->RGAxis->item(axles - 2);
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(5, item->height() / 2));
    }

    void identify(const char *number, const char *driver, const char *cargo)
    {
        typeInto(p->CBStateNum, QString::fromUtf8(number));
        typeInto(p->CBDriver, QString::fromUtf8(driver));
        if (cargo)
            typeInto(p->CBCargo, QString::fromUtf8(cargo));
    }

    QStringList memdRows()
    {
        QStringList rows;
        QSqlQuery q(zv::store::Database::connection());
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT F1, F2 FROM MEMD")));
        while (q.next())
            rows << q.value(0).toString() + QLatin1Char('/') + q.value(1).toString();
        return rows;
    }

    PseudoTerminal pty;
    IndicatorLink link;
    TWeighingPage *p = nullptr;
};

QColor cellColour(TWeighingPage *p, int row, int column)
{
    const QImage img = p->DBGrid1->viewport()->grab().toImage();
    const QRect r = p->DBGrid1->visualRect(p->DBGrid1->model()->index(row, column));
    return img.pixelColor(r.right() - 3, r.center().y());
}

} // namespace

TEST_F(StaticWeighingOnPty, LoadedThenEmptyVehicleMakesAPairWithItsNetWeightAndDocument)
{
    // ---- loaded, three axles
    identify("А123ВС71", "Иванов Иван Иванович", "Песок строительный");
    ASSERT_EQ(p->CurrTranspID, 1);
    ASSERT_EQ(p->CurrCargoID, 1);
    chooseAxles(3);
    TBVViewWTelForm *axles = p->axleWindow();
    EXPECT_TRUE(axles->isVisible());
    EXPECT_EQ(p->EditWg->text(), QStringLiteral("0"));
    EXPECT_EQ(p->EditOst->text(), QStringLiteral("3"));

    const double weights[] = {5020, 7310, 7290};
    const char *counters[][2] = {{"1", "2"}, {"2", "1"}, {"3", "0"}};
    QStringList shown;
    for (int i = 0; i < 3; ++i) {
        shown << indicatorShows(weights[i]);
        QTest::mouseClick(p->BtSaveW, Qt::LeftButton);
        EXPECT_EQ(p->EditWg->text(), QString::fromUtf8(counters[i][0])) << "axle " << i + 1;
        EXPECT_EQ(p->EditOst->text(), QString::fromUtf8(counters[i][1])) << "axle " << i + 1;
        if (i < 2) {
            EXPECT_EQ(axles->rowCount(), i + 1);
            EXPECT_EQ(axles->weightText(i), shown.last());
        }
    }
    EXPECT_EQ(memdRows(), (QStringList{"1/" + shown[0], "2/" + shown[1], "3/" + shown[2]}));
    EXPECT_EQ(p->WeightTotal, 19620);
    EXPECT_FALSE(axles->isVisible()) << "the recording hides the axle weights window";
    EXPECT_EQ(p->BtSaveW->text(), QStringLiteral("Записать измерение"));
    EXPECT_TRUE(zv::Messages::shownTexts().isEmpty()) << zv::Messages::shownTexts().join('\n').toStdString();
    EXPECT_TRUE(TBVWNettoForm::shown().isEmpty()) << "no pair yet";

    ASSERT_EQ(sqlValue(QStringLiteral("SELECT COUNT(*) FROM EVENJRN")).toInt(), 1);
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT WCARGO FROM EVENJRN WHERE ID_RECORD = 1")).toString(),
              QStringLiteral("19620"));
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT MODE_EN_DP FROM EVENJRN WHERE ID_RECORD = 1")).toInt(), 0);
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT TIME_EVEN FROM EVENJRN WHERE ID_RECORD = 1")).toString(),
              QStringLiteral("10:00:00"));
    // The selection is emptied for the next vehicle; the number's lookup followed.
    EXPECT_EQ(p->CBStateNum->currentText(), QString());
    EXPECT_EQ(p->CBCargo->currentText(), QString());
    EXPECT_EQ(p->CurrTranspID, 0);
    EXPECT_EQ(p->RGAxis->itemIndex(), -1);

    // ---- the same vehicle empty, 30 minutes later, two axles
    zv::Clock::advanceSeconds(30 * 60);
    p->ChBEmpty->click();
    identify("А123ВС71", "Иванов Иван Иванович", nullptr);
    chooseAxles(2);
    EXPECT_TRUE(axles->isVisible());
    EXPECT_EQ(axles->rowCount(), 0);
    for (double kg : {5000.0, 5300.0}) {
        indicatorShows(kg);
        QTest::mouseClick(p->BtSaveW, Qt::LeftButton);
    }

    ASSERT_EQ(TBVWNettoForm::shown().size(), 1);
    EXPECT_EQ(TBVWNettoForm::shown()[0].label, QStringLiteral("Вес груза  ТС № А123ВС71"));
    EXPECT_EQ(TBVWNettoForm::shown()[0].netto, QStringLiteral("9320"));
    EXPECT_EQ(TBVWNettoForm::shown()[0].cargo, QStringLiteral("(Песок строительный)"));
    EXPECT_TRUE(zv::Messages::shownTexts().isEmpty()) << zv::Messages::shownTexts().join('\n').toStdString();

    // Both events linked, the net weight on the loaded one, the vehicle's empty weight kept.
    QSqlQuery q(zv::store::Database::connection());
    ASSERT_TRUE(q.exec(QStringLiteral(
        "SELECT ID_RECORD, MODE_EN_DP, WCARGO, RESFIELD_1, RESFIELD_2, TIME_EVEN, ID_DOCUMEN FROM EVENJRN ORDER BY ID_RECORD")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(1).toInt(), 0);
    EXPECT_EQ(q.value(3).toString(), QStringLiteral("9320"));
    EXPECT_EQ(q.value(4).toInt(), 1);
    const int loadedDocument = q.value(6).toInt();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(1).toInt(), 1);
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("10300"));
    EXPECT_EQ(q.value(4).toInt(), 1);
    EXPECT_EQ(q.value(5).toString(), QStringLiteral("10:30:00"));
    EXPECT_FALSE(q.next());
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT W_EMPTYCAR FROM TRANSPORT WHERE ID_TRANSP = 1")).toString(),
              QStringLiteral("10300"));

    // The document of the pair, on the loaded event, shown in the documents grid.
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT COUNT(*) FROM DOCUMENT")).toInt(), 1);
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT ID_DOCUMEN FROM DOCUMENT")).toInt(), loadedDocument);
    EXPECT_EQ(p->DBGrid3->model()->rowCount(), 1);
    EXPECT_EQ(p->DBGrid3->model()->data(p->DBGrid3->model()->index(0, 1)).toString(), QStringLiteral("10:00:00"));

    // The journal grid stands on the newest event, drawn red with the weight just measured.
    QAbstractItemModel *m = p->DBGrid1->model();
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(p->DBGrid1->currentIndex().row(), 1);
    EXPECT_EQ(m->data(m->index(0, 7)).toString(), QStringLiteral("9320"));
    EXPECT_EQ(cellColour(p, 1, 6), QColor(255, 0, 0));
    EXPECT_EQ(cellColour(p, 1, 0), QColor(255, 0, 0));
    EXPECT_NE(cellColour(p, 0, 6), QColor(255, 0, 0));
    EXPECT_FALSE(p->ChBEmpty->isChecked());
}
