#include "weighingpage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "accessible.h"
#include "bvviewwtelform.h"
#include "bvwnettoform.h"
#include "clock.h"
#include "datamodule.h"
#include "datasetmodel.h"
#include "dberrorbox.h"
#include "eventrecorder.h"
#include "messages.h"
#include "radiogroup.h"
#include "runstate.h"
#include "staticweighing.h"
#include "weighttelegram.h"

using zv::store::Dataset;
using zv::store::DbError;
using zv::store::DbErrorKind;
using zv::store::TBVDMod1;
namespace DisplayName = zv::store::DisplayName;

namespace zv::journal {

// The recorder's interactive steps, answered by the page's windows.
class WeighingPageUi : public RecorderUi {
public:
    explicit WeighingPageUi(TWeighingPage *page) : m_page(page) {}
    void showNetWeight(const NetWeightInfo &info) override
    {
        TBVWNettoForm::showModal(m_page, info.vehicleFound, info.stateNumber, info.netText, info.cargoName);
    }
    void tareIntervalDefaulted(int minutes) override { emit m_page->tareIntervalDefaulted(minutes); }

private:
    TWeighingPage *m_page;
};

} // namespace zv::journal

namespace {

const char *const kRequiredHint = "Поля с желтым оттенком - обязательны для заполнения";
constexpr Qt::Alignment kCentre = Qt::AlignCenter;
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr int kPictureColumn = 12; // "Кадр"

// Drawing of a lorry, loaded or empty, for an installation whose pictures
// cannot be decoded (JPEG plugin missing).
QPixmap lorryPicture(bool loaded)
{
    QPixmap pm(160, 90);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(70, 110, 190));
    p.drawRect(8, 30, 36, 34); // cab
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(48, 20, 104, 44); // body
    if (loaded) {
        p.setBrush(QColor(150, 100, 50));
        p.drawChord(QRect(50, 0, 100, 44), 0, 180 * 16);
    }
    p.setBrush(Qt::black);
    for (int x : {26, 90, 128})
        p.drawEllipse(QPoint(x, 70), 11, 11);
    return pm;
}

// The JPEG pictures kept with the page.
QPixmap vehiclePicture(bool loaded)
{
    QPixmap pm(loaded ? QStringLiteral(":/journal/pictures/loaded.jpg") : QStringLiteral(":/journal/pictures/empty.jpg"));
    return pm.isNull() ? lorryPicture(loaded) : pm;
}

QToolButton *ellipsisButton(const char *name, const QString &hint, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(QStringLiteral("..."));
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    return b;
}

QTableView *grid(const char *name, QAbstractItemModel *model, QWidget *parent)
{
    auto *v = new QTableView(parent);
    v->setObjectName(QLatin1String(name));
    v->setModel(model);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->verticalHeader()->hide();
    return v;
}

// The vehicle and document grids take the height of the fields beside
// them and leave the rest of a low screen to the journal of the day.
void shareHeight(QTableView *v)
{
    v->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    v->setMinimumHeight(v->horizontalHeader()->sizeHint().height() + 3 * v->verticalHeader()->defaultSectionSize() + 4);
}

// A list whose drop-down is as wide as its longest item: names and cargo
// are read whole even where the field itself is narrow.
class FittingComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    void showPopup() override
    {
        QAbstractItemView *v = view();
        v->setTextElideMode(Qt::ElideNone);
        const int scrollBar = v->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, v);
        v->setMinimumWidth(qMax(width(), v->sizeHintForColumn(modelColumn()) + scrollBar + 2 * v->frameWidth() + 8));
        QComboBox::showPopup();
    }
};

QComboBox *combo(const char *name, QWidget *parent)
{
    auto *c = new FittingComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    // Suggestions in a popup: inline completion would change what the
    // operator typed, and the state number is looked up exactly as typed.
    c->completer()->setCompletionMode(QCompleter::PopupCompletion);
    return c;
}

QLineEdit *edit(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

QLabel *label(const QString &text, QWidget *parent, const char *name = nullptr)
{
    auto *l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QLatin1String(name));
    return l;
}

// Cells of the journal grid are drawn by the page (red rows); the "Кадр"
// cell carries a small "..." button that opens the snapshot of the event.
class JournalCellDelegate : public QStyledItemDelegate {
public:
    JournalCellDelegate(TWeighingPage *page, QObject *parent) : QStyledItemDelegate(parent), m_page(page) {}

    static QRect buttonRect(const QRect &cell)
    {
        const int w = qMin(cell.width(), 22);
        return QRect(cell.right() - w + 1, cell.top() + 1, w - 1, cell.height() - 2);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (!m_page->DBGrid1DrawColumnCell(painter, option, index))
            QStyledItemDelegate::paint(painter, option, index);
        if (index.column() == kPictureColumn) {
            QStyleOptionButton button;
            button.rect = buttonRect(option.rect);
            button.text = QStringLiteral("...");
            button.state = QStyle::State_Enabled | QStyle::State_Raised;
            const QWidget *w = option.widget;
            QStyle *style = w ? w->style() : QApplication::style();
            style->drawControl(QStyle::CE_PushButton, &button, painter, w);
        }
    }

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override
    {
        if (index.column() == kPictureColumn && event->type() == QEvent::MouseButtonRelease) {
            auto *me = static_cast<QMouseEvent *>(event);
            if (me->button() == Qt::LeftButton && buttonRect(option.rect).contains(me->position().toPoint())) {
                m_page->setJournalRow(index.row());
                m_page->DBGrid1EditButtonClick();
                return true;
            }
        }
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }

private:
    TWeighingPage *m_page;
};

} // namespace

