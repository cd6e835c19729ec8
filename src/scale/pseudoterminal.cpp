#include "pseudoterminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace zv::scale {

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open(QString *error)
{
    close();
    auto fail = [this, error](const char *step) {
        const int err = errno;
        if (error)
            *error = QStringLiteral("Не удалось создать псевдотерминал (%1): %2")
                         .arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(err)));
        close();
        return false;
    };

    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0)
        return fail("grantpt");
    if (::unlockpt(m_master) != 0)
        return fail("unlockpt");
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0)
        return fail("ptsname");
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);

    // Terminal settings set through the master apply to the slave: raw, so
    // no byte is translated and nothing is echoed back.
    termios tio {};
    if (::tcgetattr(m_master, &tio) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&tio);
    if (::tcsetattr(m_master, TCSANOW, &tio) != 0)
        return fail("tcsetattr");

    m_slavePath = QString::fromLocal8Bit(name);
    return true;
}

void PseudoTerminal::close()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
    m_slavePath.clear();
}

LineWrite writeToLine(int fd, const QByteArray &data)
{
    if (fd < 0)
        return LineWrite::Failed;
    const char *p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n > 0) {
            p += n;
            left -= n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: the buffer is full because nobody reads the other end;
        // EIO: the last reader closed the slave of a pseudo-terminal.
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EIO))
            return LineWrite::Dropped;
        return LineWrite::Failed;
    }
    return LineWrite::Written;
}

QByteArray PseudoTerminal::readAvailable()
{
    QByteArray data;
    if (m_master < 0)
        return data;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0)
            data.append(buf, n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            return data; // EAGAIN: nothing more; EIO: no slave open
    }
}

} // namespace zv::scale
