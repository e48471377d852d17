// The names of a session's files. Two rules, one helper each: most files are named by the stem (the session file
// name up to its first "."), the family and conductivity tables by the session file name without its last three
// characters. Whoever reads or deletes a file uses the rule of the program that writes it.
#pragma once

#include <QString>

#include <optional>

// The stem of a session file name: the text before its first "." (the whole name when it has none).
QString StemSessione(const QString& nome);
// True when the name has a "." and a non-empty stem before it (the analysis programs need one).
bool HaStem(const QString& nome);
// A file named by the stem: StemSessione(nome) followed by `estensione` (".sel", ".SES", ".fro", ".dat" ...).
QString FileStem(const QString& nome, const QString& estensione);
// A table named by the session name without its last three characters, followed by `estensione` without a
// point ("FAM", "PER"): "rock.ses" gives "rock.FAM", "a.b.ses" gives "a.b.FAM".
QString FileTabella(const QString& nome, const QString& estensione);

// The first character that keeps a file name from coming back from the session files as written: one that a line
// cannot hold (Windows-1252 has no byte for it, or a control character), or a blank at either end (the readers
// drop it). Nothing when the name can be written into the sheet list and the hand-over file.
std::optional<char32_t> CarattereNonAmmessoNelNome(const QString& nome);
