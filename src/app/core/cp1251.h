#pragma once
// Windows-1251, the character set of the settings file and the accounting
// files. A table of its own so the program does not depend on which codecs
// the Qt build carries.
#include <QByteArray>
#include <QString>

namespace zv {

// Every byte decodes to one character; the one unassigned byte (0x98) is
// kept as U+0098 so a file read and written back keeps its bytes.
QString fromCp1251(const QByteArray &bytes);
// Characters without a Windows-1251 byte become '?'.
QByteArray toCp1251(const QString &text);

} // namespace zv
