// The six-language text table and the lookup that translates every caption and message of the suite.
#pragma once

#include <QString>

#include <array>
#include <vector>

// State of the text table, one copy per program, filled once at start-up and read-only afterwards.
struct ModuloTesti {
  // Rows 0 to NumeroTesti; columns 1 Italian (the key), 2 German, 3 French, 4 Spanish, 5 English, 6 Portuguese.
  // Row 0 and column 0 are never used.
  std::vector<std::array<QString, 7>> TabellaTesti;
  int NumeroTesti = 0;
  int MassimoTesti = 800;        // 500 in wenlow
  bool RegolaParentesi = true;   // texts in square brackets come back unchanged (not in wenlow)
  std::vector<QString> ChiaviMaiuscole;  // upper-cased Italian of rows 0..NumeroTesti, made by OrdinaTesti
};
extern ModuloTesti Testi;

// Empties the table for `massimo` texts.
void AzzeraTesti(int massimo);

// Appends the texts of one table file (Windows-1252, twelve lines a record, CR LF or LF). False, with a message
// in English in `errore`, when the file is missing or unreadable, ends inside a record, or holds more texts than
// the table does.
bool CaricaTesti(const QString& percorso, QString* errore);

// Sorts rows 1..NumeroTesti by the upper-cased Italian column (shell sort in halving gaps).
void OrdinaTesti();

// The text in the current language.
QString Traduci(const QString& testo);

// How a message names a file: its name, followed by ", riga <n>" when `riga` is above 0, and on the next line
// "Cartella:" and the folder that holds it (the existing case variant of a relative or differently-cased name,
// separators of the system), both labels in the current language. When a folder, a named pipe or a device stands
// at the name (a symbolic link followed), a third line says so. Empty for an empty path.
QString DescrizioneFile(const QString& percorso, int riga = 0);
// The message of a damaged or incomplete file, one text in every program of the suite: the translated text saying
// so and, on the next lines, the file as DescrizioneFile names it (with its line when `riga` is above 0).
QString FileDanneggiato(const QString& percorso, int riga = 0);
// The same message for a file a reader has named already (DescrizioneFile, and what the reader adds after it).
QString FileDanneggiatoDescritto(const QString& descrizione);

// How a message names a character: the character in quotes and its code ("Ω" (U+03A9)); a control character by its
// code alone.
QString DescrizioneCarattere(char32_t c);
// The message of a text that a file of the suite cannot hold because of character `c`: the translated text saying
// so and, on the next line, the character as DescrizioneCarattere names it.
QString MessaggioCarattere(char32_t c);
