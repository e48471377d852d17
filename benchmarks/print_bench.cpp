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

#include <benchmark/benchmark.h>

namespace {

void Scrivi(const QString& percorso, const QString& testo) {
  QFile f(percorso);
  f.open(QIODevice::WriteOnly);
  f.write(testo.toLatin1());
}

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
    Scrivi(dati + "/bench.tit", "Prova\r\nFronte est\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    Scrivi(dati + "/bench.fro", "70\r\n125\r\n10\r\n125\r\n2\r\n35\r\n2.6\r\n0.981\r\n25\r\n");
    QString fam = "N. Fam.\tImmers.\tInclinaz.\tApertura\tFrequenza\tPhi\tCoesione\r\n", pgm;
    for (int k = 1; k <= 30; ++k) {
      fam += QString("%1\t%2.0\t%3.0\t1.5\t0.75\t35.00\t20.00\r\n").arg(k).arg(k * 12 % 360).arg(k * 3 % 90);
      pgm += QString("%1\r\n%2\r\n").arg(30 + k % 10).arg(k % 5);
    }
    QString gmc = "imm.P1\tinc.P1\tsciv.P1\timm.P2\tinc.P2\tsciv.P2\tF.S.\tVolume\r\n";
    for (int i = 1; i <= 30; ++i)
      for (int j = i + 1; j <= 30; ++j)
        gmc += QString("%1.0\t%2.0\tSI\t%3.0\t%4.0\tNO\t%5\t%6\r\n")
                   .arg(i * 12 % 360).arg(i * 3 % 90).arg(j * 12 % 360).arg(j * 3 % 90)
                   .arg((i * j) % 700 / 100.0, 0, 'f', 2).arg((i + j) * 1.25, 0, 'f', 2);
    Scrivi(dati + "/bench.FAM", fam);
    Scrivi(dati + "/bench.pgm", pgm);
    Scrivi(dati + "/bench.GMC", gmc);
    Scrivi(dati + "/bench.PER", "Componente\tModulo\tInclinazione\tDirezione\r\nMassima\t8.16E-04\t12.0\t302.0\r\n"
                                "Media\t2.10E-04\t8.0\t31.0\r\nMinima\t5.50E-05\t76.0\t159.0\r\n");
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
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qunsetenv("FRATTIX_UI_SCRIPT");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
