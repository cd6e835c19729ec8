// Recording of weighings: pairing of empty and loaded weighings of one
// vehicle, the net weight, the interval question, the links and the document.
#include <gtest/gtest.h>

#include <QSqlQuery>

#include <deque>

#include "eventrecorder.h"
#include "journaltestdb.h"

using namespace zv::journal;
using zv::testing::JournalRow;
using zv::testing::TestDatabase;

namespace {

const QDate Day(2026, 3, 2);
const QString Number1 = QStringLiteral("А123ВС");
const QString Number2 = QStringLiteral("В456ОР");
const QString UnknownNumber = QStringLiteral("Х999ХХ");

// An error box with the prefix, directly followed by the engine's message.
bool errorShown(const QString &prefix, const QString &engineText)
{
    for (const auto &m : zv::Messages::shown())
        if (m.kind == zv::ShownMessage::Error && m.text.startsWith(prefix) && m.text.mid(prefix.size()).contains(engineText))
            return true;
    return false;
}

class ScriptedUi : public RecorderUi {
public:
    std::deque<bool> answers;
    QStringList asked;
    std::vector<NetWeightInfo> shown;
    std::vector<QString> netInJournalWhileShown; // RESFIELD_1 of the loaded event while the window is open
    int defaulted = 0;

    bool askIntervalExceeded(const QString &text) override
    {
        asked << text;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return false;
        }
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void showNetWeight(const NetWeightInfo &info) override
    {
        shown.push_back(info);
        netInJournalWhileShown.push_back(TestDatabase::scalar(
            "SELECT MAX(COALESCE(RESFIELD_1, '')) FROM EVENJRN WHERE RESFIELD_2 <> -1"));
    }
    void tareIntervalDefaulted(int) override { ++defaulted; }
};

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zv::Messages::clear();
        zv::settings().IntervalActualTare = 60;
        zv::settings().DecimalPoint = 0;
        zv::settings().NumberDayView = 3;
        zv::run().CurrUserID = 7;
        TestDatabase::addVehicle(1, Number1, "6800");
        TestDatabase::addVehicle(2, Number2, "7500");
        TestDatabase::addCargo(1, "Щебень");
        TestDatabase::addCargo(2, "Песок");
        TestDatabase::addDriver(1, "Петров");
        zv::Clock::setFixed(QDateTime(Day, QTime(8, 0)));
    }
    void TearDown() override { zv::Clock::reset(); }

    // What the weighing page hands over after a measurement.
    WeighingInput input(const QString &number, int mode, double weight)
    {
        WeighingInput in;
        in.stateNumber = number;
        in.CurrTranspID = TestDatabase::scalar("SELECT ID_TRANSP FROM TRANSPORT WHERE STATENUMB = '" + number + "'").toInt();
        in.driver = "Петров Иван Иванович";
        in.CurrDriverID = 1;
        in.empty = isEmptyKind(mode);
        in.retry = mode >= 2;
        if (!in.empty) {
            in.cargo = "Щебень";
            in.CurrCargoID = 1;
        }
        in.MarkedRecordID = marked;
        in.shiftDate = Day;
        in.WeightTotal = weight;
        return in;
    }

    RecordResult weigh(const QString &time, const WeighingInput &in)
    {
        zv::Clock::setFixed(QDateTime(Day, QTime::fromString(time, "hh:mm:ss")));
        EventRecorder recorder(zv::store::TBVDMod1::instance(), ui);
        RecordResult r = recorder.InsertRecordEven(in);
        marked = r.MarkedRecordID;
        return r;
    }
    RecordResult weigh(const QString &time, const QString &number, int mode, double weight)
    {
        return weigh(time, input(number, mode, weight));
    }

    TestDatabase db;
    ScriptedUi ui;
    int marked = 0;
};

// ---------------------------------------------------------------- scenarios

struct Step {
    enum Kind { Weigh, Seed } kind;
    const char *time;
    const char *number; // state number typed (Weigh) or of the seeded event's vehicle
    int mode;
    double weight;
    int answer = -1;    // the interval question: -1 not expected, 0 No, 1 Yes
    int seedLink = 0;
};

struct Row {
    int mode;
    int link;
    const char *net;
    bool document;
    int transp;
};

struct Scenario {
    const char *name;
    std::vector<Step> steps;
    std::vector<Row> journal;
    std::vector<const char *> questions;
    std::vector<const char *> windows; // "label|net box|cargo box"
    const char *emptyWeight1;           // W_EMPTYCAR of vehicle 1 afterwards
};

const char *QuestionOne90 = "Превышен временной интервал (установлен - 60 мин) между взвешиванием пустого ТС и "
                            "груженного (он соотавляет 01:30:00) , будем записывать вес ?";
