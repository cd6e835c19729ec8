#include "userspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "accessrules.h"
#include "datamodule.h"
#include "datasetmodel.h"
#include "dberrorbox.h"
#include "messages.h"
#include "usersdb.h"

namespace zv::access {

using store::DbErrorKind;

namespace {
const char *RequiredStyle = "background-color: #ffffc0;";

QLineEdit *addEdit(QFormLayout *form, const QString &caption, const QString &objectName, QWidget *parent,
                   const QString &hint = QString())
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setAccessibleName(caption);
    if (!hint.isEmpty())
        edit->setToolTip(hint);
    auto *label = new QLabel(caption, parent);
    label->setBuddy(edit);
    form->addRow(label, edit);
    return edit;
}
} // namespace

TUsersPage::TUsersPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("UsersPage"));

    GroupBoxInput = new QGroupBox(QStringLiteral("Ввод информации о пользователях"), this);
    GroupBoxInput->setObjectName(QStringLiteral("GroupBoxInput"));

    GroupBoxRequired = new QGroupBox(QStringLiteral("Обязательные данные"), GroupBoxInput);
    GroupBoxRequired->setObjectName(QStringLiteral("GroupBoxRequired"));
    auto *required = new QFormLayout(GroupBoxRequired);
    EditUser = addEdit(required, QStringLiteral("Пользователь"), QStringLiteral("EditUser"), GroupBoxRequired,
                       QStringLiteral("Введите пользователя, используя латин. буквы и символ \"-\", напрмер: Velmar-KD "));
    EditPass = addEdit(required, QStringLiteral("Пароль"), QStringLiteral("EditPass"), GroupBoxRequired,
                       QStringLiteral("Введите пароль, используя латин. буквы и цифры, не более 14 символов."));
    EditPass->setEchoMode(QLineEdit::Password);
    EditPassConf = addEdit(required, QStringLiteral("Подтверждение"), QStringLiteral("EditPassConf"),
                           GroupBoxRequired, QStringLiteral("Повторите пароль"));
    EditPassConf->setEchoMode(QLineEdit::Password);
    CBGroup = new QComboBox(GroupBoxRequired);
    CBGroup->setObjectName(QStringLiteral("CBGroup"));
    CBGroup->setEditable(true);
    CBGroup->setInsertPolicy(QComboBox::NoInsert);
    CBGroup->addItems(groupCaptions());
    CBGroup->setCurrentIndex(-1);
    CBGroup->setToolTip(QStringLiteral("Выбрать группу из списка"));
    CBGroup->setAccessibleName(QStringLiteral("Группа"));
    auto *lbGroup = new QLabel(QStringLiteral("Группа"), GroupBoxRequired);
    lbGroup->setBuddy(CBGroup);
    required->addRow(lbGroup, CBGroup);
    ChBChangePass = new QCheckBox(QStringLiteral("Сменить пароль при первом входе"), GroupBoxRequired);
    ChBChangePass->setObjectName(QStringLiteral("ChBChangePass"));
    required->addRow(ChBChangePass);

    GroupBoxExtra = new QGroupBox(QStringLiteral("Дополнительные данные"), GroupBoxInput);
    GroupBoxExtra->setObjectName(QStringLiteral("GroupBoxExtra"));
    auto *extra = new QFormLayout(GroupBoxExtra);
    EditLastN = addEdit(extra, QStringLiteral("Фамилия"), QStringLiteral("EditLastN"), GroupBoxExtra,
                        QStringLiteral("Введите данные, используя кирилицу"));
    EditFirstN = addEdit(extra, QStringLiteral("Имя"), QStringLiteral("EditFirstN"), GroupBoxExtra);
    EditPatr = addEdit(extra, QStringLiteral("Отчество"), QStringLiteral("EditPatr"), GroupBoxExtra);

    // The fields the save checks are drawn in yellow.
    for (QWidget *w : std::initializer_list<QWidget *>{EditUser, EditPass, EditPassConf, CBGroup, EditLastN})
        w->setStyleSheet(QString::fromLatin1(RequiredStyle));

    auto makeButton = [this](const QString &caption, const QString &name) {
        auto *b = new QPushButton(caption, GroupBoxInput);
        b->setObjectName(name);
        return b;
    };
    BtAddU = makeButton(QStringLiteral("Добавить"), QStringLiteral("BtAddU"));
    BtUpU = makeButton(QStringLiteral("Изменить"), QStringLiteral("BtUpU"));
    BtDelU = makeButton(QStringLiteral("Удалить"), QStringLiteral("BtDelU"));
    BtSaveU = makeButton(QStringLiteral("Сохранить"), QStringLiteral("BtSaveU"));
    BtExitU = makeButton(QStringLiteral("Отмена"), QStringLiteral("BtExitU"));

    auto *boxes = new QHBoxLayout;
    boxes->addWidget(GroupBoxRequired);
    boxes->addWidget(GroupBoxExtra);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {BtAddU, BtUpU, BtDelU, BtSaveU, BtExitU})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *inputLayout = new QVBoxLayout(GroupBoxInput);
    inputLayout->addLayout(boxes);
    inputLayout->addLayout(buttons);

    DBGrid4 = new QTableView(this);
    DBGrid4->setObjectName(QStringLiteral("DBGrid4"));
    DBGrid4->setAccessibleName(QStringLiteral("Пользователи"));
    DBGrid4->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid4->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid4->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid4->verticalHeader()->hide();
    DBGrid4->horizontalHeader()->setStretchLastSection(true);
    DBGrid4->horizontalHeader()->setMinimumSectionSize(140);
    m_model = new store::DatasetModel(&store::TBVDMod1::instance().BVQUser, this);
    m_model->setColumns({{QStringLiteral("NAME_USER"), QStringLiteral("Пользователь (lat)")},
                         {QStringLiteral("LEVEL_USER"), QStringLiteral("Группа")},
                         {QStringLiteral("SHORTN_US"), QStringLiteral("Ф.И.О. пользователя")}});
    DBGrid4->setModel(m_model);
    // A re-read list starts on its first row, as the shared query does.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_model->rowCount() > 0)
            DBGrid4->setCurrentIndex(m_model->index(0, 0));
    });

    auto *navigator = new QWidget(this);
    navigator->setObjectName(QStringLiteral("DBNavigator4"));
    auto *navLayout = new QHBoxLayout(navigator);
    navLayout->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char *name;
        const char *text;
        const char *caption;
    } navButtons[] = {{"NavFirst", "|◀", "Первая запись"},
                      {"NavPrior", "◀", "Предыдущая запись"},
                      {"NavNext", "▶", "Следующая запись"},
                      {"NavLast", "▶|", "Последняя запись"}};
    QList<QToolButton *> navList;
    for (int i = 0; i < 4; ++i) {
        auto *b = new QToolButton(navigator);
        b->setObjectName(QString::fromLatin1(navButtons[i].name));
        b->setText(QString::fromUtf8(navButtons[i].text));
        b->setToolTip(QString::fromUtf8(navButtons[i].caption));
        b->setAccessibleName(QString::fromUtf8(navButtons[i].caption));
        connect(b, &QToolButton::clicked, this, [this, i] { navigate(i); });
        navLayout->addWidget(b);
        navList << b;
    }
    navLayout->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBoxInput);
    layout->addWidget(navigator);
    layout->addWidget(DBGrid4, 1);

    QWidget *order[] = {EditUser, EditPass, EditPassConf, CBGroup, ChBChangePass, EditLastN, EditFirstN,
                        EditPatr, BtAddU,   BtUpU,    BtDelU,       BtSaveU, BtExitU,       navList[0],
                        navList[1], navList[2], navList[3], DBGrid4};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(BtAddU, &QPushButton::clicked, this, &TUsersPage::BtAddUClick);
    connect(BtUpU, &QPushButton::clicked, this, &TUsersPage::BtUpUClick);
    connect(BtDelU, &QPushButton::clicked, this, &TUsersPage::BtDelUClick);
    connect(BtSaveU, &QPushButton::clicked, this, &TUsersPage::BtSaveUClick);
    connect(BtExitU, &QPushButton::clicked, this, &TUsersPage::BtExitUClick);

    GroupBoxRequired->setEnabled(false);
    GroupBoxExtra->setEnabled(false);
    setBrowsing();
}

