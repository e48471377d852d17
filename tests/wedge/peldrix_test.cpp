// The wedge stability program: its input files, its table, and whole runs of the executable.
#include "common/platform/textio.h"
#include "tests/support/support.h"
#include "tests/wedge/geometria_cuneo.h"
#include "wedge/peldrix.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>

using testing_support::ReadAnsi;
using testing_support::ReadBytes;
using testing_support::ReadLog;
using testing_support::RunProgram;
using testing_support::TestFolder;
using testing_support::WriteAnsi;
using wedge_test::Outcome;
using wedge_test::Slope;

namespace {

const double kPi = 4 * std::atan(1.0);
const double kRad = kPi / 180;

struct Family {
  double dip, dir;
  double stored = NAN;  // the stored direction written instead of the one of `dir`
};

QString Num(double v) { return QString::number(v, 'g', 17); }

// The hand-over file as the main program writes it for the stability command.
void WriteHandOver(const TestFolder& t, const QString& session = "site.ses") {
  WriteAnsi(t.P("temporan"), "0\n-2\n\n 2 \nnord.sch\nsud, bis.sch\n" + session + "\n");
}

// The 19 slope values of a configuration, with the seismic coefficient, as the slope form writes them: the
// cohesion, the unit weights, the load and the anchor force in tenths. Every force of the wedge is a tenth of the
// configuration's, so its factor of safety is the configuration's (the cohesions of the family parameters are
// written in tenths too).
QList<double> SlopeValues(const Slope& s, double seismic = 0) {
  return {s.faceDip,       s.faceDir,         s.upperDip,     s.upperDir,       s.c1 / 10,
          s.phi1,          s.rockWeight / 10, s.waterWeight / 10, s.height,     s.load / 10,
          s.loadPlunge,    s.loadTrend,       s.anchor / 10,  s.anchorPlunge,   s.anchorTrend,
          s.crackDistance, s.crackDip,        s.crackDir,     seismic};
}

void WriteSlope(const TestFolder& t, const QList<double>& values, const QString& name = "site.fro") {
  QString text;
  for (double v : values) text += Num(v) + "\n";
  WriteAnsi(t.D(name), text);
}

// A clustering result: one point per family (and `extra` points more), each family with one member.
void WriteClusters(const TestFolder& t, const QList<Family>& families, int extra = 0,
                   const QString& name = "site.dat") {
  QString text;
  for (int k = 1; k <= 9; ++k) text += QString("Titolo %1\n").arg(k);
  const int points = static_cast<int>(families.size()) + extra;
  text += QString(" %1 \n").arg(points);
  for (int p = 0; p < points; ++p) {
    const Family f = p < families.size() ? families[p] : Family{30, 30};
    const double direction =
        std::isnan(f.stored) ? std::fmod(kPi / 2 - f.dir * kRad + 4 * kPi, 2 * kPi) : f.stored;
    text += QString("%1\n%2\n%1\n%2\n").arg(Num(kPi / 2 - f.dip * kRad), Num(direction));
  }
  text += QString(" %1 \n .3490659 \n").arg(families.size());
  for (int k = 1; k <= families.size(); ++k) text += QString(" 1 \n %1 \n").arg(k);
  WriteAnsi(t.D(name), text);
}

// Replaces line `line` (1-based) of a file with `text`.
void ReplaceLine(const QString& file, int line, const QString& text) {
  QStringList lines = ReadAnsi(file).split('\n');
  lines[line - 1] = text;
  WriteAnsi(file, lines.join('\n'));
}

QProcessEnvironment Env(const TestFolder& t) { return testing_support::ScriptedRunEnvironment(t, "answer OK\n"); }

// A private program folder with the program and the given language.
struct Folder : TestFolder {
  explicit Folder(int language = 1) {
    AddPrograms({"peldrix"});
    WriteAnsi(P("language.cfg"), QString(" %1 \n").arg(language));
  }
  testing_support::RunResult Run() { return RunProgram(P("peldrix"), {}, Data(), Env(*this)); }
  QStringList Rows() { return ReadAnsi(D("site.GMC")).split('\n', Qt::SkipEmptyParts); }
};

QString Angle(double degrees) { return QString::number(std::floor(degrees + 0.5), 'f', 1); }

Slope Base() {
  Slope s;
  s.c1 = 5;  // the slope's cohesion, the default of every family
  s.phi1 = 30;
  return s;
}

// The independent solution of families i and j against a slope.
Outcome Expected(Slope s, const Family& a, const Family& b, double c1, double phi1, double c2, double phi2) {
  s.dip1 = a.dip, s.dir1 = a.dir, s.dip2 = b.dip, s.dir2 = b.dir;
  s.c1 = c1, s.phi1 = phi1, s.c2 = c2, s.phi2 = phi2;
  return wedge_test::Solve(s);
}

// Checks a row of the table against the independent solution.
void ExpectRow(const QString& row, const Family& a, const Family& b, const Outcome& o) {
  const QStringList cells = row.split('\t');
  ASSERT_EQ(cells.size(), 8) << row.toStdString();
  EXPECT_EQ(cells[0], Angle(a.dir));
  EXPECT_EQ(cells[1], Angle(a.dip));
  EXPECT_EQ(cells[2], o.mode[0] == '1' ? "SI" : "NO");
  EXPECT_EQ(cells[3], Angle(b.dir));
  EXPECT_EQ(cells[4], Angle(b.dip));
  EXPECT_EQ(cells[5], o.mode[1] == '1' ? "SI" : "NO");
  // Two decimals cut from the value rounded to four.
  const QRegularExpression twoDecimals("^\\d+\\.\\d\\d$");
  EXPECT_TRUE(twoDecimals.match(cells[6]).hasMatch()) << cells[6].toStdString();
  EXPECT_TRUE(twoDecimals.match(cells[7]).hasMatch()) << cells[7].toStdString();
  EXPECT_NEAR(cells[6].toDouble(), o.factor - 0.005, 0.0051) << row.toStdString();
  EXPECT_NEAR(cells[7].toDouble(), o.volume - 0.005, 0.0051) << row.toStdString();
}

}  // namespace

TEST(Table, AnglesAreRoundedAndBroughtIntoOneTurn) {
  auto direction = [](double degrees) { return TestoAngolo(ImmersioneGradi(kPi / 2 - degrees * kRad)); };
  EXPECT_EQ(direction(-10), "350.0");
  EXPECT_EQ(direction(370), "10.0");
  EXPECT_EQ(direction(359.6), "360.0");
  EXPECT_EQ(direction(0.4), "0.0");
  EXPECT_EQ(direction(123.5), "124.0");
  EXPECT_EQ(direction(-725), "355.0");
  EXPECT_EQ(direction(1e9 + 20), direction(std::fmod(1e9 + 20, 360.0)));  // far outside one turn, at once
  auto dip = [](double degrees) { return TestoAngolo(InclinazioneGradi(kPi / 2 - degrees * kRad)); };
  EXPECT_EQ(dip(37.5), "38.0");
  EXPECT_EQ(dip(89.4), "89.0");
  EXPECT_EQ(dip(0), "0.0");
}

