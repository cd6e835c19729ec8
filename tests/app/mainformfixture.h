#pragma once
// A main window started on a temporary program directory, with scripted
// message boxes and no access subsystem unless a test installs hooks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "catalogue.h"
#include "cp1251.h"
#include "database.h"
#include "hooks.h"
#include "mainform.h"
#include "messages.h"
#include "paths.h"
#include "runstate.h"
#include "settingsfile.h"

// Readable failure output for texts.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        zv::Paths::setProgramDir(dir.path());
        zv::Messages::clear();
        zv::hooks() = zv::Hooks{};
        zv::settings() = zv::defaultSettings();
        zv::run() = zv::RunValues{};
        // The day's journal and documents are opened at start: a fresh database.
        const QString db = dir.filePath(QStringLiteral("db"));
        zv::store::createDatabase(db);
        zv::store::Database::setDirectory(db);
    }
    void TearDown() override
    {
        if (window) {
            window->SkipSettingsSave = true;
            window.reset();
        }
        zv::hooks() = zv::Hooks{};
        zv::store::Database::setDirectory(QString());
        zv::Paths::setProgramDir(QString());
        zv::Messages::clear();
    }

    // Creates and shows the window; its preparation runs.
    TMainForm *start()
    {
        window = std::make_unique<TMainForm>();
        window->show();
        QCoreApplication::processEvents();
        return window.get();
    }

    // Closes the window (writing the settings unless skipped) and forgets it.
    void closeWindow()
    {
        window->close();
        window.reset();
    }

    QString iniPath() const { return dir.filePath(QStringLiteral("belvor.ini")); }

    void writeIni(const QString &text)
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(zv::toCp1251(text));
    }

    QByteArray iniBytes() const
    {
        QFile f(iniPath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }

    template<typename T = QWidget>
    T *find(const char *name) const
    {
        T *w = window->findChild<T *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QTemporaryDir dir;
    std::unique_ptr<TMainForm> window;
};
