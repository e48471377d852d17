// The common ground of the report tests: a program folder with the text tables loaded in a language, an
// editor.cfg naming a recording editor, and no xdg-open on the PATH (no desktop viewer is ever started).
#pragma once

#include "common/texts/avvio.h"
#include "common/texts/testi.h"
#include "main/reports/anteprima.h"
#include "main/reports/esportatxt.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

namespace report_test {

using testing_support::ReadAnsi;
using testing_support::ReadBytes;
using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;
using testing_support::WriteScript;

class Report : public ::testing::Test {
 protected:
  void SetUp() override {
    oldPath_ = qgetenv("PATH");
    QDir(t.Root()).mkpath("bin");
    testing_support::SetEnv("PATH", (t.Root() + "/bin").toLocal8Bit());
    Lingua(1);
    // The editor records the file it was started on.
    WriteScript(t.P("editore"), QString("#!/bin/sh\nprintf '%s' \"$1\" > %1.tmp && /bin/mv %1.tmp %1\n").arg(Aperto()));
    WriteAnsi(t.P("editor.cfg"), t.P("visore") + "\n" + t.P("editore") + "\n");
    AzzeraEsportaTXT();
    AzzeraAnteprima();
  }
  void TearDown() override {
    testing_support::SetEnv("PATH", oldPath_);
    if (QWidget* f = plat::LoadedForm("Form1")) delete f;
  }
  void Lingua(int numero) {
    Avvio.NumeroLingua = numero;
    AzzeraTesti(800);
    QString errore;
    ASSERT_TRUE(CaricaTesti(t.P("texts01.txt"), &errore));
    ASSERT_TRUE(CaricaTesti(t.P("texts03.txt"), &errore));
    OrdinaTesti();
  }
  QString Aperto() const { return t.Root() + "/aperto"; }
  // The file the editor was last started on ("" when it was not started within two seconds); the record is
  // taken away, so the next call waits for the next start.
  QString FileAperto() const {
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(Aperto()) && timer.elapsed() < 2000) QThread::msleep(10);
    const QString aperto = QFile::exists(Aperto()) ? QString::fromUtf8(ReadBytes(Aperto())) : QString();
    QFile::remove(Aperto());
    return aperto;
  }
  // UTF-8 text with CR LF turned into "\n".
  static QString LeggiUtf8(const QString& path) {
    return QString::fromUtf8(ReadBytes(path)).replace("\r\n", "\n");
  }
  TestFolder t;

 private:
  QByteArray oldPath_;
};

}  // namespace report_test
