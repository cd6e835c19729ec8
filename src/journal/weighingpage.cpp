#include "weighingpage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "accessible.h"
#include "clock.h"
#include "radiogroup.h"

namespace {

const char *const kRequiredHint = "Поля с желтым оттенком - обязательны для заполнения";

// Drawing of a lorry, loaded or empty, used until pictures are supplied.
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

QToolButton *ellipsisButton(const char *name, const QString &hint, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(QStringLiteral("..."));
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    return b;
}

QTableView *grid(const char *name, QStandardItemModel *model, const QStringList &titles, QWidget *parent)
{
    model->setHorizontalHeaderLabels(titles);
    auto *v = new QTableView(parent);
    v->setObjectName(QLatin1String(name));
    v->setModel(model);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->verticalHeader()->hide();
    return v;
}

QComboBox *combo(const char *name, QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
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

} // namespace

TWeighingPage::TWeighingPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("WeighingPage"));
    auto *root = new QVBoxLayout(this);

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
    ImLoad->setPixmap(lorryPicture(true));
    ImLoad->setScaledContents(true);
    ImLoad->setFixedSize(120, 68);
    ImEmpty = new QLabel(GrBoxKind);
    ImEmpty->setObjectName(QStringLiteral("ImEmpty"));
    ImEmpty->setPixmap(lorryPicture(false));
    ImEmpty->setScaledContents(true);
    ImEmpty->setFixedSize(120, 68);
    ImEmpty->hide();
    kind->addWidget(ChBEmpty, 0, 0);
    kind->addWidget(ChBRetry, 1, 0);
    kind->addWidget(ImLoad, 0, 1, 2, 1);
    kind->addWidget(ImEmpty, 0, 1, 2, 1);
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
                                2, this);
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
    axles->addWidget(LbAx1);
    axles->addWidget(EditWg);
    axles->addWidget(LbAx2);
    axles->addWidget(EditOst);

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

    m_journalModel = new QStandardItemModel(0, 16, this);
    DBGrid1 = grid("DBGrid1", m_journalModel,
                   {QStringLiteral("Дата"), QStringLiteral("Время"), QStringLiteral("Наименование события"),
                    QStringLiteral("Гос. номер ТС"), QStringLiteral("RFID"), QStringLiteral("Груз"),
                    QStringLiteral("Вес"), QStringLiteral("Вес груза"), QStringLiteral("Ф.И.О оператора"),
                    QStringLiteral("Ф.И.О. Водителя"), QStringLiteral("Тип груза"), QStringLiteral("Свойства груза"),
                    QStringLiteral("Кадр"), QStringLiteral("Автомат. фиксация веса"), QStringLiteral("Режим"),
                    QStringLiteral("Комментарий")},
                   this);
    root->addWidget(DBGrid1, 1);

    // ---------------- identification, cargo, vehicle, documents
    auto *middle = new QHBoxLayout;
    root->addLayout(middle);
    auto *ident = new QGridLayout;
    middle->addLayout(ident, 2);
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
    m_vehicleModel = new QStandardItemModel(0, 5, this);
    DBGrid2 = grid("DBGrid2", m_vehicleModel,
                   {QStringLiteral("Наимен. ТС"), QStringLiteral("Гос. № ТС"), QStringLiteral("RFID"),
                    QStringLiteral("Модель ТС"), QStringLiteral("Вес пустого ТС")},
                   vehicle);
    DBGrid2->setAccessibleName(vehicle->title());
    vehicleLayout->addWidget(DBGrid2);
    BtAddTs = new QPushButton(QStringLiteral("Справочник ТС"), vehicle);
    BtAddTs->setObjectName(QStringLiteral("BtAddTs"));
    vehicleLayout->addWidget(BtAddTs);
    middle->addWidget(vehicle, 2);

    auto *docs = new QGroupBox(QStringLiteral("Документ на груз"), this);
    docs->setObjectName(QStringLiteral("GrBoxDoc"));
    auto *docsLayout = new QVBoxLayout(docs);
    m_documentModel = new QStandardItemModel(0, 5, this);
    DBGrid3 = grid("DBGrid3", m_documentModel,
                   {QStringLiteral("Дата"), QStringLiteral("Время"), QStringLiteral("Наименование документа"),
                    QStringLiteral("№ накл."), QStringLiteral("№ докум.")},
                   docs);
    DBGrid3->setAccessibleName(docs->title());
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
    connect(cxButton6, &QPushButton::clicked, this, &TWeighingPage::exitRequested);
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

void TWeighingPage::ChBRFID1Click()
{
    if (ChBRFID1->isChecked()) {
        showRfidControls(true);
        markRequired(CBRFID, true);
    } else {
        showRfidControls(false);
    }
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
}

void TWeighingPage::prepare()
{
    // The indicator is not polled until the operator switches polling on.
    ChBOnInd->setChecked(false);
    ChBOffInd->setChecked(false);
    ChBOffInd->setEnabled(false);
    ChBOnInd->setEnabled(true);
}
