// The Word document writer of wenlow: a new document with the progress window shown, paragraphs and tables
// appended as the markup interpreter hands them over, the document saved as "<name>.DOC".
#pragma once

#include "docexport/progress.h"
#include "docexport/word.h"

#include <QPointer>
#include <QString>

#include <optional>
#include <vector>

// The cells of a table being laid out: Celle[r][c], rows and columns counted from 1 (index 0 unused).
using GrigliaCelle = std::vector<std::vector<QString>>;

// Module state of the writer, one copy per run of wenlow.
struct ModuloScritturaDOC {
  bool NessunaFormattazione = true;  // from editor.txt: no font name, size or italics applied
  // Formatting set by the interpreter (empty before the first "#RESET").
  QString NomeFont;
  double DimensioneFont = 0;
  bool Corsivo = false;
  bool Centrato = false;
  bool AllineaSinistra = false;  // cells of the next table left-aligned ("#ENDTABLELEFTALIGN"), else right

  word::Application Word;
  std::optional<word::Range> Intervallo;  // the insertion range
  int NumeroTabelle = 0;
  QPointer<progress> Finestra;
  bool Clessidra = false;
  // The path the last save wrote the document to; empty when it was not saved (no name chosen, or a failure).
  QString FileSalvato;
};
extern ModuloScritturaDOC ScritturaDOC;

// Back to the state of a program start (for tests).
void AzzeraScritturaDOC();

void ImpostaFont(const QString& nome);
void ImpostaDimensioneFont(double dimensione);
void ImpostaCorsivo(bool corsivo);
void ImpostaCentratura(bool centrato);
void ImpostaAllineamentoSinistro(bool sinistra);

// The no-formatting flag of editor.txt in the program folder: the third item (True/False or a number, 0 being
// False); True when the file or the item is missing or is neither.
bool LeggiNessunaFormattazione();

// Reads editor.txt, shows the progress window and creates a new document.
void ApriDocumentoDOC();
void ScriviParagrafoDOC(const QString& testo);
// Appends a table of `righe` rows and `colonne` columns; style 1 list, 5 table, 0 table without italics. A table
// without rows or columns is left out (the file format has no empty table).
void ScriviTabellaDOC(const GrigliaCelle& celle, int righe, int colonne, int stile);
// Closes the progress window and saves the document under `percorso` (asking before replacing a file; on No the
// user chooses another name or none); ScritturaDOC.FileSalvato tells what was written.
void SalvaDocumentoDOC(const QString& percorso);
