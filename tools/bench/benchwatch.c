// Watches a program on an X display for the benchmark (tools/bench/bench.sh).
//
//   benchwatch start X Y RRGGBB -- PROGRAM ARGS...
//       Starts the program and reads the pixel (X, Y) of the screen every
//       millisecond until it shows the colour: the board is painted. Then the
//       program is killed; prints board_ms, cpu_ms (user + system time up to
//       the board) and rss_kb (peak resident memory up to the board).
//   benchwatch idle X Y RRGGBB SETTLE_MS WINDOW_MS -- PROGRAM ARGS...
//       As start, then waits SETTLE_MS, measures the CPU time of all the
//       program's threads over WINDOW_MS, and kills it; prints board_ms,
//       idle_pct (of one core) and rss_kb (peak resident memory of the run).
//   benchwatch wait X Y RRGGBB
//       Waits until the pixel shows the colour (20 s at most).
//   benchwatch frames NAME SECONDS
//       Waits for a top-level window named NAME and records when its content
//       is drawn (the DAMAGE extension) for SECONDS at most.
//       Drawings less than 48 ms apart belong to one frame; prints the
//       spacing of the frames of the longest run of frames at most 400 ms
//       apart (an animation): frames, median_ms, min_ms, max_ms. It stops
//       1 s after an animation of six frames or more.
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static void die(const char* what) {
    fprintf(stderr, "benchwatch: %s\n", what);
    exit(2);
}

// A busy server sometimes turns a connection away: try again for 5 s.
static Display* open_display(void) {
    for (int i = 0; i < 50; ++i) {
        Display* dpy = XOpenDisplay(NULL);
        if (dpy) return dpy;
        usleep(100000);
    }
    die("cannot open the display");
    return NULL;
}

static pid_t launch(char** argv) {
    pid_t pid = fork();
    if (pid < 0) die("fork failed");
    if (pid == 0) {
        // The program's own messages would mix with the figures.
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(127);
        execvp(argv[0], argv);
        _exit(127);
    }
    return pid;
}

// Polls the pixel every millisecond; returns the time it took, or -1 when
// the program ended first or 20 s passed.
static double wait_for_pixel(Display* dpy, pid_t pid, double start, int x, int y, unsigned long rgb) {
    Window root = DefaultRootWindow(dpy);
    for (;;) {
        XImage* image = XGetImage(dpy, root, x, y, 1, 1, AllPlanes, ZPixmap);
        if (image) {
            unsigned long pixel = XGetPixel(image, 0, 0) & 0xffffff;
            XDestroyImage(image);
            if (pixel == rgb) return now_ms() - start;
        }
        int status;
        if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid) return -1;
        if (now_ms() - start > 20000) return -1;
        usleep(1000);
    }
}

// The CPU time of all live threads of a process, in nanoseconds.
static double thread_cpu_ns(pid_t pid) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR* dir = opendir(path);
    if (!dir) return 0;
    double total = 0;
    struct dirent* entry;
    while ((entry = readdir(dir))) {
        if (entry->d_name[0] == '.') continue;
        char file[320];
        snprintf(file, sizeof file, "/proc/%d/task/%s/schedstat", (int)pid, entry->d_name);
        FILE* f = fopen(file, "r");
        if (!f) continue;
        unsigned long long ns = 0;
        if (fscanf(f, "%llu", &ns) == 1) total += (double)ns;
        fclose(f);
    }
    closedir(dir);
    return total;
}

static struct rusage kill_and_reap(pid_t pid) {
    struct rusage usage;
    int status;
    memset(&usage, 0, sizeof usage);
    kill(pid, SIGKILL);
    wait4(pid, &status, 0, &usage);
    return usage;
}

static double tv_ms(struct timeval t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; }

static int watch_program(int argc, char** argv, int idle) {
    int fixed = idle ? 7 : 5;
    if (argc < fixed + 2 || strcmp(argv[fixed], "--")) die("usage: see the comment at the top of benchwatch.c");
    int x = atoi(argv[2]), y = atoi(argv[3]);
    unsigned long rgb = strtoul(argv[4], NULL, 16);
    Display* dpy = open_display();
    double start = now_ms();
    pid_t pid = launch(argv + fixed + 1);
    double board = wait_for_pixel(dpy, pid, start, x, y, rgb);
    if (board < 0) {
        kill_and_reap(pid);
        die("the board was not painted");
    }
    if (!idle) {
        struct rusage usage = kill_and_reap(pid);
        printf("board_ms=%.1f cpu_ms=%.1f rss_kb=%ld\n", board, tv_ms(usage.ru_utime) + tv_ms(usage.ru_stime),
               usage.ru_maxrss);
        return 0;
    }
    usleep((useconds_t)atoi(argv[5]) * 1000);
    double window = atof(argv[6]);
    double cpu0 = thread_cpu_ns(pid), t0 = now_ms();
    usleep((useconds_t)(window * 1000));
    double cpu1 = thread_cpu_ns(pid), t1 = now_ms();
    struct rusage usage = kill_and_reap(pid);
    printf("board_ms=%.1f idle_pct=%.3f rss_kb=%ld\n", board, (cpu1 - cpu0) / 1e6 / (t1 - t0) * 100.0,
           usage.ru_maxrss);
    return 0;
}

