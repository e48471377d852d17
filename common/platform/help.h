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
// read, holds no topic, or has a malformed or repeated topic line.
bool ReadHelpFile(const QString& path, QList<HelpTopic>& topics, QString* error = nullptr);

enum class HelpResult { Shown, NoFile, NoTopic };

// Shows the topic of a context number in the help window (help command 1).
HelpResult ShowHelp(const QString& helpFile, int context);
// Shows the help window with its list of topics, on the contents topic (help command 15).
HelpResult ShowHelpContents(const QString& helpFile);

// Closes the help window when it is open (the program's end).
void CloseHelp();

}  // namespace plat
