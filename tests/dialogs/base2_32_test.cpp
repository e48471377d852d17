// The table grid, shown modally and driven by a script: typing, checks of the cells, paste, copy, rows.
#include "common/texts/avvio.h"
#include "main/dialogs/base2_32.h"
#include "main/dialogs/contesti.h"
#include "main/dialogs/definizioni.h"
#include "main/dialogs/maschera.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

class Griglia : public ::testing::Test {
 protected:
  void SetUp() override {
    Avvio.NumeroLingua = 1;
    Avvio.FileAiuto.clear();
    CaricaContestiAiuto();
    // Column 1 numeric 0 to 90, column 2 coded, column 3 text of at most 5 characters.
    const QString campi = "N.\n888,,\n\nInc\n88,0,90\nAngolo\nTi\n/8,,\nCodici:$$$A=alpha, B=beta\nNome\n/8888,,\nTesto\n"
                          "AIUTO TABELLA\n5\n\"&Conferma\",\"&Annulla\",\"&Inserisci\",\"&Cancella\",\"&Help\"\n";
    WriteAnsi(t.D("G2.MAV"), "2\nTABELLA\n4\n" + campi);
    WriteAnsi(t.D("G3.MAV"), "3\nTABELLA\n4\n" + campi);
    WriteAnsi(t.D("G4.MAV"), "4\nTABELLA\n4\n" + campi);
    LeggiDefinizioniMaschere(3, {QString(), t.D("G2.MAV"), t.D("G3.MAV"), t.D("G4.MAV")});
    MascheraCorrente = StatoMaschera();
    RegistraGriglia();
  }
  // Shows definition `n` with the rows given (cells row by row) and the script; returns the rows written back.
  QStringList Mostra(int n, const QStringList& celle, const QString& script, const QString& primo = QString()) {
    ImpostaMaschera(0, 0, n);
    MascheraCorrente.ValoriTesto[0] = primo.isEmpty() ? QString::number(celle.size() / 3) : primo;
    for (int i = 0; i < celle.size(); ++i) MascheraCorrente.ValoriTesto[static_cast<std::size_t>(i + 1)] = celle.at(i);
    s.reset();
    s = std::make_unique<Scripted>(t, script);
    MostraMaschera();
    QStringList righe;
    const int m = static_cast<int>(MascheraCorrente.ValoriTesto[0].toInt());
    for (int r = 0; r < m; ++r)
      righe << QStringList(MascheraCorrente.ValoriTesto.begin() + 1 + 3 * r, MascheraCorrente.ValoriTesto.begin() + 4 + 3 * r)
                   .join("|");
    return righe;
  }
  QStringList Messaggi() const { return s->Log("msgbox"); }
  // A script action "vedi" that runs `f` on the grid while it is shown.
  static void Vedi(std::function<void(base2_32&)> f) {
    plat::RegisterScriptAction("vedi", [f](const QStringList&, QString* errore) {
      auto* g = qobject_cast<base2_32*>(plat::FindObject("base2_32"));
      if (!g) return *errore = "no base2_32", false;
      f(*g);
      return true;
    });
  }
  TestFolder t;
  std::unique_ptr<Scripted> s;
};

TEST_F(Griglia, LoadsTheRowsAndTheCaptionAndConfirmsWithoutChange) {
  QString titolo, riga500;
  plat::RegisterScriptAction("vedi", [&](const QStringList&, QString*) {
    auto* g = qobject_cast<base2_32*>(plat::FindObject("base2_32"));
    titolo = g->windowTitle();
    riga500 = g->Testo(500, 0);
    return true;
  });
  const QStringList righe = Mostra(1, {"10", "A", "uno", " 20 ", "b", "due"}, "vedi\npress Command1(0)\n", "2|Titolo mio");
  EXPECT_EQ(titolo, QString("Titolo mio"));
  EXPECT_EQ(riga500, QString("500"));
  EXPECT_EQ(righe, (QStringList{"10|A|uno", "20|B|due"}));  // "b" is stored as the list writes it
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, 0);
  EXPECT_EQ(NumeroRigheDati, 2);
}

