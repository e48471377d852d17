// The whole cluster road from the main program: the cluster command on the example session, TALVOR's clustering
// window by script, the result, the conductivity table through EIGEN, the family parameters from the slope file,
// the family table and PELDRIX's wedge table.
#include "common/platform/files.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>

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
  // level 4 (group average) within 20 degrees.
  RunResult Cluster(int famiglie) {
    WriteAnsi(t.Root() + "/script/frattix32.script", "menu CalcoliCluster\nclose menu1\n");
    QString talvor = "check Option3 1\npress Command3\nset Text1 4\nkey Text1 Enter\npress Picture3\n";
    for (int k = 1; k < famiglie; ++k) talvor += "key Picture1 Right\n";
    WriteAnsi(t.Root() + "/script/TALVOR.script", talvor + "press Picture3\nset Text1 20\nkey Text1 Enter\npress Command1\n");
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
