// The plot engine on the size of a stereographic plot with great circles: 1000 great circles of 200 segments
// each, the primitive circle and the titles. The preview is 1920 x 1080 (an offscreen screen of that size).
//   scripts/build build-bench -DFRATTIX_BENCHMARKS=ON && build-bench/bin/bench_plot
#include "common/platform/files.h"
#include "common/platform/forms.h"
#include "common/platform/printer.h"
#include "common/plot/dxf.h"
#include "common/plot/grafica.h"
#include "common/plot/grafico.h"
#include "common/texts/avvio.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kCerchi = 1000;
constexpr int kPassi = 200;

QString& Cartella() {
  static QString c;
  return c;
}

// Equal-area great circles of planes of every dip and dip direction, one pen per family.
void DisegnaStereogramma() {
  InizioGrafico(0, QString(), 0, 0, 19.4, 27.7, 0);
  int p = 1;
  SelezionaPennaTabella(p);
  DisegnaSimbolo(10, 27, 0.5, QStringLiteral("RILIEVO STRUTTURALE"), 0, -2);
  DisegnaSimbolo(10, 26.4, 0.35, QStringLiteral("proiezione stereografica"), 0, -2);
  for (int k = 0; k < kCerchi; ++k) {
    p = 16 + k % 15;
    SelezionaPennaTabella(p);
    const double direzione = k * 2 * M_PI / kCerchi;
    const double inclinazione = 0.05 + 1.45 * ((k * 37) % kCerchi) / kCerchi;
    for (int j = 0; j <= kPassi; ++j) {
      const double t = -1 + j * 2.0 / kPassi, w = std::sqrt(std::max(0.0, 1 - t * t));
      const double vx = w * std::cos(inclinazione), vy = t, vz = w * std::sin(inclinazione);
      const double i = std::asin(std::min(1.0, vz)), d = std::atan2(vy, vx) + direzione;
      const double r = std::sqrt(std::max(0.0, 1 - std::sin(i)));
      Traccia(10 + 8 * r * std::cos(d), 14 + 8 * r * std::sin(d), j == 0 ? 3 : 2);
    }
  }
  p = 2;
  SelezionaPennaTabella(p);
  Traccia(10, 22, 3);
  for (int j = 0; j <= 200; ++j) Traccia(10 + 8 * std::sin(j * M_PI / 100), 14 + 8 * std::cos(j * M_PI / 100), 2);
  Traccia(0, 0, 999);
}

void BM_ListaSegmenti(benchmark::State& state) {
  for (auto _ : state) DisegnaStereogramma();
  state.counters["segmenti"] = (Grafico.NumeroBlocchi - 1) * DimensioneBlocco + Grafico.NumeroSegmenti;
}

void BM_RidisegnoIntero(benchmark::State& state) {
  for (auto _ : state) RidisegnaTutto();
}

void BM_RidisegnoZoom(benchmark::State& state) {
  for (auto _ : state) RidisegnaZoom(6, 10, 12, 16);
}

void BM_EsportaDxf(benchmark::State& state) {
  const QString file = Cartella() + QStringLiteral("/stereo.dxf");
  for (auto _ : state) ScriviDXF(file);
  state.counters["MB"] = QFile(file).size() / 1e6;
}

void BM_StampaPdf(benchmark::State& state) {
  for (auto _ : state) {
    StampaGrafico(false);
    state.PauseTiming();
    for (const QString& f : QDir(Cartella()).entryList({"*.pdf"})) QFile::remove(Cartella() + '/' + f);
    state.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(BM_ListaSegmenti)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_RidisegnoIntero)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9);
BENCHMARK(BM_RidisegnoZoom)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9);
BENCHMARK(BM_EsportaDxf)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_StampaPdf)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);  // --help prints the options and ends the program
  QTemporaryDir cartella;
  Cartella() = cartella.path();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    QFile schermo(cartella.filePath(QStringLiteral("screen.json")));
    schermo.open(QIODevice::WriteOnly);
    schermo.write(R"({"screens":[{"name":"S","x":0,"y":0,"width":1920,"height":1080,"logicalDpi":96}]})");
    schermo.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + schermo.fileName()).toLocal8Bit());
  }
  qputenv("FRATTIX_PDF_DIR", cartella.path().toLocal8Bit());
  QApplication app(argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  plat::SetProgramFolder(QStringLiteral(FRATTIX_BENCH_BIN_DIR));
  Avvio.NumeroLingua = 1;
  Avvio.CodiceLingua = QStringLiteral("ita");
  Avvio.DCStampante = plat::Printer().hDC();
  Avvio.InfoDocumentoStampa = {20, QStringLiteral("Brenvale output")};
  plat::Form menu1(QStringLiteral("menu1"));
  DisegnaStereogramma();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
