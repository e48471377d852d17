#include "main/reports/tabulati.h"

#include "common/data/famiglie.h"
#include "common/data/fronte.h"
#include "common/data/nomi.h"
#include "common/data/tabelle.h"
#include "common/data/titoli.h"
#include "common/markup/documento.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/numeri.h"
#include "common/texts/testi.h"
#include "main/reports/anteprima.h"
#include "main/reports/esportadoc.h"
#include "main/reports/esportatxt.h"
#include "main/reports/stampa.h"
#include "main/session/configurazione.h"
#include "main/session/scheda.h"
#include "main/session/sessione.h"

#include <cmath>
#include <optional>

namespace {

const QChar kTab(QLatin1Char('\t'));

// The lines of a report document, written at the end as one file.
class Documento {
 public:
  void Riga(const QString& testo = QString()) { righe_ << testo; }
  // A user's text line: written as it stands, kept a text line even when it begins with "#".
  void Testo(const QString& testo) { righe_ << EscapeTestoDocumento(testo); }
  // Ends the document and writes it to `percorso`, which then names the file written. False, after a message,
  // when it cannot be written (an older report of that name stays as it was).
  bool Chiudi(QString& percorso) {
    righe_ << QStringLiteral("#ENDDOCUMENT");
    plat::SeqWriter w(percorso);
    if (w.IsOpen())
      for (const QString& r : righe_) w.WriteLine(r);
    if (!w.IsOpen() || !w.Close()) {
      Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"),
                 DescrizioneFile(plat::ResolveForWrite(percorso)));
      return false;
    }
    percorso = plat::ResolveExisting(percorso);
    return true;
  }

 private:
  QStringList righe_;
};

// A section heading of the results report: two centred lines in 14 points, then back to 12 points.
void Sezione(Documento& d, const char* riga1, const char* riga2) {
  d.Riga(QStringLiteral("#FONTSIZE 14"));
  d.Riga(Traduci(QString::fromUtf8(riga1)));
  d.Riga(Traduci(QString::fromUtf8(riga2)));
  d.Riga();
  d.Riga(QStringLiteral("#FONTSIZE 12"));
}

// A result table copied into the document: its heading row and its rows as they stand.
void CopiaTabella(Documento& d, const RigheTabellaRisultati& t) {
  d.Riga(QStringLiteral("#STARTTABLE"));
  d.Testo(t.testata);
  for (const QString& r : t.righe) d.Testo(r);
  d.Riga(QStringLiteral("#ENDTABLE"));
  d.Riga();
}

// `riga` (when above 0): the line of the fault.
void NonValido(const QString& file, int riga = 0) {
  AttenzioneTradotta(FileDanneggiato(file, riga));
}

// Reads a result table of the session that stands at its name. False, after the message that tells the file and
// the line of the damage and that no report is made, when it is not as its program writes it: the report prints
// no row of a damaged table, and leaves out no section of a sound one.
bool LeggiTabellaDelTabulato(const QString& file, TabellaRisultati tipo, RigheTabellaRisultati& t) {
  int riga = 0;
  if (LeggiTabellaRisultati(file, tipo, t, &riga) == EsitoTabellaRisultati::Letta) return true;
  AttenzioneTradotta(FileDanneggiato(file, riga) + QLatin1Char('\n') +
                    Traduci(QStringLiteral("Il tabulato dei risultati non e' stato prodotto.")));
  return false;
}

