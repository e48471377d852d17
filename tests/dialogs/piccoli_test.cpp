#include "common/platform/picturebox.h"
#include "common/texts/avvio.h"
#include "main/dialogs/contesti.h"
#include "main/dialogs/piccoli.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QApplication>
#include <QCheckBox>
#include <QTest>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using testing_support::Scripted;
using testing_support::TestFolder;

namespace {

class Piccoli : public ::testing::Test {
 protected:
  void SetUp() override {
    Avvio.NumeroLingua = 1;
    CaricaContestiAiuto();
  }
  TestFolder t;
};

TEST_F(Piccoli, EditaLineaConfirmTakesAllThreeBoxesCancelAndCloseKeepTheValues) {
  {
    Scripted s(t, "set Text1 10.5\nset Text2 20\npress Command1\n");
    QString a = "1", b = "2", c = "nascosto";
    EditaLinea(2, "INTERVALLO", "Minimo", "Massimo", "", "40", a, b, c);
    EXPECT_EQ(a, QString("10.5"));
    EXPECT_EQ(b, QString("20"));
    EXPECT_EQ(c, QString("nascosto"));  // the hidden third box is copied back too, unchanged
    EXPECT_TRUE(s.Log("form").first().endsWith("\tedilineform\tINTERVALLO"));
  }
  for (const char* fine : {"press Command2", "close edilineform"}) {
    Scripted s(t, QString("set Text1 99\n%1\n").arg(fine));
    QString a = "1", b = "2", c;
    EditaLinea(1, "X", "A", "", "", "40", a, b, c);
    EXPECT_EQ(a, QString("1")) << fine;
    EXPECT_EQ(b, QString("2")) << fine;
  }
}

TEST_F(Piccoli, EditaLineaHidesTheRowsBeyondN) {
  // The script looks at the form while it is shown, through a check of its own.
  QStringList visibili;
  plat::RegisterScriptAction("vedi", [&visibili](const QStringList&, QString*) {
    auto* f = qobject_cast<edilineform*>(plat::FindObject("edilineform"));
    if (!f) return false;
    for (int i = 0; i < 3; ++i) visibili << (f->Text[i]->isVisibleTo(f) ? "1" : "0");
    visibili << (f->Command3->isVisibleTo(f) ? "1" : "0");
    return true;
  });
  Scripted s(t, "vedi\npress Command1\n");
  QString a, b, c;
  EditaLinea(2, "T", "A", "B", "C", "40", a, b, c);
  EXPECT_EQ(visibili.join(""), QString("1100"));  // two rows, the help button hidden
}

TEST_F(Piccoli, ScegliDaElencoAnswers) {
  const QStringList elenco = {"TITOLO", "primo", "secondo", "terzo"};
  {
    Scripted s(t, "press Command1\n");
    EXPECT_EQ(ScegliDaElenco(elenco, 3), 0);  // nothing selected
  }
  {
    Scripted s(t, "dblclick List1 terzo\n");
    EXPECT_EQ(ScegliDaElenco(elenco, 3), 3);
    EXPECT_TRUE(s.Log("form").first().endsWith("\tSelezionaElenco\tTITOLO"));
  }
  {
    Scripted s(t, "pick List1 secondo\npress Command1\n");
    EXPECT_EQ(ScegliDaElenco(elenco, 3), 2);
  }
  for (const char* fine : {"press Command2", "close SelezionaElenco"}) {
    Scripted s(t, QString("pick List1 primo\n%1\n").arg(fine));
    Scelte.SceltaElenco = 7;
    EXPECT_EQ(ScegliDaElenco(elenco, 3), 0) << fine;
  }
}

TEST_F(Piccoli, ScegliConCaselleShowsPagesOfThirty) {
  // 31 entries: a page of 30 boxes, 15 a column, then a page of one; each window is 14 rows taller.
  std::vector<QString> voci(32);
  std::vector<double> stati(32, 2);
  for (int i = 1; i <= 31; ++i) voci[static_cast<std::size_t>(i)] = QString("voce %1").arg(i);
  stati[1] = 1;
  stati[2] = 0;
  QList<QList<int>> pagine;
  plat::RegisterScriptAction("misura", [&pagine](const QStringList&, QString*) {
    auto* f = qobject_cast<EdilineCeckBox*>(plat::FindObject("EdilineCeckBox"));
    if (!f) return false;
    const int h = plat::TwipsToPixels(EdilineCeckBox::kAltezzaCasella);
    QList<int> p = {static_cast<int>(f->Check1.size()), f->height(), f->Check1[0]->y()};
    if (f->Check1.size() > 15) p << f->Check1[15]->x() - f->Check1[0]->x() << f->Check1[15]->y() << f->Check1[14]->y();
    p << h;
    pagine << p;
    return true;
  });
  Scripted s(t, "misura\ncheck Check1(29) 1\npress Command1\nmisura\npress Command1\n");
  ScegliConCaselle("SCHEDE", 31, voci, stati, 39);
  ASSERT_EQ(pagine.size(), 2);
  EXPECT_EQ(pagine[0][0], 30);
  EXPECT_EQ(pagine[1][0], 1);
  EXPECT_EQ(pagine[0][1], plat::TwipsToPixels(1245 + 14 * EdilineCeckBox::kAltezzaCasella));
  EXPECT_EQ(pagine[1][1], pagine[0][1]);
  EXPECT_EQ(pagine[0][3], plat::TwipsToPixels(7140 / 2));  // the right column starts at half the width
  EXPECT_EQ(pagine[0][4], pagine[0][2]);                    // entry 16 at the top of the right column
  EXPECT_EQ(stati[1], 1);
  EXPECT_EQ(stati[2], 2);   // a 0 shows unticked and comes back as 2
  EXPECT_EQ(stati[30], 1);  // ticked by the script
  EXPECT_EQ(stati[31], 2);
  EXPECT_EQ(s.Log("form").size(), 2);
}

TEST_F(Piccoli, ScegliConCaselleCancelEndsAtOnceAndKeepsTheStates) {
  std::vector<QString> voci(71, "v");
  for (const char* fine : {"press Command2", "close EdilineCeckBox"}) {
    std::vector<double> stati(71, 1);
    Scripted s(t, QString("check Check1(0) 0\n%1\n").arg(fine));
    ScegliConCaselle("T", 70, voci, stati, 40);
    EXPECT_EQ(s.Log("form").size(), 1) << fine;  // no further page
    EXPECT_EQ(std::count(stati.begin(), stati.end(), 1.0), 71) << fine;
  }
}

}  // namespace

TEST_F(Piccoli, EnterConfirmsAndEscapeCancelsTheSmallDialogs) {
  {
    auto* f = new edilineform;
    f->show();
    QApplication::setActiveWindow(f);
    f->Text[0]->setFocus();
    QTest::keyClick(f->Text[0], Qt::Key_Return);
    EXPECT_TRUE(f->Confermato);
    f->Unload();
  }
  {
    auto* f = new edilineform;
    f->show();
    QApplication::setActiveWindow(f);
    f->Text[0]->setFocus();
    QTest::keyClick(f->Text[0], Qt::Key_Escape);
    EXPECT_FALSE(f->Confermato);
    EXPECT_FALSE(f->isVisible());
    if (!f->Unloaded()) f->Unload();
  }
  {
    auto* f = new EdilineCeckBox(3);
    f->show();
    QApplication::setActiveWindow(f);
    f->Check1[0]->setFocus();
    QTest::keyClick(f->Check1[0], Qt::Key_Return);
    EXPECT_TRUE(f->Confermato);
    f->Unload();
  }
}
