// Configuration, selection criteria, sheet list and the session helpers.
#include "common/platform/files.h"
#include "common/texts/avvio.h"
#include "main/session/configurazione.h"
#include "common/data/elencoschede.h"
#include "main/session/scheda.h"
#include "main/session/selezione.h"
#include "main/session/sessione.h"
#include "tests/support/support.h"

#include <QDir>
#include <QRegularExpression>

#include <clocale>

#include <gtest/gtest.h>

using testing_support::ReadAnsi;
using testing_support::ReadBytes;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

// One line of a configuration in six columns: the value of column k is "<testo><k>" unless all are the same.
QString Riga(const QString& testo, bool tutte = false) {
  QStringList c;
  for (int k = 1; k <= 6; ++k) c << (tutte ? testo : QString("%1%2").arg(testo).arg(k));
  return c.join('\t') + "\n";
}

// A configuration whose code-valued fields have the given numbers of codes (the other fields numeric).
QString Configurazione14(const std::array<int, 15>& codici) {
  QString out;
  for (int i = 1; i <= 14; ++i) {
    const int n = codici[static_cast<std::size_t>(i)];
    const bool aCodici = n >= 0;
    out += Riga(QString::number(std::max(n, 0)), true) + Riga(QString("T%1 ").arg(i)) + Riga(QString(" Campo%1-").arg(i));
    out += aCodici ? Riga("0", true) + Riga("0", true) : Riga("1", true) + Riga("99", true);
    for (int j = 1; j <= n; ++j) out += Riga(QString("Significato%1.%2-").arg(j).arg(i));
    for (int j = 1; j <= n; ++j) out += Riga(QString("C%1").arg(j), true);
  }
  return out;
}

const std::array<int, 15> kUsuale = {0, -1, -1, 3, -1, -1, 2, 2, 2, 2, 4, -1, 2, 3, 2};

TEST(Configurazione, TheColumnOfTheLanguageIsTakenBlanksRemoved) {
  TestFolder t;
  WriteAnsi(t.D("c.cfg"), Configurazione14(kUsuale));
  ModuloConfigurazione c;
  QString errore;
  ASSERT_TRUE(LeggiFileConfigurazione(t.D("C.CFG"), 5, c, &errore)) << errore.toStdString();
  EXPECT_EQ(c.DescrizioneColonna[3], QString("Campo3-5"));
  EXPECT_EQ(c.TestoAggiuntivoColonna[3], QString("T3 5"));
  EXPECT_EQ(c.NumeroCodici(3), 3);
  EXPECT_EQ(c.NumeroCodici(4), 0);  // a numeric field
  EXPECT_EQ(c.SignificatiCodici[2][3], QString("Significato2.3-5"));
  EXPECT_EQ(c.CodiciColonna[2][3], QString("C2"));
  EXPECT_EQ(c.LegendaColonna[2], QString("C1=Significato1.3-5, C2=Significato2.3-5, C3=Significato3.3-5"));
  EXPECT_TRUE(c.LegendaColonna[3].isEmpty());
  ASSERT_TRUE(LeggiFileConfigurazione(t.D("c.cfg"), 1, c, &errore));
  EXPECT_EQ(c.DescrizioneColonna[14], QString("Campo14-1"));
  for (int i = 1; i <= 14; ++i) {
    EXPECT_EQ(c.InizioColonna[static_cast<std::size_t>(i)], kInizioCampo[static_cast<std::size_t>(i)]);
    EXPECT_EQ(c.LarghezzaColonna[static_cast<std::size_t>(i)], kLarghezzaCampo[static_cast<std::size_t>(i)]);
  }
}

TEST(Configurazione, ACodeBlockWithoutCodesConsumesNoLines) {
  TestFolder t;
  std::array<int, 15> codici = kUsuale;
  codici[3] = 0;
  WriteAnsi(t.D("c.cfg"), Configurazione14(codici));
  ModuloConfigurazione c;
  ASSERT_TRUE(LeggiFileConfigurazione(t.D("c.cfg"), 2, c, nullptr));
  EXPECT_TRUE(c.ACodici(3));
  EXPECT_EQ(c.NumeroCodici(3), 0);
  EXPECT_TRUE(c.LegendaColonna[2].isEmpty());
  EXPECT_EQ(c.DescrizioneColonna[4], QString("Campo4-2"));
}

