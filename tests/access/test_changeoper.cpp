// Change of operator: its checks and messages, and the switch of the four
// administrator actions in both directions.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "accesstestutil.h"
#include "changeoper.h"
#include "dlgpass.h"
#include "eventrecorder.h"
#include "messages.h"

using namespace accesstest;
using zv::Messages;

namespace {

const QStringList AdminFour{"ConfigSystem", "UserGroup", "BackupDB", "ChangePassJrn"};

class ChangeOperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Messages::clear();
        db.addUser({1, "Иванов Иван Иванович", "Иванов И. И.", "admin", "Secret", "Administrator", 0});
        db.addUser({2, "Петров Пётр", "Петров П.", "oper", "pw", "Operator", 0});
        db.addUser({3, "Сидоров", "Сидоров", "report", "rep", "CreaterReport", 0});
        db.addUser({4, "Гость", "Гость", "guest", "g", "", 0});
    }

    void logIn(const QString &name, const QString &password)
    {
        zv::access::TDlgPassForm dlg(&mw);
        dlg.show();
        typeText(child<QLineEdit>(&dlg, "EditUser"), name);
        typeText(child<QLineEdit>(&dlg, "EditPass"), password);
        child<QPushButton>(&dlg, "BitBtn1")->click();
        ASSERT_EQ(dlg.result(), QDialog::Accepted);
    }

    static void typeAndOk(QWidget *dlg, const QString &name, const QString &password)
    {
        child<QLineEdit>(dlg, "EditNewUsr")->clear();
        child<QLineEdit>(dlg, "EditPassUsr")->clear();
        typeText(child<QLineEdit>(dlg, "EditNewUsr"), name);
        typeText(child<QLineEdit>(dlg, "EditPassUsr"), password);
        child<QPushButton>(dlg, "BtOK")->click();
    }

    TestDb db;
    StandInMainWindow mw;
};

TEST_F(ChangeOperTest, FailedTakeOversChangeNothing)
{
    logIn(QStringLiteral("admin"), QStringLiteral("Secret"));
    onNextModal([](QWidget *dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Смена оператора"));
        EXPECT_EQ(child<QLineEdit>(dlg, "EditCurrOper")->text(), QStringLiteral("Иванов Иван Иванович"));
        EXPECT_EQ(child<QLineEdit>(dlg, "EditCurrUsr")->text(), QStringLiteral("admin"));
        EXPECT_FALSE(child<QLineEdit>(dlg, "EditCurrOper")->isEnabled());
        EXPECT_EQ(dlg->focusWidget(), child<QLineEdit>(dlg, "EditNewUsr"));

        struct Case {
            const char *name, *password, *message;
        } cases[] = {
            {"nobody", "pw", "Пользователя: nobody нет в БД"},
            {"oper", "wrong", "Неправильно введен пароль"},
            {"report", "rep", "Вы не входите в группы: \"Администраторы\", \"Операторы\""},
            {"guest", "g", "Вы не входите в группы: \"Администраторы\", \"Операторы\""},
        };
        for (const Case &c : cases) {
            Messages::clear();
            typeAndOk(dlg, QString::fromUtf8(c.name), QString::fromUtf8(c.password));
            EXPECT_EQ(Messages::shownTexts(), QStringList{QString::fromUtf8(c.message)}) << c.name;
            // The boxes keep what was typed and the dialog stays open.
            EXPECT_EQ(child<QLineEdit>(dlg, "EditNewUsr")->text(), QString::fromUtf8(c.name));
            EXPECT_EQ(child<QLineEdit>(dlg, "EditPassUsr")->text(), QString::fromUtf8(c.password));
            EXPECT_TRUE(dlg->isVisible());
        }
        child<QPushButton>(dlg, "BtCancel")->click();
    });
    EXPECT_FALSE(zv::access::BtChangeOperClick(&mw));
    EXPECT_EQ(zv::run().CurrUserID, 1);
    EXPECT_EQ(zv::run().CurrUserGroup, QStringLiteral("Administrator"));
    EXPECT_EQ(mw.operatorText(), QStringLiteral("Иванов И. И."));
    for (const QString &a : AdminFour)
        EXPECT_TRUE(mw.enabled(a));
}

