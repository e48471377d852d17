#include "common/platform/files.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QDir>

#include <gtest/gtest.h>

using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

QString Record(const QStringList& six) {
  QString out;
  for (const QString& s : six) out += s + "\n-----\n";
  return out;
}

// A small table in German with the test texts of the lookup.
class Lookup : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteAnsi(t.P("t1.txt"), Record({"Annulla", "Abbrechen", "Annuler", "Cancelar", "Cancel", "Cancelar"}) +
                                 Record({"Scheda", "@", "Fiche", "Ficha", "Sheet", "Ficha"}) +
                                 Record({"Famiglia", "@", "@", "@", "@", "@"}) +
                                 Record({"Vuoto", "", "", "", "", ""}) +
                                 Record({"[mm]", "[MM]", "[mm]", "[mm]", "[mm]", "[mm]"}) +
                                 Record({"NO", "NEIN", "NON", "NO", "NO", "NÃO"}));
    AzzeraTesti(800);
    QString error;
    ASSERT_TRUE(CaricaTesti(t.P("t1.txt"), &error)) << error.toStdString();
    OrdinaTesti();
    Avvio.NumeroLingua = 2;
    Avvio.CodiceLingua = "deu";
    Avvio.ModoProva = false;
    Testi.RegolaParentesi = true;
  }
  TestFolder t{false};
};

}  // namespace

TEST_F(Lookup, ItalianAndBracketsComeBackTrimmed) {
  Avvio.NumeroLingua = 1;
  EXPECT_EQ(Traduci("  Annulla  "), QString("Annulla"));
  Avvio.NumeroLingua = 2;
  EXPECT_EQ(Traduci("[°]"), QString("[°]"));
  EXPECT_EQ(Traduci("[m/s]"), QString("[m/s]"));
  EXPECT_EQ(Traduci("[mm]"), QString("[mm]"));
  EXPECT_EQ(Traduci(" [mm]"), QString("[MM]"));  // a blank before the bracket: looked up
  Testi.RegolaParentesi = false;                   // wenlow
  EXPECT_EQ(Traduci("[mm]"), QString("[MM]"));
}

TEST_F(Lookup, LetterCaseFollowsTheKey) {
  EXPECT_EQ(Traduci("Annulla"), QString("Abbrechen"));  // as stored: untouched
  EXPECT_EQ(Traduci("ANNULLA"), QString("ABBRECHEN"));
  EXPECT_EQ(Traduci("annulla"), QString("abbrechen"));
  EXPECT_EQ(Traduci("aNNULLA"), QString("ABBRECHEN"));  // mixed: capitals
  Avvio.NumeroLingua = 6;
  EXPECT_EQ(Traduci("no"), QString("não"));
  EXPECT_EQ(Traduci("No"), QString("Não"));
}

TEST_F(Lookup, FallbacksToEnglishAndToTheKey) {
  EXPECT_EQ(Traduci("Scheda"), QString("Sheet"));
  EXPECT_EQ(Traduci("Famiglia"), QString("Famiglia"));
  EXPECT_EQ(Traduci(" Non c'e' "), QString("Non c'e'"));
  EXPECT_EQ(Traduci("Ann ulla"), QString("Ann ulla"));  // blanks inside are part of the key
  EXPECT_EQ(Traduci(""), QString());
  EXPECT_EQ(Traduci("VUOTO"), QString());  // an empty translation stays empty
}

TEST_F(Lookup, TestModeReportsInMessageBoxes) {
  testing_support::Scripted scripted(t, "answer ok\nanswer ok\nanswer ok\nanswer ok\nanswer ok\n");
  Avvio.ModoProva = true;
  Traduci("Mancante");
  Traduci("Famiglia");  // not in German, nor in English: two boxes
  Traduci("ANNULLA");
  Traduci("no");        // no case warning for NO
  Avvio.ModoProva = false;
  const QStringList log = scripted.Log();
  ASSERT_EQ(log.size(), 4);
  EXPECT_TRUE(log[0].contains("\tTesto Mancante\tMancante"));
  EXPECT_TRUE(log[1].contains("\tTesto Non Tradotto in deu\tFamiglia"));
  EXPECT_TRUE(log[2].contains("\tTesto Non Tradotto Neanche in Inglese\tFamiglia"));
  EXPECT_TRUE(log[3].contains("\tVerificare maiuscole\tANNULLA\\nABBRECHEN"));
}

