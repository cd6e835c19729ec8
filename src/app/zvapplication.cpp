#include "zvapplication.h"

#include <exception>

#include "messages.h"

TZvApplication::TZvApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TZvApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        zv::Messages::error(QString::fromUtf8(e.what()));
    } catch (...) {
        zv::Messages::error(QStringLiteral("Неизвестная ошибка"));
    }
    return false;
}
