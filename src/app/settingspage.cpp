#include "settingspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "accessible.h"
#include "filedialogs.h"
#include "inifile.h"
#include "messages.h"
#include "paths.h"
#include "radiogroup.h"
#include "runstate.h"
#include "weighingpage.h"

using zv::settings;

namespace {

const QStringList kBaudRates = {"110",   "300",   "600",    "1200",   "2400",   "4800",
                                "9600",  "14400", "19200",  "38400",  "56000",  "57600",
                                "115200", "128000", "230400", "256000", "460800", "921600"};
const QStringList kDataBits = {"5", "6", "7", "8"};
const QStringList kParities = {QStringLiteral("Нет"), QStringLiteral("Нечет"), QStringLiteral("Чет"),
                               QStringLiteral("Маркер(1)"), QStringLiteral("Пробел(0)")};
const QStringList kStopBits = {"1", "1.5", "2"};
const QStringList kFlowControls = {QStringLiteral("Xon/Xoff"), QStringLiteral("Аппаратное"), QStringLiteral("Нет")};
const QString kStatic = QStringLiteral("Статический режим");
const QString kDynamic = QStringLiteral("Динамический режим");

QComboBox *listBox(const QString &name, const QStringList &items, QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    return c;
}

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLineEdit *edit(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

// "'x' не является целым числом" — the conversion error of a typed value.
[[noreturn]] void throwNotInteger(const QString &text)
{
    throw zv::SettingsError(QStringLiteral("\"%1\" не является целым числом").arg(text));
}

int integerOf(const QString &text)
{
    if (auto v = zv::toInteger(text))
        return *v;
    throwNotInteger(text);
}

bool onlyDigits(const QString &text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

struct PortLists {
    QComboBox *port, *baud, *data, *parity, *stop, *flow;
};

// The six lists of a port with their captions, in reading order.
PortLists buildPortLists(QGridLayout *grid, const QString &prefix, QWidget *parent)
{
    PortLists l{};
    const struct {
        QComboBox **box;
        const char *name;
        const char *caption;
        const QStringList *items;
        int defaultItem; // 19200 baud, 8 data bits, no parity, 1 stop bit, no flow control
    } rows[] = {{&l.port, "ComPort", "Выбор Com порта", nullptr, -1},
                {&l.baud, "BaudRate", "Скорость (бит/сек)", &kBaudRates, 8},
                {&l.data, "DataBit", "Биты данных", &kDataBits, 3},
                {&l.parity, "Parity", "Четность", &kParities, 0},
                {&l.stop, "StopBit", "Стоповые биты", &kStopBits, 0},
                {&l.flow, "ControlStream", "Управление потоком", &kFlowControls, 2}};
    int r = 0;
    for (const auto &row : rows) {
        *row.box = listBox(prefix + QLatin1String(row.name), row.items ? *row.items : QStringList(), parent);
        (*row.box)->setCurrentIndex(row.defaultItem);
        auto *caption = new QLabel(QString::fromUtf8(row.caption), parent);
        zv::caption(caption, *row.box);
        grid->addWidget(caption, r, 0);
        grid->addWidget(*row.box, r, 1);
        ++r;
    }
    return l;
}

void applyPortLists(const PortLists &l, zv::PortValues &v)
{
    v.port = l.port->currentText();
    v.comPortIndex = l.port->currentIndex();
    v.baudRateIndex = l.baud->currentIndex();
    v.dataBitIndex = l.data->currentIndex();
    v.parityIndex = l.parity->currentIndex();
    v.stopBitIndex = l.stop->currentIndex();
    v.controlStreamIndex = l.flow->currentIndex();
}

// Shows a text read from the file. A list whose item carries that text has
// the item chosen, so that "Применить" applies what the operator sees (an
// edit field showing "9600" over a chosen "19200" would open the port at
// 19200); any other text only goes into the edit field.
void showListText(QComboBox *box, const QString &text)
{
    const int item = box->findText(text);
    if (item >= 0)
        box->setCurrentIndex(item);
    box->setEditText(text);
}

void showPortTexts(const PortLists &l, const zv::PortTexts &t)
{
    showListText(l.port, t.port);
    showListText(l.baud, t.baudRate);
    showListText(l.data, t.dataBit);
    showListText(l.parity, t.parity);
    showListText(l.stop, t.stopBit);
    showListText(l.flow, t.controlStream);
}

zv::PortTexts portTexts(const PortLists &l)
{
    return {l.port->currentText(), l.baud->currentText(), l.data->currentText(),
            l.parity->currentText(), l.stop->currentText(), l.flow->currentText()};
}

void selectDefaults(const PortLists &l, int portItem, const QString &baud)
{
    l.port->setCurrentIndex(portItem < l.port->count() ? portItem : -1);
    l.baud->setCurrentIndex(l.baud->findText(baud));
    l.data->setCurrentIndex(l.data->findText(QStringLiteral("8")));
    l.parity->setCurrentIndex(0);
    l.stop->setCurrentIndex(0);
    l.flow->setCurrentIndex(2);
}

// Tab column down the left side with the captions written across, so they
// read like the rest of the page.
class AcrossTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

    QSize tabSizeHint(int index) const override
    {
        QSize size = QTabBar::tabSizeHint(index);
        size.transpose();
        return size;
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionTab opt;
        for (int i = 0; i < count(); ++i) {
            initStyleOption(&opt, i);
            painter.drawControl(QStyle::CE_TabBarTabShape, opt);
            painter.save();
            QSize size = opt.rect.size();
            size.transpose();
            QRect r(QPoint(), size);
            r.moveCenter(opt.rect.center());
            opt.rect = r;
            const QPoint centre = tabRect(i).center();
            painter.translate(centre);
            painter.rotate(90);
            painter.translate(-centre);
            painter.drawControl(QStyle::CE_TabBarTabLabel, opt);
            painter.restore();
        }
    }
};

class LeftTabWidget : public QTabWidget {
public:
    explicit LeftTabWidget(QWidget *parent) : QTabWidget(parent)
    {
        setTabBar(new AcrossTabBar(this));
        setTabPosition(QTabWidget::West);
    }
};

} // namespace

TSettingsPage::TSettingsPage(TWeighingPage *weighing, QLabel *lbAuto, QWidget *parent)
    : QWidget(parent), m_weighing(weighing), m_lbAuto(lbAuto)
{
    setObjectName(QStringLiteral("SettingsPage"));
    auto *root = new QVBoxLayout(this);
    cxPageControl1 = new LeftTabWidget(this);
    cxPageControl1->setObjectName(QStringLiteral("cxPageControl1"));
    root->addWidget(cxPageControl1);

    const struct {
        const char *name;
        const char *caption;
        void (TSettingsPage::*build)(QWidget *);
        int maxWidth; // the boxes keep a readable width on a wide screen
    } tabs[] = {{"TabSComPort", "Com - порт", &TSettingsPage::buildPortTab, 640},
                {"cxTabSRFInd", "IDRF", &TSettingsPage::buildRfidTab, 640},
                {"cxTabSheet2", "Режим взвешивания", &TSettingsPage::buildModeTab, 1100},
                {"cxTabSheet3", "Весовой индикатор", &TSettingsPage::buildIndicatorTab, 640},
                {"cxTabSheet4", "Связь с 1С", &TSettingsPage::build1CTab, 640},
                {"cxTabSheet5", "Актуальность тары", &TSettingsPage::buildTareTab, 760},
                {"cxTabSheet6", "Нагрузка на ось", &TSettingsPage::buildLoadTab, 480}};
    for (const auto &t : tabs) {
        auto *tab = new QWidget(cxPageControl1);
        tab->setObjectName(QLatin1String(t.name));
        auto *row = new QHBoxLayout(tab);
        auto *content = new QWidget(tab);
        content->setMaximumWidth(t.maxWidth);
        (this->*t.build)(content);
        row->addWidget(content, 1);
        row->addStretch(0);
        cxPageControl1->addTab(tab, QString::fromUtf8(t.caption));
    }

    for (QPushButton *exit : {cxButton2, cxButton5, cxButton8, cxButton3, cxButton11, cxButton10, cxButton14, BtExit})
        connect(exit, &QPushButton::clicked, this, &TSettingsPage::exitRequested);
}

void TSettingsPage::buildPortTab(QWidget *tab)
{
    auto *v = new QVBoxLayout(tab);
    auto *group = new QGroupBox(QStringLiteral("Параметры порта для опроса весового индикатора"), tab);
    group->setObjectName(QStringLiteral("GrBComPort"));
    auto *grid = new QGridLayout(group);
    const PortLists l = buildPortLists(grid, QStringLiteral("CB"), group);
    CBComPort = l.port;
    CBBaudRate = l.baud;
    CBDataBit = l.data;
    CBParity = l.parity;
    CBStopBit = l.stop;
    CBControlStream = l.flow;
    v->addWidget(group);
    auto *buttons = new QHBoxLayout;
    BtSetDefault = button("BtSetDefault", QStringLiteral("Установить значения по умолчанию"), tab);
    BtApply = button("BtApply", QStringLiteral("Применить"), tab);
    cxButton2 = button("cxButton2", QStringLiteral("Выход"), tab);
    buttons->addWidget(BtSetDefault);
    buttons->addWidget(BtApply);
    buttons->addWidget(cxButton2);
    v->addLayout(buttons);
    v->addStretch(1);
    connect(BtSetDefault, &QPushButton::clicked, this, &TSettingsPage::BtSetDefaultClick);
    connect(BtApply, &QPushButton::clicked, this, &TSettingsPage::BtApplyClick);
}

void TSettingsPage::buildRfidTab(QWidget *tab)
{
    auto *v = new QVBoxLayout(tab);
    ChBRFID = new QCheckBox(QStringLiteral("Включить радиочастотную идентификацию"), tab);
    ChBRFID->setObjectName(QStringLiteral("ChBRFID"));
    v->addWidget(ChBRFID);
    GrBRFID = new QGroupBox(QStringLiteral("Параметры порта для работы с RFID"), tab);
    GrBRFID->setObjectName(QStringLiteral("GrBRFID"));
    auto *grid = new QGridLayout(GrBRFID);
    const PortLists l = buildPortLists(grid, QStringLiteral("CBRF"), GrBRFID);
    CBRFComPort = l.port;
    CBRFBaudRate = l.baud;
    CBRFDataBit = l.data;
    CBRFParity = l.parity;
    CBRFStopBit = l.stop;
    CBRFControlStream = l.flow;
    auto *buttons = new QHBoxLayout;
    BtRFSetDefault = button("BtRFSetDefault", QStringLiteral("Установить значения по умолчанию"), GrBRFID);
    cxButton1 = button("cxButton1", QStringLiteral("Применить"), GrBRFID);
    cxButton5 = button("cxButton5", QStringLiteral("Выход"), GrBRFID);
    buttons->addWidget(BtRFSetDefault);
    buttons->addWidget(cxButton1);
    buttons->addWidget(cxButton5);
    grid->addLayout(buttons, 6, 0, 1, 2);
    v->addWidget(GrBRFID);
    v->addStretch(1);
    // The RFID port is configured and kept but never used by this program:
    // its lists and buttons stay disabled, only the switch works.
    for (QWidget *w : std::initializer_list<QWidget *>{CBRFComPort, CBRFBaudRate, CBRFDataBit, CBRFParity,
                                                        CBRFStopBit, CBRFControlStream, BtRFSetDefault, cxButton1,
                                                        cxButton5})
        w->setEnabled(false);
    connect(ChBRFID, &QCheckBox::clicked, this, &TSettingsPage::ChBRFIDClick);
    connect(BtRFSetDefault, &QPushButton::clicked, this, &TSettingsPage::BtRFSetDefaultClick);
    connect(cxButton1, &QPushButton::clicked, this, &TSettingsPage::cxButton1Click);
}

void TSettingsPage::buildModeTab(QWidget *tab)
{
    auto *h = new QHBoxLayout(tab);
    auto *left = new QVBoxLayout;
    h->addLayout(left, 2);

    auto *heading = new QLabel(QStringLiteral("Режим взвешивания ТС "), tab);
    CBMode = new QComboBox(tab);
    CBMode->setObjectName(QStringLiteral("CBMode"));
    CBMode->addItems({kStatic, kDynamic});
    zv::caption(heading, CBMode);
    left->addWidget(heading);
    left->addWidget(CBMode);

    ChBAutomatic = new QCheckBox(QStringLiteral("Автоматический режим взвешивания ТС"), tab);
    ChBAutomatic->setObjectName(QStringLiteral("ChBAutomatic"));
    left->addWidget(ChBAutomatic);

    lbLimit = new QLabel(
        QStringLiteral("Пороговое значение веса ТС. В расчет веса берутся данные, превышающие это значение."), tab);
    lbLimit->setObjectName(QStringLiteral("lbLimit"));
    lbLimit->setWordWrap(true);
    EditLimit = edit("EditLimit", tab);
    EditLimit->setText(QStringLiteral("100"));
    zv::caption(lbLimit, EditLimit);
    LbDim = new QLabel(QStringLiteral("КГ"), tab);
    LbDim->setObjectName(QStringLiteral("LbDim"));
    left->addWidget(lbLimit);
    auto *limitRow = new QHBoxLayout;
    limitRow->addWidget(EditLimit);
    limitRow->addWidget(LbDim);
    left->addLayout(limitRow);

    LbPlatformWidth = new QLabel(QStringLiteral("Ширина весовой платформы"), tab);
    LbPlatformWidth->setObjectName(QStringLiteral("LbPlatformWidth"));
    EditPlatformWidth = edit("EditPlatformWidth", tab);
    EditPlatformWidth->setText(QStringLiteral("600"));
    zv::caption(LbPlatformWidth, EditPlatformWidth);
    auto *widthRow = new QHBoxLayout;
    widthRow->addWidget(LbPlatformWidth);
    widthRow->addWidget(EditPlatformWidth);
    widthRow->addWidget(new QLabel(QStringLiteral("ММ"), tab));
    left->addLayout(widthRow);

    ChBKoff = new QCheckBox(QStringLiteral("Использовать коэффициент в расчетах"), tab);
    ChBKoff->setObjectName(QStringLiteral("ChBKoff"));
    left->addWidget(ChBKoff);

    GrBoxKoff = new QGroupBox(QStringLiteral("Дополнительный коэффициент  "), tab);
    GrBoxKoff->setObjectName(QStringLiteral("GrBoxKoff"));
    auto *koff = new QGridLayout(GrBoxKoff);
    TrBarKoff = new QSlider(Qt::Horizontal, GrBoxKoff);
    TrBarKoff->setObjectName(QStringLiteral("TrBarKoff"));
    TrBarKoff->setRange(0, 10);
    TrBarKoff->setPageStep(1);
    TrBarKoff->setTickPosition(QSlider::TicksBelow);
    TrBarKoff->setTickInterval(1);
    TrBarKoff->setAccessibleName(QStringLiteral("Дополнительный коэффициент"));
    EditKoff = edit("EditKoff", GrBoxKoff);
    EditKoff->setReadOnly(true);
    EditKoff->setAccessibleName(QStringLiteral("Дополнительный коэффициент"));
    Edit095 = edit("Edit095", GrBoxKoff);
    Edit100 = edit("Edit100", GrBoxKoff);
    Edit105 = edit("Edit105", GrBoxKoff);
    const QString marks[] = {QStringLiteral("0.95"), QStringLiteral("1.00"), QStringLiteral("1.05")};
    int col = 0;
    for (QLineEdit *mark : {Edit095, Edit100, Edit105}) {
        mark->setText(marks[col]);
        mark->setReadOnly(true);
        // A bare number says nothing to a screen-reader user: the group's caption goes first.
        mark->setAccessibleName(GrBoxKoff->title() + QLatin1Char(' ') + marks[col]);
        mark->setAlignment(Qt::AlignCenter);
        mark->setFixedWidth(mark->fontMetrics().horizontalAdvance(QStringLiteral("0.000")) + 12);
        koff->addWidget(mark, 1, col * 2, 1, 1, col == 0 ? Qt::AlignLeft : col == 1 ? Qt::AlignHCenter : Qt::AlignRight);
        ++col;
    }
    koff->setColumnStretch(1, 1);
    koff->setColumnStretch(3, 1);
    koff->addWidget(TrBarKoff, 0, 0, 1, 5);
    koff->addWidget(EditKoff, 0, 5);
    left->addWidget(GrBoxKoff);

    GrBoxMax = new QGroupBox(QStringLiteral("Дополнительная обработка сигнала"), tab);
    GrBoxMax->setObjectName(QStringLiteral("GrBoxMax"));
    auto *maxBox = new QVBoxLayout(GrBoxMax);
    ChBIntegral = new QCheckBox(QStringLiteral("Интегрирование области максисмума"), GrBoxMax);
    ChBIntegral->setObjectName(QStringLiteral("ChBIntegral"));
    maxBox->addWidget(ChBIntegral);
    RGPointIntegral = new zv::RadioGroup(QStringLiteral("Количество точек для обработки"),
                                         {QStringLiteral("5(Пять)"), QStringLiteral("7(Семь)"),
                                          QStringLiteral("9(Девять)")},
                                         3, GrBoxMax);
    RGPointIntegral->setObjectName(QStringLiteral("RGPointIntegral"));
    maxBox->addWidget(RGPointIntegral);
    left->addWidget(GrBoxMax);

    auto *buttons = new QHBoxLayout;
    cxButton7 = button("cxButton7", QStringLiteral("Применить"), tab);
    cxButton8 = button("cxButton8", QStringLiteral("Выход"), tab);
    buttons->addWidget(cxButton7);
    buttons->addWidget(cxButton8);
    left->addLayout(buttons);
    left->addStretch(1);

    // Capture of a dynamic measurement: the blocks as received.
    Memo1 = new QPlainTextEdit(tab);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setAccessibleName(QStringLiteral("Данные измерения"));
    h->addWidget(Memo1, 1);

    TrBarKoff->setValue(2);
    EditKoff->setText(zv::koffText(2));

    connect(CBMode, &QComboBox::activated, this, &TSettingsPage::CBModeClick);
    connect(ChBAutomatic, &QCheckBox::clicked, this, &TSettingsPage::ChBAutomaticClick);
    connect(ChBKoff, &QCheckBox::clicked, this, &TSettingsPage::ChBKoffClick);
    connect(TrBarKoff, &QSlider::valueChanged, this, &TSettingsPage::TrBarKoffChange);
    connect(ChBIntegral, &QCheckBox::clicked, this, &TSettingsPage::ChBIntegralClick);
    connect(RGPointIntegral, &zv::RadioGroup::itemClicked, this, &TSettingsPage::RGPointIntegralClick);
    connect(cxButton7, &QPushButton::clicked, this, &TSettingsPage::cxButton7Click);
}

void TSettingsPage::buildIndicatorTab(QWidget *tab)
{
    auto *v = new QVBoxLayout(tab);
    RGDecimalPoint = new zv::RadioGroup(QStringLiteral("Наличие децимальной точки"),
                                        {QStringLiteral("Децимальной точки нет"),
                                         QStringLiteral("Децимальная точка имеется")},
                                        1, tab);
    RGDecimalPoint->setObjectName(QStringLiteral("RGDecimalPoint"));
    v->addWidget(RGDecimalPoint);
    auto *buttons = new QHBoxLayout;
    cxButton16 = button("cxButton16", QStringLiteral("Применить"), tab);
    cxButton3 = button("cxButton3", QStringLiteral("Выход"), tab);
    buttons->addWidget(cxButton16);
    buttons->addWidget(cxButton3);
    v->addLayout(buttons);
    v->addStretch(1);
    // The decimal-point form is changed in the file only.
    for (QWidget *w : std::initializer_list<QWidget *>{RGDecimalPoint, cxButton16, cxButton3})
        w->setEnabled(false);
    connect(RGDecimalPoint, &zv::RadioGroup::itemClicked, this, &TSettingsPage::RGDecimalPointClick);
    connect(cxButton16, &QPushButton::clicked, this, &TSettingsPage::cxButton16Click);
}

void TSettingsPage::build1CTab(QWidget *tab)
{
    auto *v = new QVBoxLayout(tab);
    auto *group = new QGroupBox(QStringLiteral("Установка пути для экспорта файлов из приложения"), tab);
    group->setObjectName(QStringLiteral("GrB1C"));
    auto *grid = new QGridLayout(group);
    EditDev = edit("EditDev", group);
    auto *devLabel = new QLabel(QStringLiteral("Устройство (компьютер в локальной сети или сетевой диск)"), group);
    zv::caption(devLabel, EditDev);
    grid->addWidget(devLabel, 0, 0, 1, 2);
    grid->addWidget(EditDev, 1, 0, 1, 2);
    EditPath1C = edit("EditPath1C", group);
    auto *pathLabel = new QLabel(QStringLiteral("Путь к каталогу с выгружаемыми файлами для \"1С\""), group);
    zv::caption(pathLabel, EditPath1C);
    grid->addWidget(pathLabel, 2, 0, 1, 2);
    grid->addWidget(EditPath1C, 3, 0);
    BtBrowse = button("BtBrowse", QStringLiteral("Обзор"), group);
    grid->addWidget(BtBrowse, 3, 1);
    cxButton15 = button("cxButton15", QStringLiteral("Применить"), group);
    cxButton11 = button("cxButton11", QStringLiteral("Выход"), group);
    grid->addWidget(cxButton15, 4, 0);
    grid->addWidget(cxButton11, 4, 1);
    v->addWidget(group);
    v->addStretch(1);
    // The export folder is changed in the file only.
    for (QWidget *w : std::initializer_list<QWidget *>{EditDev, EditPath1C, BtBrowse, cxButton15, cxButton11})
        w->setEnabled(false);
    connect(cxButton15, &QPushButton::clicked, this, &TSettingsPage::cxButton15Click);
    connect(BtBrowse, &QPushButton::clicked, this, &TSettingsPage::BtBrowseClick);
}

void TSettingsPage::buildTareTab(QWidget *tab)
{
    auto *v = new QVBoxLayout(tab);
    auto *group = new QGroupBox(QStringLiteral("Временной интервал актуальности веса пустого ТС"), tab);
    group->setObjectName(QStringLiteral("GrBoxActualTare"));
    auto *grid = new QGridLayout(group);
    EditActualTare = edit("EditActualTare", group);
    auto *caption = new QLabel(QStringLiteral("Значение интервала актуальности тары"), group);
    zv::caption(caption, EditActualTare);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(EditActualTare, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("(в минутах, по умалчвнию 60, кратное 10)"), group), 0, 2);
    BtSetDefaultInterval = button("BtSetDefaultInterval", QStringLiteral("Значение по умалчанию"), group);
    BtApplayInerval = button("BtApplayInerval", QStringLiteral("Применить"), group);
    cxButton10 = button("cxButton10", QStringLiteral("Выход"), group);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BtSetDefaultInterval);
    buttons->addWidget(BtApplayInerval);
    buttons->addWidget(cxButton10);
    grid->addLayout(buttons, 1, 0, 1, 3);
    v->addWidget(group);

    GrBoxDayView = new QGroupBox(QStringLiteral("Количество просматриваемых дней от текущего"), tab);
    GrBoxDayView->setObjectName(QStringLiteral("GrBoxDayView"));
    auto *days = new QGridLayout(GrBoxDayView);
    EditDayView = edit("EditDayView", GrBoxDayView);
    auto *daysCaption = new QLabel(QStringLiteral("Количество дней"), GrBoxDayView);
    zv::caption(daysCaption, EditDayView);
    days->addWidget(daysCaption, 0, 0);
    days->addWidget(EditDayView, 0, 1);
    days->addWidget(new QLabel(QStringLiteral("(в днях 1, 2, 3 ...)"), GrBoxDayView), 0, 2);
    cxButton9 = button("cxButton9", QStringLiteral("Значение по умалчанию"), GrBoxDayView);
    cxButton12 = button("cxButton12", QStringLiteral("Применить"), GrBoxDayView);
    cxButton14 = button("cxButton14", QStringLiteral("Выход"), GrBoxDayView);
    auto *dayButtons = new QHBoxLayout;
    dayButtons->addWidget(cxButton9);
    dayButtons->addWidget(cxButton12);
    dayButtons->addWidget(cxButton14);
    days->addLayout(dayButtons, 1, 0, 1, 3);
    v->addWidget(GrBoxDayView);
    GrBoxDayView->hide();
    v->addStretch(1);

    connect(BtSetDefaultInterval, &QPushButton::clicked, this, &TSettingsPage::BtSetDefaultIntervalClick);
    connect(BtApplayInerval, &QPushButton::clicked, this, &TSettingsPage::BtApplayInervalClick);
    connect(cxButton9, &QPushButton::clicked, this, &TSettingsPage::cxButton9Click);
    connect(cxButton12, &QPushButton::clicked, this, &TSettingsPage::cxButton12Click);
}