TEST(Reading, HandOverFile) {
  TestFolder t;
  QString error;
  AzzeraPeldrix();
  EXPECT_FALSE(LeggiPassaggio(&error));
  EXPECT_TRUE(error.startsWith("Il file manca o non si puo' leggere:")) << error.toStdString();
  EXPECT_TRUE(error.contains("temporan"));

  WriteHandOver(t, "  sito.prova.ses ");
  ASSERT_TRUE(LeggiPassaggio(&error)) << error.toStdString();
  EXPECT_EQ(Peldrix.NomeFileDati, "sito.prova.ses");
  EXPECT_EQ(RadiceNome(Peldrix.NomeFileDati), "sito");

  const struct {
    const char* text;
    const char* message;
  } bad[] = {
      {"0\n-2\n\n 2 \nnord.sch\nsud.sch\n", "Il file e' incompleto o danneggiato:"},
      {"0\n-2\n\n due \nnord.sch\nsud.sch\nsite.ses\n", "Il file e' incompleto o danneggiato:"},
      {"0\n-2\n\n 1.5 \nnord.sch\nsite.ses\n", "Il file e' incompleto o danneggiato:"},
      {"0\n-2\n", "Il file e' incompleto o danneggiato:"},
      {"0\n-2\n\n 0 \nsite\n", "Il nome del file di sessione non contiene un punto:\nsite"},
      {"0\n-2\n\n 0 \n.ses\n", "Il nome del file di sessione non contiene un punto:\n.ses"},
  };
  for (const auto& b : bad) {
    WriteAnsi(t.P("temporan"), b.text);
    EXPECT_FALSE(LeggiPassaggio(&error)) << b.text;
    EXPECT_TRUE(error.startsWith(b.message)) << error.toStdString();
  }
}

TEST(Reading, SlopeFile) {
  TestFolder t;
  AzzeraPeldrix();
  Peldrix.NomeFileDati = "site.ses";
  QString error;
  EXPECT_FALSE(LeggiFronte(&error));
  EXPECT_TRUE(error.startsWith("Il file manca")) << error.toStdString();

  // Nine values: no external load, no anchor, no crack, no seismic force.
  WriteAnsi(t.D("SITE.FRO"), "65\n185\n12\n195\n 5 \n30\n2.6\n1\n30\n");
  Peldrix.ValoriFronte.fill(7);
  ASSERT_TRUE(LeggiFronte(&error)) << error.toStdString();
  EXPECT_EQ(Peldrix.ValoriFronte[1], 65);
  EXPECT_EQ(Peldrix.ValoriFronte[9], 30);
  for (int k = 10; k <= 19; ++k) EXPECT_EQ(Peldrix.ValoriFronte[k], 0) << k;

  // Twelve values and blank lines after them; then all nineteen.
  WriteAnsi(t.D("SITE.FRO"), "65\n185\n12\n195\n5\n30\n2.6\n1\n30\n100\n45\n180\n\n\n");
  ASSERT_TRUE(LeggiFronte(&error)) << error.toStdString();
  EXPECT_EQ(Peldrix.ValoriFronte[12], 180);
  EXPECT_EQ(Peldrix.ValoriFronte[13], 0);
  WriteAnsi(t.D("SITE.FRO"), "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n17\n18\n.15\n");
  ASSERT_TRUE(LeggiFronte(&error));
  for (int k = 1; k <= 18; ++k) EXPECT_EQ(Peldrix.ValoriFronte[k], k);
  EXPECT_EQ(Peldrix.ValoriFronte[19], 0.15);

  for (const char* text : {"65\n185\n12\n195\n5\n30\n2.6\n1\n", "65\n185\nripido\n195\n5\n30\n2.6\n1\n30\n",
                           "65\n185\n12\n195\n5\n30\n2.6\n1\n30\n1e999\n"}) {
    WriteAnsi(t.D("SITE.FRO"), text);
    EXPECT_FALSE(LeggiFronte(&error)) << text;
    EXPECT_TRUE(error.startsWith("Il file e' incompleto o danneggiato:\nSITE.FRO, riga ")) << error.toStdString();
  }
}

TEST(Reading, ClusterResult) {
  TestFolder t;
  AzzeraPeldrix();
  Peldrix.NomeFileDati = "site.ses";
  QString error;
  EXPECT_FALSE(LeggiRisultatoCluster(&error));
  EXPECT_TRUE(error.startsWith("Il file manca")) << error.toStdString();

  WriteClusters(t, {{45, 105}, {70, 235}, {20, 160}}, 2);
  ASSERT_TRUE(LeggiRisultatoCluster(&error)) << error.toStdString();
  EXPECT_EQ(Peldrix.NumeroPunti, 5);
  EXPECT_EQ(Peldrix.NumeroFamiglie, 3);
  EXPECT_NEAR(Peldrix.TabellaPunti[2][3], kPi / 2 - 70 * kRad, 1e-15);
  EXPECT_NEAR(Peldrix.TabellaPunti[3][4], kPi / 2 - 160 * kRad + 2 * kPi, 1e-15);

  // More points or families than the program holds.
  WriteClusters(t, {{45, 105}}, 1000);
  EXPECT_FALSE(LeggiRisultatoCluster(&error));
  EXPECT_TRUE(error.startsWith("Troppi punti")) << error.toStdString();
  QString many;
  for (int k = 1; k <= 9; ++k) many += "\n";
  many += " 2 \n1\n1\n1\n1\n1\n1\n1\n1\n 1001 \n .3 \n";
  WriteAnsi(t.D("site.dat"), many);
  EXPECT_FALSE(LeggiRisultatoCluster(&error));
  EXPECT_TRUE(error.startsWith("Troppe famiglie")) << error.toStdString();

  // Damaged files: cut short, more families than points, member indexes outside the points.
  WriteClusters(t, {{45, 105}, {70, 235}});
  const QString good = ReadAnsi(t.D("site.dat"));
  const QStringList lines = good.split('\n');
  const QStringList damaged = {
      lines.mid(0, 14).join('\n'),                                   // inside the points
      lines.mid(0, 19).join('\n'),                                   // before the distance
      lines.mid(0, 23).join('\n'),                                   // inside the member groups
      QString(good).replace(" 2 \n .3490659", " 3 \n .3490659"),     // three families, two points
      QString(good).replace(" 1 \n 2 \n", " 1 \n 3 \n"),             // member 3 of two points
      QString(good).replace(" 1 \n 1 \n", " 1 \n 0 \n"),             // member 0
      QString(good).replace(" 1 \n 1 \n", " 3 \n 1 \n"),             // three members of two points
  };
  for (const QString& text : damaged) {
    WriteAnsi(t.D("site.dat"), text);
    EXPECT_FALSE(LeggiRisultatoCluster(&error)) << text.toStdString();
    EXPECT_TRUE(error.startsWith("Il file e' incompleto o danneggiato:\nsite.dat")) << error.toStdString();
  }
  WriteAnsi(t.D("site.dat"), good);
  EXPECT_TRUE(LeggiRisultatoCluster(&error));
}

TEST(Reading, FamilyParameters) {
  TestFolder t;
  AzzeraPeldrix();
  Peldrix.NomeFileDati = "site.ses";
  Peldrix.NumeroFamiglie = 5;
  Peldrix.ValoriFronte[5] = 12;  // cohesion
  Peldrix.ValoriFronte[6] = 33;  // friction angle
  LeggiParametriFamiglie();
  for (int f = 1; f <= 5; ++f) {
    EXPECT_EQ(Peldrix.AttritoFamiglia[f], 33);
    EXPECT_EQ(Peldrix.CoesioneFamiglia[f], 12);
  }
  // Both 0: the slope's values; one of them 0: kept; a short file: the slope's values for the families it does not
  // reach.
  WriteAnsi(t.D("SITE.PGM"), "0\n0\n0\n5\n25\n0\n20\n7\n");
  ASSERT_TRUE(LeggiParametriFamiglie());
  const double friction[] = {0, 33, 0, 25, 20, 33};
  const double cohesion[] = {0, 12, 5, 0, 7, 12};
  for (int f = 1; f <= 5; ++f) {
    EXPECT_EQ(Peldrix.AttritoFamiglia[f], friction[f]) << f;
    EXPECT_EQ(Peldrix.CoesioneFamiglia[f], cohesion[f]) << f;
  }
  // A value that is no number is damage, told with its line.
  WriteAnsi(t.D("SITE.PGM"), "0\n0\n0\n5\n25\n0\nmolto\n7\n");
  QString errore;
  EXPECT_FALSE(LeggiParametriFamiglie(&errore));
  EXPECT_TRUE(errore.contains("riga 7")) << errore.toStdString();
}

