// The viewers of the reports: editor.cfg in the program folder names them (line 1 the program that opens the Word
// documents, line 2 the text editor); without one the file goes to the desktop's own opener (xdg-open).
#pragma once

#include <QString>

// The line of editor.cfg for each kind of file.
enum class RigaEditor : int { Documento = 1, Testo = 2 };

// The program named on that line of editor.cfg, "" when the file or the line is missing. Lines are taken whole. A
// file that cannot be read (a folder at the name, one larger than any, one with a CR that ends no line) is said,
// and counts as none.
QString ProgrammaConfigurato(RigaEditor riga);

// Opens `file` with the program named on that line of editor.cfg, else, when the line names none (no file, no
// such line, an empty line), with xdg-open. A name holding a "/" is a path, taken as it is (relative to the current
// folder when it does not start with "/"); a bare name is looked for in the folders of PATH, as a shell does.
// False when no viewer was started: the caller shows its message, and `motivo` then holds what stands before it
// when a program was named, that it was not found or could not be started ("" otherwise). A program named that is
// not found never falls back to xdg-open: the user named it, and is told.
bool ApriConVisualizzatore(const QString& file, RigaEditor riga, QString* motivo);
