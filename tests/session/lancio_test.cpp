// The launching commands of the main window with the real TALVOR: the hand-over file, the graphics options, the
// menus around the child's run, the refusals while it runs and a child that cannot be started.
#include "common/data/risultato.h"
#include "common/platform/files.h"
#include "main/dialogs/maschera.h"
#include "main/session/menu1.h"
#include "main/session/sessione.h"
#include "main/dialogs/definizioni.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QAction>
#include <QDir>
#include <QApplication>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using testing_support::ReadAnsi;
using testing_support::ReadBytes;
using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

const char* const kMenu[] = {"Archivi", "Edizione", "calcoli", "Stampa", "uscita", "about"};

// A session "sito.ses" with two sheets in the data folder; TALVOR in the program folder with its own script.
class Lancio : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddPrograms({"TALVOR", "peldrix"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    QDir(t.Root()).mkpath("script");
    const QString record = " 1  0.1  GI 208 75  3 1 4 1 IRR 3  LIS DOL R2       \n";
    for (const char* nome : {"uno,due.sch", "tre.sch"})
      WriteAnsi(t.D(nome), QString("a\nb\n75/-8\nd\n30\nf\n\n\n\n 1 \n") + record);
    WriteAnsi(t.D("sito.SES"), " 2 \nuno,due.sch\ntre.sch\n");
    Sessione = ModuloSessione();
    Sessione.NomeSessione = "sito.ses";
    // The dialog definitions, for the graphics options of the plot commands.
    std::vector<QString> percorsi = {QString()};
    for (const char* nome : {"EDITFRON.MAV", "EDITPARG.MAV", "EDITPFAM.MAV", "EDITSCHE.MAV", "EDITPGEN.MAV",
                             "EDITTITO.MAV", "EDITPARG2.MAV"})
      percorsi.push_back(t.P(nome));
    LeggiDefinizioniMaschere(7, percorsi);
  }
  // The scripts: `principale` for this test program, `talvor` for TALVOR.
  void Script(const QString& principale, const QString& talvor = QString()) {
    s_ = std::make_unique<Scripted>(t, principale);
    WriteAnsi(t.Root() + "/script/test_session.script", principale);
    WriteAnsi(t.Root() + "/script/TALVOR.script", talvor);
    testing_support::SetEnv("FRATTIX_UI_SCRIPT", (t.Root() + "/script").toLocal8Bit());
    plat::ResetInteraction();
  }
  // Runs `comando` and, while the child runs, `durante`.
  void Durante(const std::function<void()>& comando, const std::function<void()>& durante) {
    bool fatto = false;
    QTimer::singleShot(0, &w, [&] {
      if (w.FiglioInCorso()) durante();
      fatto = true;
    });
    comando();
    EXPECT_TRUE(fatto);
  }
  std::vector<bool> StatoMenu() const {
    std::vector<bool> stato;
    for (const char* nome : kMenu) stato.push_back(w.Voce(nome)->isEnabled());
    return stato;
  }
  TestFolder t;
  menu1 w;
  std::unique_ptr<Scripted> s_;
};

TEST_F(Lancio, ClusterCommandHandsOverTheSessionAndDisablesTheMenusWhileTalvorRuns) {
  // TALVOR loads the two records (one orientation) and ends before the clustering.
  Script("");
  std::vector<bool> durante;
  Durante([&] { w.CalcoliCluster_Click(); }, [&] { durante = StatoMenu(); });
  EXPECT_EQ(durante, std::vector<bool>(6, false));
  EXPECT_EQ(StatoMenu(), std::vector<bool>(6, true));
  EXPECT_TRUE(w.Voce("menuaiuto")->isEnabled());
  EXPECT_EQ(ReadBytes(t.P("temporan")), QByteArray(" 0 \r\n 0 \r\n 0 \r\n 2 \r\nuno,due.sch\r\ntre.sch\r\nsito.ses\r\n"));
  EXPECT_EQ(ReadBytes(t.D("sito.GRA")), QByteArray(" 1 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 2 \r\n"));
  EXPECT_TRUE(s_->Log("msgbox").isEmpty());
  EXPECT_FALSE(plat::FileExists(t.D("sito.dat")));  // nothing half-written
}

// A clustering result "sito.dat" of one cluster.
void ScriviRisultato(const QString& file) {
  RisultatoCluster r;
  r.NumeroPoli = r.NumeroCluster = 1;
  r.Punti.resize(2);
  r.Membri = {{}, {1}};
  ASSERT_TRUE(ScriviFileRisultato(file, r));
}