TWeighingPage::TWeighingPage(QWidget *parent)
    : QWidget(parent), m_dm(zv::store::TBVDMod1::instance()),
      m_static(std::make_unique<zv::journal::StaticWeighing>(m_dm)),
      m_recorderUi(std::make_unique<zv::journal::WeighingPageUi>(this)),
      m_recorder(std::make_unique<zv::journal::EventRecorder>(m_dm, *m_recorderUi))
{
    setObjectName(QStringLiteral("WeighingPage"));
    // The controls live on a content widget inside a scroll area: on a screen
    // narrower or lower than the page's minimum nothing becomes unreachable.
    // Widgets created below with the page as parent move onto the content
    // widget when they are added to its layouts.
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("WeighingScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto *content = new QWidget(scroll);
    content->setObjectName(QStringLiteral("WeighingContent"));
    scroll->setWidget(content);
    auto *root = new QVBoxLayout(content);
    root->setContentsMargins(4, 4, 4, 4);

    // Widgets are created in reading order: the focus chain follows it.

    // ---------------- top panel
    auto *top = new QHBoxLayout;
    root->addLayout(top);

    GrBoxKind = new QGroupBox(QStringLiteral("Вид взвешивания"), this);
    GrBoxKind->setObjectName(QStringLiteral("GrBoxKind"));
    auto *kind = new QGridLayout(GrBoxKind);
    ChBEmpty = new QCheckBox(QStringLiteral("Пустой"), GrBoxKind);
    ChBEmpty->setObjectName(QStringLiteral("ChBEmpty"));
    ChBRetry = new QCheckBox(QStringLiteral("Перевзвешивание"), GrBoxKind);
    ChBRetry->setObjectName(QStringLiteral("ChBRetry"));
    ImLoad = new QLabel(GrBoxKind);
    ImLoad->setObjectName(QStringLiteral("ImLoad"));
    ImLoad->setPixmap(vehiclePicture(true));
    ImLoad->setScaledContents(true);
    ImLoad->setFixedSize(120, 68);
    ImEmpty = new QLabel(GrBoxKind);
    ImEmpty->setObjectName(QStringLiteral("ImEmpty"));
    ImEmpty->setPixmap(vehiclePicture(false));
    ImEmpty->setScaledContents(true);
    ImEmpty->setFixedSize(120, 68);
    ImEmpty->hide();
    // The picture stands under the check boxes: the group stays narrow.
    kind->addWidget(ChBEmpty, 0, 0);
    kind->addWidget(ChBRetry, 1, 0);
    kind->addWidget(ImLoad, 2, 0, Qt::AlignHCenter);
    kind->addWidget(ImEmpty, 2, 0, Qt::AlignHCenter);
    top->addWidget(GrBoxKind);

    auto *dateOper = new QGridLayout;
    top->addLayout(dateOper);
    DateEditEv = new QDateEdit(this);
    DateEditEv->setObjectName(QStringLiteral("DateEditEv"));
    DateEditEv->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    dateOper->addWidget(zv::caption(label(QStringLiteral("Дата: "), this), DateEditEv), 0, 0);
    dateOper->addWidget(DateEditEv, 0, 1);
    EditOper = edit("EditOper", this);
    EditOper->setReadOnly(true);
    dateOper->addWidget(zv::caption(label(QStringLiteral("Оператор"), this), EditOper), 1, 0);
    dateOper->addWidget(EditOper, 1, 1);
    ChBRFID1 = new QCheckBox(QStringLiteral("При работе используется RFID "), this);
    ChBRFID1->setObjectName(QStringLiteral("ChBRFID1"));
    dateOper->addWidget(ChBRFID1, 2, 0, 1, 2);

    auto *weightBox = new QVBoxLayout;
    top->addLayout(weightBox, 1);
    EditWeight = edit("EditWeight", this);
    EditWeight->setReadOnly(true);
    EditWeight->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    {
        QFont f = EditWeight->font();
        f.setPointSize(36);
        f.setBold(true);
        EditWeight->setFont(f);
    }
    weightBox->addWidget(zv::caption(label(QStringLiteral(" Текущий вес"), this), EditWeight));
    weightBox->addWidget(EditWeight);
    ChBOnInd = new QCheckBox(QStringLiteral("Вкл.   опрос весового индикатора "), this);
    ChBOnInd->setObjectName(QStringLiteral("ChBOnInd"));
    ChBOffInd = new QCheckBox(QStringLiteral("Выкл. опрос весового индикатора "), this);
    ChBOffInd->setObjectName(QStringLiteral("ChBOffInd"));
    ChBOffInd->setEnabled(false);
    ChBKeyB = new QCheckBox(QStringLiteral("Ввод веса ТС с клавиатуры"), this);
    ChBKeyB->setObjectName(QStringLiteral("ChBKeyB"));
    weightBox->addWidget(ChBOnInd);
    weightBox->addWidget(ChBOffInd);
    weightBox->addWidget(ChBKeyB);

    auto *measure = new QVBoxLayout;
    top->addLayout(measure);
    BtSaveW = new QPushButton(QStringLiteral("Начать измерения"), this);
    BtSaveW->setObjectName(QStringLiteral("BtSaveW"));
    measure->addWidget(BtSaveW);
    RGAxis = new zv::RadioGroup(QStringLiteral("Количество осей ТС"),
                                {QStringLiteral("2 (Две)"), QStringLiteral("3 (Три)"), QStringLiteral("4 (Четыре)"),
                                 QStringLiteral("5 (Пять)"), QStringLiteral("6 (Шесть)"), QStringLiteral("7 (Семь)"),
                                 QStringLiteral("8 (Восемь)"), QStringLiteral("9 (Девять)"),
                                 QStringLiteral("10 (Десять)"), QStringLiteral("11 (Одинадцать)")},
                                3, this);
    RGAxis->setObjectName(QStringLiteral("RGAxis"));
    measure->addWidget(RGAxis);
    auto *axles = new QHBoxLayout;
    measure->addLayout(axles);
    LbAx1 = label(QStringLiteral("Взвешенно осей"), this, "LbAx1");
    EditWg = edit("EditWg", this);
    EditWg->setReadOnly(true);
    zv::caption(LbAx1, EditWg);
    LbAx2 = label(QStringLiteral("осталось взвесить"), this, "LbAx2");
    EditOst = edit("EditOst", this);
    EditOst->setReadOnly(true);
    zv::caption(LbAx2, EditOst);
    // The axle counters stand out in red while the operator weighs.
    for (QLabel *l : {LbAx1, LbAx2})
        l->setStyleSheet(QStringLiteral("color: #ff0000;"));
    // The counters hold one or two digits.
    for (QLineEdit *e : {EditWg, EditOst})
        e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    axles->addWidget(LbAx1);
    axles->addWidget(EditWg);
    axles->addWidget(LbAx2);
    axles->addWidget(EditOst);
    axles->addStretch(1);

    // ---------------- journal of the day
    auto *nav = new QWidget(this);
    nav->setObjectName(QStringLiteral("DBNav"));
    auto *navRow = new QHBoxLayout(nav);
    navRow->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char *name, *text, *hint;
    } navButtons[] = {{"DBNavFirst", "|<", "Первая запись"},
                      {"DBNavPrior", "<", "Предыдущая запись"},
                      {"DBNavNext", ">", "Следующая запись"},
                      {"DBNavLast", ">|", "Последняя запись"}};
    for (const auto &nb : navButtons) {
        auto *b = new QToolButton(nav);
        b->setObjectName(QLatin1String(nb.name));
        b->setText(QLatin1String(nb.text));
        b->setToolTip(QString::fromUtf8(nb.hint));
        b->setAccessibleName(QString::fromUtf8(nb.hint));
        navRow->addWidget(b);
    }
    navRow->addStretch(1);
    DBNav = nav;
    root->addWidget(nav);

    m_journalModel = new zv::store::DatasetModel(&m_dm.BVQWrEvJrn, this);
    m_journalModel->setColumns({
        {QStringLiteral("DATE_EVEN"), QStringLiteral("Дата"), kCentre},
        {QStringLiteral("TIME_EVEN"), QStringLiteral("Время"), kCentre},
        {QStringLiteral("NameEven"), QStringLiteral("Наименование события"), kLeft},
        {QStringLiteral("StateNumb"), QStringLiteral("Гос. номер ТС"), kCentre},
        {QStringLiteral("IDRF"), QStringLiteral("RFID"), kCentre},
        {QStringLiteral("NameCargo"), QStringLiteral("Груз"), kLeft},
        {QStringLiteral("WCARGO"), QStringLiteral("Вес"), kLeft},
        {QStringLiteral("RESFIELD_1"), QStringLiteral("Вес груза"), kRight},
        {QStringLiteral("ShortN_Us"), QStringLiteral("Ф.И.О оператора"), kLeft},
        {QStringLiteral("FIO_D"), QStringLiteral("Ф.И.О. Водителя"), kLeft},
        {QStringLiteral("NameCargoT"), QStringLiteral("Тип груза"), kLeft},
        {QStringLiteral("PROPCARGO"), QStringLiteral("Свойства груза"), kLeft},
        {QStringLiteral("PICTURECAR"), QStringLiteral("Кадр"), kLeft},
        {QStringLiteral("AT_OP_AUTO"), QStringLiteral("Автомат. фиксация веса"), kCentre},
        {QStringLiteral("MODE_EN_DP"), QStringLiteral("Режим"), kCentre},
        {QStringLiteral("COMMENT"), QStringLiteral("Комментарий"), kLeft},
    });
    DBGrid1 = grid("DBGrid1", m_journalModel, this);
    DBGrid1->setAccessibleName(QStringLiteral("Журнал событий"));
    DBGrid1->setItemDelegate(new JournalCellDelegate(this, DBGrid1));
    root->addWidget(DBGrid1, 1);

    // ---------------- identification, cargo, vehicle, documents
    auto *middle = new QHBoxLayout;
    root->addLayout(middle);
    auto *ident = new QGridLayout;
    middle->addLayout(ident, 3);
    ident->setColumnStretch(1, 1);
    int row = 0;

    CBStateNum = combo("CBStateNum", this);
    ident->addWidget(zv::caption(label(QStringLiteral("Гос. номер ТС"), this), CBStateNum), row, 0);
    ident->addWidget(CBStateNum, row, 1);
    BtFindStNum = ellipsisButton("BtFindStNum", QStringLiteral("Поиск по гос. номеру"), this);
    BtTS = ellipsisButton("BtTS", QStringLiteral("Справочник ТС"), this);
    ident->addWidget(BtFindStNum, row, 2);
    ident->addWidget(BtTS, row, 3);
    ++row;

    CBRFID = combo("CBRFID", this);
    lbRFID = label(QStringLiteral("Метка RFID"), this, "lbRFID");
    zv::caption(lbRFID, CBRFID);
    ident->addWidget(lbRFID, row, 0);
    ident->addWidget(CBRFID, row, 1);
    BtFindRFID = ellipsisButton("BtFindRFID", QStringLiteral("Поиск по метке RFID"), this);
    ident->addWidget(BtFindRFID, row, 2);
    LbRFIDdef = label(QStringLiteral("Радиочастотная метка определена "), this, "LbRFIDdef");
    LbRFIDdef->hide();
    ident->addWidget(LbRFIDdef, row, 3, 1, 2);
    ++row;

    EditStNumTr = edit("EditStNumTr", this);
    LbTr = label(QStringLiteral("Гос. номер прицепа"), this, "LbTr");
    zv::caption(LbTr, EditStNumTr);
    ident->addWidget(LbTr, row, 0);
    ident->addWidget(EditStNumTr, row, 1);
    LbTr->hide();
    EditStNumTr->hide();
    ++row;

    EditComment = edit("EditComment", this);
    ident->addWidget(zv::caption(label(QStringLiteral("Комментарий"), this), EditComment), row, 0);
    ident->addWidget(EditComment, row, 1);
    ++row;

    CBCargo = combo("CBCargo", this);
    ident->addWidget(zv::caption(label(QStringLiteral("Наименование груза"), this), CBCargo), row, 0);
    ident->addWidget(CBCargo, row, 1);
    BtFindCargo = ellipsisButton("BtFindCargo", QStringLiteral("Поиск наименования груза"), this);
    BtRefCargo = ellipsisButton("BtRefCargo", QStringLiteral("Справочник \"Виды груза\""), this);
    ident->addWidget(BtFindCargo, row, 2);
    ident->addWidget(BtRefCargo, row, 3);
    ++row;

    CBCargoTypes = combo("CBCargoTypes", this);
    ident->addWidget(zv::caption(label(QStringLiteral("Тип груза"), this), CBCargoTypes), row, 0);
    ident->addWidget(CBCargoTypes, row, 1);
    BtFindCargoTypes = ellipsisButton("BtFindCargoTypes", QStringLiteral("Поиск типа груза"), this);
    BtCargoTp = ellipsisButton("BtCargoTp", QStringLiteral("Справочник \"Типы груза\""), this);
    ident->addWidget(BtFindCargoTypes, row, 2);
    ident->addWidget(BtCargoTp, row, 3);
    ++row;

    CBDriver = combo("CBDriver", this);
    ident->addWidget(zv::caption(label(QStringLiteral("Водитель"), this), CBDriver), row, 0);
    ident->addWidget(CBDriver, row, 1);
    cxButton13 = ellipsisButton("cxButton13", QStringLiteral("Поиск водителя"), this);
    BtDriver = ellipsisButton("BtDriver", QStringLiteral("Справочник \"Водители\""), this);
    ident->addWidget(cxButton13, row, 2);
    ident->addWidget(BtDriver, row, 3);
    ++row;

    EditCargoProp = edit("EditCargoProp", this);
    ident->addWidget(zv::caption(label(QStringLiteral("Свойства груза"), this), EditCargoProp), row, 0);
    ident->addWidget(EditCargoProp, row, 1);
    ++row;

    // Kind of event; emptied at start-up, not shown on the page.
    CBEven = combo("CBEven", this);
    CBEven->setAccessibleName(QStringLiteral("Вид события"));
    CBEven->hide();

    for (QWidget *w : {static_cast<QWidget *>(CBStateNum), static_cast<QWidget *>(EditStNumTr),
                       static_cast<QWidget *>(CBCargo), static_cast<QWidget *>(CBDriver)})
        markRequired(w, true);

    auto *vehicle = new QGroupBox(QStringLiteral("Транспортное средство"), this);
    vehicle->setObjectName(QStringLiteral("GrBoxTs"));
    auto *vehicleLayout = new QVBoxLayout(vehicle);
    m_vehicleModel = new zv::store::DatasetModel(&m_dm.BVQTsEv, this);
    m_vehicleModel->setColumns({
        {QStringLiteral("NAMETRANSP"), QStringLiteral("Наимен. ТС"), kLeft},
        {QStringLiteral("STATENUMB"), QStringLiteral("Гос. № ТС"), kLeft},
        {QStringLiteral("IDRF"), QStringLiteral("RFID"), kLeft},
        {QStringLiteral("NameModel"), QStringLiteral("Модель ТС"), kLeft},
        {QStringLiteral("W_EMPTYCAR"), QStringLiteral("Вес пустого ТС"), kLeft},
    });
    DBGrid2 = grid("DBGrid2", m_vehicleModel, vehicle);
    DBGrid2->setAccessibleName(vehicle->title());
    shareHeight(DBGrid2);
    vehicleLayout->addWidget(DBGrid2);
    BtAddTs = new QPushButton(QStringLiteral("Справочник ТС"), vehicle);
    BtAddTs->setObjectName(QStringLiteral("BtAddTs"));
    vehicleLayout->addWidget(BtAddTs);
    middle->addWidget(vehicle, 2);

    auto *docs = new QGroupBox(QStringLiteral("Документ на груз"), this);
    docs->setObjectName(QStringLiteral("GrBoxDoc"));
    auto *docsLayout = new QVBoxLayout(docs);
    m_documentModel = new zv::store::DatasetModel(&m_dm.BVQDoc, this);
    m_documentModel->setColumns({
        {QStringLiteral("DATE_DOC"), QStringLiteral("Дата"), kLeft},
        {QStringLiteral("TIME_DOC"), QStringLiteral("Время"), kLeft},
        {QStringLiteral("NAMEDOC"), QStringLiteral("Наименование документа"), kLeft},
        {QStringLiteral("NUMBER_NAK"), QStringLiteral("№ накл."), kRight},
        {QStringLiteral("NUMBER_DOC"), QStringLiteral("№ докум."), kRight},
    });
    DBGrid3 = grid("DBGrid3", m_documentModel, docs);
    DBGrid3->setAccessibleName(docs->title());
    shareHeight(DBGrid3);
    docsLayout->addWidget(DBGrid3);
    auto *docButtons = new QHBoxLayout;
    docsLayout->addLayout(docButtons);
    BtWriteDoc = new QPushButton(QStringLiteral("Заполнить документ"), docs);
    BtWriteDoc->setObjectName(QStringLiteral("BtWriteDoc"));
    BtUpDoc = new QPushButton(QStringLiteral("Изменить документ"), docs);
    BtUpDoc->setObjectName(QStringLiteral("BtUpDoc"));
    docButtons->addWidget(BtWriteDoc);
    docButtons->addWidget(BtUpDoc);
    middle->addWidget(docs, 2);

    // ---------------- bottom row
    auto *bottom = new QHBoxLayout;
    root->addLayout(bottom);
    auto *jrn = new QGroupBox(QStringLiteral("Работа с журналом"), this);
    jrn->setObjectName(QStringLiteral("GrBoxJrn"));
    auto *jrnLayout = new QHBoxLayout(jrn);
    BtDel = new QPushButton(QStringLiteral("Удалить"), jrn);
    BtDel->setObjectName(QStringLiteral("BtDel"));
    BtKadr = new QPushButton(QStringLiteral("Загрузка в БД снимка"), jrn);
    BtKadr->setObjectName(QStringLiteral("BtKadr"));
    jrnLayout->addWidget(BtDel);
    jrnLayout->addWidget(BtKadr);
    bottom->addWidget(jrn);
    BtChangeOper = new QPushButton(QStringLiteral("Смена оператора"), this);
    BtChangeOper->setObjectName(QStringLiteral("BtChangeOper"));
    BtExp1C = new QPushButton(QStringLiteral("Запись файла для \"1С\""), this);
    BtExp1C->setObjectName(QStringLiteral("BtExp1C"));
    cxButton6 = new QPushButton(QStringLiteral("Выход"), this);
    cxButton6->setObjectName(QStringLiteral("cxButton6"));
    bottom->addWidget(BtChangeOper);
    bottom->addWidget(BtExp1C);
    bottom->addStretch(1);
    bottom->addWidget(cxButton6);

    connect(ChBRFID1, &QCheckBox::clicked, this, &TWeighingPage::ChBRFID1Click);
    connect(cxButton6, &QPushButton::clicked, this, &TWeighingPage::cxButton6Click);
    connectHandlers();
}

