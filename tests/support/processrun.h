// Runs a program as a real process with exactly the arguments and environment
// given, as raw bytes, and collects its output and how it ended.
#pragma once

#include <QByteArray>
#include <QList>

struct ProcessResult
{
    QByteArray out;
    QByteArray err;
    int exitStatus = -1; // -1 unless the process exited
    int signal = 0;      // the signal that ended it, 0 if it exited
    bool timedOut = false;
};

// How the child's standard streams are set up besides the pipes.
// A broken pipe is a pipe whose reader has already gone.
enum class StreamSetup { Pipes, StdoutClosed, StdoutFull, StderrClosed, StdoutBrokenPipe, StderrBrokenPipe };

// arguments holds the whole vector, entry 0 included (it may be empty). The
// child starts with SIGPIPE at its default action, in workingDirectory when
// one is given.
ProcessResult runProgram(const QByteArray &path, const QList<QByteArray> &arguments,
                         const QList<QByteArray> &environment, StreamSetup setup = StreamSetup::Pipes,
                         const QByteArray &workingDirectory = QByteArray());

// The built trmsg, started with program path `trmsg` and the given
// environment. TRMSG_PROGRAM and TRMSG_RUNNER in the tests' own environment
// name another program to test and a program to run it with (trmsg.exe and
// Wine, say); the runner then sets the program path.
ProcessResult runTrmsg(const QList<QByteArray> &operands, const QList<QByteArray> &environment,
                       StreamSetup setup = StreamSetup::Pipes);

// The built trmsg run as the unprivileged user nobody when the tests run as
// root (who reads every file whatever its mode), plainly otherwise. What it
// reads must be reachable by others.
ProcessResult runTrmsgUnprivileged(const QList<QByteArray> &operands, const QList<QByteArray> &environment);

// The built trmsg under valgrind's memcheck: exit status 99 when memcheck
// found an invalid access or a use of an uninitialised value, whose report
// then goes to *report. Empty valgrind path: valgrind is not installed.
// whyNoMemcheck() says why memcheck cannot check the program under test,
// nullptr when it can: TRMSG_EMULATOR names the emulator it runs under
// (another machine's code, which valgrind does not run).
// memcheckedBinary() is the program memcheck checks: the one under test, or
// the one TRMSG_MEMCHECK_PROGRAM names in its place, the same build with the
// C library shared where the program under test links it statically
// (valgrind cannot then put its own allocator and string functions in it).
QByteArray valgrindPath();
const char *whyNoMemcheck();
QByteArray memcheckedBinary();
ProcessResult runTrmsgMemchecked(const QList<QByteArray> &operands, const QList<QByteArray> &environment,
                                 QByteArray *report);

// The environment for a request in locale: ZEZAVAVEV, LANG and LOCPATH.
QList<QByteArray> localeEnvironment(const QByteArray &locale, const QByteArray &installation);

// The usage text trmsg writes for program path path, newlines as newline
// (on Windows: CR LF).
QByteArray usageText(const QByteArray &path, const QByteArray &newline = "\n");

// Directories the build provides.
QByteArray trmsgBinary();
QByteArray compiledLocales();
QByteArray testInstallation(); // ZEZAVAVEV of the test catalogues
