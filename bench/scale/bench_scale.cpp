// Receive path of the indicator link: what happens to every block from the
// port (read, weight extraction, silence-watch counter).
//
// At 921 600 baud (8N1) the line carries 92 160 bytes/s: a 9-byte telegram
// "0012340\r\n" every 98 us at most. The handler must stay far below that.
#include "indicatorlink.h"
#include "pseudoterminal.h"
#include "simulator.h"
#include "weighttelegram.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace zv::scale;

namespace {

// What the main window does with a block once the link has read it.
struct Handler {
    SilenceWatch watch;
    QString shown;
    bool decimal = false;
    void onBlock(const QByteArray &block)
    {
        watch.blockReceived();
        const QString w = extractWeight(block, decimal);
        if (decimal || !w.isEmpty())
            shown = w;
    }
};

TelegramForm formFor(int decorated, int decimal)
{
    TelegramForm f;
    f.decorated = decorated != 0;
    f.decimal = decimal != 0;
    return f;
}

// The handler alone, on blocks of `range(0)` telegrams (1: one telegram per
// event; 32: a burst that piled up while the user-interface thread was busy).
void BM_HandlerOnBlock(benchmark::State &state)
{
    const int telegrams = int(state.range(0));
    Handler h;
    h.decimal = state.range(2) != 0;
    QByteArray block;
    for (int i = 0; i < telegrams; ++i)
        block += makeTelegram(12340 + i, true, formFor(int(state.range(1)), int(state.range(2))));
    for (auto _ : state) {
        h.onBlock(block);
        benchmark::DoNotOptimize(h.shown);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * block.size());
    state.counters["blocks/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HandlerOnBlock)
    ->ArgNames({"telegrams", "decorated", "decimal"})
    ->Args({1, 0, 0})
    ->Args({1, 1, 0})
    ->Args({1, 0, 1})
    ->Args({32, 0, 0})
    ->Args({32, 1, 1});

// The whole receive path through the kernel: a telegram written into a
// pseudo-terminal, the link's read on the event loop, the handler.
// One iteration is one block from write to handled.
void BM_ReceiveThroughPty(benchmark::State &state)
{
    PseudoTerminal pty;
    QString error;
    if (!pty.open(&error)) {
        state.SkipWithError(error.toLocal8Bit().constData());
        return;
    }
    IndicatorLink link;
    zv::PortValues port;
    port.port = pty.slavePath();
    port.baudRateIndex = 17; // 921600
    if (!link.open(port, &error)) {
        state.SkipWithError(error.toLocal8Bit().constData());
        return;
    }
    Handler h;
    qint64 handled = 0;
    QEventLoop loop;
    QObject::connect(&link, &IndicatorLink::blockReceived, [&](const QByteArray &block) {
        h.onBlock(block);
        ++handled;
        loop.quit();
    });
    QByteArray telegram;
    for (int i = 0; i < int(state.range(0)); ++i)
        telegram += makeTelegram(12340, true, TelegramForm {});
    for (auto _ : state) {
        const qint64 before = handled;
        pty.write(telegram);
        while (handled == before)
            loop.exec();
    }
    state.SetItemsProcessed(handled);
    state.SetBytesProcessed(state.iterations() * telegram.size());
    state.counters["blocks/s"] = benchmark::Counter(double(handled), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReceiveThroughPty)->ArgName("telegrams")->Arg(1)->Arg(32)->UseRealTime();

// The line under load: a writer thread sends telegrams back to back at the
// pace of 921 600 baud (pace_us 0: 9 bytes every 97.7 us) or one every
// pace_us microseconds (20000: 50 readings a second, the dynamic mode), for
// `ms` milliseconds, while the link handles them on the event loop. With
// bytewise_baud the bytes of a telegram come one by one at that speed, as a
// UART hands them over. purge 1 empties the receive buffer after each read.
// Reports handled blocks per second and the share of the bytes sent that
// reached the handler (delivered%).
void BM_LineRate921600(benchmark::State &state)
{
    PseudoTerminal pty;
    QString error;
    if (!pty.open(&error)) {
        state.SkipWithError(error.toLocal8Bit().constData());
        return;
    }
    IndicatorLink link;
    zv::PortValues port;
    port.port = pty.slavePath();
    port.baudRateIndex = 17;
    if (!link.open(port, &error)) {
        state.SkipWithError(error.toLocal8Bit().constData());
        return;
    }
    link.setPurgeAfterRead(state.range(3) != 0);
    Handler h;
    qint64 blocks = 0, bytes = 0, sent = 0;
    QObject::connect(&link, &IndicatorLink::blockReceived, [&](const QByteArray &block) {
        h.onBlock(block);
        ++blocks;
        bytes += block.size();
    });
    const QByteArray telegram = makeTelegram(12340, true, TelegramForm {});
    const auto pace = state.range(0) > 0
                          ? std::chrono::nanoseconds(state.range(0) * 1000)
                          : std::chrono::nanoseconds(qint64(telegram.size()) * 10 * 1'000'000'000 / 921600);
    const auto byteTime = std::chrono::nanoseconds(state.range(2) > 0 ? 10'000'000'000 / state.range(2) : 0);
    for (auto _ : state) {
        std::atomic<bool> done {false};
        std::thread writer([&] {
            auto next = std::chrono::steady_clock::now();
            const auto end = next + std::chrono::milliseconds(state.range(1));
            while (next < end) {
                if (byteTime.count() == 0) {
                    if (pty.write(telegram) == LineWrite::Written)
                        sent += telegram.size();
                } else {
                    // Byte by byte, as a UART at that speed hands them over.
                    auto at = next;
                    for (char c : telegram) {
                        if (pty.write(QByteArray(1, c)) == LineWrite::Written)
                            ++sent;
                        at += byteTime;
                        std::this_thread::sleep_until(at);
                    }
                }
                next += pace;
                std::this_thread::sleep_until(next);
            }
            done = true;
        });
        // Sleep in the event loop like the workstation does; a timer looks
        // for the writer's end.
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (done)
                loop.quit();
        });
        poll.start(10);
        loop.exec();
        writer.join();
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    state.counters["blocks/s"] = benchmark::Counter(double(blocks), benchmark::Counter::kIsRate);
    state.counters["delivered%"] = sent ? 100.0 * double(bytes) / double(sent) : 0.0;
    state.counters["telegrams/block"] = blocks ? double(bytes) / double(telegram.size()) / double(blocks) : 0.0;
}
BENCHMARK(BM_LineRate921600)
    ->ArgNames({"pace_us", "ms", "bytewise_baud", "purge"})
    ->Args({0, 250, 0, 0})
    ->Args({0, 250, 0, 1})
    ->Args({20000, 2000, 0, 0})
    ->Args({20000, 2000, 9600, 0})
    ->Args({20000, 2000, 9600, 1})
    ->Args({20000, 2000, 19200, 1})
    ->Args({20000, 2000, 921600, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4);

} // namespace