TEST(Run, WritesOneRowPerAdmissiblePairInPairOrder) {
  Folder t;
  const Slope s = Base();
  // Family 5 has the dip direction of family 1 and family 7 that of the face, stored as the program derives it
  // from the slope file: the pairs (1, 5) and (i, 7) are not computed.
  const double face = (90 - s.faceDir) * (std::atan(1.0) / 45);
  const QList<Family> families = {{45, 105}, {70, 235}, {20, 160}, {75, 190}, {35, 105}, {55, 300}, {60, 185, face}};
  WriteHandOver(t);
  WriteSlope(t, SlopeValues(s));
  WriteClusters(t, families, 3);
  const auto r = t.Run();
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();

  const QByteArray bytes = ReadBytes(t.D("site.GMC"));
  EXPECT_TRUE(bytes.startsWith("imm.P1 [\xB0]\tinc.P1 [\xB0]\tsciv.P1\timm.P2 [\xB0]\tinc.P2 [\xB0]\tsciv.P2\t"
                               "F.S. [-]\tVolume [m\xB3]\r\n"));
  EXPECT_TRUE(bytes.endsWith("\r\n"));
  EXPECT_EQ(bytes.count("\r\n"), bytes.count("\n"));

  QStringList expected;
  QList<std::pair<int, int>> pairs;
  for (int i = 0; i < families.size(); ++i) {
    for (int j = i + 1; j < families.size(); ++j) {
      if (j == 6 || (i == 0 && j == 4)) continue;
      const Outcome o = Expected(s, families[i], families[j], s.c1, s.phi1, s.c1, s.phi1);
      ASSERT_TRUE(o.regular) << i << " " << j;
      if (o.wedge) pairs.append({i, j});
    }
  }
  const QStringList rows = t.Rows().mid(1);
  ASSERT_EQ(rows.size(), pairs.size());
  EXPECT_EQ(rows.size(), 6);
  for (int k = 0; k < rows.size(); ++k) {
    const auto [i, j] = pairs[k];
    const Outcome o = Expected(s, families[i], families[j], s.c1, s.phi1, s.c1, s.phi1);
    ExpectRow(rows[k], families[i], families[j], o);
  }
}

TEST(Run, TextsInTheUsersLanguage) {
  Folder t(5);
  WriteHandOver(t);
  WriteSlope(t, SlopeValues(Base()));
  WriteClusters(t, {{20, 160}, {75, 190}});
  ASSERT_EQ(t.Run().exitCode, 0);
  const QStringList rows = t.Rows();
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0], "dipdir.P1 [°]\tdip.P1 [°]\tslid.P1\tdipdir.P2 [°]\tdip.P2 [°]\tslid.P2\tF.S. [-]\tVolume [m³]");
  EXPECT_TRUE(rows[1].startsWith("160.0\t20.0\tYES\t190.0\t75.0\tNO\t")) << rows[1].toStdString();
}

TEST(Run, OneFamilyGivesTheHeaderAlone) {
  Folder t;
  WriteHandOver(t);
  WriteSlope(t, SlopeValues(Base()));
  WriteClusters(t, {{45, 105}}, 4);
  ASSERT_EQ(t.Run().exitCode, 0);
  EXPECT_EQ(t.Rows().size(), 1);
}

TEST(Run, NineSlopeValuesMeanNoLoadCrackOrSeismicForce) {
  Folder t;
  WriteHandOver(t);
  WriteClusters(t, {{45, 105}, {70, 235}, {20, 160}, {75, 190}, {55, 300}});
  const QList<double> all = SlopeValues(Base());
  WriteSlope(t, all.mid(0, 9));
  ASSERT_EQ(t.Run().exitCode, 0);
  const QByteArray nine = ReadBytes(t.D("site.GMC"));
  QList<double> zeros = all;
  for (int k = 9; k < 19; ++k) zeros[k] = 0;
  WriteSlope(t, zeros);
  ASSERT_EQ(t.Run().exitCode, 0);
  EXPECT_EQ(ReadBytes(t.D("site.GMC")), nine);
  zeros[18] = 0.1;  // a seismic force changes the table
  WriteSlope(t, zeros);
  ASSERT_EQ(t.Run().exitCode, 0);
  EXPECT_NE(ReadBytes(t.D("site.GMC")), nine);
}

TEST(Run, FamilyParametersReachTheTable) {
  Folder t;
  Slope s = Base();
  s.crackDistance = 2, s.waterWeight = 10, s.anchor = 300, s.anchorPlunge = 10, s.anchorTrend = 5;
  s.load = 200, s.loadPlunge = 80, s.loadTrend = 0;
  const QList<Family> families = {{45, 105}, {70, 235}, {40, 250}};
  WriteHandOver(t);
  WriteSlope(t, SlopeValues(s));
  WriteClusters(t, families);
  WriteAnsi(t.D("site.pgm"), "0\n0\n0\n5\n35\n0\n");
  ASSERT_EQ(t.Run().exitCode, 0);
  const QStringList rows = t.Rows();
  const double c[] = {s.c1, 50, 0}, phi[] = {s.phi1, 0, 35};
  int k = 1;
  for (int i = 0; i < 3; ++i) {
    for (int j = i + 1; j < 3; ++j) {
      const Outcome o = Expected(s, families[i], families[j], c[i], phi[i], c[j], phi[j]);
      ASSERT_TRUE(o.regular);
      if (!o.wedge) continue;
      ASSERT_TRUE(o.inwardNormalsUp);
      ASSERT_LT(k, rows.size());
      ExpectRow(rows[k++], families[i], families[j], o);
    }
  }
  EXPECT_EQ(k, rows.size());
  EXPECT_GE(k, 3);
}

TEST(Run, APairDoesNotDependOnTheOtherFamilies) {
  // With a seismic force, the pair of families 45/105 and 70/235 alone, and after pairs that slide on one plane.
  Folder t;
  QList<double> values = SlopeValues(Base(), 0.15);
  WriteHandOver(t);
  WriteSlope(t, values);
  WriteClusters(t, {{45, 105}, {70, 235}});
  ASSERT_EQ(t.Run().exitCode, 0);
  const QStringList alone = t.Rows();
  ASSERT_EQ(alone.size(), 2);
  EXPECT_TRUE(alone[1].contains("\tSI\t235.0\t70.0\tSI\t")) << alone[1].toStdString();

  WriteClusters(t, {{20, 160}, {75, 190}, {45, 105}, {55, 300}, {70, 235}});
  ASSERT_EQ(t.Run().exitCode, 0);
  const QStringList among = t.Rows();
  EXPECT_TRUE(among[1].startsWith("160.0\t20.0\tSI\t190.0\t75.0\tNO\t")) << among[1].toStdString();
  EXPECT_EQ(among.filter(alone[1]).size(), 1);
}

