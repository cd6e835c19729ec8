#pragma once
// One place that shows the operator's message boxes. Tests switch it to
// scripted mode: boxes are not shown, their texts are recorded and the
// answers to questions are taken from a queue.
#include <QMessageBox>
#include <QList>
#include <QString>

class QWidget;

namespace zv {

struct ShownMessage {
    enum Kind { Information, Warning, Error, Question };
    Kind kind;
    QString caption;
    QString text;
};

class Messages {
public:
    static void information(const QString &text, const QString &caption = QString());
    static void warning(const QString &text, const QString &caption = QString());
    static void error(const QString &text, const QString &caption = QString());
    // Yes/No confirmation; true on Yes.
    static bool confirm(const QString &text, const QString &caption = QString());
    // General question with the given buttons; returns the button pressed.
    static QMessageBox::StandardButton question(const QString &text, QMessageBox::StandardButtons buttons,
                                                const QString &caption = QString());

    // --- test seam ---
    static void setScripted(bool on);
    static bool scripted();
    // Answers for the next questions, in order. With the queue empty a
    // question is answered No (or Cancel when No is not offered).
    static void queueAnswer(QMessageBox::StandardButton answer);
    static QList<ShownMessage> shown();
    static QStringList shownTexts();
    static void clear();

    // Hook for tests that must act while a box would be open (for example
    // type into the window behind it). Called with every message shown in
    // scripted mode.
    using Observer = void (*)(const ShownMessage &);
    static void setObserver(Observer observer);

private:
    static QMessageBox::StandardButton show(ShownMessage::Kind kind, const QString &caption, const QString &text,
                                            QMessageBox::StandardButtons buttons);
};

} // namespace zv
