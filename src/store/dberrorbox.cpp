#include "dberrorbox.h"

#include "dataset.h"
#include "messages.h"

namespace zv::store {

QString dbErrorText(DbErrorKind kind, const QString &displayName, const QString &engineMessage)
{
    const QChar q(u'"');
    switch (kind) {
    case DbErrorKind::Open:
        return QStringLiteral("Ошибка при открытии таблицы ") + q + displayName + q + QStringLiteral(" :")
            + engineMessage;
    case DbErrorKind::Work:
        return QStringLiteral("Ошибка при работе с БД:") + engineMessage;
    case DbErrorKind::WorkReread:
        return QStringLiteral("Ошибка при работе с БД :") + engineMessage;
    case DbErrorKind::Delete:
        return QStringLiteral("Ошибка при удалении из таб. ") + q + displayName + q + QStringLiteral(":")
            + engineMessage;
    case DbErrorKind::Lookup:
        return QStringLiteral("Ошибка: ") + engineMessage;
    }
    return engineMessage;
}

void showDbError(DbErrorKind kind, const QString &displayName, const DbError &error)
{
    zv::Messages::error(dbErrorText(kind, displayName, error.message()));
}

void showDbError(DbErrorKind kind, const Dataset &ds, const DbError &error)
{
    showDbError(kind, ds.displayName(), error);
}

bool guardDb(DbErrorKind kind, const QString &displayName, const std::function<void()> &operation)
{
    try {
        operation();
        return true;
    } catch (const DbError &e) {
        showDbError(kind, displayName, e);
        return false;
    }
}

} // namespace zv::store
