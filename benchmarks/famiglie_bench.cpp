// TALVOR's cluster mode after the user's confirmation for 300 families: the result file, the conductivity tensor
// through EIGEN and its table, the family parameters from the slope file, the family table and PELDRIX on every
// pair of families.
#include "cluster/geometria.h"
#include "cluster/talvor.h"
#include "common/data/passaggio.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/avvio.h"

#include <QApplication>
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

void BM_ConclusioneCluster300Famiglie(benchmark::State& state) {
  QTemporaryDir radice;
  const QDir bin(QStringLiteral(FRATTIX_BENCH_BIN_DIR));
  for (const char* f : {"EIGEN", "peldrix", "frattixint.cfg", "texts01.txt", "texts03.txt"})
    QFile::copy(bin.filePath(f), radice.path() + "/" + f);
  plat::SetProgramFolder(radice.path());
  plat::ChangeFolder(radice.path());
  Avvio.NumeroLingua = 1;
  FilePassaggioDati d;
  d.Modo = ModoCluster;
  d.NomeSessione = "sito.ses";
  ScriviFilePassaggio(radice.path() + "/temporan", d);
  // Friction angle 35, cohesion 2, rock unit weight 2.6, crest height 25.
  Scrivi(radice.path() + "/language.cfg", " 1 \n");
  Scrivi(radice.path() + "/sito.fro", "70\n125\n10\n125\n2\n35\n2.6\n.981\n25\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n");

  AzzeraTalvor();
  Talvor.PercorsoProgramma = radice.path();
  Talvor.NomeFileDati = "sito.ses";
  Talvor.NumeroPoli = Talvor.NumeroCluster = kMassimoPoli;
  for (int k = 1; k <= kMassimoPoli; ++k) {
    // Every family one point: dip directions over the whole circle, dips from 5 to 85.
    GiacituraInPolo((k * 37) % 360, 5 + (k * 13) % 81, Talvor.InclinazionePoli[k], Talvor.DirezionePoli[k]);
    Talvor.InclinazioneCentri[k] = Talvor.InclinazionePoli[k];
    Talvor.DirezioneCentri[k] = Talvor.DirezionePoli[k];
    Talvor.NumeroMembri[k] = 1;
    Talvor.MembriCluster[k][1] = k;
    Talvor.PesoFamiglie[k] = 1;
    Talvor.AperturaFamiglie[k] = 0.05 + (k % 50) * 0.1;
    Talvor.FrequenzaFamiglie[k] = 0.5 + (k % 7);
  }
  for (auto _ : state) {
    if (ConcludiModoCluster() != 0 || !plat::FileExists(radice.path() + "/sito.PER") ||
        !plat::FileExists(radice.path() + "/sito.GMC"))
      state.SkipWithError("the tables were not written");
  }
  // Rows of the wedge table (a header, then one per admissible wedge) and of the family table.
  QByteArray gmc, fam;
  plat::ReadWholeFile(radice.path() + "/sito.GMC", gmc);
  plat::ReadWholeFile(radice.path() + "/sito.FAM", fam);
  state.counters["righe_GMC"] = static_cast<double>(gmc.count('\n'));
  state.counters["righe_FAM"] = static_cast<double>(fam.count('\n'));
}
BENCHMARK(BM_ConclusioneCluster300Famiglie)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);  // --help prints the options and ends the program
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