const char *QuestionSeveral = "Превышен временной интервал (установлен - 60 мин.) между взвешиванием пустого ТС и "
                              "груженного (он соотавляет 01:50:00) , будем записывать вес ?";

const std::vector<Scenario> &scenarios()
{
    static const std::vector<Scenario> list = {
        {"FirstLoadedWeighing",
         {{Step::Weigh, "08:00:00", "А123ВС", 0, 20000}},
         {{0, 0, "", false, 1}}, {}, {}, "6800"},
        {"EmptyThenLoadedWithinInterval",
         {{Step::Weigh, "08:00:00", "А123ВС", 1, 7000}, {Step::Weigh, "08:30:00", "А123ВС", 0, 20000}},
         {{1, 1, "", false, 1}, {0, 1, "13000", true, 1}},
         {}, {"Вес груза  ТС № А123ВС|13000|(Щебень)"}, "7000"},
        {"EmptyThenLoadedBeyondIntervalAnsweredNo",
         {{Step::Weigh, "08:00:00", "А123ВС", 1, 7000}, {Step::Weigh, "09:30:00", "А123ВС", 0, 20000, 0}},
         {{1, 0, "", false, 1}}, {QuestionOne90}, {}, "7000"},
        {"EmptyThenLoadedBeyondIntervalAnsweredYes",
         {{Step::Weigh, "08:00:00", "А123ВС", 1, 7000}, {Step::Weigh, "09:30:00", "А123ВС", 0, 20000, 1}},
         {{1, 1, "", false, 1}, {0, 1, "13000", true, 1}},
         {QuestionOne90}, {"Вес груза  ТС № А123ВС|13000|(Щебень)"}, "7000"},
        {"DifferenceEqualToIntervalAsksNothing",
         {{Step::Weigh, "08:00:00", "А123ВС", 1, 7000}, {Step::Weigh, "09:00:00", "А123ВС", 0, 20000}},
         {{1, 1, "", false, 1}, {0, 1, "13000", true, 1}},
         {}, {"Вес груза  ТС № А123ВС|13000|(Щебень)"}, "7000"},
        {"LoadedThenEmptyLaterThatDay",
         {{Step::Weigh, "08:00:00", "А123ВС", 0, 20000}, {Step::Weigh, "17:45:00", "А123ВС", 1, 7100}},
         {{0, 1, "12900", true, 1}, {1, 1, "", false, 1}},
         {}, {"Вес груза  ТС № А123ВС|12900|(Щебень)"}, "7100"},
        {"TwoOpenEmptiesNearestWins",
         {{Step::Seed, "07:00:00", "А123ВС", 1, 6900}, {Step::Seed, "07:30:00", "А123ВС", 1, 7000},
          {Step::Weigh, "08:00:00", "А123ВС", 0, 20000}},
         {{1, 0, "", false, 1}, {1, 1, "", false, 1}, {0, 1, "13200", true, 1}},
         {}, {"Вес груза  ТС № А123ВС|13200|(Щебень)"}, "6800"},
        {"TwoOpenEmptiesBeyondIntervalSeveralWording",
         {{Step::Seed, "06:00:00", "А123ВС", 1, 6900}, {Step::Seed, "06:10:00", "А123ВС", 1, 7000},
          {Step::Weigh, "08:00:00", "А123ВС", 0, 20000, 1}},
         {{1, 0, "", false, 1}, {1, 1, "", false, 1}, {0, 1, "13200", true, 1}},
         {QuestionSeveral}, {"Вес груза  ТС № А123ВС|13200|(Щебень)"}, "6800"},
        {"SecondEmptySupersedesSingleOpenEmpty",
         {{Step::Weigh, "08:00:00", "А123ВС", 1, 7000}, {Step::Weigh, "08:20:00", "А123ВС", 1, 7100}},
         {{1, -1, "", false, 1}, {1, 0, "", false, 1}}, {}, {}, "7100"},
        {"EmptyWithTwoOpenEmptiesSupersedesNone",
         {{Step::Seed, "07:00:00", "А123ВС", 1, 6900}, {Step::Seed, "07:30:00", "А123ВС", 1, 7000},
          {Step::Weigh, "08:00:00", "А123ВС", 1, 7100}},
         {{1, 0, "", false, 1}, {1, 0, "", false, 1}, {1, 0, "", false, 1}}, {}, {}, "7100"},
        {"SupersedeOnlyTheSameVehicle",
         {{Step::Weigh, "08:00:00", "В456ОР", 1, 7400}, {Step::Weigh, "08:10:00", "А123ВС", 1, 7000}},
         {{1, 0, "", false, 2}, {1, 0, "", false, 1}}, {}, {}, "7000"},
        {"ReweighingPairsOnlyWithReweighing",
         {{Step::Weigh, "08:00:00", "А123ВС", 0, 20000}, {Step::Weigh, "08:10:00", "А123ВС", 3, 7000},
          {Step::Weigh, "08:20:00", "А123ВС", 2, 20500}},
         {{0, 0, "", false, 1}, {3, 1, "", false, 1}, {2, 1, "13500", true, 1}},
         {}, {"Вес груза  ТС № А123ВС|13500|(Щебень)"}, "7000"},
        {"PlainEmptyIgnoresOpenReweighing",
         {{Step::Weigh, "08:00:00", "А123ВС", 2, 20000}, {Step::Weigh, "08:10:00", "А123ВС", 1, 7000}},
         {{2, 0, "", false, 1}, {1, 0, "", false, 1}}, {}, {}, "7000"},
        {"NegativeNet",
         {{Step::Weigh, "08:00:00", "А123ВС", 1, 7000}, {Step::Weigh, "08:30:00", "А123ВС", 0, 6500}},
         {{1, 1, "", false, 1}, {0, 1, "-500", true, 1}},
         {}, {"Вес груза  ТС № А123ВС|-500|(Щебень)"}, "7000"},
        {"OtherVehiclesEventsAreNoCounterparts",
         {{Step::Weigh, "08:00:00", "В456ОР", 1, 7400}, {Step::Weigh, "08:30:00", "А123ВС", 0, 20000}},
         {{1, 0, "", false, 2}, {0, 0, "", false, 1}}, {}, {}, "6800"},
        {"PairedEventsAreNoCounterparts",
         {{Step::Weigh, "08:00:00", "А123ВС", 1, 7000}, {Step::Weigh, "08:30:00", "А123ВС", 0, 20000},
          {Step::Weigh, "08:40:00", "А123ВС", 0, 21000}},
         {{1, 1, "", false, 1}, {0, 1, "13000", true, 1}, {0, 0, "", false, 1}},
         {}, {"Вес груза  ТС № А123ВС|13000|(Щебень)"}, "7000"},
        {"UnknownStateNumberNeverPairs",
         {{Step::Weigh, "07:00:00", "А123ВС", 1, 7000}, {Step::Weigh, "07:30:00", "А123ВС", 0, 20000},
          {Step::Weigh, "08:00:00", "Х999ХХ", 1, 5000}, {Step::Weigh, "08:30:00", "Х999ХХ", 0, 15000}},
         {{1, 1, "", false, 1}, {0, 1, "13000", true, 1}, {1, 0, "", false, 0}, {0, 0, "", false, 0}},
         {}, {"Вес груза  ТС № А123ВС|13000|(Щебень)"}, "7000"},
    };
    return list;
}