TEST_F(ChangeOperTest, AdministratorToOperatorAndBack)
{
    logIn(QStringLiteral("admin"), QStringLiteral("Secret"));

    onNextModal([](QWidget *dlg) { typeAndOk(dlg, QStringLiteral("OPER"), QStringLiteral("PW")); });
    EXPECT_TRUE(zv::access::BtChangeOperClick(&mw));
    EXPECT_EQ(zv::run().CurrUserID, 2);
    EXPECT_EQ(zv::run().CurrUserGroup, QStringLiteral("Operator"));
    EXPECT_EQ(mw.operatorText(), QStringLiteral("Петров П."));
    for (const QString &a : allActionNames())
        EXPECT_EQ(mw.enabled(a), !AdminFour.contains(a)) << a.toStdString();

    onNextModal([](QWidget *dlg) {
        EXPECT_EQ(child<QLineEdit>(dlg, "EditCurrUsr")->text(), QStringLiteral("oper"));
        typeAndOk(dlg, QStringLiteral("admin"), QStringLiteral("secret"));
    });
    EXPECT_TRUE(zv::access::BtChangeOperClick(&mw));
    EXPECT_EQ(zv::run().CurrUserID, 1);
    EXPECT_EQ(mw.operatorText(), QStringLiteral("Иванов И. И."));
    for (const QString &a : allActionNames())
        EXPECT_TRUE(mw.enabled(a)) << a.toStdString();
}

TEST_F(ChangeOperTest, OperatorLoginTakenOverByAnAdministrator)
{
    logIn(QStringLiteral("oper"), QStringLiteral("pw"));
    for (const QString &a : AdminFour)
        EXPECT_FALSE(mw.enabled(a));
    onNextModal([](QWidget *dlg) { typeAndOk(dlg, QStringLiteral("admin"), QStringLiteral("Secret")); });
    EXPECT_TRUE(zv::access::BtChangeOperClick(&mw));
    for (const QString &a : AdminFour)
        EXPECT_TRUE(mw.enabled(a)) << a.toStdString();
}

TEST_F(ChangeOperTest, RightsCannotBeWidenedByEnablingAnAction)
{
    logIn(QStringLiteral("oper"), QStringLiteral("pw"));
    for (const QString &a : AdminFour) {
        mw.findChild<QAction *>(a)->setEnabled(true);
        EXPECT_FALSE(mw.enabled(a)) << a.toStdString();
    }
    // After an administrator took over, the same actions may be switched freely.
    onNextModal([](QWidget *dlg) { typeAndOk(dlg, QStringLiteral("admin"), QStringLiteral("Secret")); });
    ASSERT_TRUE(zv::access::BtChangeOperClick(&mw));
    mw.findChild<QAction *>("BackupDB")->setEnabled(false);
    mw.findChild<QAction *>("BackupDB")->setEnabled(true);
    EXPECT_TRUE(mw.enabled("BackupDB"));
}

namespace {
struct SilentRecorderUi : zv::journal::RecorderUi {
    void showNetWeight(const zv::journal::NetWeightInfo &) override {}
};

int recordWeighing()
{
    zv::journal::WeighingInput in;
    in.stateNumber = QStringLiteral("А123ВС71");
    in.driver = QStringLiteral("Водитель");
    in.cargo = QStringLiteral("Щебень");
    in.WeightTotal = 12000;
    SilentRecorderUi ui;
    zv::journal::EventRecorder recorder(zv::store::TBVDMod1::instance(), ui);
    const auto r = recorder.InsertRecordEven(in);
    EXPECT_EQ(r.outcome, zv::journal::RecordResult::Outcome::Recorded);
    return r.recordId;
}
} // namespace

TEST_F(ChangeOperTest, EventsRecordedAfterwardsCarryTheNewOperator)
{
    logIn(QStringLiteral("admin"), QStringLiteral("Secret"));
    const int before = recordWeighing();
    onNextModal([](QWidget *dlg) { typeAndOk(dlg, QStringLiteral("oper"), QStringLiteral("pw")); });
    ASSERT_TRUE(zv::access::BtChangeOperClick(&mw));
    const int after = recordWeighing();
    EXPECT_EQ(db.column(QStringLiteral("SELECT ID_OPERAT FROM EVENJRN WHERE ID_RECORD = %1").arg(before)),
              QStringList{"1"});
    EXPECT_EQ(db.column(QStringLiteral("SELECT ID_OPERAT FROM EVENJRN WHERE ID_RECORD = %1").arg(after)),
              QStringList{"2"});
}

} // namespace
