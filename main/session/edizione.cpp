// The editing commands of the main window that work through the table grid: the survey sheet (its header in the
// field form, its records in the grid), the family parameters, and the pen-table editor of the print menu.
#include "common/data/famiglie.h"
#include "common/data/fronte.h"
#include "common/data/risultato.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"
#include "main/dialogs/definizioni.h"
#include "main/dialogs/editacfg.h"
#include "main/dialogs/maschera.h"
#include "main/session/configurazione.h"
#include "main/session/menu1.h"
#include "main/session/scheda.h"
#include "main/session/sessione.h"

#include <algorithm>

namespace {

constexpr int kDefinizioneFamiglie = 3;
constexpr int kDefinizioneRecord = 4;
constexpr int kDefinizioneIntestazione = 5;
constexpr int kMassimoFamiglie = 300;   // families of a clustering result
constexpr int kMassimoPuntiRisultato = 1000;

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// The chosen name with a short extension (a point among the last four characters of its name) replaced by ".sch".
QString NomeScheda(const QString& scelto) { return plat::WithShortExtensionReplaced(scelto, QStringLiteral(".sch")); }

// Header fields 1 to 7 of the field form from the header lines, and back.
const int kRigheCampi[5] = {0, 1, 2, 4, 6};  // fields 1 to 4: header lines 1, 2, 4, 6

// The field of the header's form (by index from 0) that shows a number of the header: fields 5 and 6 the
// measuring line's direction and inclination, field 7 its length.
int CampoTestata(int valore) { return valore == DirezioneStendimento ? 4 : valore == InclinazioneStendimento ? 5 : 6; }

// A value as a message shows it: blanks around it left out, a control character by its code.
QString ValoreMostrato(const QString& testo) {
  QString t;
  for (const char32_t c : plat::TrimBlanks(testo).toUcs4())
    t += c < 0x20 || c == 0x7F ? QLatin1Char('<') + DescrizioneCarattere(c) + QLatin1Char('>') : QString::fromUcs4(&c, 1);
  return QLatin1Char('"') + t + QLatin1Char('"');
}

// The values of the sheet that its readers refuse, each named with its line and its field as the forms show it.
void SegnalaValoriRifiutati(const std::vector<ValoreRifiutato>& rifiutati) {
  constexpr std::size_t kMostrati = 20;
  QString testo = FileDanneggiato(Scheda.FileScheda);
  for (std::size_t i = 0; i < rifiutati.size() && i < kMostrati; ++i) {
    const ValoreRifiutato& v = rifiutati[i];
    QString campo;
    if (v.record > 0) campo = EtichettaDefinizione(kDefinizioneRecord, v.campo);
    else if (v.campo != ConteggioRecord) campo = EtichettaDefinizione(kDefinizioneIntestazione, CampoTestata(v.campo));
    testo += QLatin1Char('\n') + Traduci(QStringLiteral("riga")) + QLatin1Char(' ') + QString::number(v.riga) +
             (campo.isEmpty() ? QString() : QStringLiteral(", ") + campo) + QStringLiteral(": ") + ValoreMostrato(v.testo);
  }
  if (rifiutati.size() > kMostrati) testo += QStringLiteral("\n......");
  testo += QStringLiteral("\n\n") +
           Traduci(QStringLiteral("Le celle non accettate sono segnate in rosso: correggetele prima di confermare."));
  AttenzioneTradotta(testo);
}

}  // namespace

