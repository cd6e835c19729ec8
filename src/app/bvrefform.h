#pragma once
// Where the user manual is to be found.
#include <QDialog>

class TBVRefForm : public QDialog {
    Q_OBJECT
public:
    explicit TBVRefForm(QWidget *parent = nullptr);
};
