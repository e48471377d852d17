#include "rosediagram/mirvane.h"

#include "common/data/configurazione.h"
#include "common/data/nomi.h"
#include "common/data/scheda.h"
#include "common/data/selezione.h"
#include "common/platform/application.h"
#include "common/platform/files.h"
#include "common/platform/forms.h"
#include "common/platform/ui.h"
#include "common/plot/grafica.h"
#include "common/plot/grafico.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"
#include "rosediagram/diagramma.h"

#include <QCoreApplication>
#include <QEvent>

#include <limits>
#include <memory>

ModuloMirvane Mirvane;

namespace {

// The page of the diagram, in centimetres.
constexpr double kPaginaX = 19.4;
constexpr double kPaginaY = 27.7;

// A message about a file: the text, then on the next lines the file's name (and line) and folder.
QString ConFile(const QString& testo, const QString& descrizione) {
  return Traduci(testo) + QLatin1Char('\n') + descrizione;
}

QString FileMancante(const QString& file) {
  return ConFile(QStringLiteral("Il file manca o non si puo' leggere:"), DescrizioneFile(file));
}

void Avvisa(const QString& testo) {
  plat::MsgBox(testo, plat::vbOKOnly | plat::vbExclamation, Traduci(QStringLiteral("ATTENZIONE")) + QLatin1Char('!'));
}

}  // namespace

void ImpostaNumeroModulo() { Avvio.NumeroModulo = 3; }

bool LeggiPassaggioMirvane(QString* errore) {
  const QString file = PercorsoFilePassaggio();
  FilePassaggioDati d;
  int riga = 0;
  switch (LeggiFilePassaggio(file, d, Mirvane.LimiteDiscontinuita, &riga)) {
    case EsitoPassaggio::Letto: break;
    case EsitoPassaggio::Mancante: *errore = FileMancante(file); return false;
    case EsitoPassaggio::NonValido: *errore = FileDanneggiato(file, riga); return false;
    case EsitoPassaggio::TroppeSchede:
      *errore = ConFile(QStringLiteral("Il numero di schede supera il massimo ammesso:"),
                        QString::number(Mirvane.LimiteDiscontinuita));
      return false;
  }
  if (d.IndiceScheda == 0) d.IndiceScheda = 1;
  Mirvane.Passaggio = d;
  Mirvane.NomeFileDati = d.NomeSessione;
  return true;
}

