// The floor the running program is measured against: a bare Qt program
// that does the picker's work and nothing else. A 128 ms timer asks for the
// pointer once; when it has moved, the capture command runs as the picker
// runs it ("cd WORK; screencapture -R x,y,101,101" through /bin/sh, the
// tools folder beside the executable first on PATH), the file is loaded
// into a QImage and removed, drawn twice enlarged into a 202 x 202 view,
// and the view and a swatch of its centre pixel are painted.
//   floor_qt          (started by bench/own_cpu.sh, in a display)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

extern char** environ;

namespace {

class Floor : public QWidget {
 public:
  explicit Floor(std::string work) : work_(std::move(work)), view_(202, 202, QImage::Format_RGB32) {
    setFixedSize(201, 250);
    view_.fill(QColor(0x99, 0x99, 0x99));
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    timer_.start(128);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(QPoint(0, -1), view_);
    painter.fillRect(QRect(3, 204, 43, 43), swatch_);
  }

 private:
  void Tick() {
    const QPoint p = QCursor::pos();
    if (p == last_) return;
    last_ = p;
    const std::string name =
        std::to_string(std::max(0, p.x() - 50)) + "," + std::to_string(std::max(0, p.y() - 50)) + ",101,101";
    std::string line = "cd " + work_ + "; screencapture -R " + name;
    std::string sh = "sh", c = "-c";
    char* argv[] = {sh.data(), c.data(), line.data(), nullptr};
    pid_t pid;
    int status;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return;
    while (waitpid(pid, &status, 0) < 0) {
    }
    const std::string file = work_ + "/" + name;
    const QImage capture(QString::fromStdString(file), "PNG");
    std::remove(file.c_str());
    if (capture.isNull()) return;
    view_.fill(QColor(0x99, 0x99, 0x99));
    QPainter painter(&view_);
    painter.drawImage(QRect(0, 0, 202, 202), capture);
    painter.end();
    swatch_ = view_.pixelColor(100, 100);
    update();
  }

  std::string work_;
  QImage view_;
  QColor swatch_;
  QPoint last_{-1, -1};
  QTimer timer_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const std::string tools = QCoreApplication::applicationDirPath().toStdString() + "/tools";
  const char* path = std::getenv("PATH");
  setenv("PATH", (tools + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
  // Where the picker keeps its work folder, so that both write to the same
  // kind of file system.
  const QString work =
      qEnvironmentVariable("XDG_RUNTIME_DIR", QDir::tempPath()) + "/floor-qt-" + QString::number(getpid());
  if (!QDir().mkpath(work)) return 1;
  Floor floor(work.toStdString());
  floor.show();
  const int code = app.exec();
  QDir(work).removeRecursively();
  return code;
}
