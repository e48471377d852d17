#include "common/platform/files.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"
#include "common/texts/finestre.h"
#include "common/texts/testi.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTimer>

#include <optional>

#include <gtest/gtest.h>

using testing_support::Ended;
using testing_support::ReadAnsi;
using testing_support::Scripted;
using testing_support::ReadBytes;
using testing_support::TestFolder;
using testing_support::WriteAnsi;
using testing_support::WriteScript;

namespace {

// A start-up in a private program folder, with the interface driven by `script` (an empty script: any window or
// message ends the start with code 3).
class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    Avvio = ModuloAvvio();
    Avvio.NumeroModulo = 3;
    Script("");
  }
  void TearDown() override { scripted_.reset(); }
  void Script(const QString& text) {
    scripted_.reset();
    scripted_.emplace(t, text, QStringLiteral("start"));
  }
  int EndCode(bool choice) {
    try {
      AvvioProgramma(choice);
    } catch (const Ended& e) {
      return e.code;
    }
    return 0;
  }
  QStringList Log() const { return scripted_->Log(); }
  TestFolder t;
  std::optional<Scripted> scripted_;
};

}  // namespace

TEST_F(StartUp, ExistingLanguageAndNoTestModeShowsNoWindow) {
  WriteAnsi(t.P("language.cfg"), " 5 \n");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(Avvio.NumeroLingua, 5);
  EXPECT_EQ(Avvio.CodiceLingua, QString("eng"));
  EXPECT_FALSE(Avvio.ModoProva);
  EXPECT_EQ(Avvio.InfoDocumentoStampa.Dimensione, 20);
  EXPECT_EQ(Avvio.InfoDocumentoStampa.NomeDocumento, QString("Brenvale output"));
  // The printer is not looked up at start-up, only at its first use, and then once.
  EXPECT_EQ(Avvio.DCStampante, plat::HDC(0));
  EXPECT_GT(Testi.NumeroTesti, 0);
  EXPECT_EQ(Traduci("&Annulla"), QString("&Cancel"));
  const plat::HDC dc = PreparaStampante();
  EXPECT_NE(dc, plat::HDC(0));
  EXPECT_EQ(Avvio.DCStampante, dc);
  EXPECT_EQ(PreparaStampante(), dc);
  EXPECT_TRUE(Log().isEmpty());
}

TEST_F(StartUp, FirstStartAsksForTheLanguageAndWritesIt) {
  Script("click Picture4\n");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(ReadBytes(t.P("language.cfg")), QByteArray(" 1 \r\n"));
  EXPECT_EQ(Avvio.NumeroLingua, 1);
  EXPECT_EQ(Avvio.CodiceLingua, QString("ita"));
  ASSERT_FALSE(Log().isEmpty());
  EXPECT_TRUE(Log().first().contains("\tform\tselezling\tSelect your language..."));
}

TEST_F(StartUp, TestModeShowsTheWindowAtEveryStart) {
  WriteAnsi(t.P("language.cfg"), " 5 \n");
  WriteAnsi(t.DriveC() + "/TESTMODE.TRA", "");
  Script("click Picture2\n");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_TRUE(Avvio.ModoProva);
  EXPECT_EQ(Avvio.NumeroLingua, 3);
  // Closing the window keeps the earlier choice.
  Script("close\n");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(Avvio.NumeroLingua, 3);
  // Programs started without the choice never show it.
  Script("");
  ASSERT_EQ(EndCode(false), 0);
}

TEST_F(StartUp, ClosingTheFirstLanguageWindowOffersItAgainOrEnds) {
  Script("close\nanswer ok\nclick Picture3\n");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(Avvio.NumeroLingua, 2);
  QFile::remove(t.P("language.cfg"));
  Script("close\nanswer cancel\n");
  EXPECT_EQ(EndCode(true), 2);
  EXPECT_FALSE(QFile::exists(t.P("language.cfg")));
}

