// Whole cluster runs of TALVOR, driven by UI scripts: from the hand-over file and the survey sheet to <stem>.dat.
#include "common/data/passaggio.h"
#include "common/data/risultato.h"
#include "common/data/scheda.h"
#include "common/platform/files.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>

#include <gtest/gtest.h>

#include <cmath>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace testing_support;

namespace {

// A record with the multiplicity, dip direction, dip and aperture at their fixed columns.
QString Record(int nu, int immersione, int dip, int apertura) {
  QString r(kLunghezzaRecord, QLatin1Char(' '));
  const auto metti = [&r](int campo, int valore) {
    const QString t = QString::number(valore).rightJustified(kLarghezzaCampo[campo], QLatin1Char(' '));
    r.replace(kInizioCampo[campo] - 1, kLarghezzaCampo[campo], t);
  };
  metti(Nu, nu);
  metti(Dist, 1);
  metti(Imm, immersione);
  metti(Inc, dip);
  metti(Ap, apertura);
  return r;
}

// The session "prova" with one sheet of the five orientations of the worked example, a measuring line of 10 m.
void Sessione(TestFolder& t, double lunghezza = 10) {
  t.AddPrograms({"TALVOR", "EIGEN"});
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  ModuloScheda s;
  s.IntestazioneScheda = {"", "Prova", "", "0/0", "", QString::number(lunghezza), "", "", "", "", ""};
  const int giaciture[5][2] = {{129, 71}, {327, 44}, {339, 79}, {0, 45}, {113, 9}};
  s.RigheScheda = {QString()};
  for (const auto& g : giaciture) s.RigheScheda.push_back(Record(1, g[0], g[1], 2));
  s.NumeroRigheScheda = 5;
  ASSERT_TRUE(ScriviFileScheda(t.D("uno.sch"), s));
  FilePassaggioDati d;
  d.Modo = ModoCluster;
  d.Schede = {"uno.sch"};
  d.NomeSessione = "prova.ses";
  ASSERT_TRUE(ScriviFilePassaggio(t.P("temporan"), d));
  WriteAnsi(t.D("prova.ses"), "uno.sch\n");
}

RunResult Talvor(const TestFolder& t, const QString& script) {
  return RunProgram(t.P("TALVOR"), {}, t.Data(), ScriptedRunEnvironment(t, script));
}

// The typical run: group average, level 2, both clusters kept, 30 degrees, confirmed.
const char* kRunTipico =
    "check Option3 1\npress Command3\nset Text1 2\nkey Text1 Enter\npress Picture3\n"
    "key Picture1 Right\npress Picture3\nset Text1 30\nkey Text1 Enter\npress Command1\n";

}  // namespace

TEST(TalvorCluster, WholeRunWritesTheResult) {
  TestFolder t;
  Sessione(t);
  const RunResult r = Talvor(t, kRunTipico);
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QString dat = ReadAnsi(t.D("prova.dat"));
  const QStringList righe = dat.split('\n');
  // Nine titles, N = 5, 4 x 5 point rows, K, the distance, the two member groups.
  ASSERT_GE(righe.size(), 9 + 1 + 20 + 2 + 3 + 2);
  EXPECT_EQ(righe.at(9), " 5 ");
  EXPECT_EQ(righe.at(30), " 2 ");
  EXPECT_FLOAT_EQ(static_cast<float>(righe.at(31).toDouble()), static_cast<float>(30 * std::atan(1.0) / 45));
  EXPECT_EQ(righe.mid(32, 5), QStringList({" 2 ", " 2 ", " 4 ", " 1 ", " 1 "}));
  EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\tmsgbox\t").isEmpty());
}