EsitoCaricamento CaricaDiscontinuita(QString* errore) {
  ModuloMirvane& m = Mirvane;
  m.AngoliImmersione.clear();
  m.AngoliInclinazione.clear();

  ModuloConfigurazione configurazione;
  const QString fileConfigurazione = plat::JoinPath(plat::ProgramFolder(), QStringLiteral("frattixint.cfg"));
  QString dettaglio;
  if (!LeggiFileConfigurazione(fileConfigurazione, Avvio.NumeroLingua, configurazione, &dettaglio)) {
    *errore = FileDanneggiatoDescritto(dettaglio);
    return EsitoCaricamento::Errore;
  }

  ModuloSelezione criteri;
  CriteriPredefinitiAnalisi(criteri);
  const QString fileCriteri = FileStem(m.NomeFileDati, QStringLiteral(".sel"));
  if (LeggiFileSelezione(fileCriteri, configurazione, criteri, &dettaglio) == EsitoSelezione::NonValida) {
    *errore = FileDanneggiatoDescritto(dettaglio);
    return EsitoCaricamento::Errore;
  }

  // The selected records of every sheet, in the order of the list; the limit counts records, not orientations.
  std::vector<QString> selezionate;
  std::vector<int> linee;
  for (const QString& nome : m.Passaggio.Schede) {
    ModuloScheda scheda;
    int riga = 0;
    switch (LeggiFileScheda(nome, scheda, std::numeric_limits<int>::max(), &linee, &riga)) {
      case EsitoScheda::Letta: break;
      case EsitoScheda::Illeggibile: *errore = FileMancante(nome); return EsitoCaricamento::Errore;
      case EsitoScheda::Incompleta:
      case EsitoScheda::TroppeRighe: *errore = FileDanneggiato(nome, riga); return EsitoCaricamento::Errore;
    }
    // Every number of the sheet as the sheet's forms and grid write it, as every reader of sheets takes it.
    if (!NumeriDellaScheda(scheda, linee, nullptr, &riga)) {
      *errore = FileDanneggiato(nome, riga);
      return EsitoCaricamento::Errore;
    }
    for (int i = 1; i <= scheda.NumeroRigheScheda; ++i) {
      const QString& record = scheda.RigheScheda[static_cast<std::size_t>(i)];
      if (!RecordSelezionato(record, configurazione, criteri)) continue;
      if (static_cast<int>(selezionate.size()) >= m.LimiteDiscontinuita) {
        *errore = MessaggioLimiteDiscontinuita(m.LimiteDiscontinuita);
        return EsitoCaricamento::OltreIlLimite;
      }
      selezionate.push_back(record);
    }
  }
  if (selezionate.empty()) {
    *errore = Traduci(QStringLiteral("Nessuna discontinuita' delle schede della sessione soddisfa i criteri di selezione."));
    return EsitoCaricamento::NessunaSelezione;
  }

  // Every distinct pair (dip, dip direction) once, in the order of its first appearance.
  for (const QString& record : selezionate) {
    const double inclinazione = ValoreCampo(record, Inc);
    const double immersione = ValoreCampo(record, Imm);
    bool nota = false;
    for (std::size_t j = 0; j < m.AngoliImmersione.size() && !nota; ++j)
      nota = m.AngoliInclinazione[j] == inclinazione && m.AngoliImmersione[j] == immersione;
    if (nota) continue;
    m.AngoliInclinazione.push_back(inclinazione);
    m.AngoliImmersione.push_back(immersione);
  }

  const QString fileTitoli = FileStem(m.NomeFileDati, QStringLiteral(".tit"));
  int riga = 0;
  if (!LeggiTitoliAnalisi(fileTitoli, m.TitoliDiagramma, &riga)) {
    *errore = FileDanneggiato(fileTitoli, riga);
    return EsitoCaricamento::Errore;
  }
  return EsitoCaricamento::Caricato;
}

bool RiscriviPassaggio(QString* errore) {
  const QString file = PercorsoFilePassaggio();
  if (ScriviFilePassaggio(file, Mirvane.Passaggio)) return true;
  *errore = ConFile(QStringLiteral("Impossibile scrivere il file:"), DescrizioneFile(file));
  return false;
}

void MostraGrafico() {
  // The program's own form, never shown: the final wait ends when the preview window is the other loaded form
  // no more.
  auto menu1 = std::make_unique<plat::Form>(QStringLiteral("menu1"));
  Grafico.NomeFileDati = Mirvane.NomeFileDati;
  InizioGrafico(0, QString(), 0, 0, kPaginaX, kPaginaY, 0);
  if (GRAFICA* f = FinestraGrafica()) f->setWindowState(Qt::WindowNoState);
  DisegnaDiagramma();
  AttendiChiusuraGrafica();
  menu1.reset();
  plat::DeleteClosedWindows();
}

int EseguiMirvane() {
  Mirvane = ModuloMirvane{};
  ImpostaNumeroModulo();
  QString errore;
  if (!LeggiPassaggioMirvane(&errore)) {
    Avvisa(errore);
    return 1;
  }
  switch (CaricaDiscontinuita(&errore)) {
    case EsitoCaricamento::Caricato: break;
    case EsitoCaricamento::NessunaSelezione: Avvisa(errore); return 0;
    case EsitoCaricamento::OltreIlLimite:
    case EsitoCaricamento::Errore: Avvisa(errore); return 1;
  }
  // A hand-over file that cannot be written is reported; the diagram does not depend on it.
  if (!RiscriviPassaggio(&errore)) Avvisa(errore);
  MostraGrafico();
  return 0;
}
