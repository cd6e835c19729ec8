// The weighing page driven like the operator drives it: typing into its
// fields, clicking its boxes and buttons, over a real database file.
#include <QCheckBox>
#include <QDateEdit>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>

#include <functional>

#include "bvviewwtelform.h"
#include "pagefixture.h"
#include "radiogroup.h"
#include "staticweighing.h"

using namespace zvtest;

namespace {

template<typename T>
T *child(QWidget *root, const char *name)
{
    T *w = root->findChild<T *>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QStringList itemsOf(QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

bool shownStartsWith(const QString &prefix)
{
    for (const QString &t : zv::Messages::shownTexts())
        if (t.startsWith(prefix))
            return true;
    return false;
}

} // namespace

void chooseAxles(TWeighingPage *p, int axles);
void pressWithWeight(TWeighingPage *p, const QString &weight);
int journalRows();

// ---------------------------------------------------------------- vehicle lookups

struct VehicleCase {
    const char *name;
    const char *field; // the field the operator types into
    const char *typed;
    int transpId;
    const char *number; // CBStateNum afterwards
    const char *tag;    // CBRFID afterwards
    bool trailerShown;
    const char *trailer;
};

void PrintTo(const VehicleCase &c, std::ostream *os) { *os << c.name; }

class VehicleLookup : public PageDb, public ::testing::WithParamInterface<VehicleCase> {};

TEST_P(VehicleLookup, FindsTheVehicleAndFillsTheOtherFields)
{
    const VehicleCase c = GetParam();
    TWeighingPage *p = openPage(true);
    // Every case starts from a vehicle with a trailer on the page.
    typeInto(p->CBStateNum, QStringLiteral("М456ОР71"));
    ASSERT_FALSE(p->EditStNumTr->isHidden());

    typeInto(child<QComboBox>(p, c.field), QString::fromUtf8(c.typed));

    EXPECT_EQ(p->CurrTranspID, c.transpId);
    EXPECT_EQ(p->CBStateNum->currentText(), QString::fromUtf8(c.number));
    EXPECT_EQ(p->CBRFID->currentText(), QString::fromUtf8(c.tag));
    EXPECT_EQ(!p->EditStNumTr->isHidden(), c.trailerShown);
    EXPECT_EQ(!p->LbTr->isHidden(), c.trailerShown);
    EXPECT_EQ(p->EditStNumTr->text(), QString::fromUtf8(c.trailer));
    EXPECT_TRUE(zv::Messages::shownTexts().isEmpty()) << zv::Messages::shownTexts().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Page, VehicleLookup,
    ::testing::Values(
        VehicleCase{"NumberWithTag", "CBStateNum", "А123ВС71", 1, "А123ВС71", "TAG-001", false, ""},
        VehicleCase{"NumberWithTrailer", "CBStateNum", "М456ОР71", 2, "М456ОР71", "TAG-002", true, "АК123471"},
        VehicleCase{"UnknownNumber", "CBStateNum", "Х000ХХ00", 0, "Х000ХХ00", "", false, ""},
        VehicleCase{"NumberInOtherLetterCase", "CBStateNum", "м456ор71", 0, "м456ор71", "", false, ""},
        // The empty tag written back must not look up another vehicle
        // without a tag and replace the number.
        VehicleCase{"NumberOfVehicleWithoutTag", "CBStateNum", "Т321УХ71", 4, "Т321УХ71", "", false, ""},
        VehicleCase{"Tag", "CBRFID", "TAG-001", 1, "А123ВС71", "TAG-001", true, "АК123471"},
        VehicleCase{"UnknownTag", "CBRFID", "TAG-999", 0, "", "TAG-999", true, "АК123471"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PageDb, VehicleGridShowsTheVehicleFound)
{
    TWeighingPage *p = openPage();
    typeInto(p->CBStateNum, QStringLiteral("А123ВС71"));
    QAbstractItemModel *m = p->DBGrid2->model();
    ASSERT_EQ(m->rowCount(), 1);
    EXPECT_EQ(m->data(m->index(0, 0)).toString(), QStringLiteral("Самосвал"));
    EXPECT_EQ(m->data(m->index(0, 4)).toString(), QStringLiteral("10000"));
    typeInto(p->CBStateNum, QStringLiteral("Х000"));
    EXPECT_EQ(m->rowCount(), 0);
}

TEST_F(PageDb, SearchDialogChoiceOfAVehicleWithoutTagKeepsItsNumber)
{
    TWeighingPage *p = openPage(true);
    p->setChosenVehicle(QStringLiteral("К789ЕН50"), QString(), 3);
    EXPECT_EQ(p->CBStateNum->currentText(), QStringLiteral("К789ЕН50"));
    EXPECT_EQ(p->CBRFID->currentText(), QString());
    EXPECT_EQ(p->CurrTranspID, 3);
}

// ---------------------------------------------------------------- cargo, cargo type, driver

struct NameCase {
    const char *name;
    const char *field;
    int preset;
    const char *typed;
    int expected;
};

void PrintTo(const NameCase &c, std::ostream *os) { *os << c.name; }

class NameLookup : public PageDb, public ::testing::WithParamInterface<NameCase> {};

TEST_P(NameLookup, IgnoresLetterCaseAndAppliesItsNoMatchRule)
{
    const NameCase c = GetParam();
    TWeighingPage *p = openPage();
    int *value = QLatin1String(c.field) == QLatin1String("CBCargo")        ? &p->CurrCargoID
                 : QLatin1String(c.field) == QLatin1String("CBCargoTypes") ? &p->CurrCargoTypeID
                                                                            : &p->CurrDriverID;
    *value = c.preset;
    typeInto(child<QComboBox>(p, c.field), QString::fromUtf8(c.typed));
    EXPECT_EQ(*value, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Page, NameLookup,
    ::testing::Values(NameCase{"CargoAsStored", "CBCargo", 0, "Щебень", 2},
                      NameCase{"CargoInOtherCase", "CBCargo", 0, "пЕСОК СТРОИТЕЛЬНЫЙ", 1},
                      NameCase{"UnknownCargoIsNone", "CBCargo", 2, "Глина", 0},
                      NameCase{"CargoTypeInOtherCase", "CBCargoTypes", 0, "СЫПУЧИЙ", 1},
                      NameCase{"UnknownCargoTypeKeepsPrevious", "CBCargoTypes", 105, "Жидкий", 105},
                      NameCase{"DriverInOtherCase", "CBDriver", 0, "петров пётр петрович", 2},
                      NameCase{"UnknownDriverKeepsPrevious", "CBDriver", 1, "Сидоров", 1}),
    [](const auto &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- visibility rules

TEST_F(PageDb, EmptyBoxSwapsPicturesAndTakesTheCargoAway)
{
    TWeighingPage *p = openPage();
    typeInto(p->CBCargo, QStringLiteral("Щебень"));
    ASSERT_EQ(p->CurrCargoID, 2);
    // The pictures are JPEG images decoded by Qt's image plugin.
    for (const char *file : {":/journal/pictures/loaded.jpg", ":/journal/pictures/empty.jpg"}) {
        QImageReader reader{QString::fromLatin1(file)};
        EXPECT_EQ(reader.format(), QByteArray("jpeg")) << file;
        EXPECT_FALSE(reader.read().isNull()) << file << ": " << reader.errorString().toStdString();
    }
    EXPECT_EQ(p->ImLoad->pixmap().size(), QImageReader(QStringLiteral(":/journal/pictures/loaded.jpg")).size());
    EXPECT_EQ(p->ImEmpty->pixmap().size(), QImageReader(QStringLiteral(":/journal/pictures/empty.jpg")).size());

    struct Step {
        bool check;
        bool loadShown, emptyShown, cargoEnabled;
        const char *cargoText;
    } steps[] = {{true, false, true, false, ""}, {false, true, false, true, ""}};
    for (const Step &s : steps) {
        p->RGAxis->setItemIndex(1);
        if (p->ChBEmpty->isChecked() != s.check)
            QTest::mouseClick(p->ChBEmpty, Qt::LeftButton, {}, QPoint(5, p->ChBEmpty->height() / 2));
        ASSERT_EQ(p->ChBEmpty->isChecked(), s.check);
        EXPECT_EQ(!p->ImLoad->isHidden(), s.loadShown);
        EXPECT_EQ(!p->ImEmpty->isHidden(), s.emptyShown);
        EXPECT_EQ(p->CBCargo->isEnabled(), s.cargoEnabled);
        EXPECT_EQ(p->CBCargo->currentText(), QString::fromUtf8(s.cargoText));
        EXPECT_EQ(p->CurrCargoID, 0);
        EXPECT_EQ(p->RGAxis->itemIndex(), -1);
    }
}

TEST_F(PageDb, RfidControlsFollowTheSettingsAndTheCheckBox)
{
    struct Case {
        bool settings;
        bool clickBox; // the operator clicks ChBRFID1 afterwards
        bool shown;
        bool boxChecked;
    } cases[] = {{true, false, true, true}, {false, false, false, false}, {true, true, false, false},
                 {false, true, true, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "settings " << c.settings << " click " << c.clickBox);
        TWeighingPage *p = openPage(c.settings);
        if (c.clickBox)
            p->ChBRFID1->click();
        EXPECT_EQ(p->ChBRFID1->isChecked(), c.boxChecked);
        for (QWidget *w : {static_cast<QWidget *>(p->CBRFID), static_cast<QWidget *>(p->lbRFID),
                           static_cast<QWidget *>(p->BtFindRFID)})
            EXPECT_EQ(!w->isHidden(), c.shown) << w->objectName().toStdString();
        if (c.shown) {
            EXPECT_EQ(p->CBRFID->toolTip(), QStringLiteral("Поля с желтым оттенком - обязательны для заполнения"));
        }
    }
}

TEST_F(PageDb, MeasurementButtonAndCountersFollowTheMode)
{
    struct Case {
        int mode;
        const char *caption;
        bool countersShown;
    } cases[] = {{0, "Записать измерение", true}, {1, "Начать измерение", false}};
    TWeighingPage *p = openPage();
    for (const Case &c : cases) {
        p->applyWeighingMode(c.mode);
        EXPECT_EQ(p->BtSaveW->text(), QString::fromUtf8(c.caption));
        for (QWidget *w : {static_cast<QWidget *>(p->LbAx1), static_cast<QWidget *>(p->LbAx2),
                           static_cast<QWidget *>(p->EditWg), static_cast<QWidget *>(p->EditOst)})
            EXPECT_EQ(!w->isHidden(), c.countersShown) << w->objectName().toStdString();
    }
}

TEST_F(PageDb, RequiredFieldsAreYellowAndEveryFieldCarriesItsCaption)
{
    TWeighingPage *p = openPage();
    for (QWidget *w : {static_cast<QWidget *>(p->CBStateNum), static_cast<QWidget *>(p->CBCargo),
                       static_cast<QWidget *>(p->CBDriver), static_cast<QWidget *>(p->EditStNumTr)})
        EXPECT_EQ(w->toolTip(), QStringLiteral("Поля с желтым оттенком - обязательны для заполнения"))
            << w->objectName().toStdString();
    const struct {
        QWidget *w;
        const char *caption;
    } captions[] = {{p->CBStateNum, "Гос. номер ТС"},     {p->CBRFID, "Метка RFID"},
                    {p->EditStNumTr, "Гос. номер прицепа"}, {p->EditComment, "Комментарий"},
                    {p->CBCargo, "Наименование груза"},   {p->CBCargoTypes, "Тип груза"},
                    {p->CBDriver, "Водитель"},            {p->EditCargoProp, "Свойства груза"},
                    {p->EditWeight, "Текущий вес"},       {p->DateEditEv, "Дата"},
                    {p->EditOper, "Оператор"}};
    for (const auto &c : captions)
        EXPECT_EQ(c.w->accessibleName(), QString::fromUtf8(c.caption)) << c.w->objectName().toStdString();
}

// ---------------------------------------------------------------- opening the page

struct PrepareFailure {
    const char *name;
    zv::store::Dataset zv::store::TBVDMod1::*query;
    const char *prefix;
    // Lists filled before the failure (the later ones stay as they were).
    bool numbers, drivers, cargo, cargoTypes;
};

void PrintTo(const PrepareFailure &c, std::ostream *os) { *os << c.name; }

class PrepareFails : public PageDb, public ::testing::WithParamInterface<PrepareFailure> {};

TEST_P(PrepareFails, ShowsItsMessageAndStops)
{
    const PrepareFailure c = GetParam();
    auto &dm = zv::store::TBVDMod1::instance();
    zv::store::Dataset &q = dm.*(c.query);
    const QStringList text = q.sql().lines();

    page = std::make_unique<TWeighingPage>();
    page->prepareAtStartup();
    q.close();
    q.sql().setText(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"));
    zv::Messages::clear();
    const bool ok = page->prepare();
    q.close();
    q.sql().clear();
    for (const QString &line : text)
        q.sql().add(line);

    EXPECT_FALSE(ok);
    EXPECT_TRUE(shownStartsWith(QString::fromUtf8(c.prefix))) << zv::Messages::shownTexts().join('\n').toStdString();
    EXPECT_EQ(page->CBStateNum->count() > 0, c.numbers);
    EXPECT_EQ(page->CBRFID->count() > 0, c.numbers);
    EXPECT_EQ(page->CBDriver->count() > 0, c.drivers);
    EXPECT_EQ(page->CBCargo->count() > 0, c.cargo);
    EXPECT_EQ(page->CBCargoTypes->count() > 0, c.cargoTypes);
}

INSTANTIATE_TEST_SUITE_P(
    Page, PrepareFails,
    ::testing::Values(
        PrepareFailure{"Journal", &zv::store::TBVDMod1::BVQWrEvJrn,
                       "Ошибка при открытии таблицы \"Журнал событий\" :", false, false, false, false},
        PrepareFailure{"Vehicles", &zv::store::TBVDMod1::BVQTransport, "Ошибка при открытии таблицы \"ТС\" :", false,
                       false, false, false},
        PrepareFailure{"Drivers", &zv::store::TBVDMod1::BVQDriver, "Ошибка при открытии таблицы \"Водители\" :",
                       true, false, false, false},
        PrepareFailure{"Cargo", &zv::store::TBVDMod1::BVQRefCargo, "Ошибка при открытии таблицы \"Виды грузов\" :",
                       true, true, false, false},
        PrepareFailure{"CargoTypes", &zv::store::TBVDMod1::BVQCargoTypes,
                       "Ошибка при открытии таблицы \"Типы грузов\" :", true, true, true, false}),
    [](const auto &info) { return std::string(info.param.name); });

// A query that the engine refuses while the operator works on the page: the
// operation's own message, the page values untouched, the program goes on.
TEST_F(PageDb, RefusedQueriesOfLookupsAndReferenceButtonsShowTheirMessages)
{
    using zv::store::TBVDMod1;
    struct Case {
        const char *name;
        zv::store::Dataset TBVDMod1::*query;
        std::function<void(TWeighingPage *)> act;
        const char *prefix;
    };
    const auto typing = [](const char *field, const char *text) {
        return [=](TWeighingPage *p) { typeInto(p->findChild<QComboBox *>(QLatin1String(field)), QString::fromUtf8(text)); };
    };
    const auto clicking = [](const char *button) {
        return [=](TWeighingPage *p) { QTest::mouseClick(p->findChild<QWidget *>(QLatin1String(button)), Qt::LeftButton); };
    };
    const Case cases[] = {
        {"number", &TBVDMod1::BVQTsEv, typing("CBStateNum", "А1"), "Ошибка выбора данных из таблицы \"ТС\" :"},
        {"tag", &TBVDMod1::BVQTsEv, typing("CBRFID", "T"), "Ошибка выбора данных из таблицы \"ТС\" :"},
        {"cargo", &TBVDMod1::BVQRefCargo, typing("CBCargo", "Щ"), "Ошибка при открытии таблицы \"Виды груза\" :"},
        {"cargo type", &TBVDMod1::BVQCargoTypes, typing("CBCargoTypes", "С"),
         "Ошибка при открытии таблицы \"Типы груза\" :"},
        {"driver", &TBVDMod1::BVQDriver, typing("CBDriver", "И"), "Ошибка при открытии таблицы \"Водители\" :"},
        {"vehicles reference", &TBVDMod1::BVQTransport, clicking("BtTS"),
         "Ошибка при открытии таблицы \"Транспортные средства\" :"},
        {"cargo reference", &TBVDMod1::BVQRefCargo, clicking("BtRefCargo"),
         "Ошибка при открытии таблицы \"Виды грузов\" :"},
        {"cargo types reference", &TBVDMod1::BVQCargoTypes, clicking("BtCargoTp"),
         "Ошибка при открытии таблицы \"Типы грузов\" :"},
        {"drivers reference", &TBVDMod1::BVQDriver, clicking("BtDriver"),
         "Ошибка при открытии таблицы \"Водители\" :"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TWeighingPage *p = openPage(true);
        bool referenceOpened = false;
        p->RefTsExecute = p->RefCargoExecute = p->RefCargoTypesExecute = p->RefDriverExecute =
            [&] { referenceOpened = true; };
        p->CurrTranspID = 4;
        p->CurrCargoID = p->CurrCargoTypeID = p->CurrDriverID = 9;
        const int listed = p->CBStateNum->count();
        zv::store::Dataset &q = TBVDMod1::instance().*(c.query);
        const QStringList text = q.sql().lines();
        q.close();
        q.sql().setText(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"));
        zv::Messages::clear();
        c.act(p);
        q.close();
        q.sql().clear();
        for (const QString &line : text)
            q.sql().add(line);
        EXPECT_TRUE(shownStartsWith(QString::fromUtf8(c.prefix))) << zv::Messages::shownTexts().join('\n').toStdString();
        EXPECT_EQ(p->CurrTranspID, 4);
        EXPECT_EQ(p->CurrCargoID + p->CurrCargoTypeID + p->CurrDriverID, 27);
        EXPECT_EQ(p->CBStateNum->count(), listed);
    }
}

TEST_F(PageDb, OpeningFillsTheListsAndResetsThePageValues)
{
    TWeighingPage *p = openPage();
    p->CurrTranspID = p->CurrDriverID = p->CurrCargoID = p->CurrCargoTypeID = p->MarkedRecordID = 7;
    typeInto(p->CBCargo, QStringLiteral("Глина"));
    ASSERT_TRUE(p->prepare());
    EXPECT_EQ(p->CurrTranspID + p->CurrDriverID + p->CurrCargoID + p->CurrCargoTypeID + p->MarkedRecordID, 0);
    // Lists in the order of their queries; the typed text stays.
    EXPECT_EQ(itemsOf(p->CBStateNum), (QStringList{"К789ЕН50", "Т321УХ71", "А123ВС71", "М456ОР71"}));
    EXPECT_EQ(itemsOf(p->CBRFID), (QStringList{"", "", "TAG-001", "TAG-002"}));
    EXPECT_EQ(itemsOf(p->CBDriver), (QStringList{"Иванов Иван Иванович", "Петров Пётр Петрович"}));
    EXPECT_EQ(itemsOf(p->CBCargo), (QStringList{"Песок строительный", "Щебень"}));
    EXPECT_EQ(p->CBCargo->currentText(), QStringLiteral("Глина"));
    EXPECT_TRUE(p->CBCargoTypes->findText(QStringLiteral("Сыпучий")) >= 0);
    EXPECT_FALSE(p->ChBOnInd->isChecked());
    EXPECT_TRUE(p->ChBOnInd->isEnabled());
    EXPECT_FALSE(p->ChBOffInd->isEnabled());
}

TEST_F(PageDb, ReopeningKeepsTheValuesOfTheTextsLeftInTheFields)
{
    TWeighingPage *p = openPage();
    typeInto(p->CBStateNum, QStringLiteral("М456ОР71"));
    typeInto(p->CBCargoTypes, QStringLiteral("Сыпучий"));
    typeInto(p->CBDriver, QStringLiteral("Петров Пётр Петрович"));
    typeInto(p->CBCargo, QStringLiteral("Щебень"));
    p->MarkedRecordID = 5;
    ASSERT_TRUE(p->prepare());
    EXPECT_EQ(p->CurrTranspID, 2);
    EXPECT_EQ(p->CurrCargoTypeID, 1);
    EXPECT_EQ(p->CurrDriverID, 2);
    EXPECT_EQ(p->CurrCargoID, 2);
    EXPECT_EQ(p->MarkedRecordID, 0);
    EXPECT_FALSE(p->EditStNumTr->isHidden());

    // The next event carries what the fields show.
    chooseAxles(p, 2);
    pressWithWeight(p, QStringLiteral("9000"));
    pressWithWeight(p, QStringLiteral("9500"));
    ASSERT_EQ(journalRows(), 1);
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT ID_CARGOTY FROM EVENJRN")).toInt(), 1);
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT ID_DRIVER FROM EVENJRN")).toInt(), 2);
}

TEST_F(PageDb, VehiclesReferenceRefillsTheNumbersButNotTheTags)
{
    TWeighingPage *p = openPage(true);
    typeInto(p->CBStateNum, QStringLiteral("Н5"));
    p->RefTsExecute = [] {
        sql(QStringLiteral("INSERT INTO TRANSPORT (ID_TRANSP, NAMETRANSP, STATENUMB, STATENUM_T, W_EMPTYCAR, IDRF) "
                           "VALUES (5, 'Фургон', 'Н555НН55', '', '3000', 'TAG-005')"));
    };
    for (const char *button : {"BtTS", "BtAddTs"}) {
        QWidget *b = child<QWidget>(p, button);
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_GE(p->CBStateNum->findText(QStringLiteral("Н555НН55")), 0) << button;
        EXPECT_LT(p->CBRFID->findText(QStringLiteral("TAG-005")), 0) << button;
        EXPECT_EQ(p->CBStateNum->currentText(), QStringLiteral("Н5"));
        p->RefTsExecute = [] {};
    }
}

TEST_F(PageDb, ButtonsWithoutTheirWindowsDoNothing)
{
    TWeighingPage *p = openPage(true);
    for (const char *name : {"BtFindStNum", "BtFindRFID", "BtTS", "BtFindCargo", "BtRefCargo", "BtFindCargoTypes",
                             "BtCargoTp", "cxButton13", "BtDriver"}) {
        QTest::mouseClick(child<QWidget>(p, name), Qt::LeftButton);
        EXPECT_TRUE(zv::Messages::shownTexts().isEmpty()) << name;
    }
}

TEST_F(PageDb, ExitClearsTheSelectionAndLeavesThePage)
{
    TWeighingPage *p = openPage();
    QSignalSpy exits(p, &TWeighingPage::exitRequested);
    typeInto(p->CBStateNum, QStringLiteral("А123ВС71"));
    typeInto(p->CBDriver, QStringLiteral("Иванов Иван Иванович"));
    typeInto(p->CBCargo, QStringLiteral("Щебень"));
    typeInto(p->CBCargoTypes, QStringLiteral("Сыпучий"));
    p->RGAxis->setItemIndex(2);
    QTest::mouseClick(p->cxButton6, Qt::LeftButton);
    EXPECT_EQ(exits.count(), 1);
    EXPECT_EQ(p->RGAxis->itemIndex(), -1);
    EXPECT_EQ(p->CBStateNum->currentText(), QString());
    EXPECT_EQ(p->CBDriver->currentText(), QString());
    EXPECT_EQ(p->CBCargo->currentText(), QString());
    EXPECT_EQ(p->CBCargoTypes->currentText(), QStringLiteral("Сыпучий"));
    EXPECT_EQ(p->CurrTranspID, 0);
}

// ---------------------------------------------------------------- static weighing on the page

// Chooses the number of axles as the operator does: a click on the item.
void chooseAxles(TWeighingPage *p, int axles)
{
    QRadioButton *item = p->RGAxis->item(axles - 2);
    QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(5, item->height() / 2));
}

void pressWithWeight(TWeighingPage *p, const QString &weight)
{
    p->EditWeight->setText(weight);
    QTest::mouseClick(p->BtSaveW, Qt::LeftButton);
}

int journalRows() { return sqlValue(QStringLiteral("SELECT COUNT(*) FROM EVENJRN")).toInt(); }
int axleRows() { return sqlValue(QStringLiteral("SELECT COUNT(*) FROM MEMD")).toInt(); }

struct RefusalCase {
    const char *name;
    const char *weight;
    bool chooseAxles;
    const char *message;
    const char *counted; // EditWg afterwards
};

void PrintTo(const RefusalCase &c, std::ostream *os) { *os << c.name; }

class PressRefused : public PageDb, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(PressRefused, NothingIsCountedOrWritten)
{
    const RefusalCase c = GetParam();
    TWeighingPage *p = openPage();
    if (c.chooseAxles)
        chooseAxles(p, 3);
    zv::Messages::clear();
    pressWithWeight(p, QString::fromUtf8(c.weight));
    EXPECT_TRUE(shownStartsWith(QString::fromUtf8(c.message))) << zv::Messages::shownTexts().join('\n').toStdString();
    EXPECT_EQ(p->EditWg->text(), QString::fromUtf8(c.counted));
    EXPECT_EQ(axleRows(), 0);
    EXPECT_EQ(journalRows(), 0);
    EXPECT_EQ(p->WeightTotal, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Page, PressRefused,
    ::testing::Values(RefusalCase{"EmptyWeight", "", true, "Нет значения \"Текущий вес\"", "0"},
                      RefusalCase{"TypedWeightNotANumber", "12а5", true, "Значение \"Текущий вес\" (12а5)", "0"},
                      RefusalCase{"NoAxleCount", "5020", false, "Вы не выбрали количество осей для ТС", ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PageDb, ClosingTheAxleWindowResetsTheWeighingOnThePage)
{
    TWeighingPage *p = openPage();
    p->ChBRetry->setChecked(true);
    chooseAxles(p, 3);
    TBVViewWTelForm *w = p->axleWindow();
    ASSERT_TRUE(w->isVisible());
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    pressWithWeight(p, QStringLiteral("5020"));
    EXPECT_EQ(w->rowCount(), 1);
    ASSERT_EQ(p->EditOst->text(), QStringLiteral("2"));

    w->close();
    EXPECT_EQ(p->EditWg->text(), QString());
    EXPECT_EQ(p->EditOst->text(), QString());
    EXPECT_FALSE(p->ChBEmpty->isChecked());
    EXPECT_FALSE(p->ChBRetry->isChecked());
    EXPECT_EQ(p->RGAxis->itemIndex(), -1);

    // Hiding it from the program resets nothing.
    chooseAxles(p, 2);
    p->axleWindow()->hide();
    EXPECT_EQ(p->EditOst->text(), QStringLiteral("2"));
    EXPECT_EQ(p->RGAxis->itemIndex(), 0);
}

TEST_F(PageDb, ChoosingTheAxlesAgainStartsTheVehicleOver)
{
    TWeighingPage *p = openPage();
    chooseAxles(p, 3);
    pressWithWeight(p, QStringLiteral("5020"));
    pressWithWeight(p, QStringLiteral("7310"));
    ASSERT_EQ(axleRows(), 2);
    chooseAxles(p, 2);
    EXPECT_EQ(axleRows(), 0);
    EXPECT_EQ(p->axleWindow()->rowCount(), 0);
    EXPECT_EQ(p->EditWg->text(), QStringLiteral("0"));
    EXPECT_EQ(p->EditOst->text(), QStringLiteral("2"));
    EXPECT_EQ(p->WeightTotal, 0);
}

TEST_F(PageDb, MissingDataIsRecordedOnRetryWithTheLastMeasurement)
{
    TWeighingPage *p = openPage();
    typeInto(p->CBStateNum, QStringLiteral("А123ВС71"));
    typeInto(p->CBCargo, QStringLiteral("Щебень"));
    chooseAxles(p, 2);
    pressWithWeight(p, QStringLiteral("4000"));
    pressWithWeight(p, QStringLiteral("5000"));

    EXPECT_TRUE(shownStartsWith(QStringLiteral("Не выбрано значение для поля \"Водитель\"")));
    EXPECT_TRUE(shownStartsWith(QStringLiteral("Введите данные и нажмите кнопку \"Повторить запись в БД\"")));
    EXPECT_EQ(p->BtSaveW->text(), QStringLiteral("Повторить запись в БД"));
    EXPECT_EQ(journalRows(), 0);
    // The selection is emptied as after any measurement.
    EXPECT_EQ(p->CBStateNum->currentText(), QString());
    EXPECT_EQ(p->RGAxis->itemIndex(), -1);

    // Still missing: the check's messages again, nothing written.
    zv::Messages::clear();
    QTest::mouseClick(p->BtSaveW, Qt::LeftButton);
    EXPECT_TRUE(shownStartsWith(QStringLiteral("Не выбрано значение для поля \"Наименование груза\"")));
    EXPECT_EQ(journalRows(), 0);

    typeInto(p->CBStateNum, QStringLiteral("А123ВС71"));
    typeInto(p->CBCargo, QStringLiteral("Щебень"));
    typeInto(p->CBDriver, QStringLiteral("Иванов Иван Иванович"));
    pressWithWeight(p, QStringLiteral("777"));

    ASSERT_EQ(journalRows(), 1);
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT WCARGO FROM EVENJRN")).toString(), QStringLiteral("9000"));
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT ID_TRANSP FROM EVENJRN")).toInt(), 1);
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT ID_DRIVER FROM EVENJRN")).toInt(), 1);
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT ID_CARGO FROM EVENJRN")).toInt(), 2);
    EXPECT_EQ(p->BtSaveW->text(), QStringLiteral("Записать измерение"));
    EXPECT_EQ(p->CBStateNum->currentText(), QString());
}

// ---------------------------------------------------------------- journal grid

// Colour of the middle of a journal cell as drawn on the screen.
QColor cellColour(TWeighingPage *p, int row, int column)
{
    const QImage img = p->DBGrid1->viewport()->grab().toImage();
    const QRect r = p->DBGrid1->visualRect(p->DBGrid1->model()->index(row, column));
    return img.pixelColor(r.right() - 3, r.center().y());
}

TEST_F(PageDb, RowsCarryingTheWeightJustMeasuredAreRed)
{
    const char *ev = "INSERT INTO EVENJRN (ID_RECORD, DATE_EVEN, TIME_EVEN, ID_EVENTYP, MODE_EN_DP, ID_TRANSP, "
                     "WCARGO, RESFIELD_1, RESFIELD_2, AT_OP_AUTO) VALUES ";
    sql(QString::fromUtf8(ev) + QStringLiteral("(1, '2026-03-17', '08:00:00', 126, 0, 1, '15000', '', 0, 0)"));
    sql(QString::fromUtf8(ev) + QStringLiteral("(2, '2026-03-17', '08:30:00', 126, 0, 2, '16000', '', 0, 0)"));
    sql(QString::fromUtf8(ev) + QStringLiteral("(3, '2026-03-17', '09:00:00', 126, 0, 3, '15000', '', 0, 0)"));
    sql(QString::fromUtf8(ev) + QStringLiteral("(4, '2026-03-16', '09:00:00', 126, 0, 3, '15000', '', 0, 0)"));
    TWeighingPage *p = openPage();
    ASSERT_EQ(p->DBGrid1->model()->rowCount(), 3);

    zv::settings().modeIndex = 1; // the dynamic total is the reference
    struct Case {
        double total;
        bool red[3];
    } cases[] = {{15000, {true, false, true}}, {16000, {false, true, false}}, {17000, {false, false, false}}};
    for (const Case &c : cases) {
        p->WeightTotal = c.total;
        p->DBGrid1->viewport()->update();
        for (int row = 0; row < 3; ++row)
            for (int column : {0, 6, 9}) {
                const QColor colour = cellColour(p, row, column);
                EXPECT_EQ(colour == QColor(255, 0, 0), c.red[row])
                    << "total " << c.total << " row " << row << " column " << column << " colour "
                    << colour.name().toStdString();
            }
    }
}

TEST_F(PageDb, JournalGridHasItsColumnsAndTheNavigatorMovesIt)
{
    const char *ev = "INSERT INTO EVENJRN (ID_RECORD, DATE_EVEN, TIME_EVEN, ID_EVENTYP, MODE_EN_DP, ID_TRANSP, ID_CARGO, "
                     "WCARGO, RESFIELD_1, RESFIELD_2, AT_OP_AUTO) VALUES ";
    sql(QString::fromUtf8(ev) + QStringLiteral("(1, '2026-03-17', '09:00:00', 127, 1, 1, 0, '10300', '', 1, 0)"));
    sql(QString::fromUtf8(ev) + QStringLiteral("(2, '2026-03-17', '08:00:00', 126, 0, 1, 2, '19620', '9320', 1, 0)"));
    TWeighingPage *p = openPage();
    QAbstractItemModel *m = p->DBGrid1->model();
    QStringList titles;
    for (int i = 0; i < m->columnCount(); ++i)
        titles << m->headerData(i, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{"Дата", "Время", "Наименование события", "Гос. номер ТС", "RFID", "Груз", "Вес",
                                   "Вес груза", "Ф.И.О оператора", "Ф.И.О. Водителя", "Тип груза", "Свойства груза",
                                   "Кадр", "Автомат. фиксация веса", "Режим", "Комментарий"}));
    ASSERT_EQ(m->rowCount(), 2);
    // Ordered by time; the names come through the joins.
    EXPECT_EQ(m->data(m->index(0, 1)).toString(), QStringLiteral("08:00:00"));
    EXPECT_EQ(m->data(m->index(0, 0)).toString(), QStringLiteral("17.03.2026"));
    EXPECT_EQ(m->data(m->index(0, 2)).toString(), QStringLiteral("ВЗВЕШИВАНИЕ ТС С ГРУЗОМ"));
    EXPECT_EQ(m->data(m->index(0, 5)).toString(), QStringLiteral("Щебень"));
    EXPECT_EQ(m->data(m->index(0, 7)).toString(), QStringLiteral("9320"));
    const auto alignment = [&](int column) {
        return Qt::Alignment(m->data(m->index(0, column), Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(alignment(7), Qt::AlignRight);
    for (int column : {0, 1, 3, 4, 13, 14})
        EXPECT_EQ(alignment(column), Qt::AlignHCenter) << column;

    auto &q = zv::store::TBVDMod1::instance().BVQWrEvJrn;
    const struct {
        const char *button;
        const char *hint;
        int row;
    } steps[] = {{"DBNavLast", "Последняя запись", 1},
                 {"DBNavPrior", "Предыдущая запись", 0},
                 {"DBNavNext", "Следующая запись", 1},
                 {"DBNavFirst", "Первая запись", 0}};
    for (const auto &s : steps) {
        auto *b = child<QToolButton>(p->DBNav, s.button);
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(s.hint));
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(p->DBGrid1->currentIndex().row(), s.row) << s.button;
        EXPECT_EQ(q.recNo(), s.row) << s.button;
    }
    // A click in the grid moves the journal query too.
    p->DBGrid1->setCurrentIndex(m->index(1, 3));
    EXPECT_EQ(q.recNo(), 1);

    // The "..." of the "Кадр" cell opens the snapshot of that row's event.
    int shownFor = 0;
    p->snapshotWindow = [&] { shownFor = q.fieldByName(QStringLiteral("ID_RECORD")).asInt(); };
    p->DBGrid1->scrollTo(m->index(0, 12));
    const QRect cell = p->DBGrid1->visualRect(m->index(0, 12));
    QTest::mouseClick(p->DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 3, cell.center().y()));
    EXPECT_EQ(shownFor, 0) << "the cell outside its button";
    QTest::mouseClick(p->DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 5, cell.center().y()));
    EXPECT_EQ(shownFor, 2);
    EXPECT_EQ(p->DBGrid1->currentIndex().row(), 0);
}

// ---------------------------------------------------------------- the two small windows

TEST(NetWeightWindow, ShowsTheVehicleNetAndCargoOrOnlyItsLabel)
{
    struct Case {
        bool found;
        const char *label, *netto, *cargo;
    } cases[] = {{true, "Вес груза  ТС № А123ВС71", "-150.5", "(Щебень)"}, {false, "Вес груза  ", "", ""}};
    for (const Case &c : cases) {
        TBVWNettoForm::clearShown();
        bool observed = false;
        TBVWNettoForm::setObserver([&](TBVWNettoForm &f) {
            observed = true;
            EXPECT_EQ(f.windowTitle(), QStringLiteral("Информация"));
            EXPECT_TRUE(f.isVisible());
            EXPECT_NE(f.findChild<QPushButton *>(QStringLiteral("BtOk")), nullptr);
        });
        TBVWNettoForm::showModal(nullptr, c.found, QStringLiteral("А123ВС71"), QStringLiteral("-150.5"),
                                 QStringLiteral("Щебень"));
        TBVWNettoForm::setObserver(nullptr);
        EXPECT_TRUE(observed);
        ASSERT_EQ(TBVWNettoForm::shown().size(), 1);
        EXPECT_EQ(TBVWNettoForm::shown()[0].label, QString::fromUtf8(c.label));
        EXPECT_EQ(TBVWNettoForm::shown()[0].netto, QString::fromUtf8(c.netto));
        EXPECT_EQ(TBVWNettoForm::shown()[0].cargo, QString::fromUtf8(c.cargo));
    }
}

TEST_F(PageDb, AxleWindowShowsTheAxleRowsCentredUnderItsTitles)
{
    TWeighingPage *p = openPage();
    chooseAxles(p, 4);
    pressWithWeight(p, QStringLiteral("5020"));
    pressWithWeight(p, QStringLiteral("7310.5"));
    TBVViewWTelForm *w = p->axleWindow();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Таблица весов по осям"));
    QAbstractItemModel *m = w->grid()->model();
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Номер  оси ТС п/п "));
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Измеренный вес"));
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->data(m->index(1, 0)).toString(), QStringLiteral("2"));
    EXPECT_EQ(m->data(m->index(1, 1)).toString(), QStringLiteral("7310.5"));
    for (int column : {0, 1})
        EXPECT_EQ(m->data(m->index(0, column), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_EQ(w->sumText(), QStringLiteral("12330.5"));
    EXPECT_EQ(p->WeightTotal, 12330.5);
}

// ---------------------------------------------------------------- empty first, loaded later

struct LaterLoadedCase {
    const char *name;
    int minutesLater;
    QMessageBox::StandardButton answer; // to the interval question, when asked
    bool asked;
    int events;     // in the journal afterwards
    bool netShown;
};

void PrintTo(const LaterLoadedCase &c, std::ostream *os) { *os << c.name; }

class EmptyThenLoaded : public PageDb, public ::testing::WithParamInterface<LaterLoadedCase> {};

TEST_P(EmptyThenLoaded, AsksBeyondTheIntervalAndRecordsThePairOnTheLoadedEvent)
{
    const LaterLoadedCase c = GetParam();
    TWeighingPage *p = openPage();
    const auto weigh = [&](bool empty, const char *cargo, std::initializer_list<const char *> axles) {
        if (p->ChBEmpty->isChecked() != empty)
            p->ChBEmpty->click();
        typeInto(p->CBStateNum, QStringLiteral("М456ОР71"));
        typeInto(p->CBDriver, QStringLiteral("Петров Пётр Петрович"));
        if (cargo)
            typeInto(p->CBCargo, QString::fromUtf8(cargo));
        chooseAxles(p, int(axles.size()));
        for (const char *kg : axles)
            pressWithWeight(p, QString::fromUtf8(kg));
    };
    weigh(true, nullptr, {"4000", "3900"});
    ASSERT_EQ(journalRows(), 1);
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT W_EMPTYCAR FROM TRANSPORT WHERE ID_TRANSP = 2")).toString(),
              QStringLiteral("7900"));

    zv::Clock::advanceSeconds(c.minutesLater * 60);
    zv::Messages::clear();
    zv::Messages::queueAnswer(c.answer);
    weigh(false, "Щебень", {"6000", "9000", "9000"});

    const QString question = QStringLiteral("Превышен временной интервал (установлен - 60 мин) между взвешиванием "
                                            "пустого ТС и груженного (он соотавляет ");
    EXPECT_EQ(shownStartsWith(question), c.asked) << zv::Messages::shownTexts().join('\n').toStdString();
    EXPECT_EQ(journalRows(), c.events);
    ASSERT_EQ(TBVWNettoForm::shown().size(), c.netShown ? 1 : 0);
    if (c.netShown) {
        EXPECT_EQ(TBVWNettoForm::shown()[0].label, QStringLiteral("Вес груза  ТС № М456ОР71"));
        EXPECT_EQ(TBVWNettoForm::shown()[0].netto, QStringLiteral("16100"));
        EXPECT_EQ(TBVWNettoForm::shown()[0].cargo, QStringLiteral("(Щебень)"));
        EXPECT_EQ(sqlValue(QStringLiteral("SELECT RESFIELD_1 FROM EVENJRN WHERE MODE_EN_DP = 0")).toString(),
                  QStringLiteral("16100"));
        EXPECT_EQ(sqlValue(QStringLiteral("SELECT SUM(RESFIELD_2) FROM EVENJRN")).toInt(), 2);
        EXPECT_EQ(p->DBGrid3->model()->rowCount(), 1);
        EXPECT_EQ(p->MarkedRecordID, 2);
    }
    // Whatever the answer, the page is ready for the next vehicle.
    EXPECT_EQ(p->BtSaveW->text(), QStringLiteral("Записать измерение"));
    EXPECT_EQ(p->CBStateNum->currentText(), QString());
    EXPECT_EQ(p->RGAxis->itemIndex(), -1);
    EXPECT_EQ(p->DBGrid1->currentIndex().row(), c.events - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Page, EmptyThenLoaded,
    ::testing::Values(LaterLoadedCase{"WithinTheInterval", 30, QMessageBox::No, false, 2, true},
                      LaterLoadedCase{"ExactlyTheInterval", 60, QMessageBox::No, false, 2, true},
                      LaterLoadedCase{"BeyondAnsweredYes", 90, QMessageBox::Yes, true, 2, true},
                      LaterLoadedCase{"BeyondAnsweredNo", 90, QMessageBox::No, true, 1, false}),
    [](const auto &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- keyboard

TEST_F(PageDb, TabOrderFollowsTheReadingOrderOfTheSelectionFields)
{
    TWeighingPage *p = openPage(true);
    p->LbTr->show();
    p->EditStNumTr->show();
    const QList<QWidget *> reading = {p->CBStateNum,   p->BtFindStNum,  p->BtTS,       p->CBRFID,
                                      p->BtFindRFID,   p->EditStNumTr,  p->EditComment, p->CBCargo,
                                      p->BtFindCargo,  p->BtRefCargo,   p->CBCargoTypes, p->BtFindCargoTypes,
                                      p->BtCargoTp,    p->CBDriver,     p->cxButton13,  p->BtDriver,
                                      p->EditCargoProp};
    QList<QWidget *> chain;
    QWidget *w = p->CBStateNum;
    while (chain.size() < reading.size()) {
        if (reading.contains(w) && !chain.contains(w))
            chain << w;
        w = w->nextInFocusChain();
        if (w == p->CBStateNum)
            break;
    }
    QStringList names, expected;
    for (QWidget *x : chain)
        names << x->objectName();
    for (QWidget *x : reading)
        expected << x->objectName();
    EXPECT_EQ(names, expected);
}

// ---------------------------------------------------------------- screen room

// The page goes on a 1280 or 1366 pixel wide screen beside the navigation
// bar (about 240 px): its controls need no more than 1020 px across and
// 680 px down; beyond that the page scrolls.
TEST_F(PageDb, PageFitsBesideTheNavigationBarOnA1280PixelScreen)
{
    TWeighingPage *p = openPage();
    auto *content = p->findChild<QWidget *>(QStringLiteral("WeighingContent"));
    ASSERT_NE(content, nullptr);
    const QSize needed = content->minimumSizeHint();
    EXPECT_LE(needed.width(), 1020);
    EXPECT_LE(needed.height(), 680);

    // Smaller still, every control stays reachable through the scroll bars.
    p->resize(700, 400);
    QCoreApplication::processEvents();
    auto *scroll = p->findChild<QScrollArea *>(QStringLiteral("WeighingScroll"));
    ASSERT_NE(scroll, nullptr);
    EXPECT_TRUE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
    EXPECT_GE(content->width(), needed.width());
}

TEST_F(PageDb, AxleWindowFirstStandsOverTheJournalClearOfTheFields)
{
    TWeighingPage *p = openPage();
    chooseAxles(p, 3);
    TBVViewWTelForm *w = p->axleWindow();
    ASSERT_TRUE(w->isVisible());
    const QRect placed(w->pos(), w->size());
    const QRect journal(p->DBGrid1->mapToGlobal(QPoint(0, 0)), p->DBGrid1->size());
    EXPECT_TRUE(journal.contains(placed.topLeft()));
    for (QWidget *field : std::initializer_list<QWidget *>{p->CBStateNum, p->CBCargo, p->CBDriver, p->ChBEmpty,
                                                           p->BtSaveW, p->RGAxis, p->EditWeight, p->EditOst}) {
        const QRect r(field->mapToGlobal(QPoint(0, 0)), field->size());
        EXPECT_FALSE(placed.intersects(r)) << field->objectName().toStdString();
    }

    // Where the operator put it, it stays for the next vehicle.
    w->move(placed.topLeft() + QPoint(-50, 40));
    w->hide();
    chooseAxles(p, 2);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->pos(), placed.topLeft() + QPoint(-50, 40));
}

TEST_F(PageDb, DropDownListsShowTheirLongestItemWhole)
{
    TWeighingPage *p = openPage();
    for (QComboBox *box : {p->CBDriver, p->CBCargo, p->CBStateNum}) {
        SCOPED_TRACE(box->objectName().toStdString());
        ASSERT_GT(box->count(), 0);
        box->setFixedWidth(60);
        box->showPopup();
        QAbstractItemView *v = box->view();
        EXPECT_GE(v->width(), v->sizeHintForColumn(box->modelColumn()));
        EXPECT_EQ(v->textElideMode(), Qt::ElideNone);
        box->hidePopup();
    }
}
