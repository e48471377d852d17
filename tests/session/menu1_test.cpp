// The commands of the main window, run in this process with a script answering the dialogs.
#include "common/platform/files.h"
#include "common/platform/help.h"
#include "common/platform/picturebox.h"
#include "common/texts/avvio.h"
#include "main/dialogs/contesti.h"
#include "main/session/configurazione.h"
#include "main/session/informazioni.h"
#include "main/session/menu1.h"
#include "main/session/selezione.h"
#include "main/session/sessione.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QMenu>
#include <QDir>
#include <QFile>
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

using testing_support::ReadAnsi;
using testing_support::ReadBytes;
using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

class Finestra : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    QDir(t.Data()).mkpath("rilievi");
    rilievi = t.D("rilievi");
  }
  // Loads the window with a command line (no script: the start-up shows nothing with an existing file).
  void Carica(const QString& riga) {
    Scripted s(t, "", "carica");
    w.Form_Load(riga);
  }
  TestFolder t;
  QString rilievi;
  menu1 w;
};

TEST_F(Finestra, StartWithAnExistingSessionGivenWithAFullPath) {
  WriteAnsi(rilievi + "/Prova.SES", " 0 \n");
  Sessione.TitoliCorrenti[1] = "di un'altra sessione";
  Carica(rilievi + "/Prova.SES");
  EXPECT_EQ(Sessione.NomeSessione, QString("Prova.SES"));
  EXPECT_EQ(plat::CurrentFolder(), QDir(rilievi).canonicalPath());
  EXPECT_EQ(w.windowTitle(), QString("FRATTIX - prova"));
  EXPECT_TRUE(Sessione.TitoliCorrenti[1].isEmpty());
  EXPECT_FALSE(plat::FileExists(t.P("path")));  // the command line does not change the folder last used
}

TEST_F(Finestra, StartWithAMissingFileOrABareName) {
  Carica(rilievi + "/manca.ses");
  EXPECT_TRUE(Sessione.NomeSessione.isEmpty());
  EXPECT_EQ(w.windowTitle(), QString("FRATTIX 32"));
  EXPECT_EQ(plat::CurrentFolder(), QDir(t.Data()).canonicalPath());
  WriteAnsi(t.D("Rock.ses"), "");
  Carica("ROCK.SES");  // found without regard to case; the name stays as given
  EXPECT_EQ(Sessione.NomeSessione, QString("ROCK.SES"));
  EXPECT_EQ(plat::CurrentFolder(), QDir(t.Data()).canonicalPath());
  EXPECT_EQ(w.windowTitle(), QString("FRATTIX - rock"));
}

TEST_F(Finestra, TheLogoIsDrawnOnceAtTheSizeTheWindowIsShownWith) {
  Carica(rilievi + "/manca.ses");
  auto* logo = w.findChild<plat::PictureBox*>("Image1");
  ASSERT_NE(logo, nullptr);
  EXPECT_TRUE(logo->Picture().isNull());  // hidden, the window has no final size yet
  w.show();
  ASSERT_FALSE(logo->Picture().isNull());
  EXPECT_EQ(logo->Picture().size(), logo->size());
  // Laid out on the whole window (drawn in advance for it), the picture showing the part below the menu bar.
  auto parteBassa = [&] {
    const QImage intero = DisegnaLogo(w.size(), true);
    return intero.copy(0, intero.height() - logo->height(), logo->width(), logo->height());
  };
  EXPECT_EQ(logo->Picture(), parteBassa());
  const qint64 disegno = logo->Picture().cacheKey();
  QResizeEvent stessa(w.size(), w.size());
  QCoreApplication::sendEvent(&w, &stessa);
  EXPECT_EQ(logo->Picture().cacheKey(), disegno);  // the same size is not drawn again
  w.resize(w.width() + 100, w.height() + 40);
  EXPECT_EQ(logo->Picture().size(), logo->size());
  EXPECT_EQ(logo->Picture(), parteBassa());
  EXPECT_NE(logo->Picture().cacheKey(), disegno);
  w.hide();
}

