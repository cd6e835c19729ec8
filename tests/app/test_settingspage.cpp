// The settings page: its handlers, messages and the switches it sets on the
// weighing page and the top strip.
#include "mainformfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "radiogroup.h"
#include "settingspage.h"
#include "weighingpage.h"

using zv::Messages;
using zv::settings;

namespace {
const QString kLongInterval = QStringLiteral("Неверное значение интервала актуальности веса пустого ТС, оно должно "
                                             "быть целым числом в интервале от 10 до 1380");
const QString kBadInterval = QStringLiteral("Ошибка при в вводе временного интервала");
} // namespace

class SettingsPageTest : public MainFormTest {
protected:
    TSettingsPage *page()
    {
        if (!window) {
            start();
            window->action(QStringLiteral("ConfigSystem"))->trigger();
        }
        return window->settingsPage();
    }
};

TEST_F(SettingsPageTest, SevenTabsDownTheLeftSide)
{
    QTabWidget *tabs = page()->cxPageControl1;
    EXPECT_EQ(tabs->tabPosition(), QTabWidget::West);
    QStringList names, captions;
    for (int i = 0; i < tabs->count(); ++i) {
        names << tabs->widget(i)->objectName();
        captions << tabs->tabText(i);
    }
    EXPECT_EQ(names, (QStringList{"TabSComPort", "cxTabSRFInd", "cxTabSheet2", "cxTabSheet3", "cxTabSheet4",
                                  "cxTabSheet5", "cxTabSheet6"}));
    EXPECT_EQ(captions, (QStringList{"Com - порт", "IDRF", "Режим взвешивания", "Весовой индикатор", "Связь с 1С",
                                     "Актуальность тары", "Нагрузка на ось"}));
}

TEST_F(SettingsPageTest, ControlsThatOnlyTheFileChangesStayDisabled)
{
    page();
    for (const char *name : {"CBRFComPort", "CBRFBaudRate", "CBRFDataBit", "CBRFParity", "CBRFStopBit",
                             "CBRFControlStream", "BtRFSetDefault", "cxButton1", "cxButton5", "RGDecimalPoint",
                             "cxButton16", "cxButton3", "cxButton15", "EditDev", "EditPath1C", "BtBrowse",
                             "cxButton11"})
        EXPECT_FALSE(find<QWidget>(name)->isEnabled()) << name;
    page()->ChBRFID->click();
    EXPECT_FALSE(find<QWidget>("CBRFComPort")->isEnabled());
    EXPECT_TRUE(page()->ChBRFID->isEnabled());
    EXPECT_FALSE(find<QWidget>("GrBoxDayView")->isVisibleTo(page()));
}

TEST_F(SettingsPageTest, TareIntervalCheck)
{
    const struct {
        const char *typed;
        QString message; // empty: accepted
        const char *boxAfter;
        int applied;
    } cases[] = {
        {"9", kLongInterval, "", 0},    {"1381", kLongInterval, "", 0}, {"10", {}, "10", 10},
        {"1380", {}, "1380", 1380},     {"6o", kBadInterval, "6o", 60}, {"", kBadInterval, "", 60},
        {"-10", kBadInterval, "-10", 60}, {"99999999999", kBadInterval, "99999999999", 60},
    };
    TSettingsPage *s = page();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        settings().IntervalActualTare = 60;
        Messages::clear();
        s->EditActualTare->setText(QString::fromUtf8(c.typed));
        s->BtApplayInerval->click();
        EXPECT_EQ(Messages::shownTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(s->EditActualTare->text(), QString::fromUtf8(c.boxAfter));
        EXPECT_EQ(settings().IntervalActualTare, c.applied);
    }
    s->BtSetDefaultInterval->click();
    EXPECT_EQ(s->EditActualTare->text(), QStringLiteral("60"));
    EXPECT_EQ(settings().IntervalActualTare, 60);
}

