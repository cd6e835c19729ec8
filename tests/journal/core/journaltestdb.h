#pragma once
// A fresh database in a temporary directory with a few vehicles, cargo and a
// driver, plus helpers to seed journal events and read the journal back.
#include <QDateTime>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <vector>

#include "catalogue.h"
#include "clock.h"
#include "database.h"
#include "datamodule.h"
#include "messages.h"
#include "runstate.h"

namespace zv::testing {

struct JournalRow {
    int id = 0;
    int mode = 0;
    int link = 0;      // RESFIELD_2
    QString net;       // RESFIELD_1
    int eventType = 0; // ID_EVENTYP
    int transp = 0;
    int cargo = 0;
    int cargoType = 0;
    QString weight;    // WCARGO
    QString time;      // TIME_EVEN
    QDate date;
    int document = 0;  // ID_DOCUMEN
    int driver = 0;
    int operat = 0;
    QString comment;
    QString props;
    int autoFix = -1;  // AT_OP_AUTO
};

class TestDatabase {
public:
    TestDatabase()
    {
        EXPECT_TRUE(m_dir.isValid());
        zv::store::TBVDMod1::instance().closeAll();
        zv::store::createDatabase(m_dir.path());
        zv::store::Database::setDirectory(m_dir.path());
    }
    ~TestDatabase()
    {
        zv::store::TBVDMod1::instance().closeAll();
        zv::store::Database::setDirectory(QString());
    }
    QString path() const { return m_dir.path(); }

    static void exec(const QString &sql) { zv::store::Database::exec(sql); }

    static void addVehicle(int id, const QString &number, const QString &emptyWeight, const QString &name = "КАМАЗ")
    {
        exec(QStringLiteral("INSERT INTO TRANSPORT (ID_TRANSP, STATENUMB, NAMETRANSP, W_EMPTYCAR, W_EMPTY_TR, IDRF) "
                            "VALUES (%1, '%2', '%3', '%4', '', '')")
                 .arg(id)
                 .arg(number, name, emptyWeight));
    }
    static void addCargo(int id, const QString &name)
    {
        exec(QStringLiteral("INSERT INTO CARGO (ID_CARGO, NAMECARGO, CODCARGO) VALUES (%1, '%2', '')").arg(id).arg(name));
    }
    static void addDriver(int id, const QString &last)
    {
        exec(QStringLiteral("INSERT INTO DRIVER (ID_DRIVER, LASTN_DRIV, FIRSN_DRIV, PATR_DRIV) VALUES (%1, '%2', 'Иван', "
                            "'Иванович')")
                 .arg(id)
                 .arg(last));
    }

    // An event as if recorded earlier, through the journal's table component
    // (so it gets its document number like every recorded event).
    static int seedEvent(const QDate &date, const QString &time, int transp, int mode, const QString &weight,
                         int link = 0, const QString &net = QString(), int cargo = 0)
    {
        auto &dm = zv::store::TBVDMod1::instance();
        auto &t = dm.BVTEvenJrn;
        zv::store::TBVDMod1::OpenIfClosed(t);
        const int id = dm.AllocateID("EVENJRN", "ID_RECORD");
        static const int types[] = {126, 127, 132, 141};
        t.append();
        t.fieldByName("ID_RECORD").setInteger(id);
        t.fieldByName("DATE_EVEN").setDate(date);
        t.fieldByName("TIME_EVEN").setString(time);
        t.fieldByName("ID_TRANSP").setInteger(transp);
        t.fieldByName("ID_DRIVER").setInteger(1);
        t.fieldByName("ID_OPERAT").setInteger(1);
        t.fieldByName("ID_CARGO").setInteger(cargo);
        t.fieldByName("ID_CARGOTY").setInteger(105);
        t.fieldByName("ID_EVENTYP").setInteger(types[mode]);
        t.fieldByName("RESFIELD_2").setInteger(link);
        if (!net.isNull())
            t.fieldByName("RESFIELD_1").setString(net);
        t.fieldByName("MODE_EN_DP").setInteger(mode);
        t.fieldByName("WCARGO").setString(weight);
        t.fieldByName("AT_OP_AUTO").setInteger(0);
        t.post();
        return id;
    }

    static std::vector<JournalRow> journal()
    {
        std::vector<JournalRow> rows;
        QSqlQuery q(zv::store::Database::connection());
        EXPECT_TRUE(q.exec("SELECT ID_RECORD, MODE_EN_DP, RESFIELD_2, RESFIELD_1, ID_EVENTYP, ID_TRANSP, ID_CARGO, "
                           "ID_CARGOTY, WCARGO, TIME_EVEN, DATE_EVEN, ID_DOCUMEN, ID_DRIVER, ID_OPERAT, COMMENT, "
                           "PROPCARGO, AT_OP_AUTO FROM EVENJRN ORDER BY ID_RECORD"));
        while (q.next()) {
            JournalRow r;
            r.id = q.value(0).toInt();
            r.mode = q.value(1).toInt();
            r.link = q.value(2).toInt();
            r.net = q.value(3).toString();
            r.eventType = q.value(4).toInt();
            r.transp = q.value(5).toInt();
            r.cargo = q.value(6).toInt();
            r.cargoType = q.value(7).toInt();
            r.weight = q.value(8).toString();
            r.time = q.value(9).toString();
            r.date = QDate::fromString(q.value(10).toString(), Qt::ISODate);
            r.document = q.value(11).toInt();
            r.driver = q.value(12).toInt();
            r.operat = q.value(13).toInt();
            r.comment = q.value(14).toString();
            r.props = q.value(15).toString();
            r.autoFix = q.value(16).isNull() ? -1 : q.value(16).toInt();
            rows.push_back(r);
        }
        return rows;
    }

    static QString scalar(const QString &sql)
    {
        QSqlQuery q(zv::store::Database::connection());
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        return q.next() ? q.value(0).toString() : QString();
    }

    // Document keys in creation order.
    static std::vector<int> documents()
    {
        std::vector<int> ids;
        QSqlQuery q(zv::store::Database::connection());
        EXPECT_TRUE(q.exec("SELECT ID_DOCUMEN FROM DOCUMENT ORDER BY ROWID"));
        while (q.next())
            ids.push_back(q.value(0).toInt());
        return ids;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace zv::testing