TEST(Configurazione, BadFilesAreRefusedAndLeaveTheConfigurationEmpty) {
  TestFolder t;
  ModuloConfigurazione c;
  QString errore;
  // Too few language columns on line 3.
  QString pochi = Configurazione14(kUsuale);
  QStringList righe = pochi.split('\n');
  righe[2] = "Solo\tdue";
  WriteAnsi(t.D("colonne.cfg"), righe.join('\n'));
  EXPECT_FALSE(LeggiFileConfigurazione(t.D("colonne.cfg"), 3, c, &errore));
  EXPECT_TRUE(errore.startsWith("colonne.cfg, riga 3\n")) << errore.toStdString();
  EXPECT_FALSE(c.Letta);
  EXPECT_TRUE(c.DescrizioneColonna[1].isEmpty());
  EXPECT_TRUE(LeggiFileConfigurazione(t.D("colonne.cfg"), 2, c, &errore));  // two columns are enough for German
  // A file that ends inside its blocks.
  WriteAnsi(t.D("corto.cfg"), Configurazione14(kUsuale).left(400));
  EXPECT_FALSE(LeggiFileConfigurazione(t.D("corto.cfg"), 1, c, &errore));
  // More codes than a field of the configuration may hold, and a count that is no whole number.
  std::array<int, 15> codici = kUsuale;
  codici[13] = 23;
  WriteAnsi(t.D("codici.cfg"), Configurazione14(codici));
  EXPECT_FALSE(LeggiFileConfigurazione(t.D("codici.cfg"), 1, c, &errore));
  WriteAnsi(t.D("meta.cfg"), Configurazione14(kUsuale).replace(QRegularExpression("^3\t3\t3\t3\t3\t3", QRegularExpression::MultilineOption), "2.5\t2.5\t2.5\t2.5\t2.5\t2.5"));
  EXPECT_FALSE(LeggiFileConfigurazione(t.D("meta.cfg"), 1, c, &errore));
  EXPECT_FALSE(LeggiFileConfigurazione(t.D("manca.cfg"), 1, c, &errore));
}

TEST(Configurazione, TheInstalledFileHoldsFourteenBlocksInSixLanguages) {
  TestFolder t;
  for (int lingua = 1; lingua <= 6; ++lingua) {
    ModuloConfigurazione c;
    QString errore;
    ASSERT_TRUE(LeggiFileConfigurazione(t.P("frattixint.cfg"), lingua, c, &errore)) << errore.toStdString();
    EXPECT_TRUE(ConfigurazioneSelezionabile(c));
    for (int i = 1; i <= 14; ++i) {
      const auto u = static_cast<std::size_t>(i);
      EXPECT_FALSE(c.DescrizioneColonna[u].isEmpty());
      const bool aCodici = i == Ti || i == Lu || i == Sp || i == Ri || i == Ac || i == For || i == Sca || i == Lit ||
                           i == Du;
      EXPECT_EQ(c.ACodici(i), aCodici) << i;
      if (aCodici) {
        EXPECT_GE(c.NumeroCodici(i), 2) << i;
      }
      for (int j = 1; j <= c.NumeroCodici(i); ++j) {
        const auto v = static_cast<std::size_t>(j);
        // The analysis programs compare a record's field at its full width with the code.
        EXPECT_EQ(c.CodiciColonna[v][u].size(), kLarghezzaCampo[u]) << i << " " << j;
        EXPECT_FALSE(c.CodiciColonna[v][u].contains(' '));
        EXPECT_FALSE(c.SignificatiCodici[v][u].contains(','));
        EXPECT_FALSE(c.SignificatiCodici[v][u].isEmpty());
      }
    }
  }
}

class Criteri : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteAnsi(t.D("c.cfg"), Configurazione14(kUsuale));
    ASSERT_TRUE(LeggiFileConfigurazione(t.D("c.cfg"), 1, c, nullptr));
  }
  TestFolder t;
  ModuloConfigurazione c;
};

TEST_F(Criteri, DefaultsAreWrittenInTheFileOrder) {
  ModuloSelezione s;
  CriteriPredefiniti(s);
  ASSERT_TRUE(ScriviFileSelezione(t.D("x.sel"), c, s));
  // Ti 3, Lu 2, Sp 2, Ri 2, Ac 2, Sca 2, Lit 3, Du 2, For 4 flags, then the six range values.
  QStringList righe = ReadAnsi(t.D("x.sel")).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(righe.size(), 22 + 6);
  for (int k = 0; k < 22; ++k) EXPECT_EQ(righe[k], QString(" 1 "));
  EXPECT_EQ(righe.mid(22), (QStringList{"0", "100", "0", "360", "0", "90"}));
}

