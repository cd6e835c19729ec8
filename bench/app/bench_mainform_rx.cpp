// The main window's receive handler with its widgets: every block from the
// indicator goes through BComPort1RxChar (silence counter, weight extraction,
// the current-weight box, and the capture memo while a dynamic measurement
// runs). At 921 600 baud a 9-byte telegram can arrive every 98 us; in the
// dynamic mode a reading comes every 20 ms and a capture holds up to 10 000
// of them.
#include <QApplication>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

#include "mainform.h"
#include "messages.h"
#include "settingspage.h"

namespace {

TMainForm &window()
{
    static TMainForm *w = new TMainForm; // never shown: no start-up preparation
    return *w;
}

void BM_RxBlockToWeightBox(benchmark::State &state)
{
    TMainForm &w = window();
    w.CaptureOn = false;
    const QByteArray blocks[] = {"0012340\r\n", "0012350\r\n"};
    int i = 0;
    for (auto _ : state) {
        w.BComPort1RxChar(blocks[i]);
        i ^= 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RxBlockToWeightBox);

// Capture into the memo: the cost of one block when the memo already holds
// `lines` readings.
void BM_RxBlockDuringCapture(benchmark::State &state)
{
    TMainForm &w = window();
    QPlainTextEdit *memo = w.settingsPage()->Memo1;
    const int lines = int(state.range(0));
    memo->setPlainText(QString(QStringLiteral("0012340\n")).repeated(lines));
    w.CaptureOn = true;
    const QByteArray block("0012340\r\n");
    for (auto _ : state)
        w.BComPort1RxChar(block);
    w.CaptureOn = false;
    memo->clear();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RxBlockDuringCapture)->ArgName("lines")->Arg(0)->Arg(1000)->Arg(10000);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zv::Messages::setScripted(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
