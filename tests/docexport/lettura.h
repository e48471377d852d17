// Reading the Word documents back in the tests: python-docx (through docx_lettura.py) and LibreOffice headless.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace docexport_test {

// The body of the document, block by block, as docx_lettura.py prints it (an empty array when it cannot be read;
// `errore` then holds the reader's output).
QJsonArray LeggiDocx(const QString& percorso, QString* errore = nullptr);

// Only the tables / only the paragraphs of a body.
QJsonArray Tabelle(const QJsonArray& corpo);
QJsonArray Paragrafi(const QJsonArray& corpo);
// The texts of the cells of a table block, row by row.
QList<QStringList> Testi(const QJsonObject& tabella);

// Converts a document with LibreOffice headless into `formato` ("txt" or "pdf") in folder `cartella`, with a
// profile of its own under `cartella` (so parallel tests do not share one). The converted file, or "" on failure
// (`errore` then holds LibreOffice's output).
QString ConvertiConLibreOffice(const QString& percorso, const QString& formato, const QString& cartella,
                               QString* errore = nullptr);

}  // namespace docexport_test