TEST_F(StartUp, MissingOrBadLanguageFileEndsWithAMessage) {
  EXPECT_EQ(EndCode(false), 2);
  EXPECT_TRUE(Log().last().contains("language.cfg is missing"));
  for (const char* bad : {" 7 \n", " 0 \n", "abc\n", "", " 2.5 \n", " 1 2 \n", "1,2\n", " 1 \nx\n"}) {
    WriteAnsi(t.P("language.cfg"), bad);
    EXPECT_EQ(EndCode(false), 2) << bad;
  }
  WriteAnsi(t.P("language.cfg"), " 6 \n");
  EXPECT_EQ(EndCode(false), 0);
}

TEST_F(StartUp, ADamagedLanguageFileOffersTheChoiceAsAMissingOneDoes) {
  for (const char* bad : {" 7 \n", "abc\n", "", " 2.5 \n", " 1 2 \n"}) {
    WriteAnsi(t.P("language.cfg"), bad);
    Script("click Picture4\n");
    ASSERT_EQ(EndCode(true), 0) << bad;
    EXPECT_EQ(ReadBytes(t.P("language.cfg")), QByteArray(" 1 \r\n")) << bad;
    EXPECT_EQ(Avvio.NumeroLingua, 1);
    ASSERT_FALSE(Log().isEmpty()) << bad;
    EXPECT_TRUE(Log().first().contains("\tform\tselezling\t")) << bad;
  }
}

TEST_F(StartUp, MissingTextTableEndsWithAMessage) {
  WriteAnsi(t.P("language.cfg"), " 2 \n");
  QFile::remove(t.P("texts03.txt"));
  EXPECT_EQ(EndCode(false), 2);
  EXPECT_TRUE(Log().last().contains("texts03.txt"));
  Avvio.NumeroModulo = 16;  // reads the table of module 17
  WriteAnsi(t.P("TEXTS17.TXT"), "uno\n-\neins\n-\nun\n-\nuno\n-\none\n-\num\n-\n");
  EXPECT_EQ(EndCode(false), 0);
  EXPECT_EQ(Traduci("uno"), QString("eins"));
}

TEST_F(StartUp, LanguageCodeFallsBackByInstalledPenTables) {
  WriteAnsi(t.P("language.cfg"), " 2 \n");
  QFile::remove(t.P("korvenDEU.CFG"));
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(Avvio.CodiceLingua, QString("ENG"));
  EXPECT_EQ(Avvio.NumeroLingua, 2);  // the texts stay German
  EXPECT_EQ(Traduci("&Annulla"), QString("&Abbrechen"));
  QFile::remove(t.P("korvenENG.CFG"));
  QFile::remove(t.P("korvenFRA.CFG"));
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(Avvio.CodiceLingua, QString("ESP"));
  QFile::remove(t.P("korvenESP.CFG"));
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(Avvio.CodiceLingua, QString("ITA"));
  // A program started without the choice applies no fallback.
  ASSERT_EQ(EndCode(false), 0);
  EXPECT_EQ(Avvio.CodiceLingua, QString("deu"));
  WriteAnsi(t.P("language.cfg"), " 6 \n");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(Avvio.CodiceLingua, QString("por"));  // its pen table is present: no fallback
}

TEST_F(StartUp, HelpFileFallsBackWithoutChangingTheLanguageCode) {
  WriteAnsi(t.P("language.cfg"), " 2 \n");
  WriteAnsi(t.P("korvenENG.hlp"), "");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(Avvio.CodiceLingua.toUpper(), QString("DEU"));
  EXPECT_EQ(Avvio.FileAiuto, t.P("korvenENG.hlp"));
  WriteAnsi(t.P("korvenDEU.hlp"), "");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(Avvio.FileAiuto, t.P("korvendeu.hlp"));
}

