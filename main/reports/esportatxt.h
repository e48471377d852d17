// Text export of a report document: the text renderer ScriviRigaTXT and its driver EsportaDocumentoTXT, which
// writes <name>.txt beside the document (UTF-8, CR LF) and opens it in the text viewer.
#pragma once

#include <QString>

struct ModuloEsportaTXT {
  QString NomeFileTXT;  // the text file being written: set by the driver, opened by the renderer at "#RESET"
};
extern ModuloEsportaTXT EsportaTXT;

// Exports the document at `percorso` (nothing when it does not exist). An existing text file is overwritten only
// after the user agrees; else the user picks another name (no name: nothing is written). The viewer is started
// only on a file that was written; a file that cannot be written is reported.
void EsportaDocumentoTXT(const QString& percorso);

// The text renderer's line procedure (the line is trimmed in place). The text file holds the header before the
// first text line, the text lines and the table and list rows as they stand (cells separated by TAB), and the
// footer as its last line.
void ScriviRigaTXT(QString& riga);
// The end of the document file: a document without "#ENDDOCUMENT" is finished. False when the text file of the
// document could not be written.
bool FineDocumentoTXT();

// A fresh renderer state and module (for tests: the header and footer carry over from one export to the next).
void AzzeraEsportaTXT();