// The rows of the slope list: label, unit, and the factor of the value as the report shows it.
struct VoceFronte {
  const char* etichetta;
  const char* unita;
  double fattore;
};
const VoceFronte kVociFronte[kValoriFronte] = {
    {"Inclinazione fronte", " [°]", 1},
    {"Immersione fronte", " [°]", 1},
    {"Inclinazione piano monte", " [°]", 1},
    {"Immersione piano monte", " [°]", 1},
    {"Coesione", " [kN/m²]", 10},
    {"Angolo di attrito", " [°]", 1},
    {"Gamma roccia", " [kN/m³]", 10},
    {"Gamma acqua", " [kN/m³]", 10},
    {"Altezza ciglio", " [m]", 1},
    {"Carico esterno", " [kN]", 10},
    {"Inclinazione carico est.", " [°]", 1},
    {"Direzione carico est.", " [°]", 1},
    {"Resistenza tirante", " [kN]", 10},
    {"Inclinazione tirante", " [°]", 1},
    {"Direzione tirante", " [°]", 1},
    {"Distanza t.crack - fronte", " [m]", 1},
    {"Inclinazione t.crack", " [°]", 1},
    {"Immersione t.crack", " [°]", 1},
    {"Coefficiente sismico", " [-]", 1},
};

// The family rows with the strength of every family: the first five cells of the family table, then the
// friction angle and the cohesion (kN/m²) the wedge analysis uses: the pair of <stem>.pgm, or the slope's when
// the pair is missing, unreadable or 0 and 0. Without a slope file a family without a pair gets empty cells.
// False, with the line in `riga`, when <stem>.pgm holds a value beyond its limits.
bool RigheFamiglie(const QStringList& righe, const QString& filePgm, const std::optional<ValoriFronte>& fronte,
                   QStringList& out, int& riga) {
  const int n = static_cast<int>(righe.size());
  const double mancante = std::nan("");
  const double attrito = fronte ? (*fronte)[kAttrito] : mancante;
  const double coesione = fronte ? (*fronte)[kCoesione] : mancante;
  ParametriFamiglie p = ParametriPredefiniti(n, attrito, coesione);
  if (plat::EntryExists(filePgm)) {
    if (LeggiFileParametriFamiglie(filePgm, p, &riga) == EsitoParametri::NonValidi) return false;
    if (fronte) CompletaParametriFamiglie(p, attrito, coesione);
  }
  auto numero = [](double v, double fattore) {
    return std::isfinite(fattore * v) ? FormattaNumero(fattore * v, 2) : QString();
  };
  out.clear();
  out.reserve(n);
  for (int k = 1; k <= n; ++k) {
    QStringList celle = CelleRiga(righe.at(k - 1), 6).mid(0, 5);
    while (celle.size() < 5) celle << QString();
    out << celle.join(kTab) + kTab + numero(p.Attrito[static_cast<std::size_t>(k)], 1) + kTab +
               numero(p.Coesione[static_cast<std::size_t>(k)], 10);
  }
  return true;
}

}  // namespace

