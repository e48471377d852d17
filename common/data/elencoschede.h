// The sheet list of a session, <stem>.SES: the number of sheets in print form (" 2 "), then one sheet file name
// per line (bare, lower case). Names are whole lines, so a name holding a comma comes back as written.
#pragma once

#include <QString>
#include <QStringList>

inline constexpr int kMassimoSchedeCartella = 200;  // sheet files of one data folder the list command offers

enum class EsitoElenco { Letto, Mancante, NonValido, TroppeSchede };
// Reads a sheet list: the count, then that many names, each a whole line with the blanks around it removed. An
// empty file is an empty list; names beyond the count are not read. Mancante when nothing stands at the name.
// NonValido, with the file and the line in `errore`, when what stands there cannot be read (see SeqReader::Open,
// the line of a lone CR), when the count is not a whole number from 0 or the file ends before the last name;
// TroppeSchede, with the file, the line and "count > massimo" in `errore`, when the count is above `massimo`;
// `nomi` is then empty.
EsitoElenco LeggiElencoSchede(const QString& percorso, QStringList& nomi, int massimo, QString* errore = nullptr);
// Writes a sheet list anew. False (the old file untouched) when it cannot be written.
bool ScriviElencoSchede(const QString& percorso, const QStringList& nomi);