TEST_F(SettingsPageTest, DaysToView)
{
    TSettingsPage *s = page();
    s->EditDayView->setText(QStringLiteral("3"));
    emit s->cxButton12->clicked();
    EXPECT_EQ(settings().NumberDayView, 3);
    s->EditDayView->setText(QStringLiteral("3 "));
    emit s->cxButton12->clicked();
    EXPECT_EQ(Messages::shownTexts(), QStringList{QStringLiteral("Ошибка при в вводе количество дней")});
    EXPECT_EQ(settings().NumberDayView, 3);
    emit s->cxButton9->clicked();
    EXPECT_EQ(s->EditDayView->text(), QStringLiteral("0"));
    EXPECT_EQ(settings().NumberDayView, 0);
}

TEST_F(SettingsPageTest, CoefficientTrackbar)
{
    TSettingsPage *s = page();
    s->ChBKoff->click();
    ASSERT_TRUE(s->ChBKoff->isChecked());
    EXPECT_TRUE(s->TrBarKoff->isEnabled());
    EXPECT_TRUE(s->EditKoff->isEnabled());
    s->TrBarKoff->setValue(6);
    EXPECT_EQ(s->EditKoff->text(), QStringLiteral("1.01"));
    EXPECT_EQ(settings().Coefficient, 6);
    s->cxButton7->click();
    EXPECT_DOUBLE_EQ(settings().KoffFactor, 1.01);
    s->ChBKoff->click();
    EXPECT_EQ(s->TrBarKoff->value(), 5);
    EXPECT_EQ(s->EditKoff->text(), QStringLiteral("1.00"));
    EXPECT_FALSE(s->TrBarKoff->isEnabled());
    EXPECT_FALSE(s->EditKoff->isEnabled());
}

TEST_F(SettingsPageTest, ChoosingTheModeSwitchesAutomaticWeighingAndTheWeighingPage)
{
    TSettingsPage *s = page();
    TWeighingPage *w = window->weighingPage();
    if (s->ChBAutomatic->isChecked())
        s->ChBAutomatic->click();
    ASSERT_FALSE(settings().AutoMode);
    s->CBMode->setFocus();
    QTest::keyClick(s->CBMode, Qt::Key_Down);
    ASSERT_EQ(s->CBMode->currentIndex(), 1);
    EXPECT_TRUE(settings().AutoMode); // even with the box unchecked
    EXPECT_EQ(settings().modeIndex, 1);
    EXPECT_EQ(w->BtSaveW->text(), QStringLiteral("Начать измерение"));
    EXPECT_FALSE(w->LbAx1->isVisibleTo(w));
    EXPECT_TRUE(s->ChBIntegral->isEnabled());

    s->cxButton7->click(); // "Применить" takes the box
    EXPECT_FALSE(settings().AutoMode);
    EXPECT_FALSE(find<QLabel>("LbAuto")->isVisibleTo(window.get()));
    EXPECT_TRUE(w->RGAxis->isEnabledTo(w)); // the page itself is disabled while settings are open

    EXPECT_FALSE(window->AutoStartArmed);
    s->ChBAutomatic->click();
    EXPECT_TRUE(settings().AutoMode);
    EXPECT_TRUE(window->AutoStartArmed);
    s->ChBAutomatic->click();
    EXPECT_FALSE(window->AutoStartArmed);
    s->ChBAutomatic->click();
    window->AutoStartArmed = false; // a measurement started meanwhile
    s->cxButton7->click();
    EXPECT_TRUE(window->AutoStartArmed);
    EXPECT_FALSE(w->RGAxis->isEnabledTo(w));
    EXPECT_TRUE(find<QLabel>("LbAuto")->isVisibleTo(window.get()));

    QTest::keyClick(s->CBMode, Qt::Key_Up);
    ASSERT_EQ(s->CBMode->currentIndex(), 0);
    EXPECT_FALSE(settings().AutoMode);
    EXPECT_EQ(w->BtSaveW->text(), QStringLiteral("Записать измерение"));
    EXPECT_TRUE(w->LbAx1->isVisibleTo(w));
    for (QWidget *c : std::initializer_list<QWidget *>{s->lbLimit, s->EditLimit, s->LbDim, s->GrBoxMax,
                                                        s->ChBIntegral, s->RGPointIntegral, s->GrBoxKoff, s->ChBKoff,
                                                        s->EditKoff, s->Edit095, s->Edit100, s->Edit105,
                                                        s->LbPlatformWidth, s->EditPlatformWidth, s->ChBAutomatic})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
}

