#include "staticweighing.h"

#include "datamodule.h"
#include "eventrecorder.h"
#include "messages.h"

namespace zv::journal {

using zv::store::DbError;
using zv::store::Dataset;
using zv::store::TBVDMod1;

QStringList axleCountItems()
{
    return {QStringLiteral("2 (Две)"),    QStringLiteral("3 (Три)"),     QStringLiteral("4 (Четыре)"),
            QStringLiteral("5 (Пять)"),   QStringLiteral("6 (Шесть)"),   QStringLiteral("7 (Семь)"),
            QStringLiteral("8 (Восемь)"), QStringLiteral("9 (Девять)"), QStringLiteral("10 (Десять)"),
            QStringLiteral("11 (Одинадцать)")};
}

StaticWeighing::StaticWeighing(TBVDMod1 &dm) : m_dm(dm) {}

QString StaticWeighing::noWeightMessage() { return QStringLiteral("Нет значения \"Текущий вес\""); }

QString StaticWeighing::noAxleCountMessage() { return QStringLiteral("Вы не выбрали количество осей для ТС"); }

QString StaticWeighing::notANumberMessage(const QString &text)
{
    return QStringLiteral("Значение \"Текущий вес\" (%1) не является числом, вес оси не записан").arg(text);
}

QString StaticWeighing::noAxleWeightMessage(const QString &text)
{
    return QStringLiteral("Значение \"Текущий вес\" (%1) не больше нуля: на платформе нет оси, вес оси не записан")
        .arg(text);
}

QString StaticWeighing::weightTotalText() const { return QString::number(m_weightTotal, 'g', 15); }

bool StaticWeighing::RGAxis1Click(int itemIndex, bool staticMode)
{
    if (itemIndex < 0 || itemIndex > 9)
        return false;
    try {
        TBVDMod1::OpenIfClosed(m_dm.BVTMemD);
        m_dm.BVQClearMemD.execSql();
        m_dm.BVTMemD.refresh();
    } catch (const DbError &e) {
        zv::Messages::error(e.message());
        return false;
    }
    m_axleCountChosen = itemIndex + 2;
    if (staticMode) {
        m_nextAxleNo = 1;
        m_weightTotal = 0;
        m_editWg = QStringLiteral("0");
        m_editOst = QString::number(m_axleCountChosen);
    }
    return true;
}

StaticWeighing::Press StaticWeighing::BtSaveWClick(const QString &editWeight, bool axisChosen, bool axisEnabled)
{
    if (editWeight.isEmpty()) {
        zv::Messages::information(noWeightMessage());
        return Press::Refused;
    }
    // A typed weight is taken only when it is a number: the axle row, the
    // counters and the total must move together or not at all.
    double weight = 0;
    if (!parseWeightText(editWeight, &weight)) {
        zv::Messages::warning(notANumberMessage(editWeight));
        return Press::Refused;
    }
    // A press before the axle has come onto the platform would count an axle
    // of 0 and spoil the vehicle's total.
    if (weight <= 0) {
        zv::Messages::warning(noAxleWeightMessage(editWeight));
        return Press::Refused;
    }
    m_lastWeightText = editWeight;
    if (!axisChosen && axisEnabled) {
        zv::Messages::information(noAxleCountMessage());
        return Press::Refused;
    }
    // The counters were emptied (axle weights window closed) or every axle of
    // the vehicle is weighed: the number of axles must be chosen again.
    bool leftOk = false;
    const int left = m_editOst.toInt(&leftOk);
    if (!leftOk || left <= 0 || m_axleCountChosen == 0 || m_nextAxleNo > m_axleCountChosen) {
        zv::Messages::information(noAxleCountMessage());
        return Press::Refused;
    }
    if (!SaveData())
        return Press::WriteFailed;
    return m_nextAxleNo <= m_axleCountChosen ? Press::AxleWeighed : Press::LastAxleWeighed;
}

bool StaticWeighing::SaveData()
{
    double weight = 0;
    parseWeightText(m_lastWeightText, &weight); // checked by the caller
    if (!WriteJrnWAxis(m_nextAxleNo, m_lastWeightText))
        return false;
    m_editWg = QString::number(m_nextAxleNo);
    ++m_nextAxleNo;
    m_editOst = QString::number(m_editOst.toInt() - 1);
    m_weightTotal += weight;
    return true;
}

bool StaticWeighing::WriteJrnWAxis(int axleNo, const QString &weight)
{
    Dataset &t = m_dm.BVTMemD;
    try {
        TBVDMod1::OpenIfClosed(t);
        t.append();
        t.fieldByName(QStringLiteral("F1")).setString(QString::number(axleNo));
        t.fieldByName(QStringLiteral("F2")).setString(weight);
        t.post();
        return true;
    } catch (const DbError &e) {
        if (t.state() == Dataset::State::Insert) {
            try {
                t.cancel();
            } catch (const DbError &) {
            }
        }
        zv::Messages::error(e.message());
        return false;
    }
}

void StaticWeighing::axleWindowClosed()
{
    m_editWg.clear();
    m_editOst.clear();
}

} // namespace zv::journal
