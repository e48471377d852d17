#include "common/texts/avvio.h"

#include "common/platform/files.h"
#include "common/platform/process.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/testi.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cmath>

ModuloAvvio Avvio;
bool (*SceltaLinguaAvvio)(const QString& fileLingua) = nullptr;

namespace {

const char* const kCodici[] = {"", "ita", "deu", "fra", "esp", "eng", "por"};

[[noreturn]] void Fallimento(const QString& testo) {
  // No language is known yet: the message is in English.
  plat::FatalError(testo, QStringLiteral("FRATTIX"), 2);
}

// Moves every file that matches `pattern` into `cartella` (copy under the same name, then delete the source). It
// stops at the first file that cannot be written there and gives its path; "" when every file moved.
QString SpostaFile(const QString& pattern, const QString& cartella) {
  const QStringList files = plat::FindFiles(pattern);
  for (const QString& f : files) {
    const QString destinazione = plat::JoinPath(cartella, plat::FileNamePart(f));
    if (!plat::CopyFileOver(f, destinazione)) return destinazione;
    plat::DeleteFile(f);
  }
  return QString();
}

// A file that the start-up could not write, told once the texts are known; `ripetuto` adds that the update will
// be tried again at the next start.
void AvvisoNonScritto(const QString& file, bool ripetuto) {
  QString testo = Traduci(QStringLiteral("Il file seguente non puo' essere scritto:")) + QLatin1Char('\n') +
                  DescrizioneFile(file);
  if (ripetuto) testo += QLatin1Char('\n') + Traduci(QStringLiteral("L'aggiornamento sara' ripetuto al prossimo avvio."));
  plat::MsgBox(testo, plat::vbOKOnly | plat::vbExclamation, Traduci(QStringLiteral("ATTENZIONE")) + QLatin1Char('!'));
}

}  // namespace

EsitoLingua LeggiFileLingua(const QString& file, int& numero) {
  plat::SeqReader r;
  if (!r.Open(file)) {
    const bool danneggiato = r.Fault() == plat::ReadFault::LineEnds || r.Fault() == plat::ReadFault::TooLarge;
    return danneggiato ? EsitoLingua::NonValida : EsitoLingua::Illeggibile;
  }
  double valore = 0;
  bool ok = false;
  if (!r.ReadNumberLine(valore, &ok) || !ok || valore != std::floor(valore) || valore < 1 || valore > 6)
    return EsitoLingua::NonValida;
  QString riga;
  while (r.ReadLine(riga))
    if (!plat::TrimBlanks(riga).isEmpty()) return EsitoLingua::NonValida;
  numero = static_cast<int>(valore);
  return EsitoLingua::Letta;
}

bool ScriviFilePath(const QString& file, const QString& cartella) {
  if (plat::CharacterALineCannotHold(cartella)) return false;
  plat::SeqWriter w(file);
  if (!w.IsOpen()) return false;
  w.WriteLine(cartella);
  return w.Close();
}

EsitoPath LeggiFilePath(const QString& file, QString& cartella, int* riga) {
  plat::SeqReader r;
  auto guasto = [riga](int linea) {
    if (riga) *riga = linea;
    return EsitoPath::NonValido;
  };
  if (!r.Open(file)) return r.Missing() ? EsitoPath::Mancante : guasto(r.FaultLine());
  QString letta;
  if (!r.ReadLine(letta) || letta.isEmpty()) return guasto(1);
  for (QString altra; !r.AtEnd();) {
    const int linea = r.LineNumber();
    r.ReadLine(altra);
    if (!plat::TrimBlanks(altra).isEmpty()) return guasto(linea);
  }
  cartella = letta;
  return EsitoPath::Letto;
}

