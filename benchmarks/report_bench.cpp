// The results report of a session of 300 families and their 44,850 wedges: the report document written from the
// session's files, its text rendering, both together as the text command does them, and its preview.
#include "common/platform/application.h"
#include "common/platform/files.h"
#include "common/texts/avvio.h"
#include "main/reports/anteprima.h"
#include "main/reports/esportatxt.h"
#include "main/reports/tabulati.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "benchmarks/tabelle_bench.h"

#include <benchmark/benchmark.h>

namespace {

using bench::Scrivi;

// A program folder whose editor.cfg names a program that does nothing, and a session with its result tables.
struct Sessione300 {
  QTemporaryDir radice;
  QString dati;
  Sessione300() {
    const QString programma = radice.path() + "/program";
    dati = radice.path() + "/data";
    QDir().mkpath(programma);
    QDir().mkpath(dati);
    Scrivi(programma + "/editor.cfg", "\r\n/bin/true\r\n");
    plat::SetProgramFolder(programma);
    QDir::setCurrent(dati);
    Avvio.NumeroLingua = 1;
    bench::ScriviSessione(dati, "Prova\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n", 300, 1, 1);
  }
};

Sessione300& Ambiente() {
  static Sessione300 s;
  return s;
}

void BM_DocumentoTabulati(benchmark::State& state) {
  Ambiente();
  QString documento;
  for (auto _ : state)
    if (!ScriviTabulati("bench.ses", documento)) state.SkipWithError("report not written");
}
BENCHMARK(BM_DocumentoTabulati)->Unit(benchmark::kMillisecond);

void BM_TestoTabulati(benchmark::State& state) {
  Sessione300& s = Ambiente();
  QString documento;
  ScriviTabulati("bench.ses", documento);
  for (auto _ : state) {
    state.PauseTiming();
    QFile::remove(s.dati + "/bench.txt");
    state.ResumeTiming();
    EsportaDocumentoTXT(documento);
  }
}
BENCHMARK(BM_TestoTabulati)->Unit(benchmark::kMillisecond);

// What the text command does: the document written, then rendered as text.
void BM_DocumentoETestoTabulati(benchmark::State& state) {
  Sessione300& s = Ambiente();
  QString documento;
  for (auto _ : state) {
    state.PauseTiming();
    QFile::remove(s.dati + "/bench.txt");
    state.ResumeTiming();
    if (!ScriviTabulati("bench.ses", documento)) state.SkipWithError("report not written");
    EsportaDocumentoTXT(documento);
  }
}
BENCHMARK(BM_DocumentoETestoTabulati)->Unit(benchmark::kMillisecond);

void BM_AnteprimaTabulati(benchmark::State& state) {
  Ambiente();
  QString documento;
  ScriviTabulati("bench.ses", documento);
  for (auto _ : state) {
    AnteprimaDocumento(documento);
    state.PauseTiming();
    CaricaForm1()->Unload();
    plat::DeleteClosedWindows();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AnteprimaTabulati)->Unit(benchmark::kMillisecond)->Iterations(3);

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
