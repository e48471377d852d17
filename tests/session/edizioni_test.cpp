// The editing commands of the slope file, the titles and the graphics options, run in this process with a script
// answering the field form.
#include "common/data/fronte.h"
#include "common/data/opzionigrafiche.h"
#include "common/data/titoli.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "main/dialogs/base1.h"
#include "main/dialogs/maschera.h"
#include "main/session/edizioni.h"
#include "main/session/menu1.h"
#include "main/session/sessione.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using testing_support::ReadAnsi;
using testing_support::ReadBytes;
using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

class Edizioni : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    WriteAnsi(t.D("rock.ses"), " 0 \n");
    Scripted s(t, "", "carica");
    w.Form_Load(t.D("rock.ses"));
  }
  // A script action "campi" that keeps the texts of the form's fields (choice fields: the entry shown).
  void Campi() {
    visti.clear();
    plat::RegisterScriptAction("campi", [this](const QStringList&, QString*) {
      auto* f = qobject_cast<base1*>(plat::FindObject("base1"));
      if (!f) return false;
      for (QComboBox* c : f->Combo1) visti << c->currentText();
      for (QLineEdit* e : f->Text1) visti << e->text();
      return true;
    });
  }
  // The lines of a file, blanks around each removed (numbers are written in print form).
  static QStringList Righe(const QString& path) {
    QStringList r = ReadAnsi(path).split('\n');
    if (!r.isEmpty() && r.last().isEmpty()) r.removeLast();
    for (QString& s : r) s = s.trimmed();
    return r;
  }
  TestFolder t;
  menu1 w;
  QStringList visti;
};

// ---------------------------------------------------------------------------------------------------------------
// Slope front and loads.

TEST_F(Edizioni, SlopeWithoutFileShowsZerosAndAConfirmWritesNineteenValues) {
  Campi();
  Fronte.CoefficienteSismico = 0.3;  // of an earlier session
  // The rock unit weight and the crest height must be above 0.
  Scripted s(t, "campi\nset Text1(6) 26\nset Text1(8) 25\npress Command1(0)\n");
  w.Voce("EdizioneFronte")->trigger();
  EXPECT_EQ(visti, QStringList(19, "0"));
  QStringList atteso(19, "0");
  atteso[6] = "2.6";
  atteso[8] = "25";
  EXPECT_EQ(Righe(t.D("rock.fro")), atteso);
  EXPECT_EQ(Fronte.CoefficienteSismico, 0);
  EXPECT_TRUE(s.Log("form").first().endsWith("\tbase1\tDESCRIZIONE FRONTE E CARICHI"));
}

TEST_F(Edizioni, SlopeTenfoldValuesAreShownWholeAndWrittenBackUnchanged) {
  // A file of nine values (an older file): values 10 to 19 count as 0.
  WriteAnsi(t.D("rock.fro"), "60\n120\n10\n120\n2.5\n35\n2.7\n1.1\n20.125\n");
  Campi();
  {
    Scripted s(t, "campi\npress Command1(0)\n");
    w.EdizioneFronte_Click();
  }
  ASSERT_EQ(visti.size(), 19);
  EXPECT_EQ(visti.mid(0, 9).join(","), QString("60,120,10,120,25,35,27,11,20.125"));
  EXPECT_EQ(visti.mid(9).join(","), QStringList(10, "0").join(","));
  QStringList atteso = {"60", "120", "10", "120", "2.5", "35", "2.7", "1.1", "20.125"};
  atteso += QStringList(10, "0");
  EXPECT_EQ(Righe(t.D("rock.fro")), atteso);
  // Changed fields are read back, the tenfold ones divided by ten.
  Scripted s(t, "set Text1(4) 30\nset Text1(9) 1500\nset Text1(10) -.5\nset Text1(18) .15\npress Command1(0)\n");
  w.EdizioneFronte_Click();
  const QStringList r = Righe(t.D("rock.fro"));
  ASSERT_EQ(r.size(), 19);
  EXPECT_EQ(QStringList({r[4], r[6], r[9], r[10], r[18]}).join(","), QString("3,2.7,150,-.5,0.15"));
  EXPECT_DOUBLE_EQ(Fronte.CoefficienteSismico, 0.15);
}