TEST(TalvorCluster, RestartToAnotherLevel) {
  TestFolder t;
  Sessione(t);
  // Invalid levels first (each brings the prompt back: a key on a hidden box would not fit the script); then
  // level 2 with one family, "Ricomincia", and level 4 of single linkage with its two heaviest.
  const RunResult r = Talvor(t,
                             "check Option1 1\npress Command3\nset Text1 2.5\nkey Text1 Enter\nset Text1 0\n"
                             "key Text1 Enter\nset Text1 6\nkey Text1 Enter\nset Text1 abc\nkey Text1 Enter\n"
                             "set Text1 2\nkey Text1 Enter\npress Picture3\n"
                             "press Picture3\nset Text1 0\nkey Text1 Enter\npress Command2\n"
                             "set Text1 4\nkey Text1 Enter\nkey Picture1 Enter\npress Picture4\npress Picture3\n"
                             "set Text1 0\nkey Text1 Enter\npress Command1\n");
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList righe = ReadAnsi(t.D("prova.dat")).split('\n');
  ASSERT_GE(righe.size(), 37);
  EXPECT_EQ(righe.at(30), " 2 ");
  EXPECT_EQ(righe.at(31).toDouble(), 0.0);
  EXPECT_EQ(righe.mid(32, 5), QStringList({" 2 ", " 2 ", " 4 ", " 1 ", " 1 "}));
  // The partition files stay in the program folder.
  for (int k = 1; k <= 5; ++k) EXPECT_TRUE(plat::FileExists(t.P(QString::number(k))));
}

// A snapshot of the program folder made of hard links (as backup tools make with "cp -al") after a cluster run:
// the next run, on other orientations, writes its partition files anew, and the snapshot keeps the files of the
// run before.
TEST(TalvorCluster, AHardLinkSnapshotOfTheProgramFolderKeepsItsPartitionFiles) {
  TestFolder t;
  Sessione(t);
  ASSERT_EQ(Talvor(t, kRunTipico).exitCode, 0);
  const QString copia = t.Root() + "/copia";
  QProcess cp;
  cp.start("/bin/cp", {"-al", t.Program(), copia});
  ASSERT_TRUE(cp.waitForFinished(60000));
  ASSERT_EQ(cp.exitCode(), 0) << cp.readAll().toStdString();
  QMap<QString, QByteArray> prima;
  for (int k = 1; k <= 5; ++k) prima[QString::number(k)] = ReadBytes(copia + "/" + QString::number(k));
  // Other orientations: every partition but the first changes.
  ModuloScheda s;
  s.IntestazioneScheda = {"", "Prova", "", "0/0", "", "10", "", "", "", "", ""};
  s.RigheScheda = {QString()};
  for (const auto& g : {std::pair{10, 20}, {200, 80}, {205, 85}, {100, 30}, {300, 60}})
    s.RigheScheda.push_back(Record(1, g.first, g.second, 2));
  s.NumeroRigheScheda = 5;
  ASSERT_TRUE(ScriviFileScheda(t.D("uno.sch"), s));
  ASSERT_EQ(Talvor(t, kRunTipico).exitCode, 0);
  int cambiati = 0;
  for (int k = 1; k <= 5; ++k) {
    const QString n = QString::number(k);
    EXPECT_EQ(ReadBytes(copia + "/" + n), prima[n]) << k;
    cambiati += ReadBytes(t.P(n)) != prima[n] ? 1 : 0;
  }
  EXPECT_GE(cambiati, 4);
}

