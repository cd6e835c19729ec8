// zvtool indicator: the weight indicator simulator. Sends telegrams to a
// serial device or to a pseudo-terminal that the workstation opens as its port.
#include "commands.h"

#include "pseudoterminal.h"
#include "simulator.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace zv::scale;

namespace {

const char kHelp[] = R"(usage: zvtool indicator (--pty | --device PATH) [options]

Sends weight telegrams the way the platform's weight indicator does.

Where to:
  --pty               create a pseudo-terminal; its slave path (/dev/pts/N) is the
                      first line printed, for the workstation's port name
  --device PATH       write to a serial device (or the writing end of a null-modem pair)
  --baud N            line speed of --device (default 9600)

What (weights are always given in kilograms):
  --mode constant     --weight N (default 12340): the same reading forever
  --mode steps        --weights 5020,7310,7290 --hold SECONDS (default 2)
  --mode static       axle by axle: --axles 5020,7310,7290, each axle driven on
                      (--ramp 1 s), standing still (--hold 5 s), driven off; the
                      platform empty between axles (--gap 2 s) and after the
                      vehicle (--tail 5 s); --lead 3 s of empty platform first
  --mode vehicle      a vehicle crossing the platform without stopping:
                      --axles 6000,8000,8000 --spacing 3200,1300 (mm)
                      --speed 5 (km/h) --platform 600 (mm) --contact 250 (mm, tyre patch)
                      --rate 50 (readings per second) --noise 20 (kg) --seed 1
  --empty-axles LIST  with --loop in static or vehicle mode: every second pass is
                      the same vehicle empty, with these axle loads
  --noise KG          disturbance while the weight moves (static, vehicle)
  --loop              repeat the scenario forever (static and vehicle passes
                      alternate loaded and empty)
  --duration SECONDS  stop after this time (default: scenario end, or never with --loop
                      and in constant mode)

How:
  --decimal           tonnes with two decimals ("12.34") instead of whole
                      kilograms ("0012340")
  --no-newline        no CR LF after a telegram
  --decorate          status, sign and unit: "ST,GS,+0012340kg", "US,GS,+12.34 t"
  --interval MS       time between telegrams (default 100; vehicle mode 1000/rate)

Without --mode the static mode is used; with --loop and no axles given, a
loaded vehicle (5020,7310,7290) and the same vehicle empty (3020,2150,2130)
take turns. The simulator keeps sending while nobody has the port open.
)";

struct Failure {
    QString text;
};

double toNumber(const QCommandLineParser &p, const QString &name, double fallback, double min, double max)
{
    if (!p.isSet(name))
        return fallback;
    bool ok = false;
    const double v = p.value(name).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < min || v > max)
        throw Failure {QStringLiteral("--%1: \"%2\" is not a number from %3 to %4")
                           .arg(name, p.value(name))
                           .arg(min)
                           .arg(max)};
    return v;
}

std::vector<double> toList(const QCommandLineParser &p, const QString &name, std::vector<double> fallback,
                           double min)
{
    if (!p.isSet(name))
        return fallback;
    std::vector<double> values;
    const QStringList parts = p.value(name).split(QLatin1Char(','));
    for (const QString &part : parts) {
        bool ok = false;
        const double v = part.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v) || v < min)
            throw Failure {QStringLiteral("--%1: \"%2\" is not a comma-separated list of numbers of at least %3")
                               .arg(name, p.value(name))
                               .arg(min)};
        values.push_back(v);
    }
    return values;
}

speed_t speedConstant(int baud)
{
    switch (baud) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return 0;
    }
}

