// zvtool db init DIR             create DIR/zv.db with every table and the built-in rows
// zvtool db demo DIR             add the demo reference data and users to DIR/zv.db
// zvtool db import DBF_DIR DIR   import an installation's dBase tables into a new DIR/zv.db
#include "commands.h"

#include "catalogue.h"
#include "dbfimport.h"
#include "dberror.h"

#include <QDir>
#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: zvtool db init DIR\n"
                           "       zvtool db demo DIR\n"
                           "       zvtool db import DBF_DIR DIR\n";
    return 2;
}

} // namespace

int zvtool::runDb(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty())
        return usage();
    const QString sub = args.first();
    try {
        if (sub == QLatin1String("init") && args.size() == 2) {
            const QString service = zv::store::createDatabase(args[1]);
            out << "Created " << QDir::toNativeSeparators(QDir(args[1]).absoluteFilePath(QStringLiteral("zv.db")))
                << "\n"
                << "Administrator: login \"" << zv::store::InitialAdminLogin << "\", password \""
                << zv::store::InitialAdminPassword << "\" (must be changed at the first login)\n"
                << "Journal password: \"" << zv::store::InitialJournalPassword << "\"; service journal password: \""
                << service << "\" (keep it)\n";
            return 0;
        }
        if (sub == QLatin1String("demo") && args.size() == 2) {
            zv::store::addDemoData(args[1]);
            out << "Demo data added to " << QDir::toNativeSeparators(QDir(args[1]).absoluteFilePath(QStringLiteral("zv.db")))
                << "\n";
            for (const auto &u : zv::store::demoUsers())
                out << "User \"" << u.login << "\", password \"" << u.password << "\", group " << u.group << "\n";
            return 0;
        }
        if (sub == QLatin1String("import") && args.size() == 3) {
            const auto result = zv::store::importDbfDirectory(args[1], args[2]);
            int total = 0;
            for (const auto &c : result.counts) {
                out << c.first.leftJustified(12) << c.second << "\n";
                total += c.second;
            }
            out << "Imported " << total << " rows into "
                << QDir::toNativeSeparators(QDir(args[2]).absoluteFilePath(QStringLiteral("zv.db"))) << "\n";
            return 0;
        }
    } catch (const zv::store::DbError &e) {
        err << "zvtool db " << sub << ": " << e.message() << "\n";
        return 1;
    }
    return usage();
}
