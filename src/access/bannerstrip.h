#pragma once
// The picture strip across the top of the login and password dialogs.
#include <QWidget>

namespace zv::access {

class BannerStrip : public QWidget {
public:
    explicit BannerStrip(QWidget *parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;
};

// Centres a top-level dialog on the screen it is shown on.
void centerOnScreen(QWidget *w);

} // namespace zv::access
