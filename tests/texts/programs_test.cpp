// Whole runs of the executables in a private program folder, headless.
#include "tests/support/support.h"

#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <sys/stat.h>

using testing_support::ReadBytes;
using testing_support::ReadLog;
using testing_support::RunProgram;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

QProcessEnvironment Env(const TestFolder& t, const QString& script) {
  return testing_support::ScriptedRunEnvironment(t, script);
}

}  // namespace

TEST(Programs, EachProgramStartsAndEnds) {
  TestFolder t;
  t.AddPrograms({"TALVOR", "peldrix", "MIRVANE", "wenlow"});
  WriteAnsi(t.P("language.cfg"), " 5 \n");
  // TALVOR asked to replot a result that does not exist ends silently.
  WriteAnsi(t.P("temporan"), " 0 \n 1 \n 0 \n 0 \nsito.ses\n");
  for (const char* exe : {"TALVOR", "wenlow"}) {  // MIRVANE: tests/rosediagram
    const auto r = RunProgram(t.P(exe), {}, t.Data(), Env(t, ""));
    EXPECT_TRUE(r.finished) << exe;
    EXPECT_EQ(r.exitCode, 0) << exe << ": " << r.output.toStdString();
  }
  // Without a language the programs end with a clear message and a non-zero code.
  QFile::remove(t.P("language.cfg"));
  const auto r = RunProgram(t.P("TALVOR"), {}, t.Data(), Env(t, ""));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.output.contains("language.cfg")) << r.output.toStdString();
  EXPECT_TRUE(ReadLog(t.D("ui.log")).last().contains("\tfatal\t"));
}

TEST(Programs, FirstStartOfTheMainProgramAsksForTheLanguage) {
  TestFolder t;
  t.AddPrograms({"frattix32"});
  const auto r = RunProgram(t.P("frattix32"), {}, t.Data(), Env(t, "click Picture4\npress INFORMAZIONI.Command1\nclose menu1\n"));
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(ReadBytes(t.P("language.cfg")), QByteArray(" 1 \r\n"));
  const QStringList log = ReadLog(t.D("ui.log"));
  ASSERT_GE(log.size(), 2);
  EXPECT_TRUE(log[0].startsWith("frattix32\tform\tselezling\t"));
  EXPECT_TRUE(log.filter("\twindow\tmenu1\t").size() == 1);
}

TEST(Programs, TestModeShowsTheLanguageWindowAtEveryStart) {
  TestFolder t;
  t.AddPrograms({"frattix32"});
  WriteAnsi(t.DriveC() + "/testmode.tra", "");
  for (const char* pick : {"Picture1", "Picture6"}) {
    const auto r = RunProgram(t.P("frattix32"), {}, t.Data(), Env(t, QString("click %1\npress INFORMAZIONI.Command1\nclose menu1\n").arg(pick)));
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  }
  EXPECT_EQ(ReadBytes(t.P("language.cfg")), QByteArray(" 6 \r\n"));
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("\tform\tselezling\t").size(), 2);
}

TEST(Programs, AScriptThatRunsOutEndsTheProgramInsteadOfHanging) {
  TestFolder t;
  t.AddPrograms({"frattix32"});
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  const auto r = RunProgram(t.P("frattix32"), {}, t.Data(), Env(t, ""), 20000);
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_TRUE(r.output.contains("run out")) << r.output.toStdString();
}

TEST(Programs, EigenSolvesTheExchangeFiles) {
  TestFolder t;
  t.AddPrograms({"EIGEN"});
  WriteAnsi(t.P("eigen.inp"), "2 0 0 \n0 3 0 \n0 0 1 \n");
  const auto r = RunProgram(t.P("EIGEN"), {}, t.Data());
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList lines = testing_support::ReadAnsi(t.P("eigen.out")).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 6);
  EXPECT_EQ(lines[0], QString("1"));
  EXPECT_EQ(lines[1], QString("2"));
  EXPECT_EQ(lines[2], QString("3"));
  EXPECT_EQ(lines[3].split(' ').last().toDouble() * lines[3].split(' ').last().toDouble(), 1.0);
  WriteAnsi(t.P("eigen.inp"), "2 0 0 \n0 x 0 \n");
  EXPECT_EQ(RunProgram(t.P("EIGEN"), {}, t.Data()).exitCode, 1);
}

