// The printer renderer of report documents: StampaDocumento prints a document on the program's printer object
// (the default printer, or a PDF file), StampaRigaDocumento renders one line. The page is laid out in points:
// margins, header and footer centred on every page, text lines placed left, centred or right, lists with leader
// dots, tables with a bold head row repeated on every page they run on and columns aligned by the tab style.
#pragma once

#include <QString>

namespace plat {
class TextPrinter;
}

// Prints the document at `percorso` as one print job (nothing when it does not exist). When the job went to a PDF
// file the user is told where; a job the printer refused is reported, and so is a document that prints nothing.
void StampaDocumento(const QString& percorso);

// The printer set-up (the common dialog's, titled `titolo`): the printer, the paper and the output file chosen take
// the later print jobs of the run, those of the plot programs it starts included. An output file that no print
// job may write (a named pipe, a device) is refused with a message; a symbolic link there, which the print job
// replaces, is asked about. True when the user confirmed the set-up.
bool ConfiguraStampante(const QString& titolo);

// The printer renderer's line procedure (the line is trimmed in place).
void StampaRigaDocumento(QString& riga);
// The end of the document file: a document without "#ENDDOCUMENT" is finished (footer, end of the job). False
// when the printer refused the job.
bool FineDocumentoStampa();

// The printer the renderer prints on: the program's printer object unless a test puts a stand-in in its place
// (nullptr puts the printer object back).
void ImpostaStampanteDocumento(plat::TextPrinter* stampante);
// A fresh renderer state (for tests: header, footer and fonts carry over from one document to the next).
void AzzeraStampa();
