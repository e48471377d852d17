#include "common/platform/drawingsurface.h"
#include "common/platform/picturebox.h"
#include "common/platform/ui.h"
#include "tests/support/support.h"

#include <QPainter>
#include <QPainterPath>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <stdexcept>

namespace {

// A picture big enough for the raster engine to share its spans among threads: a gradient, thick antialiased
// circles and text.
void Figura(QImage& img) {
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 0, img.height());
  g.setColorAt(0, QColor(20, 40, 80));
  g.setColorAt(1, QColor(120, 90, 60));
  p.fillRect(img.rect(), g);
  p.setPen(QPen(QColor(240, 230, 210, 120), 3.3));
  for (int k = 1; k < 12; ++k) p.drawEllipse(QPointF(400, 270), 20.0 * k, 17.0 * k);
  QPainterPath onda;
  onda.moveTo(0, 500);
  for (int x = 0; x <= 800; x += 4) onda.lineTo(x, 500 - 30 * std::sin(x / 40.0));
  p.drawPath(onda);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 20, 800, 40), Qt::AlignCenter, QStringLiteral("prova"));
}

// The global pool cut to one thread, kept busy while the object lives; its end gives the pool back its threads.
class PoolPieno {
 public:
  PoolPieno() {
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    QThreadPool::globalInstance()->start([this] {
      occupato_.release();
      libera_.acquire();
    });
    occupato_.acquire();
  }
  ~PoolPieno() {
    libera_.release();
    QThreadPool::globalInstance()->waitForDone();
    QThreadPool::globalInstance()->setMaxThreadCount(massimo_);
  }

 private:
  int massimo_ = QThreadPool::globalInstance()->maxThreadCount();
  QSemaphore occupato_, libera_;
};

TEST(DisegnoSuUnFilo, TheDrawingRunsOnOnePoolThreadWithThePixelsOfTheCallingThread) {
  QImage qui(800, 540, QImage::Format_ARGB32_Premultiplied);
  Figura(qui);
  QImage solo(800, 540, QImage::Format_ARGB32_Premultiplied);
  QThread* filo = nullptr;
  bool nelPool = false;
  plat::DrawOnOneThread([&] {
    filo = QThread::currentThread();
    nelPool = QThreadPool::globalInstance()->contains(filo);
    Figura(solo);
  });
  EXPECT_NE(filo, QThread::currentThread());
  EXPECT_TRUE(nelPool);
  EXPECT_EQ(solo, qui);

  // Called from a pool thread, it stays on that thread.
  QThread* interno = nullptr;
  plat::DrawOnOneThread([&] { plat::DrawOnOneThread([&] { interno = QThread::currentThread(); }); });
  EXPECT_TRUE(interno != nullptr && QThreadPool::globalInstance()->contains(interno));
}

TEST(DisegnoSuUnFilo, AFullPoolDrawsOnTheCallerAndAFailureReachesIt) {
  {
    PoolPieno pieno;
    QThread* filo = nullptr;
    plat::DrawOnOneThread([&] { filo = QThread::currentThread(); });  // no thread free: no wait for one
    EXPECT_EQ(filo, QThread::currentThread());
  }

  EXPECT_THROW(plat::DrawOnOneThread([] { throw std::runtime_error("disegno fallito"); }), std::runtime_error);
  bool dopo = false;
  plat::DrawOnOneThread([&] { dopo = true; });  // the pool still works
  EXPECT_TRUE(dopo);
}

