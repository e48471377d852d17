// Printing the results report of a session of 30 families and their 435 wedges to a PDF file: the printer
// renderer from the report document to the finished file (the message that names the file is left out).
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/avvio.h"
#include "main/reports/stampa.h"
#include "main/reports/tabulati.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "benchmarks/tabelle_bench.h"

#include <benchmark/benchmark.h>

namespace {

using bench::Scrivi;

struct Sessione30 {
  QTemporaryDir radice;
  QString dati, pdf;
  Sessione30() {
    const QString programma = radice.path() + "/program";
    dati = radice.path() + "/data";
    pdf = radice.path() + "/pdf";
    for (const QString& c : {programma, dati, pdf}) QDir().mkpath(c);
    plat::SetProgramFolder(programma);
    QDir::setCurrent(dati);
    qputenv("FRATTIX_PDF_DIR", pdf.toLocal8Bit());
    Avvio.NumeroLingua = 1;
    bench::ScriviSessione(dati, "Prova\r\nFronte est\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n", 30, 12, 3);
  }
};

void BM_StampaTabulatiPdf(benchmark::State& state) {
  static Sessione30 s;
  QString documento;
  if (!ScriviTabulati("bench.ses", documento)) state.SkipWithError("report not written");
  for (auto _ : state) {
    plat::SeqReader r(documento);
    QString riga;
    while (r.ReadLine(riga)) StampaRigaDocumento(riga);
    if (!FineDocumentoStampa()) state.SkipWithError("print job refused");
    state.PauseTiming();
    for (const QString& f : QDir(s.pdf).entryList(QDir::Files)) QFile::remove(s.pdf + "/" + f);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StampaTabulatiPdf)->Unit(benchmark::kMillisecond);

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