TWeighingPage::~TWeighingPage() = default;

void TWeighingPage::connectHandlers()
{
    connect(ChBEmpty, &QCheckBox::toggled, this, &TWeighingPage::ChBEmptyPropertiesChange);
    // The change handlers run on every change of the text; a lookup writing
    // the other field or a list being refilled keeps them quiet.
    connect(CBStateNum, &QComboBox::editTextChanged, this, [this] {
        if (!m_quietFields)
            CBStateNumPropertiesChange();
    });
    connect(CBRFID, &QComboBox::editTextChanged, this, [this] {
        if (!m_quietFields)
            CBRFIDPropertiesChange();
    });
    connect(CBCargo, &QComboBox::editTextChanged, this, [this] {
        if (!m_quietFields)
            CBCargoPropertiesChange();
    });
    connect(CBCargoTypes, &QComboBox::editTextChanged, this, [this] {
        if (!m_quietFields)
            CBCargoTypesPropertiesChange();
    });
    connect(CBDriver, &QComboBox::editTextChanged, this, [this] {
        if (!m_quietFields)
            CBDriverPropertiesChange();
    });

    connect(BtFindStNum, &QToolButton::clicked, this, &TWeighingPage::BtFindStNumClick);
    connect(BtFindRFID, &QToolButton::clicked, this, &TWeighingPage::BtFindStNumClick);
    connect(BtTS, &QToolButton::clicked, this, &TWeighingPage::BtTSClick);
    connect(BtAddTs, &QPushButton::clicked, this, &TWeighingPage::BtAddTsClick);
    connect(BtFindCargo, &QToolButton::clicked, this, &TWeighingPage::BtFindCargoClick);
    connect(BtRefCargo, &QToolButton::clicked, this, &TWeighingPage::BtRefCargoClick);
    connect(BtFindCargoTypes, &QToolButton::clicked, this, &TWeighingPage::BtFindCargoTypesClick);
    connect(BtCargoTp, &QToolButton::clicked, this, &TWeighingPage::BtCargoTpClick);
    connect(cxButton13, &QToolButton::clicked, this, &TWeighingPage::cxButton13Click);
    connect(BtDriver, &QToolButton::clicked, this, &TWeighingPage::BtDriverClick);

    connect(RGAxis, &zv::RadioGroup::itemClicked, this, &TWeighingPage::RGAxis1Click);
    connect(BtSaveW, &QPushButton::clicked, this, &TWeighingPage::BtSaveWClick);

    // Navigator and journal grid move together with the journal query.
    const struct {
        const char *name;
        void (Dataset::*move)();
    } nav[] = {{"DBNavFirst", &Dataset::first},
               {"DBNavPrior", &Dataset::prior},
               {"DBNavNext", &Dataset::next},
               {"DBNavLast", &Dataset::last}};
    for (const auto &n : nav) {
        if (auto *b = DBNav->findChild<QToolButton *>(QLatin1String(n.name))) {
            auto move = n.move;
            connect(b, &QToolButton::clicked, this, [this, move] {
                Dataset &q = m_dm.BVQWrEvJrn;
                if (!q.active() || q.isEmpty())
                    return;
                try {
                    (q.*move)();
                } catch (const DbError &e) {
                    zv::store::showDbError(DbErrorKind::Work, DisplayName::EvenJrn, e);
                }
                setJournalRow(q.recNo());
            });
        }
    }
    connect(&m_dm.BVQWrEvJrn, &Dataset::cursorMoved, this, [this] { journalCursorMoved(m_dm.BVQWrEvJrn.recNo()); });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { journalGridRowChanged(current.row()); });
}