TEST_F(Edizioni, SlopeCancelAndCloseLeaveTheFileByteForByte) {
  WriteAnsi(t.D("rock.fro"), "60\n120\n10\n120\n2.5\n35\n2.7\n1.1\n20\n0\n0\n0\n0\n0\n0\n0\n0\n0\n.1\n");
  const QByteArray prima = ReadBytes(t.D("rock.fro"));
  for (const char* fine : {"press Command1(1)", "close base1"}) {
    Scripted s(t, QString("set Text1(0) 80\n%1\n").arg(fine));
    w.EdizioneFronte_Click();
    EXPECT_EQ(ReadBytes(t.D("rock.fro")), prima) << fine;
  }
  // Without a file a cancel writes none.
  QFile::remove(t.D("rock.fro"));
  Scripted s(t, "press Command1(1)\n");
  w.EdizioneFronte_Click();
  EXPECT_FALSE(QFile::exists(t.D("rock.fro")));
}

// A rock unit weight or a crest height of 0 cannot be, and no field left empty becomes a 0: each is the range
// message, and the file is written once every field holds a number in its range.
TEST_F(Edizioni, SlopeRockUnitWeightAndCrestHeightAboveZeroAndNoFieldLeftEmpty) {
  WriteAnsi(t.D("rock.fro"), "60\n120\n10\n120\n2.5\n35\n2.7\n1.1\n20\n0\n0\n0\n0\n0\n0\n0\n0\n0\n.1\n");
  Scripted s(t,
             "set Text1(6) 0\npress Command1(0)\nanswer OK \"1; 100\"\nset Text1(6) 27\n"
             "set Text1(8) 0\npress Command1(0)\nanswer OK \".1; 10000\"\nset Text1(8) \"\"\npress Command1(0)\n"
             "answer OK \".1; 10000\"\nset Text1(8) 20\nset Text1(18) \"\"\npress Command1(0)\nanswer OK \"0; 1\"\n"
             "set Text1(18) .1\nset Text1(0) \"\"\nset Text1(1) 120\nanswer OK \"0; 90\"\nset Text1(0) 60\n"
             "press Command1(0)\n");
  w.EdizioneFronte_Click();
  const QStringList m = s.Log("msgbox");
  ASSERT_EQ(m.size(), 5);
  EXPECT_TRUE(m[0].contains("\tGamma roccia [")) << m[0].toStdString();
  EXPECT_TRUE(m[1].contains("\tAltezza ciglio [m]\t")) << m[1].toStdString();
  EXPECT_TRUE(m[4].contains("\tInclinazione fronte [")) << m[4].toStdString();
  EXPECT_EQ(Righe(t.D("rock.fro")).mid(0, 9).join(","), QString("60,120,10,120,2.5,35,2.7,1.1,20"));
}

TEST_F(Edizioni, SlopeShortOrDamagedFileIsReportedAndNotWritten) {
  for (const char* contenuto : {"60\n120\n10\n120\n2.5\n35\n2.7\n1.1\n", "60\n120\nabc\n120\n2.5\n35\n2.7\n1.1\n20\n"}) {
    WriteAnsi(t.D("rock.fro"), contenuto);
    const QByteArray prima = ReadBytes(t.D("rock.fro"));
    Scripted s(t, "answer OK \"incompleto o danneggiato\"\n");
    w.EdizioneFronte_Click();
    EXPECT_TRUE(s.Log("form").isEmpty());
    EXPECT_EQ(ReadBytes(t.D("rock.fro")), prima);
  }
}