TEST_F(StartUp, UpdateUtilityRunsOnceAndItsFilesMove) {
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  WriteScript(t.P("utility03"), "#!/bin/sh\nmkdir -p \"$FRATTIX_DRIVE_C/tempbv\"\necho new > \"$FRATTIX_DRIVE_C/tempbv/texts99.txt\"\n");
  WriteAnsi(t.P("esempio.ses"), "x\n");
  WriteAnsi(t.P("example.ses"), "x\n");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_FALSE(QFile::exists(t.P("utility03")));
  EXPECT_TRUE(QFile::exists(t.P("texts99.txt")));
  EXPECT_FALSE(QDir(t.DriveC() + "/tempbv").exists());
  EXPECT_TRUE(QFile::exists(t.P("data/ita/esempio.ses")));
  EXPECT_TRUE(QFile::exists(t.P("data/eng/example.ses")));
  EXPECT_TRUE(QDir(t.P("data/fra")).exists());
  EXPECT_TRUE(QDir(t.P("data/esp")).exists());
  EXPECT_EQ(ReadAnsi(t.P("path")), t.P("data/ita") + "\n");
  // No utility: nothing moves, path stays.
  WriteAnsi(t.P("path"), "kept\n");
  WriteAnsi(t.P("esempio2.ses"), "x\n");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_TRUE(QFile::exists(t.P("esempio2.ses")));
  EXPECT_EQ(ReadAnsi(t.P("path")), QString("kept\n"));
}

// An update whose file cannot be written into the program folder (a folder stands at its name; a disk full
// half-way through the copy): the start-up says so, and the utility and the files left in tempbv stay, so that the
// next start runs the update again. Once the name is free, the next start moves it all.
TEST_F(StartUp, AnUpdateThatCannotBeMovedIntoTheProgramFolderIsToldAndTriedAgain) {
  const QString tempbv = t.DriveC() + "/tempbv";
  for (const bool cartella : {true, false}) {
    SCOPED_TRACE(cartella ? "a folder at the name" : "a full disk");
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    WriteAnsi(t.P("path"), "kept\n");
    WriteAnsi(t.P("esempio.ses"), "x\n");
    WriteScript(t.P("utility03"), "#!/bin/sh\nmkdir -p \"$FRATTIX_DRIVE_C/tempbv\"\necho $$ >> \"$FRATTIX_DRIVE_C/runs\"\n"
                                  "echo new > \"$FRATTIX_DRIVE_C/tempbv/texts99.txt\"\n");
    if (cartella) {
      ASSERT_TRUE(QDir().mkpath(t.P("texts99.txt")));
    } else {
      testing_support::SetEnv("FRATTIX_FAIL_SAVE", "texts99.txt");
    }
    Script("answer OK \"texts99.txt\"\n");
    ASSERT_EQ(EndCode(true), 0);
    testing_support::UnsetEnv("FRATTIX_FAIL_SAVE");
    const QStringList m = scripted_->Log("msgbox");
    ASSERT_EQ(m.size(), 1) << Log().join("\n").toStdString();
    EXPECT_TRUE(m[0].contains("Il file seguente non puo' essere scritto:\\ntexts99.txt\\nCartella: " + t.Program()))
        << m[0].toStdString();
    EXPECT_TRUE(m[0].contains("L'aggiornamento sara' ripetuto al prossimo avvio.")) << m[0].toStdString();
    EXPECT_TRUE(QFile::exists(t.P("utility03")));
    EXPECT_EQ(ReadAnsi(tempbv + "/texts99.txt"), QString("new\n"));
    // Nothing of what follows an update: the examples stay, the folder of the sheets too.
    EXPECT_TRUE(QFile::exists(t.P("esempio.ses")));
    EXPECT_EQ(ReadAnsi(t.P("path")), QString("kept\n"));

    if (cartella) {
      ASSERT_TRUE(QDir(t.P("texts99.txt")).removeRecursively());
    }
    Script("");
    ASSERT_EQ(EndCode(true), 0);
    EXPECT_TRUE(Log().isEmpty()) << Log().join("\n").toStdString();
    EXPECT_FALSE(QFile::exists(t.P("utility03")));
    EXPECT_EQ(ReadAnsi(t.P("texts99.txt")), QString("new\n"));
    EXPECT_FALSE(QDir(tempbv).exists());
    EXPECT_TRUE(QFile::exists(t.P("data/ita/esempio.ses")));
    EXPECT_EQ(ReadAnsi(t.P("path")), t.P("data/ita") + "\n");
    QFile::remove(t.P("texts99.txt"));
    QDir(t.P("data")).removeRecursively();
  }
  EXPECT_EQ(ReadAnsi(t.DriveC() + "/runs").count('\n'), 4);
}