void TUsersPage::setBrowsing()
{
    BtAddU->setEnabled(true);
    BtUpU->setEnabled(true);
    BtDelU->setEnabled(true);
    BtSaveU->setEnabled(false);
}

void TUsersPage::setEntering(Mode mode)
{
    GroupBoxRequired->setEnabled(true);
    GroupBoxExtra->setEnabled(true);
    BtAddU->setEnabled(false);
    BtDelU->setEnabled(false);
    BtUpU->setEnabled(false);
    BtSaveU->setEnabled(true);
    m_mode = mode;
    EditUser->setFocus();
}

void TUsersPage::navigate(int whereTo)
{
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    int row = DBGrid4->currentIndex().isValid() ? DBGrid4->currentIndex().row() : 0;
    switch (whereTo) {
    case 0: row = 0; break;
    case 1: row = std::max(0, row - 1); break;
    case 2: row = std::min(rows - 1, row + 1); break;
    default: row = rows - 1; break;
    }
    DBGrid4->setCurrentIndex(m_model->index(row, 0));
}

std::optional<UserRecord> TUsersPage::currentRow() const
{
    const QModelIndex index = DBGrid4->currentIndex();
    if (!index.isValid())
        return std::nullopt;
    const QList<UserRecord> rows = users();
    if (index.row() >= rows.size())
        return std::nullopt;
    return rows.at(index.row());
}

