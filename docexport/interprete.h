// wenlow's markup interpreter: every line of the report document goes through the suite's markup core, and what
// it renders goes to the Word document writer.
#pragma once

#include "common/markup/documento.h"

#include <QString>

#include <memory>

class InterpreteDOC : public InterpreteDocumento {
 public:
  InterpreteDOC();

 protected:
  void ApriDocumento(const ArgomentoReset& argomento) override;
  void ScriviTesto(const QString& riga) override;
  void ScriviTabella(const TabellaDocumento& tabella) override;
  void Direttiva(const RigaDocumento& riga) override;
  bool ChiudiDocumento() override;
};

// Module state of wenlow's main program.
struct ModuloWenlow {
  QString PercorsoDocumento;  // the report document: the whole command line, trimmed
  std::unique_ptr<InterpreteDOC> Interprete;
  bool DocumentoIniziato = false;  // a "#RESET" of the document began a Word document
};
extern ModuloWenlow Wenlow;

// Back to the state of a program start (for tests).
void AzzeraWenlow();

// Interprets one line of the document (trimmed in place).
void InterpretaRigaDOC(QString& riga);

// The name the Word document is saved under: the document's path without its last three characters, then "DOC".
QString NomeDocumentoDOC(const QString& percorsoDocumento);

// The main procedure after the start-up: reads the document named by `rigaComando` line by line and interprets it;
// a document still open at the end of the file is finished and saved. Every saved document's path is written as
// a line on the standard output, for the program that started wenlow. Returns the exit code: 1 after a message when
// the document cannot be read, or when it begins no Word document (an empty report, one without "#RESET").
int Main(const QString& rigaComando);
