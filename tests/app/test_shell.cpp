// The program's shell: the single-instance guard "MyMap" and the error box
// for errors that no handler caught. Runs under the workstation's own
// application object (see main below).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <stdexcept>

#include "catalogue.h"
#include "messages.h"
#include "singleinstance.h"
#include "zvapplication.h"

using zv::Messages;
using zv::SingleInstanceGuard;

namespace {
const char *const kHolderEnv = "ZV_TEST_GUARD_HOLDER_DIR";
}

// Not a test on its own: the body of the child process that holds the guard
// until it is killed.
TEST(GuardHolder, HoldsTheGuardUntilKilled)
{
    const QByteArray dir = qgetenv(kHolderEnv);
    if (dir.isEmpty())
        GTEST_SKIP() << "runs only as the child of GuardTest";
    SingleInstanceGuard guard(QString::fromLocal8Bit(dir));
    std::printf("%s\n", guard.acquire() == SingleInstanceGuard::Result::Acquired ? "locked" : "refused");
    std::fflush(stdout);
    std::getchar(); // until killed
}

TEST(GuardTest, SecondCopyIsRefusedWhileTheFirstRuns)
{
    QTemporaryDir dir;
    SingleInstanceGuard first(dir.path());
    ASSERT_EQ(first.acquire(), SingleInstanceGuard::Result::Acquired);
    SingleInstanceGuard second(dir.path());
    EXPECT_EQ(second.acquire(), SingleInstanceGuard::Result::AlreadyRunning);
}

TEST(GuardTest, GuardOfAnotherProcessRefusesUntilThatProcessIsKilled)
{
    QTemporaryDir dir;
    QProcess holder;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kHolderEnv), dir.path());
    holder.setProcessEnvironment(env);
    holder.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=GuardHolder.*")});
    ASSERT_TRUE(holder.waitForStarted());
    QByteArray out;
    while (!out.contains("locked\n") && !out.contains("refused\n") && holder.waitForReadyRead(10000))
        out += holder.readAllStandardOutput();
    ASSERT_TRUE(out.contains("locked\n")) << out.constData();

    SingleInstanceGuard whileRunning(dir.path());
    EXPECT_EQ(whileRunning.acquire(), SingleInstanceGuard::Result::AlreadyRunning);

    holder.kill(); // no chance to clean up: the lock file stays behind
    ASSERT_TRUE(holder.waitForFinished());
    ASSERT_TRUE(QFile::exists(whileRunning.lockPath()));

    SingleInstanceGuard next(dir.path());
    EXPECT_EQ(next.acquire(), SingleInstanceGuard::Result::Acquired);
}

TEST(GuardTest, UnusableDirectoryIsAFailureNotASecondCopy)
{
    SingleInstanceGuard guard(QStringLiteral("/proc/zv-no-such-dir"));
    EXPECT_EQ(guard.acquire(), SingleInstanceGuard::Result::Failed);
}

// The real program: its guard names this process while it runs, and a copy
// killed without cleaning up does not keep the next one from starting.
TEST(GuardTest, ProgramKilledWithoutCleanUpDoesNotBlockTheNextStart)
{
    QTemporaryDir dir;
    // The program's own directory (belvor.ini, db) and the temporary
    // directory of the guard are both this test's.
    const QString program = dir.filePath(QStringLiteral("zv"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZV_PATH), program));
    // With a database the program waits at its login for the operator.
    zv::store::createDatabase(dir.filePath(QStringLiteral("db")));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), dir.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString lock = dir.filePath(QStringLiteral("MyMap.lock"));
    auto lockHolder = [&] {
        QFile f(lock);
        if (!f.open(QIODevice::ReadOnly))
            return qint64(-1);
        return f.readLine().trimmed().toLongLong();
    };

    QProcess first;
    first.setProcessEnvironment(env);
    first.setWorkingDirectory(dir.path());
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return lockHolder() == first.processId(); }, 20000));
    first.kill();
    ASSERT_TRUE(first.waitForFinished());
    ASSERT_TRUE(QFile::exists(lock));

    QProcess next;
    next.setProcessEnvironment(env);
    next.setWorkingDirectory(dir.path());
    next.start(program, {});
    ASSERT_TRUE(next.waitForStarted());
    EXPECT_TRUE(QTest::qWaitFor([&] { return lockHolder() == next.processId(); }, 20000));
    next.kill();
    next.waitForFinished();
}

TEST(ErrorBox, ErrorEscapingAHandlerIsShownAndTheProgramGoesOn)
{
    Messages::clear();
    QPushButton failing(QStringLiteral("fails"));
    QObject::connect(&failing, &QPushButton::clicked, [] { throw std::runtime_error("Деление на ноль"); });
    int clicks = 0;
    QPushButton working(QStringLiteral("works"));
    QObject::connect(&working, &QPushButton::clicked, [&] { ++clicks; });
    failing.show();
    working.show();

    QTest::mouseClick(&failing, Qt::LeftButton);
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_EQ(Messages::shown().first().kind, zv::ShownMessage::Error);
    EXPECT_EQ(Messages::shown().first().text, QStringLiteral("Деление на ноль"));

    QTest::mouseClick(&working, Qt::LeftButton);
    QTest::mouseClick(&failing, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Messages::shown().size(), 2);
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                      : qgetenv("QT_QPA_PLATFORM"));
    TZvApplication app(argc, argv);
    Messages::setScripted(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
