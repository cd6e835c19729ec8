#pragma once
// INI text file in Windows-1251 as the workstation keeps its settings:
// section and key names compared without letter case, a written key replaces
// its own line, every other line (unknown keys, comments, blank lines) stays
// as it was.
#include <QString>
#include <QStringList>
#include <optional>

namespace zv {

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(const QString &path) : m_path(path) {}

    // Reads the file. A missing file is an empty file, not an error; false
    // (with the reason in *error) only when an existing file cannot be read.
    bool load(QString *error = nullptr);
    // Writes the file atomically (a failed write leaves the old file intact).
    bool save(QString *error = nullptr) const;

    void setText(const QString &text);
    // Text of the file's bytes: Windows-1251, or UTF-8 when the bytes are
    // valid UTF-8 with letters beyond ASCII (a file saved by a UTF-8 editor).
    static QString decodeSettingsText(QByteArray bytes);
    QString text() const;
    QString path() const { return m_path; }

    bool hasSection(const QString &section) const;
    bool hasKey(const QString &section, const QString &key) const;
    // The value with the blanks around it removed; nullopt when the key is missing.
    std::optional<QString> value(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &def = QString()) const;

    // Replaces the key's line in place, else adds it at the end of its
    // section, else adds the section at the end of the file.
    void writeString(const QString &section, const QString &key, const QString &value);

private:
    struct Pos {
        int sectionLine = -1; // line of "[section]"
        int keyLine = -1;     // line of the key inside it
        int lastContent = -1; // last non-blank line of the section
    };
    Pos find(const QString &section, const QString &key) const;

    QString m_path;
    QStringList m_lines;
    QString m_eol = QStringLiteral("\r\n");
};

} // namespace zv
