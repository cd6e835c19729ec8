// A vehicle weighed axle by axle in the workstation's main window from
// indicator readings on a pseudo-terminal,
// loaded and then empty half an hour later: the counters, the axle rows, the
// journal events with their pair, the net weight in the information window,
// the cargo document and the red rows of the journal grid.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <QTimer>

#include "bvviewwtelform.h"
#include "hooks.h"
#include "indicatorlink.h"
#include "mainform.h"
#include "pagefixture.h"
#include "paths.h"
#include "settingsfile.h"
#include "pseudoterminal.h"
#include "radiogroup.h"
#include "simulator.h"
#include "weighttelegram.h"

using namespace zvtest;
using zv::scale::PseudoTerminal;

namespace {

// The workstation's main window on a temporary program directory, its
// indicator port on a pseudo-terminal that an indicator keeps sending to.
class StaticWeighingOnPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        zv::Paths::setProgramDir(dir.path());
        zv::Messages::clear();
        TBVWNettoForm::clearShown();
        zv::hooks() = zv::Hooks{};
        zv::settings() = zv::defaultSettings();
        zv::run() = zv::RunValues{};
        const QString db = dir.filePath(QStringLiteral("db"));
        zv::store::createDatabase(db);
        zv::store::Database::setDirectory(db);
        addReferenceRows();
        zv::Clock::setFixed(QDateTime(kDay, QTime(10, 0, 0)));

        QString error;
        ASSERT_TRUE(pty.open(&error)) << error.toStdString();
        window = std::make_unique<TMainForm>();
        window->show();
        QCoreApplication::processEvents(); // the preparation of the first showing
        // Room for the journal grid, whose drawing is checked (the offscreen
        // screen is small).
        window->setFixedSize(1600, 1000);
        QCoreApplication::processEvents();
        zv::settings().indicatorPort.port = pty.slavePath();
        zv::settings().indicatorPort.baudRateIndex = 12;
        zv::settings().modeIndex = 0;
        zv::settings().DecimalPoint = 0;
        zv::settings().IntervalActualTare = 60;

        window->action(QStringLiteral("Weighter"))->trigger();
        p = window->weighingPage();
        ASSERT_EQ(window->activePage(), p->parentWidget());
        ASSERT_TRUE(zv::Messages::shownTexts().isEmpty()) << zv::Messages::shownTexts().join('\n').toStdString();

        // The indicator sends its reading every 100 ms, listened to or not.
        QObject::connect(&indicator, &QTimer::timeout, [this] {
            pty.write(current);
            pty.drainInput();
        });
        indicator.start(100);
        QTest::mouseClick(p->ChBOnInd, Qt::LeftButton, {}, QPoint(5, p->ChBOnInd->height() / 2));
        ASSERT_TRUE(window->link()->isOpen()) << zv::Messages::shownTexts().join('\n').toStdString();
    }

    void TearDown() override
    {
        indicator.stop();
        if (window) {
            window->SkipSettingsSave = true;
            window->N6Click();
            window.reset();
        }
        pty.close();
        zv::hooks() = zv::Hooks{};
        zv::store::Database::setDirectory(QString());
        zv::Paths::setProgramDir(QString());
        zv::Clock::reset();
        zv::Messages::clear();
    }

    // The indicator shows `kg` until the weight box has it.
    QString indicatorShows(double kg)
    {
        current = zv::scale::makeTelegram(kg, true, zv::scale::TelegramForm{});
        const QString expected = zv::scale::extractWeight(current, false);
        EXPECT_TRUE(waitFor([&] { return p->EditWeight->text() == expected; }))
            << "the weight box never showed " << expected.toStdString();
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

    QTemporaryDir dir;
    PseudoTerminal pty;
    QTimer indicator;
    QByteArray current = zv::scale::makeTelegram(0, true, zv::scale::TelegramForm{});
    std::unique_ptr<TMainForm> window;
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
