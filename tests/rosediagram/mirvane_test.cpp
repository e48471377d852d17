// Loading of the star diagram program: the hand-over file read and written back, the selection of the records,
// the distinct orientations, the limit and the titles.
#include "common/data/configurazione.h"
#include "common/data/selezione.h"
#include "common/texts/avvio.h"
#include "rosediagram/diagramma.h"
#include "rosediagram/mirvane.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

using testing_support::ReadBytes;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

// A discontinuity record with the given type, dip direction, dip and aperture; the other fields as on a sheet.
QString Record(const QString& tipo, const QString& immersione, const QString& inclinazione,
               const QString& apertura = QStringLiteral("0")) {
  QString r(52, QLatin1Char(' '));
  const auto metti = [&r](int inizio, int larghezza, const QString& v) {
    r.replace(inizio - 1, larghezza, v.leftJustified(larghezza, QLatin1Char(' '), true));
  };
  metti(2, 2, QStringLiteral("1"));
  metti(5, 4, QStringLiteral("2.5"));
  metti(10, 2, tipo);
  metti(13, 3, immersione);
  metti(17, 3, inclinazione);
  metti(21, 1, QStringLiteral("2"));
  metti(29, 3, QStringLiteral("PLA"));
  metti(33, 2, apertura);
  metti(40, 3, QStringLiteral("CAL"));
  return r;
}
QString Record(int immersione, int inclinazione) {
  return Record(QStringLiteral("GI"), QString::number(immersione), QString::number(inclinazione));
}

QString Scheda(const QStringList& record) {
  QString s = QStringLiteral("Fronte\nGradone\n120/15\nSquadra\n38.5\n12/05/2025\n\n\n\n %1 \n").arg(record.size());
  for (const QString& r : record) s += r + QLatin1Char('\n');
  return s;
}

// The worked data set: dip direction/dip pairs and the sector counts they give.
const std::vector<std::pair<int, int>> kInsieme = {{45, 30}, {45, 30}, {45, 60}, {90, 10},  {80, 20}, {0, 40},
                                                   {360, 40}, {355, 50}, {350, 50}, {150, 70}, {275, 85}};

class Caricamento : public ::testing::Test {
 protected:
  void SetUp() override {
    Avvio.NumeroLingua = 1;
    Avvio.CodiceLingua = QStringLiteral("ita");
    Mirvane = ModuloMirvane{};
  }
  // The hand-over file of the star-diagram command for the given sheets of session prova.ses.
  void Passaggio(const QStringList& schede, const QString& intestazione = QStringLiteral(" 0 \n 0 \n 0 \n")) {
    QString testo = intestazione + QStringLiteral(" %1 \n").arg(schede.size());
    for (const QString& s : schede) testo += s + QLatin1Char('\n');
    WriteAnsi(t.P("temporan"), testo + QStringLiteral("prova.ses\n"));
  }
  EsitoCaricamento Carica() {
    QString errore;
    if (!LeggiPassaggioMirvane(&errore)) {
      ADD_FAILURE() << errore.toStdString();
      return EsitoCaricamento::Errore;
    }
    messaggio.clear();
    return CaricaDiscontinuita(&messaggio);
  }
  // Selection criteria of the session: every code kept but those given, and the six bounds.
  void Criteri(const std::vector<std::pair<int, int>>& scartati, std::array<double, 6> limiti) {
    ModuloConfigurazione c;
    ASSERT_TRUE(LeggiFileConfigurazione(t.P("frattixint.cfg"), 1, c, nullptr));
    ModuloSelezione s;
    CriteriPredefiniti(s);
    for (const auto& [campo, codice] : scartati) s.CodiciScelti[campo][codice] = 2;
    s.AperturaMinima = limiti[0];
    s.AperturaMassima = limiti[1];
    s.ImmersioneMinima = limiti[2];
    s.ImmersioneMassima = limiti[3];
    s.InclinazioneMinima = limiti[4];
    s.InclinazioneMassima = limiti[5];
    ASSERT_TRUE(ScriviFileSelezione(t.D("PROVA.SEL"), c, s));
  }

  TestFolder t;
  QString messaggio;
};

