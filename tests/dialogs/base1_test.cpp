#include "common/texts/avvio.h"
#include "main/dialogs/base1.h"
#include "main/dialogs/definizioni.h"
#include "main/dialogs/maschera.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

#include <gtest/gtest.h>

using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

// Definition 1: two choice fields, a protected text field and three more; definition 2: text fields only.
const char* const kScelte =
    "1\nPROVA\n2\nA|B|C\nX|Y|\n4\nScelta uno\n0,,\nAiuto S1\nScelta due\n0,,\nAiuto S2\n"
    "\xA7Protetto [m]\n0,,\nAiuto P\nAngolo [\xB0]\n0,0,90\nAiuto angolo\nNome\n20,,\nAiuto nome\n"
    "Libero\n@,,\nAiuto libero\n7: aiuto della prova\n3\n\"&Conferma\",\"&Annulla\",\"&Help\"\nMN=7\n";
const char* const kTesti =
    "1\nSOLO TESTO\n0\n3\nValore\n0,-5,5\nAiuto V\nSenza limiti\n0,,\nAiuto L\nCodice zero\nabc,,\nAiuto C\n"
    "AIUTO\n2\n\"&Conferma\",\"&Annulla\"\n";

class Base1 : public ::testing::Test {
 protected:
  void SetUp() override {
    Avvio.NumeroLingua = 1;
    Avvio.FileAiuto.clear();
    WriteAnsi(t.D("S.MAV"), QString::fromLatin1(kScelte));
    WriteAnsi(t.D("T.MAV"), QString::fromLatin1(kTesti));
    LeggiDefinizioniMaschere(2, {QString(), t.D("S.MAV"), t.D("T.MAV")});
    MascheraCorrente = StatoMaschera();
    RegistraBase1();
  }
  void TearDown() override { RegistraFormMaschera(1, {}); }

  // A script action "vedi" that runs `f` on the form while it is shown.
  static void Vedi(std::function<void(base1&)> f) {
    plat::RegisterScriptAction("vedi", [f](const QStringList&, QString* errore) {
      auto* form = qobject_cast<base1*>(plat::FindObject("base1"));
      if (!form) {
        *errore = "no base1";
        return false;
      }
      f(*form);
      return true;
    });
  }
  static QString Campo(int i) {
    QString s;
    LeggiCampo(i, s);
    return s;
  }
  static void Tasto(QWidget* w, int tasto, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QKeyEvent e(QEvent::KeyPress, tasto, m, tasto == Qt::Key_Return ? QStringLiteral("\r") : QString());
    QApplication::sendEvent(w, &e);
  }
  TestFolder t;
};

// Column and row of a control, in characters.
int Colonna(const QWidget* w) { return w->x() / 8; }
int Riga(const QWidget* w) { return w->y() / 16; }

TEST_F(Base1, LayoutOnTheCharacterGrid) {
  Vedi([](base1& f) {
    ASSERT_EQ(f.Combo1.size(), 2u);
    ASSERT_EQ(f.Text1.size(), 4u);
    ASSERT_EQ(f.Label1.size(), 6u);
    EXPECT_EQ(f.width(), 528);  // 66 columns
    // Choice fields at rows 1 and 2, one empty row, then the text fields from row 4.
    EXPECT_EQ(Riga(f.Combo1[0]), 1);
    EXPECT_EQ(Riga(f.Combo1[1]), 2);
    EXPECT_EQ(Riga(f.Label1[2]), 4);
    EXPECT_EQ(Riga(f.Text1[0]), 4);
    EXPECT_EQ(Riga(f.Text1[3]), 7);
    // Every field ends at column 62; the labels start at column 2 with their leader dots.
    for (QWidget* w : {static_cast<QWidget*>(f.Combo1[0]), static_cast<QWidget*>(f.Text1[2])})
      EXPECT_EQ((w->x() + w->width()) / 8, 62);
    EXPECT_EQ(Colonna(f.Label1[0]), 2);
    EXPECT_EQ(Colonna(f.Combo1[0]), 13);  // "Scelta uno" (10) + 3
    EXPECT_EQ(Colonna(f.Text1[0]), 16);   // "§Protetto [m]" (13, the mark counts) + 3
    EXPECT_TRUE(f.Label1[3]->text().startsWith(QString::fromUtf8("Angolo [°] ....")));
    EXPECT_EQ(f.Label1[3]->text().size(), 10 + 1 + 110);
    // The protected field: shown without its mark, disabled.
    EXPECT_TRUE(f.Label1[2]->text().startsWith("Protetto [m] ."));
    EXPECT_FALSE(f.Text1[0]->isEnabled());
    EXPECT_TRUE(f.CampiProtetti[2]);
    // Buttons on row A + B + 4, two rows high; the help line below them.
    ASSERT_EQ(f.Command1.size(), 3u);
    EXPECT_EQ(Riga(f.Command1[0]), 10);
    EXPECT_EQ(f.Command1[0]->height(), 32);
    EXPECT_EQ(f.Command1[1]->text(), QString("&Annulla"));
    EXPECT_LT(f.Command1[0]->x() + f.Command1[0]->width(), f.Command1[1]->x());
    EXPECT_GE(f.Labelhelp->y(), f.Command1[0]->y() + 32);
    EXPECT_LE(f.Labelhelp->y() + f.Labelhelp->height(), f.height());
  });
  Scripted s(t, "vedi\npress Command1(1)\n");
  ImpostaMaschera(0, 0, 1);
  MostraMaschera();
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, -1);
  ChiudiMaschera();
}

