// The printer set-up dialog of the common dialog control: the user chooses the printer and its settings for the
// print jobs of this run; a file chosen as the output takes every later print job to PDF. The choice reaches the
// programs of the suite that this program starts afterwards (they print plots): it is handed to them in the
// environment variable FRATTIX_PRINT_SETUP, which their printer takes when it is first made.
#pragma once

#include <QString>

#include <functional>

class QPrinter;

namespace plat {

// What the caller makes of the file named as the output when the user confirms the dialog: refused (the dialog
// stays open; the caller has said why), confirmed as it stands, or left to the dialog's own checks (its question
// before an existing file is replaced, its message when the file cannot be written).
enum class OutputFileCheck { Refused, Confirmed, Unchecked };

// Shows the printer set-up dialog modally. True when the user confirmed it. `checkOutputFile`, when given, looks at
// the output file first whenever the user confirms printing to a file.
bool PrinterSetupDialog(const QString& title = QString(),
                        const std::function<OutputFileCheck(const QString& file)>& checkOutputFile = {});

// The choice handed over by the program that started this one (FRATTIX_PRINT_SETUP), put on `printer`: the
// printer chosen (when this system has it) or the PDF output with its chosen file, the paper and its orientation
// and margins. Nothing when there is none.
void TakeHandedOverSetup(QPrinter& printer);

}  // namespace plat