TEST(Immagine, AnOpaquePictureCoversItsBoxAndATransparentOneShowsWhatLiesUnder) {
  QWidget sotto;
  sotto.setAutoFillBackground(true);
  QPalette tavolozza = sotto.palette();
  tavolozza.setColor(QPalette::Window, Qt::red);
  sotto.setPalette(tavolozza);
  sotto.resize(60, 40);
  auto* box = new plat::PictureBox(QStringLiteral("Box"), &sotto);
  box->setGeometry(0, 0, 60, 40);
  QImage opaca(60, 40, QImage::Format_RGB32);
  opaca.fill(QColor(0, 0, 255));
  box->SetPicture(opaca);
  EXPECT_TRUE(box->testAttribute(Qt::WA_OpaquePaintEvent));
  EXPECT_EQ(sotto.grab().toImage().pixelColor(30, 20), QColor(0, 0, 255));
  QImage trasparente(60, 40, QImage::Format_ARGB32);
  trasparente.fill(Qt::transparent);
  box->SetPicture(trasparente);
  EXPECT_FALSE(box->testAttribute(Qt::WA_OpaquePaintEvent));
  EXPECT_EQ(sotto.grab().toImage().pixelColor(30, 20), QColor(Qt::red));
  box->SetPicture(QImage());
  EXPECT_FALSE(box->testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(DisegnoAnticipato, TheImageIsDrawnOnAPoolThreadAndTakenOnce) {
  QThread* filo = nullptr;
  plat::DrawingInAdvance anticipato([&] {
    filo = QThread::currentThread();
    QImage img(800, 540, QImage::Format_ARGB32_Premultiplied);
    Figura(img);
    return img;
  });
  const QImage img = anticipato.Take();
  QImage qui(800, 540, QImage::Format_ARGB32_Premultiplied);
  Figura(qui);
  EXPECT_EQ(img, qui);
  EXPECT_TRUE(filo != nullptr && QThreadPool::globalInstance()->contains(filo));
  EXPECT_TRUE(anticipato.Take().isNull());  // taken already
}

TEST(DisegnoAnticipato, ADrawingNotTakenIsWaitedForAndAFailureReachesTheTaker) {
  QSemaphore via;
  bool finito = false;
  {
    plat::DrawingInAdvance anticipato([&] {
      via.acquire();  // still running when the object goes
      finito = true;
      return QImage(4, 4, QImage::Format_RGB32);
    });
    via.release();
  }
  EXPECT_TRUE(finito);
  plat::DrawingInAdvance fallito([]() -> QImage { throw std::runtime_error("disegno fallito"); });
  EXPECT_THROW(fallito.Take(), std::runtime_error);

  // A full pool: drawn at once on the calling thread.
  PoolPieno pieno;
  QThread* filo = nullptr;
  plat::DrawingInAdvance subito([&] {
    filo = QThread::currentThread();
    return QImage(4, 4, QImage::Format_RGB32);
  });
  EXPECT_EQ(filo, QThread::currentThread());
  EXPECT_EQ(subito.Take().size(), QSize(4, 4));
}

TEST(DisegnoAnticipato, TheProgramEndsOnlyAfterADrawingInAdvanceHasFinished) {
  // exit() takes down what a drawing still running may use: the end of the program waits for it.
  std::atomic<bool> finito = false;
  QSemaphore partito;
  auto anticipato = std::make_unique<plat::DrawingInAdvance>([&] {
    partito.release();
    QThread::msleep(150);
    finito = true;
    return QImage(4, 4, QImage::Format_RGB32);
  });
  partito.acquire();
  plat::SetEndProgramHandler([](int code) { throw code; });
  int codice = 0;
  try {
    plat::EndProgram(3);
  } catch (int c) {
    codice = c;
  }
  plat::SetEndProgramHandler(nullptr);
  EXPECT_EQ(codice, 3);
  EXPECT_TRUE(finito);
}

// On a screen scaled by 1.5 or 2 a drawing surface keeps its drawing in the screen's pixels: the surface still
// measures and takes its coordinates in the window's pixels, and what the screen shows of it is its image, pixel
// for pixel. At scale 2 its lines and text are finer than a pixel of the window. A picture made for a picture box
// at the screen's ratio shows pixel for pixel too.
TEST(SuperficieDiDisegno, DrawsInThePixelsOfItsScreen) {
  if (!testing_support::OnOtherScreen()) {
    for (const testing_support::Screen& s : testing_support::kScreens) {
      if (!s.variable || QByteArray(s.variable) != "QT_SCALE_FACTOR") continue;
      QString uscita;
      EXPECT_TRUE(testing_support::RunOnScreen(s, &uscita)) << s.name << "\n" << uscita.toStdString();
    }
  }
  const qreal rapporto = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
  EXPECT_EQ(plat::ScreenPixelRatio(), rapporto);
  plat::DrawingSurface s(QStringLiteral("Picture1"));
  s.SetBackColor(0xFFFFFF);
  s.SetImageSize(QSize(120, 90));
  s.Scale(0, 0, 12, 9);
  s.Cls();
  s.Line(0, 0, 12, 9, 0);
  s.Circle(6, 4.5, 3, 0x0000FF);
  s.SelectFont(14, 0, QStringLiteral("DejaVu Sans"));
  s.SetCurrentPosition(1, 7);
  s.Print(QStringLiteral("Ag"));
  EXPECT_EQ(s.ImageSize(), QSize(120, 90));
  EXPECT_EQ(s.size(), QSize(120, 90));
  EXPECT_EQ(s.ToPixels(12, 9), QPointF(120, 90));
  const QImage& im = s.Image();
  EXPECT_EQ(im.devicePixelRatio(), rapporto);
  EXPECT_EQ(im.size(), QSize(static_cast<int>(std::ceil(120 * rapporto)), static_cast<int>(std::ceil(90 * rapporto))));
  if (rapporto == 2) {
    EXPECT_GT(testing_support::BlocksFinerThanAWindowPixel(im, im.rect(), 2), 40);
  }
  s.show();
  const QImage mostrata = s.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(mostrata.size(), im.size());
  EXPECT_TRUE(mostrata == im.convertToFormat(QImage::Format_RGB32));

  plat::PictureBox box(QStringLiteral("Picture2"));
  box.resize(40, 30);
  QImage figura = plat::ScreenImage(box.size(), plat::ScreenPixelRatio(&box), QImage::Format_RGB32);
  figura.fill(Qt::white);
  {
    QPainter p(&figura);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 0, 40, 30);
  }
  EXPECT_EQ(plat::WindowSize(figura), QSize(40, 30));
  box.SetPicture(figura);
  box.show();
  EXPECT_TRUE(box.grab().toImage().convertToFormat(QImage::Format_RGB32) == figura.convertToFormat(QImage::Format_RGB32));
}

}  // namespace
