// The installation of a build (cmake --install) into a folder of its own: the programs, their window module and the
// installation data, and nothing that the programs of the build wrote into its program folder.
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// What running the programs of the build leaves in its program folder: the language chosen, the folder of the
// sheets, the hand-over file, partition files, the eigen exchange, the DXF text style, a viewer's settings.
const char* const kFileDelCostruttore[] = {"language.cfg", "path", "temporan", "1",       "2",
                                           "eigen.inp",    "eigen.out", "dxf.cfg", "editor.cfg"};

}  // namespace

TEST(Installazione, InstallsTheProgramsAndTheInstallationDataOnly) {
  const QString bin = QStringLiteral(FRATTIX_TEST_BIN_DIR);
  // The build user's files, made here where they are not already (and removed again at the end).
  QStringList fatti;
  for (const char* f : kFileDelCostruttore) {
    const QString file = bin + "/" + f;
    if (QFileInfo::exists(file)) continue;
    WriteAnsi(file, QString(f) == "language.cfg" ? " 5 \n" : "del costruttore\n");
    fatti << file;
  }
  QTemporaryDir prefisso(QStringLiteral(FRATTIX_TEST_TMP_DIR "/installazione-XXXXXX"));
  ASSERT_TRUE(prefisso.isValid());
  const RunResult r = RunProgram(QStringLiteral(FRATTIX_TEST_CMAKE),
                                 {"--install", QStringLiteral(FRATTIX_TEST_BUILD_DIR), "--prefix", prefisso.path()},
                                 prefisso.path(), QProcessEnvironment(), 120000);
  for (const QString& f : fatti) QFile::remove(f);
  ASSERT_TRUE(r.finished);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();

  const QString installato = prefisso.path() + "/bin";
  QStringList attesi = {"frattix32", "TALVOR", "peldrix", "MIRVANE", "wenlow", "EIGEN", FRATTIX_TEST_UI_MODULE};
  for (const QFileInfo& f : QDir(QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/install")).entryInfoList(QDir::Files))
    attesi << f.fileName();
  attesi.sort();
  QStringList presenti = QDir(installato).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  presenti.sort();
  EXPECT_EQ(presenti.join(' ').toStdString(), attesi.join(' ').toStdString());
  EXPECT_EQ(QDir(prefisso.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"bin"});
  for (const char* f : {"frattix32", "TALVOR", "peldrix", "MIRVANE", "wenlow", "EIGEN"})
    EXPECT_TRUE(QFileInfo(installato + "/" + f).isExecutable()) << f;

  // The installed main program starts as at a first start: it asks for the language and keeps it in its own folder.
  TestFolder t(false);
  QProcessEnvironment env = ScriptedRunEnvironment(t, "click Picture4\npress INFORMAZIONI.Command1\nclose menu1\n");
  const RunResult avvio = RunProgram(installato + "/frattix32", {}, t.Data(), env);
  ASSERT_TRUE(avvio.finished);
  EXPECT_EQ(avvio.exitCode, 0) << avvio.output.toStdString();
  const QStringList log = ReadLog(t.D("ui.log"));
  ASSERT_FALSE(log.isEmpty());
  EXPECT_TRUE(log[0].startsWith("frattix32\tform\tselezling\t")) << log.join('\n').toStdString();
  EXPECT_EQ(ReadBytes(installato + "/language.cfg"), QByteArray(" 1 \r\n"));
  for (const QString& f : fatti) EXPECT_FALSE(QFileInfo::exists(f)) << f.toStdString();
}
