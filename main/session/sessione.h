// The session of the main program: its file name, the sheet list in memory, the title lines, and the helpers
// every command uses to name the session's files and to report a problem.
#pragma once

#include "common/data/nomi.h"
#include "common/platform/textio.h"

#include <QString>
#include <QStringList>

#include <vector>

struct ModuloSessione {
  QString NomeSessione;                 // bare session file name ("rock.ses"); "" while no session is open
  int LimiteSchede = 500;               // upper bound of ElencoSchede
  std::vector<QString> ElencoSchede;    // entries 1..NumeroSchede: the sheets of the session's list
  int NumeroSchede = 0;
  std::vector<QString> TitoliCorrenti;  // entries 1..9: the session title lines in memory
  ModuloSessione();
};
extern ModuloSessione Sessione;

// Empties the session title lines (entries 0 to 10, all "").
void AzzeraTitoli();

// The name of a file of the current session: the stem followed by `estensione` (".sel", ".SES", ...).
QString FileDellaSessione(const QString& estensione);

// The hand-over file `temporan` in the program folder, through which the launching commands talk to the children.
QString FilePassaggio();

// The message box of the suite's warnings: Traduci(testo) (followed by `dettaglio` on a new line when given),
// title Traduci("ATTENZIONE") & "!", one OK button.
void Attenzione(const QString& testo, const QString& dettaglio = QString());
// The same box for a message already in the current language (FileDanneggiato and the like).
void AttenzioneTradotta(const QString& messaggio);
// Opens a file of the suite for reading. False when nothing stands at the name (no message: the caller knows what a
// missing file means) and, after the damage message with the file and the line, when what stands there cannot be
// read (see SeqReader::Open).
bool ApriInLettura(plat::SeqReader& r, const QString& percorso);
// The message of a command that needs the clustering result `file` of the session when there is none.
void AvvisoSenzaRisultatoCluster(const QString& file);
// True when a session or sheet file name can be written into the session files (the sheet list, the hand-over
// file) and read back as it is; otherwise a message names the character that keeps it out, and the result is false.
bool NomeScrivibile(const QString& nome);
// After a damaged file has been reported: asks whether to start again from the defaults (true for Yes).
bool RipartireDaiPredefiniti();

// The file `path` in the program folder: the folder last used for sessions and survey sheets. CartellaPath
// creates the file with the program folder's "data" when it is missing and returns its first item; it never
// changes the current folder. ScriviPath leaves the file as it is for a folder that a line of it cannot hold.
QString CartellaPath();
void ScriviPath(const QString& cartella);

// Splits a path the way the session commands do: `cartella` is the text before the last separator ("/" or "\"),
// without a trailing separator, the root "/" or a drive root "d:\" kept whole; `nome` the text after it.
void DividiPercorso(const QString& percorso, QString& cartella, QString& nome);
