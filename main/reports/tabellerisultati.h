// The result tables of an analysis, as the reports read them: the family table (<name>.FAM) and the conductivity
// table (<name>.PER) that TALVOR writes, and the wedge table (<stem>.GMC) that PELDRIX writes. Each is plain text
// in Windows-1252: a heading row of translated labels, then one row per family, principal direction or pair of
// families, cells separated by one TAB. No window in here: any program of the suite may read them this way.
#pragma once

#include <QString>
#include <QStringList>

enum class TabellaRisultati { Famiglie, Conducibilita, Cunei };

// The file of a session's table: the family and conductivity tables are named by the session file name without
// its last three characters ("rock.ses" gives "rock.FAM"), the wedge table by the stem ("rock.GMC").
QString FileTabellaRisultati(const QString& nomeSessione, TabellaRisultati tabella);

struct RigheTabellaRisultati {
  QString testata;    // the heading row
  QStringList righe;  // the data rows, in order, as they stand in the file
};

enum class EsitoTabellaRisultati { Letta, Mancante, NonValida };
// Reads a table whole. An empty file gives an empty heading and no rows. Mancante when nothing stands at the name;
// NonValida when what stands there cannot be read (see SeqReader::Open), with the line of a lone CR in `riga`.
EsitoTabellaRisultati LeggiTabellaRisultati(const QString& percorso, RigheTabellaRisultati& tabella,
                                            int* riga = nullptr);
