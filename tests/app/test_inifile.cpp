// The settings file format: Windows-1251 on disk, names without letter case,
// keys replaced in their own line, foreign lines kept.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cp1251.h"
#include "inifile.h"

using zv::IniFile;

namespace {
QByteArray readBytes(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}
void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

TEST(Cp1251, RoundTripsEveryByteAndEncodesCyrillic)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(zv::toCp1251(zv::fromCp1251(all)), all);

    EXPECT_EQ(zv::toCp1251(QStringLiteral("Статический режим")).toHex(),
              QByteArray("d1f2e0f2e8f7e5f1eae8e920f0e5e6e8ec"));
    EXPECT_EQ(zv::fromCp1251(QByteArray::fromHex("b8a8b9")), QStringLiteral("ёЁ№"));
    EXPECT_EQ(zv::toCp1251(QStringLiteral("漢")), QByteArray("?"));
}

TEST(IniFile, NamesAreComparedWithoutLetterCase)
{
    IniFile ini;
    ini.setText(QStringLiteral("[set mode]\r\nmodeindex = 1\r\n"));
    EXPECT_EQ(ini.readString(QStringLiteral("Set Mode"), QStringLiteral("ModeIndex")), QStringLiteral("1"));
    EXPECT_TRUE(ini.hasKey(QStringLiteral("SET MODE"), QStringLiteral("MODEINDEX")));
    EXPECT_FALSE(ini.value(QStringLiteral("Set Mode"), QStringLiteral("Mode")).has_value());
    EXPECT_EQ(ini.readString(QStringLiteral("Nope"), QStringLiteral("Mode"), QStringLiteral("def")),
              QStringLiteral("def"));
}

TEST(IniFile, WriteReplacesInPlaceAndKeepsForeignLines)
{
    IniFile ini;
    ini.setText(QStringLiteral("; written by hand\r\n"
                               "[Set Mode]\r\n"
                               "Mode=Статический режим\r\n"
                               "Extra=keep me\r\n"
                               "MODEINDEX=0\r\n"
                               "\r\n"
                               "[Other]\r\n"
                               "; a note\r\n"
                               "Key=1\r\n"));
    ini.writeString(QStringLiteral("Set Mode"), QStringLiteral("ModeIndex"), QStringLiteral("1"));
    ini.writeString(QStringLiteral("set mode"), QStringLiteral("NewKey"), QStringLiteral("x"));
    ini.writeString(QStringLiteral("Fresh"), QStringLiteral("A"), QStringLiteral("b"));
    EXPECT_EQ(ini.text(), QStringLiteral("; written by hand\r\n"
                                         "[Set Mode]\r\n"
                                         "Mode=Статический режим\r\n"
                                         "Extra=keep me\r\n"
                                         "MODEINDEX=1\r\n"
                                         "NewKey=x\r\n"
                                         "\r\n"
                                         "[Other]\r\n"
                                         "; a note\r\n"
                                         "Key=1\r\n"
                                         "\r\n"
                                         "[Fresh]\r\n"
                                         "A=b\r\n"));
}

TEST(IniFile, CommentedKeyIsNotAKey)
{
    IniFile ini;
    ini.setText(QStringLiteral("[S]\n;Port=COM9\nPort=COM1\n"));
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("Port")), QStringLiteral("COM1"));
    ini.writeString(QStringLiteral("S"), QStringLiteral("Port"), QStringLiteral("COM2"));
    // Unix line ends of a file stay Unix line ends.
    EXPECT_EQ(ini.text(), QStringLiteral("[S]\n;Port=COM9\nPort=COM2\n"));
}

TEST(IniFile, FileOnDiskIsWindows1251AndMissingFileIsEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("belvor.ini"));
    IniFile missing(path);
    QString error;
    EXPECT_TRUE(missing.load(&error)) << error.toStdString();
    EXPECT_TRUE(missing.text().isEmpty());

    writeBytes(path, QByteArray("[Set Mode]\r\nMode=") + QByteArray::fromHex("c4e8ede0ece8f7e5f1eae8e920f0e5e6e8ec") +
                         "\r\n;\xcc\xee\xe9 \xea\xee\xec\xec\xe5\xed\xf2\xe0\xf0\xe8\xe9\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString(QStringLiteral("Set Mode"), QStringLiteral("Mode")), QStringLiteral("Динамический режим"));
    ini.writeString(QStringLiteral("Set Limit"), QStringLiteral("Limit"), QStringLiteral("Пороговый вес"));
    ASSERT_TRUE(ini.save());
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.contains(QByteArray("Limit=") + QByteArray::fromHex("cfeef0eee3eee2fbe920e2e5f1") + "\r\n"))
        << bytes.toHex().constData();
    // The comment in Cyrillic survives byte for byte.
    EXPECT_TRUE(bytes.contains("\r\n;\xcc\xee\xe9 \xea\xee\xec\xec\xe5\xed\xf2\xe0\xf0\xe8\xe9\r\n"));
    EXPECT_FALSE(bytes.contains(QStringLiteral("Пороговый").toUtf8()));
}

TEST(IniFile, UnreadableExistingFileIsReported)
{
    QTemporaryDir dir;
    IniFile ini(dir.path()); // a directory cannot be read as a file
    QString error;
    EXPECT_FALSE(ini.load(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(IniFile, FileSavedByAUtf8EditorIsReadAsUtf8AndWrittenBackAsWindows1251)
{
    const struct {
        QByteArray bytes;
        const char *mode; // UTF-8 of the expected text
    } cases[] = {
        {QStringLiteral("[Set Mode]\r\nMode=Динамический режим\r\n").toUtf8(), "Динамический режим"},
        {QByteArray("\xEF\xBB\xBF") + QStringLiteral("[Set Mode]\nMode=Статический режим\n").toUtf8(),
         "Статический режим"},
        {zv::toCp1251(QStringLiteral("[Set Mode]\r\nMode=Динамический режим\r\n")), "Динамический режим"},
        // Windows-1251 that happens to be valid UTF-8 in places stays Windows-1251.
        {zv::toCp1251(QStringLiteral("[Set Mode]\r\nMode=Ёж ё\r\n")), "Ёж ё"},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("belvor.ini"));
        writeBytes(path, c.bytes);
        IniFile ini(path);
        ASSERT_TRUE(ini.load());
        EXPECT_EQ(ini.readString(QStringLiteral("Set Mode"), QStringLiteral("Mode")), QString::fromUtf8(c.mode))
            << c.bytes.toHex().constData();
        ASSERT_TRUE(ini.save());
        EXPECT_TRUE(readBytes(path).contains(zv::toCp1251(QString::fromUtf8(c.mode))));
    }
}