void TWeighingPage::markRequired(QWidget *field, bool required)
{
    if (required) {
        field->setStyleSheet(QStringLiteral("background-color: #ffffa0;"));
        field->setToolTip(QString::fromUtf8(kRequiredHint));
    } else {
        field->setStyleSheet(QString());
        field->setToolTip(QString());
    }
}

void TWeighingPage::showRfidControls(bool on)
{
    CBRFID->setVisible(on);
    lbRFID->setVisible(on);
    BtFindRFID->setVisible(on);
}

void TWeighingPage::setRfidEnabledInSettings(bool on)
{
    m_rfidInSettings = on;
    markRequired(CBRFID, on);
}

void TWeighingPage::ChBRFID1Click()
{
    if (ChBRFID1->isChecked()) {
        showRfidControls(true);
        markRequired(CBRFID, true);
    } else {
        showRfidControls(false);
    }
}

void TWeighingPage::applyWeighingMode(int modeIndex)
{
    const bool isStatic = modeIndex == 0;
    BtSaveW->setText(isStatic ? zv::journal::CaptionRecordMeasurement : zv::journal::CaptionStartMeasurement);
    for (QWidget *w : {static_cast<QWidget *>(LbAx1), static_cast<QWidget *>(LbAx2),
                       static_cast<QWidget *>(EditWg), static_cast<QWidget *>(EditOst)})
        w->setVisible(isStatic);
}

