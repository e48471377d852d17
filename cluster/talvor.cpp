#include "cluster/talvor.h"

#include "cluster/permeabilita.h"
#include "cluster/tabellafamiglie.h"
#include "cluster/stereogramma.h"

#include "common/data/famiglie.h"
#include "common/data/nomi.h"
#include "common/data/passaggio.h"
#include "common/data/risultato.h"
#include "common/data/scheda.h"
#include "common/data/selezione.h"
#include "common/platform/files.h"
#include "common/platform/forms.h"
#include "common/platform/process.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/plot/grafica.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"

#include <cmath>
#include <limits>

ModuloTalvor Talvor;

namespace {

const double kPi = 4.0 * std::atan(1.0);

void Avviso(const QString& testo) {
  plat::MsgBox(testo, plat::vbOKOnly, Traduci(QStringLiteral("ATTENZIONE")) + QLatin1Char('!'));
}
void AvvisoFile(const QString& testo, const QString& file) { Avviso(Traduci(testo) + QLatin1Char('\n') + file); }

QString FileSessione(const QString& estensione) { return FileStem(Talvor.NomeFileDati, estensione); }

// The limit message of the pole loading, naming the limit that was passed.
void MessaggioLimite(int limite) { Avviso(MessaggioLimiteDiscontinuita(limite)); }

// PELDRIX's start condition: a friction angle or a cohesion, and a crest height (and, after a cluster run, a rock
// unit weight).
bool CondizionePeldrix(bool conPeso) {
  const auto& v = Talvor.ValoriFronte;
  return (v[kAttrito] > 0 || v[kCoesione] > 0) && v[kAltezzaFronte] > 0 && (!conPeso || v[kPesoRoccia] > 0);
}

}  // namespace

void AzzeraTalvor() { Talvor = ModuloTalvor(); }

void AvvisoFileTalvor(const QString& testo, const QString& file) { AvvisoFile(testo, file); }
void AvvisoTalvor(const QString& messaggio) { Avviso(messaggio); }

bool LeggiPassaggioTalvor() {
  const QString file = PercorsoFilePassaggio();
  FilePassaggioDati d;
  int riga = 0;
  switch (LeggiFilePassaggio(file, d, kMassimoSchedeTalvor, &riga)) {
    case EsitoPassaggio::Letto: break;
    case EsitoPassaggio::Mancante:
      AvvisoFile(QStringLiteral("Il file manca o non si puo' leggere:"), DescrizioneFile(file));
      return false;
    case EsitoPassaggio::NonValido:
      Avviso(FileDanneggiato(file, riga));
      return false;
    case EsitoPassaggio::TroppeSchede:
      AvvisoFile(QStringLiteral("Il numero di schede supera il massimo ammesso:"),
                 QString::number(kMassimoSchedeTalvor));
      return false;
  }
  if (!HaStem(d.NomeSessione)) {
    AvvisoFile(QStringLiteral("Il nome del file di sessione non contiene un punto:"), d.NomeSessione);
    return false;
  }
  Talvor.Modo = d.Modo;
  Talvor.NumeroSchede = static_cast<int>(d.Schede.size());
  for (int s = 1; s <= Talvor.NumeroSchede; ++s) Talvor.ElencoSchede[static_cast<std::size_t>(s)] = d.Schede[s - 1];
  Talvor.NomeFileDati = d.NomeSessione;
  return true;
}

bool LeggiOpzioniGraficheTalvor(bool avvisa) {
  const QString file = FileSessione(QStringLiteral(".GRA"));
  int riga = 0;
  if (LeggiFileOpzioniGrafiche(file, Talvor.Grafica, &riga) != EsitoOpzioni::NonValido) return true;
  if (avvisa) Avviso(FileDanneggiato(file, riga));
  return false;
}

