// The report commands of the main window in whole runs of frattix32, driven by a script.
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

using testing_support::ReadBytes;
using testing_support::ReadLog;
using testing_support::RunProgram;
using testing_support::TestFolder;
using testing_support::WriteAnsi;
using testing_support::WriteScript;

namespace {

QString Sorgente(const QString& nome) { return QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/") + nome; }

class Comandi : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddPrograms({"frattix32"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    for (const char* f : {"esempio.ses", "esempio.tit", "esempio.fro", "fronte_est.sch"})
      QFile::copy(Sorgente(QString("examples/") + f), t.D(f));
    WriteAnsi(t.D("esempio.FAM"), QString::fromUtf8("N. Fam.\tImmers. [°]\tInclinaz. [°]\tApertura [mm]\tFrequenza [1/m]\t"
                                                    "Phi [°]\tCoesione [kN/m²]\n1\t122.0\t64.0\t1.5\t2.35\t35.00\t20.00\n"));
    QDir(t.Root()).mkpath("bin");
    // The editor appends the name of every file it is started on to a list.
    WriteScript(t.P("editore"), QString("#!/bin/sh\nprintf '%s\\n' \"$1\" >> %1\n").arg(Aperti()));
    WriteAnsi(t.P("editor.cfg"), "\n" + t.P("editore") + "\n");
  }
  testing_support::RunResult Esegui(const QString& script) {
    QProcessEnvironment env = testing_support::ScriptedRunEnvironment(t, script);
    env.insert("PATH", t.Root() + "/bin");  // no desktop viewer
    return RunProgram(t.P("frattix32"), {t.D("esempio.ses")}, t.Data(), env);
  }
  QString Aperti() const { return t.Root() + "/aperti"; }
  TestFolder t;
};

TEST_F(Comandi, ReportsAsTextAndPreview) {
  const QString script = QString(
                             "menu esptabtxt\n"
                             "menu esptabtxt\nanswer No \"Volete sovrascrivere il file\"\nfile %1/altro.dat\n"
                             "menu esptabtxt\nanswer Yes \"Volete sovrascrivere il file\"\n"
                             "menu espsctxt\nfile %1/fronte_est.sch\n"
                             "menu espsctxt\nfile %1/fronte_est.sch\nanswer No\ncancel\n"
                             "menu VisualizzaAnteprimaTabulati\ngrab %2/tabulati.png Form1\nclose Form1\n"
                             "menu StampaAnteprimaScheda\nfile %1/fronte_est\ngrab %2/scheda.png Form1\n"
                             "dblclick Form1.List1 #2\nclose menu1\n")
                             .arg(t.Data(), t.Root());
  const auto r = Esegui(script);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList log = ReadLog(t.D("ui.log"));
  EXPECT_EQ(log.filter("\tmsgbox\t").size(), 3);
  EXPECT_EQ(log.filter("\twindow\tForm1\t").size(), 2);
  EXPECT_TRUE(ReadBytes(t.D("esempio.txt")).startsWith("Program FRATTIX\r\nCava di Monte Rasso\r\n"));
  EXPECT_EQ(ReadBytes(t.D("altro.txt")), ReadBytes(t.D("esempio.txt")));
  EXPECT_TRUE(ReadBytes(t.D("fronte_est.txt")).startsWith("Program FRATTIX 32\r\n"));
  EXPECT_TRUE(QFile::exists(t.D("esempio.tab")));
  EXPECT_TRUE(QFile::exists(t.D("fronte_est.tab")));
  EXPECT_FALSE(QImage(t.Root() + "/tabulati.png").isNull());
  EXPECT_FALSE(QImage(t.Root() + "/scheda.png").isNull());
  // The editor was started on every text file written, and on nothing else.
  QStringList aperti;
  for (int i = 0; i < 200 && aperti.size() < 4; ++i) {
    aperti = QString::fromUtf8(ReadBytes(Aperti())).split('\n', Qt::SkipEmptyParts);
    if (aperti.size() < 4) QThread::msleep(10);
  }
  aperti.sort();
  EXPECT_EQ(aperti, (QStringList{t.D("altro.txt"), t.D("esempio.txt"), t.D("esempio.txt"), t.D("fronte_est.txt")}));
}

// The name chosen for a text report is taken in the folder chosen, whatever points the folder's name holds: after
// No to the overwrite question, "r" in the folder "cava.2" is "cava.2/r.txt", and the sheet "cava.2/fronte_est" is
// "cava.2/fronte_est.sch"; "cava.txt" and the sheet "cava.sch" in the folder above are never taken for them.
TEST_F(Comandi, ANameChosenInAFolderWithAPointIsTheFileWritten) {
  QDir(t.Data()).mkpath("cava.2");
  QFile::copy(Sorgente("examples/fronte_est.sch"), t.D("cava.2/fronte_est.sch"));
  QFile::copy(Sorgente("examples/rampa.sch"), t.D("cava.sch"));
  WriteAnsi(t.D("cava.txt"), "un file dell'utente\n");
  WriteAnsi(t.D("esempio.txt"), "vecchio\n");
  const auto r = Esegui(QString("menu esptabtxt\nanswer No \"Volete sovrascrivere il file\"\nfile %1/cava.2/r\n"
                                "menu espsctxt\nfile %1/cava.2/fronte_est\nclose menu1\n")
                            .arg(t.Data()));
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  EXPECT_EQ(ReadBytes(t.D("cava.txt")), QByteArray("un file dell'utente\r\n"));
  EXPECT_EQ(ReadBytes(t.D("esempio.txt")), QByteArray("vecchio\r\n"));
  EXPECT_TRUE(ReadBytes(t.D("cava.2/r.txt")).startsWith("Program FRATTIX\r\nCava di Monte Rasso\r\n"));
  EXPECT_TRUE(ReadBytes(t.D("cava.2/fronte_est.txt")).startsWith("Program FRATTIX 32\r\n"));
  EXPECT_TRUE(ReadBytes(t.D("cava.2/fronte_est.txt")).contains("fronte est"));
  EXPECT_FALSE(QFile::exists(t.D("cava.tab")));
  QStringList aperti;
  for (int i = 0; i < 200 && aperti.size() < 2; ++i) {
    aperti = QString::fromUtf8(ReadBytes(Aperti())).split('\n', Qt::SkipEmptyParts);
    if (aperti.size() < 2) QThread::msleep(10);
  }
  aperti.sort();
  EXPECT_EQ(aperti, (QStringList{t.D("cava.2/fronte_est.txt"), t.D("cava.2/r.txt")}));
}

}  // namespace
