/* The floor for bench/measure_program.sh: about the least a program can do to ask the
 * adapter for its incoming-call report once a period and read each whole reply. It
 * sleeps until the next period, writes the command, and blocks in read() until the
 * reply's result code has come; nothing else.
 * Usage: pty_poller PORT [PERIOD_MS, default 1000] [COMMAND, default at\l1]
 * Ends on SIGTERM or SIGINT. */
#define _DEFAULT_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

static volatile sig_atomic_t stopping = 0;

static void Stop(int signal_number) {
  (void)signal_number;
  stopping = 1;
}

/* The line as the program sets it: raw, 38400 baud, reads that return what has come. */
static int SetLine(int fd) {
  struct termios line;
  if (tcgetattr(fd, &line) != 0) return -1;
  cfmakeraw(&line);
  cfsetispeed(&line, B38400);
  cfsetospeed(&line, B38400);
  line.c_cflag |= CLOCAL | CREAD;
  line.c_cc[VMIN] = 1;
  line.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &line);
}

static int Complete(const char* text, size_t size) {
  static const char ok[] = "\r\nOK\r\n";
  static const char error[] = "\r\nERROR\r\n";
  return (size >= sizeof ok - 1 && memcmp(text + size - (sizeof ok - 1), ok, sizeof ok - 1) == 0) ||
         (size >= sizeof error - 1 && memcmp(text + size - (sizeof error - 1), error, sizeof error - 1) == 0);
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: pty_poller PORT [PERIOD_MS] [COMMAND]\n");
    return 2;
  }
  const long period_ms = argc > 2 ? strtol(argv[2], NULL, 10) : 1000;
  const char* command = argc > 3 ? argv[3] : "at\\l1";
  if (period_ms <= 0) {
    fprintf(stderr, "pty_poller: bad period %s\n", argv[2]);
    return 2;
  }

  struct sigaction action;
  memset(&action, 0, sizeof action);
  action.sa_handler = Stop; /* no SA_RESTART: a blocked read or sleep ends */
  sigaction(SIGTERM, &action, NULL);
  sigaction(SIGINT, &action, NULL);

  const int fd = open(argv[1], O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0 || SetLine(fd) != 0) {
    perror(argv[1]);
    return 1;
  }
  char line[256];
  const int line_size = snprintf(line, sizeof line, "%s\r", command);
  if (line_size < 0 || (size_t)line_size >= sizeof line) {
    fprintf(stderr, "pty_poller: command too long\n");
    return 2;
  }

  /* A reply is short; what doesn't fit is only searched for the result code at its end. */
  char reply[4096];
  struct timespec next;
  clock_gettime(CLOCK_MONOTONIC, &next);
  while (!stopping) {
    if (write(fd, line, (size_t)line_size) != line_size) break;
    size_t size = 0;
    while (!stopping && !Complete(reply, size)) {
      if (size == sizeof reply) {
        memmove(reply, reply + sizeof reply / 2, sizeof reply / 2);
        size = sizeof reply / 2;
      }
      const ssize_t n = read(fd, reply + size, sizeof reply - size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return 1;
      size += (size_t)n;
    }
    next.tv_nsec += (period_ms % 1000) * 1000000L;
    next.tv_sec += period_ms / 1000 + next.tv_nsec / 1000000000L;
    next.tv_nsec %= 1000000000L;
    while (!stopping && clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL) == EINTR) {
    }
  }
  close(fd);
  return 0;
}