void TWeighingPage::prepareAtStartup()
{
    DateEditEv->setDate(zv::Clock::today());
    DateEditEv->setReadOnly(true);
    ChBEmpty->setChecked(false);
    ChBRetry->setChecked(false);
    ImEmpty->hide();
    ImLoad->show();
    LbTr->hide();
    EditStNumTr->hide();
    applyWeighingMode(zv::settings().modeIndex);

    ++m_quietFields;
    for (QComboBox *c : {CBEven, CBStateNum, CBRFID, CBCargo, CBCargoTypes, CBDriver})
        c->clearEditText();
    --m_quietFields;
    EditComment->clear();
    EditCargoProp->clear();
}

bool TWeighingPage::openDayJournal()
{
    const bool ok = zv::store::guardDb(DbErrorKind::Open, DisplayName::EvenJrn, [this] {
        Dataset &q = m_dm.BVQWrEvJrn;
        q.close();
        q.setParam(QStringLiteral("IN_DATE"), zv::Clock::today());
        q.open();
        q.last();
    });
    if (ok)
        setJournalRow(m_dm.BVQWrEvJrn.recNo());
    return ok;
}

bool TWeighingPage::openDayDocuments()
{
    return zv::store::guardDb(DbErrorKind::Open, DisplayName::Document, [this] {
        Dataset &q = m_dm.BVQDoc;
        q.close();
        q.setParam(QStringLiteral("IN_DATE"), zv::Clock::today());
        q.open();
    });
}