void TSettingsPage::buildLoadTab(QWidget *tab)
{
    auto *v = new QVBoxLayout(tab);
    auto *group = new QGroupBox(QStringLiteral("Предельная нагрузка на ось"), tab);
    group->setObjectName(QStringLiteral("GrBoxLimitLoad"));
    auto *grid = new QGridLayout(group);
    EditLimitLoad = edit("EditLimitLoad", group);
    EditLimitLoad->setAccessibleName(group->title());
    grid->addWidget(EditLimitLoad, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("кг"), group), 0, 1);
    cxButton17 = button("cxButton17", QStringLiteral("Применить"), group);
    BtExit = button("BtExit", QStringLiteral("Выход"), group);
    grid->addWidget(cxButton17, 1, 0);
    grid->addWidget(BtExit, 1, 1);
    v->addWidget(group);
    v->addStretch(1);
    connect(cxButton17, &QPushButton::clicked, this, &TSettingsPage::cxButton17Click);
}

// ---------------------------------------------------------------- file

void TSettingsPage::setPortNames(const QStringList &ports)
{
    for (QComboBox *c : {CBComPort, CBRFComPort}) {
        c->clear();
        c->addItems(ports);
    }
}

void TSettingsPage::readSettingsFile()
{
    zv::IniFile ini(zv::Paths::inProgramDir(zv::SettingsFileName));
    QString error;
    if (!ini.load(&error))
        throw zv::SettingsError(QStringLiteral("Файл %1 не прочитан: %2").arg(ini.path(), error));
    // Keys missing from the file (a first start has no file at all) take
    // the defaults; the choices of the two radio groups and the trackbar
    // stay as the page shows them.
    zv::SettingsPageState page;
    page.pointIntegralItem = RGPointIntegral->itemIndex();
    page.trackbarPosition = TrBarKoff->value();
    // A port missing from the file is the list's first port.
    page.indicator.port = CBComPort->count() > 0 ? CBComPort->itemText(0) : QString();
    page.rfid.port = CBRFComPort->count() > 1 ? CBRFComPort->itemText(1) : page.indicator.port;
    zv::SettingsValues applied = zv::defaultSettings();
    try {
        zv::readSettings(ini, applied, page);
    } catch (const zv::SettingsError &) {
        settings() = applied;
        showState(page);
        throw;
    }
    settings() = applied;
    showState(page);
}

