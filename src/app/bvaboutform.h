#pragma once
// About box: product line and purpose line on a cream background, closed
// by its window border.
#include <QDialog>

class TBVAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TBVAboutForm(QWidget *parent = nullptr);
};
