// The conductivity tensor, its principal axes through EIGEN, the conductivity table and the family table, on
// TALVOR state filled by the tests.
#include "cluster/geometria.h"
#include "cluster/permeabilita.h"
#include "cluster/tabellafamiglie.h"
#include "cluster/talvor.h"

#include "common/platform/files.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cmath>

using namespace testing_support;

namespace {

// A TALVOR state for the session "prova.ses" of a test folder whose program folder holds EIGEN.
class TabelleTalvor : public ::testing::Test {
 protected:
  void SetUp() override {
    AzzeraTalvor();
    t.AddPrograms({"EIGEN"});
    Talvor.PercorsoProgramma = t.Program();
    Talvor.NomeFileDati = QStringLiteral("prova.ses");
  }
  void TearDown() override { AzzeraTalvor(); }

  // Family k: a plane of dip direction and dip in degrees, aperture in mm, frequency in 1/m.
  static void Famiglia(int k, double immersione, double dip, double apertura, double frequenza) {
    double i = 0, d = 0;
    GiacituraInPolo(immersione, dip, i, d);
    Talvor.InclinazioneCentri[k] = i;
    Talvor.DirezioneCentri[k] = d;
    Talvor.AperturaFamiglie[k] = apertura;
    Talvor.FrequenzaFamiglie[k] = frequenza;
    Talvor.NumeroCluster = std::max(Talvor.NumeroCluster, k);
  }
  // A stand-in for EIGEN; the program folder's EIGEN is a link to the built program, removed first.
  void Solutore(const QString& script) const {
    QFile::remove(t.P("EIGEN"));
    WriteScript(t.P("EIGEN"), script);
  }
  QString Per() const { return t.D("prova.PER"); }
  QString Fam() const { return t.D("prova.FAM"); }

  TestFolder t;
};

// g a³ f / (12 ν) of an aperture in mm and a frequency in 1/m.
double Conducibilita(double apertura, double frequenza) { return 9.8 * std::pow(apertura / 1000, 3) * frequenza / 12e-6; }

}  // namespace

TEST_F(TabelleTalvor, TensorOfAHorizontalAndAVerticalFamilyAndItsTable) {
  Famiglia(1, 0, 0, 2, 1);
  Famiglia(2, 90, 90, 1, 2);
  TensorePermeabilita();
  const auto& k = Talvor.TensoreConducibilita;
  EXPECT_NEAR(k[1][1], 0.0065333333, 1e-9);
  EXPECT_NEAR(k[2][2], 0.0081666667, 1e-9);
  EXPECT_NEAR(k[3][3], 0.0016333333, 1e-9);
  for (int r = 1; r <= 3; ++r)
    for (int s = 1; s <= 3; ++s)
      if (r != s) {
        EXPECT_NEAR(k[r][s], 0, 1e-18);
      }

  // The stale solution of an earlier run is never read: EIGEN writes a new one.
  WriteAnsi(t.P("eigen.out"), "9\n9\n9\n1 0 0\n0 1 0\n0 0 1\n");
  ASSERT_TRUE(CalcolaAutovettori());
  // The tensor reaches EIGEN with nine significant digits, each entry followed by a blank.
  const QStringList ingresso = ReadAnsi(t.P("eigen.inp")).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(ingresso.size(), 3);
  for (int r = 0; r < 3; ++r) {
    EXPECT_TRUE(ingresso[r].endsWith(' '));
    EXPECT_EQ(ingresso[r].split(' ', Qt::SkipEmptyParts).size(), 3);
  }
  EXPECT_EQ(ingresso[0].split(' ')[0], QString("0.00653333333"));
  EXPECT_EQ(ingresso[1].split(' ')[1], QString("0.00816666667"));
  EXPECT_EQ(ingresso[2].split(' ')[2], QString("0.00163333333"));
  TabellaPermeabilita();
  // The largest axis runs north-south (horizontal: the end from 0 up to 180), the middle one east-west, the
  // smallest is vertical.
  EXPECT_EQ(ReadBytes(Per()), QByteArray("Componente\tModulo [m/s]\tInclinazione [\xB0]\tDirezione [\xB0]\r\n"
                                         "Massima\t8.17E-03\t0.0\t0.0\r\n"
                                         "Media\t6.53E-03\t0.0\t90.0\r\n"
                                         "Minima\t1.63E-03\t90.0\t270.0\r\n"));
}