int openDevice(const QString &path, int baud)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw Failure {QStringLiteral("cannot open %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)))};
    if (::isatty(fd)) {
        termios tio {};
        const speed_t speed = speedConstant(baud);
        if (speed == 0) {
            ::close(fd);
            throw Failure {QStringLiteral("--baud: %1 is not a standard line speed").arg(baud)};
        }
        if (::tcgetattr(fd, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::cfsetispeed(&tio, speed);
            ::cfsetospeed(&tio, speed);
            tio.c_cflag |= CLOCAL;
            ::tcsetattr(fd, TCSANOW, &tio);
        }
    }
    return fd;
}

// The passes the run sends in turn.
struct Plan {
    std::vector<SimScenario> passes;
    bool endless = false; // constant mode and --loop
};

Plan buildPlan(const QCommandLineParser &p)
{
    const QString mode = p.isSet(QStringLiteral("mode")) ? p.value(QStringLiteral("mode")) : QStringLiteral("static");
    const bool loop = p.isSet(QStringLiteral("loop"));
    Plan plan;
    plan.endless = loop;

    if (mode == QLatin1String("constant")) {
        const int interval = int(toNumber(p, QStringLiteral("interval"), 100, 1, 60000));
        plan.passes.push_back(constantScenario(toNumber(p, QStringLiteral("weight"), 12340, -1e7, 1e7), interval));
        plan.endless = true;
    } else if (mode == QLatin1String("steps")) {
        const int interval = int(toNumber(p, QStringLiteral("interval"), 100, 1, 60000));
        const auto weights = toList(p, QStringLiteral("weights"), {5020, 7310, 7290}, -1e7);
        plan.passes.push_back(stepScenario(weights, toNumber(p, QStringLiteral("hold"), 2, 0, 3600), interval));
    } else if (mode == QLatin1String("static")) {
        const int interval = int(toNumber(p, QStringLiteral("interval"), 100, 1, 60000));
        StaticWeighing w;
        const bool ownAxles = p.isSet(QStringLiteral("axles"));
        w.axlesKg = toList(p, QStringLiteral("axles"), w.axlesKg, 0);
        w.leadSeconds = toNumber(p, QStringLiteral("lead"), w.leadSeconds, 0, 3600);
        w.rampSeconds = toNumber(p, QStringLiteral("ramp"), w.rampSeconds, 0, 3600);
        w.holdSeconds = toNumber(p, QStringLiteral("hold"), w.holdSeconds, 0, 3600);
        w.gapSeconds = toNumber(p, QStringLiteral("gap"), w.gapSeconds, 0, 3600);
        w.tailSeconds = toNumber(p, QStringLiteral("tail"), w.tailSeconds, 0, 3600);
        w.noiseKg = toNumber(p, QStringLiteral("noise"), 0, 0, 1e6);
        w.seed = std::uint32_t(toNumber(p, QStringLiteral("seed"), 1, 0, 4294967295.0));
        plan.passes.push_back(staticScenario(w, interval));
        const std::vector<double> emptyDefault = ownAxles ? std::vector<double>() : std::vector<double> {3020, 2150, 2130};
        const auto empty = toList(p, QStringLiteral("empty-axles"), emptyDefault, 0);
        if (loop && !empty.empty()) {
            w.axlesKg = empty;
            plan.passes.push_back(staticScenario(w, interval));
        }
    } else if (mode == QLatin1String("vehicle")) {
        VehicleCrossing v;
        const bool ownAxles = p.isSet(QStringLiteral("axles"));
        v.axlesKg = toList(p, QStringLiteral("axles"), v.axlesKg, 0);
        v.spacingMm = toList(p, QStringLiteral("spacing"), v.spacingMm, 1);
        v.speedKmh = toNumber(p, QStringLiteral("speed"), v.speedKmh, 0.01, 200);
        v.platformMm = toNumber(p, QStringLiteral("platform"), v.platformMm, 1, 100000);
        v.contactMm = toNumber(p, QStringLiteral("contact"), v.contactMm, 1, 5000);
        v.readingsPerSecond = int(toNumber(p, QStringLiteral("rate"), v.readingsPerSecond, 1, 1000));
        v.noiseKg = toNumber(p, QStringLiteral("noise"), v.noiseKg, 0, 1e6);
        v.seed = std::uint32_t(toNumber(p, QStringLiteral("seed"), 1, 0, 4294967295.0));
        v.leadSeconds = toNumber(p, QStringLiteral("lead"), loop ? 3 : v.leadSeconds, 0, 3600);
        v.tailSeconds = toNumber(p, QStringLiteral("tail"), loop ? 5 : v.tailSeconds, 0, 3600);
        const QString bad = validateCrossing(v);
        if (!bad.isEmpty())
            throw Failure {bad};
        const int interval = int(toNumber(p, QStringLiteral("interval"), 1000.0 / v.readingsPerSecond, 1, 60000));
        auto pass = vehicleScenario(v);
        pass.intervalMs = interval;
        plan.passes.push_back(pass);
        const std::vector<double> emptyDefault = ownAxles ? std::vector<double>() : std::vector<double> {3000, 2400, 2400};
        const auto empty = toList(p, QStringLiteral("empty-axles"), emptyDefault, 0);
        if (loop && !empty.empty()) {
            v.axlesKg = empty;
            v.seed += 1;
            const QString badEmpty = validateCrossing(v);
            if (!badEmpty.isEmpty())
                throw Failure {QStringLiteral("--empty-axles: ") + badEmpty};
            pass = vehicleScenario(v);
            pass.intervalMs = interval;
            plan.passes.push_back(pass);
        }
    } else {
        throw Failure {QStringLiteral("--mode: \"%1\" is not one of constant, steps, static, vehicle").arg(mode)};
    }
    for (const auto &pass : plan.passes)
        if (pass.readings.empty())
            throw Failure {QStringLiteral("the scenario has no readings: give a longer time")};
    return plan;
}

} // namespace

int zvtool::runIndicator(const QStringList &args)
{
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QStringList valued {QStringLiteral("device"),  QStringLiteral("baud"),   QStringLiteral("mode"),
                              QStringLiteral("weight"),  QStringLiteral("weights"), QStringLiteral("hold"),
                              QStringLiteral("axles"),   QStringLiteral("empty-axles"), QStringLiteral("spacing"),
                              QStringLiteral("speed"),   QStringLiteral("platform"), QStringLiteral("contact"),
                              QStringLiteral("rate"),    QStringLiteral("noise"),  QStringLiteral("seed"),
                              QStringLiteral("lead"),    QStringLiteral("ramp"),   QStringLiteral("gap"),
                              QStringLiteral("tail"),    QStringLiteral("interval"), QStringLiteral("duration")};
    for (const QString &name : valued)
        p.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    for (const char *flag : {"pty", "loop", "decimal", "no-newline", "decorate", "help"})
        p.addOption(QCommandLineOption(QString::fromLatin1(flag)));

    QTextStream err(stderr);
    if (!p.parse(QStringList {QStringLiteral("zvtool indicator")} + args)) {
        err << "zvtool indicator: " << p.errorText() << "\n(see zvtool indicator --help)\n";
        return 2;
    }
    if (p.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << kHelp;
        return 0;
    }
    if (!p.positionalArguments().isEmpty()) {
        err << "zvtool indicator: unexpected argument \"" << p.positionalArguments().first() << "\"\n";
        return 2;
    }
    if (p.isSet(QStringLiteral("pty")) == p.isSet(QStringLiteral("device"))) {
        err << "zvtool indicator: give either --pty or --device PATH\n(see zvtool indicator --help)\n";
        return 2;
    }

    TelegramForm form;
    form.decimal = p.isSet(QStringLiteral("decimal"));
    form.lineEnd = !p.isSet(QStringLiteral("no-newline"));
    form.decorated = p.isSet(QStringLiteral("decorate"));

    Plan plan;
    double durationSeconds = 0;
    PseudoTerminal pty;
    int deviceFd = -1;
    try {
        plan = buildPlan(p);
        durationSeconds = toNumber(p, QStringLiteral("duration"), 0, 0, 1e9);
        if (p.isSet(QStringLiteral("device")))
            deviceFd = openDevice(p.value(QStringLiteral("device")),
                                  int(toNumber(p, QStringLiteral("baud"), 9600, 1, 4000000)));
    } catch (const Failure &f) {
        err << "zvtool indicator: " << f.text << "\n";
        return 2;
    }
    if (p.isSet(QStringLiteral("pty"))) {
        QString why;
        if (!pty.open(&why)) {
            err << "zvtool indicator: " << why << "\n";
            return 1;
        }
        // The first line is the port name for the workstation; scripts wait for it.
        std::fprintf(stdout, "%s\n", QFile::encodeName(pty.slavePath()).constData());
        std::fflush(stdout);
    }
    const int fd = deviceFd >= 0 ? deviceFd : pty.masterFd();

    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    const auto stopAt = durationSeconds > 0
                            ? started + std::chrono::duration_cast<Clock::duration>(
                                  std::chrono::duration<double>(durationSeconds))
                            : Clock::time_point::max();
    auto next = started;
    for (size_t pass = 0;; ++pass) {
        if (!plan.endless && pass == plan.passes.size())
            break;
        const SimScenario &s = plan.passes[pass % plan.passes.size()];
        const auto step = std::chrono::milliseconds(s.intervalMs);
        for (const SimReading &r : s.readings) {
            if (Clock::now() >= stopAt)
                return 0;
            if (writeToLine(fd, makeTelegram(r.kg, r.stable, form)) == LineWrite::Failed) {
                err << "zvtool indicator: writing failed: " << QString::fromLocal8Bit(std::strerror(errno)) << "\n";
                return 1;
            }
            pty.drainInput();
            // Paced by the clock, not by the sleeps: a late wake-up does not
            // stretch the whole run.
            next += step;
            if (Clock::now() - next > std::chrono::seconds(1))
                next = Clock::now(); // after a stop (suspended process): resume, no burst
            std::this_thread::sleep_until(next);
        }
    }
    if (deviceFd >= 0)
        ::close(deviceFd);
    return 0;
}
