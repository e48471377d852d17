// TALVOR's whole stereographic plot, drawn and replayed once on the preview: the most points a run holds (300),
// each the one member of its own cluster (300 clusters, their centres and great circles), the wedges of 30
// families (435 lines with their factors of safety), the slope face and the friction circle.
//   scripts/build build-bench -DFRATTIX_BENCHMARKS=ON && build-bench/benchmarks/bench_stereogramma
#include "cluster/geometria.h"
#include "cluster/stereogramma.h"
#include "cluster/talvor.h"
#include "common/data/fronte.h"
#include "common/platform/files.h"
#include "common/platform/forms.h"
#include "common/platform/textio.h"
#include "common/plot/grafica.h"
#include "common/plot/grafico.h"
#include "common/texts/avvio.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kFamiglie = 30;

void PreparaSessione(const QString& cartella) {
  QDir::setCurrent(cartella);
  AzzeraTalvor();
  auto& T = Talvor;
  T.NomeFileDati = QStringLiteral("bench.ses");
  T.Grafica.Opzione = {0, 1, 1, 1, 1, 1, 1};
  T.NumeroPoli = T.NumeroCluster = kMassimoPoli;
  for (int i = 1; i <= kMassimoPoli; ++i) {
    const auto u = static_cast<std::size_t>(i);
    GiacituraInPolo((i * 37) % 360, 5 + (i * 13) % 85, T.InclinazionePoli[u], T.DirezionePoli[u]);
    T.InclinazioneCentri[u] = T.InclinazionePoli[u];
    T.DirezioneCentri[u] = T.DirezionePoli[u];
    T.NumeroMembri[u] = 1;
    T.MembriCluster[u][1] = i;
  }
  QString gmc = QStringLiteral("imm.P1\tinc.P1\tsciv.P1\timm.P2\tinc.P2\tsciv.P2\tF.S.\tVolume\r\n");
  for (int i = 1; i < kFamiglie; ++i)
    for (int j = i + 1; j <= kFamiglie; ++j)
      gmc += QStringLiteral("%1.0\t%2.0\tSI\t%3.0\t%4.0\tNO\t%5\t10.00\r\n")
                 .arg((i * 37) % 360)
                 .arg(5 + (i * 13) % 85)
                 .arg((j * 37) % 360)
                 .arg(5 + (j * 13) % 85)
                 .arg(0.5 + (i + j) % 20 * 0.1, 0, 'f', 2);
  QFile f(QStringLiteral("bench.GMC"));
  f.open(QIODevice::WriteOnly);
  f.write(plat::EncodeAnsi(gmc));
  f.close();
  ValoriFronte v{};
  v[1] = 70;
  v[2] = 125;
  v[6] = 35;
  ScriviFileFronte(QStringLiteral("bench.fro"), v);
}

void BM_StereogrammaDisegnatoERidisegnato(benchmark::State& state) {
  for (auto _ : state) {
    InizioGrafico(0, QString(), 0, 0, 19.4, 27.7, 0);
    DisegnaStereogramma();
    RidisegnaTutto();
  }
  state.counters["segmenti"] = (Grafico.NumeroBlocchi - 1) * DimensioneBlocco + Grafico.NumeroSegmenti;
}

}  // namespace

BENCHMARK(BM_StereogrammaDisegnatoERidisegnato)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);  // --help prints the options and ends the program
  QTemporaryDir cartella;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    QFile schermo(cartella.filePath(QStringLiteral("screen.json")));
    schermo.open(QIODevice::WriteOnly);
    schermo.write(R"({"screens":[{"name":"S","x":0,"y":0,"width":1920,"height":1080,"logicalDpi":96}]})");
    schermo.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + schermo.fileName()).toLocal8Bit());
  }
  QApplication app(argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  plat::SetProgramFolder(QStringLiteral(FRATTIX_BENCH_BIN_DIR));
  Avvio.NumeroLingua = 1;
  Avvio.CodiceLingua = QStringLiteral("ita");
  plat::Form menu1(QStringLiteral("menu1"));
  PreparaSessione(cartella.path());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