TEST_F(TabelleTalvor, ThreePerpendicularFamiliesGiveTwiceTheirConductivityOnEveryAxis) {
  Famiglia(1, 0, 0, 0.3, 4);
  Famiglia(2, 90, 90, 0.3, 4);
  Famiglia(3, 180, 90, 0.3, 4);
  TensorePermeabilita();
  const double c = Conducibilita(0.3, 4);
  for (int r = 1; r <= 3; ++r)
    for (int s = 1; s <= 3; ++s) EXPECT_NEAR(Talvor.TensoreConducibilita[r][s], r == s ? 2 * c : 0, 1e-12 * c);
  // Sub-millimetre apertures keep their value on the way to EIGEN and in the table.
  CalcolaPermeabilita();
  const QStringList righe = ReadAnsi(Per()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(righe.size(), 4);
  for (int p = 1; p <= 3; ++p) EXPECT_EQ(righe[p].split('\t')[1], ValoreConducibilita(2 * c));
  EXPECT_EQ(ValoreConducibilita(2 * c), QString("1.76E-04"));
}

TEST_F(TabelleTalvor, PrincipalValuesInOneExponentForm) {
  EXPECT_EQ(ValoreConducibilita(0.000816), QString("8.16E-04"));
  EXPECT_EQ(ValoreConducibilita(1e-9), QString("1.00E-09"));
  EXPECT_EQ(ValoreConducibilita(0.0123456), QString("1.23E-02"));
  EXPECT_EQ(ValoreConducibilita(0), QString("0.00E+00"));
  EXPECT_EQ(ValoreConducibilita(std::nan("")), QString("0.00E+00"));
}

TEST(AssiTabella, PlungeAndAzimuthOfTheDownwardEnd) {
  const auto asse = [](double x, double y, double z) {
    int i = -1, d = -1;
    AsseInTabella(x, y, z, i, d);
    return std::make_pair(i, d);
  };
  using P = std::pair<int, int>;
  EXPECT_EQ(asse(0, 0, 1), P(90, 270));
  EXPECT_EQ(asse(0, 0, -1), P(90, 270));
  // Straight down towards the east, whichever end the solver gives.
  EXPECT_EQ(asse(1, 0, -1), P(45, 90));
  EXPECT_EQ(asse(-1, 0, 1), P(45, 90));
  EXPECT_EQ(asse(-1, -1, -std::sqrt(2.0)), P(45, 225));
  // Horizontal axes take the end from 0 up to 180, also when the last bit of z leans either way.
  EXPECT_EQ(asse(0, 1, 0), P(0, 0));
  EXPECT_EQ(asse(0, -1, 0), P(0, 0));
  EXPECT_EQ(asse(0, 1, 1e-17), P(0, 0));
  EXPECT_EQ(asse(0, 1, -1e-17), P(0, 0));
  EXPECT_EQ(asse(-1, 1, 1e-16), P(0, 135));
  EXPECT_EQ(asse(1, -1, 1e-16), P(0, 135));
  // Vertical axes keep one azimuth whatever the horizontal noise.
  EXPECT_EQ(asse(1e-12, 0, 1), P(90, 270));
  EXPECT_EQ(asse(-1e-12, 1e-13, 1), P(90, 270));
}

TEST_F(TabelleTalvor, WithoutAnEigenSolverThereIsNoTableAndTheRunGoesOn) {
  Famiglia(1, 0, 0, 2, 1);
  WriteAnsi(Per(), "vecchia\n");
  WriteAnsi(t.P("eigen.out"), "1\n2\n3\n1 0 0\n0 1 0\n0 0 1\n");
  QFile::remove(t.P("EIGEN"));
  {
    Scripted s(t, "answer OK \"EIGEN\"\n");
    CalcolaPermeabilita();
    EXPECT_EQ(s.Log("msgbox").size(), 1);
  }
  EXPECT_FALSE(plat::FileExists(Per()));
  EXPECT_FALSE(plat::FileExists(t.P("eigen.out")));
  EXPECT_EQ(Talvor.ValoriPrincipali[1], 0);

  // A solver that writes nothing, and one that writes a short file.
  for (const char* corpo : {"exit 0\n", "printf '1\\n2\\n3\\n1 0 0\\n0 1\\n' > \"$(dirname \"$0\")/eigen.out\"\n"}) {
    Solutore(QString("#!/bin/sh\n") + corpo);
    WriteAnsi(Per(), "vecchia\n");
    Scripted s(t, "answer OK \"eigen.out\"\n");
    CalcolaPermeabilita();
    EXPECT_EQ(s.Log("msgbox").size(), 1) << corpo;
    EXPECT_FALSE(plat::FileExists(Per())) << corpo;
  }
}

// The horizontal family of 2 mm, 1 per metre: the tensor handed over is 0.00653333333 along both horizontal axes.
TEST_F(TabelleTalvor, TheSolverOutputMayBreakItsValuesAnyWayAndAddTextAfterADirection) {
  Famiglia(1, 0, 0, 2, 1);
  TensorePermeabilita();
  Solutore("#!/bin/sh\nprintf '0, 6.53333333E-3\\n 0.00653333333\\n0 0 1 extra\\n1,0,0\\n0 -1 0 0.5\\n' > "
           "\"$(dirname \"$0\")/eigen.out\"\n");
  ASSERT_TRUE(CalcolaAutovettori());
  EXPECT_EQ(Talvor.ValoriPrincipali[2], 6.53333333e-3);
  EXPECT_EQ(Talvor.DirezioniPrincipali[3][2], -1);
  TabellaPermeabilita();
  EXPECT_EQ(ReadAnsi(Per()).split('\n').mid(1, 3),
            QStringList({"Massima\t6.53E-03\t0.0\t90.0", "Media\t6.53E-03\t0.0\t0.0",
                         "Minima\t0.00E+00\t90.0\t270.0"}));
}

TEST_F(TabelleTalvor, SolverRoundingBelowTheLargestValueIsWrittenAsZero) {
  // One family alone has no conductivity across its planes: the third value is rounding, or slightly negative.
  // Through EIGEN itself the rounding of the nine-digit exchange reaches a few parts in 1e9 of the largest value.
  const double famiglie[][4] = {{2.9807489279047505, 47.878948892130886, 2, 5.19140959734553},
                                {355.01284208002903, 50.64414854365957, 2, 5.495466133016795},
                                {181.6993682743908, 43.64326010049607, 1, 4.2028027365071425}};
  for (const auto& f : famiglie) {
    Famiglia(1, f[0], f[1], f[2], f[3]);
    CalcolaPermeabilita();
    EXPECT_EQ(ReadAnsi(Per()).split('\n').at(3).split('\t').at(1), QString("0.00E+00")) << f[0];
  }
  // A value a little below 0: the horizontal family, 0.00653333333 along both horizontal axes.
  Famiglia(1, 0, 0, 2, 1);
  Solutore("#!/bin/sh\nprintf '0.00653333333\\n-3e-19\\n0.00653333333\\n1 0 0\\n0 0 1\\n0 1 0\\n' > "
           "\"$(dirname \"$0\")/eigen.out\"\n");
  CalcolaPermeabilita();
  EXPECT_EQ(ReadAnsi(Per()).split('\n').at(3).split('\t').at(1), QString("0.00E+00"));
  // Equal values keep the solver's order.
  EXPECT_EQ(ReadAnsi(Per()).split('\n').at(1), QString("Massima\t6.53E-03\t0.0\t90.0"));
}

// An answer of the solver that is no solution of the tensor handed to it is the damage of eigen.out, told with
// the line of the direction whose pair fails, and no table is written: a conductivity negative beyond rounding
// (the table showed 0 for it), one beyond the range the tensor allows (1e308), a direction that is no unit vector
// (5 5 5, 1e308), all values negative. The solver's rounding stays a solution.
TEST_F(TabelleTalvor, ASolverAnswerThatIsNoSolutionOfTheTensorIsDamage) {
  Famiglia(1, 0, 0, 2, 1);  // c = 6.53333333E-03 along both horizontal axes
  for (const auto& [uscita, riga] : {std::pair("c\\n-0.001\\nc\\n1 0 0\\n0 0 1\\n0 1 0\\n", 5),
                                     std::pair("c\\n-1e-6\\nc\\n1 0 0\\n0 0 1\\n0 1 0\\n", 5),
                                     std::pair("1e308\\n0\\nc\\n1 0 0\\n0 0 1\\n0 1 0\\n", 4),
                                     std::pair("c\\n0\\nc\\n5 5 5\\n0 0 1\\n0 1 0\\n", 4),
                                     std::pair("c\\n0\\nc\\n1 0 0\\n1e308 0 0\\n0 1 0\\n", 5),
                                     std::pair("c\\n0\\nc\\n1 0 0\\n0 0 0.9\\n0 1 0\\n", 5),
                                     std::pair("-c\\n-0.001\\n-0.002\\n1 0 0\\n0 0 1\\n0 1 0\\n", 4)}) {
    SCOPED_TRACE(uscita);
    Solutore(QString("#!/bin/sh\nprintf '%b' '%1' > \"$(dirname \"$0\")/eigen.out\"\n")
                 .arg(QString(uscita).replace("c", "0.00653333333")));
    WriteAnsi(Per(), "vecchia\n");
    Scripted s(t, "answer OK \"eigen.out\"\n");
    CalcolaPermeabilita();
    ASSERT_EQ(s.Log("msgbox").size(), 1);
    const QString atteso = QString("Il file e' incompleto o danneggiato:\\neigen.out, riga %1\\n").arg(riga);
    EXPECT_TRUE(s.Log("msgbox")[0].contains(atteso)) << s.Log("msgbox")[0].toStdString();
    EXPECT_FALSE(plat::FileExists(Per()));
    EXPECT_EQ(Talvor.ValoriPrincipali[1], 0);
  }
  // The rounding of the exchange: a value a little below 0, directions a little off unit length.
  Solutore("#!/bin/sh\nprintf '0.00653333333\\n-3e-12\\n0.00653333333\\n1 0 0\\n0 0 1.0000001\\n0 1 0\\n' > "
           "\"$(dirname \"$0\")/eigen.out\"\n");
  CalcolaPermeabilita();
  EXPECT_EQ(ReadAnsi(Per()).split('\n').at(3).split('\t').at(1), QString("0.00E+00"));
}

// The tensor and the table against numpy on random family sets, tiny apertures included.
TEST_F(TabelleTalvor, TensorAndTableAgreeWithAnIndependentComputation) {
  QRandomGenerator caso(20261209);
  const int insiemi = 12;
  QString dati;
  std::vector<std::vector<std::array<double, 4>>> famiglie(insiemi);
  for (int n = 0; n < insiemi; ++n) {
    const int k = 1 + static_cast<int>(caso.bounded(7));
    for (int f = 0; f < k; ++f) {
      const double apertura = (n % 3 == 0) ? 0.05 : 0.05 + caso.bounded(5.0);
      famiglie[n].push_back({caso.bounded(360.0), caso.bounded(90.0), apertura, 0.1 + caso.bounded(10.0)});
      dati += QString("%1 %2 %3 %4 %5\n").arg(n).arg(famiglie[n].back()[0], 0, 'g', 17).arg(famiglie[n].back()[1], 0, 'g', 17)
                  .arg(apertura, 0, 'g', 17).arg(famiglie[n].back()[3], 0, 'g', 17);
    }
  }
  WriteAnsi(t.D("famiglie.txt"), dati);
  const char* programma = R"(
import sys, numpy as np
rows = np.loadtxt(sys.argv[1], ndmin=2)
for n in range(int(rows[:, 0].max()) + 1):
    K = np.zeros((3, 3))
    for _, imm, dip, ap, fr in rows[rows[:, 0] == n]:
        a, d = np.radians(imm), np.radians(dip)
        nv = np.array([np.sin(a) * np.sin(d), np.cos(a) * np.sin(d), np.cos(d)])
        K += 9.8 * (ap / 1000) ** 3 * fr / (12 * 1e-6) * (np.eye(3) - np.outer(nv, nv))
    w, v = np.linalg.eigh(K)
    out = list(K.flatten())
    for i in (2, 1, 0):
        e = v[:, i] if v[2, i] <= 0 else -v[:, i]
        out += [w[i], np.degrees(np.arcsin(-e[2])), np.degrees(np.arctan2(e[0], e[1])) % 360]
    print(' '.join(repr(float(x)) for x in out))
)";
  const RunResult py = RunProgram("/usr/bin/python3", {"-c", programma, t.D("famiglie.txt")}, t.Data());
  ASSERT_EQ(py.exitCode, 0) << py.output.toStdString();
  const QStringList attese = py.output.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(attese.size(), insiemi);

  for (int n = 0; n < insiemi; ++n) {
    SCOPED_TRACE(n);
    AzzeraTalvor();
    Talvor.PercorsoProgramma = t.Program();
    Talvor.NomeFileDati = QStringLiteral("prova.ses");
    for (std::size_t f = 0; f < famiglie[n].size(); ++f) {
      const auto& g = famiglie[n][f];
      Famiglia(static_cast<int>(f) + 1, g[0], g[1], g[2], g[3]);
    }
    std::vector<double> e;
    for (const QString& x : attese[n].split(' ')) e.push_back(x.toDouble());
    const double massimo = e[9];
    TensorePermeabilita();
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(Talvor.TensoreConducibilita[i / 3 + 1][i % 3 + 1], e[i], 1e-12 * massimo);
    CalcolaPermeabilita();
    const QStringList righe = ReadAnsi(Per()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(righe.size(), 4);
    for (int p = 0; p < 3; ++p) {
      const QStringList c = righe[p + 1].split('\t');
      const double valore = e[9 + 3 * p], plunge = e[10 + 3 * p], azimuth = e[11 + 3 * p];
      // Three significant digits; what lies below the exchange's nine digits counts as 0.
      if (valore > 1e-8 * massimo) EXPECT_NEAR(c[1].toDouble(), valore, 0.006 * valore) << c[1].toStdString();
      else EXPECT_LE(c[1].toDouble(), 1e-8 * massimo);
      // An axis is defined where its value stands apart from the others.
      bool separato = true;
      for (int q = 0; q < 3; ++q)
        if (q != p && std::fabs(e[9 + 3 * q] - valore) < 1e-3 * massimo) separato = false;
      if (!separato) continue;
      EXPECT_NEAR(c[2].toDouble(), plunge, 0.51);
      if (c[2].toDouble() == 0) {
        EXPECT_LE(c[3].toDouble(), 180.0);
        EXPECT_NEAR(std::remainder(c[3].toDouble() - azimuth, 180.0), 0, 0.51) << azimuth;
      } else if (c[2].toDouble() < 90) {
        EXPECT_NEAR(std::remainder(c[3].toDouble() - azimuth, 360.0), 0, plunge < 1 ? 1.0 : 0.51) << azimuth;
      }
    }
  }
}

TEST(GradiFamiglie, CentreToDipDirectionAndDip) {
  const double pi = PiGreco();
  const auto gradi = [](double i, double d) {
    int imm = -1, dip = -1;
    CentroInGradi(i, d, imm, dip);
    return std::make_pair(imm, dip);
  };
  using P = std::pair<int, int>;
  EXPECT_EQ(gradi(pi / 2, 0), P(90, 0));
  EXPECT_EQ(gradi(0.5, 3 * pi / 2), P(180, 61));
  EXPECT_EQ(gradi(0.5, 2 * pi), P(90, 61));
  EXPECT_EQ(gradi(0.5, (89.7) * pi / 180), P(0, 61));
  EXPECT_EQ(gradi(0, 0), P(90, 90));
}

TEST_F(TabelleTalvor, FamilyTableWithTheStrengthsOfTheFamilyParameters) {
  Famiglia(1, 344, 43, 3, 0.2912);
  Famiglia(2, 129, 71, 1, 0.1234);
  Famiglia(3, 0, 0, 0.25, 12.349);
  // Two families in the parameter file: the third shows 0; the cohesion is shown in kN/m² (ten times the file).
  WriteAnsi(t.D("prova.pgm"), " 35 \n 2.5 \n 30\n.5\n");
  ASSERT_TRUE(TabellaFamiglie());
  EXPECT_EQ(ReadBytes(Fam()),
            QByteArray("N. Fam.\tImmers. [\xB0]\tInclinaz. [\xB0]\tApertura [mm]\tFrequenza [1/m]\tPhi [\xB0]\t"
                       "Coesione [kN/m\xB2]\r\n"
                       "1\t344.0\t43.0\t3.0\t0.29\t35.00\t25.00\r\n"
                       "2\t129.0\t71.0\t1.0\t0.12\t30.00\t5.00\r\n"
                       "3\t0.0\t0.0\t0.2\t12.34\t0.00\t0.00\r\n"));

  // Without parameters the slope file's friction angle and cohesion serve every family; without either, 0.
  QFile::remove(t.D("prova.pgm"));
  WriteAnsi(t.D("prova.fro"), "70\n125\n10\n125\n10\n35\n2.6\n.981\n25\n");
  ASSERT_TRUE(TabellaFamiglie());
  for (const QString& riga : ReadAnsi(Fam()).split('\n', Qt::SkipEmptyParts).mid(1))
    EXPECT_TRUE(riga.endsWith("\t35.00\t100.00")) << riga.toStdString();
  QFile::remove(t.D("prova.fro"));
  ASSERT_TRUE(TabellaFamiglie());
  for (const QString& riga : ReadAnsi(Fam()).split('\n', Qt::SkipEmptyParts).mid(1))
    EXPECT_TRUE(riga.endsWith("\t0.00\t0.00")) << riga.toStdString();
  // A friction angle beyond a right angle is told with its line; no strength is taken from the file.
  WriteAnsi(t.D("prova.pgm"), " 35 \n 2.5 \n 95\n.5\n");
  Scripted s(t, "answer OK\n");
  ASSERT_TRUE(TabellaFamiglie());
  ASSERT_EQ(s.Log("msgbox").size(), 1);
  EXPECT_TRUE(s.Log("msgbox").first().contains("Il file e' incompleto o danneggiato:\\nprova.pgm, riga 3\\n"))
      << s.Log("msgbox").first().toStdString();
  for (const QString& riga : ReadAnsi(Fam()).split('\n', Qt::SkipEmptyParts).mid(1))
    EXPECT_TRUE(riga.endsWith("\t0.00\t0.00")) << riga.toStdString();
}

TEST_F(TabelleTalvor, ThreeHundredFamiliesKeepTheirStrengths) {
  QString pgm;
  for (int k = 1; k <= kMassimoPoli; ++k) {
    Famiglia(k, k % 360, k % 90, 1, 1);
    pgm += QString("%1\n%2\n").arg(k % 45).arg(k % 7);
  }
  WriteAnsi(t.D("prova.pgm"), pgm);
  ASSERT_TRUE(TabellaFamiglie());
  const QStringList righe = ReadAnsi(Fam()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(righe.size(), kMassimoPoli + 1);
  EXPECT_EQ(righe.last(), QString("300\t300.0\t30.0\t1.0\t1.00\t30.00\t60.00"));
  EXPECT_EQ(righe[150].split('\t').mid(5), QStringList({"15.00", "30.00"}));
}

TEST_F(TabelleTalvor, FamilyParametersFromTheSlopeFile) {
  Famiglia(1, 10, 10, 1, 1);
  Famiglia(2, 20, 20, 1, 1);
  Talvor.ValoriFronte[6] = 35;
  Talvor.ValoriFronte[5] = 0.25;
  ASSERT_TRUE(ParametriDaFronte());
  EXPECT_EQ(ReadAnsi(t.D("prova.pgm")), QString("35\n0.25\n35\n0.25\n"));
}

// A full disk: the conductivity table, the family parameters and the family table that cannot be written whole
// leave the old files as they were, each with a message naming it.
TEST_F(TabelleTalvor, TablesThatCannotBeWrittenWholeKeepTheOldFilesAndAreReported) {
  Famiglia(1, 0, 0, 2, 1);
  Famiglia(2, 90, 90, 1, 2);
  TensorePermeabilita();
  ASSERT_TRUE(CalcolaAutovettori());
  Talvor.ValoriFronte[6] = 35;
  Talvor.ValoriFronte[5] = 0.25;
  const QString pgm = t.D("prova.pgm");
  for (const QString& file : {Per(), Fam()}) WriteAnsi(file, "vecchio\n");
  WriteAnsi(pgm, "30\n1\n");
  bool parametri = true, famiglie = true;
  QStringList messaggi;
  {
    Scripted s(t, "answer OK \"prova.PER\"\nanswer OK \"prova.pgm\"\nanswer OK \"prova.FAM\"\n");
    PipeLog log(t.Root() + "/log");
    testing_support::SetEnv("FRATTIX_UI_LOG", log.Path().toLocal8Bit());
    {
      FileSizeLimit limite(8);
      TabellaPermeabilita();
      parametri = ParametriDaFronte();
      famiglie = TabellaFamiglie();
    }
    messaggi = log.Lines().filter("\tmsgbox\t");
  }
  EXPECT_FALSE(parametri);
  EXPECT_FALSE(famiglie);
  ASSERT_EQ(messaggi.size(), 3) << messaggi.join("\n").toStdString();
  for (const QString& file : {Per(), Fam()}) EXPECT_EQ(ReadAnsi(file), QString("vecchio\n")) << file.toStdString();
  EXPECT_EQ(ReadAnsi(pgm), QString("30\n1\n"));
}