void TSettingsPage::showState(const zv::SettingsPageState &s)
{
    showPortTexts({CBComPort, CBBaudRate, CBDataBit, CBParity, CBStopBit, CBControlStream}, s.indicator);
    CBMode->setCurrentText(s.mode);
    CBMode->setCurrentIndex(s.modeItem);
    EditLimit->setText(s.limitWeight);
    EditLimitLoad->setText(s.limitLoad);
    ChBAutomatic->setChecked(s.checkAutomatic);
    if (s.checkAutomatic)
        emit automaticStartArmed();
    EditPlatformWidth->setText(s.platformWidth);

    ChBIntegral->setChecked(s.checkIntegral);
    RGPointIntegral->setEnabled(s.checkIntegral);
    RGPointIntegral->setItemIndex(s.pointIntegralItem);

    ChBKoff->setChecked(s.checkCoefficient);
    TrBarKoff->setEnabled(s.checkCoefficient);
    EditKoff->setEnabled(s.checkCoefficient);
    TrBarKoff->setValue(s.trackbarPosition);
    EditKoff->setText(zv::koffText(TrBarKoff->value()));

    ChBRFID->setChecked(s.checkRfid);
    m_weighing->ChBRFID1->setChecked(s.checkRfid);
    GrBRFID->setEnabled(s.checkRfid);
    TWeighingPage::markRequired(m_weighing->CBRFID, s.checkRfid);
    if (s.checkRfid)
        showPortTexts({CBRFComPort, CBRFBaudRate, CBRFDataBit, CBRFParity, CBRFStopBit, CBRFControlStream}, s.rfid);
    ChBRFIDClick();
}