TEST_F(Caricamento, TheHandOverFileIsWrittenBackWithTheIndexOneInThePlaceOfZero) {
  WriteAnsi(t.D("a.sch"), Scheda({Record(10, 10)}));
  Passaggio({"a.sch", "sub dir/b, c.sch"});
  ASSERT_EQ(Carica(), EsitoCaricamento::Errore);  // the second sheet is missing
  EXPECT_TRUE(messaggio.contains("b, c.sch\n") && messaggio.contains("/sub dir")) << messaggio.toStdString();
  QString errore;
  ASSERT_TRUE(RiscriviPassaggio(&errore));
  EXPECT_EQ(ReadBytes(t.P("temporan")),
            QByteArray(" 1 \r\n 0 \r\n 0 \r\n 2 \r\na.sch\r\nsub dir/b, c.sch\r\nprova.ses\r\n"));

  // Every item but a 0 index comes back as it was, an empty third line included.
  Passaggio({"a.sch"}, QStringLiteral("3\n-2\n\n"));
  ASSERT_EQ(Carica(), EsitoCaricamento::Caricato);
  ASSERT_TRUE(RiscriviPassaggio(&errore));
  EXPECT_EQ(ReadBytes(t.P("temporan")), QByteArray(" 3 \r\n-2 \r\n\r\n 1 \r\na.sch\r\nprova.ses\r\n"));
}

TEST_F(Caricamento, HandOverFilesThatCannotBeReadAreReported) {
  QString errore;
  EXPECT_FALSE(LeggiPassaggioMirvane(&errore));
  EXPECT_TRUE(errore.contains("temporan")) << errore.toStdString();
  WriteAnsi(t.P("temporan"), " 0 \n 0 \n 0 \n 2 \na.sch\n");
  EXPECT_FALSE(LeggiPassaggioMirvane(&errore));
  EXPECT_TRUE(errore.contains("riga 6")) << errore.toStdString();
  // At most 1000 sheet names.
  QStringList molte;
  for (int i = 0; i < 1001; ++i) molte << QStringLiteral("s%1.sch").arg(i);
  Passaggio(molte);
  EXPECT_FALSE(LeggiPassaggioMirvane(&errore));
}

TEST_F(Caricamento, TheWorkedDataSetGivesItsSectorCounts) {
  QStringList record;
  for (const auto& [imm, inc] : kInsieme) record << Record(imm, inc);
  WriteAnsi(t.D("a.sch"), Scheda(record.mid(0, 6)));
  WriteAnsi(t.D("B.SCH"), Scheda(record.mid(6)));
  Passaggio({"a.sch", "b.sch"});
  ASSERT_EQ(Carica(), EsitoCaricamento::Caricato) << messaggio.toStdString();
  // 45/30 twice is one orientation; 0/40 and 360/40 are two.
  EXPECT_EQ(Mirvane.AngoliImmersione, (std::vector<double>{45, 45, 90, 80, 0, 360, 355, 350, 150, 275}));
  EXPECT_EQ(Mirvane.AngoliInclinazione, (std::vector<double>{30, 60, 10, 20, 40, 40, 50, 50, 70, 85}));
  std::array<int, 37> atteso{};
  atteso[1] = 1, atteso[2] = 1, atteso[5] = 2, atteso[10] = 3, atteso[11] = 1, atteso[18] = 1, atteso[31] = 1;
  EXPECT_EQ(ContaSettori(Mirvane.AngoliImmersione), atteso);
}

TEST_F(Caricamento, WithoutCriteriaTheAnalysisDefaultsHold) {
  QString vuoti20(20, QLatin1Char(' '));
  WriteAnsi(t.D("a.sch"), Scheda({Record("GI", "360", "90", "0"), Record("FA", "20", "30", "99"),
                                  vuoti20 + Record(30, 30).mid(20)}));
  Passaggio({"a.sch"});
  ASSERT_EQ(Carica(), EsitoCaricamento::Caricato);
  // Imm 360 and Inc 90 are inside (bounds included); a record whose first 20 characters are blank is no
  // discontinuity, whatever the rest of the line holds.
  EXPECT_EQ(Mirvane.AngoliImmersione, (std::vector<double>{360, 20}));
  EXPECT_EQ(Mirvane.TitoliDiagramma, TitoliSessione{});
}