// A matrix that is not symmetric is no conductivity tensor: EIGEN refuses it instead of solving its mean with its
// transpose (1 9 0 / 0 1 0 / 0 0 1 gave -3.5, 1 and 5.5). The rounding of nine significant digits stays symmetric.
TEST(Programs, EigenRefusesAMatrixThatIsNotSymmetric) {
  TestFolder t;
  t.AddPrograms({"EIGEN"});
  for (const char* male : {"1 9 0 \n0 1 0 \n0 0 1 \n", "1 0 0 \n0 1 0 \n1e-3 0 1 \n", "2 0 0 \n0 3 -1 \n0 1 1 \n"}) {
    WriteAnsi(t.P("eigen.inp"), male);
    QFile::remove(t.P("eigen.out"));
    const auto r = RunProgram(t.P("EIGEN"), {}, t.Data());
    EXPECT_EQ(r.exitCode, 1) << male << r.output.toStdString();
    EXPECT_TRUE(r.output.startsWith("EIGEN: eigen.inp is not symmetric")) << male << ": " << r.output.toStdString();
    EXPECT_FALSE(QFile::exists(t.P("eigen.out"))) << male;
  }
  WriteAnsi(t.P("eigen.inp"), "0.00653333333 1.23456789e-05 0 \n1.23456789e-05 0.00816666667 0 \n0 0 0.00163333333 \n");
  const auto r = RunProgram(t.P("EIGEN"), {}, t.Data());
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
}

// eigen.inp is read as the suite's sequential reader reads every file: a Ctrl-Z as the last byte ends it, a number
// item may carry a D exponent and end at a TAB or a comma; a CR that ends no line is damage told with its line,
// and so is a Ctrl-Z inside the file.
TEST(Programs, EigenReadsTheExchangeAsTheSuitesReaderDoes) {
  TestFolder t;
  t.AddPrograms({"EIGEN"});
  const auto esegui = [&](const QByteArray& ingresso) {
    QFile f(t.P("eigen.inp"));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(ingresso);
    f.close();
    QFile::remove(t.P("eigen.out"));
    return RunProgram(t.P("EIGEN"), {}, t.Data());
  };
  for (const char* buono : {"2 0 0 \r\n0 3D0 0 \r\n0 0 1 \r\n\x1A", "2\t0\t0\n0,3,0\n0 0 1"}) {
    const auto r = esegui(buono);
    ASSERT_EQ(r.exitCode, 0) << buono << ": " << r.output.toStdString();
    EXPECT_EQ(testing_support::ReadAnsi(t.P("eigen.out")).split('\n', Qt::SkipEmptyParts).mid(0, 3),
              QStringList({"1", "2", "3"}));
  }
  for (const auto& [male, testo] : {std::pair("2 0 0 \r\r\n0 3 0 \r\n0 0 1 \r\n", "line 1 of eigen.inp holds a CR"),
                                    std::pair("2 0 0 \r\n0 3 0\r \r\n0 0 1 \r\n", "line 2 of eigen.inp holds a CR"),
                                    std::pair("2 0 0 \r\n0 3 0 \r\n0 0\x1A 1 \r\n", "item 2 on line 3 of eigen.inp")}) {
    const auto r = esegui(male);
    EXPECT_EQ(r.exitCode, 1) << male;
    EXPECT_TRUE(r.output.startsWith(QString("EIGEN: ") + testo)) << male << ": " << r.output.toStdString();
    EXPECT_FALSE(QFile::exists(t.P("eigen.out"))) << male;
  }
}