// A slope file larger than any the suite writes is told as too large, with its size, and nothing is written.
TEST_F(Edizioni, SlopeFileBeyondTheBoundIsToldAsTooLarge) {
  {
    QFile f(t.D("rock.fro"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(plat::kLargestFileRead + 1));  // sparse: no disk taken
  }
  Scripted s(t, "answer OK\n");
  w.EdizioneFronte_Click();
  const QStringList m = s.Log("msgbox");
  ASSERT_EQ(m.size(), 1);
  const QString grande =
      QString("Il file e' troppo grande: %1 > %2\\nrock.fro\\n").arg(plat::kLargestFileRead + 1).arg(plat::kLargestFileRead);
  EXPECT_TRUE(m[0].contains("\t" + grande)) << m[0].toStdString();
  EXPECT_FALSE(m[0].contains("danneggiato")) << m[0].toStdString();
  EXPECT_TRUE(s.Log("form").isEmpty());
  EXPECT_EQ(QFileInfo(t.D("rock.fro")).size(), plat::kLargestFileRead + 1);
}

TEST_F(Edizioni, SlopeRangeAndCharacterChecks) {
  // The face dip takes 0 to 90; the seismic coefficient 0 to 1; the load inclination -90 to 90.
  Scripted s(t,
             "set Text1(6) 26\nset Text1(8) 25\n"  // the rock unit weight and the crest height must be above 0
             "set Text1(0) 95\nset Text1(1) 10\nanswer OK \"0; 90\"\nset Text1(0) 90\n"
             "set Text1(18) 1,5\npress Command1(0)\nanswer OK \"caratteri alfanumerici\"\n"
             "set Text1(18) 1\nset Text1(10) -90\npress Command1(0)\n");
  w.EdizioneFronte_Click();
  const QStringList r = Righe(t.D("rock.fro"));
  ASSERT_EQ(r.size(), 19);
  EXPECT_EQ(r[0], QString("90"));
  EXPECT_EQ(r[10], QString("-90"));
  EXPECT_EQ(r[18], QString("1"));
  const QStringList messaggi = s.Log("msgbox");
  ASSERT_EQ(messaggi.size(), 2);
  EXPECT_TRUE(messaggi[0].contains("\tInclinazione fronte [")) << messaggi[0].toStdString();
  EXPECT_TRUE(messaggi[1].contains("\tCoefficiente sismico\t")) << messaggi[1].toStdString();
}

// ---------------------------------------------------------------------------------------------------------------
// Titles.

TEST_F(Edizioni, TitlesFoldFiveToNineAndACancelWritesTheFoldedTitles) {
  WriteAnsi(t.D("rock.TIT"), "A\nB\nC\nD\nE\nF\nG\nH\nI\n");
  Campi();
  Scripted s(t, "campi\npress Command1(1)\n");
  w.EdizioneTitoli_Click();
  EXPECT_EQ(visti.join("|"), QString("A|B - E|C - F - H|D - G - I"));
  EXPECT_EQ(ReadAnsi(t.D("rock.TIT")), QString("A\nB - E\nC - F - H\nD - G - I\n\n\n\n\n\n"));
}

TEST_F(Edizioni, TitlesWithACommaSurviveACancelByteForByte) {
  WriteAnsi(t.D("rock.tit"), "Cava Nord, fronte 2\n\"Virgolette\", e altro\n\n\n\n\n\n\n\n");
  const QByteArray prima = ReadBytes(t.D("rock.tit"));
  Scripted s(t, "press Command1(1)\n");
  w.EdizioneTitoli_Click();
  EXPECT_EQ(ReadBytes(t.D("rock.tit")), prima);  // the existing file, found without regard to case
}

TEST_F(Edizioni, TitlesEmptyTitleTwoTakesTheSeparatorAndAConfirmWritesNineLines) {
  WriteAnsi(t.D("rock.TIT"), "Uno\n\nTre\n\nE\n");
  Campi();
  Scripted s(t, "campi\nset Text1(3) Quattro\npress Command1(0)\n");
  w.EdizioneTitoli_Click();
  EXPECT_EQ(visti.join("|"), QString("Uno| - E|Tre|"));
  EXPECT_EQ(ReadAnsi(t.D("rock.TIT")), QString("Uno\n - E\nTre\nQuattro\n\n\n\n\n\n"));
  EXPECT_EQ(Sessione.TitoliCorrenti[4], QString("Quattro"));
}

// A letter the titles file cannot hold ("Třebíč"), or a line end pasted into a title, is refused at the
// confirmation with a message naming the character: no title is cut short and none of titles 2 to 4 is lost.
TEST_F(Edizioni, TitlesRefuseALetterOrALineEndTheFileCannotHold) {
  WriteAnsi(t.D("rock.TIT"), "Uno\nDue\nTre\nQuattro\n");
  WriteAnsi(t.D("appunti.txt"), "riga\nseguente");
  Scripted s(t, "set Text1(0) \"Cava di Třebíč\"\npress Command1(0)\nanswer OK \"(U+0159)\"\n"
                "set Text1(0) \"Cava di Trebic\"\nclipboard " + t.D("appunti.txt") + "\nkey Text1(1) Ctrl+V\n"
                "press Command1(0)\nanswer OK \"U+000D\"\nset Text1(1) Fronte\npress Command1(0)\n");
  w.EdizioneTitoli_Click();
  const QStringList m = s.Log("msgbox");
  ASSERT_EQ(m.size(), 2);
  EXPECT_TRUE(m[0].contains("\tTitolo principale\t")) << m[0].toStdString();
  EXPECT_TRUE(m[1].contains("\tSecondo titolo\t")) << m[1].toStdString();
  EXPECT_EQ(ReadAnsi(t.D("rock.TIT")), QString("Cava di Trebic\nFronte\nTre\nQuattro\n\n\n\n\n\n"));
}

TEST_F(Edizioni, TitlesFoldedBeyondTheFieldLengthAreReportedNotCutSilently) {
  const QString lungo(60, 'x');
  WriteAnsi(t.D("rock.TIT"), "T\n" + lungo + "\n\n\n" + lungo + "\n");
  Campi();
  Scripted s(t, "campi\npress Command1(0)\nanswer OK \"eccede la lunghezza\"\npress Command1(0)\n");
  w.EdizioneTitoli_Click();
  ASSERT_EQ(visti.size(), 4);
  EXPECT_EQ(visti[1].size(), 123);  // shown whole
  EXPECT_EQ(Righe(t.D("rock.TIT"))[1], lungo + " - " + QString(17, 'x'));  // cut to 80 after the message
}

// ---------------------------------------------------------------------------------------------------------------
// Graphics options.

TEST_F(Edizioni, GraphicsOptionsWithoutFileWriteTheDefaultsWithTheKind) {
  Campi();
  {
    Scripted s(t, "campi\npress Command1(0)\n");
    w.EditaOpzioniGrafiche(1);
    EXPECT_EQ(MascheraCorrente.AnnullaMaschera, 0);
    EXPECT_TRUE(s.Log("form").first().endsWith("\tbase1\tOPZIONI GRAFICHE - CLUSTER"));
  }
  EXPECT_EQ(visti.join(","), QString("Equiareale,Emisfero inferiore,Si,Si,No"));
  EXPECT_EQ(Righe(t.D("rock.GRA")).join(","), QString("1,1,1,1,1,2"));
  QFile::remove(t.D("rock.GRA"));
  Scripted s(t, "press Command1(0)\n");
  w.EditaOpzioniGrafiche(2);
  EXPECT_TRUE(s.Log("form").first().endsWith("\tbase1\tOPZIONI GRAFICHE - DATI INIZIALI"));
  EXPECT_EQ(Righe(t.D("rock.GRA")).join(","), QString("1,1,2,1,1,2"));
}

TEST_F(Edizioni, GraphicsOptionsOfFiveLinesGainTheSixthAndOnlyTheKindAndTheChangesMove) {
  WriteAnsi(t.D("rock.GRA"), " 2 \n 1 \n 1 \n 2 \n 1 \n");
  Campi();
  Scripted s(t, "campi\npick Combo1(3) No\npress Command1(0)\n");
  w.EditaOpzioniGrafiche(2);
  EXPECT_EQ(visti.join(","), QString("Equiangolare,Emisfero inferiore,No,Si,No"));
  EXPECT_EQ(Righe(t.D("rock.GRA")).join(","), QString("2,1,2,2,2,2"));
}

TEST_F(Edizioni, GraphicsOptionsCancelWritesNothing) {
  for (const char* fine : {"press Command1(1)", "close base1"}) {
    QFile::remove(t.D("rock.GRA"));
    {
      Scripted s(t, QString("%1\n").arg(fine));
      w.EditaOpzioniGrafiche(1);
      EXPECT_NE(MascheraCorrente.AnnullaMaschera, 0);
      EXPECT_FALSE(QFile::exists(t.D("rock.GRA"))) << fine;
    }
    WriteAnsi(t.D("rock.GRA"), "1\n2\n1\n1\n1\n1\n");
    const QByteArray prima = ReadBytes(t.D("rock.GRA"));
    Scripted s(t, QString("pick Combo1(0) Equiangolare\n%1\n").arg(fine));
    w.EditaOpzioniGrafiche(2);
    EXPECT_NE(MascheraCorrente.AnnullaMaschera, 0);
    EXPECT_EQ(ReadBytes(t.D("rock.GRA")), prima) << fine;
  }
}

// A value outside a choice list is shown as the entry with the meaning its readers give it (option 1: anything but
// 2 is equal-area; option 2: anything but 1 is the upper hemisphere; options 4 to 6: anything but 1 is not drawn),
// with a message; an unchanged confirmation writes that meaning.
TEST_F(Edizioni, GraphicsOptionOutsideItsListIsShownValidWithAMessage) {
  WriteAnsi(t.D("rock.GRA"), "1\n0\n1\n1\n1\n2\n");
  Campi();
  {
    Scripted s(t, "answer OK \"nessuna voce\"\ncampi\npress Command1(0)\n");
    w.EditaOpzioniGrafiche(1);
    EXPECT_EQ(visti.value(1), QString("Emisfero superiore"));
    EXPECT_TRUE(s.Log("msgbox").first().contains("\tEmisfero\t"));
  }
  WriteAnsi(t.D("rock.GRA"), "3\n0\n1\n0\n1\n1\n");
  Campi();
  Scripted s(t, "answer OK\nanswer OK\nanswer OK\ncampi\npress Command1(0)\n");
  w.EditaOpzioniGrafiche(1);
  EXPECT_EQ(visti.join(","), QString("Equiareale,Emisfero superiore,No,Si,Si"));
  const QStringList m = s.Log("msgbox");
  ASSERT_EQ(m.size(), 3);
  EXPECT_TRUE(m[0].contains("\tProiezione\t") && m[0].endsWith("Equiareale")) << m[0].toStdString();
  EXPECT_TRUE(m[2].contains("\tCerchi massimi\t") && m[2].endsWith("No")) << m[2].toStdString();
  EXPECT_EQ(Righe(t.D("rock.GRA")).join(","), QString("1,2,1,2,1,1"));
}

// The warnings of several values outside their lists come as the real message boxes, one after another: each is
// shown once the one before has been answered, never stacked over it.
TEST_F(Edizioni, GraphicsOptionWarningsComeOneAfterAnother) {
  WriteAnsi(t.D("rock.GRA"), "3\n0\n1\n0\n1\n1\n");
  int piuAperti = 0, risposte = 0;
  QTimer utente;
  QObject::connect(&utente, &QTimer::timeout, [&] {
    int aperti = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<QMessageBox*>(w) && w->isVisible()) ++aperti;
    piuAperti = std::max(piuAperti, aperti);
    QWidget* davanti = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(davanti)) {
      QTest::keyClick(box, Qt::Key_Return);
      ++risposte;
    } else if (auto* f = qobject_cast<base1*>(davanti); f && aperti == 0 && risposte >= 3) {
      f->Command1[1]->click();
    }
  });
  utente.start(20);
  w.EditaOpzioniGrafiche(1);
  EXPECT_EQ(risposte, 3);
  EXPECT_EQ(piuAperti, 1);
  EXPECT_NE(MascheraCorrente.AnnullaMaschera, 0);
}