void menu1::EdizioneScheda_Click() {
  // The dialog opens in the folder last used for sheets; the session's current folder stays as it is.
  const QString usata = CartellaPath();
  const QString iniziale = plat::FolderExists(usata) ? plat::ResolveExisting(usata) : plat::CurrentFolder();
  const QString scelto = plat::GetOpenOrNewFileName(Traduci(QStringLiteral("SCHEDE RILIEVO")), iniziale,
                                                    Traduci(QStringLiteral("SCHEDE RILIEVO")) +
                                                        QStringLiteral(" (*.sch)|*.sch"));
  const QString file = NomeScheda(scelto);
  if (file.isEmpty()) return;  // nothing chosen: FileScheda keeps the sheet last chosen
  // A new sheet is never made with a name that no session's sheet list can hold.
  if (!plat::EntryExists(file) && !NomeScrivibile(plat::FileNamePart(file))) return;
  Scheda.FileScheda = file;
  std::vector<ValoreRifiutato> rifiutati;
  if (plat::EntryExists(file)) {
    std::vector<int> linee;
    int riga = 0;
    const EsitoScheda esito = LeggiScheda(&linee, &riga);
    if (esito != EsitoScheda::Letta) {
      SegnalaEsitoScheda(esito, riga);
      return;
    }
    // The sheet opens also when the analyses refuse some of its numbers, so that the user can repair them: each
    // is named with its line, and the forms mark them and write none of them back.
    rifiutati = ValoriRifiutati(Scheda, linee);
    if (!rifiutati.empty()) SegnalaValoriRifiutati(rifiutati);
  } else {
    AzzeraScheda();
  }
  std::vector<QString>& testa = Scheda.IntestazioneScheda;

  // The header in the field form. A continuation on lines 7, 8 and 9 joins lines 2, 4 and 6.
  ImpostaMaschera(0, 0, kDefinizioneIntestazione);
  // Header line 3 holds both numbers around its "/": neither may be left empty. The measuring line's numbers take
  // their definition's ranges within those every reader of sheets takes.
  MascheraCorrente.CampiObbligatori[4] = MascheraCorrente.CampiObbligatori[5] = true;
  for (const LimitiTestata& l : kValoriStendimento) LimitaCampoNumerico(U(CampoTestata(l.valore)), l.minimo, l.massimo);
  for (const ValoreRifiutato& v : rifiutati)
    if (v.record == 0 && v.campo != ConteggioRecord) MascheraCorrente.CampiRifiutati[U(CampoTestata(v.campo))] = true;
  for (const auto& [prima, seconda] : {std::pair{2, 7}, std::pair{4, 8}, std::pair{6, 9}}) {
    if (!plat::TrimBlanks(testa[U(seconda)]).isEmpty()) {
      testa[U(prima)] += QStringLiteral(" - ") + testa[U(seconda)];
      testa[U(seconda)].clear();
    }
  }
  for (int i = 1; i <= 4; ++i) ScriviCampo(i, testa[U(kRigheCampi[i])]);
  const QString& riga3 = testa[3];
  const qsizetype barra = riga3.indexOf(QLatin1Char('/'));
  ScriviCampo(5, barra < 0 ? QStringLiteral("0") : riga3.left(barra));
  ScriviCampo(6, barra < 0 ? QStringLiteral("0") : riga3.mid(barra + 1));
  ScriviCampo(7, testa[5]);
  MostraMaschera();
  if (MascheraCorrente.AnnullaMaschera != 0) {
    ChiudiMaschera();
    return;
  }
  QString campi[8];
  for (int i = 1; i <= 7; ++i) LeggiCampo(i, campi[i]);
  for (int i = 1; i <= 4; ++i) testa[U(kRigheCampi[i])] = campi[i];
  testa[3] = campi[5] + QLatin1Char('/') + campi[6];
  testa[5] = campi[7];
  ChiudiMaschera();

  // The records in the grid, 14 columns in the order of the record's fields.
  StatoMaschera& m = MascheraCorrente;
  m.ValoriTesto[0] = QString::number(Scheda.NumeroRigheScheda);
  ImpostaMaschera(0, 0, kDefinizioneRecord);
  if (m.TipoMaschera < 2 || m.UltimaColonna != kNumeroCampiRecord) {
    AttenzioneTradotta(FileDanneggiato(DefinizioniMaschere.FileDefinizione[U(kDefinizioneRecord)]));
    return;
  }
  std::size_t k = 0;
  for (int r = 1; r <= Scheda.NumeroRigheScheda; ++r)
    for (int c = 1; c <= kNumeroCampiRecord; ++c) m.ValoriTesto[++k] = CampoDelRecord(Scheda.RigheScheda[U(r)], c);
  // A record without its distance or orientation would be read as 0 and drawn where nothing was measured: such
  // a row is never saved without the incomplete-rows question. The codes may stay blank.
  for (const int c : {Dist, Imm, Inc}) m.CampiObbligatori[U(c)] = true;
  // The numeric columns take their definition's ranges within those every reader of sheets takes; the refused
  // values are marked.
  for (const LimitiCampo& l : kCampiNumerici) LimitaCampoNumerico(U(l.campo), l.minimo, l.massimo);
  for (const ValoreRifiutato& v : rifiutati)
    if (v.record > 0) m.CelleRifiutate.emplace_back(v.record, v.campo);
  for (int c = 1; c <= kNumeroCampiRecord; ++c) {
    // A cell is stored in its record field: never longer than the field.
    m.LarghezzeColonne[U(c)] = kLarghezzaCampo[U(c)];
    if (plat::TrimBlanks(m.AiutiCampi[U(c)]).endsWith(QLatin1String("$$$"))) {
      m.AiutiCampi[U(c)] += Configurazione.LegendaColonna[U(c - 1)];
      // The codes the column accepts are those of the configuration, as it writes them.
      for (int j = 1; j <= std::min(Configurazione.NumeroCodici(c), kMassimoCodiciColonna); ++j)
        m.CodiciColonne[U(c)] << Configurazione.CodiciColonna[U(j)][U(c)];
    }
  }
  MostraMaschera();
  if (m.AnnullaMaschera != 0) {
    ChiudiMaschera();
    return;
  }
  const int righe = std::clamp(static_cast<int>(plat::Val(m.ValoriTesto[0])), 0, kMassimoRigheScheda);
  k = 0;
  for (int r = 1; r <= righe; ++r) {
    QString record = RecordFisso(Scheda.RigheScheda[U(r)]);
    for (int c = 1; c <= kNumeroCampiRecord; ++c) {
      const int larghezza = kLarghezzaCampo[U(c)];
      const QString t = plat::TrimBlanks(m.ValoriTesto[++k]).left(larghezza);
      record.replace(kInizioCampo[U(c)] - 1, larghezza, t + QString(larghezza - t.size(), QLatin1Char(' ')));
    }
    record.replace(QChar(0), QLatin1Char(' '));
    Scheda.RigheScheda[U(r)] = record;
  }
  Scheda.NumeroRigheScheda = righe;
  ChiudiMaschera();
  if (!SalvaScheda()) Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), Scheda.FileScheda);
}