void TSettingsPage::fillAfterLogin()
{
    const auto &a = settings();
    RGDecimalPoint->setItemIndex(a.DecimalPoint == 0 ? 0 : a.DecimalPoint - 1);
    EditActualTare->setText(QString::number(a.IntervalActualTare));
    EditDayView->setText(QString::number(a.NumberDayView));
    EditPlatformWidth->setText(QString::number(a.PlatformScalesWidth));
    EditPath1C->setText(a.Path1C);
    if (ChBIntegral->isChecked()) {
        const int item = RGPointIntegral->itemIndex();
        if (item >= 0)
            settings().NumberPointIntegral = 5 + 2 * item;
    }
}

zv::SettingsPageState TSettingsPage::state() const
{
    zv::SettingsPageState s;
    s.indicator = portTexts({CBComPort, CBBaudRate, CBDataBit, CBParity, CBStopBit, CBControlStream});
    s.rfid = portTexts({CBRFComPort, CBRFBaudRate, CBRFDataBit, CBRFParity, CBRFStopBit, CBRFControlStream});
    s.mode = CBMode->currentText();
    s.modeItem = CBMode->currentIndex();
    s.limitWeight = EditLimit->text();
    s.limitLoad = EditLimitLoad->text();
    s.platformWidth = EditPlatformWidth->text();
    s.checkIntegral = ChBIntegral->isChecked();
    s.pointIntegralItem = RGPointIntegral->itemIndex();
    s.checkAutomatic = ChBAutomatic->isChecked();
    s.checkCoefficient = ChBKoff->isChecked();
    s.trackbarPosition = TrBarKoff->value();
    s.checkRfid = ChBRFID->isChecked();
    return s;
}