class RecorderScenario : public RecorderTest, public ::testing::WithParamInterface<Scenario> {};

TEST_P(RecorderScenario, JournalAfterTheWeighings)
{
    const Scenario &s = GetParam();
    for (const Step &step : s.steps) {
        if (step.kind == Step::Seed) {
            const int transp = TestDatabase::scalar(QStringLiteral("SELECT ID_TRANSP FROM TRANSPORT WHERE STATENUMB = '%1'")
                                                         .arg(QString::fromUtf8(step.number)))
                                   .toInt();
            TestDatabase::seedEvent(Day, step.time, transp, step.mode, QString::number(step.weight), step.seedLink);
            continue;
        }
        if (step.answer >= 0)
            ui.answers.push_back(step.answer == 1);
        const RecordResult r = weigh(step.time, QString::fromUtf8(step.number), step.mode, step.weight);
        EXPECT_EQ(r.outcome, step.answer == 0 ? RecordResult::Outcome::Declined : RecordResult::Outcome::Recorded)
            << step.time;
        EXPECT_EQ(r.saveButtonCaption, CaptionRecordMeasurement);
    }
    EXPECT_TRUE(ui.answers.empty()) << "a question expected was not asked";

    const auto rows = TestDatabase::journal();
    const auto docs = TestDatabase::documents();
    ASSERT_EQ(rows.size(), s.journal.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("event " + std::to_string(i + 1));
        EXPECT_EQ(rows[i].mode, s.journal[i].mode);
        EXPECT_EQ(rows[i].link, s.journal[i].link);
        EXPECT_EQ(rows[i].net, QString::fromUtf8(s.journal[i].net));
        EXPECT_EQ(rows[i].transp, s.journal[i].transp);
        const bool hasDoc = std::find(docs.begin(), docs.end(), rows[i].document) != docs.end();
        EXPECT_EQ(hasDoc, s.journal[i].document);
    }
    const size_t expectedDocs = std::count_if(s.journal.begin(), s.journal.end(), [](const Row &r) { return r.document; });
    EXPECT_EQ(docs.size(), expectedDocs) << "documents of events other than the loaded ones of pairs";

    QStringList questions;
    for (const char *q : s.questions)
        questions << QString::fromUtf8(q);
    EXPECT_EQ(ui.asked, questions);

    QStringList windows, expectedWindows;
    for (const NetWeightInfo &w : ui.shown)
        windows << w.labelText() + "|" + w.netBoxText() + "|" + w.cargoBoxText();
    for (const char *w : s.windows)
        expectedWindows << QString::fromUtf8(w);
    EXPECT_EQ(windows, expectedWindows);
    // The net weight reaches the journal only after the window was closed.
    for (const QString &netWhileOpen : ui.netInJournalWhileShown)
        EXPECT_EQ(netWhileOpen, QString()) << "net stored before the window closed";

    EXPECT_EQ(TestDatabase::scalar("SELECT W_EMPTYCAR FROM TRANSPORT WHERE ID_TRANSP = 1"), QString::fromUtf8(s.emptyWeight1));
}

