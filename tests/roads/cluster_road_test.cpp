// The whole cluster road from the main program: the cluster command on the example session, TALVOR's clustering
// window by script, the result, the conductivity table through EIGEN, the family parameters from the slope file,
// the family table and PELDRIX's wedge table.
#include "common/platform/files.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>

#include <array>
#include <cmath>
#include <tuple>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class StradaCluster : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddPrograms({"frattix32", "TALVOR", "EIGEN", "peldrix"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    QDir(t.Data()).mkpath("rilievi");
    QDir(t.Root()).mkpath("script");
    QDir esempi(QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/examples"));
    for (const QString& f : esempi.entryList(QDir::Files)) QFile::copy(esempi.filePath(f), R(f));
  }
  QString R(const QString& nome) const { return t.D("rilievi/" + nome); }
  // The cluster command, then the end of the main program; TALVOR keeps the `famiglie` heaviest clusters of
  // level 4 (group average) within 20 degrees, then answers what `risposte` says.
  RunResult Cluster(int famiglie, const QString& risposte = QString()) {
    WriteAnsi(t.Root() + "/script/frattix32.script", "menu CalcoliCluster\nclose menu1\n");
    QString talvor = "check Option3 1\npress Command3\nset Text1 4\nkey Text1 Enter\npress Picture3\n";
    for (int k = 1; k < famiglie; ++k) talvor += "key Picture1 Right\n";
    WriteAnsi(t.Root() + "/script/TALVOR.script",
              talvor + "press Picture3\nset Text1 20\nkey Text1 Enter\npress Command1\n" + risposte);
    QProcessEnvironment env = ScriptedRunEnvironment(t, "");
    env.insert("FRATTIX_UI_SCRIPT", t.Root() + "/script");
    QFile::remove(t.D("ui.log"));
    return RunProgram(t.P("frattix32"), {R("esempio.ses")}, t.Data(), env);
  }
  QStringList Righe(const QString& nome) const { return ReadAnsi(R(nome)).split('\n', Qt::SkipEmptyParts); }
  TestFolder t;
};

}  // namespace

TEST_F(StradaCluster, TheClusterCommandWritesEveryTableAndASecondRunLeavesNoStaleOne) {
  const RunResult r = Cluster(4);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList log = ReadLog(t.D("ui.log"));
  EXPECT_EQ(log.filter("\twindow\tworkform\t").size(), 1);
  EXPECT_TRUE(log.filter("\tmsgbox\t").isEmpty()) << log.join("\n").toStdString();

  EXPECT_TRUE(plat::FileExists(R("esempio.dat")));
  const QStringList per = Righe("esempio.PER");
  ASSERT_EQ(per.size(), 4);
  for (const QString& riga : per.mid(1)) EXPECT_TRUE(riga.split('\t').at(1).contains("E-")) << riga.toStdString();
  // Four families with the slope file's friction angle 35 and cohesion 2 (20 kN/m²) in the parameters and in the
  // family table.
  EXPECT_EQ(Righe("esempio.pgm"), QStringList({"35", "2", "35", "2", "35", "2", "35", "2"}));
  const QStringList fam = Righe("esempio.FAM");
  ASSERT_EQ(fam.size(), 5);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_TRUE(fam[k].startsWith(QString::number(k) + "\t")) << fam[k].toStdString();
    EXPECT_TRUE(fam[k].endsWith("\t35.00\t20.00")) << fam[k].toStdString();
  }
  EXPECT_TRUE(plat::FileExists(R("esempio.GMC")));
  // The exchange files of EIGEN stay in the program folder.
  EXPECT_TRUE(plat::FileExists(t.P("eigen.inp")));
  EXPECT_TRUE(plat::FileExists(t.P("eigen.out")));

  // Two families and no slope file: no wedge table, a family table of two rows with the parameters left by the
  // first run, a new conductivity table.
  QFile::remove(R("esempio.fro"));
  QFile::remove(R("esempio.PER"));
  const RunResult r2 = Cluster(2);
  ASSERT_EQ(r2.exitCode, 0) << r2.output.toStdString();
  EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\tmsgbox\t").isEmpty());
  EXPECT_FALSE(plat::FileExists(R("esempio.GMC")));
  EXPECT_EQ(Righe("esempio.FAM").size(), 3);
  EXPECT_EQ(Righe("esempio.PER").size(), 4);
  EXPECT_EQ(Righe("esempio.pgm").size(), 8);
  EXPECT_TRUE(Righe("esempio.FAM").at(2).endsWith("\t35.00\t20.00"));
}

namespace {

// An answer of the solver: three values, then three directions, one a row.
struct Risposta {
  std::array<double, 3> valori{};
  std::array<std::array<double, 3>, 3> direzioni{};
  QString Testo() const {
    QString testo;
    for (const double v : valori) testo += QString::number(v, 'g', 17) + "\n";
    for (const auto& d : direzioni)
      testo += QString("%1 %2 %3\n").arg(d[0], 0, 'g', 17).arg(d[1], 0, 'g', 17).arg(d[2], 0, 'g', 17);
    return testo;
  }
};

Risposta LeggiRisposta(const QString& testo) {
  const QStringList righe = testo.split('\n', Qt::SkipEmptyParts);
  Risposta r;
  for (int i = 0; i < 3; ++i) {
    r.valori[i] = righe.at(i).trimmed().toDouble();
    const QStringList c = righe.at(3 + i).split(' ', Qt::SkipEmptyParts);
    for (int j = 0; j < 3; ++j) r.direzioni[i][j] = c.at(j).toDouble();
  }
  return r;
}

}  // namespace

