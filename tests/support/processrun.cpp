#include "processrun.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int timeoutMilliseconds = 120000;

std::vector<char *> nullTerminated(QList<QByteArray> &list)
{
    std::vector<char *> vector;
    for (QByteArray &entry : list)
        vector.push_back(entry.data());
    vector.push_back(nullptr);
    return vector;
}

// The writing end of a pipe whose reading end is closed.
int brokenPipe()
{
    int ends[2];
    if (pipe(ends) != 0)
        return -1;
    close(ends[0]);
    return ends[1];
}

void setUpChildStreams(int outPipe, int errPipe, StreamSetup setup)
{
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    if (setup == StreamSetup::StdoutClosed)
        close(1);
    else if (setup == StreamSetup::StdoutFull)
        dup2(open("/dev/full", O_WRONLY), 1);
    else if (setup == StreamSetup::StdoutBrokenPipe)
        dup2(brokenPipe(), 1);
    else
        dup2(outPipe, 1);
    if (setup == StreamSetup::StderrClosed)
        close(2);
    else if (setup == StreamSetup::StderrBrokenPipe)
        dup2(brokenPipe(), 2);
    else
        dup2(errPipe, 2);
    // Whatever the test runner ignores, the child must not inherit.
    signal(SIGPIPE, SIG_DFL);
}

// Reads both pipes until they close, so neither can fill up and block the child.
bool drain(int outFd, int errFd, ProcessResult *result)
{
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    QByteArray *sinks[2] = {&result->out, &result->err};
    int open = 2;
    char buffer[65536];
    while (open > 0) {
        const int ready = poll(fds, 2, timeoutMilliseconds);
        if (ready == 0)
            return false;
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, n);
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    return true;
}

} // namespace

ProcessResult runProgram(const QByteArray &path, const QList<QByteArray> &arguments,
                         const QList<QByteArray> &environment, StreamSetup setup,
                         const QByteArray &workingDirectory)
{
    ProcessResult result;
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        return result;
    QList<QByteArray> argumentCopy = arguments;
    QList<QByteArray> environmentCopy = environment;
    std::vector<char *> argv = nullTerminated(argumentCopy);
    std::vector<char *> envp = nullTerminated(environmentCopy);
    const pid_t pid = fork();
    if (pid == 0) {
        setUpChildStreams(outPipe[1], errPipe[1], setup);
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            close(fd);
        if (!workingDirectory.isEmpty() && chdir(workingDirectory.constData()) != 0)
            _exit(126);
        execve(path.constData(), argv.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (!drain(outPipe[0], errPipe[0], &result)) {
        result.timedOut = true;
        kill(pid, SIGKILL);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}

ProcessResult runTrmsg(const QList<QByteArray> &operands, const QList<QByteArray> &environment, StreamSetup setup)
{
    const QByteArray runner = qgetenv("TRMSG_RUNNER");
    if (!runner.isEmpty())
        return runProgram(runner, QList<QByteArray>{runner, trmsgBinary()} + operands, environment, setup);
    QList<QByteArray> arguments{QByteArrayLiteral("trmsg")};
    arguments += operands;
    return runProgram(trmsgBinary(), arguments, environment, setup);
}

QByteArray usageText(const QByteArray &path, const QByteArray &newline)
{
    QByteArray text = path + " Usage:\n  " + path
        + " <translation-file-prefix> <context> <message> [<comment> [<message args...>]]\n"
          "   or w/o any args to give Unicode Mib and Mime name for current locale\n"
          "   or <min>..<max>\n"
          "    (an hexa range of unicode positions to be printed out in 8-bits locale)\n"
          "   or --utf8 <local-encoded-string>\n"
          "    (encode the string from 8-bits locale to utf8 backslashed hexa to be used\n"
          "     in a C/C++ program)\n"
          "   or --mimename\n"
          "    (only emits the Unicode Mime name for current locale)\n"
          "   or --help (print this message)\n"
          "\n";
    return text.replace("\n", newline);
}

ProcessResult runTrmsgUnprivileged(const QList<QByteArray> &operands, const QList<QByteArray> &environment)
{
    if (geteuid() != 0)
        return runTrmsg(operands, environment);
    const QList<QByteArray> arguments{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", trmsgBinary()};
    return runProgram("/usr/bin/setpriv", arguments + operands, environment);
}

const char *whyNoMemcheck()
{
    if (!qEnvironmentVariableIsEmpty("TRMSG_EMULATOR"))
        return "the program runs under an emulator: valgrind runs only this machine's code";
    return valgrindPath().isEmpty() ? "valgrind is not installed" : nullptr;
}

QByteArray valgrindPath()
{
    return QFile::encodeName(QStandardPaths::findExecutable(QStringLiteral("valgrind")));
}

ProcessResult runTrmsgMemchecked(const QList<QByteArray> &operands, const QList<QByteArray> &environment,
                                 QByteArray *report)
{
    QTemporaryDir logs;
    const QByteArray log = QFile::encodeName(logs.filePath(QStringLiteral("memcheck.log")));
    QList<QByteArray> arguments{"valgrind", "--error-exitcode=99", "--leak-check=no", "--log-file=" + log,
                                memcheckedBinary()};
    const ProcessResult result = runProgram(valgrindPath(), arguments + operands, environment);
    QFile file(QFile::decodeName(log));
    *report = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("no memcheck log");
    return result;
}

QList<QByteArray> localeEnvironment(const QByteArray &locale, const QByteArray &installation)
{
    return {"ZEZAVAVEV=" + installation, "LANG=" + locale, "LOCPATH=" + compiledLocales()};
}

QByteArray memcheckedBinary()
{
    const QByteArray program = qgetenv("TRMSG_MEMCHECK_PROGRAM");
    return program.isEmpty() ? trmsgBinary() : program;
}

QByteArray trmsgBinary()
{
    const QByteArray program = qgetenv("TRMSG_PROGRAM");
    return program.isEmpty() ? QByteArrayLiteral(TRMSG_BINARY) : program;
}
QByteArray compiledLocales() { return QByteArrayLiteral(TRMSG_LOCALES); }
QByteArray testInstallation() { return QByteArrayLiteral(TRMSG_TEST_INSTALLATION); }
