#include "SessionEnd.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <cerrno>
#include <QSocketNotifier>
#include <cstdio>
#include <cstring>

#include "Backend.h"
#include "Diagnostics.h"
#include "EventGate.h"
#include "FolderItem.h"
#include "Shell.h"
#include "System.h"
#include "X11.h"

namespace fw::qt {
namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int signo) {
  const int saved = errno;
  const char byte = char(signo);
  [[maybe_unused]] ssize_t ignored = write(signalPipe[1], &byte, 1);
  errno = saved;
}

void QuitLikeTheQuitCommand() {
  if (HasBackend()) fw::Quit(0);
}

QtMessageHandler previousHandler = nullptr;
QLoggingCategory::CategoryFilter previousFilter = nullptr;
// Whether the user's logging rules let Qt's own warnings through.
bool userShowsWarnings = true;

bool IsDefaultCategory(const char* name) { return name && std::strcmp(name, "default") == 0; }

// Qt's warnings are what wakes the program when the display is lost (Qt
// warns, then ends the process): they must reach the handler even where the
// user's rules turn them off, and are shown only where the rules say.
void KeepWarnings(QLoggingCategory* category) {
  if (previousFilter) previousFilter(category);
  if (!IsDefaultCategory(category->categoryName())) return;
  userShowsWarnings = category->isWarningEnabled();
  category->setEnabled(QtWarningMsg, true);
}

void WatchMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const bool silenced = type == QtWarningMsg && !userShowsWarnings && IsDefaultCategory(context.category);
  if (!silenced && previousHandler)
    previousHandler(type, context, message);
  else if (!silenced)
    Diagnose(qFormatLogMessage(type, context, message).toStdString());
  // The connection, not the message's text, tells that the display is gone.
  static bool ending = false;
  if (type == QtDebugMsg || type == QtInfoMsg || ending || !DisplayConnectionBroken()) return;
  ending = true;
  QuitLikeTheQuitCommand();
  // _exit skips the program's own end: what it would stop and remove goes
  // now (a command may still be running, the quit came during its wait).
  Shell::StopAll();
  SpecialFolder::RemoveOwnFolders();
  std::fflush(nullptr);
  _exit(1);
}

}  // namespace

void QuitOnSessionSignals() {
  if (signalPipe[0] < 0 && pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    Diagnose("session signals are not watched: pipe: " + ErrorText(errno));
    return;
  }
  for (int signo : {SIGTERM, SIGHUP, SIGINT}) {
    struct sigaction old {};
    if (sigaction(signo, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signo, &action, nullptr);
  }
  // Parented to the application, so it goes with it.
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
    char bytes[16];
    while (read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    EventGate::RunWhenIdle(QuitLikeTheQuitCommand);
  });
}

void QuitWhenDisplayLost() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  previousHandler = qInstallMessageHandler(WatchMessages);
  previousFilter = QLoggingCategory::installFilter(KeepWarnings);
}

}  // namespace fw::qt
