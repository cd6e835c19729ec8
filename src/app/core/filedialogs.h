#pragma once
// One place for file and folder choosers; tests set the next answer.
#include <QString>

class QWidget;

namespace zv {

class FileDialogs {
public:
    // Empty result means the operator cancelled.
    static QString openFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
    static QString saveFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
    static QString folder(QWidget *parent, const QString &caption, const QString &root);

    // --- test seam: the next call returns this instead of showing a dialog
    // (an empty text answers "cancelled").
    static void setNextFileName(const QString &name);
    static void clearNext();
};

} // namespace zv
