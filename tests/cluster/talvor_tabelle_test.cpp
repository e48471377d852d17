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

// A sheet whose measuring line runs `linea` (direction/inclination) for `lunghezza` m, with `copie` records of each
// orientation (dip direction, dip), aperture 2 mm.
void SchedaLinea(const TestFolder& t, const QString& linea, const QString& lunghezza,
                 const QList<std::pair<int, int>>& giaciture, const QString& nome = "uno.sch", int copie = 5) {
  ModuloScheda s;
  s.IntestazioneScheda = {"", "Prova", "", linea, "", lunghezza, "", "", "", "", ""};
  s.RigheScheda = {QString()};
  for (const auto& [immersione, inclinazione] : giaciture)
    for (int k = 0; k < copie; ++k)
      s.RigheScheda.push_back(
          QString::asprintf(" 1  1.0  GI %3d %2d  3 1 1 1 IRR 2  LIS DOL R2", immersione, inclinazione));
  s.NumeroRigheScheda = static_cast<int>(s.RigheScheda.size()) - 1;
  ASSERT_TRUE(ScriviFileScheda(t.D(nome), s));
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

TEST(TalvorTabelle, FamiliesWhosePlanesHoldTheMeasuringLineHaveNoFrequencyAtAnyLength) {
  // The line runs 210/0, along the strike of both 120/30 and 300/80. Whatever its length, both families have
  // frequency 0, there is no conductivity table, and the user is told which families and why.
  TestFolder t;
  Sessione(t);
  QFile::remove(t.D("prova.fro"));
  QByteArray famiglie;
  for (const char* lunghezza : {"10", "50", "1000"}) {
    SchedaLinea(t, "210/0", lunghezza, {{120, 30}, {300, 80}});
    const RunResult r = Talvor(t, Copione(2) + "answer OK \"giacciono\"\n");
    ASSERT_EQ(r.exitCode, 0) << lunghezza << ": " << r.output.toStdString();
    const QStringList m = ReadLog(t.D("ui.log")).filter("\tmsgbox\t");
    EXPECT_EQ(m.size(), 1) << lunghezza;
    EXPECT_TRUE(m.value(0).contains("ATTENZIONE!\tTutti gli stendimenti giacciono nel piano di queste famiglie, che quindi "
                              "non hanno frequenza (0.00) e non entrano nel tensore di conducibilita':\\n1, 2"))
        << m.value(0).toStdString();
    QFile::remove(t.D("ui.log"));
    const QStringList fam = Righe(t.D("prova.FAM"));
    ASSERT_EQ(fam.size(), 3) << lunghezza;
    EXPECT_TRUE(fam[1].startsWith("1\t120.0\t30.0\t2.0\t0.00\t")) << fam[1].toStdString();
    EXPECT_TRUE(fam[2].startsWith("2\t300.0\t80.0\t2.0\t0.00\t")) << fam[2].toStdString();
    EXPECT_FALSE(plat::FileExists(t.D("prova.PER"))) << lunghezza;
    if (famiglie.isEmpty()) famiglie = ReadBytes(t.D("prova.FAM"));
    EXPECT_EQ(ReadBytes(t.D("prova.FAM")), famiglie) << lunghezza;
  }

  // A third family that the line crosses: it alone has a frequency, and the conductivity table is its own, as if
  // the other two were not there; only the other two are named.
  SchedaLinea(t, "210/0", "50", {{30, 60}});
  ASSERT_EQ(Talvor(t, "check Option3 1\npress Command3\nset Text1 1\nkey Text1 Enter\npress Picture3\n"
                     "press Picture3\nset Text1 30\nkey Text1 Enter\npress Command1\n")
                .exitCode,
            0);
  const QByteArray sola = ReadBytes(t.D("prova.PER"));
  ASSERT_FALSE(sola.isEmpty());
  SchedaLinea(t, "210/0", "50", {{120, 30}, {30, 60}, {300, 80}});
  const RunResult r = Talvor(t, "check Option3 1\npress Command3\nset Text1 3\nkey Text1 Enter\npress Picture3\n"
                                "key Picture1 Right\nkey Picture1 Right\npress Picture3\nset Text1 30\n"
                                "key Text1 Enter\npress Command1\nanswer OK \"giacciono\"\n");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList fam = Righe(t.D("prova.FAM"));
  ASSERT_EQ(fam.size(), 4);
  QStringList nulle;
  for (const QString& riga : fam.mid(1)) {
    const QStringList celle = riga.split('\t');
    if (celle[1] == "30.0") {
      EXPECT_EQ(celle[4].toStdString(), "0.11");  // 5 / (50 cos 30°)
    } else {
      EXPECT_EQ(celle[4].toStdString(), "0.00");
      nulle << celle[0];
    }
  }
  ASSERT_EQ(nulle.size(), 2);
  const QStringList m = ReadLog(t.D("ui.log")).filter("\tmsgbox\t");
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].contains("tensore di conducibilita':\\n" + nulle.join(", "))) << m[0].toStdString();
  EXPECT_EQ(ReadBytes(t.D("prova.PER")), sola);
}

TEST(TalvorTabelle, EachMeasuringLineIsJudgedByItself) {
  // Eleven horizontal lines of 10 km, each through two joints of 90/80, and one vertical line of 1 m through five
  // horizontal joints. The long lines lie in the plane of the horizontal family and add nothing to it, however
  // long they are: the short line crosses it squarely and gives it 5 per metre, and it enters the conductivity
  // tensor. The steep family is crossed by every line, with about 22 / 108,330 m.
  TestFolder t;
  Sessione(t);
  QFile::remove(t.D("prova.fro"));
  FilePassaggioDati d;
  d.Modo = ModoCluster;
  d.NomeSessione = "prova.ses";
  for (int k = 1; k <= 11; ++k) {
    d.Schede << QString("lunga%1.sch").arg(k);
    SchedaLinea(t, "90/0", "10000", {{90, 80}}, d.Schede.last(), 2);
  }
  d.Schede << "corta.sch";
  SchedaLinea(t, "0/90", "1", {{0, 0}}, "corta.sch", 5);
  ASSERT_TRUE(ScriviFilePassaggio(t.P("temporan"), d));
  WriteAnsi(t.D("prova.ses"), d.Schede.join('\n') + "\n");

  const RunResult r = Talvor(t, Copione(2));
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\tmsgbox\t").isEmpty());
  const QStringList fam = Righe(t.D("prova.FAM"));
  ASSERT_EQ(fam.size(), 3);
  EXPECT_TRUE(fam[1].startsWith("1\t90.0\t80.0\t2.0\t0.00\t")) << fam[1].toStdString();
  EXPECT_TRUE(fam[2].startsWith("2\t180.0\t0.0\t2.0\t5.00\t")) << fam[2].toStdString();
  // Both families have their share of the tensor: the horizontal joints of 2 mm, 5 per metre, give
  // 9.8 · 0.002³ · 5 / (12 · 10⁻⁶) = 3.27E-02 m/s along every horizontal direction; the steep family adds about
  // 1.3E-06 m/s across the horizontal joints, the least conductivity.
  const QStringList per = Righe(t.D("prova.PER"));
  ASSERT_EQ(per.size(), 4);
  EXPECT_TRUE(per[1].startsWith("Massima\t3.27E-02\t0.0\t")) << per[1].toStdString();
  EXPECT_TRUE(per[2].startsWith("Media\t3.27E-02\t0.0\t")) << per[2].toStdString();
  EXPECT_TRUE(per[3].startsWith("Minima\t1.29E-06\t90.0\t")) << per[3].toStdString();
}
