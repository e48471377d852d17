// The interactive analysis driven by scripts, in-process: the window's controls by their names.
#include "cluster/geometria.h"
#include "cluster/interattiva.h"
#include "cluster/workform.h"
#include "tests/cluster/poli.h"

#include "common/platform/application.h"
#include "common/platform/drawingsurface.h"
#include "common/platform/files.h"
#include "common/platform/forms.h"
#include "common/platform/ui.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

#include <cmath>

using testing_support::Ended;
using testing_support::Scripted;
using testing_support::TestFolder;

namespace {

// The points with one measuring line of 10 m (or the length given), horizontal towards north.
struct Poli : PoliProva {
  using PoliProva::PoliProva;
  explicit Poli(const PoliProva& p) : PoliProva(p) {}
  std::vector<float> sdir{0, 0}, sinc{0, 0}, slung{0, 0};
  StendimentiClustering Stendimenti(float lunghezza = 10) {
    sdir[1] = static_cast<float>(2 * std::atan(1.0));
    slung[1] = lunghezza;
    return {1, sdir.data(), sinc.data(), slung.data()};
  }
};

Poli Esempio() { return Poli(EsempioProva(2)); }

std::pair<int, int> Gradi(const CentroCluster& c) { return GradiCentro(c); }

// "expect <object> <text>": the text of a label or frame title at that moment of the run.
void RegistraAttese(QStringList& viste) {
  plat::RegisterScriptAction("expect", [&viste](const QStringList& args, QString* error) {
    QWidget* w = plat::FindObject(args.value(0));
    QString testo;
    if (auto* l = qobject_cast<QLabel*>(w)) testo = l->text();
    else if (auto* g = qobject_cast<QGroupBox*>(w)) testo = g->title();
    viste << args.value(0) + "=" + testo;
    if (testo != args.value(1)) {
      *error = QStringLiteral("%1 shows \"%2\"").arg(args.value(0), testo);
      return false;
    }
    return true;
  });
}

class Interattiva : public ::testing::Test {
 protected:
  void TearDown() override {
    if (workform* f = FinestraAnalisi()) f->Unload();
    plat::DeleteClosedWindows();
  }
  TestFolder t{false};
  QStringList viste;
};

}  // namespace

TEST_F(Interattiva, WholeRunOfTheWorkedExample) {
  Scripted s(t,
             "check Option3 1\npress Command3\n"
             "expect Frame5 \"LIVELLO DI AGGREGAZIONE\"\nexpect Label6 \"Numero iniziale di cluster:\"\n"
             "set Text1 2\nkey Text1 Enter\n"
             "expect Label1 \"n. cluster:  2\"\npress Picture3\n"
             "expect Label2 \"n. min. poli:  4\"\nkey Picture1 Right\nexpect Label1 \"n. cluster:  2\"\n"
             "expect Label2 \"n. min. poli:  1\"\nkey Picture1 Right\npress Picture3\n"
             "expect Label6 \"Distanza angolare massima di appartenenza ai cluster:\"\n"
             "set Text1 30\nkey Text1 Enter\npress Command1\n");
  RegistraAttese(viste);
  Poli p = Esempio();
  RisultatoClustering r;
  EseguiClusterAnalysis(p.Vista(), p.Stendimenti(), OpzioniRete{}, r);
  EXPECT_EQ(r.NumeroCluster, 2);
  ASSERT_EQ(r.Membri.size(), 3u);
  EXPECT_EQ(r.Membri[1], (std::vector<int>{2, 4}));
  EXPECT_EQ(r.Membri[2], (std::vector<int>{1}));
  EXPECT_EQ(Gradi(r.Centri[1]), std::pair(43, 344));
  EXPECT_FLOAT_EQ(r.DistanzaMassima, static_cast<float>(30 * std::atan(1.0) / 45));
  EXPECT_TRUE(r.FrequenzeCalcolate);
  EXPECT_FLOAT_EQ(r.PesoFamiglie[1], 2);
  EXPECT_FLOAT_EQ(r.AperturaFamiglie[1], 2);
  EXPECT_GT(r.FrequenzaFamiglie[1], 0);
  for (int k = 1; k <= 5; ++k) EXPECT_TRUE(plat::FileExists(t.P(QString::number(k)))) << k;
  EXPECT_EQ(testing_support::ReadBytes(t.P("2")), QByteArray(" 2 \r\n 1 \r\n 1 \r\n 4 \r\n 2 \r\n 4 \r\n 3 \r\n 5 \r\n"));
  EXPECT_TRUE(s.Log("window").first().contains("\tworkform\tEsecuzione Cluster Analysis"));
  EXPECT_EQ(viste.size(), 7);
}