INSTANTIATE_TEST_SUITE_P(Pairing, RecorderScenario, ::testing::ValuesIn(scenarios()),
                         [](const ::testing::TestParamInfo<Scenario> &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- the new row

TEST_F(RecorderTest, NewEventCarriesThePageValues)
{
    WeighingInput in = input(Number1, 0, 20000);
    in.comment = "через весовую 2";
    in.cargoProperties = "влажный";
    in.cargoType = "Навалочный";
    in.CurrCargoTypeID = 12;
    const RecordResult r = weigh("09:05:07", in);
    ASSERT_EQ(r.outcome, RecordResult::Outcome::Recorded);
    EXPECT_TRUE(r.clearCargo);
    const auto rows = TestDatabase::journal();
    ASSERT_EQ(rows.size(), 1u);
    const JournalRow &e = rows[0];
    EXPECT_EQ(e.id, r.recordId);
    EXPECT_EQ(e.id, 1);
    EXPECT_EQ(e.date, Day);
    EXPECT_EQ(e.time, "09:05:07");
    EXPECT_EQ(e.transp, 1);
    EXPECT_EQ(e.driver, 1);
    EXPECT_EQ(e.operat, 7);
    EXPECT_EQ(e.cargo, 1);
    EXPECT_EQ(e.cargoType, 12);
    EXPECT_EQ(e.comment, "через весовую 2");
    EXPECT_EQ(e.props, "влажный");
    EXPECT_EQ(e.eventType, 126);
    EXPECT_EQ(e.weight, "20000");
    EXPECT_EQ(e.autoFix, 0);
    EXPECT_NE(e.document, 0) << "every event gets its own document number";
    EXPECT_EQ(zv::settings().NumberDayView, 0);
}

struct ModeCase {
    bool empty, retry;
    int mode, eventType;
};

TEST_F(RecorderTest, ModeAndEventTypeFollowTheCheckBoxes)
{
    const ModeCase cases[] = {{false, false, 0, 126}, {true, false, 1, 127}, {false, true, 2, 132}, {true, true, 3, 141}};
    int i = 0;
    for (const ModeCase &c : cases) {
        WeighingInput in = input(UnknownNumber, 0, 1000);
        in.empty = c.empty;
        in.retry = c.retry;
        in.cargo = c.empty ? "" : "Щебень";
        in.CurrCargoID = 2; // the empty kind never stores a cargo
        weigh(QStringLiteral("10:0%1:00").arg(i++), in);
    }
    const auto rows = TestDatabase::journal();
    ASSERT_EQ(rows.size(), 4u);
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(rows[k].mode, cases[k].mode);
        EXPECT_EQ(rows[k].eventType, cases[k].eventType);
        EXPECT_EQ(rows[k].cargo, cases[k].empty ? 0 : 2);
    }
}

TEST_F(RecorderTest, NoCargoTypeGives105)
{
    WeighingInput in = input(Number1, 0, 20000);
    in.cargoType = "";
    in.CurrCargoTypeID = 12; // left over from an earlier choice
    weigh("08:00:00", in);
    EXPECT_EQ(TestDatabase::journal().at(0).cargoType, 105);
}

TEST_F(RecorderTest, WeightWithTwoDecimalsAndItsNet)
{
    zv::settings().DecimalPoint = 2;
    weigh("08:00:00", Number1, 1, 7000.25);
    weigh("08:10:00", Number1, 0, 20000.5);
    const auto rows = TestDatabase::journal();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].weight, "7000.25");
    EXPECT_EQ(rows[1].weight, "20000.50");
    EXPECT_EQ(rows[1].net, "13000.25");
    EXPECT_EQ(TestDatabase::scalar("SELECT W_EMPTYCAR FROM TRANSPORT WHERE ID_TRANSP = 1"), "7000.25");
    EXPECT_EQ(TestDatabase::scalar("SELECT W_EMPTY_TR FROM TRANSPORT WHERE ID_TRANSP = 1"), "0");
}

