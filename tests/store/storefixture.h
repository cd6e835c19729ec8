#pragma once
// A fresh database made by the catalogue in a temporary directory, with the
// alias pointed at it for the duration of one test.
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "catalogue.h"
#include "database.h"
#include "datamodule.h"
#include "messages.h"
#include "paths.h"

// Readable texts in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        dir = tmp.path() + QStringLiteral("/db");
        zv::store::createDatabase(dir);
        zv::store::Database::setDirectory(dir);
        zv::Messages::clear();
    }
    void TearDown() override
    {
        zv::store::TBVDMod1::instance().closeAll();
        zv::store::Database::setDirectory(QString());
        zv::Paths::setProgramDir(QString());
    }

    zv::store::TBVDMod1 &dm() { return zv::store::TBVDMod1::instance(); }

    // Runs SQL on the store's own connection (fixtures, checks).
    static void sql(const QString &text) { zv::store::Database::exec(text); }
    static QVariant scalar(const QString &text)
    {
        QSqlQuery q(zv::store::Database::connection());
        if (!q.exec(text) || !q.next())
            ADD_FAILURE() << "query failed: " << text.toStdString() << " " << q.lastError().text().toStdString();
        return q.value(0);
    }

    QTemporaryDir tmp;
    QString dir;
};
