#pragma once
// A pseudo-terminal pair that stands in for the indicator's serial line: the
// simulator writes telegrams into the master side, the link opens the slave
// path ("/dev/pts/N") like any serial port.
#include <QByteArray>
#include <QString>

namespace zv::scale {

enum class LineWrite {
    Written, // everything was handed to the line
    Dropped, // nobody is listening or the line is full: the telegram is lost, as on a real line
    Failed,  // the device itself is broken
};

// Writes a telegram to a non-blocking descriptor of a serial line or a
// pseudo-terminal master. A full or unheard line drops the telegram instead of
// blocking: an indicator keeps sending whether anybody listens or not.
LineWrite writeToLine(int fd, const QByteArray &data);

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Creates the pair in raw mode. On failure returns false with the reason in *error.
    bool open(QString *error = nullptr);
    void close();
    bool isOpen() const { return m_master >= 0; }

    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }

    LineWrite write(const QByteArray &data) { return writeToLine(m_master, data); }

    // Discards whatever the slave side sent back (echo and the like), so the
    // master's buffer never fills up while nobody reads it.
    void drainInput() { (void)readAvailable(); }
    // What the slave side has written so far, without waiting.
    QByteArray readAvailable();

private:
    int m_master = -1;
    QString m_slavePath;
};

} // namespace zv::scale