TEST(TextTable, SortAndDuplicateKeys) {
  TestFolder t(false);
  QString table;
  const QStringList keys = {"zeta", "Alfa", "beta", "ALFA", "gamma", "Delta", "epsilon"};
  for (int i = 0; i < keys.size(); ++i)
    table += Record({keys[i], QString("de%1").arg(i), "f", "s", "e", "p"});
  WriteAnsi(t.P("t.txt"), table);
  AzzeraTesti(800);
  ASSERT_TRUE(CaricaTesti(t.P("t.txt"), nullptr));
  EXPECT_EQ(Testi.NumeroTesti, 7);
  OrdinaTesti();
  QStringList sorted;
  for (int i = 1; i <= Testi.NumeroTesti; ++i) sorted << Testi.TabellaTesti[i][1].toUpper();
  QStringList expected = sorted;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(sorted, expected);
  Avvio.NumeroLingua = 2;
  // Both "Alfa" rows share the key. The shell sort's passes (gaps 3 and 1) leave the "ALFA" row in row 1 and the
  // "Alfa" row after it, and the search tries row 1 first: "Alfa" finds the "ALFA" row and takes its translation
  // with the case of the key written, a capital and the rest small; "ALFA" finds the same row as it is written.
  EXPECT_EQ(Traduci("Alfa"), QString("De3"));
  EXPECT_EQ(Traduci("ALFA"), QString("de3"));
  EXPECT_EQ(Testi.TabellaTesti[1][1], QString("ALFA"));
  EXPECT_EQ(Testi.TabellaTesti[2][1], QString("Alfa"));
  EXPECT_EQ(Traduci("zeta"), QString("de0"));
}

TEST(TextTable, DistinctKeysAreSortedWithTheirRowsAndAllFound) {
  TestFolder t(false);
  QString table;
  QStringList keys;
  for (int i = 0; i < 300; ++i) {
    // Keys in no order, some differing only after a common stem, mixed case.
    const QString key = QString(i % 3 ? "Voce %1" : "voce %1 bis").arg(i * 7919 % 300);
    keys << key;
    table += Record({key, "de " + key, "fr", "es", "en " + key, "pt"});
  }
  WriteAnsi(t.P("t.txt"), table);
  AzzeraTesti(800);
  ASSERT_TRUE(CaricaTesti(t.P("t.txt"), nullptr));
  OrdinaTesti();
  ASSERT_EQ(Testi.NumeroTesti, 300);
  for (int i = 1; i <= 300; ++i) {
    EXPECT_EQ(Testi.ChiaviMaiuscole[i], Testi.TabellaTesti[i][1].toUpper());
    EXPECT_EQ(Testi.TabellaTesti[i][2], "de " + Testi.TabellaTesti[i][1]);
    EXPECT_EQ(Testi.TabellaTesti[i][5], "en " + Testi.TabellaTesti[i][1]);
    if (i > 1) {
      EXPECT_LT(Testi.ChiaviMaiuscole[i - 1], Testi.ChiaviMaiuscole[i]);
    }
  }
  Avvio.NumeroLingua = 2;
  for (const QString& key : keys) EXPECT_EQ(Traduci(key), "de " + key);
  Avvio.NumeroLingua = 1;
}

