// A clean plot engine for each test: a private program folder with the installation data, the start-up's globals
// for Italian, PDF output into the test's folder, the program's form menu1, and the program's end as an exception.
#pragma once

#include "common/platform/application.h"
#include "common/platform/drawingsurface.h"
#include "common/platform/files.h"
#include "common/platform/forms.h"
#include "common/platform/printer.h"
#include "common/platform/ui.h"
#include "common/plot/dxf.h"
#include "common/plot/grafica.h"
#include "common/plot/grafico.h"
#include "common/texts/avvio.h"
#include "tests/support/support.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

#include <ostream>

// Texts in test messages as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace plot_test {

struct Ended {
  int code;
};

class PlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::make_unique<testing_support::TestFolder>();
    QDir().mkpath(folder->D("pdf"));
    testing_support::SetEnv("FRATTIX_PDF_DIR", folder->D("pdf").toLocal8Bit());
    Avvio.NumeroLingua = 1;
    Avvio.CodiceLingua = QStringLiteral("ita");
    Avvio.DCStampante = plat::Printer().hDC();
    Avvio.InfoDocumentoStampa = {20, QStringLiteral("Brenvale output")};
    Grafico = ModuloGrafico{};
    Dxf = ModuloDxf{};
    for (const QString& f : plat::FindFiles(plat::JoinPath(plat::TempFolder(), QStringLiteral("plttmp*.tmp"))))
      plat::DeleteFile(f);
    plat::SetEndProgramHandler([](int code) { throw Ended{code}; });
    menu1 = new plat::Form(QStringLiteral("menu1"));
  }

  void TearDown() override {
    if (GRAFICA* f = FinestraGrafica()) f->Unload();
    delete menu1;
    plat::DeleteClosedWindows();
    testing_support::UnsetEnv("FRATTIX_PDF_DIR");
    testing_support::UnsetEnv("FRATTIX_UI_SCRIPT");
    testing_support::UnsetEnv("FRATTIX_UI_LOG");
    plat::ResetInteraction();
    plat::SetEndProgramHandler(nullptr);
    folder.reset();
  }

  // From here on the user interface answers from `script`; what is shown goes to the log.
  void Script(const QString& script) {
    testing_support::WriteAnsi(folder->D("test.script"), script);
    testing_support::SetEnv("FRATTIX_UI_SCRIPT", folder->D("test.script").toLocal8Bit());
    testing_support::SetEnv("FRATTIX_UI_LOG", folder->D("ui.log").toLocal8Bit());
    plat::ResetInteraction();
  }
  QStringList Log() const { return testing_support::ReadLog(folder->D("ui.log")); }

  // The standard page of the suite's plots.
  static void Pagina() { InizioGrafico(0, QString(), 0, 0, 19.4, 27.7, 0); }

  static plat::DrawingSurface* Superficie() {
    GRAFICA* f = FinestraGrafica();
    return f ? f->Picture7 : nullptr;
  }
  // The colour of the surface's pixel at a point in drawing coordinates.
  static QRgb PixelA(double x, double y) {
    plat::DrawingSurface* s = Superficie();
    const QPointF p = s->ToPixels(x, y);
    return s->Image().pixel(static_cast<int>(p.x()), static_cast<int>(p.y()));
  }
  // True when some pixel within `r` pixels of the point is of the colour.
  static bool ColoreVicino(double x, double y, QRgb colore, int r = 2) {
    plat::DrawingSurface* s = Superficie();
    const QImage& im = s->Image();
    const QPointF p = s->ToPixels(x, y);
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx) {
        const QPoint q(static_cast<int>(p.x()) + dx, static_cast<int>(p.y()) + dy);
        if (im.valid(q) && (im.pixel(q) & 0xFFFFFF) == (colore & 0xFFFFFF)) return true;
      }
    return false;
  }

  // The pixels of the surface near a colour (each channel within 80) in a rectangle of drawing coordinates.
  static int Inchiostro(double x1, double y1, double x2, double y2, QRgb colore) {
    plat::DrawingSurface* s = Superficie();
    const QImage& im = s->Image();
    const QRect r = QRectF(s->ToPixels(x1, y1), s->ToPixels(x2, y2)).normalized().toRect() & im.rect();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) {
        const QRgb c = im.pixel(x, y);
        if (std::abs(qRed(c) - qRed(colore)) < 80 && std::abs(qGreen(c) - qGreen(colore)) < 80 &&
            std::abs(qBlue(c) - qBlue(colore)) < 80)
          ++n;
      }
    return n;
  }

  std::unique_ptr<testing_support::TestFolder> folder;
  plat::Form* menu1 = nullptr;
};

// A pen table with every pen in colour `colore` (1 to 15) `spessore` mm thick, the installed colours, and the
// margins when given.
inline QString TabellaPenne(int colore, double spessore, const QString& margini = QString()) {
  QString t;
  for (int p = 1; p <= 30; ++p)
    t += QStringLiteral("Penna %1\n%2\n%3\nArial\n").arg(p).arg(colore).arg(spessore);
  const int valori[15] = {0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0x808080,
                          0x008CFF, 0x14508C, 0xB42878, 0x006400, 0x780000, 0x00008C, 0xC8C8C8};
  for (int c = 0; c < 15; ++c) t += QStringLiteral("Colore %1\n%2\n").arg(c + 1).arg(valori[c]);
  return t + margini;
}

}  // namespace plot_test