TEST_F(Finestra, StartWithoutArgumentsShowsTheAboutBoxAndTheMenusAreTranslated) {
  WriteAnsi(t.P("language.cfg"), " 5 \n");
  Scripted s(t, "press INFORMAZIONI.Command1\n");
  w.Form_Load(QString());
  EXPECT_EQ(s.Log("form").size(), 1);
  EXPECT_TRUE(s.Log("form").first().contains("\tINFORMAZIONI\tINFO"));
  EXPECT_EQ(w.windowTitle(), QString("FRATTIX 32"));
  EXPECT_EQ(w.Voce("FileApri")->text(), QString("&Open"));
  EXPECT_EQ(w.Voce("EdizioneParametri")->text(), QString("&Discontinuity selection"));
  EXPECT_EQ(w.Voce("uscita")->text(), QString("E&xit"));
  EXPECT_EQ(Avvio.FileAiuto, t.P("korvenENG.hlp"));
}

TEST_F(Finestra, EveryGuardedCommandBeforeASessionShowsItsMessageOnly) {
  Carica(rilievi + "/manca.ses");
  const QStringList calcoli = {"CalcoliCluster", "CalcoliStabilita"};
  const QStringList edizione = {"EdizioneSelezione", "EdizioneParametri", "EdizioneFronte", "EdizioneFamiglie",
                                "EdizioneTitoli"};
  const QStringList output = {"GraficaProiezione", "GraficaCluster", "GraficaStellare", "VisualizzaAnteprimaTabulati",
                              "StampaRapidaTabulati", "EsportaTabulatiDOC", "esptabtxt"};
  QString script;
  for (const QString& v : calcoli) script += "menu " + v + "\nanswer OK \"eseguire calcoli\"\n";
  for (const QString& v : edizione) script += "menu " + v + "\nanswer OK \"editare dati\"\n";
  for (const QString& v : output) script += "menu " + v + "\nanswer OK \"produrre output\"\n";
  // The sheet commands need no session: the sheet editor, the sheet reports, the quick print and the sheet's Word
  // export ask for a sheet (cancelled here).
  script += "menu EdizioneScheda\ncancel\n";
  for (const char* v : {"StampaAnteprimaScheda", "StampaRapidaScheda", "EsportaSchedaDOC", "espsctxt"})
    script += QString("menu %1\ncancel\n").arg(v);
  script += "nascondi\n";
  plat::RegisterScriptAction("nascondi", [this](const QStringList&, QString*) {
    w.hide();
    return true;
  });
  Scripted s(t, script);
  plat::ShowModeless(&w);
  plat::RunUntilClosed(&w);
  const QStringList messaggi = s.Log("msgbox");
  ASSERT_EQ(messaggi.size(), 14);
  for (const QString& m : messaggi) EXPECT_TRUE(m.contains("\tATTENZIONE!\tNon e' possibile ")) << m.toStdString();
  EXPECT_EQ(QDir(t.Data()).entryList(QDir::Files).size(), 0);  // nothing written
}

TEST_F(Finestra, OpenChangesTheFolderThePathFileTheCaptionAndClearsTheTitles) {
  Carica(rilievi + "/manca.ses");
  WriteAnsi(rilievi + "/Rock.Face.SES", " 0 \n");
  Sessione.TitoliCorrenti[2] = "vecchio";
  {
    Scripted s(t, QString("file %1/Rock.Face.SES\n").arg(rilievi));
    w.FileApri_Click();
    EXPECT_TRUE(s.Log("filedialog").first().contains("\topen\t"));
  }
  EXPECT_EQ(Sessione.NomeSessione, QString("Rock.Face.ses"));
  EXPECT_EQ(plat::CurrentFolder(), QDir(rilievi).canonicalPath());
  EXPECT_EQ(ReadAnsi(t.P("path")), QDir(rilievi).canonicalPath() + "\n");
  EXPECT_EQ(w.windowTitle(), QString("FRATTIX - rock"));
  EXPECT_TRUE(Sessione.TitoliCorrenti[2].isEmpty());

  // A cancelled dialog changes nothing: the session, its folder and the titles stay.
  Sessione.TitoliCorrenti[2] = "tenuto";
  WriteAnsi(t.P("path"), t.Data() + "\n");
  {
    Scripted s(t, "cancel\n");
    w.FileApri_Click();
  }
  EXPECT_EQ(Sessione.NomeSessione, QString("Rock.Face.ses"));
  EXPECT_EQ(plat::CurrentFolder(), QDir(rilievi).canonicalPath());
  EXPECT_EQ(Sessione.TitoliCorrenti[2], QString("tenuto"));

  // A new name typed in the dialog opens a new session there; a name with a long extension keeps it.
  {
    Scripted s(t, QString("file %1/nuova\n").arg(t.Data()));
    w.FileApri_Click();
  }
  EXPECT_EQ(Sessione.NomeSessione, QString("nuova.ses"));
  EXPECT_EQ(plat::CurrentFolder(), QDir(t.Data()).canonicalPath());
  {
    Scripted s(t, QString("file %1/a.b.ses\n").arg(t.Data()));
    w.FileApri_Click();
  }
  EXPECT_EQ(Sessione.NomeSessione, QString("a.b.ses"));
  // A folder that cannot be entered is reported and the session stays.
  {
    Scripted s(t, QString("file %1/manca/x.ses\nanswer OK \"non e' accessibile\"\n").arg(t.Data()));
    w.FileApri_Click();
  }
  EXPECT_EQ(Sessione.NomeSessione, QString("a.b.ses"));
}