bool TSettingsPage::writeSettingsFile(QString *error) const
{
    zv::IniFile ini(zv::Paths::inProgramDir(zv::SettingsFileName));
    if (!ini.load(error))
        return false;
    zv::writeSettings(ini, settings(), state());
    return ini.save(error);
}

// ---------------------------------------------------------------- handlers

void TSettingsPage::BtSetDefaultClick()
{
    selectDefaults({CBComPort, CBBaudRate, CBDataBit, CBParity, CBStopBit, CBControlStream}, 0,
                   QStringLiteral("19200"));
}

void TSettingsPage::BtApplyClick()
{
    applyPortLists({CBComPort, CBBaudRate, CBDataBit, CBParity, CBStopBit, CBControlStream},
                   settings().indicatorPort);
}

void TSettingsPage::BtRFSetDefaultClick()
{
    selectDefaults({CBRFComPort, CBRFBaudRate, CBRFDataBit, CBRFParity, CBRFStopBit, CBRFControlStream}, 1,
                   QStringLiteral("9600"));
}

void TSettingsPage::cxButton1Click()
{
    applyPortLists({CBRFComPort, CBRFBaudRate, CBRFDataBit, CBRFParity, CBRFStopBit, CBRFControlStream},
                   settings().rfidPort);
}

void TSettingsPage::setRfidOnWeighingPage(bool on)
{
    m_weighing->setRfidEnabledInSettings(on);
    m_weighing->showRfidControls(on);
    m_weighing->LbRFIDdef->hide();
}