void menu1::EdizioneFamiglie_Click() {
  if (SenzaSessione(Guardia::Edizione)) return;
  // The family count of the clustering result. A result that cannot be read is told, and nothing is written:
  // the family parameters of the session stay as they are.
  const QString fileRisultato = FileDellaSessione(QStringLiteral(".dat"));
  RisultatoCluster risultato;
  int rigaRisultato = 0;
  switch (LeggiFileRisultato(fileRisultato, risultato, kMassimoPuntiRisultato, kMassimoFamiglie, &rigaRisultato)) {
    case EsitoRisultato::Letto: break;
    case EsitoRisultato::Mancante:
      AvvisoSenzaRisultatoCluster(fileRisultato);
      return;
    case EsitoRisultato::TroppiPunti:
      Attenzione(QStringLiteral("Il numero di punti supera il massimo ammesso:"),
                 QString::number(kMassimoPuntiRisultato) + QLatin1Char('\n') +
                     DescrizioneFile(fileRisultato, rigaRisultato));
      return;
    case EsitoRisultato::TroppiCluster:
      Attenzione(QStringLiteral("Il numero di famiglie supera il massimo ammesso:"),
                 QString::number(kMassimoFamiglie) + QLatin1Char('\n') + DescrizioneFile(fileRisultato, rigaRisultato));
      return;
    case EsitoRisultato::NonValido:
      AttenzioneTradotta(FileDanneggiato(fileRisultato, rigaRisultato));
      return;
  }
  const int famiglie = risultato.NumeroCluster;

  // Defaults: the slope file's friction angle and cohesion, 0 without a slope file. A damaged slope file is told and
  // nothing is written, as for a damaged result.
  ValoriFronte fronte{};
  const QString fileFronte = FileDellaSessione(QStringLiteral(".fro"));
  int rigaFronte = 0;
  const EsitoFronte esitoFronte = LeggiFileFronte(fileFronte, fronte, &rigaFronte);
  if (esitoFronte == EsitoFronte::NonValido) {
    AttenzioneTradotta(FileDanneggiato(fileFronte, rigaFronte));
    return;
  }
  const bool conFronte = esitoFronte == EsitoFronte::Letto;
  const double attrito = conFronte ? fronte[kAttrito] : 0, coesione = conFronte ? fronte[kCoesione] : 0;
  ParametriFamiglie p = ParametriPredefiniti(famiglie, attrito, coesione);
  const QString file = FileDellaSessione(QStringLiteral(".pgm"));
  int riga = 0;
  if (plat::EntryExists(file) && LeggiFileParametriFamiglie(file, p, &riga) == EsitoParametri::NonValidi) {
    // A value beyond its limits is told; the user may start again from the defaults, or leave the file as it is.
    AttenzioneTradotta(FileDanneggiato(file, riga));
    if (!RipartireDaiPredefiniti()) return;
  }

  StatoMaschera& m = MascheraCorrente;
  ImpostaMaschera(0, 0, kDefinizioneFamiglie);
  // A cleared row keeps its place, so that every family stays on its own row.
  m.RigheVuoteMantenute = true;
  // Column 1 the friction angle, column 2 the cohesion shown ten times larger: their definition's ranges within
  // those the file's reader takes, the slope file's for the same values.
  const LimitiFronte a = LimitiValoreFronte(kAttrito), c = LimitiValoreFronte(kCoesione);
  LimitaCampoNumerico(1, a.minimo, a.massimo);
  LimitaCampoNumerico(2, 10 * c.minimo, 10 * c.massimo);
  m.ValoriTesto[0] = QString::number(famiglie);
  std::size_t k = 0;
  for (int i = 1; i <= famiglie; ++i) {
    m.ValoriTesto[++k] = plat::StrNumber(p.Attrito[U(i)]);
    m.ValoriTesto[++k] = plat::StrNumber(10 * p.Coesione[U(i)]);
  }
  MostraMaschera();
  int righe = famiglie;  // a cancelled dialog keeps the values read
  bool oltre = false;    // rows typed below the last family
  if (m.AnnullaMaschera == 0) {
    oltre = plat::Val(m.ValoriTesto[0]) > famiglie;
    righe = std::clamp(static_cast<int>(plat::Val(m.ValoriTesto[0])), 0, famiglie);
    for (int i = 1; i <= righe; ++i) {
      p.Attrito[U(i)] = plat::Val(m.ValoriTesto[U(2 * i - 1)]);
      p.Coesione[U(i)] = plat::Val(m.ValoriTesto[U(2 * i)]) / 10;
    }
  }
  ChiudiMaschera();
  if (oltre)
    Attenzione(QStringLiteral("Le righe oltre l'ultima famiglia non sono state memorizzate; famiglie:"),
               QString::number(famiglie));
  for (int i = righe + 1; i <= famiglie; ++i) {
    p.Attrito[U(i)] = attrito;
    p.Coesione[U(i)] = coesione;
  }
  CompletaParametriFamiglie(p, attrito, coesione);
  if (!ScriviFileParametriFamiglie(file, p))
    Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), plat::ResolveForWrite(file));
}

void menu1::configura_Click() {
  Avvio.NumeroModulo = 3;
  MostraEditacfg();
}
