#pragma once
// Static axle-by-axle weighing: the operator presses the measurement button
// once per axle; each axle weight becomes a row of the scratch table MEMD
// and is added to the total. The weighing page shows the counters and, when
// the last axle is weighed, hands WeightTotal to the recorder.
#include <QString>
#include <QStringList>

namespace zv::store {
class TBVDMod1;
}

namespace zv::journal {

// Items of RGAxis in their order; item i stands for i + 2 axles.
QStringList axleCountItems();

class StaticWeighing {
public:
    explicit StaticWeighing(zv::store::TBVDMod1 &dm);

    enum class Press {
        Refused,         // a message was shown; nothing counted, nothing written
        AxleWeighed,     // the axle row is written, the next axle is awaited
        LastAxleWeighed, // the last axle is written: record the weighing now (WeightTotal holds the sum)
        WriteFailed,     // the axle row could not be written (error box shown); nothing counted
    };

    // RGAxis1Click: the operator chose item `itemIndex` (0 = "2 (Две)").
    // Empties MEMD; in the static mode also resets the counters and the
    // total. False when MEMD could not be emptied (error box shown); the
    // choice is then not taken.
    bool RGAxis1Click(int itemIndex, bool staticMode = true);

    // BtSaveWClick in the static mode with the caption "Записать измерение":
    // `editWeight` is the text of EditWeight, `axisChosen`/`axisEnabled` the
    // state of RGAxis. Checks the weight and the axle count, then weighs the
    // axle (SaveData). A weight that is not a number and a press without
    // counters (after the axle weights window was closed) are refused before
    // anything is written.
    Press BtSaveWClick(const QString &editWeight, bool axisChosen, bool axisEnabled);

    // Appends one axle row to MEMD: F1 = axle number, F2 = weight text.
    // False after an engine error (shown).
    bool WriteJrnWAxis(int axleNo, const QString &weight);

    // The axle weights window was closed by its border: the counters are
    // emptied; NextAxleNo and WeightTotal stay until the next choice.
    void axleWindowClosed();

    // Values shown and read by the page.
    QString EditWg() const { return m_editWg; }
    QString EditOst() const { return m_editOst; }
    int AxleCountChosen() const { return m_axleCountChosen; }
    int NextAxleNo() const { return m_nextAxleNo; }
    double WeightTotal() const { return m_weightTotal; }
    QString LastWeightText() const { return m_lastWeightText; }
    // Text for the (hidden) sum box of the axle weights window.
    QString weightTotalText() const;

    // Messages of the refusals.
    static QString noWeightMessage();        // "Нет значения "Текущий вес""
    static QString noAxleCountMessage();     // "Вы не выбрали количество осей для ТС"
    static QString notANumberMessage(const QString &text);
    // An empty platform (or a silent indicator) reads 0: no axle stands on it.
    static QString noAxleWeightMessage(const QString &text);

private:
    bool SaveData();

    zv::store::TBVDMod1 &m_dm;
    int m_axleCountChosen = 0;
    int m_nextAxleNo = 1;
    double m_weightTotal = 0;
    QString m_lastWeightText;
    QString m_editWg;
    QString m_editOst;
};

} // namespace zv::journal