TEST_F(StartUp, UpdateNeverRunsFromASource32FolderNorInModuleOne) {
  const QString folder = t.Root() + "/Source32/bin";
  QDir().mkpath(folder);
  for (const QString& f : QDir(t.Program()).entryList(QDir::Files)) QFile::copy(t.P(f), folder + "/" + f);
  plat::SetProgramFolder(folder);
  WriteAnsi(folder + "/language.cfg", " 1 \n");
  WriteScript(folder + "/utility03", "#!/bin/sh\ntouch ran\n");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_TRUE(QFile::exists(folder + "/utility03"));
  EXPECT_FALSE(QFile::exists(t.D("ran")));
  plat::SetProgramFolder(t.Program());
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  WriteScript(t.P("utility01"), "#!/bin/sh\ntouch ran\n");
  Avvio = ModuloAvvio();
  Avvio.NumeroModulo = 1;
  ASSERT_EQ(EndCode(false), 0);
  EXPECT_FALSE(QFile::exists(t.D("ran")));
  EXPECT_EQ(Testi.MassimoTesti, 500);
  EXPECT_FALSE(Testi.RegolaParentesi);
  EXPECT_EQ(PreparaStampante(), plat::HDC(0));  // wenlow prepares no printer
}

TEST_F(StartUp, AFailedUpdateStartIsReportedAndStartUpGoesOn) {
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  WriteAnsi(t.P("utility03.exe"), "not runnable\n");
  Script("answer ok\n");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_TRUE(Log().first().contains("could not be started"));
  EXPECT_FALSE(QFile::exists(t.P("utility03.exe")));
  EXPECT_EQ(Avvio.NumeroLingua, 1);
}

TEST(LanguageWindow, FlagsCloseUpFromTheLeft) {
  TestFolder t(false);
  auto* w = new selezling;
  EXPECT_EQ(w->Prepara(), 310);  // no pen table at all
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(w->SinistraTwips(i), -1);
  WriteAnsi(t.P("korvenITA.CFG"), "");
  WriteAnsi(t.P("KORVENENG.cfg"), "");
  EXPECT_EQ(w->Prepara(), 1750);
  EXPECT_EQ(w->SinistraTwips(1), 240);  // English
  EXPECT_EQ(w->SinistraTwips(4), 960);  // Italian
  EXPECT_TRUE(w->Picture(2)->isHidden());
  for (const char* c : {"FRA", "DEU", "ESP", "POR"}) WriteAnsi(t.P(QString("korven%1.CFG").arg(c)), "");
  EXPECT_EQ(w->Prepara(), 4630);
  EXPECT_EQ(w->SinistraTwips(6), 3840);
  EXPECT_EQ(selezling::LinguaFlag(1), 5);
  EXPECT_EQ(selezling::LinguaFlag(3), 2);
  w->Unload();
}