bool LeggiFronteTalvor() {
  const QString file = FileSessione(QStringLiteral(".fro"));
  int riga = 0;
  switch (LeggiFileFronte(file, Talvor.ValoriFronte, &riga)) {
    case EsitoFronte::Letto: return true;
    case EsitoFronte::Mancante: return false;
    case EsitoFronte::NonValido:
      Avviso(FileDanneggiato(file, riga));
      return false;
  }
  return false;
}

namespace {
// The titles of the plot and of the result from the session's title file; a file there that cannot be read is told.
bool LeggiTitoliTalvor() {
  const QString file = FileSessione(QStringLiteral(".tit"));
  int riga = 0;
  if (LeggiTitoliAnalisi(file, Talvor.TitoliGrafico, &riga)) return true;
  Avviso(FileDanneggiato(file, riga));
  return false;
}
}  // namespace

bool CaricaPoli() {
  auto& T = Talvor;
  // Configuration and criteria.
  ModuloConfigurazione configurazione;
  QString errore;
  if (!LeggiFileConfigurazione(plat::JoinPath(T.PercorsoProgramma, QStringLiteral("frattixint.cfg")),
                               Avvio.NumeroLingua, configurazione, &errore)) {
    Avviso(FileDanneggiatoDescritto(errore));
    return false;
  }
  ModuloSelezione criteri;
  CriteriPredefinitiAnalisi(criteri);
  if (LeggiFileSelezione(FileSessione(QStringLiteral(".sel")), configurazione, criteri, &errore) ==
      EsitoSelezione::NonValida) {
    Avviso(FileDanneggiatoDescritto(errore));
    return false;
  }

  // The accepted records of every listed sheet.
  std::vector<QString> accettati;
  T.NumeroPoli = 0;
  T.NumeroSchedeCaricate = 0;
  ModuloScheda scheda;
  std::vector<int> linee;
  const auto danneggiata = [](const QString& nome, int riga) {
    Avviso(FileDanneggiato(nome, riga));
    return false;
  };
  for (int s = 1; s <= T.NumeroSchede; ++s) {
    const int n = ++T.NumeroSchedeCaricate;
    const QString nome = T.ElencoSchede[static_cast<std::size_t>(s)];
    int riga = 0;
    const EsitoScheda esito = LeggiFileScheda(nome, scheda, std::numeric_limits<int>::max(), &linee, &riga);
    if (esito == EsitoScheda::Illeggibile) {
      AvvisoFile(QStringLiteral("Il file manca o non si puo' leggere:"), DescrizioneFile(nome));
      return false;
    }
    if (esito != EsitoScheda::Letta) return danneggiata(nome, riga);
    // Every number of the sheet as the sheet's forms and grid write it: a measuring line, a length or a record
    // field that is none (or out of its range) would be taken as another value, or as 0, without a word.
    StendimentoScheda stendimento;
    if (!NumeriDellaScheda(scheda, linee, &stendimento, &riga)) return danneggiata(nome, riga);
    // The measuring line: "direction/inclination" on header line 3, its length on line 5.
    if (stendimento.Presente) {
      T.DirezioneStendimento[static_cast<std::size_t>(n)] = kPi / 2 - stendimento.Direzione * kPi / 180;
      T.InclinazioneStendimento[static_cast<std::size_t>(n)] = -stendimento.Inclinazione * kPi / 180;
      T.LunghezzaStendimento[static_cast<std::size_t>(n)] = stendimento.Lunghezza;
    }
    for (int k = 1; k <= scheda.NumeroRigheScheda; ++k) {
      const QString& record = scheda.RigheScheda[static_cast<std::size_t>(k)];
      if (!RecordSelezionato(record, configurazione, criteri)) continue;
      if (static_cast<int>(accettati.size()) == kMassimoRecordPoli) {
        MessaggioLimite(kMassimoRecordPoli);
        return false;
      }
      accettati.push_back(record);
    }
  }
  if (accettati.empty()) {
    Avviso(Traduci(QStringLiteral("Nessuna discontinuita' delle schede della sessione soddisfa i criteri di selezione.")));
    return false;
  }

  // Records of equal dip and dip direction make one point, weighted by their multiplicities.
  VettorePoli inclinazione{}, immersione{};
  int punti = 0;
  for (const QString& record : accettati) {
    const double inc = ValoreCampo(record, Inc);
    const double imm = ValoreCampo(record, Imm);
    const double apertura = ValoreCampo(record, Ap);
    double m = ValoreCampo(record, Nu);
    if (m == 0) m = 1;  // a blank multiplicity: one discontinuity
    int p = 1;
    while (p <= punti && !(inclinazione[static_cast<std::size_t>(p)] == inc &&
                           immersione[static_cast<std::size_t>(p)] == imm))
      ++p;
    const auto u = static_cast<std::size_t>(p);
    if (p > punti) {
      if (p > kMassimoPoli) {
        MessaggioLimite(kMassimoPoli);
        return false;
      }
      punti = p;
      inclinazione[u] = inc;
      immersione[u] = imm;
      T.PesoPoli[u] = 0;
      T.AperturaPoli[u] = 0;
    }
    T.AperturaPoli[u] = (T.PesoPoli[u] * T.AperturaPoli[u] + m * apertura) / (T.PesoPoli[u] + m);
    T.PesoPoli[u] += m;
  }
  T.NumeroPoli = punti;
  for (int p = 1; p <= punti; ++p) {
    const auto u = static_cast<std::size_t>(p);
    T.InclinazionePoli[u] = kPi / 2 - inclinazione[u] * kPi / 180;
    double direzione = kPi / 2 - immersione[u] * kPi / 180;
    if (direzione < 0) direzione += 2 * kPi;
    T.DirezionePoli[u] = direzione;
  }
  return LeggiTitoliTalvor();
}