bool TWeighingPage::prepare()
{
    // The indicator is not polled until the operator switches polling on.
    ChBOnInd->setChecked(false);
    ChBOffInd->setChecked(false);
    ChBOffInd->setEnabled(false);
    ChBOnInd->setEnabled(true);

    CurrTranspID = 0;
    CurrDriverID = 0;
    CurrCargoID = 0;
    CurrCargoTypeID = 0;
    CurrDocumentID = 0;
    MarkedRecordID = 0;

    // A checked RFID box with the field hidden would demand a tag the
    // operator cannot type: the box follows the settings both ways.
    if (m_rfidInSettings) {
        const bool on = *m_rfidInSettings;
        showRfidControls(on);
        ChBRFID1->setChecked(on);
        markRequired(CBRFID, on);
    }

    if (!zv::store::guardDb(DbErrorKind::Open, DisplayName::EvenJrn, [this] {
            m_dm.BVQWrEvJrn.close();
            m_dm.BVQWrEvJrn.open();
        }))
        return false;
    setJournalRow(m_dm.BVQWrEvJrn.recNo());

    if (!zv::store::guardDb(DbErrorKind::Open, DisplayName::TransportShort,
                            [this] { TBVDMod1::OpenIfClosed(m_dm.BVQTransport); }))
        return false;
    if (!fillTransportLists(true))
        return false;
    // The texts stay in the fields while the values were reset: a value must
    // name what its field shows, or the next event would be recorded with
    // the cargo type, driver or cargo of nobody.
    if (!CBStateNum->currentText().isEmpty())
        CBStateNumPropertiesChange();

    const struct {
        Dataset *query;
        QComboBox *box;
        const char *field;
        QString displayName;
        std::function<void()> handler;
    } lists[] = {{&m_dm.BVQDriver, CBDriver, "FIO_D", DisplayName::Driver, [this] { CBDriverPropertiesChange(); }},
                 {&m_dm.BVQRefCargo, CBCargo, "NAMECARGO", DisplayName::CargoKinds,
                  [this] { CBCargoPropertiesChange(); }},
                 {&m_dm.BVQCargoTypes, CBCargoTypes, "NAMECARGOT", DisplayName::CargoTypes,
                  [this] { CBCargoTypesPropertiesChange(); }}};
    for (const auto &l : lists) {
        if (!zv::store::guardDb(DbErrorKind::Open, l.displayName, [&l] {
                l.query->close();
                l.query->open();
            }))
            return false;
        if (!fillList(l.box, *l.query, QLatin1String(l.field)))
            return false;
        if (!l.box->currentText().isEmpty())
            l.handler();
    }
    return true;
}

bool TWeighingPage::fillList(QComboBox *box, Dataset &ds, const QString &field)
{
    QStringList items;
    const bool ok = zv::store::guardDb(DbErrorKind::Work, QString(), [&] {
        if (ds.isEmpty())
            return;
        for (ds.first(); !ds.eof(); ds.next())
            items.append(ds.fieldByName(field).asString());
    });
    // A refill changes the list only; the text in the field stays.
    ++m_quietFields;
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(text);
    --m_quietFields;
    return ok;
}

bool TWeighingPage::fillTransportLists(bool withRfid)
{
    Dataset &q = m_dm.BVQTransport;
    QStringList numbers, tags;
    const bool ok = zv::store::guardDb(DbErrorKind::Work, QString(), [&] {
        if (q.isEmpty())
            return;
        for (q.first(); !q.eof(); q.next()) {
            numbers.append(q.fieldByName(QStringLiteral("STATENUMB")).asString());
            tags.append(q.fieldByName(QStringLiteral("IDRF")).asString());
        }
    });
    ++m_quietFields;
    const QString number = CBStateNum->currentText();
    CBStateNum->clear();
    CBStateNum->addItems(numbers);
    CBStateNum->setCurrentIndex(-1);
    CBStateNum->setEditText(number);
    if (withRfid) {
        const QString tag = CBRFID->currentText();
        CBRFID->clear();
        CBRFID->addItems(tags);
        CBRFID->setCurrentIndex(-1);
        CBRFID->setEditText(tag);
    }
    --m_quietFields;
    return ok;
}

// ---------------------------------------------------------------- lookups

void TWeighingPage::vehicleLookup(bool byNumber)
{
    Dataset &q = m_dm.BVQTsEv;
    const QString text = (byNumber ? CBStateNum : CBRFID)->currentText();
    // An empty field names no vehicle: an empty tag would otherwise find any
    // vehicle without a tag.
    const QVariant value = text.isEmpty() ? QVariant() : QVariant(text);
    bool found = false;
    QString number, tag, trailer;
    int id = 0;
    try {
        q.close();
        q.setParam(QStringLiteral("IN_STATENUMB"), byNumber ? value : QVariant());
        q.setParam(QStringLiteral("IN_RFID"), byNumber ? QVariant() : value);
        q.open();
        found = !q.isEmpty();
        if (found) {
            q.first();
            number = q.fieldByName(QStringLiteral("STATENUMB")).asString();
            tag = q.fieldByName(QStringLiteral("IDRF")).asString();
            trailer = q.fieldByName(QStringLiteral("STATENUM_T")).asString();
            id = q.fieldByName(QStringLiteral("ID_TRANSP")).asInt();
        }
    } catch (const DbError &e) {
        zv::Messages::error(QStringLiteral("Ошибка выбора данных из таблицы \"ТС\" :") + e.message());
        return;
    }

    ++m_quietFields;
    if (byNumber) {
        CBRFID->setEditText(tag);
        EditStNumTr->setText(trailer);
        LbTr->setVisible(!trailer.isEmpty());
        EditStNumTr->setVisible(!trailer.isEmpty());
    } else {
        CBStateNum->setEditText(number);
    }
    --m_quietFields;
    CurrTranspID = id;
}

void TWeighingPage::CBStateNumPropertiesChange() { vehicleLookup(true); }

void TWeighingPage::CBRFIDPropertiesChange() { vehicleLookup(false); }

bool TWeighingPage::nameLookup(Dataset &ds, const QString &nameField, const QString &idField, const QString &text,
                               const QString &displayName, int *id)
{
    *id = -1;
    return zv::store::guardDb(DbErrorKind::Open, displayName, [&] {
        TBVDMod1::OpenIfClosed(ds);
        if (text.isEmpty() || ds.isEmpty())
            return;
        for (ds.first(); !ds.eof(); ds.next()) {
            if (QString::compare(ds.fieldByName(nameField).asString(), text, Qt::CaseInsensitive) == 0) {
                *id = ds.fieldByName(idField).asInt();
                return;
            }
        }
    });
}

void TWeighingPage::CBCargoPropertiesChange()
{
    int id = -1;
    if (nameLookup(m_dm.BVQRefCargo, QStringLiteral("NAMECARGO"), QStringLiteral("ID_CARGO"), CBCargo->currentText(),
                   DisplayName::CargoKind, &id))
        CurrCargoID = id >= 0 ? id : 0;
}

