// The indicator link as the operator drives it from the weighing page, on a
// real pseudo-terminal that stands in for the indicator's serial line.
#include "mainformfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "pseudoterminal.h"
#include "radiogroup.h"
#include "settingspage.h"
#include "weighingpage.h"

using zv::Messages;

class LinkTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        QString error;
        ASSERT_TRUE(pty.open(&error)) << error.toStdString();
        start();
        zv::settings().indicatorPort.port = pty.slavePath();
        zv::settings().indicatorPort.baudRateIndex = 17;
        window->action(QStringLiteral("Weighter"))->trigger();
        page = window->weighingPage();
    }
    void TearDown() override
    {
        if (window)
            window->N6Click(); // closes the port before the terminal goes
        pty.close();
        MainFormTest::TearDown();
    }

    void switchPollingOn()
    {
        page->ChBOnInd->click();
        ASSERT_TRUE(window->link()->isOpen()) << Messages::shownTexts().join('\n').toStdString();
    }

    // Sends a telegram and waits until the window has handled it.
    void send(const QByteArray &telegram)
    {
        const int before = window->silenceWatch().rxCounter();
        ASSERT_EQ(pty.write(telegram), zv::scale::LineWrite::Written);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->RxBlock.endsWith(telegram.right(1)) &&
                                                 window->silenceWatch().rxCounter() != before; },
                                    5000));
    }

    zv::scale::PseudoTerminal pty;
    TWeighingPage *page = nullptr;
};

TEST_F(LinkTest, PollingShowsTheIndicatorsWeight)
{
    switchPollingOn();
    EXPECT_FALSE(page->ChBOnInd->isEnabled());
    EXPECT_TRUE(page->ChBOffInd->isEnabled());
    EXPECT_FALSE(page->ChBOffInd->isChecked());
    EXPECT_TRUE(window->timer1()->isActive());
    EXPECT_EQ(window->timer1()->interval(), 400);
    send("ST,GS,+0012340kg\r\n");
    EXPECT_EQ(page->EditWeight->text(), QStringLiteral("0012340"));
    EXPECT_TRUE(page->EditWeight->isReadOnly());
    // A block without digits leaves the display as it was.
    send("\r\n");
    EXPECT_EQ(page->EditWeight->text(), QStringLiteral("0012340"));
}

TEST_F(LinkTest, DecimalFormBlanksBlocksWithoutAPoint)
{
    window->settingsPage()->RGDecimalPoint->setItemIndex(1);
    switchPollingOn();
    send("12.34 t\r\n");
    EXPECT_EQ(page->EditWeight->text(), QStringLiteral("12.34"));
    send("0012340\r\n");
    EXPECT_EQ(page->EditWeight->text(), QString());
}

TEST_F(LinkTest, CaptureCopiesBlocksIntoTheMemoAndAutomaticWeighingGetsReadings)
{
    QStringList readings;
    window->onAutomaticReading = [&](const QString &w) { readings << w; };
    zv::settings().AutoMode = true;
    switchPollingOn();
    window->CaptureOn = true;
    send("+00100\r\n");
    send("+00200\r\n");
    EXPECT_EQ(window->settingsPage()->Memo1->toPlainText(), QStringLiteral("+00100\n+00200\n"));
    EXPECT_EQ(readings, (QStringList{"00100", "00200"}));
    zv::settings().AutoMode = false;
    send("+00300\r\n");
    EXPECT_EQ(readings.size(), 2);
}

TEST_F(LinkTest, SilenceAfterNineTicksShowsZeroAndTheRedLabel)
{
    switchPollingOn();
    send("0012340\r\n");
    window->timer1()->stop(); // the test gives the ticks itself
    auto *lbInd = find<QLabel>("LbInd");
    for (int tick = 1; tick <= 8; ++tick) {
        window->Timer1Timer();
        ASSERT_FALSE(lbInd->isVisibleTo(window.get())) << tick;
    }
    window->Timer1Timer();
    EXPECT_EQ(page->EditWeight->text(), QStringLiteral("0"));
    EXPECT_TRUE(lbInd->isVisibleTo(window.get()));
    EXPECT_FALSE(window->link()->isOpen());
    EXPECT_FALSE(page->ChBOnInd->isChecked());
    EXPECT_FALSE(page->ChBOnInd->isEnabled());
    EXPECT_TRUE(page->ChBOffInd->isChecked());
    EXPECT_FALSE(window->timer1()->isActive());

    // The operator switches polling off and on again to retry.
    page->ChBOffInd->click();
    EXPECT_TRUE(page->ChBOnInd->isEnabled());
    switchPollingOn();
    EXPECT_FALSE(lbInd->isVisibleTo(window.get()));
}

TEST_F(LinkTest, SwitchingPollingOffEmptiesTheWeight)
{
    switchPollingOn();
    send("0012340\r\n");
    page->ChBOffInd->click();
    EXPECT_FALSE(window->link()->isOpen());
    EXPECT_TRUE(page->EditWeight->text().isEmpty());
    EXPECT_FALSE(page->ChBOnInd->isChecked());
    EXPECT_TRUE(page->ChBOnInd->isEnabled());
    EXPECT_FALSE(page->ChBOffInd->isEnabled());
    EXPECT_TRUE(window->timer1()->isActive()); // the watch goes on and reports silence later
}

TEST_F(LinkTest, KeyboardEntry)
{
    struct Case {
        const char *name;
        bool passwordOk;
        QMessageBox::StandardButton answer;
        bool pollingAfter;
        bool editable;
    } cases[] = {
        {"password cancelled", false, QMessageBox::Yes, true, false},
        {"answer No", true, QMessageBox::No, true, false},
        {"answer Yes", true, QMessageBox::Yes, false, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Messages::clear();
        if (!window->link()->isOpen()) {
            page->ChBOffInd->click();
            switchPollingOn();
        }
        bool passwordAsked = false;
        zv::hooks().journalPassword = [&](QWidget *) {
            passwordAsked = true;
            return c.passwordOk;
        };
        Messages::queueAnswer(c.answer);
        send("0012340\r\n");
        page->ChBKeyB->click();
        EXPECT_TRUE(passwordAsked);
        EXPECT_EQ(Messages::shownTexts().size(), c.passwordOk ? 1 : 0);
        EXPECT_EQ(window->link()->isOpen(), c.pollingAfter);
        EXPECT_EQ(page->ChBKeyB->isChecked(), c.editable);
        EXPECT_EQ(!page->EditWeight->isReadOnly(), c.editable);
        EXPECT_EQ(page->EditWeight->text(), QStringLiteral("0012340"));
        if (c.editable) {
            EXPECT_FALSE(page->ChBOnInd->isChecked());
            EXPECT_TRUE(page->ChBOffInd->isChecked());
        }
    }
}

TEST_F(LinkTest, PortThatCannotOpenShowsTheErrorAndStaysChecked)
{
    zv::settings().indicatorPort.port = QStringLiteral("/dev/zv-no-such-port");
    page->ChBOnInd->click();
    EXPECT_FALSE(window->link()->isOpen());
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_EQ(Messages::shown().first().kind, zv::ShownMessage::Error);
    EXPECT_TRUE(page->ChBOnInd->isChecked());
    EXPECT_TRUE(page->ChBOnInd->isEnabled());
    EXPECT_FALSE(window->timer1()->isActive());
}

TEST_F(LinkTest, LeavingTheWeighingPageClosesThePort)
{
    switchPollingOn();
    page->cxButton6->click();
    EXPECT_FALSE(window->link()->isOpen());
    EXPECT_FALSE(page->ChBOnInd->isChecked());
}
