// A small X client for the end-to-end test and the bench. It notices what a user would notice of
// a program (top-level windows appearing and going, key presses reaching them, the bell) and does
// what a window manager does when the user presses a window's close button.
//
//   xprobe watch          one line per event on standard output, each stamped with the monotonic
//                         clock in seconds (the clock Python's time.monotonic() reads):
//                           ready T
//                           map WIN T X Y W H        a top-level window was mapped
//                           unmap WIN T              ... unmapped
//                           key WIN T KEYCODE        a key press reached a mapped top-level
//                           bell T                   the X bell rang (XkbBellNotify)
//                         A line "sync" on standard input is answered with "synced T" once every
//                         event the server had for us when the request arrived has been printed.
//                         Ends when standard input closes.
//   xprobe close WIN      sends WM_DELETE_WINDOW to WIN, as a window manager's close button does
//   xprobe shot WIN FILE  writes WIN's pixels to FILE as a binary PPM
//
// WIN is a window id in decimal or 0x hex.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/select.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

double Now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Windows come and go under our feet; a request about one that is gone is not an error here.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

Display* Open() {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "xprobe: cannot open display %s\n", std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "(unset)");
    std::exit(2);
  }
  return dpy;
}

Window ParseWindow(const char* text) { return static_cast<Window>(std::strtoul(text, nullptr, 0)); }

int Watch() {
  Display* dpy = Open();
  XSetErrorHandler(IgnoreErrors);
  int opcode = 0, xkbEvent = 0, xkbError = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
  if (!XkbQueryExtension(dpy, &opcode, &xkbEvent, &xkbError, &major, &minor)) {
    std::fprintf(stderr, "xprobe: the X server has no XKB extension\n");
    return 2;
  }
  XkbSelectEvents(dpy, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
  const Window root = DefaultRootWindow(dpy);
  XSelectInput(dpy, root, SubstructureNotifyMask);
  XSync(dpy, False);
  std::printf("ready %.6f\n", Now());
  std::fflush(stdout);

  const int xfd = ConnectionNumber(dpy);
  std::string input;
  int syncs = 0;  // "sync" requests whose round trip is done but not yet answered
  for (;;) {
    while (XPending(dpy) > 0) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      const double t = Now();
      if (ev.type == MapNotify && ev.xmap.event == root) {
        const Window w = ev.xmap.window;
        XWindowAttributes a{};
        if (!XGetWindowAttributes(dpy, w, &a)) continue;
        // Key presses on the window are ours to see too (any number of clients may select them).
        XSelectInput(dpy, w, KeyPressMask);
        std::printf("map 0x%lx %.6f %d %d %d %d\n", w, t, a.x, a.y, a.width, a.height);
      } else if (ev.type == UnmapNotify && ev.xunmap.event == root && !ev.xunmap.send_event) {
        // (a client withdrawing its window also sends a synthetic UnmapNotify to the root: skipped)
        std::printf("unmap 0x%lx %.6f\n", ev.xunmap.window, t);
      } else if (ev.type == KeyPress) {
        std::printf("key 0x%lx %.6f %u\n", ev.xkey.window, t, ev.xkey.keycode);
      } else if (ev.type == xkbEvent && reinterpret_cast<XkbAnyEvent*>(&ev)->xkb_type == XkbBellNotify) {
        std::printf("bell %.6f\n", t);
      }
    }
    for (; syncs > 0; --syncs) std::printf("synced %.6f\n", Now());
    std::fflush(stdout);

    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(xfd, &fds);
    FD_SET(STDIN_FILENO, &fds);
    if (select(xfd + 1, &fds, nullptr, nullptr, nullptr) < 0) continue;
    if (!FD_ISSET(STDIN_FILENO, &fds)) continue;
    char buf[256];
    const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) break;
    input.append(buf, static_cast<std::size_t>(n));
    for (std::size_t nl; (nl = input.find('\n')) != std::string::npos; input.erase(0, nl + 1)) {
      if (input.compare(0, nl, "sync") != 0) continue;
      // After the round trip every event the server made before it is in our queue; the loop
      // above prints them before the answer.
      XSync(dpy, False);
      ++syncs;
    }
  }
  XCloseDisplay(dpy);
  return 0;
}

int Close(Window w) {
  Display* dpy = Open();
  const Atom protocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
  const Atom del = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
  Atom* list = nullptr;
  int count = 0;
  bool takesDelete = false;
  if (XGetWMProtocols(dpy, w, &list, &count)) {
    for (int i = 0; i < count; ++i) takesDelete = takesDelete || list[i] == del;
    XFree(list);
  }
  if (!takesDelete) {
    std::fprintf(stderr, "xprobe: window 0x%lx does not take WM_DELETE_WINDOW\n", w);
    return 3;
  }
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w;
  ev.xclient.message_type = protocols;
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(del);
  ev.xclient.data.l[1] = CurrentTime;
  XSendEvent(dpy, w, False, NoEventMask, &ev);
  XSync(dpy, False);
  XCloseDisplay(dpy);
  return 0;
}

int Shot(Window w, const char* file) {
  Display* dpy = Open();
  XWindowAttributes a{};
  if (!XGetWindowAttributes(dpy, w, &a) || a.map_state != IsViewable) {
    std::fprintf(stderr, "xprobe: window 0x%lx is not viewable\n", w);
    return 3;
  }
  XImage* image = XGetImage(dpy, w, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
  if (!image) {
    std::fprintf(stderr, "xprobe: cannot read the pixels of 0x%lx\n", w);
    return 3;
  }
  // The shift that brings a colour mask's top byte to bits 0..7.
  auto shiftOf = [](unsigned long mask) {
    int shift = 0;
    while (mask > 0xff) {
      mask >>= 1;
      ++shift;
    }
    return shift;
  };
  const int rs = shiftOf(image->red_mask), gs = shiftOf(image->green_mask), bs = shiftOf(image->blue_mask);
  FILE* out = std::fopen(file, "wb");
  if (!out) {
    std::perror(file);
    return 3;
  }
  std::fprintf(out, "P6\n%d %d\n255\n", a.width, a.height);
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      const unsigned char rgb[3] = {static_cast<unsigned char>((p & image->red_mask) >> rs),
                                    static_cast<unsigned char>((p & image->green_mask) >> gs),
                                    static_cast<unsigned char>((p & image->blue_mask) >> bs)};
      std::fwrite(rgb, 1, 3, out);
    }
  }
  std::fclose(out);
  XDestroyImage(image);
  XCloseDisplay(dpy);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "watch") == 0) return Watch();
  if (argc == 3 && std::strcmp(argv[1], "close") == 0) return Close(ParseWindow(argv[2]));
  if (argc == 4 && std::strcmp(argv[1], "shot") == 0) return Shot(ParseWindow(argv[2]), argv[3]);
  std::fprintf(stderr, "usage: xprobe watch | xprobe close WIN | xprobe shot WIN FILE.ppm\n");
  return 2;
}
