// The start-up routine that every program of the suite runs first: printer, test mode, pending update, language,
// text tables and help file. No window in it: the windowed parts (the language choice, the printer, the start of a
// windowed program) are in finestre.h.
#pragma once

#include "common/platform/printer.h"

#include <QString>

struct RecordDocumentoStampa {
  int Dimensione = 0;
  QString NomeDocumento;
};

// Globals of the start-up, one copy per program.
struct ModuloAvvio {
  int NumeroModulo = 0;        // set by the program before AvvioProgramma
  int NumeroLingua = 0;        // 1 Italian, 2 German, 3 French, 4 Spanish, 5 English, 6 Portuguese
  QString CodiceLingua;        // "ita" ... "por"; upper case after the main program's fallback
  bool ModoProva = false;      // the marker c:\testmode.tra exists
  QString FileAiuto;           // help file of the main program
  RecordDocumentoStampa InfoDocumentoStampa;
  plat::HDC DCStampante = 0;   // 0 until PreparaStampante
};
extern ModuloAvvio Avvio;

// Language codes by number (1..6), lower case; "" for any other number.
QString CodiceDaNumero(int numero);

// The language code whose file "korven<code><estensione>" is installed in the program folder: the code itself, or
// the first installed one of its fallback chain (DEU, ENG, FRA, ESP, ITA; POR falls back to ESP).
QString RipiegoLingua(QString codice, const QString& estensione);

// The language number of `language.cfg`: one whole number from 1 to 6 alone on the first line (blanks around it),
// nothing but blank lines after it. Illeggibile: no file can be read at the name (none, a folder, one that cannot
// be opened); NonValida: a file that holds anything else, cannot be split into its lines, or is larger than any the
// suite writes.
enum class EsitoLingua { Letta, Illeggibile, NonValida };
EsitoLingua LeggiFileLingua(const QString& file, int& numero);

// The file `path` of the program folder: the folder the survey-sheet and session dialogs open in, one whole line
// (commas and blanks are part of the folder's name), nothing after it. ScriviFilePath writes it anew: false (the
// old file untouched) when it cannot be written or the folder holds a character a line cannot hold.
bool ScriviFilePath(const QString& file, const QString& cartella);
// Reads the folder. Mancante: nothing stands at the name; NonValido (the line in `riga`, 0 for the whole file):
// what stands there cannot be read (see SeqReader::Open), its first line is empty, or more than blank lines
// follow it.
enum class EsitoPath { Letto, Mancante, NonValido };
EsitoPath LeggiFilePath(const QString& file, QString& cartella, int* riga = nullptr);

// The module number as two digits ("03", "01", "16").
QString SuffissoModulo(int numero);

// Installs Qt's own translations (its dialogs and buttons) for the language 1 to 6; false when none is installed.
bool CaricaTraduzioniQt(int numeroLingua);

// Runs the start-up (NumeroModulo must be set). `ConSceltaLingua` is True only in the main program. A missing or
// bad language.cfg or text table ends the program with a message in English and a non-zero exit code.
void AvvioProgramma(bool ConSceltaLingua);

// The language choice of the main program's start-up, set by the windowed start (finestre.h): shows the
// language-choice window and returns false when the user gave up without any choice. Without it the start-up
// asks nothing and needs language.cfg.
extern bool (*SceltaLinguaAvvio)(const QString& fileLingua);

// Starting a program that runs without a window and shows one only to report something: the QApplication is
// created at the first message or form (see plat::DeferredApplication).
int EseguiProgrammaSenzaFinestra(int argc, char** argv, int (*body)(int, char**));