// The solver's answer is taken only when it is the solution of the tensor handed to it. A stand-in solver gives
// answers built from the true one for the two families the example keeps at level 4: each is damage of eigen.out
// told with its line, no conductivity table is written (the run's other tables are), and the true answer in
// another order of its pairs, its directions turned end for end, gives the true table again.
TEST_F(StradaCluster, AnEigenAnswerThatIsNoSolutionOfTheTensorIsDamageWithItsLine) {
  ASSERT_EQ(Cluster(2).exitCode, 0);
  const QByteArray tabella = ReadBytes(R("esempio.PER"));
  EXPECT_TRUE(Righe("esempio.PER").at(1).startsWith("Massima\t3.99E-02\t63.0\t142.0")) << tabella.toStdString();
  const Risposta vera = LeggiRisposta(ReadAnsi(t.P("eigen.out")));

  auto ruota = [](const std::array<double, 3>& d, double gradi) {  // about the vertical axis
    const double a = gradi * M_PI / 180;
    return std::array<double, 3>{d[0] * std::cos(a) - d[1] * std::sin(a), d[0] * std::sin(a) + d[1] * std::cos(a),
                                 d[2]};
  };
  // What, the answer, the line told: that of the direction whose pair is no solution, or at no right angle to one
  // before it.
  QList<std::tuple<QString, QString, int>> risposte;
  Risposta r = vera;
  r.valori = {vera.valori[2], vera.valori[0], vera.valori[1]};
  risposte.append({"values permuted", r.Testo(), 4});
  r = vera;
  r.direzioni = {vera.direzioni[2], vera.direzioni[0], vera.direzioni[1]};
  risposte.append({"directions permuted", r.Testo(), 4});
  r = vera;
  r.direzioni = {vera.direzioni[2], vera.direzioni[2], vera.direzioni[2]};
  risposte.append({"three equal directions", r.Testo(), 5});
  r = vera;
  for (double& v : r.valori) v /= 2;
  risposte.append({"values halved", r.Testo(), 4});
  r = vera;
  r.direzioni = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  risposte.append({"coordinate axes", r.Testo(), 4});
  r = vera;
  r.direzioni[0] = ruota(vera.direzioni[0], 10);
  risposte.append({"directions not at right angles", r.Testo(), 5});
  r = vera;
  for (auto& d : r.direzioni) d = ruota(d, -166);  // the solution of the tensor turned about the vertical
  risposte.append({"another tensor of the same values", r.Testo(), 4});
  r = vera;
  r.valori = {0, 0, 0};
  risposte.append({"values 0 0 0", r.Testo(), 4});

  for (const auto& [cosa, testo, riga] : risposte) {
    SCOPED_TRACE(cosa.toStdString());
    QFile::remove(t.P("EIGEN"));
    WriteAnsi(t.P("risposta"), testo);
    WriteScript(t.P("EIGEN"), "#!/bin/sh\ncp \"$(dirname \"$0\")/risposta\" \"$(dirname \"$0\")/eigen.out\"\n");
    ASSERT_EQ(Cluster(2, "answer OK \"eigen.out\"\n").exitCode, 0);
    const QStringList m = ReadLog(t.D("ui.log")).filter("\tmsgbox\t");
    ASSERT_EQ(m.size(), 1) << m.join("\n").toStdString();
    EXPECT_TRUE(m[0].contains(QString("Il file e' incompleto o danneggiato:\\neigen.out, riga %1\\n").arg(riga)))
        << m[0].toStdString();
    EXPECT_FALSE(plat::FileExists(R("esempio.PER")));
    EXPECT_EQ(Righe("esempio.FAM").size(), 3);
    EXPECT_TRUE(plat::FileExists(R("esempio.GMC")));
  }

  // A CR that ends no line is told with its line.
  QStringList righe = vera.Testo().split('\n');
  righe[4] += '\r' + righe.takeAt(5);
  {
    QFile f(t.P("risposta"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(righe.join('\n').toLatin1());
  }
  ASSERT_EQ(Cluster(2, "answer OK \"eigen.out\"\n").exitCode, 0);
  const QStringList m = ReadLog(t.D("ui.log")).filter("\tmsgbox\t");
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].contains("Il file e' incompleto o danneggiato:\\neigen.out, riga 5\\n")) << m[0].toStdString();

  // The pairs in another order, each direction turned end for end: the same solution, the same table.
  r = vera;
  for (int i = 0; i < 3; ++i) {
    r.valori[i] = vera.valori[2 - i];
    for (int j = 0; j < 3; ++j) r.direzioni[i][j] = -vera.direzioni[2 - i][j];
  }
  WriteAnsi(t.P("risposta"), r.Testo());
  ASSERT_EQ(Cluster(2).exitCode, 0);
  EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\tmsgbox\t").isEmpty());
  EXPECT_EQ(ReadBytes(R("esempio.PER")), tabella);
}
