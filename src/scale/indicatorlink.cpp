#include "indicatorlink.h"

#include <QFile>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace zv::scale {

namespace {

const QString kMsgNoSuchPort = QStringLiteral("Попытка открыть несуществующий COM-порт");
const QString kMsgPortBusy = QStringLiteral("Порт занят другой программой");
const QString kMsgPortOpen = QStringLiteral("Нельзя менять свойство, пока порт открыт");

constexpr qint32 kBaudRates[] = {110,   300,   600,    1200,   2400,   4800,   9600,   14400,  19200,
                                 38400, 56000, 57600, 115200, 128000, 230400, 256000, 460800, 921600};

// The receive buffer of the link; the handler empties it at every event.
constexpr qint64 kReadBufferSize = 4096;

QString paramError(const QString &what, int index)
{
    return QStringLiteral("Недопустимый параметр COM-порта: %1 (индекс %2)").arg(what).arg(index);
}

// Full device path of a port name: "ttyUSB0" lives in /dev, a path stays as given.
QString devicePath(const QString &name)
{
    return name.startsWith(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
}

// Asked only after an open failed: a file or a device other than a terminal
// gets its own message instead of "unsupported parameters".
bool isTerminalDevice(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return true; // cannot tell; keep the parameter message
    const bool tty = ::isatty(fd);
    ::close(fd);
    return tty;
}

QString openFailureText(QSerialPort::SerialPortError error, const QString &portName, const QString &detail)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return kMsgNoSuchPort;
    case QSerialPort::PermissionError: {
        // The same error stands for a port held by someone else and for a
        // device file this user may not open; the operator needs to know which.
        const QByteArray path = QFile::encodeName(devicePath(portName));
        if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES)
            return QStringLiteral("Нет прав на доступ к COM-порту %1").arg(portName);
        return kMsgPortBusy;
    }
    case QSerialPort::OpenError:
        return kMsgPortOpen;
    case QSerialPort::UnsupportedOperationError:
        if (!isTerminalDevice(devicePath(portName)))
            return QStringLiteral("Устройство %1 не является COM-портом").arg(portName);
        return QStringLiteral("COM-порт не поддерживает заданные параметры: %1").arg(detail);
    default:
        return QStringLiteral("Ошибка при открытии COM-порта %1: %2").arg(portName, detail);
    }
}

// Natural order: runs of digits compare by value, the rest without letter case.
int comparePortNames(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            // Leading zeros do not count; then the longer run is the larger number.
            QStringView da = QStringView(a).mid(i, ei - i), db = QStringView(b).mid(j, ej - j);
            while (da.size() > 1 && da.front() == QLatin1Char('0'))
                da = da.mid(1);
            while (db.size() > 1 && db.front() == QLatin1Char('0'))
                db = db.mid(1);
            if (da.size() != db.size())
                return da.size() < db.size() ? -1 : 1;
            if (const int c = da.compare(db); c != 0)
                return c;
            i = ei;
            j = ej;
            continue;
        }
        const QChar ca = a[i].toCaseFolded(), cb = b[j].toCaseFolded();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    return int(a.size() - i > 0) - int(b.size() - j > 0);
}

} // namespace