TEST_F(Base1, ConfirmCopiesTheValuesCancelCloseAndEscapeDoNot) {
  {
    Scripted s(t, "pick Combo1(0) C\nset Text1(1) 45\nset Text1(2) nuovo\npress Command1(0)\n");
    ImpostaMaschera(0, 0, 1);
    ScriviCampo(4, "10");
    ScriviCampo(5, "vecchio");
    MostraMaschera();
    EXPECT_EQ(MascheraCorrente.AnnullaMaschera, 0);
    EXPECT_EQ(Campo(1), QString("3"));
    EXPECT_EQ(Campo(2), QString("2"));  // untouched: the second entry
    EXPECT_EQ(Campo(4), QString("45"));
    EXPECT_EQ(Campo(5), QString("nuovo"));
    ChiudiMaschera();
  }
  for (const char* fine : {"press Command1(1)", "close base1", "vedi"}) {
    // "vedi" presses Escape in a field.
    Vedi([](base1& f) { Tasto(f.Text1[1], Qt::Key_Escape); });
    Scripted s(t, QString("set Text1(2) cambiato\n%1\n").arg(fine));
    ImpostaMaschera(0, 0, 1);
    ScriviCampo(5, "vecchio");
    MostraMaschera();
    EXPECT_EQ(MascheraCorrente.AnnullaMaschera, -1) << fine;
    EXPECT_EQ(Campo(5), QString("vecchio")) << fine;
    ChiudiMaschera();
  }
}

TEST_F(Base1, EnterAndArrowsMoveBetweenFieldsAndNeverConfirm) {
  QStringList fuoco;
  Vedi([&fuoco](base1& f) {
    f.Text1[1]->setFocus();
    Tasto(f.Text1[1], Qt::Key_Return);
    fuoco << QApplication::focusWidget()->objectName();
    Tasto(f.Text1[2], Qt::Key_Down);
    fuoco << QApplication::focusWidget()->objectName();
    Tasto(f.Text1[3], Qt::Key_Down);  // the last field: stays
    fuoco << QApplication::focusWidget()->objectName();
    Tasto(f.Text1[3], Qt::Key_Up);
    Tasto(f.Text1[2], Qt::Key_Up);
    Tasto(f.Text1[1], Qt::Key_Up);  // the protected field above stops the move
    fuoco << QApplication::focusWidget()->objectName();
    fuoco << (f.isVisible() ? "aperta" : "chiusa");
  });
  Scripted s(t, "vedi\npress Command1(1)\n");
  ImpostaMaschera(0, 0, 1);
  MostraMaschera();
  ChiudiMaschera();
  EXPECT_EQ(fuoco.join(","), QString("Text1(2),Text1(3),Text1(3),Text1(1),aperta"));
}