// Each field form writes the extreme values it accepts so that its file's reader takes them back: the slope form
// its minima and maxima, the titles 80 characters of any letter the file holds, the graphics options every entry.
TEST_F(Edizioni, EveryFieldFormWritesItsExtremesSoThatItsReaderTakesThemBack) {
  plat::RegisterScriptAction("estremi", [](const QStringList& a, QString*) {
    auto* f = qobject_cast<base1*>(plat::FindObject("base1"));
    if (!f) return false;
    for (std::size_t k = 0; k < f->Text1.size(); ++k) {
      const auto& limite = a.value(0) == "min" ? MascheraCorrente.MinimiCampi[k] : MascheraCorrente.MassimiCampi[k];
      f->Text1[k]->setText(plat::TrimBlanks(plat::StrNumber(limite.value_or(0))));
    }
    return true;
  });
  for (const char* estremo : {"min", "max"}) {
    ValoriFronte atteso{};
    {
      Scripted s(t, QString("estremi %1\npress Command1(0)\n").arg(estremo));
      w.EdizioneFronte_Click();
      EXPECT_TRUE(s.Log("msgbox").isEmpty()) << estremo;
      for (int k = 1; k <= kValoriFronte; ++k) {
        const auto& limite = QString(estremo) == "min" ? MascheraCorrente.MinimiCampi[static_cast<std::size_t>(k - 1)]
                                                        : MascheraCorrente.MassimiCampi[static_cast<std::size_t>(k - 1)];
        atteso[static_cast<std::size_t>(k)] = (k == 5 || k == 7 || k == 8 || k == 10 || k == 13) ? *limite / 10 : *limite;
      }
    }
    ValoriFronte letti{};
    ASSERT_EQ(LeggiFileFronte(t.D("rock.fro"), letti), EsitoFronte::Letto) << estremo;
    EXPECT_EQ(letti, atteso) << estremo;
  }
  // Titles: the whole length, blanks at the ends, commas, quotes and the letters of the code page's upper half.
  TitoliSessione titoli;
  titoli.fill(QString());
  titoli[1] = " \"Cava\", fronte " + QString::fromUtf8("€ŒŸÿ©°²") + QString(80 - 24, QChar(0xE8)) + " ";
  titoli[2] = QString(80, ',');
  ASSERT_EQ(titoli[1].size(), 80);
  plat::RegisterScriptAction("titoli", [&titoli](const QStringList&, QString*) {
    auto* f = qobject_cast<base1*>(plat::FindObject("base1"));
    if (!f) return false;
    for (std::size_t k = 0; k < 4; ++k) f->Text1[k]->setText(titoli[k + 1]);  // as typed: quotes are no script's
    return true;
  });
  {
    Scripted s(t, "titoli\npress Command1(0)\n");
    w.EdizioneTitoli_Click();
    EXPECT_TRUE(s.Log("msgbox").isEmpty());
  }
  TitoliSessione letti;
  ASSERT_EQ(LeggiFileTitoli(t.D("rock.TIT"), letti), 9);
  EXPECT_EQ(letti, titoli);
  // Graphics options: the second entry of every list, then the first.
  for (const char* voce : {"#1", "#0"}) {
    QString script;
    for (int i = 0; i < 5; ++i) script += QString("set Combo1(%1) %2\n").arg(i).arg(voce);
    Scripted s(t, script + "press Command1(0)\n");
    w.EditaOpzioniGrafiche(2);
    OpzioniGrafiche o;
    ASSERT_EQ(LeggiFileOpzioniGrafiche(t.D("rock.GRA"), o), EsitoOpzioni::Letto);
    const double v = QString(voce) == "#1" ? 2 : 1;
    EXPECT_EQ(o.Opzione, (std::array<double, 7>{0, v, v, 2, v, v, v})) << voce;
  }
}

TEST_F(Edizioni, GraphicsOptionsShortOrDamagedFileIsReportedAndNothingStarts) {
  for (const char* contenuto : {"1\n1\n1\n1\n", "1\nx\n1\n1\n1\n2\n"}) {
    WriteAnsi(t.D("rock.GRA"), contenuto);
    const QByteArray prima = ReadBytes(t.D("rock.GRA"));
    Scripted s(t, "answer OK \"incompleto o danneggiato\"\n");
    MascheraCorrente.AnnullaMaschera = 0;
    w.EditaOpzioniGrafiche(1);
    EXPECT_NE(MascheraCorrente.AnnullaMaschera, 0);
    EXPECT_TRUE(s.Log("form").isEmpty());
    EXPECT_EQ(ReadBytes(t.D("rock.GRA")), prima);
  }
}

}  // namespace