TEST_F(SettingsPageTest, TypedNonIntegerIsRejectedByApply)
{
    TSettingsPage *s = page();
    settings().LimitWeight = 100;
    settings().PlatformScalesWidth = 600;
    s->EditLimit->setText(QStringLiteral("12a"));
    s->EditPlatformWidth->setText(QStringLiteral("700"));
    s->cxButton7->click();
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_EQ(Messages::shown().first().kind, zv::ShownMessage::Error);
    EXPECT_EQ(settings().LimitWeight, 100);
    EXPECT_EQ(settings().PlatformScalesWidth, 600); // stopped at the bad value
    Messages::clear();
    s->EditLimitLoad->setText(QStringLiteral("x"));
    s->cxButton17->click();
    EXPECT_EQ(Messages::shown().size(), 1);
    s->EditLimitLoad->setText(QStringLiteral("18000"));
    s->cxButton17->click();
    EXPECT_EQ(settings().LimitLoad, 18000);
}

TEST_F(SettingsPageTest, IntegrationPoints)
{
    TSettingsPage *s = page();
    EXPECT_FALSE(s->RGPointIntegral->isEnabled());
    s->ChBIntegral->click();
    EXPECT_TRUE(s->RGPointIntegral->isEnabled());
    const int points[] = {5, 7, 9};
    for (int item = 0; item < 3; ++item) {
        s->RGPointIntegral->item(item)->click();
        EXPECT_EQ(settings().NumberPointIntegral, points[item]);
    }
    s->ChBIntegral->click();
    EXPECT_FALSE(s->RGPointIntegral->isEnabled());
}