bool SalvaRisultati() {
  const auto& T = Talvor;
  RisultatoCluster r;
  r.Titoli = T.TitoliGrafico;
  r.NumeroPoli = T.NumeroPoli;
  r.Punti.assign(static_cast<std::size_t>(T.NumeroPoli) + 1, std::array<double, 5>{});
  for (int i = 1; i <= T.NumeroPoli; ++i) {
    const auto u = static_cast<std::size_t>(i);
    r.Punti[u] = {0, T.InclinazionePoli[u], T.DirezionePoli[u], T.InclinazioneCentri[u], T.DirezioneCentri[u]};
  }
  r.NumeroCluster = T.NumeroCluster;
  r.DistanzaMassima = T.DistanzaMassima;
  r.Membri.assign(static_cast<std::size_t>(std::max(T.NumeroCluster, 0)) + 1, {});
  for (int k = 1; k <= T.NumeroCluster && k <= kMassimoPoli; ++k) {
    const auto u = static_cast<std::size_t>(k);
    const int membri = std::clamp(T.NumeroMembri[u], 0, kMassimoPoli);
    for (int j = 1; j <= membri; ++j) r.Membri[u].push_back(T.MembriCluster[u][static_cast<std::size_t>(j)]);
  }
  const QString file = FileSessione(QStringLiteral(".dat"));
  if (T.NumeroCluster > kMassimoPoli || !ScriviFileRisultato(file, r)) {
    AvvisoFile(QStringLiteral("Impossibile scrivere il file:"), DescrizioneFile(file));
    return false;
  }
  return true;
}

