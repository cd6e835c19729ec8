#include "inifile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include "cp1251.h"

namespace zv {
namespace {

// "[name]" -> name; empty optional for other lines.
std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const int close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

bool isComment(const QString &line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'));
}

// Key part of a "key=value" line; empty optional for other lines.
std::optional<QString> keyName(const QString &line)
{
    if (isComment(line))
        return std::nullopt;
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    return line.left(eq).trimmed();
}

bool same(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

bool IniFile::load(QString *error)
{
    m_lines.clear();
    m_eol = QStringLiteral("\r\n");
    QFile f(m_path);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    setText(decodeSettingsText(f.readAll()));
    return true;
}

QString IniFile::decodeSettingsText(QByteArray bytes)
{
    // The file is Windows-1251. A file saved by a UTF-8 editor is recognised
    // (its Cyrillic letters are not valid Windows-1251 text as UTF-8 would
    // be) and read as such, so its texts are not garbled; it is written back
    // in Windows-1251.
    const QByteArray bom("\xEF\xBB\xBF");
    const bool hasBom = bytes.startsWith(bom);
    if (hasBom)
        bytes.remove(0, bom.size());
    bool ascii = true;
    for (const char c : std::as_const(bytes))
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (hasBom || !ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(bytes);
        if (!utf8.hasError())
            return text;
    }
    return fromCp1251(bytes);
}

void IniFile::setText(const QString &text)
{
    m_eol = text.contains(QLatin1String("\r\n")) || !text.contains(QLatin1Char('\n')) ? QStringLiteral("\r\n")
                                                                                       : QStringLiteral("\n");
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_lines = t.split(QLatin1Char('\n'));
    // A final line end does not make an extra empty line.
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

QString IniFile::text() const
{
    if (m_lines.isEmpty())
        return QString();
    return m_lines.join(m_eol) + m_eol;
}

bool IniFile::save(QString *error) const
{
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    f.write(toCp1251(text()));
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

IniFile::Pos IniFile::find(const QString &section, const QString &key) const
{
    Pos pos;
    bool inside = false;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString &line = m_lines[i];
        if (auto name = sectionName(line)) {
            if (inside)
                break; // only the first section of that name counts
            if (same(*name, section)) {
                inside = true;
                pos.sectionLine = i;
                pos.lastContent = i;
            }
            continue;
        }
        if (!inside)
            continue;
        if (!line.trimmed().isEmpty())
            pos.lastContent = i;
        if (pos.keyLine < 0 && !key.isEmpty()) {
            if (auto k = keyName(line); k && same(*k, key))
                pos.keyLine = i;
        }
    }
    return pos;
}

bool IniFile::hasSection(const QString &section) const { return find(section, QString()).sectionLine >= 0; }

bool IniFile::hasKey(const QString &section, const QString &key) const { return find(section, key).keyLine >= 0; }

std::optional<QString> IniFile::value(const QString &section, const QString &key) const
{
    const Pos p = find(section, key);
    if (p.keyLine < 0)
        return std::nullopt;
    const QString &line = m_lines[p.keyLine];
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    return value(section, key).value_or(def);
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const Pos p = find(section, key);
    if (p.keyLine >= 0) {
        // Keep the key as it is spelled in the file.
        const QString &old = m_lines[p.keyLine];
        m_lines[p.keyLine] = old.left(old.indexOf(QLatin1Char('='))).trimmed() + QLatin1Char('=') + value;
        return;
    }
    const QString line = key + QLatin1Char('=') + value;
    if (p.sectionLine >= 0) {
        m_lines.insert(p.lastContent + 1, line);
        return;
    }
    if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
        m_lines.append(QString());
    m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
    m_lines.append(line);
}

} // namespace zv
