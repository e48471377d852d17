// Whole cluster runs of TALVOR down to the tables: result, conductivity table, family parameters, family table
// and PELDRIX's wedge table.
#include "common/data/passaggio.h"
#include "common/data/scheda.h"
#include "common/platform/files.h"
#include "tests/support/support.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The five orientations (dip direction, dip) of the worked example, apertures 1 to 5 mm, on one sheet whose
// measuring line runs 120/15 for 10 m.
void Scheda(const TestFolder& t, const QString& lunghezza) {
  ModuloScheda s;
  s.IntestazioneScheda = {"", "Prova", "", "120/15", "", lunghezza, "", "", "", "", ""};
  const int giaciture[5][2] = {{129, 71}, {327, 44}, {339, 79}, {0, 45}, {113, 9}};
  s.RigheScheda = {QString()};
  for (int i = 0; i < 5; ++i)
    s.RigheScheda.push_back(QString::asprintf(" 1  1.0  GI %3d %2d  3 1 1 1 IRR %-2d LIS DOL R2", giaciture[i][0],
                                              giaciture[i][1], i + 1));
  s.NumeroRigheScheda = 5;
  ASSERT_TRUE(ScriviFileScheda(t.D("uno.sch"), s));
}

void Sessione(TestFolder& t) {
  t.AddPrograms({"TALVOR", "EIGEN", "peldrix"});
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  Scheda(t, "10");
  FilePassaggioDati d;
  d.Modo = ModoCluster;
  d.Schede = {"uno.sch"};
  d.NomeSessione = "prova.ses";
  ASSERT_TRUE(ScriviFilePassaggio(t.P("temporan"), d));
  WriteAnsi(t.D("prova.ses"), "uno.sch\n");
  // Friction angle 35, cohesion 2 (20 kN/m²), rock unit weight, crest height 25.
  WriteAnsi(t.D("prova.fro"), "70\n125\n10\n125\n2\n35\n2.6\n.981\n25\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n");
}

RunResult Talvor(const TestFolder& t, const QString& script) {
  return RunProgram(t.P("TALVOR"), {}, t.Data(), ScriptedRunEnvironment(t, script));
}

// Group average, level 2, the first n clusters kept, 30 degrees, confirmed.
QString Copione(int famiglie) {
  return QString("check Option3 1\npress Command3\nset Text1 2\nkey Text1 Enter\npress Picture3\n") +
         (famiglie == 2 ? "key Picture1 Right\n" : "") + "press Picture3\nset Text1 30\nkey Text1 Enter\npress Command1\n";
}

QStringList Righe(const QString& file) { return ReadAnsi(file).split('\n', Qt::SkipEmptyParts); }

}  // namespace

TEST(TalvorTabelle, FivePointRunWritesEveryTable) {
  TestFolder t;
  Sessione(t);
  const RunResult r = Talvor(t, Copione(2));
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\tmsgbox\t").isEmpty());

  // The family table: the strengths of the slope file, which TALVOR has just written as the family parameters.
  EXPECT_EQ(ReadBytes(t.D("prova.FAM")),
            QByteArray("N. Fam.\tImmers. [\xB0]\tInclinaz. [\xB0]\tApertura [mm]\tFrequenza [1/m]\tPhi [\xB0]\t"
                       "Coesione [kN/m\xB2]\r\n"
                       "1\t344.0\t43.0\t3.0\t0.29\t35.00\t20.00\r\n"
                       "2\t129.0\t71.0\t1.0\t0.12\t35.00\t20.00\r\n"));
  EXPECT_EQ(Righe(t.D("prova.pgm")), QStringList({"35", "2", "35", "2"}));

  // Principal values of about 0.0067, 0.0066 and 0.0001 m/s, axes 23/47, 35/300 and 46/163.
  EXPECT_EQ(ReadBytes(t.D("prova.PER")), QByteArray("Componente\tModulo [m/s]\tInclinazione [\xB0]\tDirezione [\xB0]\r\n"
                                                    "Massima\t6.70E-03\t23.0\t47.0\r\n"
                                                    "Media\t6.61E-03\t35.0\t300.0\r\n"
                                                    "Minima\t9.10E-05\t46.0\t163.0\r\n"));
  // PELDRIX has checked the wedge of the two families.
  EXPECT_TRUE(plat::FileExists(t.D("prova.GMC")));
}

TEST(TalvorTabelle, ASecondRunLeavesNoStaleTable) {
  TestFolder t;
  Sessione(t);
  ASSERT_EQ(Talvor(t, Copione(2)).exitCode, 0);
  ASSERT_TRUE(plat::FileExists(t.D("prova.GMC")));

  // One family, no slope file: the old wedge table goes, the family table has one row with the strengths the
  // family parameters still hold.
  QFile::remove(t.D("prova.fro"));
  const RunResult r = Talvor(t, Copione(1));
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_FALSE(plat::FileExists(t.D("prova.GMC")));
  const QStringList fam = Righe(t.D("prova.FAM"));
  ASSERT_EQ(fam.size(), 2);
  EXPECT_EQ(fam[1], QString("1\t344.0\t43.0\t3.0\t0.29\t35.00\t20.00"));
  EXPECT_EQ(Righe(t.D("prova.PER")).size(), 4);

  // Without a measuring-line length the families have neither aperture nor frequency: no conductivity table,
  // and none left from before.
  Scheda(t, "0");
  EXPECT_EQ(Talvor(t, Copione(1) + "answer OK \"stendimento\"\n").exitCode, 0);
  EXPECT_FALSE(plat::FileExists(t.D("prova.PER")));
  EXPECT_EQ(Righe(t.D("prova.FAM")).size(), 2);
}

TEST(TalvorTabelle, ADamagedSlopeFileIsToldOnceAndGivesNoStrengths) {
  TestFolder t;
  Sessione(t);
  WriteAnsi(t.D("prova.fro"), "70\n125\n10\n");
  const RunResult r = Talvor(t, Copione(2) + "answer OK \"prova.fro\"\n");
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("\tmsgbox\t").size(), 1);
  EXPECT_FALSE(plat::FileExists(t.D("prova.pgm")));
  EXPECT_FALSE(plat::FileExists(t.D("prova.GMC")));
  const QStringList fam = Righe(t.D("prova.FAM"));
  ASSERT_EQ(fam.size(), 3);
  EXPECT_TRUE(fam[2].endsWith("\t0.00\t0.00"));
}