void TWeighingPage::CBCargoTypesPropertiesChange()
{
    int id = -1;
    if (nameLookup(m_dm.BVQCargoTypes, QStringLiteral("NAMECARGOT"), QStringLiteral("ID_CARGOTY"),
                   CBCargoTypes->currentText(), DisplayName::CargoType, &id)
        && id >= 0)
        CurrCargoTypeID = id;
}

void TWeighingPage::CBDriverPropertiesChange()
{
    int id = -1;
    if (nameLookup(m_dm.BVQDriver, QStringLiteral("FIO_D"), QStringLiteral("ID_DRIVER"), CBDriver->currentText(),
                   DisplayName::Driver, &id)
        && id >= 0)
        CurrDriverID = id;
}

void TWeighingPage::ChBEmptyPropertiesChange()
{
    if (ChBEmpty->isChecked()) {
        ImLoad->hide();
        ImEmpty->show();
        CBCargo->clearEditText();
        CurrCargoID = 0;
        CBCargo->setEnabled(false);
    } else {
        ImEmpty->hide();
        ImLoad->show();
        CBCargo->setEnabled(true);
    }
    RGAxis->setItemIndex(-1);
}

// ---------------------------------------------------------------- search dialogs

void TWeighingPage::setChosenVehicle(const QString &stateNumb, const QString &idrf, int transpId)
{
    CBStateNum->setEditText(stateNumb); // runs the lookup: trailer and vehicle grid follow
    ++m_quietFields;
    CBRFID->setEditText(idrf);
    --m_quietFields;
    CurrTranspID = transpId;
}

void TWeighingPage::setChosenCargo(const QString &name, int cargoId)
{
    CBCargo->setEditText(name);
    CurrCargoID = cargoId;
}

void TWeighingPage::setChosenCargoType(const QString &name, int cargoTypeId)
{
    CBCargoTypes->setEditText(name);
    CurrCargoTypeID = cargoTypeId;
}

void TWeighingPage::setChosenDriver(const QString &fio, int driverId)
{
    CBDriver->setEditText(fio);
    CurrDriverID = driverId;
}

void TWeighingPage::BtFindStNumClick()
{
    if (findVehicle)
        findVehicle();
}

void TWeighingPage::BtFindCargoClick()
{
    if (findCargo)
        findCargo();
}

void TWeighingPage::BtFindCargoTypesClick()
{
    if (findCargoType)
        findCargoType();
}

void TWeighingPage::cxButton13Click()
{
    if (findDriver)
        findDriver();
}

// ---------------------------------------------------------------- reference books

void TWeighingPage::BtTSClick()
{
    if (!RefTsExecute)
        return;
    RefTsExecute();
    // Only the state numbers follow the reference; the tags are re-read when
    // the page is opened again.
    if (zv::store::guardDb(DbErrorKind::Open, DisplayName::Transport, [this] {
            m_dm.BVQTransport.close();
            m_dm.BVQTransport.open();
        }))
        fillTransportLists(false);
}

void TWeighingPage::BtAddTsClick() { BtTSClick(); }

void TWeighingPage::BtRefCargoClick()
{
    if (!RefCargoExecute)
        return;
    RefCargoExecute();
    if (zv::store::guardDb(DbErrorKind::Open, DisplayName::CargoKinds, [this] {
            m_dm.BVQRefCargo.close();
            m_dm.BVQRefCargo.open();
        }))
        fillList(CBCargo, m_dm.BVQRefCargo, QStringLiteral("NAMECARGO"));
}

void TWeighingPage::BtCargoTpClick()
{
    if (!RefCargoTypesExecute)
        return;
    RefCargoTypesExecute();
    if (zv::store::guardDb(DbErrorKind::Open, DisplayName::CargoTypes, [this] {
            m_dm.BVQCargoTypes.close();
            m_dm.BVQCargoTypes.open();
        }))
        fillList(CBCargoTypes, m_dm.BVQCargoTypes, QStringLiteral("NAMECARGOT"));
}

void TWeighingPage::BtDriverClick()
{
    if (!RefDriverExecute)
        return;
    RefDriverExecute();
    if (zv::store::guardDb(DbErrorKind::Open, DisplayName::Driver, [this] {
            m_dm.BVQDriver.close();
            m_dm.BVQDriver.open();
        }))
        fillList(CBDriver, m_dm.BVQDriver, QStringLiteral("FIO_D"));
}

void TWeighingPage::DBGrid1EditButtonClick()
{
    if (snapshotWindow)
        snapshotWindow();
}

void TWeighingPage::cxButton6Click()
{
    RGAxis->setItemIndex(-1);
    CBStateNum->clearEditText();
    CBDriver->clearEditText();
    CBCargo->clearEditText();
    emit exitRequested();
}

// ---------------------------------------------------------------- journal grid

QString TWeighingPage::highlightText() const
{
    if (zv::settings().modeIndex == 0)
        return m_lastMeasuredText;
    return zv::scale::ConvWeightStr(zv::settings().DecimalPoint, WeightTotal);
}

bool TWeighingPage::journalRowMarked(int row) const
{
    Dataset &q = m_dm.BVQWrEvJrn;
    const QString reference = highlightText();
    if (reference.isEmpty() || !q.active() || row < 0)
        return false;
    const int column = q.fieldIndex(QStringLiteral("WCARGO"));
    if (column < 0)
        return false;
    return q.rowValue(row, column).toString() == reference;
}

