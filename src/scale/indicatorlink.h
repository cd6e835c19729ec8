#pragma once
// Receive-only serial link to the weight indicator.
#include <QObject>
#include <QStringList>

#include "runstate.h"

class QSerialPort;
class QTimer;

namespace zv::scale {

// Port names in the order the port lists show them: by name, numbers by
// value (ttyS2 before ttyS10), letter case ignored, no duplicates.
QStringList sortPortNames(QStringList names);

// Baud rate of an item of the baud-rate list (0 -> 110 ... 17 -> 921600); 0 for a bad index.
qint32 baudRateForIndex(int index);

class IndicatorLink : public QObject {
    Q_OBJECT
public:
    explicit IndicatorLink(QObject *parent = nullptr);
    ~IndicatorLink() override;

    // Opens the port with the applied parameters (no flow control, DTR and
    // RTS on, raw). On failure returns false and puts the message for the
    // operator into *error; the port stays closed. Opening while already
    // open fails with "Нельзя менять свойство, пока порт открыт" and leaves
    // the open port as it is.
    bool open(const zv::PortValues &port, QString *error);
    // DTR/RTS off, pending data dropped, port released. Also done by the link
    // itself when the line hangs up for good (the other end of a
    // pseudo-terminal closed, the device went away): the silence watch then
    // reports the silent indicator as usual.
    void close();
    bool isOpen() const;

    // Serial ports of the machine, sorted by name.
    static QStringList availablePorts();

    // Every receive event reads everything waiting, so the buffer never holds
    // more than what arrived since the last event. Purging the buffer after
    // that read as well discards the characters that came in between the read
    // and the purge: bytes out of the middle of telegrams, i.e. wrong weights
    // (measured: 1-3 % of the bytes at 9600 baud, 50 readings a second).
    // Off by default; kept switchable for comparison on real hardware.
    void setPurgeAfterRead(bool on) { m_purgeAfterRead = on; }
    bool purgeAfterRead() const { return m_purgeAfterRead; }

signals:
    // One receive event: everything waiting in the receive buffer, read at once.
    void blockReceived(const QByteArray &block);

private:
    void onReadyRead();
    void checkHangup();
    QSerialPort *m_port;
    QTimer *m_hangupCheck;
    bool m_purgeAfterRead = false;
};

// The silence watch of the link: RxCounter and its ring of nine copies. The
// indicator is silent when the counter shows the same value now and 3.2, 2.8
// and 2.4 s ago.
//
// The counter counts receive events without wrapping at nine: a telegram of
// nine characters ("0012340" CR LF) that a slow line hands over one character
// per event adds nine events, and a counter taken modulo nine would stand
// still while the indicator sends and report it silent (seen every minute or
// so at 9600 baud).
class SilenceWatch {
public:
    void portOpening();   // RingSlot := 0, RxCounter := 1
    void portOpened();    // RxCounter := 100, ring := 0..8, RingSlot := 0
    void blockReceived(); // RxCounter := RxCounter + 1 (see above)
    // One 400 ms tick; true when the indicator is silent.
    bool tick();

    int rxCounter() const { return m_rxCounter; }
    int ringSlot() const { return m_ringSlot; }

private:
    int m_rxCounter = 0;
    int m_ring[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    int m_ringSlot = 0;
};

} // namespace zv::scale