TEST_F(RecorderTest, TwoVehiclesWithOneNumberKeepTheChosenOne)
{
    // The page chose the second vehicle with this number (by its tag or in
    // the search dialog); storing and pairing both follow that choice.
    TestDatabase::addVehicle(3, Number1, "9000", "ЗИЛ");
    WeighingInput empty = input(Number1, 1, 9100);
    empty.CurrTranspID = 3;
    weigh("08:00:00", empty);
    WeighingInput loaded = input(Number1, 0, 21000);
    loaded.CurrTranspID = 3;
    const RecordResult r = weigh("08:20:00", loaded);
    EXPECT_TRUE(r.paired);
    const auto rows = TestDatabase::journal();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].transp, 3);
    EXPECT_EQ(rows[1].transp, 3);
    EXPECT_EQ(rows[1].net, "11900");
    EXPECT_EQ(TestDatabase::scalar("SELECT W_EMPTYCAR FROM TRANSPORT WHERE ID_TRANSP = 3"), "9100");
    EXPECT_EQ(TestDatabase::scalar("SELECT W_EMPTYCAR FROM TRANSPORT WHERE ID_TRANSP = 1"), "6800");
}

TEST_F(RecorderTest, PageVehicleWithAnotherNumberIsNotTaken)
{
    // The number typed names no vehicle although the page still holds one.
    WeighingInput in = input(UnknownNumber, 1, 7000);
    in.CurrTranspID = 1;
    weigh("08:00:00", in);
    EXPECT_EQ(TestDatabase::journal().at(0).transp, 0);
    EXPECT_EQ(TestDatabase::scalar("SELECT W_EMPTYCAR FROM TRANSPORT WHERE ID_TRANSP = 1"), "6800");
}

// ---------------------------------------------------------------- interval setting

TEST_F(RecorderTest, IntervalZeroBecomesSixtyOnce)
{
    zv::settings().IntervalActualTare = 0;
    weigh("08:00:00", Number1, 1, 7000);
    weigh("08:50:00", Number1, 0, 20000); // within 60 minutes: no question
    const QString msg = "Не задан интервал актуальности тары, он будет установлен равный 60";
    EXPECT_EQ(zv::Messages::shownTexts().count(msg), 1);
    EXPECT_EQ(zv::settings().IntervalActualTare, 60);
    EXPECT_EQ(ui.defaulted, 1);
    EXPECT_TRUE(ui.asked.isEmpty());
    EXPECT_EQ(TestDatabase::journal().at(1).net, "13000");
}

TEST_F(RecorderTest, IntervalQuestionUsesTheSetMinutes)
{
    zv::settings().IntervalActualTare = 10;
    ui.answers.push_back(true);
    weigh("08:00:00", Number1, 1, 7000);
    weigh("08:10:01", Number1, 0, 20000);
    ASSERT_EQ(ui.asked.size(), 1);
    EXPECT_EQ(ui.asked[0], "Превышен временной интервал (установлен - 10 мин) между взвешиванием пустого ТС и "
                           "груженного (он соотавляет 00:10:01) , будем записывать вес ?");
}

// ---------------------------------------------------------------- required fields

struct CheckCase {
    const char *name;
    bool empty;
    const char *cargo, *number;
    bool rfidUsed;
    const char *rfid, *driver;
    CheckField focus;
    std::vector<const char *> messages;
};

TEST_F(RecorderTest, MissingFieldsStopTheRecording)
{
    const char *hint = "Введите данные и нажмите кнопку \"Повторить запись в БД\"";
    const char *noCargo = "Не выбрано значение для поля \"Наименование груза\"";
    const char *noNumber = "Не выбрано значение для поля \"Гос. номер ТС\"";
    const char *noRfid = "Поле \"RFID\" должно быть заполнено";
    const char *noDriver = "Не выбрано значение для поля \"Водитель\"";
    const CheckCase cases[] = {
        {"all missing", false, "", "", true, "", "", CheckField::Cargo, {noCargo, noNumber, noRfid, noDriver, hint}},
        {"empty needs no cargo", true, "", "А123ВС", false, "", "Петров", CheckField::None, {}},
        {"cargo of blanks", false, "  ", "А123ВС", false, "", "Петров", CheckField::Cargo, {noCargo, hint}},
        {"no number", false, "Щебень", "", false, "", "Петров", CheckField::StateNumber, {noNumber, hint}},
        {"tag required", false, "Щебень", "А123ВС", true, "", "Петров", CheckField::Rfid, {noRfid, hint}},
        {"tag not used", false, "Щебень", "А123ВС", false, "", "Петров", CheckField::None, {}},
        {"no driver", true, "", "А123ВС", true, "0A11", "", CheckField::Driver, {noDriver, hint}},
    };
    for (const CheckCase &c : cases) {
        SCOPED_TRACE(c.name);
        zv::Messages::clear();
        WeighingInput in = input(Number1, c.empty ? 1 : 0, 20000);
        in.cargo = c.cargo;
        in.stateNumber = c.number;
        in.rfidUsed = c.rfidUsed;
        in.rfid = c.rfid;
        in.driver = c.driver;
        const CheckResult check = EventRecorder::CheckData(in);
        QStringList expected;
        for (const char *m : c.messages)
            expected << QString::fromUtf8(m);
        EXPECT_EQ(zv::Messages::shownTexts(), expected);
        EXPECT_EQ(check.ok, c.messages.empty());
        EXPECT_EQ(check.focus, c.focus);
        if (!check.ok) {
            const RecordResult r = weigh("08:00:00", in);
            EXPECT_EQ(r.outcome, RecordResult::Outcome::CheckFailed);
            EXPECT_EQ(r.focus, c.focus);
            EXPECT_EQ(r.saveButtonCaption, CaptionRetryRecording);
        }
    }
    EXPECT_TRUE(TestDatabase::journal().empty());
}