bool LeggiRisultati() {
  auto& T = Talvor;
  const QString file = FileSessione(QStringLiteral(".dat"));
  RisultatoCluster r;
  int riga = 0;
  const EsitoRisultato esito = LeggiFileRisultato(file, r, kMassimoPoli, kMassimoPoli, &riga);
  if (esito == EsitoRisultato::Mancante) {
    AvvisoFile(QStringLiteral("Il file manca o non si puo' leggere:"), DescrizioneFile(file));
    return false;
  }
  if (esito == EsitoRisultato::TroppiPunti || esito == EsitoRisultato::TroppiCluster) {
    // More than the clustering ever writes: the limit is told, with the file and the line of the count.
    AvvisoFile(esito == EsitoRisultato::TroppiPunti ? QStringLiteral("Il numero di punti supera il massimo ammesso:")
                                                    : QStringLiteral("Il numero di famiglie supera il massimo ammesso:"),
               QString::number(kMassimoPoli) + QLatin1Char('\n') + DescrizioneFile(file, riga));
    return false;
  }
  if (esito != EsitoRisultato::Letto) {
    Avviso(FileDanneggiato(file, riga));
    return false;
  }
  T.NumeroPoli = r.NumeroPoli;
  for (int i = 1; i <= r.NumeroPoli; ++i) {
    const auto u = static_cast<std::size_t>(i);
    T.InclinazionePoli[u] = r.Punti[u][1];
    T.DirezionePoli[u] = r.Punti[u][2];
    T.InclinazioneCentri[u] = r.Punti[u][3];
    T.DirezioneCentri[u] = r.Punti[u][4];
  }
  T.NumeroCluster = r.NumeroCluster;
  T.DistanzaMassima = r.DistanzaMassima;
  for (int k = 1; k <= r.NumeroCluster; ++k) {
    const auto u = static_cast<std::size_t>(k);
    const auto& gruppo = r.Membri[u];
    T.NumeroMembri[u] = static_cast<int>(gruppo.size());
    for (std::size_t j = 0; j < gruppo.size(); ++j) T.MembriCluster[u][j + 1] = gruppo[j];
  }
  // The current title file wins over the titles stored in the result.
  return LeggiTitoliTalvor();
}

bool AvviaFiglioTalvor(const QString& eseguibile, const QString& nome) {
  QString errore;
  int codice = 0;
  if (!plat::RunChildAndWait(eseguibile, {}, &errore, &codice)) {
    AvvisoFile(QStringLiteral("Impossibile avviare il programma:"), nome);
    return false;
  }
  // Killed or crashed mid-run, the child may have left its results unfinished or none at all: the user is told.
  if (codice == plat::kChildCrashed) {
    AvvisoFile(QStringLiteral("Il programma e' terminato in modo anomalo:"), nome);
    return false;
  }
  return true;
}

void AvviaPeldrix() { AvviaFiglioTalvor(QStringLiteral("peldrix.exe"), QStringLiteral("peldrix")); }

namespace {

// The result tables of an earlier run, in the order they are removed.
QStringList TabelleVecchie() {
  return {FileTabella(Talvor.NomeFileDati, QStringLiteral("PER")), FileTabella(Talvor.NomeFileDati, QStringLiteral("FAM")),
          FileSessione(QStringLiteral(".GMC"))};
}

// A table that a save could not write (one the user made read-only, or a folder, pipe or device at its name) is
// told, and kept.
bool TabellaScrivibile(const QString& file) {
  if (plat::SaveMayReplace(file)) return true;
  AvvisoFile(QStringLiteral("Il file seguente non puo' essere scritto:"), DescrizioneFile(file));
  return false;
}

}  // namespace

bool RimuoviTabellaVecchia(const QString& file) {
  if (plat::RemoveAsSave(file)) return true;
  AvvisoFile(QStringLiteral("Il file seguente non puo' essere scritto:"), DescrizioneFile(file));
  return false;
}

bool TabelleVecchieScrivibili() {
  bool tutte = true;
  for (const QString& file : TabelleVecchie()) tutte = TabellaScrivibile(file) && tutte;
  return tutte;
}

bool RimuoviTabelleVecchie() {
  bool tutte = true;
  for (const QString& file : TabelleVecchie()) tutte = RimuoviTabellaVecchia(file) && tutte;
  return tutte;
}