TEST_F(Finestra, RenameKeepsTheTitlesAndWritesNothingButThePathFile) {
  WriteAnsi(rilievi + "/old.ses", " 0 \n");
  Carica(rilievi + "/old.ses");
  Sessione.TitoliCorrenti[1] = "titolo";
  {
    Scripted s(t, QString("file %1/NEW.TXT\n").arg(t.Data()));
    w.FileSalva_Click();
    EXPECT_TRUE(s.Log("filedialog").first().contains("\tsave\t"));
  }
  EXPECT_EQ(Sessione.NomeSessione, QString("NEW.ses"));
  EXPECT_EQ(w.windowTitle(), QString("FRATTIX - new"));
  EXPECT_EQ(plat::CurrentFolder(), QDir(t.Data()).canonicalPath());
  EXPECT_EQ(Sessione.TitoliCorrenti[1], QString("titolo"));
  EXPECT_FALSE(plat::FileExists(t.D("NEW.ses")));
  {
    Scripted s(t, QString("file %1/a.b.ses\n").arg(t.Data()));
    w.FileSalva_Click();
  }
  EXPECT_EQ(Sessione.NomeSessione, QString("a.ses"));
  {
    Scripted s(t, "cancel\n");
    w.FileSalva_Click();
  }
  EXPECT_EQ(Sessione.NomeSessione, QString("a.ses"));
  // Without a session the command does nothing.
  Sessione.NomeSessione.clear();
  Scripted s(t, "");
  w.FileSalva_Click();
  EXPECT_TRUE(s.Log().isEmpty());
}

// Only a name where nothing stands is no session to open without a word: a folder named on the command line is
// said, and no session opens (it opened none without a word).
TEST_F(Finestra, AFolderNamedOnTheCommandLineIsSaidAndOpensNoSession) {
  ASSERT_TRUE(QDir(rilievi).mkdir("cartella.ses"));
  menu1 altra;
  Scripted s(t, "answer OK \"cartella.ses\"\n", "carica3");
  altra.Form_Load(rilievi + "/cartella.ses");
  EXPECT_TRUE(Sessione.NomeSessione.isEmpty());
  ASSERT_EQ(s.Log("msgbox").size(), 1);
  EXPECT_TRUE(s.Log("msgbox")[0].contains("non puo' essere letto:\\ncartella.ses\\n")) << s.Log("msgbox")[0].toStdString();
  EXPECT_TRUE(s.Log("msgbox")[0].contains("una cartella, una pipe o un dispositivo")) << s.Log("msgbox")[0].toStdString();
}