TEST_F(Caricamento, TheSessionCriteriaSelectTheRecords) {
  WriteAnsi(t.D("a.sch"), Scheda({Record("GI", "10", "30"), Record("FA", "20", "30"), Record("GI", "30", "30", "7"),
                                  Record("GI", "200", "30"), Record("GI", "40", "80"), Record("GI", "50", "30")}));
  Passaggio({"a.sch"});
  // Type FA (code 2 of field 3) dropped; aperture 0 to 5, dip direction 0 to 180, dip 0 to 60.
  Criteri({{3, 2}}, {0, 5, 0, 180, 0, 60});
  ASSERT_EQ(Carica(), EsitoCaricamento::Caricato);
  EXPECT_EQ(Mirvane.AngoliImmersione, (std::vector<double>{10, 50}));
}

TEST_F(Caricamento, ADipOrDipDirectionThatIsNoNumberOrOutOfItsRangeIsToldWithItsLine) {
  // Dip directions outside 0 to 360 and dips outside 0 to 90 are refused as the sheet's grid refuses them, also
  // where the session's bounds would let them pass.
  Criteri({}, {0, 100, -90, 999, -90, 999});
  for (const auto& [immersione, inclinazione] : {std::pair{"12O", "30"}, std::pair{"120", "x"}, std::pair{"370", "30"},
                                                 std::pair{"-10", "30"}, std::pair{"120", "91"}}) {
    WriteAnsi(t.D("a.sch"), Scheda({Record(10, 10), Record("GI", immersione, inclinazione)}));
    Passaggio({"a.sch"});
    EXPECT_EQ(Carica(), EsitoCaricamento::Errore) << immersione << " " << inclinazione;
    EXPECT_TRUE(messaggio.startsWith("Il file e' incompleto o danneggiato:\na.sch, riga 12\n"))
        << messaggio.toStdString();
  }
}

TEST_F(Caricamento, NothingSelectedIsToldAndDoesNotDivide) {
  WriteAnsi(t.D("a.sch"), Scheda({Record("FA", "20", "30")}));
  Passaggio({"a.sch"});
  Criteri({{3, 2}}, {0, 100, 0, 360, 0, 90});
  EXPECT_EQ(Carica(), EsitoCaricamento::NessunaSelezione);
  EXPECT_TRUE(messaggio.startsWith("Nessuna discontinuita'")) << messaggio.toStdString();
  EXPECT_TRUE(Mirvane.AngoliImmersione.empty());
  // A session without sheets selects nothing too.
  Passaggio({});
  EXPECT_EQ(Carica(), EsitoCaricamento::NessunaSelezione);
}

TEST_F(Caricamento, AThousandSelectedRecordsLoadAndOneMoreStops) {
  // The limit counts selected records, not orientations: 1000 records of three orientations load.
  QStringList mille;
  for (int i = 0; i < 1000; ++i) mille << Record(10 * (i % 3), 20);
  WriteAnsi(t.D("a.sch"), Scheda(mille.mid(0, 600)));
  WriteAnsi(t.D("b.sch"), Scheda(mille.mid(600) + QStringList{Record("FA", "5", "5")}));
  Passaggio({"a.sch", "b.sch"});
  Criteri({{3, 2}}, {0, 100, 0, 360, 0, 90});
  ASSERT_EQ(Carica(), EsitoCaricamento::Caricato) << messaggio.toStdString();
  EXPECT_EQ(Mirvane.AngoliImmersione, (std::vector<double>{0, 10, 20}));

  WriteAnsi(t.D("c.sch"), Scheda({Record(10, 20)}));
  Passaggio({"a.sch", "b.sch", "c.sch"});
  ASSERT_EQ(Carica(), EsitoCaricamento::OltreIlLimite);
  EXPECT_TRUE(messaggio.contains("pari a 1000 punti.")) << messaggio.toStdString();
  EXPECT_FALSE(messaggio.contains("<@>"));
}

TEST_F(Caricamento, TitlesComeFromTheSessionTitlesFile) {
  WriteAnsi(t.D("a.sch"), Scheda({Record(10, 10)}));
  WriteAnsi(t.D("PROVA.TIT"), "Cava, fronte nord\n\nCampagna 2025\n");
  Passaggio({"a.sch"});
  ASSERT_EQ(Carica(), EsitoCaricamento::Caricato);
  EXPECT_EQ(Mirvane.TitoliDiagramma[1], "Cava, fronte nord");
  EXPECT_EQ(Mirvane.TitoliDiagramma[2], "");
  EXPECT_EQ(Mirvane.TitoliDiagramma[3], "Campagna 2025");
  EXPECT_EQ(Mirvane.TitoliDiagramma[4], "");
}

}  // namespace
