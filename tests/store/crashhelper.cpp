// Writes journal rows into the database of the directory given and then
// kills itself in the middle of a transaction, the way a power cut or a
// killed process ends a run.
#include <QCoreApplication>
#include <QDate>

#include <csignal>
#include <cstdio>

#include "database.h"
#include "datamodule.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    zv::store::Database::setDirectory(QString::fromLocal8Bit(argv[1]));
    const int committed = QString::fromLatin1(argv[2]).toInt();
    auto &dm = zv::store::TBVDMod1::instance();
    dm.BVTEvenJrn.open();
    auto add = [&](int id) {
        dm.BVTEvenJrn.append();
        dm.BVTEvenJrn.fieldByName(QStringLiteral("ID_RECORD")).setInteger(id);
        dm.BVTEvenJrn.fieldByName(QStringLiteral("DATE_EVEN")).setDate(QDate(2024, 1, 1));
        dm.BVTEvenJrn.fieldByName(QStringLiteral("WCARGO")).setString(QStringLiteral("1000"));
        dm.BVTEvenJrn.post();
    };
    for (int i = 1; i <= committed; ++i)
        add(i);
    std::printf("committed %d\n", committed);
    std::fflush(stdout);
    zv::store::Database::beginTransaction();
    for (int i = committed + 1; i <= committed + 50; ++i)
        add(i);
    std::raise(SIGKILL);
    return 0;
}