// TALVOR, as it starts, removes the private folder that a killed plotting program of this user left in TMPDIR
// (nobody holds its mark locked), whole, folders in it included, and leaves alone the one of a program still running
// (which holds it). The links in the folder go, and never what they point to.
TEST(TalvorCluster, AtItsStartTheScratchFolderOfAKilledPlotGoes) {
  TestFolder t;
  Sessione(t);
  const QString tmp = t.Root() + "/tmp";
  for (const char* c : {"frattix-morto1", "frattix-vivo01"}) {
    QDir().mkpath(tmp + "/" + c);
    WriteAnsi(tmp + "/" + c + "/owner.lock", "");
    WriteAnsi(tmp + "/" + c + "/plttmp1.tmp", " 1 \n");
  }
  const QString morto = tmp + "/frattix-morto1", fuori = t.Root() + "/fuori";
  QDir().mkpath(morto + "/sotto/ancora");
  QDir().mkpath(fuori + "/cartella");
  WriteAnsi(morto + "/sotto/ancora/plttmp2.tmp", " 2 \n");
  WriteAnsi(fuori + "/cartella/dati.txt", "dati\n");
  ASSERT_TRUE(QFile::link(fuori + "/cartella", morto + "/collegamento"));
  ASSERT_TRUE(QFile::link(fuori + "/cartella/dati.txt", morto + "/sotto/file"));
  ASSERT_TRUE(QFile::link(fuori, morto + "/sotto/ancora/su"));
  const int vivo = ::open(QFile::encodeName(tmp + "/frattix-vivo01/owner.lock").constData(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(vivo, 0);
  ASSERT_EQ(::flock(vivo, LOCK_EX), 0);
  QProcessEnvironment env = ScriptedRunEnvironment(t, kRunTipico);
  env.insert("TMPDIR", tmp);
  const RunResult r = RunProgram(t.P("TALVOR"), {}, t.Data(), env);
  ::close(vivo);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(QDir(tmp).entryList({"frattix-*"}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(' '),
            QString("frattix-vivo01"));
  EXPECT_TRUE(QFile::exists(tmp + "/frattix-vivo01/plttmp1.tmp"));
  EXPECT_EQ(ReadAnsi(fuori + "/cartella/dati.txt"), QString("dati\n"));
}

TEST(TalvorCluster, ClosingTheWindowWritesNoResult) {
  TestFolder t;
  Sessione(t);
  WriteAnsi(t.D("prova.FAM"), "vecchia\n");
  const RunResult r =
      Talvor(t, "press Command3\nset Text1 2\nkey Text1 Enter\npress Picture3\npress Picture3\nclose workform\n");
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_FALSE(plat::FileExists(t.D("prova.dat")));
  // The tables of the earlier run are removed only when a new result is confirmed.
  EXPECT_TRUE(plat::FileExists(t.D("prova.FAM")));
}

TEST(TalvorCluster, NoMeasuringLineLengthIsToldAfterTheConfirmation) {
  TestFolder t;
  Sessione(t, 0);
  const RunResult r = Talvor(t, QString(kRunTipico) + "answer OK \"stendimento\"\n");
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_TRUE(plat::FileExists(t.D("prova.dat")));
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("\tmsgbox\t").size(), 1);
}

TEST(TalvorCluster, AnEigenThatEndsAbnormallyIsTold) {
  TestFolder t;
  Sessione(t);
  ASSERT_TRUE(QFile::remove(t.P("EIGEN")));  // a link to the built program: never written through
  WriteScript(t.P("EIGEN"), "#!/bin/sh\nkill -SEGV $$\n");
  const RunResult r = Talvor(t, QString(kRunTipico) + "answer OK\n");
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList m = ReadLog(t.D("ui.log")).filter("\tmsgbox\t");
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].contains("Il programma e' terminato in modo anomalo:\\nEIGEN")) << m[0].toStdString();
  EXPECT_FALSE(plat::FileExists(t.D("prova.PER")));
}

TEST(TalvorCluster, WaitingForTheLinkageUsesNoProcessorTime) {
  // A user who leaves the clustering window at the choice of the linkage: the program sleeps until an event comes.
  TestFolder t;
  Sessione(t);
  QProcessEnvironment env;
  env.insert("FRATTIX_DRIVE_C", t.DriveC());
  const double quota = CpuShareWhileWaiting(t.P("TALVOR"), t.Data(), env, t.D("ui.log"), "\twindow\tworkform\t", 5);
  ASSERT_GE(quota, 0) << ReadLog(t.D("ui.log")).join('\n').toStdString();
  EXPECT_LT(quota, 0.02);
}