// The children find the session by the name the hand-over file holds: a name it cannot hold (a letter outside
// Windows-1252, a blank in front) is refused when it is chosen, with a message naming the character, and the
// session stays as it was.
TEST_F(Finestra, ASessionNameTheSessionFilesCannotHoldIsRefusedWhereverItIsChosen) {
  WriteAnsi(rilievi + "/rock.ses", "");
  WriteAnsi(rilievi + QString::fromUtf8("/Łódź.ses"), "");
  {
    menu1 altra;  // the command line opens no such session
    Scripted s(t, "answer OK \"(U+0141)\"\n", "carica2");
    altra.Form_Load(rilievi + QString::fromUtf8("/Łódź.ses"));
    EXPECT_TRUE(Sessione.NomeSessione.isEmpty());
  }
  Carica(rilievi + "/rock.ses");
  WriteAnsi(t.P("path"), rilievi + "\n");
  const QByteArray path = ReadBytes(t.P("path"));
  for (const QString& nome : {QString::fromUtf8("Łódź.ses"), QString(" rock")}) {
    {
      Scripted s(t, "file \"" + rilievi + "/" + nome + "\"\nanswer OK \"nei file della sessione\"\n");
      w.FileApri_Click();
      const QStringList m = s.Log("msgbox");
      ASSERT_EQ(m.size(), 1) << nome.toStdString();
      EXPECT_TRUE(m[0].contains(nome.startsWith(' ') ? "\" \" (U+0020)" : "\"Ł\" (U+0141)")) << m[0].toStdString();
    }
    {
      Scripted s(t, "file \"" + rilievi + "/" + nome + "\"\nanswer OK \"nei file della sessione\"\n");
      w.FileSalva_Click();
      EXPECT_EQ(s.Log("msgbox").size(), 1) << nome.toStdString();
    }
    EXPECT_EQ(Sessione.NomeSessione, QString("rock.ses"));
    EXPECT_EQ(w.windowTitle(), QString("FRATTIX - rock"));
    EXPECT_EQ(ReadBytes(t.P("path")), path);
  }
}

TEST_F(Finestra, TheAboutBoxNamesTheCurrentFile) {
  WriteAnsi(t.D("r&d.ses"), "");
  Carica("r&d.ses");
  QString didascalia, mostrato;
  plat::RegisterScriptAction("leggi", [&](const QStringList&, QString*) {
    auto* box = qobject_cast<INFORMAZIONI*>(plat::FindObject("INFORMAZIONI"));
    if (!box) return false;
    didascalia = box->Didascalia8;
    mostrato = box->Label8->text();
    return true;
  });
  Scripted s(t, "leggi\npress Command1\n");
  w.about_Click();
  EXPECT_EQ(didascalia, QString("File corrente: R&&D"));
  EXPECT_EQ(mostrato, QString("File corrente: R&D"));  // the ampersand is shown once
}

TEST_F(Finestra, ExitDeletesTheHandOverFile) {
  Carica(rilievi + "/manca.ses");
  WriteAnsi(t.P("temporan"), " 0 \n");
  Scripted s(t, "");
  EXPECT_THROW(w.uscita_Click(), testing_support::Ended);
  EXPECT_FALSE(plat::FileExists(t.P("temporan")));
  EXPECT_THROW(w.uscita_Click(), testing_support::Ended);  // also without it
}

// The sheet list of the session.
class ElencoSessione : public Finestra {
 protected:
  void SetUp() override {
    Finestra::SetUp();
    WriteAnsi(rilievi + "/rock.ses", "");
    Carica(rilievi + "/rock.ses");
  }
  QByteArray Elenco() const { return ReadBytes(rilievi + "/rock.ses"); }
};

TEST_F(ElencoSessione, SheetsAreOfferedInOrderAndTheCheckedOnesWritten) {
  WriteAnsi(rilievi + "/B.SCH", "");
  WriteAnsi(rilievi + "/a.sch", "");
  WriteAnsi(rilievi + "/nota.txt", "");
  QStringList didascalie;
  plat::RegisterScriptAction("didascalie", [&](const QStringList&, QString*) {
    for (int i = 0; i < 2; ++i)
      didascalie << qobject_cast<QAbstractButton*>(plat::FindObject(QString("Check1(%1)").arg(i)))->text();
    return true;
  });
  Scripted s(t, "didascalie\ncheck Check1(0) 1\ncheck Check1(1) 1\npress Command1\n");
  w.EdizioneSelezione_Click();
  EXPECT_EQ(didascalie, (QStringList{"a", "b"}));
  EXPECT_TRUE(s.Log("form").first().endsWith("\tEdilineCeckBox\tSELEZIONE SCHEDE DA UTILIZZARE"));
  EXPECT_EQ(Elenco(), QByteArray(" 2 \r\na.sch\r\nb.sch\r\n"));
  EXPECT_EQ(Sessione.NumeroSchede, 2);
  EXPECT_EQ(Sessione.ElencoSchede[2], QString("b.sch"));
}

