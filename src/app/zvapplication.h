#pragma once
// The application object of the workstation: an error that no handler
// caught is shown in the error box and the program goes on with the next
// user action.
#include <QApplication>

class TZvApplication : public QApplication {
    Q_OBJECT
public:
    TZvApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
