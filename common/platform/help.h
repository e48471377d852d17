// Help files by context number, shown in a help window (the stand-in for the platform's help engine).
//
// A help file is a Windows-1252 text file, lines ended by CR LF or LF:
//   ; a comment line (only before the first topic)
//   @<context number> <title>      starts a topic; the number is a whole number from 0 to 65535
//   text lines of the topic        a blank line separates paragraphs; lines of one paragraph are joined
// The first topic of the file is its contents topic. A context number occurs at most once.
#pragma once

#include <QList>
#include <QString>

namespace plat {

struct HelpTopic {
  int context = 0;
  QString title;
  QString text;  // paragraphs separated by "\n"
};

// Reads a help file. False, with a short English description in `error` (file and line), when the file cannot be
// read, holds no topic, or has a malformed or repeated topic line; `damaged` (optional) then tells whether a file
// was read that is none of topics (a line end that ends no line, a bad topic line, no topic) and `line` the line of
// the fault (0 for the whole file).
bool ReadHelpFile(const QString& path, QList<HelpTopic>& topics, QString* error = nullptr, bool* damaged = nullptr,
                  int* line = nullptr);

// NoFile: no help file can be read at the name; Damaged: the file is none of topics (its line in `line`).
enum class HelpResult { Shown, NoFile, Damaged, NoTopic };

// Shows the topic of a context number in the help window (help command 1).
HelpResult ShowHelp(const QString& helpFile, int context, int* line = nullptr);
// Shows the help window with its list of topics, on the contents topic (help command 15).
HelpResult ShowHelpContents(const QString& helpFile, int* line = nullptr);

// Closes the help window when it is open (the program's end).
void CloseHelp();

}  // namespace plat