TEST_F(Criteri, ForComesAfterDuAndValuesComeBackAsWritten) {
  ModuloSelezione s;
  CriteriPredefiniti(s);
  s.CodiciScelti[Ti][2] = 2;
  s.CodiciScelti[Du][2] = 2;
  s.CodiciScelti[For][1] = 2;
  s.AperturaMinima = 10.5;
  s.InclinazioneMassima = 0.5;
  // Points whatever the locale's decimal separator.
  const char* vecchio = std::setlocale(LC_NUMERIC, nullptr);
  const std::string salvato = vecchio ? vecchio : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  ASSERT_TRUE(ScriviFileSelezione(t.D("x.sel"), c, s));
  std::setlocale(LC_NUMERIC, salvato.c_str());
  const QStringList righe = ReadAnsi(t.D("x.sel")).split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(righe[1], QString(" 2 "));   // Ti code 2
  EXPECT_EQ(righe[17], QString(" 2 "));  // Du code 2: Ti 3 + Lu, Sp, Ri, Ac 8 + Sca 2 + Lit 3 = 16 lines before Du
  EXPECT_EQ(righe[18], QString(" 2 "));  // For code 1 right after Du
  EXPECT_EQ(righe[22], QString("10.5"));
  ModuloSelezione letta;
  CriteriPredefiniti(letta);
  ASSERT_EQ(LeggiFileSelezione(t.D("X.SEL"), c, letta), EsitoSelezione::Letta);
  EXPECT_EQ(letta.CodiciScelti, s.CodiciScelti);
  EXPECT_EQ(letta.AperturaMinima, 10.5);
  EXPECT_EQ(letta.InclinazioneMassima, 0.5);
}

TEST_F(Criteri, AMissingOrShortFileLeavesTheCriteria) {
  ModuloSelezione s;
  CriteriPredefiniti(s);
  s.AperturaMassima = 7;
  EXPECT_EQ(LeggiFileSelezione(t.D("manca.sel"), c, s), EsitoSelezione::Mancante);
  WriteAnsi(t.D("corto.sel"), " 1 \n 2 \n 1 \n");
  QString errore;
  EXPECT_EQ(LeggiFileSelezione(t.D("corto.sel"), c, s, &errore), EsitoSelezione::NonValida);
  EXPECT_TRUE(errore.startsWith("corto.sel, riga 4\n")) << errore.toStdString();
  EXPECT_EQ(s.CodiciScelti[Ti][2], 1);
  EXPECT_EQ(s.AperturaMassima, 7);
  WriteAnsi(t.D("lettere.sel"), QString(" 1 \n").repeated(10) + "x\n");
  EXPECT_EQ(LeggiFileSelezione(t.D("lettere.sel"), c, s), EsitoSelezione::NonValida);
}

TEST_F(Criteri, FieldsWithMoreCodesThanFlagsAreNamed) {
  std::array<int, 15> codici = kUsuale;
  codici[Ti] = 11;
  codici[Lit] = 22;
  ModuloConfigurazione grande;
  WriteAnsi(t.D("g.cfg"), Configurazione14(codici));
  ASSERT_TRUE(LeggiFileConfigurazione(t.D("g.cfg"), 1, grande, nullptr));
  QString campo;
  EXPECT_FALSE(ConfigurazioneSelezionabile(grande, &campo));
  EXPECT_EQ(campo, QString("Campo3-1"));
  codici[Ti] = 10;  // Lit may hold up to 30 flags, so 22 codes are fine
  WriteAnsi(t.D("g.cfg"), Configurazione14(codici));
  ASSERT_TRUE(LeggiFileConfigurazione(t.D("g.cfg"), 1, grande, nullptr));
  EXPECT_TRUE(ConfigurazioneSelezionabile(grande));
}

