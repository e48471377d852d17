// The print settings form driven by script, and its file printer.cfg.
#include "main/reports/confstampa.h"

#include "tests/reports/fixture.h"

#include <QFontDatabase>

namespace report_test {
namespace {

class Impostazioni : public Report {
 protected:
  // Shows the form with the script; returns the log of what was shown.
  QStringList Mostra(const QString& script) {
    Scripted s(t, script);
    MostraConfStampa();
    return s.Log();
  }
  QString File() const { return ReadAnsi(t.P("printer.cfg")); }
  // The entry the form selects for a stored font, as the list names it.
  static QString Voce(const QString& font) {
    const QStringList fonts = QFontDatabase::families();
    const int i = VoceFont(fonts, font);
    return i < 0 ? QString() : fonts.at(i);
  }
};

TEST_F(Impostazioni, DefaultsAndTheRoundTripOfTheFile) {
  ASSERT_FALSE(QFile::exists(t.P("printer.cfg")));
  const QStringList log = Mostra("press Command2\n");
  EXPECT_EQ(log.filter("\tform\tConfStampa\tImpostazioni di stampa").size(), 1);
  // Courier New is matched to its installed metric twin.
  const QString mono = Voce("Courier New");
  ASSERT_FALSE(mono.isEmpty());
  EXPECT_EQ(mono, "Liberation Mono");
  EXPECT_EQ(File(), "0\n0\n0\n70\n10\n\n\n" + mono + "\n0\n");
  EXPECT_FALSE(ImpostazioniStampa.Annulla);
  EXPECT_EQ(ImpostazioniStampa.NomeFont, mono);

  // A file of eight lines loads with top offset 0 and is written back whole, with nine; texts keep their blanks
  // and commas.
  WriteAnsi(t.P("printer.cfg"), "5\n2\n3\n66\n12\n  Cava, fronte est\nPagina\nArial\n");
  Mostra("press Command2\n");
  EXPECT_EQ(File(), "5\n2\n3\n66\n12\n  Cava, fronte est\nPagina\nLiberation Sans\n0\n");

  // The numbers are rounded to whole numbers, halves to even; text gives 0; the top offset keeps its decimals.
  Mostra("set Text1 12.7\nset Text2 12.5\nset Text3 13.5\nset Text4 abc\nset Text5 -3\nset Text6 Testa\n"
         "set Text7 Piede\nset Text8 1.25\npick List1 DejaVu Sans\npress Command2\n");
  EXPECT_EQ(File(), "13\n12\n14\n0\n-3\nTesta\nPiede\nDejaVu Sans\n1.25\n");
}

TEST_F(Impostazioni, CancelAndCloseButtonSaveNothing) {
  WriteAnsi(t.P("printer.cfg"), "1\n1\n1\n60\n9\nA\nB\nDejaVu Sans\n2\n");
  const QString prima = File();
  Mostra("set Text1 7\npress Command3\n");
  EXPECT_TRUE(ImpostazioniStampa.Annulla);
  EXPECT_EQ(File(), prima);
  ImpostazioniStampa.Annulla = false;
  Mostra("set Text1 7\nclose ConfStampa\n");
  EXPECT_TRUE(ImpostazioniStampa.Annulla);
  EXPECT_EQ(File(), prima);
}

// A full disk: the old settings stay as they were, and the failure is said.
TEST_F(Impostazioni, SettingsThatCannotBeWrittenWholeKeepTheOldFileAndAreReported) {
  WriteAnsi(t.P("printer.cfg"), "1\n1\n1\n60\n9\nA\nB\nDejaVu Sans\n2\n");
  const QString prima = File();
  QStringList messaggi;
  {
    Scripted s(t, "set Text6 Intestazione\npress Command2\nanswer OK \"printer.cfg\"\n");
    testing_support::PipeLog log(t.Root() + "/log");
    testing_support::SetEnv("FRATTIX_UI_LOG", log.Path().toLocal8Bit());
    {
      testing_support::FileSizeLimit limite(8);
      MostraConfStampa();
    }
    messaggi = log.Lines().filter("\tmsgbox\t");
  }
  ASSERT_EQ(messaggi.size(), 1);
  EXPECT_TRUE(messaggi[0].contains("non puo' essere scritto")) << messaggi[0].toStdString();
  EXPECT_EQ(File(), prima);
}

TEST_F(Impostazioni, ValuesOutsideTheSixteenBitRangeAreRefused) {
  const QStringList log = Mostra("set Text4 40000\npress Command2\nanswer OK \"32767\"\n"
                                 "set Text4 -32769\npress Command2\nanswer OK\n"
                                 "set Text4 32767\nset Text5 -32768\npress Command2\n");
  EXPECT_EQ(log.filter("\tmsgbox\t").size(), 2);
  EXPECT_TRUE(File().startsWith("0\n0\n0\n32767\n-32768\n"));
}

// The header and the footer are lines of the file: a letter it cannot hold is refused with a message naming it,
// and the settings are saved once it is corrected.
TEST_F(Impostazioni, AHeaderLetterTheFileCannotHoldIsRefused) {
  const QStringList log = Mostra("set Text6 \"Cava di Třebíč\"\npress Command2\nanswer OK \"(U+0159)\"\n"
                                 "set Text6 \"Cava di Trebic\"\nset Text7 \"Ω\"\npress Command2\nanswer OK \"(U+03A9)\"\n"
                                 "set Text7 Pagina\npress Command2\n");
  EXPECT_EQ(log.filter("\tmsgbox\t").size(), 2);
  ImpostazioniFileStampa letta;
  ASSERT_EQ(LeggiFileStampa(t.P("printer.cfg"), letta), EsitoFileStampa::Letto);
  EXPECT_EQ(letta.Intestazione, QString("Cava di Trebic"));
  EXPECT_EQ(letta.PiePagina, QString("Pagina"));
}

// A letter the file cannot hold in a number's field is refused as in every field, never taken as 0; a text of
// letters it holds that is no number still gives 0.
TEST_F(Impostazioni, ANumberLetterTheFileCannotHoldIsRefused) {
  WriteAnsi(t.P("printer.cfg"), "1\n1\n1\n60\n9\nA\nB\nDejaVu Sans\n2\n");
  const QStringList log = Mostra("set Text1 \"\"\nkey Text1 ř\npress Command2\nanswer OK \"(U+0159)\"\n"
                                 "set Text1 5\nset Text8 Ω\npress Command2\nanswer OK \"(U+03A9)\"\n"
                                 "set Text8 x\npress Command2\n");
  const QStringList m = log.filter("\tmsgbox\t");
  ASSERT_EQ(m.size(), 2);
  EXPECT_TRUE(m[0].contains("Il carattere seguente non puo' essere scritto nel file:")) << m[0].toStdString();
  EXPECT_EQ(File(), "5\n1\n1\n60\n9\nA\nB\nDejaVu Sans\n0\n");
}

TEST_F(Impostazioni, DamagedFilesAndMissingFonts) {
  // A saved font this machine lacks falls back to Courier New's twin.
  WriteAnsi(t.P("printer.cfg"), "1\n1\n1\n60\n9\nA\nB\nFont Che Non Esiste\n2\n");
  Mostra("press Command2\n");
  EXPECT_EQ(File(), "1\n1\n1\n60\n9\nA\nB\nLiberation Mono\n2\n");
  // A short file, or a number out of range, is reported and the defaults are shown.
  for (const char* rotto : {"1\n1\n1\n60\n9\nA\n", "1\n1\n1\n99999\n9\nA\nB\nArial\n", "1\nx\n1\n60\n9\nA\nB\nArial\n"}) {
    WriteAnsi(t.P("printer.cfg"), rotto);
    const QStringList log = Mostra("answer OK \"printer.cfg\"\npress Command2\n");
    EXPECT_EQ(log.filter("\tmsgbox\t").size(), 1) << rotto;
    EXPECT_EQ(File(), "0\n0\n0\n70\n10\n\n\nLiberation Mono\n0\n") << rotto;
  }
  ImpostazioniFileStampa s;
  EXPECT_EQ(LeggiFileStampa(t.P("manca.cfg"), s), EsitoFileStampa::Mancante);
  EXPECT_EQ(s.LunghezzaPagina, 70);
}

// Each number of printer.cfg stands alone on its line, and nothing but blank lines follows the offset: a second
// number on a line, a line more, a CR that ends no line or a folder at the name is damage, told with the line;
// the form shows the defaults. Blank lines at the end are no damage.
TEST_F(Impostazioni, ALineWithMoreThanItsNumberOrALineMoreIsDamage) {
  const struct {
    QByteArray testo;  // empty: a folder at the name
    int riga;
  } casi[] = {
      {"1\r\n1\r\n1\r\n60\r\n9\r\nA\r\nB\r\nArial\r\n2 3\r\n", 9},
      {"1\r\n1\r\n1\r\n60\r\n9\r\nA\r\nB\r\nArial\r\n2\r\naltro\r\n", 10},
      {"1\r\n1 5\r\n1\r\n60\r\n9\r\nA\r\nB\r\nArial\r\n2\r\n", 2},
      {"1\r\n1\r\n1\r\n60\r\n9,5\r\nA\r\nB\r\nArial\r\n2\r\n", 5},
      {"1\r\n1\r\n1\r\n60\r\n9\r\nA\r\nB\rC\r\nArial\r\n2\r\n", 7},
      {QByteArray(), 0},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.testo.toStdString());
    QFile::remove(t.P("printer.cfg"));
    if (c.testo.isEmpty()) {
      ASSERT_TRUE(QDir(t.Program()).mkdir("printer.cfg"));
    } else {
      QFile f(t.P("printer.cfg"));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(c.testo);
    }
    ImpostazioniFileStampa s;
    int riga = -1;
    EXPECT_EQ(LeggiFileStampa(t.P("printer.cfg"), s, &riga), EsitoFileStampa::NonValido);
    EXPECT_EQ(riga, c.riga);
    EXPECT_EQ(s.LunghezzaPagina, 70);
    const QStringList log = Mostra("answer OK \"printer.cfg\"\npress Command3\n");
    ASSERT_EQ(log.filter("\tmsgbox\t").size(), 1);
    const QString dove = c.riga ? QString("printer.cfg, riga %1\\n").arg(c.riga) : QString("printer.cfg\\n");
    EXPECT_TRUE(log.filter("\tmsgbox\t")[0].contains("incompleto o danneggiato:\\n" + dove)) << log.join("\n").toStdString();
    QDir(t.P("printer.cfg")).removeRecursively();
  }
  WriteAnsi(t.P("printer.cfg"), "1\n1\n1\n60\n9\nA\nB\nArial\n2\n\n  \n");
  ImpostazioniFileStampa s;
  EXPECT_EQ(LeggiFileStampa(t.P("printer.cfg"), s), EsitoFileStampa::Letto);
  EXPECT_EQ(s.OffsetSuperiore, 2);
}

}  // namespace
}  // namespace report_test