void TSettingsPage::ChBRFIDClick()
{
    const bool on = ChBRFID->isChecked();
    GrBRFID->setEnabled(on);
    m_weighing->ChBRFID1->setChecked(on);
    setRfidOnWeighingPage(on);
}

void TSettingsPage::showModeOnWeighingPage(int modeItem) { m_weighing->applyWeighingMode(modeItem == 0 ? 0 : 1); }

void TSettingsPage::CBModeClick(int item)
{
    showModeOnWeighingPage(item);
    // The processing settings only matter in the dynamic mode.
    const bool dynamic = item != 0;
    for (QWidget *w : std::initializer_list<QWidget *>{lbLimit, EditLimit, LbDim, GrBoxMax, ChBIntegral,
                                                        RGPointIntegral, GrBoxKoff, ChBKoff, EditKoff, Edit095,
                                                        Edit100, Edit105, LbPlatformWidth, EditPlatformWidth,
                                                        ChBAutomatic})
        w->setEnabled(dynamic);
    settings().modeIndex = dynamic ? 1 : 0;
    settings().AutoMode = dynamic;
}

void TSettingsPage::ChBAutomaticClick()
{
    const bool on = ChBAutomatic->isChecked();
    settings().AutoMode = on;
    m_weighing->RGAxis->setEnabled(!on);
    m_lbAuto->setVisible(on);
    emit automaticSwitched(on);
}