TEST(Run, WaterOnAnOverhangingPlaneAndAToeAboveTheUpperSlope) {
  // The wedge slides on the steeper plane; the flatter plane overhangs it, and its water pushes the wedge away.
  Folder t;
  Slope s;
  s.faceDip = 65, s.faceDir = 180, s.upperDip = 10, s.upperDir = 180, s.height = 20;
  s.c1 = 0, s.phi1 = 30, s.rockWeight = 26, s.waterWeight = 10;
  const QList<Family> wet = {{60, 140}, {30, 150}};
  WriteHandOver(t);
  WriteSlope(t, SlopeValues(s));
  WriteClusters(t, wet);
  ASSERT_EQ(t.Run().exitCode, 0);
  QStringList rows = t.Rows();
  ASSERT_EQ(rows.size(), 2);
  const Outcome o = Expected(s, wet[0], wet[1], 0, 30, 0, 30);
  ASSERT_FALSE(o.inwardNormalsUp);
  ExpectRow(rows[1], wet[0], wet[1], o);
  EXPECT_TRUE(rows[1].startsWith("140.0\t60.0\tSI\t150.0\t30.0\tNO\t")) << rows[1].toStdString();
  EXPECT_NEAR(rows[1].section('\t', 6, 6).toDouble(), 0.86, 0.02) << rows[1].toStdString();

  // A flat plane and a steep one whose line of intersection comes out of the face above the upper slope: no
  // wedge, with and without a seismic force.
  s.faceDip = 60, s.upperDir = 140, s.waterWeight = 0;
  WriteClusters(t, {{8, 160}, {70, 270}});
  for (double seismic : {0.0, 0.15}) {
    WriteSlope(t, SlopeValues(s, seismic));
    ASSERT_EQ(t.Run().exitCode, 0);
    rows = t.Rows();
    EXPECT_EQ(rows.size(), 1) << rows.join('\n').toStdString();
  }
}

TEST(Run, TheWedgeKeepsTheContactItsForcesAllow) {
  // Water that pushes the wedge off the plane it slides on, the other plane having lost contact: the more water,
  // the lower the factor of safety, down to 0 where the wedge is lifted off both planes.
  Folder t;
  Slope s;
  s.faceDip = 50, s.faceDir = 26, s.upperDip = 13, s.upperDir = 43, s.height = 30, s.rockWeight = 26;
  const QList<Family> wet = {{36, 33}, {49, 25}};
  WriteHandOver(t);
  WriteClusters(t, wet);
  WriteAnsi(t.D("site.pgm"), "39\n0\n25\n0\n");
  QStringList rows;
  double before = INFINITY;
  for (double water : {0.0, 2.0, 3.0, 4.0, 6.0, 8.0, 9.81}) {
    s.waterWeight = water;
    WriteSlope(t, SlopeValues(s));
    ASSERT_EQ(t.Run().exitCode, 0);
    rows = t.Rows();
    ASSERT_EQ(rows.size(), 2);
    ExpectRow(rows[1], wet[0], wet[1], Expected(s, wet[0], wet[1], 0, 39, 0, 25));
    const double factor = rows[1].section('\t', 6, 6).toDouble();
    EXPECT_LE(factor, before) << water;
    before = factor;
    if (water == 0) {
      EXPECT_EQ(rows[1].toStdString(), "33.0\t36.0\tSI\t25.0\t49.0\tNO\t1.11\t1372.44");
    }
  }
  EXPECT_EQ(rows[1].toStdString(), "33.0\t36.0\tNO\t25.0\t49.0\tNO\t0.00\t1372.44");

  // Planes whose normals into the wedge meet at an obtuse angle: both reactions with contact on both planes pull,
  // yet the wedge rests on one plane. Dry and cohesionless on the 25° plane, tan 30° / tan 25° = 1.238; with
  // cohesion on the 62° plane.
  const struct {
    Slope slope;
    QList<Family> families;
    const char* parameters;
    double c1, phi1, c2, phi2;
    const char* row;
  } resting[] = {
      {[] {
         Slope s;
         s.faceDip = 85, s.faceDir = 347, s.upperDip = 2, s.upperDir = 36, s.height = 30, s.rockWeight = 26;
         return s;
       }(),
       {{25, 312}, {19, 287}}, "30\n0\n42\n0\n", 0, 30, 0, 42, "312.0\t25.0\tSI\t287.0\t19.0\tNO\t1.23\t525.76"},
      {[] {
         Slope s;
         s.faceDip = 76, s.faceDir = 310, s.upperDip = 3, s.upperDir = 330, s.height = 10, s.rockWeight = 26;
         return s;
       }(),
       {{14, 346}, {62, 312}}, "17\n2\n38\n2\n", 20, 17, 20, 38, "346.0\t14.0\tNO\t312.0\t62.0\tSI\t5.66\t16.52"},
  };
  for (const auto& c : resting) {
    const Outcome o = Expected(c.slope, c.families[0], c.families[1], c.c1, c.phi1, c.c2, c.phi2);
    ASSERT_LT(o.inwardCosine, 0);
    WriteSlope(t, SlopeValues(c.slope));
    WriteClusters(t, c.families);
    WriteAnsi(t.D("site.pgm"), c.parameters);
    ASSERT_EQ(t.Run().exitCode, 0);
    rows = t.Rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].toStdString(), c.row);
    ExpectRow(rows[1], c.families[0], c.families[1], o);
  }
}