TEST_F(Griglia, TypingReplacesGoesOnAfterAFullStopAndBackspaceShortens) {
  EXPECT_EQ(Mostra(3, {"12", "A", "x"}, "type 7\npress Command1(0)\n"), QStringList{"7|A|x"});
  EXPECT_EQ(Mostra(3, {"12", "A", "x"}, "type .5\npress Command1(0)\n"), QStringList{"12.5|A|x"});
  EXPECT_EQ(Mostra(3, {"12", "A", "x"}, "key Backspace\npress Command1(0)\n"), QStringList{"1|A|x"});
  // Esc puts back the text the cell had when it was entered.
  EXPECT_EQ(Mostra(3, {"12", "A", "x"}, "type 45\nkey Esc\npress Command1(0)\n"), QStringList{"12|A|x"});
}

TEST_F(Griglia, EnterMovesAlongTheRowThenToTheNextRow) {
  const QStringList righe =
      Mostra(3, {}, "type 1\nkey Return\ntype a\nkey Return\ntype tre\nkey Return\ntype 2\npress Command1(0)\n");
  EXPECT_EQ(righe, (QStringList{"1|A|tre", "2||"}));
  // At the last column of row 500 Enter stays put.
  EXPECT_EQ(Mostra(3, {}, "cell 500 3\ntype x\nkey Return\ntype y\npress Command1(0)\n").value(0), QString("||xy"));
}

TEST_F(Griglia, CellChecksRefuseAndReturnToTheCell) {
  // Inner blank, out of range, a code not in the list, a text longer than its format code: each refused with its
  // message, the cursor back on the cell; the bounds are inclusive and an empty cell is valid.
  const QStringList righe = Mostra(3, {},
                                   "type \"1 2\"\ncell 1 2\nanswer OK\ntype 95\ncell 1 2\nanswer OK\ntype 90\ncell 1 2\n"
                                   "type c\ncell 1 3\nanswer OK\ntype \" a \"\ncell 1 3\n"
                                   "type abcdef\ncell 2 1\nanswer OK\ntype abcde\ncell 2 1\npress Command1(0)\n");
  EXPECT_EQ(righe, QStringList{"90|A|abcde"});
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 4);
  EXPECT_TRUE(m[0].contains("\tInc\tNon sono ammessi caratteri alfanumerici")) << m[0].toStdString();
  EXPECT_TRUE(m[1].endsWith("intervallo:\\n 0;  90")) << m[1].toStdString();
  EXPECT_TRUE(m[2].contains("\tTi\tIl dato inserito non e' compreso")) << m[2].toStdString();
  EXPECT_TRUE(m[3].contains("\tNome\tIl dato introdotto eccede la lunghezza ammessa")) << m[3].toStdString();
}

// A text cell refuses a character that its file cannot hold, typed or pasted, with a message naming it; the cell
// keeps the text for correction.
TEST_F(Griglia, ATextCellRefusesACharacterItsFileCannotHold) {
  EXPECT_EQ(Mostra(3, {}, "cell 1 3\ntype Ωmega\ncell 1 1\nanswer OK \"(U+03A9)\"\ntype omega\ncell 1 1\n"
                          "press Command1(0)\n"),
            QStringList{"||omega"});
  ASSERT_EQ(Messaggi().size(), 1);
  EXPECT_TRUE(Messaggi()[0].contains("\tNome\t") && Messaggi()[0].contains("\"Ω\" (U+03A9)"))
      << Messaggi()[0].toStdString();
  QGuiApplication::clipboard()->setText("1\tA\tT\u0159i\r\n");
  EXPECT_EQ(Mostra(3, {}, "key Ctrl+V\nanswer Yes\nanswer OK \"(U+0159)\"\npress Command1(0)\nanswer OK \"(U+0159)\"\n"
                          "type Tri\npress Command1(0)\n"),
            QStringList{"1|A|Tri"});
}

TEST_F(Griglia, ACellLongerThanItsRecordFieldIsRefusedNotCut) {
  ImpostaMaschera(0, 0, 3);
  MascheraCorrente.LarghezzeColonne[1] = 2;
  MascheraCorrente.ValoriTesto[0] = "0";
  s.reset();
  s = std::make_unique<Scripted>(t, "type 1e-3\ncell 1 2\nanswer OK\ntype 5\ncell 1 2\npress Command1(0)\n");
  MostraMaschera();
  EXPECT_EQ(MascheraCorrente.ValoriTesto[1], QString("5"));
  ASSERT_EQ(Messaggi().size(), 1);
  EXPECT_TRUE(Messaggi()[0].endsWith("lunghezza ammessa; caratteri ammessi: 2"));
}

