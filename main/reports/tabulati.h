// The two reports of the main program: the results report of the open session (ProduciTabulati, <stem>.tab) and
// the report of one survey sheet (TabulatoScheda, <sheet>.tab). Each writes its report document in the suite's
// markup and hands it to the renderer of the mode.
#pragma once

#include <QString>

struct ModuloConfigurazione;
struct ModuloScheda;

// How a report is shown: 1 preview, 2 quick print, 3 Word document, any other value a text file (the commands
// pass 4).
enum ModoTabulato : int { kAnteprima = 1, kStampaRapida = 2, kDocumentoDOC = 3, kTestoTXT = 4 };

// The results report of the open session, shown in `modo`; the session guard's message when no session is open.
void ProduciTabulati(int modo);
// The report of a survey sheet the user picks, shown in `modo`. Needs no session.
void TabulatoScheda(int modo);

// Writes the results report of the session `nomeSessione` into its data folder (the current folder) as
// <stem>.tab, from the session's titles, slope file, family table with the families' strength, wedge table and
// conductivity table, each section only when its file exists. `documento` gets the report's path. False, after
// a message, when an input file is not valid or the report cannot be written.
bool ScriviTabulati(const QString& nomeSessione, QString& documento);
// Writes the report of a sheet read into `scheda` (its path in FileScheda), with the legend of the configuration
// `c`, as <sheet>.tab beside the sheet. False, after a message, when it cannot be written.
bool ScriviTabulatoScheda(const ModuloScheda& scheda, const ModuloConfigurazione& c, QString& documento);

// Hands a report document to the renderer of the mode.
void MostraDocumento(const QString& documento, int modo);
