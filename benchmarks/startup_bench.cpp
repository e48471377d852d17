// The start-up routine with full text tables (800 texts) and the text lookup.
//   scripts/build build-bench -DFRATTIX_BENCHMARKS=ON && QT_QPA_PLATFORM=offscreen build-bench/benchmarks/bench_startup
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A program folder with language.cfg, the pen tables and two text tables of 400 texts each.
class Folder {
 public:
  Folder() {
    const QString p = dir.path();
    plat::SetProgramFolder(p);
    qputenv("FRATTIX_DRIVE_C", p.toLocal8Bit());
    const QDir install(QStringLiteral(FRATTIX_BENCH_SOURCE_DIR "/install"));
    for (const QString& f : install.entryList({"korven*"}, QDir::Files)) QFile::copy(install.filePath(f), p + "/" + f);
    for (int table : {1, 3}) {
      plat::SeqWriter w(QStringLiteral("%1/texts0%2.txt").arg(p).arg(table));
      for (int i = 0; i < 400; ++i) {
        const QString key = QStringLiteral("Testo numero %1 della tabella %2").arg(i * 7919 % 400).arg(table);
        for (const char* lang : {"", " DE", " FR", " ES", " EN", " PT"}) {
          w.WriteLine(key + QString::fromLatin1(lang));
          w.WriteLine(QStringLiteral("-----"));
        }
        keys << key;
      }
      w.Close();
    }
    plat::SeqWriter l(p + "/language.cfg");
    l.WriteNumber(5);
    l.Close();
  }
  QTemporaryDir dir;
  QStringList keys;
};

Folder& TheFolder() {
  static Folder f;
  return f;
}

void BM_AvvioProgramma(benchmark::State& state) {
  TheFolder();
  for (auto _ : state) {
    Avvio = ModuloAvvio();
    Avvio.NumeroModulo = 3;
    AvvioProgramma(false);
    benchmark::DoNotOptimize(Testi.NumeroTesti);
  }
  if (Testi.NumeroTesti != 800) state.SkipWithError("the tables were not read whole");
}
BENCHMARK(BM_AvvioProgramma)->Unit(benchmark::kMillisecond);

// The tables the suite installs, read and sorted as the start does.
void BM_TabelleInstallate(benchmark::State& state) {
  const QString install = QStringLiteral(FRATTIX_BENCH_SOURCE_DIR "/install/");
  for (auto _ : state) {
    AzzeraTesti(800);
    for (const char* nome : {"texts01.txt", "texts03.txt"}) {
      QString errore;
      if (!CaricaTesti(install + QString::fromLatin1(nome), &errore)) state.SkipWithError(qPrintable(errore));
    }
    OrdinaTesti();
    benchmark::DoNotOptimize(Testi.NumeroTesti);
  }
}
BENCHMARK(BM_TabelleInstallate)->Unit(benchmark::kMillisecond);

void BM_Traduci100000(benchmark::State& state) {
  Folder& f = TheFolder();
  Avvio = ModuloAvvio();
  Avvio.NumeroModulo = 3;
  AvvioProgramma(false);
  QStringList asked;
  for (int i = 0; i < 100000; ++i) {
    // Mostly stored keys, some in capitals, some missing.
    const QString& k = f.keys.at(i % f.keys.size());
    asked << (i % 10 == 0 ? k.toUpper() : i % 17 == 0 ? k + QStringLiteral(" x") : k);
  }
  for (auto _ : state) {
    for (const QString& k : asked) benchmark::DoNotOptimize(Traduci(k));
  }
}
BENCHMARK(BM_Traduci100000)->Unit(benchmark::kMillisecond);

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