// ---------------------------------------------------------------- marked record

TEST_F(RecorderTest, ReweighingWithoutCounterpartReopensTheWithdrawnEvent)
{
    // The loaded event chosen for re-weighing: withdrawn, net "0".
    const int withdrawn = TestDatabase::seedEvent(Day, "07:00:00", 1, 0, "20000", -1, "0", 1);
    marked = withdrawn;
    const RecordResult r = weigh("08:00:00", Number1, 2, 20400);
    ASSERT_EQ(r.outcome, RecordResult::Outcome::Recorded);
    EXPECT_EQ(TestDatabase::journal().at(0).link, 0);
    EXPECT_EQ(r.MarkedRecordID, 0) << "the mark is used once";
}

TEST_F(RecorderTest, MarkIsUsedOnlyOnce)
{
    const int empty = TestDatabase::seedEvent(Day, "07:00:00", 1, 1, "7000", -1);
    marked = empty;
    weigh("07:30:00", Number1, 3, 7050); // re-weighing empty, no counterpart: reopens the old empty
    EXPECT_EQ(TestDatabase::journal().at(0).link, 0);
    EXPECT_EQ(marked, 0);
    // Another plain empty weighing supersedes the single open plain empty ...
    weigh("07:40:00", Number1, 1, 7100);
    // ... and a following weighing without counterpart must not reopen it.
    weigh("07:50:00", Number2, 0, 18000);
    EXPECT_EQ(TestDatabase::journal().at(0).link, -1);
}

TEST_F(RecorderTest, EventOfCompletedPairIsNeverReopened)
{
    weigh("08:00:00", Number1, 1, 7000);
    weigh("08:30:00", Number1, 0, 20000); // pair; the page remembers the loaded event
    const int loaded = TestDatabase::journal().at(1).id;
    EXPECT_EQ(marked, loaded);
    weigh("09:00:00", Number2, 0, 18000); // no counterpart
    const auto rows = TestDatabase::journal();
    EXPECT_EQ(rows.at(0).link, 1);
    EXPECT_EQ(rows.at(1).link, 1);
    EXPECT_EQ(rows.at(1).net, "13000");
}

// ---------------------------------------------------------------- failures

TEST_F(RecorderTest, NetThatCannotBeComputedLeavesBothEventsOpen)
{
    TestDatabase::seedEvent(Day, "07:00:00", 1, 1, "7000");
    TestDatabase::exec("UPDATE TRANSPORT SET W_EMPTYCAR = '' WHERE ID_TRANSP = 1");
    const RecordResult r = weigh("07:30:00", Number1, 0, 20000);
    EXPECT_EQ(r.outcome, RecordResult::Outcome::Recorded);
    EXPECT_TRUE(r.netNotComputable);
    EXPECT_FALSE(r.paired);
    const auto rows = TestDatabase::journal();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].link, 0);
    EXPECT_EQ(rows[1].link, 0);
    EXPECT_EQ(rows[1].net, "");
    EXPECT_EQ(rows[1].weight, "20000");
    EXPECT_TRUE(TestDatabase::documents().empty());
    EXPECT_TRUE(ui.shown.empty());
    ASSERT_FALSE(zv::Messages::shown().isEmpty());
    EXPECT_TRUE(zv::Messages::shownTexts().last().contains("не является числом"));
}

TEST_F(RecorderTest, CorruptLoadedWeightLeavesBothEventsOpen)
{
    TestDatabase::seedEvent(Day, "07:00:00", 1, 0, "20 000");
    const RecordResult r = weigh("07:30:00", Number1, 1, 7000);
    EXPECT_TRUE(r.netNotComputable);
    const auto rows = TestDatabase::journal();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].link, 0);
    EXPECT_EQ(rows[0].net, "");
    EXPECT_EQ(rows[1].link, 0);
    EXPECT_EQ(TestDatabase::scalar("SELECT W_EMPTYCAR FROM TRANSPORT WHERE ID_TRANSP = 1"), "7000");
}