TEST(Run, FailuresAreReportedAndLeaveTheOldTable) {
  struct Case {
    const char* name;
    std::function<void(Folder&)> spoil;
    const char* message;
  };
  const Case cases[] = {
      {"no hand-over file", [](Folder& t) { QFile::remove(t.P("temporan")); },
       "Il file manca o non si puo' leggere:\\ntemporan\\n"},
      {"no slope file", [](Folder& t) { QFile::remove(t.D("site.fro")); },
       "Il file manca o non si puo' leggere:\\nsite.fro\\n"},
      {"short slope file", [](Folder& t) { WriteAnsi(t.D("site.fro"), "65\n185\n12\n195\n5\n"); },
       "Il file e' incompleto o danneggiato:\\nsite.fro, riga 6\\n"},
      {"no clustering result", [](Folder& t) { QFile::remove(t.D("site.dat")); },
       "Il file manca o non si puo' leggere:\\nsite.dat\\n"},
      {"short clustering result",
       [](Folder& t) { WriteAnsi(t.D("site.dat"), ReadAnsi(t.D("site.dat")).section('\n', 0, 15) + "\n"); },
       "Il file e' incompleto o danneggiato:\\nsite.dat, riga "},
      {"session without a point", [](Folder& t) { WriteHandOver(t, "site"); },
       "Il nome del file di sessione non contiene un punto:\\nsite"},
      {"too many points", [](Folder& t) { WriteClusters(t, {{45, 105}, {70, 235}}, 999); },
       "Troppi punti nel risultato della cluster analysis (al massimo 1000):\\nsite.dat\\n"},
      {"too many families",
       [](Folder& t) {
         QString text = ReadAnsi(t.D("site.dat"));
         text.replace(" 2 \n .3490659", " 1001 \n .3490659");
         WriteAnsi(t.D("site.dat"), text);
       },
       "Troppe famiglie nel risultato della cluster analysis (al massimo 1000):\\nsite.dat\\n"},
      // Slope values that the slope form cannot write: each is told with its line.
      {"weightless rock",
       [](Folder& t) {
         Slope s = Base();
         s.rockWeight = 0;
         WriteSlope(t, SlopeValues(s));
       },
       "Il file e' incompleto o danneggiato:\\nsite.fro, riga 7\\n"},
      {"face dip beyond a right angle",
       [](Folder& t) {
         Slope s = Base();
         s.faceDip = 180;
         WriteSlope(t, SlopeValues(s));
       },
       "Il file e' incompleto o danneggiato:\\nsite.fro, riga 1\\n"},
      {"negative seismic coefficient", [](Folder& t) { WriteSlope(t, SlopeValues(Base(), -0.1)); },
       "Il file e' incompleto o danneggiato:\\nsite.fro, riga 19\\n"},
      {"a twentieth slope value", [](Folder& t) { WriteSlope(t, SlopeValues(Base()) << 0); },
       "Il file e' incompleto o danneggiato:\\nsite.fro, riga 20\\n"},
      // A line of the clustering result holding two items, or no number: the line itself is told.
      {"decimal comma in the clustering result", [](Folder& t) { ReplaceLine(t.D("site.dat"), 11, "1,5"); },
       "Il file e' incompleto o danneggiato:\\nsite.dat, riga 11\\n"},
      {"two numbers on a line of the clustering result", [](Folder& t) { ReplaceLine(t.D("site.dat"), 12, "5 6"); },
       "Il file e' incompleto o danneggiato:\\nsite.dat, riga 12\\n"},
      {"no number on a line of the clustering result", [](Folder& t) { ReplaceLine(t.D("site.dat"), 12, "abc"); },
       "Il file e' incompleto o danneggiato:\\nsite.dat, riga 12\\n"},
      {"cohesion beyond ten million", [](Folder& t) { WriteAnsi(t.D("site.pgm"), "30\n1e308\n"); },
       "Il file e' incompleto o danneggiato:\\nsite.pgm, riga 2\\n"},
      {"friction beyond a right angle", [](Folder& t) { WriteAnsi(t.D("site.pgm"), "30\n5\n95\n5\n"); },
       "Il file e' incompleto o danneggiato:\\nsite.pgm, riga 3\\n"},
      {"negative cohesion", [](Folder& t) { WriteAnsi(t.D("site.pgm"), "30\n-5\n"); },
       "Il file e' incompleto o danneggiato:\\nsite.pgm, riga 2\\n"},
      // The centres of families 1 and 2 stand on lines 13-14 and 17-18 of the clustering result.
      {"centre direction 1e308", [](Folder& t) { ReplaceLine(t.D("site.dat"), 18, "1e308"); },
       "Il file e' incompleto o danneggiato:\\nsite.dat, riga 18\\n"},
      {"centre direction -1e308", [](Folder& t) { ReplaceLine(t.D("site.dat"), 14, "-1e308"); },
       "Il file e' incompleto o danneggiato:\\nsite.dat, riga 14\\n"},
      {"centre inclination 99999", [](Folder& t) { ReplaceLine(t.D("site.dat"), 17, "99999"); },
       "Il file e' incompleto o danneggiato:\\nsite.dat, riga 17\\n"},
  };
  for (const Case& c : cases) {
    Folder t;
    WriteHandOver(t);
    WriteSlope(t, SlopeValues(Base()));
    WriteClusters(t, {{45, 105}, {70, 235}});
    WriteAnsi(t.D("site.GMC"), "una tabella di prima\n");
    c.spoil(t);
    const auto r = t.Run();
    EXPECT_TRUE(r.finished) << c.name;
    EXPECT_EQ(r.exitCode, 1) << c.name << ": " << r.output.toStdString();
    EXPECT_EQ(ReadBytes(t.D("site.GMC")), QByteArray("una tabella di prima\r\n")) << c.name;
    const QStringList log = ReadLog(t.D("ui.log"));
    EXPECT_EQ(log.size(), 1) << c.name;
    if (log.size() != 1) continue;
    EXPECT_TRUE(log[0].startsWith(QString("peldrix\tmsgbox\tATTENZIONE!\t") + c.message))
        << c.name << ": " << log[0].toStdString();
  }
  // In the user's language.
  Folder t(5);
  WriteHandOver(t);
  const auto r = t.Run();
  EXPECT_EQ(r.exitCode, 1);
  const QStringList log = ReadLog(t.D("ui.log"));
  ASSERT_EQ(log.size(), 1);
  EXPECT_TRUE(log[0].startsWith("peldrix\tmsgbox\tWARNING!\tThe file is missing or cannot be read:\\nsite.fro\\nFolder: "))
      << log[0].toStdString();
}

// The libraries that a run of the program loaded, by the dynamic loader's own account (LD_DEBUG=files): file names
// without their folders.
QStringList LoadedLibraries(const QString& output) {
  QStringList names;
  static const QRegularExpression opened("\\bfile=(\\S+)\\s+\\[\\d+\\];\\s+(needed|dynamically loaded) by");
  for (auto it = opened.globalMatch(output); it.hasNext();) names << it.next().captured(1).section('/', -1);
  names.removeDuplicates();
  return names;
}

TEST(Run, ASuccessfulRunLoadsNoWindowLibraryAndNeedsNoWindowModule) {
  Folder t;
  WriteHandOver(t);
  WriteSlope(t, SlopeValues(Base()));
  WriteClusters(t, {{45, 105}, {70, 235}, {20, 160}});
  QProcessEnvironment env = Env(t);
  env.insert("LD_DEBUG", "files");
  const auto traced = RunProgram(t.P("peldrix"), {}, t.Data(), env);
  ASSERT_EQ(traced.exitCode, 0) << traced.output.toStdString();
  const QStringList loaded = LoadedLibraries(traced.output);
  EXPECT_TRUE(loaded.contains("libQt6Core.so.6")) << loaded.join(' ').toStdString();
  for (const char* window : {"libQt6Gui.so.6", "libQt6Widgets.so.6", "libQt6PrintSupport.so.6", FRATTIX_TEST_UI_MODULE})
    EXPECT_FALSE(loaded.contains(window)) << window;
  const QByteArray table = ReadBytes(t.D("site.GMC"));
  EXPECT_EQ(table.count("\r\n"), 4);

  // Without the module the same run writes the same table and says nothing.
  ASSERT_TRUE(QFile::remove(t.P(FRATTIX_TEST_UI_MODULE)));
  QFile::remove(t.D("site.GMC"));
  const auto r = t.Run();
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.output, QString());
  EXPECT_EQ(ReadBytes(t.D("site.GMC")), table);
  EXPECT_TRUE(ReadLog(t.D("ui.log")).isEmpty());
}

TEST(Run, WithoutTheWindowModuleMessagesGoToTheStandardError) {
  Folder t;
  WriteHandOver(t);
  WriteClusters(t, {{45, 105}, {70, 235}});
  WriteAnsi(t.D("site.GMC"), "una tabella di prima\n");
  ASSERT_TRUE(QFile::remove(t.P(FRATTIX_TEST_UI_MODULE)));
  // A failure: the message and why no window shows it, the exit code and the old table as with windows.
  auto r = RunProgram(t.P("peldrix"), {}, t.Data(), Env(t), 20000);
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.output.contains("peldrix: ATTENZIONE!: Il file manca o non si puo' leggere:\\nsite.fro\\n"))
      << r.output.toStdString();
  EXPECT_TRUE(r.output.contains("no window can be shown")) << r.output.toStdString();
  EXPECT_EQ(ReadBytes(t.D("site.GMC")), QByteArray("una tabella di prima\r\n"));
  EXPECT_TRUE(ReadLog(t.D("ui.log")).isEmpty());

  // A fatal error of the start-up: the same message, exit code and log line with and without the module.
  QFile::remove(t.P("language.cfg"));
  r = RunProgram(t.P("peldrix"), {}, t.Data(), Env(t), 20000);
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.output.contains("peldrix: The language file ")) << r.output.toStdString();
  t.AddPrograms({"peldrix"});
  const auto withModule = RunProgram(t.P("peldrix"), {}, t.Data(), Env(t), 20000);
  ASSERT_TRUE(withModule.finished);
  EXPECT_EQ(withModule.exitCode, 2);
  EXPECT_FALSE(withModule.output.contains("no window can be shown")) << withModule.output.toStdString();
  const QStringList log = ReadLog(t.D("ui.log"));
  ASSERT_EQ(log.size(), 2);
  EXPECT_TRUE(log[0].startsWith("peldrix\tfatal\tFRATTIX\tThe language file ")) << log[0].toStdString();
  EXPECT_EQ(log[1], log[0]);
}

