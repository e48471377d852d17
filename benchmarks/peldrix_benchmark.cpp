// The wedge stability program on 300 families (44,850 pairs): whole runs of the executable, and the pair loop with
// the writing of the table in the process.
//   build-bench/benchmarks/bench_peldrix --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include "common/platform/files.h"
#include "wedge/peldrix.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <unistd.h>

namespace {

constexpr int kFamilies = 300;

void Write(const QString& path, const QString& text) {
  QString t = text;
  t.replace(QLatin1String("\n"), QLatin1String("\r\n"));
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  f.write(t.toLatin1());
}

// A program folder with the executable and the installation data, and a data folder with a session of 300
// families against a slope with water, tension crack, anchor and external load.
class Session {
 public:
  Session() {
    const QString bin = QStringLiteral(PELDRIX_BENCH_BIN_DIR);
    QDir().mkpath(Program());
    QDir().mkpath(Data());
    for (const QFileInfo& f : QDir(bin).entryInfoList(QDir::Files)) {
      if (f.fileName().startsWith(QLatin1String("texts")) || f.fileName().startsWith(QLatin1String("korven")))
        QFile::copy(f.filePath(), Program() + "/" + f.fileName());
    }
    if (::link(QFile::encodeName(bin + "/peldrix").constData(), QFile::encodeName(Program() + "/peldrix").constData()))
      QFile::copy(bin + "/peldrix", Program() + "/peldrix");
    QFile::setPermissions(Program() + "/peldrix", QFile::permissions(bin + "/peldrix") | QFile::ExeOwner);
    Write(Program() + "/language.cfg", " 1 \n");
    Write(Program() + "/temporan", "0\n-2\n\n 1 \nrilievo.sch\nbench.ses\n");

    std::mt19937 rng(300);
    std::uniform_real_distribution<double> dip(10, 85), dir(0, 360);
    const double pi = 4 * std::atan(1.0);
    QString dat;
    for (int k = 1; k <= 9; ++k) dat += "\n";
    dat += QString(" %1 \n").arg(kFamilies);
    for (int f = 0; f < kFamilies; ++f) {
      const double i = pi / 2 - dip(rng) * pi / 180;
      const double d = std::fmod(pi / 2 - dir(rng) * pi / 180 + 4 * pi, 2 * pi);
      dat += QString("%1\n%2\n%1\n%2\n").arg(i, 0, 'g', 7).arg(d, 0, 'g', 7);
    }
    dat += QString(" %1 \n .35 \n").arg(kFamilies);
    for (int f = 1; f <= kFamilies; ++f) dat += QString(" 1 \n %1 \n").arg(f);
    Write(Data() + "/bench.dat", dat);
    Slope(0, 0);
  }

  // The slope file with the given seismic coefficient and distance of the tension crack.
  void Slope(double seismic, double crack) {
    Write(Data() + "/bench.fro",
          QString("65\n185\n12\n195\n5\n30\n26\n10\n30\n300\n70\n200\n500\n20\n10\n%1\n70\n165\n%2\n").arg(crack).arg(seismic));
  }

  QString Program() const { return dir_.path() + "/program"; }
  QString Data() const { return dir_.path() + "/data"; }

 private:
  QTemporaryDir dir_;
};

Session& TheSession() {
  static Session s;
  return s;
}

void WholeRun(benchmark::State& state) {
  Session& s = TheSession();
  s.Slope(state.range(0) / 100.0, static_cast<double>(state.range(1)));
  for (auto _ : state) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("FRATTIX_DRIVE_C"), s.Data());
    env.remove(QStringLiteral("FRATTIX_UI_SCRIPT"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(s.Data());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(s.Program() + "/peldrix", {});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) state.SkipWithError("peldrix failed");
  }
  QFile table(s.Data() + "/bench.GMC");
  if (table.open(QIODevice::ReadOnly)) state.counters["rows"] = static_cast<double>(table.readAll().count('\n') - 1);
}
// The arguments: the seismic coefficient in hundredths, the distance of the tension crack in metres.
BENCHMARK(WholeRun)->Args({0, 0})->Args({10, 0})->Args({10, 10})->Unit(benchmark::kMillisecond)->UseRealTime();

void PairLoop(benchmark::State& state) {
  Session& s = TheSession();
  s.Slope(state.range(0) / 100.0, static_cast<double>(state.range(1)));
  plat::SetProgramFolder(s.Program());
  QDir::setCurrent(s.Data());
  QString error;
  AzzeraPeldrix();
  if (!LeggiPassaggio(&error) || !LeggiFronte(&error) || !LeggiRisultatoCluster(&error)) {
    state.SkipWithError(qPrintable(error));
    return;
  }
  LeggiParametriFamiglie();
  for (auto _ : state) {
    if (!ScriviFattoriSicurezza(&error)) state.SkipWithError(qPrintable(error));
  }
}
BENCHMARK(PairLoop)->Args({0, 0})->Args({10, 0})->Args({10, 10})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);  // --help prints the options and ends the program
  QCoreApplication app(argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