TEST_F(SettingsPageTest, DecimalPointFromTheFile)
{
    const struct {
        const char *value;
        int item;
    } cases[] = {{"2", 1}, {"0", 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        writeIni(QStringLiteral("[Set DecimalPoint]\r\nDecimalPoint=%1\r\n").arg(QLatin1String(c.value)));
        zv::settings() = zv::defaultSettings();
        start();
        EXPECT_EQ(window->settingsPage()->RGDecimalPoint->itemIndex(), c.item);
        window->SkipSettingsSave = true;
        window.reset();
    }
}

TEST_F(SettingsPageTest, PortDefaultsAndApply)
{
    TSettingsPage *s = page();
    s->setPortNames({"/dev/ttyS0", "/dev/ttyS1"});
    s->CBBaudRate->setCurrentIndex(0);
    s->CBParity->setCurrentIndex(2);
    s->BtSetDefault->click();
    EXPECT_EQ(s->CBComPort->currentText(), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(s->CBBaudRate->currentText(), QStringLiteral("19200"));
    EXPECT_EQ(s->CBDataBit->currentText(), QStringLiteral("8"));
    EXPECT_EQ(s->CBParity->currentText(), QStringLiteral("Нет"));
    EXPECT_EQ(s->CBStopBit->currentText(), QStringLiteral("1"));
    EXPECT_EQ(s->CBControlStream->currentText(), QStringLiteral("Нет"));
    s->CBComPort->setCurrentIndex(1);
    s->CBBaudRate->setCurrentIndex(17);
    s->BtApply->click();
    EXPECT_EQ(settings().indicatorPort.port, QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(settings().indicatorPort.comPortIndex, 1);
    EXPECT_EQ(settings().indicatorPort.baudRateIndex, 17);
    EXPECT_EQ(settings().indicatorPort.dataBitIndex, 3);
    EXPECT_EQ(settings().indicatorPort.controlStreamIndex, 2);
}

TEST_F(SettingsPageTest, RfidSwitchShowsTheRfidFieldOnTheWeighingPage)
{
    TSettingsPage *s = page();
    TWeighingPage *w = window->weighingPage();
    s->ChBRFID->click();
    EXPECT_TRUE(s->GrBRFID->isEnabled());
    EXPECT_TRUE(w->ChBRFID1->isChecked());
    for (QWidget *c : std::initializer_list<QWidget *>{w->CBRFID, w->lbRFID, w->BtFindRFID})
        EXPECT_TRUE(c->isVisibleTo(w)) << c->objectName().toStdString();
    EXPECT_FALSE(w->LbRFIDdef->isVisibleTo(w));
    s->ChBRFID->click();
    EXPECT_FALSE(s->GrBRFID->isEnabled());
    EXPECT_FALSE(w->ChBRFID1->isChecked());
    for (QWidget *c : std::initializer_list<QWidget *>{w->CBRFID, w->lbRFID, w->BtFindRFID})
        EXPECT_FALSE(c->isVisibleTo(w)) << c->objectName().toStdString();
}

TEST_F(SettingsPageTest, PortListsHoldTheMachinesPorts)
{
    page();
    const QStringList expected = zv::scale::IndicatorLink::availablePorts();
    for (QComboBox *c : {page()->CBComPort, page()->CBRFComPort}) {
        QStringList items;
        for (int i = 0; i < c->count(); ++i)
            items << c->itemText(i);
        EXPECT_EQ(items, expected);
        EXPECT_FALSE(items.contains(QStringLiteral("Com1")));
    }
}

// Every edit box, list and date box of the window is named for screen
// readers by its caption.
TEST_F(SettingsPageTest, InputControlsCarryTheirCaptions)
{
    start();
    QStringList unnamed;
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!qobject_cast<QLineEdit *>(w) && !qobject_cast<QComboBox *>(w) && !qobject_cast<QDateEdit *>(w) &&
            !qobject_cast<QSlider *>(w))
            continue;
        // The edit field inside a list or a date box belongs to it.
        if (qobject_cast<QComboBox *>(w->parentWidget()) || qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
            continue;
        if (w->accessibleName().trimmed().isEmpty())
            unnamed << w->objectName();
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    TSettingsPage *s = window->settingsPage();
    EXPECT_EQ(s->CBBaudRate->accessibleName(), QStringLiteral("Скорость (бит/сек)"));
    EXPECT_EQ(window->weighingPage()->CBStateNum->accessibleName(), QStringLiteral("Гос. номер ТС"));
    EXPECT_EQ(window->weighingPage()->EditWeight->accessibleName(), QStringLiteral("Текущий вес"));
}

TEST_F(SettingsPageTest, TabOrderFollowsTheReadingOrder)
{
    TSettingsPage *s = page();
    QList<QWidget *> chain;
    QWidget *w = s->CBComPort;
    for (int i = 0; i < 9; ++i) {
        chain << w;
        w = w->nextInFocusChain();
        // Skip what the Tab key skips (labels) and the edit fields inside the lists.
        while (!(w->focusPolicy() & Qt::TabFocus) || qobject_cast<QComboBox *>(w->parentWidget()))
            w = w->nextInFocusChain();
    }
    const QList<QWidget *> expected = {s->CBComPort, s->CBBaudRate,   s->CBDataBit, s->CBParity, s->CBStopBit,
                                       s->CBControlStream, s->BtSetDefault, s->BtApply,  s->cxButton2};
    EXPECT_EQ(chain, expected);
}

TEST_F(SettingsPageTest, ApplyTakesTheItemsShownFromTheFile)
{
    writeIni(QStringLiteral("[Set ComPort W]\r\nPort=/dev/ttyUSB0\r\nComPortIndex=0\r\nBaudRate=9600\r\n"
                            "BaudRateIndex=6\r\nParity=Чет\r\nParityIndex=2\r\n"));
    TSettingsPage *s = page();
    EXPECT_EQ(s->CBBaudRate->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(s->CBComPort->currentText(), QStringLiteral("/dev/ttyUSB0"));
    s->BtApply->click();
    EXPECT_EQ(settings().indicatorPort.baudRateIndex, 6);
    EXPECT_EQ(settings().indicatorPort.parityIndex, 2);
    EXPECT_EQ(settings().indicatorPort.port, QStringLiteral("/dev/ttyUSB0"));
}
