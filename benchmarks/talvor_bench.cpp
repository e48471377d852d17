// TALVOR's pole loading: 1000 records on four survey sheets, selected and merged into 300 points (configuration,
// criteria, sheets, selection test, merging and titles), as a cluster run starts.
#include "cluster/talvor.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/avvio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void Scrivi(const QString& percorso, const QString& testo) {
  QFile f(percorso);
  f.open(QIODevice::WriteOnly);
  f.write(plat::EncodeAnsi(testo));
}

void BM_CaricaPoli1000In300(benchmark::State& state) {
  QTemporaryDir radice;
  const QDir bin(QStringLiteral(FRATTIX_BENCH_BIN_DIR));
  QFile::copy(bin.filePath("frattixint.cfg"), radice.path() + "/frattixint.cfg");
  plat::SetProgramFolder(radice.path());
  plat::ChangeFolder(radice.path());
  Avvio.NumeroLingua = 1;
  const char* const tipi[] = {"GI", "FA", "ST", "SC"};
  for (int s = 0; s < 4; ++s) {
    QString testo = "Cava\nGradone\n120/15\nSquadra\n38.5\ndata\n\n\n\n 250 \n";
    for (int k = 0; k < 250; ++k) {
      const int n = (s * 250 + k) % 300;  // every orientation on more than one sheet
      QString r(52, ' ');
      r.replace(0, 19, QString(" 1  0.1  %1 %2 %3").arg(tipi[s]).arg(n, -3).arg(10 + n % 80, -3));
      r.replace(32, 2, QString::number(k % 10).rightJustified(2));
      testo += r + "\r\n";
    }
    Scrivi(radice.path() + QString("/s%1.sch").arg(s), testo);
  }
  AzzeraTalvor();
  Talvor.PercorsoProgramma = radice.path();
  Talvor.NomeFileDati = "sito.ses";
  Talvor.NumeroSchede = 4;
  for (int s = 1; s <= 4; ++s) Talvor.ElencoSchede[s] = QString("s%1.sch").arg(s - 1);
  for (auto _ : state) {
    if (!CaricaPoli() || Talvor.NumeroPoli != 300) state.SkipWithError("the points did not load");
    benchmark::DoNotOptimize(Talvor.PesoPoli);
  }
}
BENCHMARK(BM_CaricaPoli1000In300)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);  // --help prints the options and ends the program
  QCoreApplication app(argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