TEST_F(Interattiva, InvalidAnswersBringThePromptBackAndLimitsHold) {
  Scripted s(t,
             "press Command3\n"  // group average, selected when the window opens
             "set Text1 2.5\nkey Text1 Enter\nset Text1 0\nkey Text1 Enter\nset Text1 6\nkey Text1 Enter\n"
             "set Text1 abc\nkey Text1 Enter\nset Text1 \"\"\nkey Text1 Enter\n"
             "set Text1 3x\nkey Text1 Enter\nexpect Label1 \"n. cluster:  3\"\n"
             // Aumenta down to one cluster and past it, then Riduci up to five and past it
             "press Picture2\npress Picture2\nkey Picture1 Left\nexpect Label1 \"n. cluster:  1\"\n"
             "press Picture4\npress Picture4\npress Picture4\nkey Picture1 Right\nkey Picture1 Right\n"
             "expect Label1 \"n. cluster:  5\"\nkey Picture1 Up\nexpect Label1 \"n. cluster:  5\"\n"
             "key Picture1 Down\n"
             // every point its own family: Riduci past the five clusters stays at five
             "press Picture4\npress Picture4\npress Picture4\npress Picture4\npress Picture4\n"
             "expect Label1 \"n. cluster:  5\"\nexpect Label2 \"n. min. poli:  1\"\nkey Picture1 Enter\n"
             "set Text1 -1\nkey Text1 Enter\nset Text1 91\nkey Text1 Enter\nset Text1 0\nkey Text1 Enter\n"
             "press Command1\n"
             "answer OK \"stendimento\"\n");
  RegistraAttese(viste);
  Poli p({{10, 10, 1}, {20, 100, 3}, {30, 200, 1}, {40, 300, 2}, {50, 30, 3}}, 2);
  RisultatoClustering r;
  EseguiClusterAnalysis(p.Vista(), p.Stendimenti(0), OpzioniRete{}, r);
  // Level N, every cluster kept, distance 0: every point is its own family, in weight order.
  EXPECT_EQ(r.NumeroCluster, 5);
  EXPECT_EQ(r.Membri, Partizione({{}, {2}, {5}, {4}, {1}, {3}}));
  EXPECT_EQ(r.DistanzaMassima, 0.0f);
  // No measuring line has a length: the user is told; apertures are there, frequencies 0.
  EXPECT_FALSE(r.FrequenzeCalcolate);
  EXPECT_FLOAT_EQ(r.AperturaFamiglie[1], 2);
  EXPECT_EQ(r.FrequenzaFamiglie[1], 0);
  EXPECT_EQ(s.Log("msgbox").size(), 1);
}

// A letter the files cannot hold, typed into a prompt, is refused with the message every field gives it and the
// prompt comes back; it is never taken as 0 (the clusters as they are).
TEST_F(Interattiva, APromptLetterTheFilesCannotHoldIsRefusedAndAskedAgain) {
  Scripted s(t,
             "check Option3 1\npress Command3\n"
             "key Text1 Ω\nkey Text1 Enter\nanswer OK \"(U+03A9)\"\nset Text1 2\nkey Text1 Enter\n"
             "press Picture3\nkey Picture1 Right\nkey Picture1 Right\npress Picture3\n"
             "key Text1 ř\nkey Text1 Enter\nanswer OK \"(U+0159)\"\n"
             "expect Label6 \"Distanza angolare massima di appartenenza ai cluster:\"\n"
             "set Text1 30\nkey Text1 Enter\npress Command1\n");
  RegistraAttese(viste);
  Poli p = Esempio();
  RisultatoClustering r;
  EseguiClusterAnalysis(p.Vista(), p.Stendimenti(), OpzioniRete{}, r);
  const QStringList m = s.Log("msgbox");
  ASSERT_EQ(m.size(), 2);
  EXPECT_TRUE(m[0].contains("\tLIVELLO DI AGGREGAZIONE\tIl carattere seguente")) << m[0].toStdString();
  EXPECT_TRUE(m[1].contains("\tCLUSTERING NON GERARCHICO\tIl carattere seguente")) << m[1].toStdString();
  EXPECT_EQ(r.NumeroCluster, 2);
  EXPECT_FLOAT_EQ(r.DistanzaMassima, static_cast<float>(30 * std::atan(1.0) / 45));
}

