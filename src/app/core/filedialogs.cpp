#include "filedialogs.h"

#include <QFileDialog>
#include <optional>

namespace zv {
namespace {
std::optional<QString> g_next;

std::optional<QString> takeNext()
{
    auto n = g_next;
    g_next.reset();
    return n;
}
} // namespace

QString FileDialogs::openFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    if (auto n = takeNext())
        return *n;
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString FileDialogs::saveFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    if (auto n = takeNext())
        return *n;
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString FileDialogs::folder(QWidget *parent, const QString &caption, const QString &root)
{
    if (auto n = takeNext())
        return *n;
    return QFileDialog::getExistingDirectory(parent, caption, root, QFileDialog::ShowDirsOnly);
}

void FileDialogs::setNextFileName(const QString &name) { g_next = name; }
void FileDialogs::clearNext() { g_next.reset(); }

} // namespace zv