TEST_F(Griglia, CodesComeFromTheListGivenByTheCommand) {
  ImpostaMaschera(0, 0, 3);
  MascheraCorrente.CodiciColonne[2] = QStringList{"GI", "F,X"};  // a code list, not the help text cut at commas
  MascheraCorrente.ValoriTesto[0] = "0";
  s.reset();
  s = std::make_unique<Scripted>(t, "cell 1 2\ntype gi\ncell 2 2\ntype GX\ncell 3 2\nanswer OK\nkey Backspace\n"
                                    "key Backspace\ncell 3 2\npress Command1(0)\n");
  MostraMaschera();
  EXPECT_EQ(MascheraCorrente.ValoriTesto[0], QString("1"));
  EXPECT_EQ(MascheraCorrente.ValoriTesto[2], QString("GI"));
  ASSERT_EQ(Messaggi().size(), 1);
  EXPECT_TRUE(Messaggi()[0].contains("non e' compreso"));
}

TEST_F(Griglia, ConfirmAsksAboutIncompleteRowsExceptKind4AndClosesGaps) {
  const QStringList celle = {"1", "A", "x", "2", "B", "y", "", "", "", "4", "A", "z"};
  EXPECT_EQ(Mostra(1, celle, "press Command1(0)\nanswer No\n"), (QStringList{"1|A|x", "2|B|y", "4|A|z"}));
  EXPECT_TRUE(Messaggi().value(0).contains("Alcune righe di dati non sono state completate"));
  // Yes stays in the dialog; the second confirmation answered No writes.
  EXPECT_EQ(Mostra(1, celle, "press Command1(0)\nanswer Yes\npress Command1(0)\nanswer No\n").size(), 3);
  EXPECT_EQ(Mostra(3, celle, "press Command1(0)\n").size(), 3);
  EXPECT_TRUE(Messaggi().isEmpty());
}

TEST_F(Griglia, CancelCloseAndAnInvalidCellBeforeAButton) {
  const QStringList celle = {"1", "A", "x"};
  Mostra(1, celle, "type 99\npress Command1(1)\nanswer OK\nkey Esc\npress Command1(1)\n");
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, -1);
  EXPECT_EQ(Messaggi().size(), 1);
  EXPECT_EQ(MascheraCorrente.ValoriTesto[1], QString("1"));  // left as given
  Mostra(1, celle, "close base2_32\n");
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, -1);
}

TEST_F(Griglia, InsertAndDeleteRows) {
  const QStringList celle = {"1", "A", "a", "2", "A", "b", "3", "A", "c", "4", "A", "d"};
  EXPECT_EQ(Mostra(1, celle, "cell 2 1\npress Command1(3)\npress Command1(0)\n"),
            (QStringList{"1|A|a", "3|A|c", "4|A|d"}));
  EXPECT_EQ(Mostra(1, celle, "cell 2 1\npress Command1(2)\ntype 9\nkey Return\ntype b\nkey Return\ntype z\n"
                             "press Command1(0)\n"),
            (QStringList{"1|A|a", "9|B|z", "2|A|b", "3|A|c", "4|A|d"}));
  // With data in row 500 nothing moves, and the user is told; a kind-3 table has no such buttons (the index asks
  // for help).
  EXPECT_EQ(Mostra(1, celle, "cell 500 1\ntype 5\ncell 1 1\npress Command1(2)\nanswer OK \"superiore a 500\"\n"
                             "press Command1(0)\nanswer No\n").size(), 5);
  Mostra(2, celle, "press Command1(2)\nanswer OK\npress Command1(0)\n");
  EXPECT_TRUE(Messaggi().value(0).contains("AIUTO TABELLA"));
}