TEST_F(RecorderTest, FailedInsertWritesNothingAndStillFinishes)
{
    // The earlier empty weighing would be superseded by this one; with the
    // new event missing it must stay open.
    TestDatabase::seedEvent(Day, "07:00:00", 1, 1, "6900");
    TestDatabase::exec("CREATE TRIGGER no_insert BEFORE INSERT ON EVENJRN BEGIN SELECT RAISE(ABORT, 'disk is full'); END");
    const RecordResult r = weigh("08:00:00", Number1, 1, 7000);
    EXPECT_EQ(r.outcome, RecordResult::Outcome::WriteFailed);
    EXPECT_EQ(r.recordId, 0);
    EXPECT_EQ(r.saveButtonCaption, CaptionRetryRecording) << "the measurement is kept for another try";
    EXPECT_FALSE(r.hideAxleWindow);
    EXPECT_TRUE(errorShown("Ошибка при работе с процедурой InsEvenJrn (добавить запись в журнал):", "disk is full"));
    const auto rows = TestDatabase::journal();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].link, 0);
    EXPECT_EQ(TestDatabase::scalar("SELECT W_EMPTYCAR FROM TRANSPORT WHERE ID_TRANSP = 1"), "6800");

    // Once the store takes rows again the same measurement is recorded.
    TestDatabase::exec("DROP TRIGGER no_insert");
    const RecordResult again = weigh("08:01:00", Number1, 1, 7000);
    EXPECT_EQ(again.outcome, RecordResult::Outcome::Recorded);
    EXPECT_EQ(again.saveButtonCaption, CaptionRecordMeasurement);
    const auto after = TestDatabase::journal();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].link, -1);
    EXPECT_EQ(after[1].weight, "7000");
}

TEST_F(RecorderTest, FailedEmptyWeightUsesThePreviousOne)
{
    TestDatabase::seedEvent(Day, "07:00:00", 1, 0, "20000", 0, QString(), 1);
    TestDatabase::exec("CREATE TRIGGER no_update BEFORE UPDATE ON TRANSPORT BEGIN SELECT RAISE(ABORT, 'locked'); END");
    const RecordResult r = weigh("07:30:00", Number1, 1, 7000);
    EXPECT_TRUE(errorShown("Ошибка при работе с процедурой TrWEm:", "locked"));
    EXPECT_TRUE(r.paired);
    EXPECT_EQ(TestDatabase::journal().at(0).net, "13200"); // 20000 - 6800
}

TEST_F(RecorderTest, FailedLinkLeavesNoHalfWrittenPair)
{
    weigh("08:00:00", Number1, 1, 7000);
    // The empty event refuses its mark; the net on the loaded one must not stay.
    TestDatabase::exec("CREATE TRIGGER no_link BEFORE UPDATE OF RESFIELD_2 ON EVENJRN WHEN NEW.ID_RECORD = 1 "
                       "BEGIN SELECT RAISE(ABORT, 'row is locked'); END");
    const RecordResult r = weigh("08:30:00", Number1, 0, 20000);
    EXPECT_EQ(r.outcome, RecordResult::Outcome::Recorded);
    EXPECT_FALSE(r.paired);
    EXPECT_EQ(r.netText, "13000");
    EXPECT_TRUE(errorShown("Ошибка при работе с процедурой BVSPLinkW:", "row is locked"));
    const auto rows = TestDatabase::journal();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].link, 0);
    EXPECT_EQ(rows[1].link, 0);
    EXPECT_EQ(rows[1].net, "");
    EXPECT_TRUE(TestDatabase::documents().empty()) << "no document for a loaded event whose pair failed";

    // The pair completes with the next weighing once the store accepts it again.
    TestDatabase::exec("DROP TRIGGER no_link");
    weigh("08:40:00", Number1, 1, 7100);
    EXPECT_EQ(TestDatabase::journal().at(1).net, "12900");
}

TEST_F(RecorderTest, FailedNetOfEmptyKindStillMakesTheDocument)
{
    weigh("08:00:00", Number1, 0, 20000);
    TestDatabase::exec("CREATE TRIGGER no_net BEFORE UPDATE OF RESFIELD_1 ON EVENJRN "
                       "BEGIN SELECT RAISE(ABORT, 'read only'); END");
    const RecordResult r = weigh("08:30:00", Number1, 1, 7000);
    EXPECT_FALSE(r.paired);
    EXPECT_TRUE(errorShown("Ошибка при работе с процедурой BVSPWNetto:", "read only"));
    const auto rows = TestDatabase::journal();
    EXPECT_EQ(rows.at(0).link, 0);
    EXPECT_EQ(rows.at(1).link, 0);
    EXPECT_EQ(TestDatabase::documents(), std::vector<int>{rows.at(0).document});
}