// Fallback of a language code by the installed files "korven<code><estensione>".
QString RipiegoLingua(QString codice, const QString& estensione) {
  auto manca = [&](const QString& c) {
    return !plat::FileExists(plat::JoinPath(plat::ProgramFolder(), QStringLiteral("korven") + c + estensione));
  };
  if (codice.toUpper() == QLatin1String("DEU") && manca(codice)) codice = QStringLiteral("ENG");
  if (codice.toUpper() == QLatin1String("ENG") && manca(codice)) codice = QStringLiteral("FRA");
  if (codice.toUpper() == QLatin1String("FRA") && manca(codice)) codice = QStringLiteral("ESP");
  if (codice.toUpper() == QLatin1String("POR") && manca(codice)) codice = QStringLiteral("ESP");
  if (codice.toUpper() == QLatin1String("ESP") && manca(codice)) codice = QStringLiteral("ITA");
  return codice;
}

QString CodiceDaNumero(int numero) {
  return numero >= 1 && numero <= 6 ? QString::fromLatin1(kCodici[numero]) : QString();
}

QString SuffissoModulo(int numero) { return (QStringLiteral("0") + QString::number(numero)).right(2); }

// Qt's own dialogs (file, print, page set-up) speak the language of the suite: Qt's translations for it are
// installed once the language number is known. A missing translation leaves them in English.
bool CaricaTraduzioniQt(int numeroLingua) {
  static const char* const nomi[] = {"qtbase_it", "qtbase_de", "qtbase_fr", "qtbase_es", "qtbase_en", "qtbase_pt_BR"};
  static QTranslator* traduttore = nullptr;
  if (!QCoreApplication::instance() || numeroLingua < 1 || numeroLingua > 6) return false;
  if (traduttore) {
    QCoreApplication::removeTranslator(traduttore);
    delete traduttore;
    traduttore = nullptr;
  }
  auto* nuovo = new QTranslator(QCoreApplication::instance());
  if (!nuovo->load(QString::fromLatin1(nomi[numeroLingua - 1]), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete nuovo;
    return false;
  }
  QCoreApplication::installTranslator(nuovo);
  traduttore = nuovo;
  return true;
}

void AvvioProgramma(bool ConSceltaLingua) {
  const QString cartella = plat::ProgramFolder();
  const bool wenlow = Avvio.NumeroModulo == 1;  // the document exporter: no printer, 500 texts, no bracket rule

  // 1. Print-job record. The printer's device context is prepared at the first print (PreparaStampante).
  if (!wenlow) Avvio.InfoDocumentoStampa = {20, QStringLiteral("Brenvale output")};

  // 3-4. Test mode, module suffix.
  Avvio.ModoProva = plat::FileExists(plat::NativePath(QStringLiteral("c:\\testmode.tra")));
  const QString suffisso = SuffissoModulo(Avvio.NumeroModulo);
  bool aggiornamento = false;
  QString nonScritto;  // the file of the update that could not be written: the update is tried again
  QString esempioNonScritto;  // the example file that could not be moved into its data folder

  // 5. Pending update of the installation.
  if (Avvio.NumeroModulo > 1 && !cartella.toUpper().contains(QLatin1String("SOURCE32"))) {
    const QString utility = plat::ResolveProgram(QStringLiteral("utility") + suffisso + QStringLiteral(".exe"));
    if (!utility.isEmpty()) {
      aggiornamento = true;
      QString errore;
      if (!plat::RunChildAndWait(utility, {}, &errore)) {
        plat::MsgBox(QStringLiteral("The update utility could not be started (%1); the program goes on.").arg(errore),
                     plat::vbOKOnly | plat::vbExclamation, QStringLiteral("FRATTIX"));
      }
      // The update is done only when all its files have moved into the program folder: until then the utility and
      // the files that are left stay, and the next start runs it again.
      const QString temporanea = plat::NativePath(QStringLiteral("c:\\tempbv"));
      nonScritto = SpostaFile(plat::JoinPath(temporanea, QStringLiteral("*.*")), cartella);
      if (nonScritto.isEmpty()) {
        plat::RemoveFolder(temporanea);
        plat::DeleteFile(utility);
      } else {
        aggiornamento = false;
      }
    }
  }

  // 6. Language choice (main program only): also when the file cannot be read as a language number, so that a
  // damaged file is chosen anew as a missing one is.
  const QString fileLingua = plat::JoinPath(cartella, QStringLiteral("language.cfg"));
  int numero = 0;
  EsitoLingua esitoLingua = LeggiFileLingua(fileLingua, numero);
  if (ConSceltaLingua && SceltaLinguaAvvio && (Avvio.ModoProva || esitoLingua != EsitoLingua::Letta)) {
    if (!SceltaLinguaAvvio(fileLingua)) Fallimento(QStringLiteral("No language was chosen: the program ends."));
    esitoLingua = LeggiFileLingua(fileLingua, numero);  // the file the choice has written
  }

  // 7. The language number. The file is named as it stands on disk.
  switch (esitoLingua) {
    case EsitoLingua::Letta: break;
    case EsitoLingua::Illeggibile:
      Fallimento(QStringLiteral("The language file %1 is missing or cannot be read. Start FRATTIX and choose a "
                                "language.")
                     .arg(plat::ResolveForWrite(fileLingua)));
    case EsitoLingua::NonValida:
      Fallimento(QStringLiteral("The language file %1 does not hold a language number from 1 to 6. Start FRATTIX "
                                "and choose a language again.")
                     .arg(plat::ResolveForWrite(fileLingua)));
  }
  Avvio.NumeroLingua = numero;
  CaricaTraduzioniQt(Avvio.NumeroLingua);

  // 8. After an update: data folders and example files.
  if (aggiornamento) {
    const QString dati = plat::JoinPath(cartella, QStringLiteral("data"));
    plat::MakeFolder(dati);
    for (const char* c : {"ita", "fra", "eng", "esp"}) plat::MakeFolder(plat::JoinPath(dati, QString::fromLatin1(c)));
    for (const auto& [pattern, lingua] : {std::pair{"esem*.*", "ita"}, {"exam*.*", "eng"}, {"exem*.*", "fra"},
                                          {"ejem*.*", "esp"}})
      if (esempioNonScritto.isEmpty())
        esempioNonScritto = SpostaFile(plat::JoinPath(cartella, QString::fromLatin1(pattern)),
                                       plat::JoinPath(dati, QString::fromLatin1(lingua)));
  }

  // 9. Language code.
  if (!CodiceDaNumero(Avvio.NumeroLingua).isEmpty()) Avvio.CodiceLingua = CodiceDaNumero(Avvio.NumeroLingua);

  // 10. Text tables.
  AzzeraTesti(wenlow ? 500 : 800);
  Testi.RegolaParentesi = !wenlow;
  const int moduloTesti = Avvio.NumeroModulo == 16 ? 17 : Avvio.NumeroModulo;
  for (const QString& nome : {QStringLiteral("texts01.txt"), QStringLiteral("texts") + SuffissoModulo(moduloTesti) +
                                                                 QStringLiteral(".txt")}) {
    QString errore;
    if (!CaricaTesti(plat::JoinPath(cartella, nome), &errore)) Fallimento(errore);
  }
  OrdinaTesti();
  if (!nonScritto.isEmpty()) AvvisoNonScritto(nonScritto, true);
  if (!esempioNonScritto.isEmpty()) AvvisoNonScritto(esempioNonScritto, false);

  // 11. Fallback of the language code by the installed pen tables and help files (main program only).
  if (ConSceltaLingua) {
    Avvio.CodiceLingua = RipiegoLingua(Avvio.CodiceLingua, QStringLiteral(".cfg"));
    const QString codiceAiuto = RipiegoLingua(Avvio.CodiceLingua, QStringLiteral(".hlp"));
    Avvio.FileAiuto = plat::JoinPath(cartella, QStringLiteral("korven") + codiceAiuto + QStringLiteral(".hlp"));
  }

  // 12. After an update: the folder of the survey sheets.
  if (aggiornamento) {
    const QString path = plat::JoinPath(cartella, QStringLiteral("path"));
    if (!ScriviFilePath(path, plat::JoinPath(plat::JoinPath(cartella, QStringLiteral("data")), Avvio.CodiceLingua)))
      AvvisoNonScritto(path, false);
  }
}

int EseguiProgrammaSenzaFinestra(int argc, char** argv, int (*body)(int, char**)) {
  plat::CheckTemporaryFolder();
  plat::DeferredApplication app(argc, argv, [] { CaricaTraduzioniQt(Avvio.NumeroLingua); });
  return body(argc, argv);
}
