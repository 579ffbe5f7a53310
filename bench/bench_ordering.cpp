// The order editor on a catalogue of 20,000 drugs: opening it against reading the table raw, a
// search keystroke, and adding a line on SQLite.
#include "BenchSummary.h"
#include "RawRead.h"
#include "TestDb.h"
#include "data/AppGlobals.h"
#include "data/FieldText.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ordering/FormUserBuy.h"
#include "ui/Dialogs.h"
#include "ui/FLXMod.h"
#include "ui/FlexGridView.h"

#include <QLineEdit>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {
constexpr int CatalogueSize = 20000;

bool prepareCatalogue() {
    static bool ready = false;
    if (ready)
        return true;
    if (!TestDb::open(QStringLiteral("sqlite")))
        return false;
    TestDb::exec(QStringLiteral("BEGIN"));
    for (int i = 0; i < CatalogueSize; ++i) {
        const int k = (i * 7919) % CatalogueSize;
        TestDb::exec(
            QStringLiteral(
                "INSERT INTO bowndrugs (drug,price,disc,lastdate) VALUES('%1 %2','%3','%4','260101')")
                .arg(i % 3 ? QStringLiteral("Drug") : QStringLiteral("دواء"))
                .arg(k, 5, 10, QLatin1Char('0'))
                .arg(5 + (k % 400) * 0.25)
                .arg(k % 20));
    }
    TestDb::exec(QStringLiteral("COMMIT"));
    ModSQL::ConnectServer();
    Dialogs::setTestMode(true);
    ready = true;
    return true;
}

} // namespace

static void catalogue_raw_read_20k(benchmark::State& state) {
    if (!prepareCatalogue()) {
        state.SkipWithError("no database");
        return;
    }
    for (auto _ : state)
        if (RawRead::ms(QStringLiteral("SELECT * FROM bowndrugs ;")) < 0)
            state.SkipWithError("raw read failed");
}
BENCHMARK(catalogue_raw_read_20k)->Unit(benchmark::kMillisecond)->Iterations(15);

// Opening only (closing the window is not part of it), each round after a raw read of the same rows.
static void order_editor_open_20k(benchmark::State& state) {
    if (!prepareCatalogue()) {
        state.SkipWithError("no database");
        return;
    }
    std::vector<double> raw, open;
    for (auto _ : state) {
        raw.push_back(RawRead::ms(QStringLiteral("SELECT * FROM bowndrugs ;")));
        const auto t0 = std::chrono::steady_clock::now();
        FormUserBuy w;
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(w.Xxx1->grid().Rows());
        open.push_back(ms);
        state.SetIterationTime(ms / 1000);
    }
    BenchSummary::add("order_editor_open_vs_raw_read_20k", RawRead::median(open) / RawRead::median(raw), "x");
}
BENCHMARK(order_editor_open_20k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(15);

static void search_keystroke_20k(benchmark::State& state) {
    if (!prepareCatalogue()) {
        state.SkipWithError("no database");
        return;
    }
    FormUserBuy w;
    const QStringList texts = {QStringLiteral("d"),      QStringLiteral("dr"),      QStringLiteral("dru"),
                               QStringLiteral("drug 1"), QStringLiteral("drug 12"), QStringLiteral("دو")};
    int i = 0;
    for (auto _ : state)
        w.TextSearch->setText(texts[i++ % texts.size()]);
}
BENCHMARK(search_keystroke_20k)->Unit(benchmark::kMicrosecond);

static void add_line_sqlite(benchmark::State& state) {
    if (!prepareCatalogue()) {
        state.SkipWithError("no database");
        return;
    }
    AppGlobals::LoginTel = QStringLiteral("01012345678");
    AppGlobals::LoginMarkaz = QStringLiteral("دسوق");
    AppGlobals::LoginMohafaza = AppGlobals::Mohafaza;
    FormUserBuy w;
    Dialogs::setNextAnswer(Dialogs::vbYes);
    w.ButonWebNewOrder_Click();
    int row = 1;
    for (auto _ : state) {
        state.PauseTiming();
        // A full order is emptied again so every round adds into a free slot.
        if (w.Xxx2->grid().TextMatrix(100, 0).size() > 0) {
            for (int r = 1; r <= 100; ++r)
                for (int c = 0; c < 5; ++c)
                    w.Xxx2->grid().setTextMatrix(r, c, QString());
            w.SaveTable();
        }
        Dialogs::setNextInput(QStringLiteral("3"));
        row = row % (CatalogueSize - 1) + 1;
        state.ResumeTiming();
        w.Xxx1->clickCell(row, 3);
    }
    Dialogs::clearAnswers();
}
BENCHMARK(add_line_sqlite)->Unit(benchmark::kMillisecond);