TEST_F(ElencoSessione, TheListMarksSheetsWithoutRegardToCaseAndDropsMissingOnes) {
  WriteAnsi(rilievi + "/old.sch", "");
  WriteAnsi(rilievi + "/new.sch", "");
  WriteAnsi(rilievi + "/rock.ses", " 2 \nOld.SCH\ngone.sch\n");
  QStringList stati;
  plat::RegisterScriptAction("stati", [&](const QStringList&, QString*) {
    for (int i = 0; i < 2; ++i)
      stati << (qobject_cast<QAbstractButton*>(plat::FindObject(QString("Check1(%1)").arg(i)))->isChecked() ? "1" : "0");
    return true;
  });
  {
    Scripted s(t, "stati\npress Command2\n");  // cancelled: the list is written with the states shown
    w.EdizioneSelezione_Click();
  }
  EXPECT_EQ(stati, (QStringList{"0", "1"}));  // new, old
  EXPECT_EQ(Elenco(), QByteArray(" 1 \r\nold.sch\r\n"));
  {
    Scripted s(t, "check Check1(1) 0\npress Command1\n");
    w.EdizioneSelezione_Click();
  }
  EXPECT_EQ(Elenco(), QByteArray(" 0 \r\n"));
}

TEST_F(ElencoSessione, NoSheetsABadListAndAFolderWithTooManySheets) {
  {
    Scripted s(t, "answer OK \"Nessuna scheda\"\n");
    w.EdizioneSelezione_Click();
  }
  EXPECT_TRUE(Elenco().isEmpty());
  WriteAnsi(rilievi + "/a.sch", "");
  WriteAnsi(rilievi + "/rock.ses", " 3 \na.sch\n");
  const QByteArray prima = Elenco();
  {
    Scripted s(t, "answer OK \"rock.ses, riga 3\"\nanswer No \"valori predefiniti\"\n");
    w.EdizioneSelezione_Click();
  }
  EXPECT_EQ(Elenco(), prima);
  for (int i = 0; i < 200; ++i) WriteAnsi(rilievi + QString("/s%1.sch").arg(i), "");
  {
    Scripted s(t, "answer OK \"201 > 200\"\n");
    w.EdizioneSelezione_Click();
  }
  EXPECT_EQ(Elenco(), prima);
}

// A sheet whose name the list cannot hold is never written into it: ticked, it is refused with a message naming
// the character, and the other sheets are written. The sheet editor makes no new sheet of such a name.
TEST_F(ElencoSessione, ASheetNameTheListCannotHoldIsRefusedWithAMessage) {
  WriteAnsi(rilievi + "/a.sch", "");
  WriteAnsi(rilievi + QString::fromUtf8("/Łeba.sch"), "");
  {
    Scripted s(t, "check Check1(0) 1\ncheck Check1(1) 1\npress Command1\nanswer OK \"nei file della sessione\"\n");
    w.EdizioneSelezione_Click();
    const QStringList m = s.Log("msgbox");
    ASSERT_EQ(m.size(), 1);
    EXPECT_TRUE(m[0].contains(QString::fromUtf8("\"ł\" (U+0142)\\nłeba.sch"))) << m[0].toStdString();
  }
  EXPECT_EQ(Elenco(), QByteArray(" 1 \r\na.sch\r\n"));
  Scripted s(t, "file " + rilievi + QString::fromUtf8("/Ńowa\nanswer OK \"(U+0143)\"\n"));
  w.EdizioneScheda_Click();
  EXPECT_EQ(s.Log("form").size(), 0);
  EXPECT_FALSE(QFile::exists(rilievi + QString::fromUtf8("/Ńowa.sch")));
}

// The selection criteria.
class CriteriSessione : public Finestra {
 protected:
  void SetUp() override {
    Finestra::SetUp();
    WriteAnsi(rilievi + "/rock.ses", "");
    Carica(rilievi + "/rock.ses");
  }
  QStringList Righe() const { return ReadAnsi(rilievi + "/rock.sel").split('\n', Qt::SkipEmptyParts); }
};