namespace {

// The textbook wedge: planes 45/105 (c 500, φ 20) and 70/235 (c 1000, φ 30), face 65/185, upper slope 12/195,
// height 100, unit weights 160 and 62.5. Every force a tenth of the textbook's, so that the unit weights lie in
// the slope form's ranges: the factors of safety and the volumes are the textbook's.
Slope Textbook() {
  Slope s;
  s.height = 100, s.rockWeight = 16, s.waterWeight = 6.25;
  s.c1 = 50, s.phi1 = 20, s.c2 = 100, s.phi2 = 30;
  return s;
}

// The orientations of a clustering result as TALVOR writes them: single precision, seven significant digits.
QList<Family> AsStored(QList<Family> families) {
  for (Family& f : families) {
    f.stored = QString::number(static_cast<float>(std::fmod(kPi / 2 - f.dir * kRad + 4 * kPi, 2 * kPi)), 'g', 7)
                   .toDouble();
  }
  return families;
}

// Writes the families, runs the program and returns the rows of its table.
QStringList Rows(Folder& t, const QList<double>& slope, const QList<Family>& families, const QString& parameters = {}) {
  WriteSlope(t, slope);
  WriteClusters(t, families);
  if (!parameters.isEmpty()) WriteAnsi(t.D("site.pgm"), parameters);
  const auto r = t.Run();
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  return t.Rows().mid(1);
}

std::string Table(const QStringList& rows) { return rows.join('\n').toStdString(); }

}  // namespace

TEST(Run, ATensionCrackIsOnePlaneWhicheverWayItIsEntered) {
  // The vertical crack 90/185 of the textbook wedge, entered with either dip direction; the solid gives 1.107.
  Folder t;
  WriteHandOver(t);
  Slope s = Textbook();
  s.crackDistance = 40, s.crackDip = 90;
  const QList<Family> textbook = {{45, 105}, {70, 235}};
  for (double direction : {185.0, 5.0}) {
    s.crackDir = direction;
    const QStringList rows = Rows(t, SlopeValues(s), textbook, "20\n5\n30\n10\n");
    EXPECT_EQ(Table(rows), "105.0\t45.0\tSI\t235.0\t70.0\tSI\t1.10\t161814.08") << direction;
    const Outcome o = Expected(s, textbook[0], textbook[1], 50, 20, 100, 30);
    EXPECT_NEAR(o.factor, 1.107, 0.0005);
    if (rows.size() == 1) ExpectRow(rows[0], textbook[0], textbook[1], o);
  }

  // Cracks of every orientation, dipping towards the face or away from it, against the solid: a row for exactly
  // the pairs where the crack cuts the wedge, and each the solid's. A vertical crack gives the same table with
  // either of its dip directions.
  std::mt19937 rng(3434);
  auto any = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  QList<Family> families;
  for (int k = 0; k < 12; ++k) families.append({any(10, 85), any(0, 360)});
  WriteAnsi(t.D("site.pgm"), "");
  int away = 0, rowsAway = 0;
  for (int k = 0; k < 40; ++k) {
    Slope c = Base();
    c.waterWeight = k % 2 ? 10 : 0;
    c.crackDistance = any(1, 12), c.crackDip = k % 5 ? any(30, 90) : 90, c.crackDir = any(0, 360);
    const std::string crack = "crack " + std::to_string(c.crackDip) + "/" + std::to_string(c.crackDir);
    const QStringList rows = Rows(t, SlopeValues(c), families);
    int next = 0;
    for (int i = 0; i < families.size(); ++i) {
      for (int j = i + 1; j < families.size(); ++j) {
        const Outcome o = Expected(c, families[i], families[j], c.c1, c.phi1, c.c1, c.phi1);
        if (!o.wedge) continue;
        if (next < rows.size()) ExpectRow(rows[next], families[i], families[j], o);
        ++next;
      }
    }
    EXPECT_EQ(next, rows.size()) << crack;
    if (c.crackDip == 90) {
      Slope other = c;
      other.crackDir = std::fmod(c.crackDir + 180, 360);
      EXPECT_EQ(Table(Rows(t, SlopeValues(other), families)), Table(rows)) << crack;
    }
    // The normals of the face and the crack meet at an obtuse angle: the crack dips away from the face.
    if (std::cos((c.faceDir - c.crackDir) * kRad) * std::sin(c.faceDip * kRad) * std::sin(c.crackDip * kRad) +
            std::cos(c.faceDip * kRad) * std::cos(c.crackDip * kRad) < 0) {
      ++away;
      rowsAway += static_cast<int>(rows.size());
    }
  }
  EXPECT_GT(away, 10);
  EXPECT_GT(rowsAway, 20);
}

TEST(Run, EveryWedgeThatATensionCrackCutsOffItsTopHasItsRow) {
  // Unit weights 2.6 and 1.0 in the slope file, the families' strengths in the family parameters. The crack
  // 65/188 at 0.53 m keeps the toe and both crest points of the wedge of 56/156 and 28/95 in front of it and cuts
  // its top off: a smaller, still unstable wedge (the solid: 0.317, written 0.31). Without the crack the whole
  // wedge slides on plane 2 alone.
  Folder t;
  WriteHandOver(t);
  Slope s;
  s.faceDip = 41, s.faceDir = 85, s.upperDip = 8, s.upperDir = 57, s.height = 10;
  s.rockWeight = 26, s.waterWeight = 10, s.phi1 = 30;
  s.crackDistance = 0.53, s.crackDip = 65, s.crackDir = 188;
  const QList<Family> pair = {{56, 156}, {28, 95}};
  const QStringList rows = Rows(t, SlopeValues(s), pair, "15\n0\n22\n0\n");
  EXPECT_EQ(Table(rows), "156.0\t56.0\tSI\t95.0\t28.0\tSI\t0.31\t406.40");
  const Outcome o = Expected(s, pair[0], pair[1], 0, 15, 0, 22);
  EXPECT_NEAR(o.volume, 406.40, 0.005);
  if (rows.size() == 1) ExpectRow(rows[0], pair[0], pair[1], o);
  s.crackDistance = 0;
  EXPECT_EQ(Table(Rows(t, SlopeValues(s), pair)), "156.0\t56.0\tNO\t95.0\t28.0\tSI\t0.23\t437.93");

  // Cohesion 0.5 and friction angle 30 on both planes. The line of intersection of 45/130 and
  // 31.452758913759165/261.72951672766754 lies within a millionth of the upper slope 20/170: without a crack the
  // wedge is unbounded and has no row; the crack 80/180 at 8 m bounds it.
  Slope u;
  u.faceDip = 60, u.faceDir = 180, u.upperDip = 20, u.upperDir = 170, u.height = 30;
  u.rockWeight = 26, u.waterWeight = 10, u.c1 = 5, u.phi1 = 30;
  u.crackDistance = 8, u.crackDip = 80, u.crackDir = 180;
  const QList<Family> along = {{45, 130}, {31.452758913759165, 261.72951672766754}};
  WriteAnsi(t.D("site.pgm"), "");
  const QStringList bounded = Rows(t, SlopeValues(u), along);
  EXPECT_EQ(Table(bounded), "130.0\t45.0\tSI\t262.0\t31.0\tSI\t0.75\t8706.69");
  const Outcome b = Expected(u, along[0], along[1], 5, 30, 5, 30);
  if (bounded.size() == 1) ExpectRow(bounded[0], along[0], along[1], b);
  // Plane 2 steepened until the line of intersection runs under the upper slope at a sine of -9.95e-6, within the
  // tolerance of the orientations, and of -1.01e-5, beyond it: the same row on either side (the solid: 0.758,
  // 8,707.19 and 8,707.20 m³).
  for (double dip : {31.450794969708813, 31.450768030601445}) {
    const QList<Family> turned = {{45, 130}, {dip, 261.72951672766754}};
    const QStringList row = Rows(t, SlopeValues(u), turned);
    EXPECT_EQ(Table(row), "130.0\t45.0\tSI\t262.0\t31.0\tSI\t0.75\t8707.19") << dip;
    if (row.size() == 1) ExpectRow(row[0], turned[0], turned[1], Expected(u, turned[0], turned[1], 5, 30, 5, 30));
  }
  // Plane 2 31.396292/261.888045: the line of intersection runs under the upper slope (at a sine of -0.001) and
  // never meets it; the crack closes the wedge all the same (the solid: 0.760, 8,730.08 m³).
  const QList<Family> under = {{45, 130}, {31.396292, 261.888045}};
  const QStringList closed = Rows(t, SlopeValues(u), under);
  EXPECT_EQ(Table(closed), "130.0\t45.0\tSI\t262.0\t31.0\tSI\t0.76\t8730.08");
  const Outcome c = Expected(u, under[0], under[1], 5, 30, 5, 30);
  EXPECT_TRUE(c.wedge && !c.top && c.upperSine < -9e-4) << c.upperSine;
  if (closed.size() == 1) ExpectRow(closed[0], under[0], under[1], c);
  // Without the crack both are unbounded.
  u.crackDistance = 0;
  EXPECT_TRUE(Rows(t, SlopeValues(u), along).isEmpty());
  EXPECT_TRUE(Rows(t, SlopeValues(u), under).isEmpty());
}

