// The results report of a session of 300 families and their 44,850 wedges: the report document written from the
// session's files, its text rendering, both together as the text command does them, and its preview.
#include "common/platform/files.h"
#include "common/texts/avvio.h"
#include "main/reports/anteprima.h"
#include "main/reports/esportatxt.h"
#include "main/reports/tabulati.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void Scrivi(const QString& percorso, const QString& testo) {
  QFile f(percorso);
  f.open(QIODevice::WriteOnly);
  f.write(testo.toLatin1());
}

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
    Scrivi(dati + "/bench.tit", "Prova\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    Scrivi(dati + "/bench.fro", "70\r\n125\r\n10\r\n125\r\n2\r\n35\r\n2.6\r\n0.981\r\n25\r\n");
    QString fam = "N. Fam.\tImmers.\tInclinaz.\tApertura\tFrequenza\tPhi\tCoesione\r\n", pgm;
    for (int k = 1; k <= 300; ++k) {
      fam += QString("%1\t%2.0\t%3.0\t1.5\t0.75\t35.00\t20.00\r\n").arg(k).arg(k % 360).arg(k % 90);
      pgm += QString("%1\r\n%2\r\n").arg(30 + k % 10).arg(k % 5);
    }
    QString gmc = "imm.P1\tinc.P1\tsciv.P1\timm.P2\tinc.P2\tsciv.P2\tF.S.\tVolume\r\n";
    for (int i = 1; i <= 300; ++i)
      for (int j = i + 1; j <= 300; ++j)
        gmc += QString("%1.0\t%2.0\tSI\t%3.0\t%4.0\tNO\t%5\t%6\r\n")
                   .arg(i % 360).arg(i % 90).arg(j % 360).arg(j % 90).arg((i * j) % 700 / 100.0, 0, 'f', 2)
                   .arg((i + j) * 1.25, 0, 'f', 2);
    Scrivi(dati + "/bench.FAM", fam);
    Scrivi(dati + "/bench.pgm", pgm);
    Scrivi(dati + "/bench.GMC", gmc);
    Scrivi(dati + "/bench.PER", "Componente\tModulo\tInclinazione\tDirezione\r\nMassima\t8.16E-04\t12.0\t302.0\r\n"
                                "Media\t2.10E-04\t8.0\t31.0\r\nMinima\t5.50E-05\t76.0\t159.0\r\n");
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
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AnteprimaTabulati)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qunsetenv("FRATTIX_UI_SCRIPT");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
