// The Word export of a report document: wenlow turns the document into a Word document beside it (<name>.DOC, or
// the name the user chose in wenlow's own save question), and the document it saved is opened in the viewer.
#pragma once

#include <QString>

// Starts wenlow on the document at `percorso` (nothing when it does not exist) and waits for it. wenlow tells on
// its standard output the path of every document it saved; the last one is opened with the program on line 1 of
// editor.cfg, else with the desktop's opener, else a message names the file. Nothing is opened when wenlow saved
// nothing (no name chosen, or a failure it reported itself); a wenlow that cannot be started is reported.
void EsportaDocumentoDOC(const QString& percorso);