TEST_F(Lancio, StabilityCommandWritesAnEmptyThirdLineAndLeavesAnExistingGraphicsFile) {
  ScriviRisultato(t.D("sito.dat"));
  WriteAnsi(t.D("SITO.gra"), "2\n1\n2\n0\n0\n");
  Script("");
  w.CalcoliStabilita_Click();
  EXPECT_EQ(ReadBytes(t.P("temporan")), QByteArray(" 0 \r\n-2 \r\n\r\n 2 \r\nuno,due.sch\r\ntre.sch\r\nsito.ses\r\n"));
  EXPECT_EQ(ReadAnsi(t.D("SITO.gra")), "2\n1\n2\n0\n0\n");
  EXPECT_FALSE(plat::FileExists(t.D("sito.GMC")));
}

TEST_F(Lancio, AnEmptyListOrAMissingListStartsNothing) {
  WriteAnsi(t.D("sito.SES"), " 0 \n");
  Script("");
  w.CalcoliCluster_Click();
  w.CalcoliStabilita_Click();
  EXPECT_FALSE(plat::FileExists(t.P("temporan")));
  EXPECT_FALSE(plat::FileExists(t.D("sito.GRA")));
  QFile::remove(t.D("sito.SES"));
  w.CalcoliCluster_Click();
  Script("press Command1(0)\npress Command1(0)\n");  // the graphics options come first
  w.LanciaClusterSessione();
  EXPECT_FALSE(plat::FileExists(t.P("temporan")));
  // The cluster plot needs a clustering result.
  WriteAnsi(t.D("sito.SES"), " 0 \n");
  Script("press Command1(0)\nanswer OK \"Nessun risultato\"\n");
  w.LanciaClusterDati();
  EXPECT_FALSE(plat::FileExists(t.P("temporan")));
}

// The stability check and the cluster plot before any cluster analysis say that there is no clustering result,
// as the family parameters do, and start nothing.
TEST_F(Lancio, StabilityAndTheClusterPlotWithoutAClusteringResultSaySo) {
  Script("answer OK\npress Command1(0)\nanswer OK\n");
  w.Voce("CalcoliStabilita")->trigger();
  w.Voce("GraficaCluster")->trigger();
  const QStringList m = s_->Log("msgbox");
  ASSERT_EQ(m.size(), 2);
  for (const QString& riga : m)
    EXPECT_TRUE(riga.contains("Nessun risultato della cluster analysis per questa sessione:\\nsito.dat"))
        << riga.toStdString();
  EXPECT_FALSE(plat::FileExists(t.P("temporan")));
}

TEST_F(Lancio, PlotCommandsWriteTheKindOfPlotAndTheListInMemory) {
  // The cluster plot writes the list held in memory (none after a start), the projection the session's list.
  RisultatoCluster r;
  r.NumeroPoli = r.NumeroCluster = 1;
  r.Punti.resize(2);
  r.Membri = {{}, {1}};
  ASSERT_TRUE(ScriviFileRisultato(t.D("sito.dat"), r));
  Script("press Command1(0)\npress Command1(0)\n");  // the graphics options, confirmed unchanged
  w.LanciaClusterDati();
  EXPECT_EQ(ReadBytes(t.P("temporan")), QByteArray(" 0 \r\n 1 \r\n 0 \r\n 0 \r\nsito.ses\r\n"));
  EXPECT_EQ(ReadAnsi(t.D("sito.GRA")), " 1 \n 1 \n 1 \n 1 \n 1 \n 2 \n");
  // TALVOR loads the poles afresh for the projection (one point) and ends before the plot.
  w.LanciaClusterSessione();
  EXPECT_EQ(ReadBytes(t.P("temporan")), QByteArray(" 0 \r\n 1 \r\n 0 \r\n 2 \r\nuno,due.sch\r\ntre.sch\r\nsito.ses\r\n"));
  EXPECT_EQ(ReadAnsi(t.D("sito.GRA")), " 1 \n 1 \n 2 \n 1 \n 1 \n 2 \n");
  EXPECT_TRUE(s_->Log("msgbox").isEmpty());
}

