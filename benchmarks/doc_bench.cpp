// The Word export of the results report of a session of 30 families and their 435 wedges: the whole export as the
// DOC command does it (report document, wenlow, viewer), and wenlow's run alone on the document.
#include "common/platform/files.h"
#include "common/platform/process.h"
#include "common/texts/avvio.h"
#include "main/reports/esportadoc.h"
#include "main/reports/tabulati.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "benchmarks/tabelle_bench.h"

#include <benchmark/benchmark.h>

namespace {

using bench::Scrivi;

// A program folder with wenlow, its text table and a viewer that does nothing; a session with its result tables.
struct Sessione30 {
  QTemporaryDir radice;
  QString dati;
  Sessione30() {
    const QString programma = radice.path() + "/program";
    dati = radice.path() + "/data";
    QDir().mkpath(programma);
    QDir().mkpath(dati);
    for (const char* f : {"wenlow", "texts01.txt"})
      QFile::copy(QStringLiteral(FRATTIX_BENCH_BIN_DIR "/") + f, programma + "/" + f);
    QFile::setPermissions(programma + "/wenlow", QFile::permissions(QStringLiteral(FRATTIX_BENCH_BIN_DIR "/wenlow")));
    Scrivi(programma + "/language.cfg", " 1 \r\n");
    Scrivi(programma + "/editor.cfg", "/bin/true\r\n\r\n");
    plat::SetProgramFolder(programma);
    QDir::setCurrent(dati);
    Avvio.NumeroLingua = 1;
    bench::ScriviSessione(dati, "Prova\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n", 30, 12, 3);
  }
};

Sessione30& Ambiente() {
  static Sessione30 s;
  return s;
}

// What the DOC command does: the report document written, wenlow run on it, the viewer started.
void BM_EsportaTabulatiDOC(benchmark::State& state) {
  Sessione30& s = Ambiente();
  QString documento;
  for (auto _ : state) {
    state.PauseTiming();
    QFile::remove(s.dati + "/bench.DOC");  // no overwrite question
    state.ResumeTiming();
    if (!ScriviTabulati("bench.ses", documento)) state.SkipWithError("report not written");
    EsportaDocumentoDOC(documento);
  }
  if (!QFile::exists(s.dati + "/bench.DOC")) state.SkipWithError("no Word document");
}
BENCHMARK(BM_EsportaTabulatiDOC)->Unit(benchmark::kMillisecond);

// wenlow alone: start-up, the document interpreted, the package written.
void BM_Wenlow(benchmark::State& state) {
  Sessione30& s = Ambiente();
  QString documento;
  ScriviTabulati("bench.ses", documento);
  QByteArray uscita;
  for (auto _ : state) {
    state.PauseTiming();
    QFile::remove(s.dati + "/bench.DOC");
    state.ResumeTiming();
    if (!plat::RunChildAndWaitForOutput(QStringLiteral("wenlow.exe"), {documento}, uscita))
      state.SkipWithError("wenlow not started");
  }
}
BENCHMARK(BM_Wenlow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);  // --help prints the options and ends the program
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qunsetenv("FRATTIX_UI_SCRIPT");
  QApplication app(argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
