// What the tests under real input share: an Xvfb display of the test's own, on which Qt's X11 platform runs,
// and a user's hand that sends mouse and keys through the X server with xdotool.
#pragma once

#include <QApplication>
#include <QPoint>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QWidget>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace gui_testing {

// ---------------------------------------------------------------------------------------------------------
// The display

// An Xvfb server of the test's own on the first free display, stopped with the test (Linux).
class PantallaVirtual {
 public:
  PantallaVirtual() {
    int tubo[2];
    if (pipe(tubo) != 0) return;
    proceso_ = fork();
    if (proceso_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);  // a test that crashes or is killed takes its display with it
      close(tubo[0]);
      int nulo = open("/dev/null", O_WRONLY);
      dup2(nulo, STDOUT_FILENO);
      dup2(nulo, STDERR_FILENO);
      std::string fd = std::to_string(tubo[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-dpi", "96", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(tubo[1]);
    // Xvfb writes the number of its display once it accepts clients.
    std::string numero;
    pollfd espera{tubo[0], POLLIN, 0};
    char caracter = 0;
    while (poll(&espera, 1, 20000) > 0 && read(tubo[0], &caracter, 1) == 1 && caracter != '\n') numero += caracter;
    close(tubo[0]);
    if (!numero.empty()) pantalla_ = ":" + numero;
  }
  ~PantallaVirtual() {
    if (proceso_ <= 0) return;
    kill(proceso_, SIGTERM);
    waitpid(proceso_, nullptr, 0);
  }
  PantallaVirtual(const PantallaVirtual&) = delete;
  PantallaVirtual& operator=(const PantallaVirtual&) = delete;

  // ":N", or empty when the server did not start.
  const std::string& Pantalla() const { return pantalla_; }

 private:
  pid_t proceso_ = -1;
  std::string pantalla_;
};

// ---------------------------------------------------------------------------------------------------------
// The user's hand

constexpr int kRetardoTeclaMs = 60;  // between two keys: a quick typist

// xdotool's commands, one program run each (xdotool's "key" and "type" take every argument after them),
// run in order by a shell while the event loop goes on, so that Qt gets the events as they come.
class Mano {
 public:
  Mano& Teclas(const QString& teclas) {
    return Orden("key --delay " + QString::number(kRetardoTeclaMs) + " " + teclas);
  }
  Mano& Escribir(const QString& texto) {
    return Orden("type --delay " + QString::number(kRetardoTeclaMs) + " '" + texto + "'");
  }
  Mano& Clicar(const QPoint& global) {
    return Orden(QStringLiteral("mousemove %1 %2 click 1").arg(global.x()).arg(global.y()));
  }
  // The right button, which opens a context menu.
  Mano& ClicarDerecho(const QPoint& global) {
    return Orden(QStringLiteral("mousemove %1 %2 click 3").arg(global.x()).arg(global.y()));
  }
  Mano& Esperar(int ms) {
    guion_ << QStringLiteral("sleep %1").arg(ms / 1000.0, 0, 'f', 3);
    return *this;
  }

  // Runs the commands; false when xdotool failed or took too long.
  bool Hacer() {
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-ec"), guion_.join(QLatin1Char('\n'))});
    guion_.clear();
    bool hecho = QTest::qWaitFor([&] { return shell.state() == QProcess::NotRunning; }, 30000);
    if (!hecho) shell.kill();
    QTest::qWait(50);  // the last events reach the program
    return hecho && shell.exitStatus() == QProcess::NormalExit && shell.exitCode() == 0;
  }

 private:
  Mano& Orden(const QString& orden) {
    guion_ << "xdotool " + orden;
    return *this;
  }
  QStringList guion_;
};

inline QPoint Centro(const QWidget& control) { return control.mapToGlobal(control.rect().center()); }

// ---------------------------------------------------------------------------------------------------------

// Runs the Qt Test class `Test` on a display of its own, Qt on X11 there. Exit code 77 (skipped) when Xvfb
// is not installed; `que` names the test in that message.
template <class Test>
int EnPantallaPropia(int argc, char** argv, const char* que) {
  if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
    std::printf("SKIP: Xvfb is not installed (package xvfb): %s needs a display.\n", que);
    return 77;
  }
  PantallaVirtual pantalla;
  if (pantalla.Pantalla().empty()) {
    std::fputs("Xvfb is installed but did not start a display\n", stderr);
    return 1;
  }
  setenv("DISPLAY", pantalla.Pantalla().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  int resultado = 0;
  {
    QApplication aplicacion(argc, argv);
    Test test;
    QTEST_SET_MAIN_SOURCE_PATH
    resultado = QTest::qExec(&test, argc, argv);
  }
  return resultado;
}

}  // namespace gui_testing