TEST_F(Griglia, PasteWithPreviewOverwriteQuestionAndRowLimit) {
  auto incolla = [&](const QString& testo, const QString& script) {
    QGuiApplication::clipboard()->setText(testo);
    return Mostra(3, {"7", "A", "v"}, script);
  };
  // Two lines at an empty row: no overwrite question; LF alone and a last line without line end are lines too.
  EXPECT_EQ(incolla("1\ta\tuno\r\n2\tb\tdue\n3\tA\ttre", "cell 2 1\nkey Ctrl+V\nanswer Yes\npress Command1(0)\n"),
            (QStringList{"7|A|v", "1|A|uno", "2|B|due", "3|A|tre"}));
  EXPECT_EQ(Messaggi().size(), 1);
  // Over data: the question; No keeps everything.
  EXPECT_EQ(incolla("1\ta\tuno\r\n", "key Shift+Insert\nanswer Yes\nanswer No\npress Command1(0)\n"),
            QStringList{"7|A|v"});
  // An invalid cell is reported and kept, marked, for the user to correct.
  EXPECT_EQ(incolla("95\tA\tuno\r\n", "key Ctrl+V\nanswer Yes\nanswer Yes\nanswer OK\ntype 9\npress Command1(0)\n"),
            QStringList{"9|A|uno"});
  // Eight lines: a preview of six and "......".
  QString otto;
  for (int i = 1; i <= 8; ++i) otto += QString("%1\tA\tx\r\n").arg(i);
  incolla(otto, "cell 2 1\nkey Ctrl+V\nanswer No\npress Command1(0)\n");
  EXPECT_TRUE(Messaggi().value(0).contains("6  A  x") && Messaggi().value(0).endsWith("......") &&
              !Messaggi().value(0).contains("7  A  x"))
      << Messaggi().value(0).toStdString();
  // Three lines at row 499: rows 499 and 500, then the row limit.
  const QStringList righe = incolla("1\tA\ta\r\n2\tA\tb\r\n3\tA\tc\r\n", "cell 499 1\nkey Ctrl+V\nanswer Yes\nanswer OK\npress Command1(0)\n");
  EXPECT_EQ(righe, (QStringList{"7|A|v", "1|A|a", "2|A|b"}));
  EXPECT_TRUE(Messaggi().value(1).contains("Non \u00E8 possibile inserire un numero di righe superiore a 500"));
  // Two lines at row 499 fill rows 499 and 500 without the message.
  incolla("1\tA\ta\r\n2\tA\tb\r\n", "cell 499 1\nkey Ctrl+V\nanswer Yes\npress Command1(0)\n");
  EXPECT_EQ(Messaggi().size(), 1);
}

TEST_F(Griglia, CopyPutsTheRowsOnTheClipboard) {
  QGuiApplication::clipboard()->clear();
  Mostra(3, {"1", "A", "a", "2", "B", "", "3", "A", "c"}, "key Ctrl+C\npress Command1(1)\n");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("1\tA\ta\r\n2\tB\t\r\n3\tA\tc\r\n"));
}

TEST_F(Griglia, TheInCellEditorCommitsWithEnterAndEscLeavesTheCell) {
  EXPECT_EQ(Mostra(3, {"1", "A", "a"}, "cell 1 3\nkey F2\ntype bc\nkey Return\npress Command1(0)\n"),
            QStringList{"1|A|abc"});
  EXPECT_EQ(Mostra(3, {"1", "A", "a"}, "cell 1 3\nkey F2\ntype bc\nkey Esc\npress Command1(0)\n"),
            QStringList{"1|A|a"});
}

// The editor as the user leaves it: a mouse click on "Conferma" or on another cell, or Tab, puts its text into
// the cell, which is then checked as every cell is; the window is active and the clicks are real mouse events.
TEST_F(Griglia, TheInCellEditorKeepsWhatWasTypedWhenLeftByAClickOrTab) {
  auto modifica = [](base2_32& g, int riga, int colonna, const char* testo) {
    QApplication::setActiveWindow(&g);
    g.VaiACella(riga, colonna);
    QTest::keyClick(g.MSFlexGrid1, Qt::Key_F2);
    QTest::keyClicks(g.Text1, testo);
  };
  Vedi([&](base2_32& g) {
    modifica(g, 1, 3, "bc");
    QTest::mouseClick(g.Command1[0], Qt::LeftButton);
  });
  EXPECT_EQ(Mostra(3, {"1", "A", "a"}, "vedi\n"), QStringList{"1|A|abc"});
  EXPECT_TRUE(Messaggi().isEmpty());
  Vedi([&](base2_32& g) {
    modifica(g, 1, 3, "bc");
    QTest::keyClick(g.Text1, Qt::Key_Tab);
    modifica(g, 1, 1, "5");
    const QTableWidget* w = g.MSFlexGrid1;
    QTest::mouseClick(w->viewport(), Qt::LeftButton, {}, w->visualRect(w->model()->index(1, 2)).center());
  });
  EXPECT_EQ(Mostra(3, {"1", "A", "a"}, "vedi\npress Command1(0)\n"), QStringList{"15|A|abc"});
  // What the check refuses is reported and the dialog stays open.
  Vedi([&](base2_32& g) {
    modifica(g, 1, 1, "x");
    QTest::mouseClick(g.Command1[0], Qt::LeftButton);
  });
  EXPECT_EQ(Mostra(3, {"1", "A", "a"}, "vedi\nanswer OK \"caratteri alfanumerici\"\ntype 2\npress Command1(0)\n"),
            QStringList{"2|A|a"});
}

