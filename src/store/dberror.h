#pragma once
// Failures of the store. DbError is what the table engine reports (a table
// that cannot be opened, a statement the engine refuses, a broken file); its
// text is the engine's own message, shown after the caller's fixed prefix.
// ConvertError is a value that cannot be converted (a text that is not a
// number, a date that is not a date); it is not an engine error and goes to
// the general error display.
#include <QByteArray>
#include <QString>
#include <exception>

namespace zv::store {

class DbError : public std::exception {
public:
    explicit DbError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

class ConvertError : public std::exception {
public:
    explicit ConvertError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace zv::store
