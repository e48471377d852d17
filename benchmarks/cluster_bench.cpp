// The hierarchical aggregation of 300 poles: the whole of it with its 300 partition files, for each linkage; the
// merges alone; and, in the same run, scipy's linkage on the same distance matrix (a Python process started once
// per linkage times it; its median is reported as the iteration time).
#include "cluster/aggregazione.h"
#include "cluster/geometria.h"
#include "common/platform/files.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kPoli = 300;

// 300 distinct orientations at whole degrees around six families, in the stored form (single precision).
struct Poli {
  std::vector<float> inc{0}, dir{0};
  Poli() {
    std::mt19937 caso(2026);
    const int famiglie[6][2] = {{40, 60}, {150, 30}, {250, 75}, {330, 20}, {100, 85}, {200, 5}};
    std::set<std::pair<int, int>> viste;
    std::normal_distribution<double> scarto(0, 9);
    for (int i = 0; static_cast<int>(viste.size()) < kPoli; ++i) {
      const int f = i % 6;
      const int immersione = ((static_cast<int>(std::lround(famiglie[f][0] + scarto(caso))) % 360) + 360) % 360;
      const int dip = std::clamp(static_cast<int>(std::lround(famiglie[f][1] + scarto(caso))), 0, 90);
      if (!viste.insert({immersione, dip}).second) continue;
      double a = 0, b = 0;
      GiacituraInPolo(immersione, dip, a, b);
      inc.push_back(static_cast<float>(a));
      dir.push_back(static_cast<float>(b));
    }
  }
};

const Poli& Punti() {
  static const Poli p;
  return p;
}

void AggregazioneCompleta(benchmark::State& state) {
  QTemporaryDir cartella;
  plat::SetProgramFolder(cartella.path());
  const Poli& p = Punti();
  for (auto _ : state) {
    AggregazioneGerarchica a(MatriceDistanze(p.inc.data(), p.dir.data(), kPoli), static_cast<int>(state.range(0)));
    ScriviPartizione(a.Membri(), kPoli);
    while (a.Unisci()) ScriviPartizione(a.Membri(), a.Livello());
    benchmark::DoNotOptimize(a.Membri().data());
  }
}
BENCHMARK(AggregazioneCompleta)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->Repetitions(10);

void SoloFusioni(benchmark::State& state) {
  const Poli& p = Punti();
  const MatriceDistanze d(p.inc.data(), p.dir.data(), kPoli);
  for (auto _ : state) {
    AggregazioneGerarchica a(d, static_cast<int>(state.range(0)));
    while (a.Unisci()) {
    }
    benchmark::DoNotOptimize(a.Membri().data());
  }
}
BENCHMARK(SoloFusioni)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->Repetitions(10);

// scipy's linkage of the same matrix (the angles in tenths, condensed), its median over 300 calls in seconds.
double MedianaScipy(const std::string& metodo) {
  static std::map<std::string, double> misure;
  if (misure.count(metodo)) return misure[metodo];
  QTemporaryDir cartella;
  const std::string matrice = cartella.filePath("d.txt").toStdString();
  {
    const Poli& p = Punti();
    const MatriceDistanze d(p.inc.data(), p.dir.data(), kPoli);
    std::ofstream out(matrice);
    for (int i = 1; i < kPoli; ++i)
      for (int j = i + 1; j <= kPoli; ++j) out << d(i, j) << '\n';
  }
  const std::string comando =
      "/usr/bin/python3 -c \"import sys,time,numpy as np\nfrom scipy.cluster.hierarchy import linkage\n"
      "d=np.loadtxt(sys.argv[1]);t=[]\nfor _ in range(300):\n s=time.perf_counter();linkage(d,method=sys.argv[2]);"
      "t.append(time.perf_counter()-s)\nt.sort();print(t[len(t)//2])\" " +
      matrice + " " + metodo;
  double mediana = -1;
  if (FILE* f = popen(comando.c_str(), "r")) {
    if (std::fscanf(f, "%lf", &mediana) != 1) mediana = -1;
    pclose(f);
  }
  misure[metodo] = mediana;
  return mediana;
}

void ScipyLinkage(benchmark::State& state) {
  static const char* nomi[] = {"", "single", "complete", "average"};
  const double mediana = MedianaScipy(nomi[state.range(0)]);
  if (mediana < 0) {
    state.SkipWithError("scipy is not available");
    return;
  }
  for (auto _ : state) state.SetIterationTime(mediana);
}
BENCHMARK(ScipyLinkage)->Arg(1)->Arg(2)->Arg(3)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