bool ScriviTabulati(const QString& nomeSessione, QString& documento) {
  documento = plat::JoinPath(plat::CurrentFolder(), FileStem(nomeSessione, QStringLiteral(".tab")));
  Documento d;
  d.Riga(QStringLiteral("#RESET 2,2,2,2,2,2,12,Arial"));
  d.Riga(QStringLiteral("#HEADER Program FRATTIX"));
  d.Riga(QStringLiteral("#FOOTER"));

  // Titles.
  const QString fileTitoli = FileStem(nomeSessione, QStringLiteral(".tit"));
  if (plat::EntryExists(fileTitoli)) {
    TitoliSessione titoli;
    titoli.fill(QString());
    int riga = 0;
    if (LeggiFileTitoli(fileTitoli, titoli, &riga) < 0) {
      NonValido(fileTitoli, riga);
      return false;
    }
    d.Riga(QStringLiteral("#CENTER"));
    for (int k = 1; k <= 9; ++k) {
      if (k == 1) {
        d.Riga(QStringLiteral("#FONTSIZE 15"));
      } else {
        d.Riga(QStringLiteral("#FONTSIZE 13"));
        d.Riga(QStringLiteral("#FONTITALIC TRUE"));
      }
      const QString& t = titoli[static_cast<std::size_t>(k)];
      if (!plat::TrimBlanks(t).isEmpty()) d.Testo(t);
    }
    d.Riga(QStringLiteral("#FONTITALIC FALSE"));
    d.Riga();
  }

  // Slope geometry and loads.
  const QString fileFronte = FileStem(nomeSessione, QStringLiteral(".fro"));
  std::optional<ValoriFronte> fronte;
  if (plat::EntryExists(fileFronte)) {
    ValoriFronte v{};
    int riga = 0;
    if (LeggiFileFronte(fileFronte, v, &riga) != EsitoFronte::Letto) {
      NonValido(fileFronte, riga);
      return false;
    }
    fronte = v;
    Sezione(d, "GEOMETRIA DEL FRONTE", "E CONDIZIONI DI CARICO");
    d.Riga(QStringLiteral("#STARTLIST"));
    for (int k = 1; k <= kValoriFronte; ++k) {
      const VoceFronte& voce = kVociFronte[k - 1];
      // A value too large to be multiplied leaves its cell empty: no infinity is written.
      const double valore = voce.fattore * v[static_cast<std::size_t>(k)];
      d.Riga(Traduci(QString::fromUtf8(voce.etichetta)) + QString::fromUtf8(voce.unita) + kTab +
             (std::isfinite(valore) ? NumeroTesto(valore) : QString()));
    }
    d.Riga(QStringLiteral("#ENDLIST"));
    d.Riga();
  }

  // Families and their strength.
  const QString fileFamiglie = FileTabellaRisultati(nomeSessione, TabellaRisultati::Famiglie);
  if (plat::EntryExists(fileFamiglie)) {
    RigheTabellaRisultati t;
    if (!LeggiTabellaDelTabulato(fileFamiglie, TabellaRisultati::Famiglie, t)) return false;
    int riga = 0;
    const QString filePgm = FileStem(nomeSessione, QStringLiteral(".pgm"));
    QStringList righe;
    if (!RigheFamiglie(t.righe, filePgm, fronte, righe, riga)) {
      NonValido(filePgm, riga);
      return false;
    }
    t.righe = std::move(righe);
    Sezione(d, "PARAMETRI DELLE FAMIGLIE", "PRINCIPALI DI DISCONTINUITA'");
    CopiaTabella(d, t);
  }

  // Wedges, then conductivity.
  const struct {
    TabellaRisultati tabella;
    const char* riga1;
    const char* riga2;
  } kAltre[] = {
      {TabellaRisultati::Cunei, "FATTORI DI SICUREZZA", "DEI CUNEI DISPOSTI A FRANAPOGGIO"},
      {TabellaRisultati::Conducibilita, "COMPONENTI PRINCIPALI", "DEL TENSORE DI CONDUCIBILITA' IDRAULICA"},
  };
  for (const auto& s : kAltre) {
    const QString file = FileTabellaRisultati(nomeSessione, s.tabella);
    if (!plat::EntryExists(file)) continue;
    RigheTabellaRisultati t;
    if (!LeggiTabellaDelTabulato(file, s.tabella, t)) return false;
    Sezione(d, s.riga1, s.riga2);
    CopiaTabella(d, t);
  }
  return d.Chiudi(documento);
}

void MostraDocumento(const QString& documento, int modo) {
  switch (modo) {
    case kAnteprima:
      AnteprimaDocumento(documento);
      return;
    case kStampaRapida:
      StampaDocumento(documento);
      return;
    case kDocumentoDOC:
      EsportaDocumentoDOC(documento);
      return;
    default:
      EsportaDocumentoTXT(documento);
  }
}

void ProduciTabulati(int modo) {
  if (Sessione.NomeSessione.isEmpty()) {
    Attenzione(QStringLiteral("Non e' possibile produrre output prima di aver aperto un file."));
    return;
  }
  QString documento;
  if (ScriviTabulati(Sessione.NomeSessione, documento)) MostraDocumento(documento, modo);
}

