// The viewers of the reports: editor.cfg in the program folder names them (line 1 the program that opens the Word
// documents, line 2 the text editor); without one the file goes to the desktop's own opener (xdg-open).
#pragma once

#include <QString>

// The line of editor.cfg for each kind of file.
enum class RigaEditor : int { Documento = 1, Testo = 2 };

// Opens `file` with the program named on that line of editor.cfg when it exists, else with xdg-open. False when
// neither could be started (the caller shows its message).
bool ApriConVisualizzatore(const QString& file, RigaEditor riga);
