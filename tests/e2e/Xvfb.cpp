#include "Xvfb.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <xcb/xcb.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

int DecodeStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// In the child after fork: the environment changes, the folder, then exec.
[[noreturn]] void ExecChild(const std::vector<std::string>& argv, const EnvChanges& env,
                            const std::string& cwd) {
  for (const std::string& change : env) {
    size_t eq = change.find('=');
    if (eq == std::string::npos) {
      unsetenv(change.c_str());
    } else {
      setenv(change.substr(0, eq).c_str(), change.c_str() + eq + 1, 1);
    }
  }
  // A child starts as from a desktop: with the session signals at their
  // defaults, whatever the test runner ignores.
  for (int signo : {SIGINT, SIGTERM, SIGHUP}) signal(signo, SIG_DFL);
  if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(127);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

void RedirectStdin() {
  int null = open("/dev/null", O_RDONLY);
  if (null >= 0) {
    dup2(null, 0);
    close(null);
  }
}

// Single quotes for /bin/sh.
std::string ShellQuote(const std::string& s) {
  std::string quoted = "'";
  for (char c : s) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// An 8-bit channel placed into a TrueColor visual's mask of up to 8 bits.
unsigned long ToMask(int channel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = __builtin_ctzl(mask), bits = __builtin_popcountl(mask);
  return (unsigned long)(channel >> (8 - std::min(bits, 8))) << shift & mask;
}

// The 8-bit channel of a TrueColor pixel under mask.
int FromMask(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = __builtin_ctzl(mask), bits = __builtin_popcountl(mask);
  unsigned long value = (pixel & mask) >> shift;
  return bits >= 8 ? int(value >> (bits - 8)) : int(value * 255 / ((1ul << bits) - 1));
}

}  // namespace

std::string BinDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

std::string ToolsDir() { return BinDir() + "/tools"; }

bool WaitFor(const std::function<bool()>& done, int ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
  while (Clock::now() < deadline) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return done();
}

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/tb-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed: " + pattern);
  path_ = buffer.data();
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

RunResult RunCommand(const std::vector<std::string>& argv, const EnvChanges& env,
                     const std::string& cwd, int timeoutMs) {
  RunResult result;
  int outPipe[2], errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  if (pipe2(errPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  auto start = Clock::now();
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    setpgid(0, 0);
    RedirectStdin();
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    ExecChild(argv, env, cwd);
  }
  setpgid(pid, pid);
  close(outPipe[1]);
  close(errPipe[1]);
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  while (open > 0) {
    int left = timeoutMs - int(SecondsSince(start) * 1000);
    if (left <= 0) {
      result.timedOut = true;
      kill(-pid, SIGKILL);
      break;
    }
    if (poll(fds, 2, left) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, size_t(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (pollfd& p : fds) {
    if (p.fd >= 0) close(p.fd);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = DecodeStatus(status);
  result.seconds = SecondsSince(start);
  return result;
}

RunResult RunShell(const std::string& command, const EnvChanges& env, const std::string& cwd,
                   int timeoutMs) {
  return RunCommand({"/bin/sh", "-c", command}, env, cwd, timeoutMs);
}

Process::Process(const std::vector<std::string>& argv, const EnvChanges& env,
                 const std::string& cwd, const std::string& outputFile) {
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    setpgid(0, 0);
    RedirectStdin();
    int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
      close(out);
    }
    ExecChild(argv, env, cwd);
  }
  setpgid(pid_, pid_);
}

Process::~Process() { Stop(); }

bool Process::Running() { return Wait(0) == -1 && status_ == -1; }

int Process::Wait(int timeoutMs) {
  if (status_ != -1 || pid_ < 0) return status_;
  auto start = Clock::now();
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = DecodeStatus(status);
      return status_;
    }
    if (SecondsSince(start) * 1000 >= timeoutMs) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

int Process::Stop(int graceMs) {
  if (status_ != -1 || pid_ < 0) return status_;
  kill(-pid_, SIGTERM);
  if (Wait(graceMs) == -1) {
    kill(-pid_, SIGKILL);
    Wait(10000);
  }
  return status_;
}

fw::Color PatternColor(int x, int y) {
  return fw::Color::FromRGB(x & 0xFF, y & 0xFF, (((x >> 8) & 0xF) << 4) | ((y >> 8) & 0xF));
}

XvfbServer::XvfbServer(int width, int height, const std::vector<std::string>& extraArgs, WindowManager wm)
    : width_(width), height_(height) {
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  // The write end must survive exec: Xvfb writes the display number into it.
  int inherited = dup(ready[1]);
  close(ready[1]);
  std::vector<std::string> argv = {"Xvfb", "-displayfd", std::to_string(inherited), "-noreset",
                                   "-nolisten", "tcp", "-screen", "0",
                                   std::to_string(width) + "x" + std::to_string(height) + "x24"};
  argv.insert(argv.end(), extraArgs.begin(), extraArgs.end());
  server_ = std::make_unique<Process>(argv);
  close(inherited);

  std::string number;
  auto start = Clock::now();
  while (number.find('\n') == std::string::npos && SecondsSince(start) < 20) {
    pollfd p{ready[0], POLLIN, 0};
    if (poll(&p, 1, 100) > 0) {
      char buffer[32];
      ssize_t n = read(ready[0], buffer, sizeof buffer);
      if (n <= 0) break;
      number.append(buffer, size_t(n));
    }
  }
  close(ready[0]);
  if (number.find('\n') == std::string::npos) {
    server_.reset();
    throw std::runtime_error("Xvfb did not start");
  }
  display_ = ":" + number.substr(0, number.find('\n'));
  if (wm == WindowManager::Openbox) StartOpenbox();
}

void XvfbServer::Kill() {
  openbox_.reset();
  if (server_) server_->Stop();
}

XvfbServer::~XvfbServer() {
  openbox_.reset();
  server_.reset();
}

EnvChanges XvfbServer::env(const EnvChanges& extra) const {
  EnvChanges all = {"DISPLAY=" + display_};
  all.insert(all.end(), extra.begin(), extra.end());
  return all;
}

RunResult XvfbServer::Run(const std::string& shellCommand, const EnvChanges& extra,
                          const std::string& cwd, int timeoutMs) const {
  return RunShell(shellCommand, env(extra), cwd, timeoutMs);
}

void XvfbServer::StartOpenbox() {
  if (openbox_) return;
  static const TempDir home;  // openbox keeps its settings and cache away from the user's
  openbox_ = std::make_unique<Process>(std::vector<std::string>{"openbox"},
                                       env({"HOME=" + home.Path(),
                                            "XDG_CONFIG_HOME=" + home / "config",
                                            "XDG_CACHE_HOME=" + home / "cache"}));
  Display* dpy = XOpenDisplay(display_.c_str());
  if (!dpy) throw std::runtime_error("cannot open " + display_);
  // openbox names itself on the root about a second before it manages new
  // windows, and a window mapped in between is never managed: map probes
  // until one is framed.
  Window root = DefaultRootWindow(dpy);
  bool managed = false;
  auto start = Clock::now();
  while (!managed && SecondsSince(start) < 15) {
    Window probe = XCreateSimpleWindow(dpy, root, 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(dpy, probe);
    XSync(dpy, False);
    for (int i = 0; i < 25 && !managed; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      Window rootReturn, parent, *children = nullptr;
      unsigned count = 0;
      if (XQueryTree(dpy, probe, &rootReturn, &parent, &children, &count) && parent != root) managed = true;
      if (children) XFree(children);
    }
    XDestroyWindow(dpy, probe);
    XSync(dpy, False);
  }
  // The probe's frame goes a moment after the probe: wait until nothing shows
  // on the root, so that tests see their own screen. A window may go between
  // the two questions; that is no error here.
  XErrorHandler old = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  for (auto gone = Clock::now(); managed && SecondsSince(gone) < 5;) {
    Window rootReturn, parent, *children = nullptr;
    unsigned count = 0, viewable = 0;
    XQueryTree(dpy, root, &rootReturn, &parent, &children, &count);
    for (unsigned i = 0; i < count; ++i) {
      XWindowAttributes attributes;
      if (XGetWindowAttributes(dpy, children[i], &attributes) && attributes.map_state == IsViewable) ++viewable;
    }
    if (children) XFree(children);
    if (viewable == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  XSync(dpy, False);
  XSetErrorHandler(old);
  XCloseDisplay(dpy);
  if (!managed) {
    openbox_.reset();
    throw std::runtime_error("openbox did not start managing windows");
  }
}

void XvfbServer::MergeResources(const std::string& resources) const {
  RunResult r = Run("printf '%s\\n' " + ShellQuote(resources) + " | xrdb -nocpp -merge");
  if (r.status != 0) throw std::runtime_error("xrdb failed: " + r.err);
}

void XvfbServer::SetRootPicture(const fw::Picture& picture) const {
  Display* dpy = XOpenDisplay(display_.c_str());
  if (!dpy) throw std::runtime_error("cannot open " + display_);
  int screen = DefaultScreen(dpy);
  Window root = RootWindow(dpy, screen);
  Visual* visual = DefaultVisual(dpy, screen);
  int depth = DefaultDepth(dpy, screen);
  XImage* image = XCreateImage(dpy, visual, unsigned(depth), ZPixmap, 0, nullptr,
                               unsigned(width_), unsigned(height_), 32, 0);
  image->data = static_cast<char*>(std::calloc(size_t(image->bytes_per_line), size_t(height_)));
  int w = std::min(width_, picture.Width()), h = std::min(height_, picture.Height());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      fw::Color c = picture.PixelAt(x, y);
      XPutPixel(image, x, y,
                ToMask(c.Red(), visual->red_mask) | ToMask(c.Green(), visual->green_mask) |
                    ToMask(c.Blue(), visual->blue_mask));
    }
  }
  Pixmap pixmap = XCreatePixmap(dpy, root, unsigned(width_), unsigned(height_), unsigned(depth));
  GC gc = XCreateGC(dpy, pixmap, 0, nullptr);
  XPutImage(dpy, pixmap, gc, image, 0, 0, 0, 0, unsigned(width_), unsigned(height_));
  XFreeGC(dpy, gc);
  XDestroyImage(image);
  // The window keeps the pixmap as its background after the id is freed.
  XSetWindowBackgroundPixmap(dpy, root, pixmap);
  XClearWindow(dpy, root);
  XFreePixmap(dpy, pixmap);
  XSync(dpy, False);
  XCloseDisplay(dpy);
}

void XvfbServer::SetRootPattern() const {
  fw::Picture pattern(width_, height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) pattern.SetPixelAt(x, y, PatternColor(x, y));
  }
  SetRootPicture(pattern);
}

XvfbServer::Origin XvfbServer::ClientOrigin(unsigned long window) const {
  Origin origin;
  Display* dpy = XOpenDisplay(display_.c_str());
  if (!dpy) return origin;
  // A missing window is no error worth dying for here.
  XErrorHandler old = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  Window child;
  if (!XTranslateCoordinates(dpy, window, DefaultRootWindow(dpy), 0, 0, &origin.x, &origin.y, &child)) origin = {};
  XSync(dpy, False);
  XSetErrorHandler(old);
  XCloseDisplay(dpy);
  return origin;
}

bool XvfbServer::MenuShown() const {
  Display* dpy = XOpenDisplay(display_.c_str());
  if (!dpy) return false;
  // Windows may go while they are looked at; that is no error here.
  XErrorHandler old = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  bool shown = false;
  Window rootReturn, parent, *children = nullptr;
  unsigned count = 0;
  XQueryTree(dpy, DefaultRootWindow(dpy), &rootReturn, &parent, &children, &count);
  for (unsigned i = 0; i < count && !shown; ++i) {
    XWindowAttributes attributes;
    shown = XGetWindowAttributes(dpy, children[i], &attributes) && attributes.map_state == IsViewable &&
            attributes.override_redirect;
  }
  if (children) XFree(children);
  // A menu takes keys only once it holds the keyboard: a grab of our own
  // then fails.
  if (shown && XGrabKeyboard(dpy, DefaultRootWindow(dpy), False, GrabModeAsync, GrabModeAsync, CurrentTime) ==
                   GrabSuccess) {
    XUngrabKeyboard(dpy, CurrentTime);
    shown = false;
  }
  XSync(dpy, False);
  XSetErrorHandler(old);
  XCloseDisplay(dpy);
  return shown;
}

std::shared_ptr<fw::Picture> XvfbServer::Screenshot() const {
  Display* dpy = XOpenDisplay(display_.c_str());
  if (!dpy) return nullptr;
  XImage* image = XGetImage(dpy, DefaultRootWindow(dpy), 0, 0, unsigned(width_), unsigned(height_),
                            AllPlanes, ZPixmap);
  std::shared_ptr<fw::Picture> shot;
  if (image) {
    shot = std::make_shared<fw::Picture>(width_, height_);
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        unsigned long pixel = XGetPixel(image, x, y);
        shot->SetPixelAt(x, y,
                         fw::Color::FromRGB(FromMask(pixel, image->red_mask),
                                            FromMask(pixel, image->green_mask),
                                            FromMask(pixel, image->blue_mask)));
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(dpy);
  return shot;
}

namespace {

// The text of a window's WM_NAME; "" when it has none or is gone.
std::string WindowName(xcb_connection_t* c, xcb_window_t window) {
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
  if (!reply) return "";
  std::string name(static_cast<const char*>(xcb_get_property_value(reply)),
                   size_t(xcb_get_property_value_length(reply)));
  std::free(reply);
  return name;
}

// The windows below window, to depth levels (a window manager's frames
// hold the clients).
void Descendants(xcb_connection_t* c, xcb_window_t window, int depth, std::vector<xcb_window_t>& out) {
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr);
  if (!tree) return;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  const int count = xcb_query_tree_children_length(tree);
  for (int i = 0; i < count; ++i) {
    out.push_back(children[i]);
    if (depth > 1) Descendants(c, children[i], depth - 1, out);
  }
  std::free(tree);
}

xcb_window_t Root(xcb_connection_t* c, int screen) {
  xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screen && roots.rem > 0; ++i) xcb_screen_next(&roots);
  return roots.rem > 0 ? roots.data->root : 0;
}

}  // namespace

PlacesSeen::PlacesSeen(const XvfbServer& x, const std::string& name)
    : thread_([this, display = x.display(), name] { Watch(display, name); }) {}

PlacesSeen::~PlacesSeen() {
  stop_ = true;
  thread_.join();
}

std::vector<XvfbServer::Origin> PlacesSeen::Places() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return places_;
}

void PlacesSeen::Watch(const std::string& display, const std::string& name) {
  int screen = 0;
  xcb_connection_t* c = xcb_connect(display.c_str(), &screen);
  const xcb_window_t root = Root(c, screen);
  xcb_window_t window = 0;
  while (!stop_ && !xcb_connection_has_error(c)) {
    if (!window) {
      std::vector<xcb_window_t> windows;
      Descendants(c, root, 2, windows);
      for (xcb_window_t w : windows)
        if (WindowName(c, w) == name) window = w;
    }
    if (window) {
      xcb_get_window_attributes_reply_t* attributes =
          xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
      if (!attributes) {
        window = 0;  // gone: a later one of that name counts
      } else if (attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
        xcb_translate_coordinates_reply_t* at =
            xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0), nullptr);
        if (at) {
          const XvfbServer::Origin origin{at->dst_x, at->dst_y};
          std::lock_guard<std::mutex> lock(mutex_);
          if (places_.empty() || !(places_.back() == origin)) places_.push_back(origin);
        }
        std::free(at);
      }
      std::free(attributes);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  xcb_disconnect(c);
}

WanderingPointer::WanderingPointer(const XvfbServer& x, int y, int left, int right)
    : thread_([this, display = x.display(), y, left, right] {
        int screen = 0;
        xcb_connection_t* c = xcb_connect(display.c_str(), &screen);
        const xcb_window_t root = Root(c, screen);
        for (int column = left; !stop_ && !xcb_connection_has_error(c); column = column < right ? column + 1 : left) {
          xcb_warp_pointer(c, XCB_NONE, root, 0, 0, 0, 0, int16_t(column), int16_t(y));
          xcb_flush(c);
          std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        xcb_disconnect(c);
      }) {}

WanderingPointer::~WanderingPointer() {
  stop_ = true;
  thread_.join();
}

}  // namespace e2e