TEST_F(Base1, NumericFieldChecks) {
  // Each value is checked as the field is left; the answer is true when it passed.
  QStringList esiti;
  const QStringList valori = {"", "0", "90", "1e1", " 45 ", "+3", "90.5", "-1", "1 2", "12a", "1-2", "e", ".", "1e999"};
  Vedi([&](base1& f) {
    for (const QString& v : valori) {
      f.Text1[1]->setText(v);
      esiti << (f.ValidaCampo(1) ? "si" : "no");
    }
  });
  QString script = "vedi\n";
  // The messages of the refused values, in order: two range messages, two character messages, four more.
  for (int i = 0; i < 2; ++i) script += "answer OK \"0; 90\"\n";
  for (int i = 0; i < 2; ++i) script += "answer OK \"caratteri alfanumerici\"\n";
  for (int i = 0; i < 4; ++i) script += "answer OK \"fuori dal range\"\n";
  script += "press Command1(1)\n";
  Scripted s(t, script);
  ImpostaMaschera(0, 0, 1);
  MostraMaschera();
  ChiudiMaschera();
  EXPECT_EQ(esiti.join(","), QString("si,si,si,si,si,si,no,no,no,no,no,no,no,no"));
  // The title of the message is the label as shown, without its leader dots.
  const QStringList messaggi = s.Log("msgbox");
  ASSERT_EQ(messaggi.size(), 8);
  EXPECT_TRUE(messaggi.first().contains(QString::fromUtf8("\tAngolo [°]\t"))) << messaggi.first().toStdString();
}

TEST_F(Base1, EmptyBoundsSetNoLimitAndAZeroCodeSetsNoLength) {
  QStringList esiti;
  Vedi([&](base1& f) {
    f.Text1[0]->setText("5");
    esiti << (f.ValidaCampo(0) ? "si" : "no");
    f.Text1[0]->setText("-5.01");
    esiti << (f.ValidaCampo(0) ? "si" : "no");
    f.Text1[1]->setText("-1e300");
    esiti << (f.ValidaCampo(1) ? "si" : "no");
    f.Text1[2]->setText(QString(200, 'x'));
    esiti << (f.ValidaCampo(2) ? "si" : "no");
    esiti << QString::number(f.Text1[2]->text().size());
  });
  Scripted s(t, "vedi\nanswer OK \"-5; 5\"\npress Command1(1)\n");
  ImpostaMaschera(0, 0, 2);
  MostraMaschera();
  ChiudiMaschera();
  EXPECT_EQ(esiti.join(","), QString("si,no,si,si,200"));
}

TEST_F(Base1, TextLongerThanItsFieldIsShownWholeThenReportedAndCut) {
  QStringList visti;
  Vedi([&](base1& f) {
    visti << f.Text1[2]->text() << f.Text1[3]->text();
    visti << (f.ValidaCampo(3) ? "si" : "no");  // "@": no limit
  });
  const QString lungo = "abcdefghijklmnopqrstuvwxy";  // 25 characters, the field takes 20
  Scripted s(t, "vedi\npress Command1(0)\nanswer OK \"eccede la lunghezza\"\npress Command1(0)\n");
  ImpostaMaschera(0, 0, 1);
  ScriviCampo(5, lungo);
  ScriviCampo(6, lungo + lungo);
  MostraMaschera();
  EXPECT_EQ(visti.join(","), lungo + "," + lungo + lungo + ",si");
  // The first confirm reported the length and cut the text; the second confirmed.
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, 0);
  EXPECT_EQ(Campo(5), lungo.left(20));
  EXPECT_EQ(Campo(6), lungo + lungo);
  ChiudiMaschera();
}

TEST_F(Base1, LeavingAFieldChecksItAndConfirmChecksTheFieldThatHasTheFocus) {
  Scripted s(t,
             "set Text1(1) abc\nset Text1(2) x\nanswer OK \"caratteri alfanumerici\"\n"
             "set Text1(1) 100\npress Command1(0)\nanswer OK \"0; 90\"\nset Text1(1) 30\npress Command1(0)\n");
  ImpostaMaschera(0, 0, 1);
  MostraMaschera();
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, 0);
  EXPECT_EQ(Campo(4), QString("30"));
  EXPECT_EQ(s.Log("msgbox").size(), 2);  // each fault reported once, not again when the focus moved
  ChiudiMaschera();
}

TEST_F(Base1, HelpButtonWithoutHelpFileShowsTheDialogHelpAndTheFormStays) {
  Scripted s(t, "press Command1(2)\nanswer OK \"7: aiuto della prova\"\npress Command1(1)\n");
  ImpostaMaschera(0, 0, 1);
  MostraMaschera();
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, -1);
  ChiudiMaschera();
}

}  // namespace
