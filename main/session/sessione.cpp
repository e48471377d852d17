#include "main/session/sessione.h"

#include "common/data/passaggio.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"

ModuloSessione Sessione;

ModuloSessione::ModuloSessione()
    : ElencoSchede(static_cast<std::size_t>(LimiteSchede) + 1), TitoliCorrenti(11) {}

void AzzeraTitoli() { Sessione.TitoliCorrenti.assign(11, QString()); }

QString FileDellaSessione(const QString& estensione) { return FileStem(Sessione.NomeSessione, estensione); }

QString FilePassaggio() { return PercorsoFilePassaggio(); }

void Attenzione(const QString& testo, const QString& dettaglio) {
  QString t = Traduci(testo);
  if (!dettaglio.isEmpty()) t += QLatin1Char('\n') + dettaglio;
  AttenzioneTradotta(t);
}

void AttenzioneTradotta(const QString& messaggio) {
  plat::MsgBox(messaggio, plat::vbOKOnly, Traduci(QStringLiteral("ATTENZIONE")) + QStringLiteral("!"));
}

bool ApriInLettura(plat::SeqReader& r, const QString& percorso) {
  if (r.Open(percorso)) return true;
  if (!r.Missing())
    AttenzioneTradotta(FileDanneggiato(percorso, r.FaultLine()));
  return false;
}

void AvvisoSenzaRisultatoCluster(const QString& file) {
  Attenzione(QStringLiteral("Nessun risultato della cluster analysis per questa sessione:"), file);
}

bool NomeScrivibile(const QString& nome) {
  const auto carattere = CarattereNonAmmessoNelNome(nome);
  if (!carattere) return true;
  Attenzione(QStringLiteral("Il nome seguente non puo' essere scritto nei file della sessione; carattere non ammesso:"),
             DescrizioneCarattere(*carattere) + QLatin1Char('\n') + nome);
  return false;
}

bool RipartireDaiPredefiniti() {
  return plat::MsgBox(Traduci(QStringLiteral("Volete ripartire dai valori predefiniti?")),
                      plat::vbYesNo + plat::vbQuestion,
                      Traduci(QStringLiteral("ATTENZIONE")) + QStringLiteral("!")) == plat::vbYes;
}

QString CartellaPath() {
  const QString file = plat::JoinPath(plat::ProgramFolder(), QStringLiteral("path"));
  if (!plat::EntryExists(file)) ScriviPath(plat::JoinPath(plat::ProgramFolder(), QStringLiteral("data")));
  QString cartella;
  int riga = 0;
  if (LeggiFilePath(file, cartella, &riga) == EsitoPath::NonValido)
    AttenzioneTradotta(FileDanneggiato(file, riga));
  return cartella;
}

void ScriviPath(const QString& cartella) {
  // A folder the file cannot hold would come back as another folder: the one remembered before stays.
  if (plat::CharacterALineCannotHold(cartella)) return;
  const QString file = plat::JoinPath(plat::ProgramFolder(), QStringLiteral("path"));
  if (!ScriviFilePath(file, cartella))
    Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), DescrizioneFile(file));
}

void DividiPercorso(const QString& percorso, QString& cartella, QString& nome) {
  nome = plat::FileNamePart(percorso);
  const qsizetype n = percorso.size() - nome.size();
  cartella = n > 0 ? percorso.left(n - 1) : QString();
  if (n > 0 && cartella.isEmpty()) cartella = percorso.left(1);  // the root folder
  else if (cartella.endsWith(QLatin1Char(':'))) cartella += QLatin1Char('\\');  // a drive root
}
