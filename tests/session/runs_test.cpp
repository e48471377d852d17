// Whole runs of frattix32, headless, driven by a script.
#include "common/platform/files.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using testing_support::ReadAnsi;
using testing_support::ReadBytes;
using testing_support::ReadLog;
using testing_support::RunProgram;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

class Esecuzioni : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddPrograms({"frattix32"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    QDir(t.Data()).mkpath("rilievi");
    rilievi = t.D("rilievi");
  }
  testing_support::RunResult Esegui(const QStringList& argomenti, const QString& script) {
    QFile::remove(t.D("ui.log"));
    return RunProgram(t.P("frattix32"), argomenti, t.Data(), testing_support::ScriptedRunEnvironment(t, script));
  }
  QStringList Log() const { return ReadLog(t.D("ui.log")); }
  TestFolder t;
  QString rilievi;
};

TEST_F(Esecuzioni, StartWithoutArgumentShowsTheAboutBoxFirst) {
  const auto r = Esegui({}, "press INFORMAZIONI.Command1\nclose menu1\n");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList log = Log();
  ASSERT_EQ(log.size(), 2);
  EXPECT_EQ(log[0], QString("frattix32\tform\tINFORMAZIONI\tINFO"));
  EXPECT_EQ(log[1], QString("frattix32\twindow\tmenu1\tFRATTIX 32"));
}

TEST_F(Esecuzioni, StartWithASessionWorksInItsFolder) {
  WriteAnsi(rilievi + "/Prova.SES", "");
  WriteAnsi(rilievi + "/Fronte.SCH", "");
  // The name given differs in letter case from the file: the session's list is written into Prova.SES.
  const auto r = Esegui({rilievi + "/PROVA.ses"},
                        "menu EdizioneSelezione\ncheck Check1(0) 1\npress Command1\n"
                        "menu EdizioneParametri\npress Command2\nclose menu1\n");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(Log().filter("\twindow\tmenu1\t"), QStringList{"frattix32\twindow\tmenu1\tFRATTIX - prova"});
  EXPECT_TRUE(Log().filter("INFORMAZIONI").isEmpty());
  EXPECT_EQ(ReadBytes(rilievi + "/Prova.SES"), QByteArray(" 1 \r\nfronte.sch\r\n"));
  EXPECT_EQ(QDir(rilievi).entryList({"*.ses", "*.sel"}, QDir::Files, QDir::Name), (QStringList{"PROVA.sel", "Prova.SES"}));
  EXPECT_TRUE(ReadAnsi(rilievi + "/PROVA.sel").endsWith("0\n100\n0\n360\n0\n90\n"));
  EXPECT_TRUE(QDir(t.Data()).entryList(QDir::Files).filter(QRegularExpression("\\.(ses|sel)$")).isEmpty());
}

TEST_F(Esecuzioni, StartWithAMissingFile) {
  const auto r = Esegui({rilievi + "/manca.ses"}, "menu CalcoliCluster\nanswer OK \"eseguire calcoli\"\n"
                                                  "menu EdizioneTitoli\nanswer OK \"editare dati\"\n"
                                                  "menu esptabtxt\nanswer OK \"produrre output\"\nclose menu1\n");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList log = Log();
  EXPECT_EQ(log.first(), QString("frattix32\twindow\tmenu1\tFRATTIX 32"));
  EXPECT_EQ(log.filter("\tmsgbox\tATTENZIONE!\t").size(), 3);
  EXPECT_TRUE(log.filter("INFORMAZIONI").isEmpty());
}

TEST_F(Esecuzioni, OpenRenameHelpAndExit) {
  WriteAnsi(rilievi + "/rock.ses", " 0 \n");
  WriteAnsi(t.P("temporan"), " 0 \n");
  const auto r = Esegui({rilievi + "/manca.ses"},
                        QString("menu FileApri\nfile %1/rock.ses\n"
                                "menu FileSalva\nfile %2/Nuovo.txt\n"
                                "menu EdizioneParametri\npress Command2\n"
                                "menu FileHelp\nmenu AiutoStampa\nclose HelpWindow\n"
                                "menu confstam\nclose PrintSetup\nclose menu1\n")
                            .arg(rilievi, t.Data()));
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(ReadAnsi(t.P("path")), QDir(t.Data()).canonicalPath() + "\n");
  EXPECT_TRUE(plat::FileExists(t.D("Nuovo.sel")));  // the commands after the rename use the new stem there
  EXPECT_FALSE(plat::FileExists(rilievi + "/rock.sel"));
  const QStringList aiuto = Log().filter("\twindow\tHelpWindow\t");
  EXPECT_EQ(aiuto, (QStringList{"frattix32\twindow\tHelpWindow\tArchivi", "frattix32\twindow\tHelpWindow\tStampa"}));
  EXPECT_EQ(Log().filter("\tform\tPrintSetup\t").size(), 1);
  EXPECT_FALSE(plat::FileExists(t.P("temporan")));
}