TEST_F(RecorderTest, RepairedEventKeepsItsFilledDocument)
{
    // A pair whose links failed got a document; a later pair of the same
    // loaded event must not replace or duplicate it.
    weigh("08:00:00", Number1, 0, 20000);
    TestDatabase::exec("CREATE TRIGGER no_net BEFORE UPDATE OF RESFIELD_1 ON EVENJRN "
                       "BEGIN SELECT RAISE(ABORT, 'read only'); END");
    weigh("08:30:00", Number1, 1, 7000);
    TestDatabase::exec("DROP TRIGGER no_net");
    const int doc = TestDatabase::journal().at(0).document;
    TestDatabase::exec(QStringLiteral("UPDATE DOCUMENT SET NAME_PRODU = 'Щебень' WHERE ID_DOCUMEN = %1").arg(doc));
    weigh("08:40:00", Number1, 1, 7100);
    EXPECT_EQ(TestDatabase::journal().at(0).link, 1);
    EXPECT_EQ(TestDatabase::documents(), std::vector<int>{doc});
    EXPECT_EQ(TestDatabase::scalar("SELECT NAME_PRODU FROM DOCUMENT"), "Щебень");
}

// ---------------------------------------------------------------- finishing

TEST_F(RecorderTest, FinishingLeavesTheGridsOnTheNewestRows)
{
    auto &dm = zv::store::TBVDMod1::instance();
    dm.BVQDoc.setParam("IN_DATE", Day); // as the program's start sets it
    weigh("08:00:00", Number1, 1, 7000);
    const RecordResult r = weigh("08:30:00", Number1, 0, 20000);
    ASSERT_TRUE(dm.BVQWrEvJrn.active());
    EXPECT_EQ(dm.BVQWrEvJrn.fieldByName("ID_RECORD").asInt(), r.recordId);
    EXPECT_EQ(dm.BVQWrEvJrn.fieldByName("RESFIELD_1").asString(), "13000");
    ASSERT_TRUE(dm.BVQDoc.active());
    EXPECT_EQ(dm.BVQDoc.fieldByName("ID_DOCUMEN").asInt(), r.documentId);
    EXPECT_TRUE(r.hideAxleWindow);

    WeighingInput in = input(Number2, 0, 15000);
    in.staticMode = false;
    const RecordResult dyn = weigh("08:40:00", in);
    EXPECT_EQ(dyn.saveButtonCaption, CaptionStartMeasurement);
    EXPECT_FALSE(dyn.hideAxleWindow);
}

// ---------------------------------------------------------------- texts

TEST(RecorderTexts, NetWeightText)
{
    const std::pair<double, const char *> cases[] = {
        {13000, "13000"}, {-500, "-500"}, {0, "0"}, {13000.25, "13000.25"},
        {20000.1 - 7000.2, "12999.9"}, {0.5, "0.5"}, {1e16, "10000000000000000"},
    };
    for (const auto &[value, text] : cases)
        EXPECT_EQ(netWeightText(value), text) << value;
}

TEST(RecorderTexts, WeightTextsAreNumbersOnlyWhenPlainDecimals)
{
    const std::pair<const char *, bool> cases[] = {
        {"19620", true}, {"7000.25", true}, {" 5020 ", true}, {"-500", true}, {"12.", true},
        {"", false}, {"abc", false}, {"1e3", false}, {"1.2.3", false}, {"20 000", false}, {"7000,25", false},
    };
    for (const auto &[text, ok] : cases)
        EXPECT_EQ(parseWeightText(text, nullptr), ok) << text;
}

TEST(RecorderTexts, TimeTexts)
{
    EXPECT_EQ(timeText(0), "00:00:00");
    EXPECT_EQ(timeText(5400), "01:30:00");
    EXPECT_EQ(timeText(86399), "23:59:59");
    EXPECT_EQ(secondsOfTimeText("9:05:07"), 9 * 3600 + 5 * 60 + 7);
    EXPECT_EQ(secondsOfTimeText("09:05:07"), 9 * 3600 + 5 * 60 + 7);
    EXPECT_EQ(secondsOfTimeText("25:00:00"), -1);
    EXPECT_EQ(secondsOfTimeText(""), -1);
}

TEST(RecorderTexts, NetWindowWithoutVehicleShowsOnlyTheLabel)
{
    NetWeightInfo info;
    info.netText = "100";
    info.cargoName = "Песок";
    EXPECT_EQ(info.labelText(), "Вес груза  ");
    EXPECT_EQ(info.netBoxText(), "");
    EXPECT_EQ(info.cargoBoxText(), "");
}

} // namespace