int EseguiModoStabilita() {
  // The wedge table is made anew for the slope, families and parameters as they are now: the table of an earlier
  // run goes first, so that a run that ends without a new one (PELDRIX not started, failing or killed) leaves no
  // table that would be taken for the current one. A table the user protected stays, and PELDRIX, which could not
  // write it, is not started.
  if (!RimuoviTabellaVecchia(FileSessione(QStringLiteral(".GMC")))) return 1;
  // Without a family table there is nothing to check; without a slope file nothing to check against.
  if (plat::FileExists(FileTabella(Talvor.NomeFileDati, QStringLiteral("FAM"))) && LeggiFronteTalvor() &&
      CondizionePeldrix(false))
    AvviaPeldrix();
  // The options serve no stability check: read as every run reads them, a damaged file is not told here.
  LeggiOpzioniGraficheTalvor(false);
  return 0;
}

int EseguiModoCluster() {
  if (!LeggiOpzioniGraficheTalvor()) return 1;
  // The new result replaces the tables of the earlier run: one that cannot be replaced is told before the
  // clustering, and nothing is written.
  if (!TabelleVecchieScrivibili()) return 1;
  if (!CaricaPoli()) return 0;
  // The clustering window: the user confirms a result or the program ends here, nothing written.
  if (!EseguiClusterAnalysis()) return 0;
  return ConcludiModoCluster();
}

int ConcludiModoCluster() {
  // The confirmed result replaces every table of an earlier run, once it is saved: a result that cannot be saved
  // leaves the earlier result and its tables as they were.
  if (!SalvaRisultati() || !RimuoviTabelleVecchie()) return 1;
  CalcolaPermeabilita();
  // The family parameters follow the slope file; they are written before the family table, so that the table
  // shows the strengths PELDRIX uses.
  const bool fronte = LeggiFronteTalvor();
  const bool parametri = !fronte || ParametriDaFronte();
  if (!TabellaFamiglie() || !parametri) return 1;
  if (fronte && CondizionePeldrix(true)) AvviaPeldrix();
  return 0;
}

int EseguiModoGrafico() {
  if (!LeggiOpzioniGraficheTalvor()) return 1;
  Talvor.FinestraPagina = {0, 0, 19.4, 27.7};
  if (Talvor.Grafica.GraficoCluster()) {
    if (!plat::EntryExists(FileSessione(QStringLiteral(".dat")))) return 0;
    if (!LeggiRisultati()) return 1;
  } else if (!CaricaPoli()) {
    return 0;
  }
  // The files the plot draws besides the poles: a damaged one is told before the plot, which would show it
  // wrongly or not at all.
  const OpzioniGrafiche& opzioni = Talvor.Grafica;
  if (opzioni.GraficoCluster() && opzioni.NumeriECunei()) {
    std::vector<TracciaCuneo> cunei;
    QString file;
    int riga = 0;
    if (!LeggiCunei(Talvor.NomeFileDati, cunei, &file, &riga)) {
      Avviso(FileDanneggiato(file, riga));
      return 1;
    }
  }
  if (opzioni.FronteEAttrito() && plat::EntryExists(FileSessione(QStringLiteral(".fro"))) && !LeggiFronteTalvor())
    return 1;
  // The stereographic plot in the preview window, then the final wait until the user closes it.
  plat::Form menu1(QStringLiteral("menu1"));
  const auto& w = Talvor.FinestraPagina;
  Grafico.NomeFileDati = Talvor.NomeFileDati;
  InizioGrafico(0, QString(), w[0], w[1], w[2], w[3], 0);
  if (GRAFICA* f = FinestraGrafica()) f->setWindowState(Qt::WindowNoState);
  DisegnaStereogramma();
  Talvor.AttesaFinale = true;
  AttendiChiusuraGrafica();
  return 0;
}

int Main() {
  AzzeraTalvor();
  Talvor.PercorsoProgramma = plat::ProgramFolder();
  if (!LeggiPassaggioTalvor()) return 1;
  if (Talvor.Modo == ModoStabilita) return EseguiModoStabilita();
  if (Talvor.Modo == ModoCluster) return EseguiModoCluster();
  return EseguiModoGrafico();
}