// Numeric cells take what numeric fields of the field form take: the whole text one number.
TEST_F(Griglia, NumericCellsRefuseTextThatIsNoNumber) {
  for (const char* v : {"1-2", ".", "+.", "-", "e", "1e", "--1"}) {
    const QString script = QString("type %1\ncell 1 2\nanswer OK \"fuori dal range\"\nkey Esc\npress Command1(0)\n");
    EXPECT_TRUE(Mostra(3, {}, script.arg(v)).isEmpty()) << v;
    EXPECT_EQ(Messaggi().size(), 1) << v;
  }
}

// A paste gives one message for all the cells it refuses; they keep what was pasted, marked, and a confirmation
// takes the user to the first one still wrong. A clipboard of exactly six lines shows "......" after them.
TEST_F(Griglia, APasteReportsItsRefusedCellsInOneMessageAndKeepsThemMarked) {
  QString virgole, punti, sei;
  for (int i = 1; i <= 20; ++i) {
    virgole += QString("%1,5\tA\tx\r\n").arg(i);
    punti += QString("%1.5\tA\tx\r\n").arg(i);
  }
  for (int i = 1; i <= 6; ++i) sei += QString("%1\tA\tx\r\n").arg(i);
  WriteAnsi(t.D("virgole.txt"), virgole);
  WriteAnsi(t.D("punti.txt"), punti);
  WriteAnsi(t.D("sei.txt"), sei);
  QStringList segnate;
  Vedi([&](base2_32& g) {
    for (int r : {1, 20, 21})
      segnate << g.Testo(r, 1) + "=" +
                     (g.MSFlexGrid1->item(r - 1, 1) ? g.MSFlexGrid1->item(r - 1, 1)->toolTip() : "");
  });
  const QStringList righe =
      Mostra(3, {},
             "clipboard " + t.D("sei.txt") + "\nkey Ctrl+V\nanswer No\n"
             "clipboard " + t.D("virgole.txt") + "\nkey Ctrl+V\nanswer Yes\nanswer OK \"non accettate: 20\"\nvedi\n"
             "press Command1(0)\nanswer OK \"caratteri alfanumerici\"\n"
             "clipboard " + t.D("punti.txt") + "\nkey Ctrl+V\nanswer Yes\nanswer Yes\npress Command1(0)\n");
  ASSERT_EQ(righe.size(), 20);
  EXPECT_EQ(righe[19], QString("20.5|A|x"));
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 6);
  EXPECT_TRUE(m[0].contains("6  A  x") && m[0].endsWith("......")) << m[0].toStdString();
  const QString riepilogo = m[2];
  EXPECT_TRUE(riepilogo.contains("Celle incollate non accettate: 20\\nriga 1, Inc, \"1,5\": Non sono ammessi caratteri "
                                 "alfanumerici in un campo di tipo numerico.\\nriga 2, Inc"))
      << riepilogo.toStdString();
  EXPECT_TRUE(riepilogo.contains("riga 5, Inc") && !riepilogo.contains("riga 6,") &&
              riepilogo.contains("......\\n\\nLe celle non accettate sono segnate in rosso"))
      << riepilogo.toStdString();
  EXPECT_EQ(segnate.join(" | "),
            QString("1,5=Non sono ammessi caratteri alfanumerici in un campo di tipo numerico. | "
                    "20,5=Non sono ammessi caratteri alfanumerici in un campo di tipo numerico. | ="));
  // A line of more fields than columns: the last column holds the last of them, and counts once.
  WriteAnsi(t.D("altro.txt"), "x\tZ\ttroppo lungo\tancora troppo lungo\r\n");
  Mostra(3, {}, "clipboard " + t.D("altro.txt") + "\nkey Ctrl+V\nanswer Yes\nanswer Yes\nanswer OK\nclose base2_32\n");
  ASSERT_EQ(Messaggi().size(), 3);
  const QString altro = Messaggi()[2];
  EXPECT_TRUE(altro.contains("non accettate: 3\\n") && altro.contains("riga 1, Nome, \"ancora troppo") &&
              !altro.contains(", \"troppo lungo\""))
      << altro.toStdString();
}

}  // namespace