TEST_F(Lancio, PlotCommandsShowTheGraphicsOptionsFirstAndACancelStartsNothing) {
  RisultatoCluster r;
  r.NumeroPoli = r.NumeroCluster = 1;
  r.Punti.resize(2);
  r.Membri = {{}, {1}};
  ASSERT_TRUE(ScriviFileRisultato(t.D("sito.dat"), r));
  Script("pick Combo1(0) Equiangolare\npress Command1(1)\nclose base1\n");
  w.Voce("GraficaCluster")->trigger();
  w.Voce("GraficaProiezione")->trigger();
  const QStringList forme = s_->Log("form");
  ASSERT_EQ(forme.size(), 2);
  EXPECT_TRUE(forme[0].endsWith("\tbase1\tOPZIONI GRAFICHE - CLUSTER"));
  EXPECT_TRUE(forme[1].endsWith("\tbase1\tOPZIONI GRAFICHE - DATI INIZIALI"));
  EXPECT_FALSE(plat::FileExists(t.P("temporan")));
  EXPECT_FALSE(plat::FileExists(t.D("sito.GRA")));
  // Confirmed with a change: the option is written and the plot starts.
  Script("pick Combo1(0) Equiangolare\npress Command1(0)\n");
  w.Voce("GraficaProiezione")->trigger();
  EXPECT_TRUE(plat::FileExists(t.P("temporan")));
  EXPECT_EQ(ReadAnsi(t.D("sito.GRA")), " 2 \n 1 \n 2 \n 1 \n 1 \n 2 \n");
}

TEST_F(Lancio, WhileAChildRunsExitCloseAndASecondLaunchAreRefused) {
  Script("answer OK \"in esecuzione\"\nanswer OK \"in esecuzione\"\nanswer OK \"in esecuzione\"\n");
  bool chiusa = true;
  Durante([&] { w.CalcoliCluster_Click(); },
          [&] {
            w.uscita_Click();
            chiusa = w.close();
            QFile::remove(t.D("sito.GRA"));
            w.LanciaStellare();
          });
  EXPECT_FALSE(chiusa);
  EXPECT_EQ(s_->Log("msgbox").size(), 3);
  EXPECT_FALSE(plat::FileExists(t.D("sito.GRA")));  // the refused launch wrote nothing
  EXPECT_EQ(ReadBytes(t.P("temporan")).mid(0, 10), QByteArray(" 0 \r\n 0 \r\n"));
}

TEST_F(Lancio, AMissingProgramIsReportedAndTheMenusComeBack) {
  QFile::remove(t.P("TALVOR"));
  Script("answer OK \"TALVOR\"\n");
  w.CalcoliCluster_Click();
  EXPECT_EQ(s_->Log("msgbox").size(), 1);
  EXPECT_EQ(StatoMenu(), std::vector<bool>(6, true));
  EXPECT_FALSE(w.FiglioInCorso());
}

TEST_F(Lancio, AChildKilledMidRunIsReportedAndMenusPointerAndFocusComeBack) {
  QFile::remove(t.P("TALVOR"));  // a link to the built program: never written through
  testing_support::WriteScript(t.P("TALVOR"), "#!/bin/sh\nkill -9 $$\n");
  Script("answer OK \"TALVOR\"\n");
  w.show();
  QApplication::setActiveWindow(&w);
  std::vector<bool> durante;
  Durante([&] { w.CalcoliCluster_Click(); }, [&] { durante = StatoMenu(); });
  EXPECT_EQ(durante, std::vector<bool>(6, false));
  const QStringList m = s_->Log("msgbox");
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].contains("terminato in modo anomalo")) << m[0].toStdString();
  EXPECT_EQ(StatoMenu(), std::vector<bool>(6, true));
  EXPECT_FALSE(w.FiglioInCorso());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::focusWidget(), &w);
}

TEST_F(Lancio, TheStarDiagramLeavesTheMenusUsable) {
  testing_support::WriteScript(t.P("MIRVANE"), "#!/bin/sh\nsleep 0.2\n");
  Script("");
  std::vector<bool> durante;
  Durante([&] { w.LanciaStellare(); }, [&] { durante = StatoMenu(); });
  EXPECT_EQ(durante, std::vector<bool>(6, true));
  EXPECT_EQ(ReadBytes(t.P("temporan")), QByteArray(" 0 \r\n 0 \r\n 0 \r\n 2 \r\nuno,due.sch\r\ntre.sch\r\nsito.ses\r\n"));
}

}  // namespace