void TUsersPage::UserGroupExecute()
{
    GroupBoxRequired->setEnabled(false);
    GroupBoxExtra->setEnabled(false);
    // Coming back to the page starts from browsing, whatever was left pending.
    setBrowsing();
    store::guardDb(DbErrorKind::Open, store::DisplayName::Users, [] { reopenUsers(); });
}

void TUsersPage::BtAddUClick()
{
    setEntering(Mode::Adding);
}

void TUsersPage::BtUpUClick()
{
    std::optional<UserRecord> row;
    if (!store::guardDb(DbErrorKind::Open, store::DisplayName::Users, [&] { row = currentRow(); }))
        return;
    if (!row)
        return; // an empty list has nobody to change
    setEntering(Mode::Changing);
    m_selectedUserId = row->id;

    std::optional<NameParts> names;
    if (!store::guardDb(DbErrorKind::Open, store::DisplayName::Operator,
                        [&] { names = operatorNames(m_selectedUserId); }))
        return;
    const NameParts parts = names ? *names : splitLongName(row->longName);
    EditLastN->setText(parts.lastName);
    EditFirstN->setText(parts.firstName);
    EditPatr->setText(parts.patronymic);

    EditUser->setText(row->name);
    EditPass->setText(row->password);
    EditPassConf->setText(row->password);
    const int item = captionIndexForGroup(row->level);
    if (item >= 0)
        CBGroup->setCurrentIndex(item);
    ChBChangePass->setChecked(row->changeP == 1);
}

void TUsersPage::BtSaveUClick()
{
    QString problem;
    if (EditUser->text().isEmpty())
        problem = QStringLiteral("Поле \"Пользователь\" не заполнено");
    else if (EditPass->text().isEmpty())
        problem = QStringLiteral("Поле \"Пароль\" не заполнено");
    else if (EditPass->text() != EditPassConf->text())
        problem = QStringLiteral("Поле \"Пароль\" и \"Подтверждение\" не совпадают");
    else if (CBGroup->currentText().isEmpty())
        problem = QStringLiteral("Не выбрана группа");
    else if (EditLastN->text().isEmpty())
        problem = QStringLiteral("Поле \"Фамилия\" не заполнено");
    if (!problem.isEmpty()) {
        Messages::warning(problem);
        return;
    }

    const NameParts parts{EditLastN->text(), EditFirstN->text(), EditPatr->text()};
    UserChange change;
    change.name = EditUser->text();
    change.password = EditPass->text();
    change.level = groupForCaption(CBGroup->currentText());
    change.changeP = ChBChangePass->isChecked() ? 1 : 0;
    change.longName = buildLongName(parts);
    change.shortName = buildShortName(parts);

    const bool stored = store::guardDb(DbErrorKind::Work, QString(), [&] {
        if (m_mode == Mode::Adding)
            addUser(change);
        else
            updateUser(m_selectedUserId, change);
    });
    if (!stored)
        return;
    store::guardDb(DbErrorKind::Open, store::DisplayName::Users, [] { reopenUsers(); });

    setBrowsing();
    EditUser->clear();
    CBGroup->setCurrentIndex(-1);
    CBGroup->setEditText(QString());
    EditLastN->clear();
    EditFirstN->clear();
    EditPatr->clear();
}

void TUsersPage::BtDelUClick()
{
    std::optional<UserRecord> row;
    if (!store::guardDb(DbErrorKind::Open, store::DisplayName::Users, [&] { row = currentRow(); }))
        return;
    if (!row)
        return;
    if (!Messages::confirm(QStringLiteral("Сейчас данные будут удалены. Продолжить ?")))
        return;
    m_selectedUserId = row->id;
    const QString level = row->level;

    if (!store::guardDb(DbErrorKind::Delete, store::DisplayName::Users, [&] { deleteUser(m_selectedUserId); }))
        return;
    store::guardDb(DbErrorKind::Open, store::DisplayName::Users, [] { reopenUsers(); });
    if (upperKey(level) == QLatin1String("OPERATOR")) {
        if (!store::guardDb(DbErrorKind::Delete, store::DisplayName::Operator,
                            [&] { deleteOperator(m_selectedUserId); }))
            return;
    }
    store::guardDb(DbErrorKind::Work, QString(), [] { closeUserTables(); });
}

void TUsersPage::BtExitUClick()
{
    setBrowsing();
    emit leavePage();
}

} // namespace zv::access
