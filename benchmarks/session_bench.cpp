// The main program's start-up to the ready main window (start-up routine with the text tables, the seven dialog
// definitions, the configuration, the session on the command line), the same as a whole run of the executable,
// and a survey sheet of 500 records read and written.
#include "common/platform/files.h"
#include "common/platform/ui.h"
#include "main/dialogs/definizioni.h"
#include "main/session/configurazione.h"
#include "main/session/menu1.h"
#include "main/session/scheda.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A private program folder with the installation data, the language chosen, and a data folder with a session.
struct Cartelle {
  QTemporaryDir radice;
  QString programma, dati;
  Cartelle() {
    programma = radice.path() + "/program";
    dati = radice.path() + "/data";
    QDir().mkpath(programma);
    QDir().mkpath(dati);
    const QDir bin(QStringLiteral(FRATTIX_BENCH_BIN_DIR));
    for (const QFileInfo& f : bin.entryInfoList(QDir::Files)) {
      if (f.isExecutable() && f.suffix().isEmpty()) continue;
      QFile::copy(f.filePath(), programma + "/" + f.fileName());
    }
    QFile::copy(bin.filePath("frattix32"), programma + "/frattix32");
    QFile l(programma + "/language.cfg");
    l.open(QIODevice::WriteOnly);
    l.write(" 1 \r\n");
    QFile s(dati + "/rock.ses");
    s.open(QIODevice::WriteOnly);
    s.write(" 0 \r\n");
    qputenv("FRATTIX_DRIVE_C", radice.path().toLocal8Bit());
    plat::SetProgramFolder(programma);
    QDir::setCurrent(dati);
  }
};

Cartelle& Ambiente() {
  static Cartelle c;
  return c;
}

void BM_AvvioFinestraPrincipale(benchmark::State& state) {
  Cartelle& c = Ambiente();
  for (auto _ : state) {
    menu1 finestra;
    finestra.Form_Load(c.dati + "/rock.ses");
    benchmark::DoNotOptimize(finestra.windowTitle());
  }
}
BENCHMARK(BM_AvvioFinestraPrincipale)->Unit(benchmark::kMillisecond);

void BM_DefinizioniEConfigurazione(benchmark::State& state) {
  Cartelle& c = Ambiente();
  std::vector<QString> percorsi = {QString()};
  for (const char* n : {"EDITFRON.MAV", "EDITPARG.MAV", "EDITPFAM.MAV", "EDITSCHE.MAV", "EDITPGEN.MAV",
                        "EDITTITO.MAV", "EDITPARG2.MAV"})
    percorsi.push_back(c.programma + "/" + n);
  for (auto _ : state) {
    benchmark::DoNotOptimize(LeggiDefinizioniMaschere(7, percorsi));
    LeggiConfigurazione();
  }
}
BENCHMARK(BM_DefinizioniEConfigurazione)->Unit(benchmark::kMicrosecond);

// A whole run: the process starts, opens the session, shows the main window and is closed by its script.
void BM_EsecuzioneIntera(benchmark::State& state) {
  Cartelle& c = Ambiente();
  QFile script(c.radice.path() + "/run.script");
  script.open(QIODevice::WriteOnly);
  script.write("close menu1\n");
  script.close();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("FRATTIX_UI_SCRIPT", script.fileName());
  for (auto _ : state) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(c.dati);
    p.start(c.programma + "/frattix32", {c.dati + "/rock.ses"});
    p.waitForFinished(30000);
    if (p.exitCode() != 0) state.SkipWithError("frattix32 failed");
  }
}
BENCHMARK(BM_EsecuzioneIntera)->Unit(benchmark::kMillisecond);

void ScriviSchedaGrande(const QString& percorso) {
  Scheda = ModuloScheda();
  Scheda.FileScheda = percorso;
  for (int i = 1; i <= 9; ++i) Scheda.IntestazioneScheda[static_cast<std::size_t>(i)] = QString("Riga %1").arg(i);
  Scheda.NumeroRigheScheda = 500;
  for (int i = 1; i <= 500; ++i)
    Scheda.RigheScheda[static_cast<std::size_t>(i)] =
        RecordFisso(QString(" 1  %1 GI %2 %3  3 2 1 4 PLA 5  RUV CAL R3").arg(i % 99, -4).arg(i % 360, -3).arg(i % 90, -2));
  SalvaScheda();
}

void BM_LeggiScheda500(benchmark::State& state) {
  Cartelle& c = Ambiente();
  ScriviSchedaGrande(c.dati + "/grande.sch");
  for (auto _ : state) {
    if (LeggiScheda() != EsitoScheda::Letta || Scheda.NumeroRigheScheda != 500) state.SkipWithError("read failed");
  }
}
BENCHMARK(BM_LeggiScheda500)->Unit(benchmark::kMicrosecond);

void BM_SalvaScheda500(benchmark::State& state) {
  Cartelle& c = Ambiente();
  ScriviSchedaGrande(c.dati + "/grande.sch");
  for (auto _ : state) {
    if (!SalvaScheda()) state.SkipWithError("write failed");
  }
}
BENCHMARK(BM_SalvaScheda500)->Unit(benchmark::kMicrosecond);

// The survey-sheet editor on the same sheet: read, header confirmed in the field form, the records loaded into the
// table grid, confirmed and written back (a script answers the dialogs).
void BM_Scheda500NellaGriglia(benchmark::State& state) {
  Cartelle& c = Ambiente();
  const QString file = c.dati + "/grande.sch";
  ScriviSchedaGrande(file);
  Scheda.IntestazioneScheda[3] = "120/15";  // the measuring line's direction, inclination and length
  Scheda.IntestazioneScheda[5] = "38.5";
  SalvaScheda();
  QFile script(c.radice.path() + "/griglia.script");
  script.open(QIODevice::WriteOnly);
  script.write(("file " + file + "\npress Command1(0)\npress base2_32.Command1(0)\n").toUtf8());
  script.close();
  menu1 finestra;
  finestra.Form_Load(c.dati + "/rock.ses");
  qputenv("FRATTIX_UI_SCRIPT", script.fileName().toLocal8Bit());
  for (auto _ : state) {
    plat::ResetInteraction();
    finestra.EdizioneScheda_Click();
  }
  qunsetenv("FRATTIX_UI_SCRIPT");
  plat::ResetInteraction();
  if (LeggiScheda() != EsitoScheda::Letta || Scheda.NumeroRigheScheda != 500)
    state.SkipWithError("the sheet was not written back");
}
BENCHMARK(BM_Scheda500NellaGriglia)->Unit(benchmark::kMillisecond);

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