TEST(ElencoSchede, RoundTripEmptyFileAndBadFiles) {
  TestFolder t;
  ASSERT_TRUE(ScriviElencoSchede(t.D("rock.ses"), {"a.sch", "b.sch"}));
  EXPECT_EQ(ReadBytes(t.D("rock.ses")), QByteArray(" 2 \r\na.sch\r\nb.sch\r\n"));
  QStringList nomi;
  EXPECT_EQ(LeggiElencoSchede(t.D("ROCK.SES"), nomi, 500), EsitoElenco::Letto);  // the session file itself
  EXPECT_EQ(nomi, (QStringList{"a.sch", "b.sch"}));
  ASSERT_TRUE(ScriviElencoSchede(t.D("rock.ses"), {}));
  EXPECT_EQ(ReadBytes(t.D("rock.ses")), QByteArray(" 0 \r\n"));
  EXPECT_EQ(LeggiElencoSchede(t.D("rock.ses"), nomi, 500), EsitoElenco::Letto);
  EXPECT_TRUE(nomi.isEmpty());
  WriteAnsi(t.D("vuoto.ses"), "");
  EXPECT_EQ(LeggiElencoSchede(t.D("vuoto.ses"), nomi, 500), EsitoElenco::Letto);
  EXPECT_EQ(LeggiElencoSchede(t.D("manca.ses"), nomi, 500), EsitoElenco::Mancante);
  // A name is a whole line, commas included; more names than the count are not read.
  WriteAnsi(t.D("virgola.ses"), " 1 \nuno,due.sch \naltro.sch\n");
  EXPECT_EQ(LeggiElencoSchede(t.D("virgola.ses"), nomi, 500), EsitoElenco::Letto);
  EXPECT_EQ(nomi, QStringList{"uno,due.sch"});
  QString errore;
  for (const char* male : {" 3 \na.sch\nb.sch\n", " x \n", " -1 \n", " 1.5 \na.sch\n"}) {
    WriteAnsi(t.D("male.ses"), male);
    EXPECT_EQ(LeggiElencoSchede(t.D("male.ses"), nomi, 500, &errore), EsitoElenco::NonValido) << male;
    EXPECT_TRUE(nomi.isEmpty());
  }
  EXPECT_TRUE(errore.startsWith("male.ses, riga 1\n")) << errore.toStdString();
  // More names than the limit: the limit reached, with the count, not a damaged list.
  WriteAnsi(t.D("molte.ses"), " 501 \n");
  EXPECT_EQ(LeggiElencoSchede(t.D("molte.ses"), nomi, 500, &errore), EsitoElenco::TroppeSchede);
  EXPECT_TRUE(errore.startsWith("molte.ses, riga 1\n") && errore.endsWith("\n501 > 500")) << errore.toStdString();
}

TEST(Sessione, StemsPathsAndThePathFile) {
  EXPECT_EQ(StemSessione("Rock.Face.SES"), QString("Rock"));
  EXPECT_EQ(StemSessione("rock"), QString("rock"));
  QString cartella, nome;
  DividiPercorso("/dati/rilievi/Prova.SES", cartella, nome);
  EXPECT_EQ(cartella, QString("/dati/rilievi"));
  EXPECT_EQ(nome, QString("Prova.SES"));
  DividiPercorso("/Prova.SES", cartella, nome);
  EXPECT_EQ(cartella, QString("/"));
  DividiPercorso("D:\\Prova.SES", cartella, nome);
  EXPECT_EQ(cartella, QString("D:\\"));
  EXPECT_EQ(nome, QString("Prova.SES"));
  DividiPercorso("D:\\rilievi\\", cartella, nome);
  EXPECT_EQ(cartella, QString("D:\\rilievi"));
  EXPECT_TRUE(nome.isEmpty());
  DividiPercorso("Prova.SES", cartella, nome);
  EXPECT_TRUE(cartella.isEmpty());

  TestFolder t;
  const QString prima = plat::CurrentFolder();
  EXPECT_EQ(CartellaPath(), plat::JoinPath(t.Program(), "data"));
  EXPECT_EQ(ReadAnsi(t.P("path")), plat::JoinPath(t.Program(), "data") + "\n");
  // The folder is the whole line, commas and blanks in its name with it.
  const QString virgola = t.Root() + "/cava, nord ";
  WriteAnsi(t.P("path"), virgola + "\n");
  EXPECT_EQ(CartellaPath(), virgola);
  EXPECT_EQ(plat::CurrentFolder(), prima);  // reading it never changes the current folder
}

}  // namespace
