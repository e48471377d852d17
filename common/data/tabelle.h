// The result tables of an analysis: the family table (<name>.FAM) and the conductivity table (<name>.PER) that
// TALVOR writes, and the wedge table (<stem>.GMC) that PELDRIX writes. Each is plain text in Windows-1252: a
// heading row of translated labels, then one row per family, principal direction or pair of families, cells
// separated by one TAB. Every program that reads a table reads it here, so that each takes the same rows and
// refuses the same damage.
#pragma once

#include <QString>
#include <QStringList>

enum class TabellaRisultati { Famiglie, Conducibilita, Cunei };

// The file of a session's table: the family and conductivity tables are named by the session file name without
// its last three characters ("rock.ses" gives "rock.FAM"), the wedge table by the stem ("rock.GMC").
QString FileTabellaRisultati(const QString& nomeSessione, TabellaRisultati tabella);

struct RigheTabellaRisultati {
  QString percorso;   // the file read, named as it is on disk (also after a fault, when something stands there)
  QString testata;    // the heading row
  QStringList righe;  // the data rows, in order, as they stand in the file
};

enum class EsitoTabellaRisultati { Letta, Mancante, NonValida };
// Reads a table whole and takes it only as its writer writes it: the heading row of the table's cells (labels:
// none of them blank or a number), then its rows, and nothing but blank lines after the last one.
// - Family table: any number of rows (none without families), row k of seven cells: k, the dip direction (0 to
//   359) and the dip (0 to 90) in whole degrees written with one place ("122.0"), the aperture with one place, the
//   frequency (from 0), the friction angle (0 to 90) and the cohesion (from 0) with two ("2.35").
// - Conductivity table: three rows of four cells: a label, the principal conductivity from 0 in exponent form
//   ("8.16E-04", no row above the one before), the plunge (0 to 90) and the azimuth (0 to 360) of its axis in whole
//   degrees written with one place.
// - Wedge table: any number of rows (none without wedges), each as ValoriRigaCuneo takes it.
// Numbers as FormattaNumero writes them: no blank, no leading zero, the writer's places after the point. Mancante
// when nothing stands at the name; NonValida when what stands there cannot be read (see SeqReader::Open: `riga` 0
// for the file as a whole, else the line of a lone CR), is empty, or holds a heading or a row that is not as above,
// with the line in `riga` (the line after the last for a table cut short). `tabella` keeps only the path unless
// Letta.
EsitoTabellaRisultati LeggiTabellaRisultati(const QString& percorso, TabellaRisultati tipo,
                                            RigheTabellaRisultati& tabella, int* riga = nullptr);

// The values of a row of the wedge table, angles in degrees.
struct CuneoTabella {
  double Immersione1 = 0, Inclinazione1 = 0;
  double Immersione2 = 0, Inclinazione2 = 0;
  double FattoreSicurezza = 0, Volume = 0;
};
// A row of the wedge table as PELDRIX writes it: eight cells, the dip directions (cells 1 and 4) from 0 to 360 and
// the dips (2 and 5) from 0 to 90 in whole degrees written with one place ("122.0"), the sliding on each plane (3
// and 6) a word, the factor of safety (7) from 0 to 99.99 and the volume (8) from 0 with two places ("12.45").
// False for anything else.
bool ValoriRigaCuneo(const QString& riga, CuneoTabella& cuneo);
