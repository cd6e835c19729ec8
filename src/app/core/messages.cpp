#include "messages.h"

#include <QApplication>
#include <QPushButton>
#include <utility>
#include <QWidget>

namespace zv {
namespace {
bool g_scripted = false;
QList<QMessageBox::StandardButton> g_answers;
QList<ShownMessage> g_shown;
Messages::Observer g_observer = nullptr;

QWidget *activeParent()
{
    if (auto *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}
} // namespace

QMessageBox::StandardButton Messages::show(ShownMessage::Kind kind, const QString &caption, const QString &text,
                                           QMessageBox::StandardButtons buttons)
{
    ShownMessage m{kind, caption, text};
    if (g_scripted) {
        g_shown.append(m);
        if (g_observer)
            g_observer(m);
        if (kind != ShownMessage::Question)
            return QMessageBox::Ok;
        while (!g_answers.isEmpty()) {
            const auto a = g_answers.takeFirst();
            if (buttons.testFlag(a))
                return a;
        }
        return buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Cancel;
    }
    QString title = caption;
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case ShownMessage::Information:
        icon = QMessageBox::Information;
        if (title.isEmpty()) title = QStringLiteral("Информация");
        break;
    case ShownMessage::Warning:
        icon = QMessageBox::Warning;
        if (title.isEmpty()) title = QStringLiteral("Предупреждение");
        break;
    case ShownMessage::Error:
        icon = QMessageBox::Critical;
        if (title.isEmpty()) title = QStringLiteral("Ошибка");
        break;
    case ShownMessage::Question:
        icon = QMessageBox::Question;
        if (title.isEmpty()) title = QStringLiteral("Подтверждение");
        break;
    }
    QMessageBox box(icon, title, text, buttons, activeParent());
    // The boxes speak Russian whatever the machine's locale is.
    const std::pair<QMessageBox::StandardButton, const char *> captions[] = {
        {QMessageBox::Yes, "Да"}, {QMessageBox::No, "Нет"}, {QMessageBox::Cancel, "Отмена"}};
    for (const auto &[button, caption] : captions) {
        if (auto *b = box.button(button))
            b->setText(QString::fromUtf8(caption));
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void Messages::information(const QString &text, const QString &caption)
{
    show(ShownMessage::Information, caption, text, QMessageBox::Ok);
}

void Messages::warning(const QString &text, const QString &caption)
{
    show(ShownMessage::Warning, caption, text, QMessageBox::Ok);
}

void Messages::error(const QString &text, const QString &caption)
{
    show(ShownMessage::Error, caption, text, QMessageBox::Ok);
}

bool Messages::confirm(const QString &text, const QString &caption)
{
    return show(ShownMessage::Question, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QMessageBox::StandardButton Messages::question(const QString &text, QMessageBox::StandardButtons buttons,
                                               const QString &caption)
{
    return show(ShownMessage::Question, caption, text, buttons);
}

void Messages::setScripted(bool on) { g_scripted = on; }
bool Messages::scripted() { return g_scripted; }
void Messages::queueAnswer(QMessageBox::StandardButton answer) { g_answers.append(answer); }
QList<ShownMessage> Messages::shown() { return g_shown; }

QStringList Messages::shownTexts()
{
    QStringList out;
    for (const auto &m : g_shown)
        out << m.text;
    return out;
}

void Messages::clear()
{
    g_shown.clear();
    g_answers.clear();
}

void Messages::setObserver(Observer observer) { g_observer = observer; }

} // namespace zv