TEST_F(CriteriSessione, LeavingTheListAtOnceWritesTheDefaults) {
  Scripted s(t, "press Command2\n");
  w.EdizioneParametri_Click();
  EXPECT_TRUE(s.Log("form").first().endsWith("\tSelezionaElenco\tSELEZIONE PARAMETRI"));
  const QStringList righe = Righe();
  // The installed configuration: Ti 6, Lu 5, Sp 4, Ri 5, Ac 5, Sca 4, Lit 8, Du 5, For 4 codes.
  ASSERT_EQ(righe.size(), 46 + 6);
  EXPECT_EQ(righe.filter(" 1 ").size(), 46);
  EXPECT_EQ(righe.mid(46), (QStringList{"0", "100", "0", "360", "0", "90"}));
}

TEST_F(CriteriSessione, CodesAndRangesAreEditedAndReadBack) {
  {
    Scripted s(t,
               "pick List1 Tipo\npress Command1\n"
               "check Check1(1) 0\npress Command1\n"
               "dblclick List1 Apertura\n"
               "set Text1 10.5\nset Text2 .5e2\npress Command1\n"
               "dblclick List1 Inclinazione\n"
               "set Text1 20\npress Command2\n"
               "press Command1\n");
    w.EdizioneParametri_Click();
    const QStringList forme = s.Log("form");
    ASSERT_EQ(forme.size(), 7);
    EXPECT_TRUE(forme[1].endsWith("\tEdilineCeckBox\tTipo"));
    EXPECT_TRUE(forme[3].endsWith("\tedilineform\tApertura"));
  }
  QStringList righe = Righe();
  EXPECT_EQ(righe[1], QString(" 2 "));  // code 2 of Ti unchecked
  EXPECT_EQ(righe.mid(46), (QStringList{"10.5", "50", "0", "360", "0", "90"}));
  // The next editing starts from the file: code 2 shows unchecked, the minimum as written.
  QString stato, minimo;
  plat::RegisterScriptAction("stato", [&](const QStringList&, QString*) {
    stato = qobject_cast<QAbstractButton*>(plat::FindObject("Check1(1)"))->isChecked() ? "1" : "0";
    return true;
  });
  plat::RegisterScriptAction("minimo", [&](const QStringList&, QString*) {
    minimo = qobject_cast<QLineEdit*>(plat::FindObject("Text1"))->text();
    return true;
  });
  Selezione = ModuloSelezione();
  Scripted s(t, "pick List1 #0\npress Command1\nstato\npress Command2\n"
                "pick List1 #8\npress Command1\nminimo\npress Command2\npress Command2\n");
  w.EdizioneParametri_Click();
  EXPECT_EQ(stato, QString("0"));
  EXPECT_EQ(minimo, QString("10.5"));
  EXPECT_EQ(Righe(), righe);
}

// A bound is taken only within what the criteria file holds, ten million either way: beyond it the dialog says the
// range and stays open, so that the file is never written with a value its readers refuse. The limits themselves
// are written and read back.
TEST_F(CriteriSessione, ABoundBeyondWhatTheFileHoldsIsRefusedInTheDialog) {
  {
    Scripted s(t,
               "dblclick List1 Apertura\n"
               "set Text1 10000001\npress Command1\nanswer OK \"-10000000; 10000000\"\n"
               "set Text1 -10000001\npress Command1\nanswer OK\n"
               "set Text1 -10000000\nset Text2 16777216\npress Command1\nanswer OK\n"
               "set Text2 1e20\npress Command1\nanswer OK\n"
               "set Text2 1e400\npress Command1\nanswer OK\n"
               "set Text2 10000000\npress Command1\n"
               "press Command2\n");
    w.EdizioneParametri_Click();
    const QStringList m = s.Log("msgbox");
    ASSERT_EQ(m.size(), 5);
    EXPECT_TRUE(m[0].contains("\tValore minimo [mm]\t")) << m[0].toStdString();
    EXPECT_TRUE(m[2].contains("\tValore massimo [mm]\t")) << m[2].toStdString();
  }
  EXPECT_EQ(Righe().mid(46, 2), (QStringList{"-10000000", "10000000"}));
  ModuloSelezione letta;
  ASSERT_EQ(LeggiFileSelezione(rilievi + "/rock.sel", Configurazione, letta), EsitoSelezione::Letta);
  EXPECT_EQ(letta.AperturaMinima, -1e7);
  EXPECT_EQ(letta.AperturaMassima, 1e7);
  // The next editing opens as before.
  Scripted s(t, "press Command2\n");
  w.EdizioneParametri_Click();
  EXPECT_TRUE(s.Log("msgbox").isEmpty());
}

