#pragma once
// The fixed error boxes of the store: a Russian prefix directly followed by
// the engine's message, shown with the error icon and an OK button through
// zv::Messages::error.
#include <QString>
#include <functional>

#include "dberror.h"

namespace zv::store {

class Dataset;

enum class DbErrorKind {
    Open,       // "Ошибка при открытии таблицы "<name>" :"
    Work,       // "Ошибка при работе с БД:"
    WorkReread, // "Ошибка при работе с БД :" (browsers re-reading their list)
    Delete,     // "Ошибка при удалении из таб. "<name>":"
    Lookup,     // "Ошибка: "
};

// Display names of the tables in the error boxes (first name of each table).
namespace DisplayName {
inline const QString EvenJrn = QStringLiteral("Журнал событий");
inline const QString Transport = QStringLiteral("Транспортные средства");
inline const QString TransportShort = QStringLiteral("ТС");
inline const QString TsTypes = QStringLiteral("Типы ТС");
inline const QString TsTypesLatin = QStringLiteral("Типы TC"); // Latin T and C, as the vehicle editor writes it
inline const QString Model = QStringLiteral("Марки ТС");
inline const QString Trailer = QStringLiteral("Марки прицепов");
inline const QString Owner = QStringLiteral("Владельцы ТС");
inline const QString Driver = QStringLiteral("Водители");
inline const QString Cargo = QStringLiteral("Грузы");
inline const QString CargoKinds = QStringLiteral("Виды грузов");
inline const QString CargoKind = QStringLiteral("Виды груза");
inline const QString CargoTypes = QStringLiteral("Типы грузов");
inline const QString CargoType = QStringLiteral("Типы груза");
inline const QString EvenTypes = QStringLiteral("Виды событий");
inline const QString Document = QStringLiteral("Документы");
inline const QString DocTypes = QStringLiteral("Типы документов");
inline const QString GrOtpr = QStringLiteral("Грузоотправители");
inline const QString GrPol = QStringLiteral("Грузополучатели");
inline const QString Pokup = QStringLiteral("Покупатели");
inline const QString Post = QStringLiteral("Поставщики");
inline const QString EdIzm = QStringLiteral("Единицы измерений");
inline const QString Upakov = QStringLiteral("Виды упаковки");
inline const QString Users = QStringLiteral("Пользователи");
inline const QString Operator = QStringLiteral("Операторы");
} // namespace DisplayName

// The box text: prefix (with the display name where the kind has one)
// directly followed by the engine's message.
QString dbErrorText(DbErrorKind kind, const QString &displayName, const QString &engineMessage);

// Shows the box.
void showDbError(DbErrorKind kind, const QString &displayName, const DbError &error);
// Same, with the dataset's display name.
void showDbError(DbErrorKind kind, const Dataset &ds, const DbError &error);

// Runs the operation; when it throws DbError shows the box and returns
// false. Other exceptions pass through to the general error display.
bool guardDb(DbErrorKind kind, const QString &displayName, const std::function<void()> &operation);

} // namespace zv::store