void TSettingsPage::ChBKoffClick()
{
    const bool on = ChBKoff->isChecked();
    TrBarKoff->setEnabled(on);
    EditKoff->setEnabled(on);
    if (!on)
        TrBarKoff->setValue(5);
}

void TSettingsPage::TrBarKoffChange(int position)
{
    EditKoff->setText(zv::koffText(position));
    settings().Coefficient = position;
}

void TSettingsPage::ChBIntegralClick() { RGPointIntegral->setEnabled(ChBIntegral->isChecked()); }

void TSettingsPage::RGPointIntegralClick(int item)
{
    if (item >= 0 && item <= 2)
        settings().NumberPointIntegral = 5 + 2 * item;
}

void TSettingsPage::cxButton7Click()
{
    try {
        applyModeTab();
    } catch (const zv::SettingsError &e) {
        zv::Messages::error(e.message());
    }
}

void TSettingsPage::applyModeTab()
{
    auto &a = settings();
    a.modeIndex = CBMode->currentIndex();
    a.modeText = CBMode->currentText();
    a.LimitWeight = integerOf(EditLimit->text());
    a.PlatformScalesWidth = integerOf(EditPlatformWidth->text());
    m_weighing->BtSaveW->setText(CBMode->currentIndex() == 0 ? QStringLiteral("Записать измерение")
                                                              : QStringLiteral("Начать измерение"));
    if (ChBIntegral->isChecked())
        RGPointIntegralClick(RGPointIntegral->itemIndex());
    const bool automatic = ChBAutomatic->isChecked();
    a.AutoMode = automatic;
    m_lbAuto->setVisible(automatic);
    m_weighing->RGAxis->setEnabled(!automatic);
    if (automatic)
        emit automaticApplied();
    if (ChBKoff->isChecked())
        a.KoffFactor = zv::koffFactorFor(TrBarKoff->value());
}