TEST(Run, ACrackThatTheWholeWedgeLiesInFrontOfLeavesItsRowAsWithoutTheCrack) {
  // The textbook wedge, wet: its top lies 147.368 m from the crest along plane 1's trace. The crack 70/165 at
  // 147.35 m cuts a sliver off the top, and the water of the crack replaces that of the planes (1.84); at 147.38 m
  // the whole wedge lies in front of the crack, and the row is the one without the crack (1.21).
  Folder t;
  WriteHandOver(t);
  Slope s = Textbook();
  const QList<Family> textbook = {{45, 105}, {70, 235}};
  const QString parameters = "20\n5\n30\n10\n";
  const QStringList none = Rows(t, SlopeValues(s), textbook, parameters);
  EXPECT_EQ(Table(none), "105.0\t45.0\tSI\t235.0\t70.0\tSI\t1.21\t229925.19");
  s.crackDistance = 147.35;
  EXPECT_EQ(Table(Rows(t, SlopeValues(s), textbook)), "105.0\t45.0\tSI\t235.0\t70.0\tSI\t1.84\t229925.19");
  s.crackDistance = 147.38;
  EXPECT_EQ(Table(Rows(t, SlopeValues(s), textbook)), Table(none));

  // One crack distance serves every pair: a crack at 10 m leaves every wedge that lies in front of it as it is
  // without the crack, byte for byte, with and without a seismic force; the others are cut or have no row, as in
  // the solid.
  std::mt19937 rng(4646);
  auto any = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  QList<Family> families;
  for (int k = 0; k < 14; ++k) families.append({any(10, 85), any(0, 360)});
  WriteAnsi(t.D("site.pgm"), "");
  Slope c = Base();
  c.waterWeight = 10, c.height = 10;
  c.crackDistance = 10, c.crackDip = 70, c.crackDir = 165;
  for (double seismic : {0.0, 0.1}) {
    Slope plain = c;
    plain.crackDistance = 0;
    const QStringList without = Rows(t, SlopeValues(plain, seismic), families);
    const QStringList with = Rows(t, SlopeValues(c, seismic), families);
    int next = 0, nextWithout = 0, kept = 0;
    for (int i = 0; i < families.size(); ++i) {
      for (int j = i + 1; j < families.size(); ++j) {
        const Outcome n = Expected(plain, families[i], families[j], c.c1, c.phi1, c.c1, c.phi1);
        const Outcome o = Expected(c, families[i], families[j], c.c1, c.phi1, c.c1, c.phi1);
        const QString alone = n.wedge && nextWithout < without.size() ? without[nextWithout++] : QString();
        if (!o.wedge) continue;
        ASSERT_LT(next, with.size());
        if (seismic == 0) ExpectRow(with[next], families[i], families[j], o);
        if (!o.crackCuts) {
          EXPECT_EQ(with[next], alone);
          ++kept;
        }
        ++next;
      }
    }
    EXPECT_EQ(next, with.size());
    EXPECT_GE(kept, 5) << next;
  }
}

TEST(Run, PlanesThatMeetInParallelLinesCutNoWedge) {
  // A plane 2 that shares the strike of the face and the upper slope, or a plane 1 that shares the strike of the
  // face, or two planes of opposite dip directions (a horizontal line of intersection): the planes meet in parallel
  // lines or the line of intersection does not rise from the toe; the solid finds no wedge, and the table has no
  // row for the pair, whether the orientations are exact or stored as TALVOR stores them.
  Folder t;
  WriteHandOver(t);
  // A pair of families against a slope whose families all have the slope's strength.
  auto noRow = [&t](const Slope& s, const QList<Family>& pair) {
    EXPECT_FALSE(Expected(s, pair[0], pair[1], s.c1, s.phi1, s.c1, s.phi1).wedge);
    for (const QList<Family>& families : {pair, AsStored(pair)})
      EXPECT_EQ(Table(Rows(t, SlopeValues(s), families)), "");
  };
  Slope strike;
  strike.faceDip = 60, strike.faceDir = 45, strike.upperDip = 10, strike.upperDir = 45, strike.height = 30;
  strike.c1 = 0, strike.phi1 = 30;
  noRow(strike, {{45, 355}, {30, 45}});

  // The example's slope with two families that share the strike of its face and upper slope: only the pairs of
  // the other three families have rows, the same as without the two.
  Slope example;
  example.faceDip = 70, example.faceDir = 125, example.upperDip = 10, example.upperDir = 125, example.height = 25;
  example.c1 = 2, example.phi1 = 35, example.rockWeight = 2.6, example.waterWeight = 0.981;
  const QList<double> values = SlopeValues(example, 0.05);
  const QList<Family> three = {{45, 105}, {70, 235}, {20, 160}};
  const QStringList rows = Rows(t, values, three);
  ASSERT_EQ(rows.size(), 3);
  EXPECT_EQ(Table(rows),
            "105.0\t45.0\tSI\t235.0\t70.0\tSI\t1.29\t8085.99\n105.0\t45.0\tNO\t160.0\t20.0\tSI\t1.10\t33209.83\n"
            "235.0\t70.0\tNO\t160.0\t20.0\tSI\t1.28\t33746.49");
  const QList<Family> added = {{40, 125}, {60, 125}};
  for (const Family& a : added) {
    for (const Family& b : three) {
      EXPECT_FALSE(Expected(example, a, b, 2, 35, 2, 35).wedge);
      EXPECT_FALSE(Expected(example, b, a, 2, 35, 2, 35).wedge);
    }
  }
  // The added families first and last, exact, and all stored as TALVOR stores them: there the angle cells are the
  // same and the values may differ in their last decimals.
  EXPECT_EQ(Table(Rows(t, values, added + three + added)), Table(rows));
  const QStringList stored = Rows(t, values, AsStored(added + three + added));
  EXPECT_EQ(stored.size(), rows.size()) << Table(stored);
  for (int k = 0; k < std::min(rows.size(), stored.size()); ++k)
    EXPECT_EQ(stored[k].section('\t', 0, 5).toStdString(), rows[k].section('\t', 0, 5).toStdString());

  // Two families of opposite dip directions: their line of intersection is horizontal.
  Slope wet;
  wet.faceDip = 53, wet.faceDir = 162, wet.upperDip = 3, wet.upperDir = 8, wet.waterWeight = 10;
  wet.c1 = 16, wet.phi1 = 38;
  noRow(wet, {{45, 264}, {71, 84}});
}