TEST(TextTable, TheSecondFileContinuesAndLimitsHold) {
  TestFolder t(false);
  WriteAnsi(t.P("a.txt"), Record({"uno", "eins", "un", "uno", "one", "um"}));
  WriteAnsi(t.P("b.txt"), Record({"due", "zwei", "deux", "dos", "two", "dois"}) + "\n\n");
  AzzeraTesti(2);
  ASSERT_TRUE(CaricaTesti(t.P("a.txt"), nullptr));
  ASSERT_TRUE(CaricaTesti(t.P("b.txt"), nullptr));  // blank lines at the end are no record
  EXPECT_EQ(Testi.NumeroTesti, 2);
  QString error;
  EXPECT_FALSE(CaricaTesti(t.P("a.txt"), &error));  // a third text does not fit
  EXPECT_TRUE(error.contains("more than 2 texts"));

  WriteAnsi(t.P("short.txt"), Record({"uno", "eins", "un", "uno", "one", "um"}) + "due\n-\nzwei\n-\n");
  AzzeraTesti(800);
  EXPECT_FALSE(CaricaTesti(t.P("short.txt"), &error));
  EXPECT_TRUE(error.contains("line 13")) << error.toStdString();
  EXPECT_FALSE(CaricaTesti(t.P("missing.txt"), &error));
  EXPECT_TRUE(error.contains("missing"));

  // A separator line missing: refused at the line where it should stand, never read shifted.
  WriteAnsi(t.P("nosep.txt"), Record({"uno", "eins", "un", "uno", "one", "um"}) +
                                  "Titolo\nTitel\n-----\nTitre\n-----\nx\n-----\ny\n-----\nz\n-----\nw\n-----\n");
  AzzeraTesti(800);
  EXPECT_FALSE(CaricaTesti(t.P("nosep.txt"), &error));
  EXPECT_TRUE(error.contains("line 14")) << error.toStdString();
  WriteAnsi(t.P("blanksep.txt"), "uno\n\neins\n-\nun\n-\nuno\n-\none\n-\num\n-\n");
  EXPECT_FALSE(CaricaTesti(t.P("blanksep.txt"), &error));
  EXPECT_TRUE(error.contains("line 2")) << error.toStdString();

  // The last separator line may be missing.
  WriteAnsi(t.P("nolast.txt"), "uno\n-\neins\n-\nun\n-\nuno\n-\none\n-\num");
  AzzeraTesti(800);
  ASSERT_TRUE(CaricaTesti(t.P("nolast.txt"), nullptr));
  EXPECT_EQ(Testi.TabellaTesti[1][6], QString("um"));
}

namespace {

// A message names a file by its name (with the line, when there is one) and, on the next line, its folder.
TEST(DescrizioneFile, NameLineAndFolderInTheLanguageOfTheSession) {
  TestFolder t;
  const QString prima = plat::CurrentFolder();
  ASSERT_TRUE(QDir().mkpath(t.D("Rilievi")));
  WriteAnsi(t.D("Rilievi/Rock.SEL"), " 1 \n");
  ASSERT_TRUE(plat::ChangeFolder(t.D("rilievi")));
  const QString cartella = QDir::toNativeSeparators(t.D("Rilievi"));
  Avvio.NumeroLingua = 1;
  // A bare name is found in the current folder, in the letter case it has on disk.
  EXPECT_EQ(DescrizioneFile("rock.sel", 12), "Rock.SEL, riga 12\nCartella: " + cartella);
  EXPECT_EQ(DescrizioneFile(t.D("Rilievi/Rock.SEL")), "Rock.SEL\nCartella: " + cartella);
  // A file still to be written keeps its name as given.
  EXPECT_EQ(DescrizioneFile("nuova.ses"), "nuova.ses\nCartella: " + cartella);
  EXPECT_EQ(DescrizioneFile(QString(), 3), QString());

  AzzeraTesti(800);
  ASSERT_TRUE(CaricaTesti(t.P("texts01.txt"), nullptr));
  ASSERT_TRUE(CaricaTesti(t.P("texts03.txt"), nullptr));
  OrdinaTesti();
  Avvio.NumeroLingua = 5;
  EXPECT_EQ(DescrizioneFile(t.P("frattixint.cfg"), 7),
            "frattixint.cfg, line 7\nFolder: " + QDir::toNativeSeparators(t.Program()));
  Avvio.NumeroLingua = 1;
  plat::ChangeFolder(prima);
}

}  // namespace