QStringList sortPortNames(QStringList names)
{
    names.removeDuplicates();
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = comparePortNames(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

qint32 baudRateForIndex(int index)
{
    if (index < 0 || index >= int(std::size(kBaudRates)))
        return 0;
    return kBaudRates[index];
}

IndicatorLink::IndicatorLink(QObject *parent)
    : QObject(parent), m_port(new QSerialPort(this)), m_hangupCheck(new QTimer(this))
{
    connect(m_port, &QSerialPort::readyRead, this, &IndicatorLink::onReadyRead);
    m_hangupCheck->setInterval(250);
    connect(m_hangupCheck, &QTimer::timeout, this, &IndicatorLink::checkHangup);
}

IndicatorLink::~IndicatorLink()
{
    close();
}

bool IndicatorLink::open(const zv::PortValues &port, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (m_port->isOpen())
        return fail(kMsgPortOpen);

    const QString name = port.port.trimmed();
    if (name.isEmpty())
        return fail(kMsgNoSuchPort);

    const qint32 baud = baudRateForIndex(port.baudRateIndex);
    if (baud == 0)
        return fail(paramError(QStringLiteral("скорость"), port.baudRateIndex));
    if (port.dataBitIndex < 0 || port.dataBitIndex > 3)
        return fail(paramError(QStringLiteral("биты данных"), port.dataBitIndex));
    static const QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                   QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                   QSerialPort::SpaceParity};
    if (port.parityIndex < 0 || port.parityIndex > 4)
        return fail(paramError(QStringLiteral("чётность"), port.parityIndex));
    // Terminals here know one or two stop bits only. The link only receives,
    // and a receiver checks the first stop bit alone, so a line sending 1.5
    // is read correctly with one.
    static const QSerialPort::StopBits stopBits[] = {QSerialPort::OneStop, QSerialPort::OneStop,
                                                     QSerialPort::TwoStop};
    if (port.stopBitIndex < 0 || port.stopBitIndex > 2)
        return fail(paramError(QStringLiteral("стоповые биты"), port.stopBitIndex));

    // Decided before the serial layer takes its lock file: a name that does
    // not exist or names no device is no busy port.
    {
        const QByteArray path = QFile::encodeName(devicePath(name));
        struct stat st {};
        if (::stat(path.constData(), &st) != 0)
            return fail(kMsgNoSuchPort);
        if (!S_ISCHR(st.st_mode))
            return fail(QStringLiteral("Устройство %1 не является COM-портом").arg(name));
    }

    m_port->setPortName(name);
    m_port->setBaudRate(baud);
    m_port->setDataBits(QSerialPort::DataBits(5 + port.dataBitIndex));
    // The parity bit is generated and checked by the line; a character with a
    // parity error is still delivered as received (raw), never replaced.
    m_port->setParity(parities[port.parityIndex]);
    m_port->setStopBits(stopBits[port.stopBitIndex]);
    // The indicator talks without handshake, whatever the settings file says.
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    m_port->setReadBufferSize(kReadBufferSize);

    if (!m_port->open(QIODevice::ReadOnly)) {
        const QString text = openFailureText(m_port->error(), name, m_port->errorString());
        m_port->clearError();
        return fail(text);
    }
    // Some indicators take their power or their "host present" signal from
    // the modem lines. A pseudo-terminal or an adapter without them refuses;
    // the link works without them, so that is not an open failure.
    m_port->setDataTerminalReady(true);
    m_port->setRequestToSend(true);
    // What waited in the line before polling was switched on is stale; the
    // first block shown must be a reading the indicator sends now.
    m_port->clear(QSerialPort::Input);
    m_port->clearError();
    m_hangupCheck->start();
    return true;
}

void IndicatorLink::close()
{
    m_hangupCheck->stop();
    if (!m_port->isOpen())
        return;
    m_port->setDataTerminalReady(false);
    m_port->setRequestToSend(false);
    m_port->clear(QSerialPort::AllDirections);
    m_port->close();
    m_port->clearError();
}

bool IndicatorLink::isOpen() const
{
    return m_port->isOpen();
}

QStringList IndicatorLink::availablePorts()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names << info.portName();
    return sortPortNames(names);
}

// A line that hung up stays readable with nothing to read; the serial layer
// would then wake the event loop over and over until the port is closed.
void IndicatorLink::checkHangup()
{
    if (!m_port->isOpen())
        return;
    pollfd p {int(m_port->handle()), POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0 || !(p.revents & (POLLHUP | POLLERR | POLLNVAL)))
        return;
    int waiting = 0;
    if (!(p.revents & POLLNVAL) && ::ioctl(p.fd, FIONREAD, &waiting) == 0 && waiting > 0)
        return; // deliver what is left first
    close();
}

void IndicatorLink::onReadyRead()
{
    const QByteArray block = m_port->readAll();
    if (m_purgeAfterRead)
        m_port->clear(QSerialPort::Input);
    if (!block.isEmpty())
        emit blockReceived(block);
}

} // namespace zv::scale