TEST(Programs, EigenTakesThreeLinesOfThreeFiniteNumbersAndNothingElse) {
  TestFolder t;
  t.AddPrograms({"EIGEN"});
  // A decimal comma, a fourth number, a fourth line, a blank line, values beyond the range of numbers.
  for (const char* male : {"1,5 0 0 \n0 3 0 \n0 0 1 \n", "2 0 0 0 \n0 3 0 \n0 0 1 \n", "2 0 0 \n0 3 0 \n0 0 1 \n4\n",
                           "2 0 0 \n\n0 3 0 \n0 0 1 \n", "1.5e308 1.5e308 0\n1.5e308 1.5e308 0\n0 0 0\n"}) {
    WriteAnsi(t.P("eigen.inp"), male);
    QFile::remove(t.P("eigen.out"));
    const auto r = RunProgram(t.P("EIGEN"), {}, t.Data());
    EXPECT_EQ(r.exitCode, 1) << male;
    EXPECT_TRUE(r.output.startsWith("EIGEN: ") && r.output.count('\n') == 1) << male << ": " << r.output.toStdString();
    EXPECT_FALSE(QFile::exists(t.P("eigen.out"))) << male;
  }
  // A named pipe in place of the file is refused at once.
  QFile::remove(t.P("eigen.inp"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(t.P("eigen.inp")).constData(), 0600), 0);
  const auto tubo = RunProgram(t.P("EIGEN"), {}, t.Data(), QProcessEnvironment(), 10000);
  EXPECT_TRUE(tubo.finished);
  EXPECT_EQ(tubo.exitCode, 1) << tubo.output.toStdString();
  // Finite entries near the largest number: no overflow on the way, the values as they are.
  QFile::remove(t.P("eigen.inp"));
  WriteAnsi(t.P("eigen.inp"), "0 1e308 0\n1e308 0 0\n0 0 1.5e308\n");
  const auto r = RunProgram(t.P("EIGEN"), {}, t.Data());
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList lines = testing_support::ReadAnsi(t.P("eigen.out")).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 6);
  EXPECT_EQ(lines.mid(0, 3), QStringList({"-1e+308", "1e+308", "1.5e+308"}));
  // An answer that cannot be written whole (a full disk) leaves no file whose cut numbers would be read.
  WriteAnsi(t.P("eigen.inp"), "2 0 0 \n0 3 0 \n0 0 1 \n");
  QFile::remove(t.P("eigen.out"));
  {
    testing_support::FileSizeLimit limite(8);
    const auto pieno = RunProgram(t.P("EIGEN"), {}, t.Data());
    EXPECT_EQ(pieno.exitCode, 1) << pieno.output.toStdString();
  }
  EXPECT_FALSE(QFile::exists(t.P("eigen.out")));
  // The answer is saved as every file is: a symbolic link at eigen.out is replaced, and the file it names outside
  // the program folder is never made; a named pipe there is never written into, and EIGEN does not wait for it.
  const QString altrove = t.Root() + "/altrove.out";
  ASSERT_TRUE(QFile::link(altrove, t.P("eigen.out")));
  const auto collegamento = RunProgram(t.P("EIGEN"), {}, t.Data());
  EXPECT_EQ(collegamento.exitCode, 0) << collegamento.output.toStdString();
  EXPECT_FALSE(QFileInfo(t.P("eigen.out")).isSymLink());
  EXPECT_EQ(testing_support::ReadAnsi(t.P("eigen.out")).split('\n', Qt::SkipEmptyParts).size(), 6);
  EXPECT_FALSE(QFileInfo::exists(altrove));
  QFile::remove(t.P("eigen.out"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(t.P("eigen.out")).constData(), 0600), 0);
  const auto uscita = RunProgram(t.P("EIGEN"), {}, t.Data(), QProcessEnvironment(), 10000);
  EXPECT_TRUE(uscita.finished);
  EXPECT_EQ(uscita.exitCode, 1) << uscita.output.toStdString();
  struct stat st {};
  ASSERT_EQ(::lstat(QFile::encodeName(t.P("eigen.out")).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}