// A letter the criteria file cannot hold, typed with the keys into a bound, is refused where it is typed with the
// message every field gives it, and the dialog stays open on it; a text of letters the file holds that is no
// number still counts as 0.
TEST_F(CriteriSessione, ABoundLetterTheFileCannotHoldIsRefusedWhereItIsTyped) {
  {
    Scripted s(t,
               "dblclick List1 Inclinazione\n"
               "set Text1 \"\"\nkey Text1 ř\nset Text2 \"\"\nkey Text2 Ω\npress Command1\n"
               "answer OK \"(U+0159)\"\n"
               "set Text1 10\npress Command1\nanswer OK \"(U+03A9)\"\n"
               "set Text2 80\npress Command1\n"
               "dblclick List1 Apertura\nset Text1 abc\npress Command1\n"
               "press Command2\n");
    w.EdizioneParametri_Click();
    const QStringList m = s.Log("msgbox");
    ASSERT_EQ(m.size(), 2);
    EXPECT_TRUE(m[0].contains("\tValore minimo [°]\tIl carattere seguente non puo' essere scritto nel file:"))
        << m[0].toStdString();
    EXPECT_TRUE(m[1].contains("\tValore massimo [°]\tIl carattere seguente non puo' essere scritto nel file:"))
        << m[1].toStdString();
  }
  EXPECT_EQ(Righe().mid(46), (QStringList{"0", "100", "0", "360", "10", "80"}));
}

TEST_F(CriteriSessione, AShortFileOrAnUnusableConfigurationIsReportedAndNotOverwritten) {
  WriteAnsi(rilievi + "/rock.sel", " 1 \n 2 \n");
  const QByteArray prima = ReadBytes(rilievi + "/rock.sel");
  {
    Scripted s(t, "answer OK \"rock.sel, riga 3\"\nanswer No \"valori predefiniti\"\n");
    w.EdizioneParametri_Click();
  }
  EXPECT_EQ(ReadBytes(rilievi + "/rock.sel"), prima);
  WriteAnsi(t.P("frattixint.cfg"), "troppo corto\n");
  menu1 altra;
  {
    Scripted s(t, "answer OK \"frattixint.cfg\"\n", "carica2");
    altra.Form_Load(rilievi + "/rock.ses");
  }
  Scripted s(t, "answer OK \"frattixint.cfg\"\n");
  altra.EdizioneParametri_Click();
  EXPECT_EQ(ReadBytes(rilievi + "/rock.sel"), prima);
}

TEST_F(Finestra, HelpCommandsShowTheirTopics) {
  Carica(rilievi + "/manca.ses");
  Scripted s(t, "");
  w.FileHelp_Click();
  w.AiutoEdizione_Click();
  w.sommario_Click();
  const QStringList finestre = s.Log("window");
  ASSERT_EQ(finestre.size(), 3);
  EXPECT_TRUE(finestre[0].endsWith("\tHelpWindow\tArchivi"));
  EXPECT_TRUE(finestre[1].endsWith("\tHelpWindow\tEdizione"));
  EXPECT_TRUE(finestre[2].endsWith("\tHelpWindow\tFRATTIX - Sommario"));
  // F1 on a highlighted menu item shows the item's topic: the items take ContestiAiuto entries 3 to 28.
  EXPECT_EQ(ContestoAiutoDi(w.Voce("FileApri")), 103);
  EXPECT_EQ(ContestoAiutoDi(w.Voce("configura")), 128);
  QMenu* archivi = w.findChild<QMenu*>("Archivi");
  ASSERT_NE(archivi, nullptr);
  archivi->setActiveAction(w.Voce("FileSalva"));
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(archivi, &f1);
  EXPECT_TRUE(s.Log("window").last().endsWith("\tHelpWindow\tSalva"));
  plat::CloseHelp();
}

}  // namespace