TEST_F(Interattiva, RestartGoesBackToTheLevel) {
  Scripted s(t,
             "check Option1 1\npress Command3\n"
             "set Text1 2\nkey Text1 Enter\npress Picture3\npress Picture3\nset Text1 0\nkey Text1 Enter\n"
             "press Command2\n"
             "expect Frame5 \"LIVELLO DI AGGREGAZIONE\"\n"
             "set Text1 4\nkey Text1 Enter\nexpect Label1 \"n. cluster:  4\"\nkey Picture1 Enter\n"
             "press Picture4\npress Picture3\nset Text1 0\nkey Text1 Enter\npress Command1\n");
  RegistraAttese(viste);
  Poli p = Esempio();
  RisultatoClustering r;
  EseguiClusterAnalysis(p.Vista(), p.Stendimenti(), OpzioniRete{}, r);
  // Level 4 of single linkage: {1}, {2,4}, {3}, {5}; the two heaviest are {2,4} and {1}.
  EXPECT_EQ(r.NumeroCluster, 2);
  EXPECT_EQ(r.Membri, Partizione({{}, {2, 4}, {1}}));
}

// The first drawing of the net already places every point where it belongs (not all at the centre).
TEST_F(Interattiva, TheFirstDrawingPlacesThePoints) {
  Scripted s(t, "probe\npress Command3\nset Text1 1\nkey Text1 Enter\npress Picture3\npress Picture3\n"
                "set Text1 0\nkey Text1 Enter\npress Command1\n");
  int chiari = -1;
  plat::RegisterScriptAction("probe", [&chiari](const QStringList&, QString*) {
    plat::DrawingSurface* rete = FinestraAnalisi()->Picture1;
    const QImage im = rete->Image();
    const QPointF centro = rete->ToPixels(0, 0);
    chiari = 0;
    for (int dx = -4; dx <= 4; ++dx)
      for (int dy = -4; dy <= 4; ++dy)
        if (qGray(im.pixel(int(centro.x()) + dx, int(centro.y()) + dy)) > 64) ++chiari;
    return true;
  });
  Poli p({{60, 10, 1}, {60, 100, 1}, {70, 200, 3}}, 1);
  RisultatoClustering r;
  EseguiClusterAnalysis(p.Vista(), p.Stendimenti(), OpzioniRete{1, 1}, r);
  EXPECT_EQ(chiari, 0);
  EXPECT_EQ(r.NumeroCluster, 1);
}

// Closing the window is tested on whole runs of TALVOR (talvor_cluster_test.cpp): the program's end cannot pass
// through Qt's closing of a window in-process.

TEST(Rete, PositionsOnTheNet) {
  const double pi = 4 * std::atan(1.0);
  double x = 0, y = 0, inc = 0, dir = 0;
  // Dip 90: on the primitive circle with the equal-angle net; dip 60: at tan 30°; equal-area at √2 sin 30°.
  GiacituraInPolo(0, 90, inc, dir);
  PosizioneSullaRete(inc, dir, OpzioniRete{2, 0}, 1, x, y);
  EXPECT_NEAR(std::hypot(x, y), 1, 1e-12);
  GiacituraInPolo(0, 60, inc, dir);
  PosizioneSullaRete(inc, dir, OpzioniRete{2, 0}, 1, x, y);
  EXPECT_NEAR(std::hypot(x, y), std::tan(pi / 6), 1e-12);
  PosizioneSullaRete(inc, dir, OpzioniRete{1, 0}, 1, x, y);
  EXPECT_NEAR(std::hypot(x, y), std::sqrt(2.0) * 0.5, 1e-12);
  // A plane dipping towards north: above the centre, below it on the lower-hemisphere net.
  EXPECT_GT(y, 0);
  PosizioneSullaRete(inc, dir, OpzioniRete{1, 1}, -1, x, y);
  EXPECT_LT(y, 0);
  EXPECT_EQ(ColoreCluster(1), 1);
  EXPECT_EQ(ColoreCluster(15), 15);
  EXPECT_EQ(ColoreCluster(16), 1);
}