static Window find_named(Display* dpy, Window w, const char* name) {
    char* title = NULL;
    if (XFetchName(dpy, w, &title) && title) {
        int same = strcmp(title, name) == 0;
        XFree(title);
        if (same) return w;
    }
    Window root, parent, *children = NULL;
    unsigned int n = 0;
    Window found = 0;
    if (XQueryTree(dpy, w, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && !found; ++i) found = find_named(dpy, children[i], name);
        if (children) XFree(children);
    }
    return found;
}

static int by_value(const void* a, const void* b) {
    double d = *(const double*)a - *(const double*)b;
    return d < 0 ? -1 : d > 0;
}

static int ignore_errors(Display* dpy, XErrorEvent* e) {
    (void)dpy;
    (void)e;
    return 0;
}

static int watch_frames(int argc, char** argv) {
    if (argc != 4) die("usage: benchwatch frames NAME SECONDS");
    Display* dpy = open_display();
    XSetErrorHandler(ignore_errors);
    int event_base, error_base;
    if (!XDamageQueryExtension(dpy, &event_base, &error_base)) die("the display has no DAMAGE extension");
    double start = now_ms(), limit = atof(argv[3]) * 1000;
    static double frames[100000];
    int count = 0, run = 0;
    double last = -1e9;
    // SDL may replace the window it first made (to draw with OpenGL): then
    // the new one is watched.
    while (now_ms() - start < limit && !(run >= 6 && now_ms() - last > 1000)) {
        Window w = find_named(dpy, DefaultRootWindow(dpy), argv[2]);
        if (!w) {
            usleep(10000);
            continue;
        }
        XSelectInput(dpy, w, StructureNotifyMask);
        Damage damage = XDamageCreate(dpy, w, XDamageReportRawRectangles);
        XFlush(dpy);
        int gone = 0;
        while (!gone && now_ms() - start < limit) {
            struct pollfd p = {ConnectionNumber(dpy), POLLIN, 0};
            if (!XPending(dpy) && poll(&p, 1, 50) <= 0) continue;
            while (XPending(dpy)) {
                XEvent e;
                XNextEvent(dpy, &e);
                if (e.type == DestroyNotify && e.xdestroywindow.window == w) gone = 1;
                if (e.type != event_base + XDamageNotify) continue;
                double t = now_ms();
                if (t - last >= 48 && count < 100000) {
                    if (count && t - frames[count - 1] > 400) run = 0;
                    frames[count++] = t;
                    ++run;
                }
                last = t;
            }
            // An animation has been seen and is over.
            if (run >= 6 && now_ms() - last > 1000) break;
        }
        if (!gone) XDamageDestroy(dpy, damage);
    }
    // The longest run of frames at most 400 ms apart.
    int best_from = 0, best_len = 0;
    for (int i = 0; i < count;) {
        int j = i;
        while (j + 1 < count && frames[j + 1] - frames[j] <= 400) ++j;
        if (j - i + 1 > best_len) best_from = i, best_len = j - i + 1;
        i = j + 1;
    }
    if (best_len < 3) die("no animation seen");
    int gaps = best_len - 1;
    double* spacing = malloc(sizeof(double) * gaps);
    for (int i = 0; i < gaps; ++i) spacing[i] = frames[best_from + i + 1] - frames[best_from + i];
    qsort(spacing, gaps, sizeof(double), by_value);
    double median = gaps % 2 ? spacing[gaps / 2] : (spacing[gaps / 2 - 1] + spacing[gaps / 2]) / 2;
    printf("frames=%d median_ms=%.1f min_ms=%.1f max_ms=%.1f\n", best_len, median, spacing[0], spacing[gaps - 1]);
    free(spacing);
    return 0;
}

int main(int argc, char** argv) {
    if (argc > 1 && !strcmp(argv[1], "start")) return watch_program(argc, argv, 0);
    if (argc > 1 && !strcmp(argv[1], "idle")) return watch_program(argc, argv, 1);
    if (argc > 1 && !strcmp(argv[1], "frames")) return watch_frames(argc, argv);
    if (argc == 5 && !strcmp(argv[1], "wait")) {
        Display* dpy = open_display();
        return wait_for_pixel(dpy, 0, now_ms(), atoi(argv[2]), atoi(argv[3]), strtoul(argv[4], NULL, 16)) < 0;
    }
    die("usage: benchwatch start|idle|frames ... (see the comment at the top of benchwatch.c)");
}