TEST(Run, APlane2InTheDipDirectionOfTheFaceHasNoRowHoweverItIsStored) {
  // Plane 2 in the dip direction of the face is not computed, whether its direction stands in the clustering
  // result as the face's value turns into it, as TALVOR writes a centre (seven digits, within one turn), or one
  // turn away. The solid finds a wedge for these pairs (the upper slope does not share the strike of the face), and
  // the table has its row as soon as plane 2 lies a hundredth of a degree off the face's dip direction.
  Folder t;
  WriteHandOver(t);
  auto check = [&t](const Slope& s, const Family& other, const Family& alongFace) {
    ASSERT_TRUE(Expected(s, other, alongFace, s.c1, s.phi1, s.c1, s.phi1).wedge);
    const double exact = (90 - s.faceDir) * (std::atan(1.0) / 45);
    Family asFace = alongFace, turned = alongFace;
    asFace.stored = exact;
    turned.stored = exact + 2 * kPi;
    for (const Family& f : {asFace, AsStored({alongFace})[0], turned})
      EXPECT_EQ(Table(Rows(t, SlopeValues(s), {other, f})), "") << s.faceDir << " " << f.stored;
    Family off = alongFace;
    off.dir += 0.01;
    const QStringList rows = Rows(t, SlopeValues(s), {other, off});
    ASSERT_EQ(rows.size(), 1) << s.faceDir;
    ExpectRow(rows[0], other, off, Expected(s, other, off, s.c1, s.phi1, s.c1, s.phi1));
  };
  Slope s = Base();
  check(s, {45, 105}, {60, 185});
  // A face dipping north, written 360 in the slope file, and a family dipping north (0): the face's value and the
  // family's stored direction may lie a turn apart.
  s.faceDir = 360, s.upperDir = 10;
  check(s, {45, 280}, {60, 0});
}

TEST(Run, ASeismicForceThatUnderflowsActsAsNone) {
  // A seismic coefficient so small that the force's square is below the smallest normal number: the table of no
  // seismic force, two-plane rows included.
  Folder t;
  WriteHandOver(t);
  const QList<Family> families = {{45, 105}, {70, 235}, {20, 160}, {75, 190}, {55, 300}, {35, 140}, {60, 230}};
  const Slope s = Textbook();
  const QStringList none = Rows(t, SlopeValues(s), families, "20\n5\n30\n10\n");
  EXPECT_GE(none.filter(QRegularExpression("\tSI\t.*\tSI\t")).size(), 3);
  for (double eta : {1e-300, 1e-200, 1e-170})
    EXPECT_EQ(Table(Rows(t, SlopeValues(s, eta), families)), Table(none)) << eta;
}

TEST(Run, AVertexOnTheCrackCountsAsOnItWhateverItsLastDigits) {
  // The textbook wedge, wet, on a 148 m slope, with a crack through its top (70/165), its toe (39/178) or plane
  // 2's crest point (75/200), at the distance computed for it and up to a hundred-billionth of it away on either
  // side: the vertex lies that little on either side of the crack, and every distance gives the solid's row.
  Folder t;
  WriteHandOver(t);
  Slope s = Textbook();
  s.height = 148;
  s.dip1 = 45, s.dir1 = 105, s.dip2 = 70, s.dir2 = 235;
  const QList<Family> textbook = {{45, 105}, {70, 235}};
  WriteAnsi(t.D("site.pgm"), "20\n5\n30\n10\n");
  const struct {
    wedge_test::Vertex vertex;
    double dip, direction;
  } cracks[] = {{wedge_test::Vertex::Top, 70, 165}, {wedge_test::Vertex::Toe, 39, 178},
                {wedge_test::Vertex::Crest2, 75, 200}};
  for (const auto& crack : cracks) {
    s.crackDip = crack.dip, s.crackDir = crack.direction;
    const double on = wedge_test::CrackThrough(s, crack.vertex);
    for (double factor : {1 - 1e-11, 1 - 1e-13, 1.0, 1 + 1e-13, 1 + 1e-11}) {
      s.crackDistance = on * factor;
      const std::string what = "crack " + std::to_string(crack.dip) + " at " + Num(s.crackDistance).toStdString();
      const Outcome o = Expected(s, textbook[0], textbook[1], 50, 20, 100, 30);
      ASSERT_TRUE(o.wedge && o.crackCuts) << what;
      const QStringList rows = Rows(t, SlopeValues(s), textbook);
      ASSERT_EQ(rows.size(), 1) << what;
      ExpectRow(rows[0], textbook[0], textbook[1], o);
    }
  }
}

TEST(Run, EveryPairOfRandomSlopesWithAnyCrackIsTheSolids) {
  // Random slopes, dry and wet, loaded and anchored, half a metre to 500 m high, with cracks of any orientation
  // from a two-hundredth of the height to three heights from the crest; nine random families and three whose line
  // of intersection with one of the others lies in the upper slope. The table has a row for exactly the solid's
  // wedges, in pair order, each the solid's: lines of intersection that rise to the upper slope (their top cut off
  // by the crack, or the whole wedge in front of it), that run along it and that run under it.
  Folder t;
  WriteHandOver(t);
  WriteAnsi(t.D("site.pgm"), "");
  std::mt19937 rng(4647);
  auto any = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  int cut = 0, beyond = 0, along = 0, under = 0;
  for (int k = 0; k < 36; ++k) {
    Slope c = Base();
    c.faceDip = any(40, 89), c.faceDir = any(0, 360), c.upperDip = any(0, 35), c.upperDir = any(0, 360);
    c.height = std::exp(any(std::log(0.5), std::log(500)));
    c.waterWeight = k % 2 ? 10 : 0;
    if (k % 3 == 1) c.load = any(0, 30) * c.height * c.height, c.loadPlunge = any(-30, 90), c.loadTrend = any(0, 360);
    if (k % 3 == 2)
      c.anchor = any(0, 30) * c.height * c.height, c.anchorPlunge = any(-30, 60), c.anchorTrend = any(0, 360);
    c.crackDistance = c.height * (k % 4 == 0 ? any(0.005, 0.05) : any(0.05, 3));
    c.crackDip = k % 5 == 0 ? 90 : any(0, 90), c.crackDir = any(0, 360);
    QList<Family> families;
    for (int f = 0; f < 9; ++f) families.append({any(10, 85), any(0, 360)});
    // Planes that hold the trace of families 1 to 3 on the upper slope.
    for (int f = 0; f < 3; ++f) {
      const auto [dip, dir] =
          wedge_test::HoldingUpperTrace(families[f].dip, families[f].dir, c.upperDip, c.upperDir, any(15, 75));
      families.append({dip, dir});
    }
    // The planes that hold a trace stand right after their partner, which is plane 1 of that pair.
    QList<Family> ordered;
    for (int f = 0; f < 9; ++f) {
      ordered.append(families[f]);
      if (f < 3) ordered.append(families[9 + f]);
    }
    const QStringList rows = Rows(t, SlopeValues(c), ordered);
    int next = 0;
    for (int i = 0; i < ordered.size(); ++i) {
      for (int j = i + 1; j < ordered.size(); ++j) {
        const Outcome o = Expected(c, ordered[i], ordered[j], c.c1, c.phi1, c.c1, c.phi1);
        if (!o.wedge) continue;
        if (next < rows.size()) ExpectRow(rows[next], ordered[i], ordered[j], o);
        ++next;
        if (std::fabs(o.upperSine) <= 1e-5) ++along;
        else if (o.upperSine < 0) ++under;
        else if (o.crackCuts) ++cut;
        else ++beyond;
      }
    }
    EXPECT_EQ(next, rows.size()) << k << Table(rows);
  }
  EXPECT_GT(cut, 20);
  EXPECT_GT(beyond, 20);
  EXPECT_GT(along, 3);
  EXPECT_GT(under, 20);
}
