// The pen-table editor: what it shows, what "&Conferma" writes and what "&Annulla" leaves.
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/avvio.h"
#include "main/dialogs/editacfg.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QColorDialog>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using testing_support::ReadBytes;
using testing_support::Scripted;
using testing_support::TestFolder;

namespace {

class Penne : public ::testing::Test {
 protected:
  void SetUp() override {
    Avvio.NumeroLingua = 1;
    Avvio.CodiceLingua = "ITA";
    file = t.P("korvenITA.CFG");
  }
  // A pen table: element 1 and 2 share a name holding Windows-1252 bytes, element 3 has no name.
  void Scrivi(bool margini = true) {
    QByteArray d;
    for (int e = 1; e <= 30; ++e) {
      d += e <= 2 ? QByteArray("Cerchio \x96 bordo") : e == 3 ? QByteArray() : "Elemento " + QByteArray::number(e);
      d += "\r\n" + QByteArray::number(e % 16) + "\r\n0.3\r\n" + (e == 4 ? "Courier New" : "Arial") + "\r\n";
    }
    for (int c = 1; c <= 15; ++c) d += "Colore \xF8 " + QByteArray::number(c) + "\r\n " + QByteArray::number(c * 1000) + " \r\n";
    if (margini) d += "1.5\r\n2\r\n";
    ASSERT_TRUE(plat::WriteWholeFile(file, d));
  }
  QList<QByteArray> Righe() const {
    QList<QByteArray> r = ReadBytes(file).split('\n');
    if (!r.isEmpty() && r.last().isEmpty()) r.removeLast();
    return r;
  }
  TestFolder t;
  QString file;
};

TEST_F(Penne, CancelLeavesTheFileByteForByteAndConfirmKeepsTheNamesBytes) {
  Scrivi();
  const QByteArray prima = ReadBytes(file);
  {
    Scripted s(t, "check Option1(5) 1\nset Text1 7\npress Command2\n");
    MostraEditacfg();
    EXPECT_EQ(s.Log("form").size(), 1);
  }
  EXPECT_EQ(ReadBytes(file), prima);
  {
    Scripted s(t, "press Command1\n");
    MostraEditacfg();
  }
  const QList<QByteArray> r = Righe();
  ASSERT_EQ(r.size(), 152);
  EXPECT_EQ(r[0], QByteArray("Cerchio \x96 bordo\r"));
  EXPECT_EQ(r[8], QByteArray("\r"));  // the element without a name is written back as it was
  EXPECT_EQ(r[120], QByteArray("Colore \xF8 1\r"));
  EXPECT_EQ(r[15], QByteArray("Courier New\r"));
  EXPECT_EQ(r[3], QByteArray("Arial\r"));  // shown through the font that stands for it, written as it was
  EXPECT_EQ(r[121], QByteArray("1000\r"));
  EXPECT_EQ(r[150], QByteArray("1.5\r"));
  EXPECT_EQ(r[151], QByteArray("2\r"));
}

TEST_F(Penne, TwoElementsOfTheSameNameAreEditedSeparately) {
  Scrivi();
  QStringList elementi;
  QString carattere, atteso = QFontInfo(QFont("Arial")).family();
  plat::RegisterScriptAction("vedi", [&](const QStringList&, QString*) {
    auto* f = qobject_cast<Editacfg*>(plat::FindObject("Editacfg"));
    for (int i = 0; i < f->List1->count(); ++i) elementi << f->List1->item(i)->text();
    carattere = f->List2->currentItem() ? f->List2->currentItem()->text() : QString();
    return f->Option1[1]->isChecked();
  });
  Scripted s(t, "vedi\npick List1 #1\ncheck Option1(0) 1\nset Text1 1.5\npress Command1\n");
  MostraEditacfg();
  ASSERT_EQ(elementi.size(), 29);  // element 3 has no name
  EXPECT_EQ(elementi[0], elementi[1]);
  EXPECT_EQ(carattere, atteso);  // Arial is found through the font that stands for it
  const QList<QByteArray> r = Righe();
  ASSERT_EQ(r.size(), 152);
  EXPECT_EQ(r[1], QByteArray("1\r"));  // element 1 unchanged
  EXPECT_EQ(r[2], QByteArray("0.3\r"));
  EXPECT_EQ(r[5], QByteArray("0\r"));  // element 2: not drawn, 1.5 mm
  EXPECT_EQ(r[6], QByteArray("1.5\r"));
}

TEST_F(Penne, AFileWithoutMarginsGetsThemAndAMissingOrShortFileIsReported) {
  Scrivi(false);
  {
    Scripted s(t, "press Command1\n");
    MostraEditacfg();
  }
  const QList<QByteArray> r = Righe();
  ASSERT_EQ(r.size(), 152);
  EXPECT_EQ(r[150], QByteArray("0\r"));
  EXPECT_EQ(r[151], QByteArray("0\r"));
  for (const QByteArray& contenuto : {QByteArray(), QByteArray("Titoli\r\n1\r\n0.3\r\nArial\r\n")}) {
    if (contenuto.isEmpty()) QFile::remove(file);
    else ASSERT_TRUE(plat::WriteWholeFile(file, contenuto));
    Scripted s(t, "answer OK\n");
    MostraEditacfg();
    EXPECT_TRUE(s.Log("form").isEmpty());
    ASSERT_EQ(s.Log("msgbox").size(), 1);
    EXPECT_TRUE(s.Log("msgbox")[0].contains("La tabella delle penne manca o e' incompleta"));
    EXPECT_EQ(ReadBytes(file), contenuto);
  }
}

// A thickness above 0 and at most a few millimetres, margins from 0 to less than half the page: what lies outside
// is refused with a message and shown again for correction; a decimal comma counts as a point.
TEST_F(Penne, ThicknessesAndMarginsOutsideTheirRangesAreRefusedAndACommaIsAPoint) {
  Scrivi();
  Scripted s(t,
             "pick List1 #1\nset Text1 1e300\npick List1 #3\npress Command1\nanswer OK \"0.01; 5\"\n"
             "set Text1 -5\npress Command1\nanswer OK \"0.01; 5\"\nset Text1 0\npress Command1\nanswer OK\n"
             "set Text1 1,5\nset Text2 -100\npress Command1\nanswer OK \"0; 10\"\nset Text2 0,5\n"
             "set Text3 20\npress Command1\nanswer OK \"0; 10\"\nset Text3 2,25\npress Command1\n");
  MostraEditacfg();
  const QStringList m = s.Log("msgbox");
  ASSERT_EQ(m.size(), 5);
  // The element refused is the one typed, shown again in the list.
  EXPECT_TRUE(m[0].contains(" bordo - Spessore (mm)\t")) << m[0].toStdString();
  EXPECT_TRUE(m[3].contains("\tMargini (cm) - Sinistro\t")) << m[3].toStdString();
  EXPECT_TRUE(m[4].contains("\tMargini (cm) - Superiore\t")) << m[4].toStdString();
  const QList<QByteArray> r = Righe();
  ASSERT_EQ(r.size(), 152);
  EXPECT_EQ(r[6], QByteArray("1.5\r"));  // element 2
  EXPECT_EQ(r[2], QByteArray("0.3\r"));  // element 1, never typed in
  EXPECT_EQ(r[150], QByteArray("0.5\r"));
  EXPECT_EQ(r[151], QByteArray("2.25\r"));
}

// A typed value that is no number, or nothing at all, is refused with the range message: never stored as 0, nor as
// the number it begins with.
TEST_F(Penne, TypedValuesThatAreNoNumberAreRefusedNotStoredAsZero) {
  Scrivi();
  Scripted s(t,
             "pick List1 #1\nset Text1 0.3mm\npress Command1\nanswer OK \"0.01; 5\"\nset Text1 0.4\n"
             "set Text2 abc\npress Command1\nanswer OK \"0; 10\"\nset Text2\npress Command1\n"
             "answer OK \"0; 10\"\nset Text2 1,5\nset Text3 2cm\npress Command1\nanswer OK \"0; 10\"\n"
             "set Text3 2\npress Command1\n");
  MostraEditacfg();
  const QStringList m = s.Log("msgbox");
  ASSERT_EQ(m.size(), 4);
  EXPECT_TRUE(m[0].contains(" - Spessore (mm)\t")) << m[0].toStdString();
  EXPECT_TRUE(m[1].contains("\tMargini (cm) - Sinistro\t")) << m[1].toStdString();
  EXPECT_TRUE(m[2].contains("\tMargini (cm) - Sinistro\t")) << m[2].toStdString();
  EXPECT_TRUE(m[3].contains("\tMargini (cm) - Superiore\t")) << m[3].toStdString();
  const QList<QByteArray> r = Righe();
  ASSERT_EQ(r.size(), 152);
  EXPECT_EQ(r[6], QByteArray("0.4\r"));  // element 2
  EXPECT_EQ(r[150], QByteArray("1.5\r"));
  EXPECT_EQ(r[151], QByteArray("2\r"));
}

// A colour named with a letter the pen table cannot hold ("Rosso Ω") is refused with a message naming it and asked
// again; the extremes the editor takes (thickness 0.01 and 5 mm, margins 0 and 10 cm) are read back by the
// plotting library's reader.
TEST_F(Penne, AColourNameTheTableCannotHoldIsAskedAgainAndTheExtremesReadBack) {
  Scrivi();
  plat::RegisterScriptAction("doppioclic", [](const QStringList& a, QString*) {
    auto* f = qobject_cast<Editacfg*>(plat::FindObject("Editacfg"));
    if (!f) return false;
    QTest::mouseDClick(f->Option1[a.value(0).toInt()], Qt::LeftButton);
    return true;
  });
  plat::RegisterScriptAction("colore", [](const QStringList& a, QString*) {
    auto* d = qobject_cast<QColorDialog*>(plat::FindObject("CMDialog1"));
    if (!d) return false;
    d->setCurrentColor(QColor(a.value(0)));
    d->accept();
    return true;
  });
  Scripted s(t, "pick List1 #1\ndoppioclic 4\ncolore #c00000\ninput \"Rosso Ω\"\nanswer OK \"(U+03A9)\"\n"
                "input Rosso\nset Text1 0.01\npick List1 #2\nset Text1 5\nset Text2 0\nset Text3 10\npress Command1\n");
  MostraEditacfg();
  const QStringList m = s.Log("msgbox");
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].contains("\"Ω\" (U+03A9)")) << m[0].toStdString();
  EXPECT_EQ(Righe()[126], QByteArray("Rosso\r"));
  TabellaPenne letta;
  ASSERT_EQ(LeggiFileTabellaPenne(file, letta), EsitoPenne::Letta);
  EXPECT_EQ(letta.NomiColori[4], QString("Rosso"));
  EXPECT_EQ(letta.ValoriColori[4], 0xC0);
  EXPECT_EQ(letta.SpessoriElementi[2], 0.01);
  EXPECT_EQ(letta.SpessoriElementi[4], 5);
  EXPECT_EQ(letta.MargineSinistro, 0);
  EXPECT_EQ(letta.MargineSuperiore, 10);
}

// The message names the pen table as the file is named, whatever the letter case of the language code, with the
// line where it ends short.
TEST_F(Penne, TheMessageNamesThePenTableAsItIsNamed) {
  Avvio.CodiceLingua = "ita";
  ASSERT_TRUE(plat::WriteWholeFile(file, "Titoli\r\n1\r\n0.3\r\nArial\r\n"));
  Scripted s(t, "answer OK\n");
  MostraEditacfg();
  ASSERT_EQ(s.Log("msgbox").size(), 1);
  EXPECT_TRUE(s.Log("msgbox")[0].contains("\\nkorvenITA.CFG, riga 5\\n")) << s.Log("msgbox")[0].toStdString();
}

}  // namespace