bool TWeighingPage::DBGrid1DrawColumnCell(QPainter *painter, const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const
{
    if (!journalRowMarked(index.row()))
        return false;
    painter->save();
    painter->fillRect(option.rect, QColor(255, 0, 0));
    painter->setPen(Qt::white);
    painter->setFont(option.font);
    const QRect textRect = option.rect.adjusted(2, 2, 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
    return true;
}

void TWeighingPage::setJournalRow(int row)
{
    if (row < 0 || row >= m_journalModel->rowCount())
        return;
    m_syncingJournal = true;
    DBGrid1->selectRow(row);
    DBGrid1->setCurrentIndex(m_journalModel->index(row, 0));
    DBGrid1->scrollTo(m_journalModel->index(row, 0));
    m_syncingJournal = false;
}

void TWeighingPage::journalCursorMoved(int recNo)
{
    if (!m_syncingJournal)
        setJournalRow(recNo);
}

void TWeighingPage::journalGridRowChanged(int row)
{
    if (m_syncingJournal || row < 0)
        return;
    Dataset &q = m_dm.BVQWrEvJrn;
    if (!q.active())
        return;
    m_syncingJournal = true;
    zv::store::guardDb(DbErrorKind::Work, QString(), [&] { q.setRecNo(row); });
    m_syncingJournal = false;
}

// ---------------------------------------------------------------- static weighing

void TWeighingPage::setAxleWindow(TBVViewWTelForm *window)
{
    m_axleWindow = window;
    if (window)
        connect(window, &TBVViewWTelForm::closedByOperator, this, &TWeighingPage::axleWindowClosedByOperator,
                Qt::UniqueConnection);
}

TBVViewWTelForm *TWeighingPage::axleWindow()
{
    if (!m_axleWindow)
        setAxleWindow(new TBVViewWTelForm(window()));
    return m_axleWindow;
}

void TWeighingPage::axleWindowClosedByOperator()
{
    EditWg->clear();
    EditOst->clear();
    ChBEmpty->setChecked(false);
    ChBRetry->setChecked(false);
    RGAxis->setItemIndex(-1);
    m_static->axleWindowClosed();
}

void TWeighingPage::showAxleRows()
{
    QString error;
    if (!axleWindow()->reload(&error))
        zv::Messages::error(error);
}

void TWeighingPage::syncCountersFromCore()
{
    EditWg->setText(m_static->EditWg());
    EditOst->setText(m_static->EditOst());
}

void TWeighingPage::RGAxis1Click(int itemIndex)
{
    const bool isStatic = zv::settings().modeIndex == 0;
    if (!m_static->RGAxis1Click(itemIndex, isStatic)) {
        RGAxis->setItemIndex(-1);
        return;
    }
    TBVViewWTelForm *w = axleWindow();
    if (!w->isActiveWindow()) {
        // First shown over the right end of the journal of the day, clear of
        // the fields the operator still fills; later where he left it.
        if (!m_axleWindowPlaced && DBGrid1->isVisible()) {
            w->move(DBGrid1->mapToGlobal(QPoint(qMax(0, DBGrid1->width() - w->width()), 0)));
            m_axleWindowPlaced = true;
        }
        w->show();
        w->setSumText(QString());
    }
    showAxleRows();
    if (isStatic) {
        WeightTotal = 0;
        syncCountersFromCore();
    }
}

void TWeighingPage::BtSaveWClick()
{
    using zv::journal::StaticWeighing;
    if (zv::settings().modeIndex != 0) {
        if (dynamicMeasurementButton)
            dynamicMeasurementButton();
        return;
    }

    if (BtSaveW->text() == zv::journal::CaptionRetryRecording) {
        // The measurement is kept; the operator has entered what was missing.
        if (!zv::journal::EventRecorder::CheckData(weighingInput()).ok)
            return;
        BtSaveW->setText(zv::journal::CaptionRecordMeasurement);
        recordWeighing();
        afterStaticRecording(false);
        return;
    }

    if (ChBKeyB->isChecked()) {
        ChBKeyB->setChecked(false);
        EditWeight->setReadOnly(true);
    }
    const StaticWeighing::Press press =
        m_static->BtSaveWClick(EditWeight->text(), RGAxis->itemIndex() >= 0, RGAxis->isEnabled());
    if (!m_static->LastWeightText().isEmpty())
        LastWeightText = m_static->LastWeightText();
    if (press == StaticWeighing::Press::Refused || press == StaticWeighing::Press::WriteFailed)
        return;

    syncCountersFromCore();
    WeightTotal = m_static->WeightTotal();
    showAxleRows();
    axleWindow()->setSumText(m_static->weightTotalText());
    if (press == StaticWeighing::Press::AxleWeighed)
        return;

    m_lastMeasuredText = zv::scale::ConvWeightStr(zv::settings().DecimalPoint, WeightTotal);
    recordWeighing();
    afterStaticRecording(true);
}

void TWeighingPage::afterStaticRecording(bool uncheckEmpty)
{
    RGAxis->setItemIndex(-1);
    CBStateNum->clearEditText();
    CBDriver->clearEditText();
    CBCargo->clearEditText();
    if (uncheckEmpty && ChBEmpty->isChecked())
        ChBEmpty->setChecked(false);
}

zv::journal::WeighingInput TWeighingPage::weighingInput() const
{
    zv::journal::WeighingInput in;
    in.CurrTranspID = CurrTranspID;
    in.CurrDriverID = CurrDriverID;
    in.CurrCargoID = CurrCargoID;
    in.CurrCargoTypeID = CurrCargoTypeID;
    in.MarkedRecordID = MarkedRecordID;
    in.stateNumber = CBStateNum->currentText();
    in.rfid = CBRFID->currentText();
    in.rfidUsed = ChBRFID1->isChecked();
    in.driver = CBDriver->currentText();
    in.cargo = CBCargo->currentText();
    in.cargoType = CBCargoTypes->currentText();
    in.comment = EditComment->text();
    in.cargoProperties = EditCargoProp->text();
    in.empty = ChBEmpty->isChecked();
    in.retry = ChBRetry->isChecked();
    in.shiftDate = DateEditEv->date();
    in.staticMode = zv::settings().modeIndex == 0;
    in.WeightTotal = WeightTotal;
    return in;
}

zv::journal::RecordResult TWeighingPage::recordWeighing()
{
    const zv::journal::RecordResult r = m_recorder->InsertRecordEven(weighingInput());
    applyRecordResult(r);
    return r;
}

void TWeighingPage::applyRecordResult(const zv::journal::RecordResult &r)
{
    using zv::journal::CheckField;
    MarkedRecordID = r.MarkedRecordID;
    if (!r.saveButtonCaption.isEmpty())
        BtSaveW->setText(r.saveButtonCaption);
    if (r.hideAxleWindow && m_axleWindow)
        m_axleWindow->hide();
    if (r.clearCargo)
        CBCargo->clearEditText();
    if (r.outcome == zv::journal::RecordResult::Outcome::CheckFailed) {
        QWidget *focus = nullptr;
        switch (r.focus) {
        case CheckField::Cargo: focus = CBCargo; break;
        case CheckField::StateNumber: focus = CBStateNum; break;
        case CheckField::Rfid: focus = CBRFID; break;
        case CheckField::Driver: focus = CBDriver; break;
        case CheckField::None: break;
        }
        if (focus)
            focus->setFocus();
        return;
    }
    // The recording left the journal on its newest row.
    if (m_dm.BVQWrEvJrn.active())
        setJournalRow(m_dm.BVQWrEvJrn.recNo());
    DBGrid1->viewport()->update();
}