TEST(LanguageWindow, FlagsAreDrawn) {
  for (const char* c : {"ENG", "FRA", "DEU", "ITA", "ESP", "POR"}) {
    const QImage img = DisegnaBandiera(c, 32);
    ASSERT_EQ(img.size(), QSize(32, 32));
    QSet<QRgb> colours;
    for (int x = 2; x < 30; ++x)
      for (int y = 8; y < 24; ++y) colours.insert(img.pixel(x, y));
    EXPECT_GE(colours.size(), 2) << c;
  }
  EXPECT_EQ(QColor(DisegnaBandiera("ITA", 30).pixel(3, 15)), QColor(0, 146, 70));
  EXPECT_EQ(QColor(DisegnaBandiera("DEU", 30).pixel(15, 7)), QColor(Qt::black));
}

TEST_F(StartUp, QtsOwnDialogsSpeakTheChosenLanguage) {
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Annulla"));
  WriteAnsi(t.P("language.cfg"), " 2 \n");
  Avvio = ModuloAvvio();
  Avvio.NumeroModulo = 3;
  ASSERT_EQ(EndCode(true), 0);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen"));
  EXPECT_FALSE(CaricaTraduzioniQt(0));
  ASSERT_TRUE(CaricaTraduzioniQt(5));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
}

// The first start as a user meets it: the start-up shows the language window and the user clicks a flag with the
// mouse. The click closes the window and lets pending events run while the flag's own mouse handler still runs.
TEST(LanguageWindow, AMouseClickOnAFlagAtTheFirstStartChoosesTheLanguage) {
  TestFolder t;
  Avvio = ModuloAvvio();
  Avvio.NumeroModulo = 3;
  plat::SetEndProgramHandler([](int code) { throw Ended{code}; });
  QPointer<plat::PictureBox> bandiera;
  QTimer attesa;
  QObject::connect(&attesa, &QTimer::timeout, [&] {
    auto* w = qobject_cast<selezling*>(plat::LoadedForm(QStringLiteral("selezling")));
    if (!w || !w->isVisible()) return;
    attesa.stop();
    bandiera = w->Picture(4);  // Italian
    QTest::mouseClick(bandiera, Qt::LeftButton);
  });
  attesa.start(10);
  EXPECT_NO_THROW(AvvioProgramma(true));
  plat::SetEndProgramHandler(nullptr);
  EXPECT_FALSE(attesa.isActive());
  EXPECT_EQ(ReadBytes(t.P("language.cfg")), QByteArray(" 1 \r\n"));
  EXPECT_EQ(Avvio.NumeroLingua, 1);
  EXPECT_EQ(Traduci("&Annulla"), QString("&Annulla"));
  QCoreApplication::processEvents();
  EXPECT_TRUE(bandiera.isNull());
  EXPECT_EQ(plat::LoadedForm(QStringLiteral("selezling")), nullptr);
}

TEST(LanguageWindow, UsableFromTheKeyboardWithTheLanguagesNamed) {
  TestFolder t(false);
  for (const char* c : {"ITA", "ENG", "FRA"}) WriteAnsi(t.P(QString("korven%1.CFG").arg(c)), "");
  auto* w = new selezling;
  int scelta = 0;
  QObject::connect(w, &selezling::Scelto, [&scelta](int lingua) { scelta = lingua; });
  w->Prepara();
  w->show();
  QApplication::setActiveWindow(w);
  EXPECT_EQ(w->Picture(1)->toolTip(), QString("English"));
  EXPECT_EQ(w->Picture(2)->toolTip(), QString::fromUtf8("Fran\u00e7ais"));
  EXPECT_TRUE(w->Picture(1)->hasFocus());  // the first flag shown
  QTest::keyClick(w, Qt::Key_Right);        // the next shown flag: French (German has no pen table)
  EXPECT_TRUE(w->Picture(2)->hasFocus());
  QTest::keyClick(w->Picture(2), Qt::Key_Return);
  EXPECT_EQ(scelta, 3);
  EXPECT_EQ(ReadAnsi(t.P("language.cfg")).trimmed(), QString("3"));
}