void TSettingsPage::RGDecimalPointClick(int item) { settings().DecimalPoint = item == 1 ? 2 : 0; }

void TSettingsPage::cxButton16Click() { RGDecimalPointClick(RGDecimalPoint->itemIndex()); }

void TSettingsPage::cxButton15Click() { settings().Path1C = EditPath1C->text(); }

void TSettingsPage::BtBrowseClick()
{
    const QString folder = zv::FileDialogs::folder(this, QStringLiteral("Путь к 1С"), EditDev->text());
    EditPath1C->setText(folder);
    settings().Path1C = folder;
}

void TSettingsPage::BtSetDefaultIntervalClick()
{
    EditActualTare->setText(QStringLiteral("60"));
    settings().IntervalActualTare = 60;
}

void TSettingsPage::BtApplayInervalClick()
{
    const QString text = EditActualTare->text();
    const auto value = zv::toInteger(text);
    // An empty box or a number too long for an integer is as wrong as a letter.
    if (!onlyDigits(text) || !value) {
        zv::Messages::warning(QStringLiteral("Ошибка при в вводе временного интервала"));
        return;
    }
    settings().IntervalActualTare = *value;
    if (*value >= 10 && *value <= 1380)
        return;
    zv::Messages::warning(QStringLiteral("Неверное значение интервала актуальности веса пустого ТС, оно должно быть "
                                         "целым числом в интервале от 10 до 1380"));
    EditActualTare->clear();
    settings().IntervalActualTare = 0;
    EditActualTare->setFocus();
}

void TSettingsPage::cxButton9Click()
{
    EditDayView->setText(QStringLiteral("0"));
    settings().NumberDayView = 0;
}

void TSettingsPage::cxButton12Click()
{
    const QString text = EditDayView->text();
    const auto value = zv::toInteger(text);
    if (!onlyDigits(text) || !value) {
        zv::Messages::warning(QStringLiteral("Ошибка при в вводе количество дней"));
        return;
    }
    settings().NumberDayView = *value;
}

void TSettingsPage::cxButton17Click()
{
    try {
        settings().LimitLoad = integerOf(EditLimitLoad->text());
    } catch (const zv::SettingsError &e) {
        zv::Messages::error(e.message());
    }
}