TEST_F(Esecuzioni, TheExampleSessionOpens) {
  QDir esempi(QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/examples"));
  for (const QString& f : esempi.entryList(QDir::Files)) QFile::copy(esempi.filePath(f), rilievi + "/" + f);
  const auto r = Esegui({rilievi + "/esempio.ses"},
                        "menu EdizioneSelezione\npress Command1\nmenu sommario\nclose menu1\n");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(Log().filter("\twindow\tmenu1\t"), QStringList{"frattix32\twindow\tmenu1\tFRATTIX - esempio"});
  // Its four sheets are listed and stay listed after a confirmed, unchanged choice.
  EXPECT_EQ(ReadAnsi(rilievi + "/esempio.ses"), QString(" 4 \nfronte_est.sch\nfronte_nord.sch\ngradone4.sch\nrampa.sch\n"));
}

TEST_F(Esecuzioni, TheExampleSessionRunsTheAnalysisCommandsWithTalvor) {
  // The example's sheets load into TALVOR's points without the limit message; the cluster run groups them into
  // four families (group average, level 4, the four clusters kept, 20 degrees) with their tables, the stability
  // run checks their wedges again; the menus then work again.
  t.AddPrograms({"TALVOR", "EIGEN", "peldrix"});
  QDir esempi(QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/examples"));
  for (const QString& f : esempi.entryList(QDir::Files)) QFile::copy(esempi.filePath(f), rilievi + "/" + f);
  QDir(t.Root()).mkpath("script");
  WriteAnsi(t.Root() + "/script/frattix32.script",
            "menu CalcoliCluster\nmenu CalcoliStabilita\nmenu GraficaProiezione\npress Command1(0)\nmenu about\n"
            "press INFORMAZIONI.Command1\nclose menu1\n");
  WriteAnsi(t.Root() + "/script/TALVOR.script",
            "press Command3\nset Text1 4\nkey Text1 Enter\npress Picture3\nkey Picture1 Right\nkey Picture1 Right\n"
            "key Picture1 Right\npress Picture3\nset Text1 20\nkey Text1 Enter\npress Command1\n");
  QProcessEnvironment env = testing_support::ScriptedRunEnvironment(t, "");
  env.insert("FRATTIX_UI_SCRIPT", t.Root() + "/script");
  QFile::remove(t.D("ui.log"));
  const auto r = RunProgram(t.P("frattix32"), {rilievi + "/esempio.ses"}, t.Data(), env);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_TRUE(Log().filter("\tmsgbox\t").isEmpty()) << Log().join("\n").toStdString();
  EXPECT_EQ(ReadAnsi(rilievi + "/esempio.GRA"), " 1 \n 1 \n 2 \n 1 \n 1 \n 2 \n");
  EXPECT_FALSE(plat::FileExists(t.P("temporan")));  // the exit command removed it
  const QStringList dat = ReadAnsi(rilievi + "/esempio.dat").split('\n');
  ASSERT_GT(dat.size(), 10);
  const int n = dat.at(9).toInt();
  EXPECT_GT(n, 50);
  ASSERT_GT(dat.size(), 10 + 4 * n);
  EXPECT_EQ(dat.at(10 + 4 * n), " 4 ");
}

}  // namespace

namespace {

QString GitStatus(const QString& source) {
  QProcess git;
  git.start("git", {"-C", source, "status", "--porcelain", "--ignored=no"});
  git.waitForFinished(30000);
  return git.exitCode() == 0 ? QString::fromLocal8Bit(git.readAllStandardOutput()) : QStringLiteral("(no git)");
}

}  // namespace

// The README's run command opens a working copy of the example session in the user's data folder, so the
// checkout is never written to; the copy is made once and kept as the user leaves it.
TEST_F(Esecuzioni, TheRunCommandWorksOnACopyOfTheExampleAndLeavesTheCheckoutAlone) {
  const QString source = QStringLiteral(FRATTIX_TEST_SOURCE_DIR);
  ASSERT_FALSE(source.isEmpty());
  const QString before = GitStatus(source);
  ASSERT_TRUE(QDir(t.Root()).mkpath("b"));
  ASSERT_TRUE(QFile::link(t.Program(), t.Root() + "/b/bin"));
  // The selection command writes the session's criteria file: into the copy.
  QProcessEnvironment env = testing_support::ScriptedRunEnvironment(
      t, "menu EdizioneSelezione\ncheck Check1(0) 1\npress Command1\nmenu EdizioneParametri\npress Command2\n"
         "close menu1\n");
  env.insert("FRATTIX_RUN_NO_BUILD", "1");
  env.insert("FRATTIX_BUILD_DIR", t.Root() + "/b");
  env.insert("XDG_DATA_HOME", t.Root() + "/xdg");
  const QString copia = t.Root() + "/xdg/frattix/esempio";
  for (int volta = 0; volta < 2; ++volta) {
    const auto r = RunProgram("/bin/bash", {source + "/scripts/run"}, t.Data(), env);
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_TRUE(QFile::exists(copia + "/esempio.ses"));
    EXPECT_TRUE(QFile::exists(copia + "/esempio.sel"));
    EXPECT_EQ(Log().filter("\twindow\tmenu1\t").value(0), QString("frattix32\twindow\tmenu1\tFRATTIX - esempio"));
    WriteAnsi(copia + "/mio.txt", "dati dell'utente\n");  // kept by the next run
    QFile::remove(t.D("ui.log"));
  }
  EXPECT_TRUE(QFile::exists(copia + "/mio.txt"));
  EXPECT_EQ(GitStatus(source), before);
}