// ---------------------------------------------------------------------------------------------------------------
// The survey-sheet report.

namespace {

// The heads of the record table, in the order of its cells.
const char* const kTesteScheda[15] = {"N.", "Nu", "Dist", "Ti", "Imm", "Inc", "Lu", "Sp",
                                      "Ri", "Ac", "For", "Ap", "Sca", "Lit", "Du"};

// The cells of record `numero`: numbers in fixed width, codes as they stand.
QString RigaRecord(int numero, const QString& record) {
  QStringList c;
  c << FormatoFisso(numero, QStringLiteral("###"));
  c << FormatoFisso(ValoreCampo(record, Nu), QStringLiteral("##"));
  c << FormatoFisso(ValoreCampo(record, Dist), QStringLiteral("####.#"));
  c << CampoDelRecord(record, Ti);
  c << FormatoFisso(ValoreCampo(record, Imm), QStringLiteral("###"));
  c << FormatoFisso(ValoreCampo(record, Inc), QStringLiteral("###"));
  for (int f : {Lu, Sp, Ri, Ac, For}) c << CampoDelRecord(record, f);
  c << FormatoFisso(ValoreCampo(record, Ap), QStringLiteral("##"));
  for (int f : {Sca, Lit, Du}) c << CampoDelRecord(record, f);
  return c.join(kTab);
}

// The legend cell of code j of field i: the code, a blank and its meaning; one blank for a code the configuration
// does not define.
QString CellaLegenda(const ModuloConfigurazione& c, int j, int i) {
  if (j < 1 || j >= static_cast<int>(c.CodiciColonna.size())) return QStringLiteral(" ");
  return c.CodiciColonna[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] + QLatin1Char(' ') +
         c.SignificatiCodici[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)];
}

}  // namespace

bool ScriviTabulatoScheda(const ModuloScheda& s, const ModuloConfigurazione& c, QString& documento) {
  documento = s.FileScheda.left(s.FileScheda.size() - 3) + QStringLiteral("tab");
  auto intestazione = [&s](int k) {
    return k < static_cast<int>(s.IntestazioneScheda.size()) ? s.IntestazioneScheda[static_cast<std::size_t>(k)]
                                                               : QString();
  };
  Documento d;
  d.Riga(QStringLiteral("#RESET 2,2,2,2,2,2,12,Arial"));
  d.Riga(QStringLiteral("#HEADER Program FRATTIX 32"));
  d.Riga(QStringLiteral("#FOOTER"));
  d.Riga(QStringLiteral("#CENTER"));
  auto seNonVuota = [&](int k) {
    if (!plat::TrimBlanks(intestazione(k)).isEmpty()) d.Testo(intestazione(k));
  };
  d.Riga(QStringLiteral("#FONTSIZE 15"));
  seNonVuota(1);
  d.Riga(QStringLiteral("#FONTSIZE 13"));
  d.Riga(QStringLiteral("#FONTITALIC TRUE"));
  seNonVuota(2);
  // Line 3 holds the direction and the inclination of the measuring line, "direction/inclination"; line 5 its
  // length. Both go into the geometry line.
  const QString geometria = intestazione(3);
  const qsizetype barra = geometria.indexOf(QLatin1Char('/'));
  const QString direzione = barra < 0 ? QString() : geometria.left(barra);
  const QString inclinazione = barra < 0 ? QString() : geometria.mid(barra + 1);
  seNonVuota(4);
  for (int k = 6; k <= 9; ++k) seNonVuota(k);
  d.Testo(Traduci(QStringLiteral("Geometria stendimento: direzione=")) + plat::TrimBlanks(direzione) +
          QStringLiteral("°N  ") + Traduci(QStringLiteral("inclinazione=")) + plat::TrimBlanks(inclinazione) +
          QStringLiteral("°  ") + Traduci(QStringLiteral("lunghezza=")) + plat::TrimBlanks(intestazione(5)) +
          QStringLiteral(" m"));
  d.Riga(QStringLiteral("#FONTITALIC FALSE"));
  d.Riga();

  d.Riga(QStringLiteral("#FONTSIZE 15"));
  d.Riga(Traduci(QStringLiteral("SCHEDA DEL RILIEVO STRUTTURALE")));
  d.Riga();
  d.Riga(QStringLiteral("#FONTSIZE 12"));
  d.Riga(QStringLiteral("#STARTTABLE"));
  QStringList teste;
  for (const char* t : kTesteScheda) teste << Traduci(QString::fromLatin1(t));
  d.Riga(teste.join(kTab));
  for (int k = 1; k <= s.NumeroRigheScheda; ++k) d.Riga(RigaRecord(k, s.RigheScheda[static_cast<std::size_t>(k)]));
  d.Riga(QStringLiteral("#ENDTABLE"));

  d.Riga();
  d.Riga(QStringLiteral("#CENTER"));
  d.Riga(QStringLiteral("#FONTSIZE 15"));
  d.Riga(Traduci(QStringLiteral("LEGENDA")));
  d.Riga();
  d.Riga(QStringLiteral("#FONTSIZE 12"));
  auto legenda = [&](const std::array<int, 5>& campi, const std::array<int, 5>& scarti, int righe) {
    d.Riga(QStringLiteral("#STARTTABLE"));
    QStringList testa;
    for (int i : campi) testa << c.DescrizioneColonna[static_cast<std::size_t>(i)];
    d.Testo(testa.join(kTab));
    for (int j = 1; j <= righe; ++j) {
      QStringList celle;
      for (int k = 0; k < 5; ++k)
        celle << CellaLegenda(c, j + scarti[static_cast<std::size_t>(k)], campi[static_cast<std::size_t>(k)]);
      d.Testo(celle.join(kTab));
    }
    d.Riga(QStringLiteral("#ENDTABLELEFTALIGN"));
  };
  legenda({Ti, Lu, Ri, Ac, For}, {0, 0, 0, 0, 0}, 7);
  d.Riga();
  legenda({Sca, Du, Lit, Lit, Lit}, {0, 0, 0, 8, 16}, 8);
  return d.Chiudi(documento);
}

void TabulatoScheda(int modo) {
  // The dialog starts in the folder last used for sheets; the current folder (the session's) stays as it is.
  const QString usata = CartellaPath();
  const QString iniziale = plat::FolderExists(usata) ? plat::ResolveExisting(usata) : plat::CurrentFolder();
  Scheda.FileScheda.clear();
  QString nome = plat::GetOpenFileName(QString(), iniziale,
                                       Traduci(QStringLiteral("SCHEDE RILIEVO")) + QStringLiteral(" (*.sch)|*.sch"));
  nome = plat::WithShortExtensionReplaced(nome, QStringLiteral(".sch"));
  if (nome.isEmpty()) return;
  if (!plat::EntryExists(nome)) return;
  Scheda.FileScheda = nome;
  std::vector<int> linee;
  int riga = 0;
  const EsitoScheda esito = LeggiScheda(&linee, &riga);
  if (esito != EsitoScheda::Letta && esito != EsitoScheda::Incompleta) {
    SegnalaEsitoScheda(esito);
    return;
  }
  // The report prints the numbers of the sheet: a sheet that the analysis programs refuse is refused here too, with
  // the same message, instead of printing a damaged number as 0 or as the digits it begins with.
  if (esito == EsitoScheda::Incompleta || !NumeriDellaScheda(Scheda, linee, nullptr, &riga)) {
    AttenzioneTradotta(FileDanneggiato(Scheda.FileScheda, riga));
    return;
  }
  QString documento;
  if (ScriviTabulatoScheda(Scheda, Configurazione, documento)) MostraDocumento(documento, modo);
}
