// trmsg.exe, the Windows build, run under Wine: scripts/test-windows sets
// TRMSG_PROGRAM to trmsg.exe, TRMSG_RUNNER to Wine and TRMSG_WINEPREFIX to
// Wine's prefix. Wine takes the ANSI code page from the C library's locale
// (compiled into the build, selected by LOCPATH): fr_FR gives 1252, ru_RU
// 1251, ja_JP 932. It hands the program its arguments and environment
// decoded from the Unix locale's charset, as a user's typing would be.
#pragma once

#include <QByteArray>
#include <QList>

// Whether the tests run against trmsg.exe under Wine.
bool testingWindowsProgram();

// Starts Wine's server, and Wine's services, for the whole test run, with no
// pipe of a test for standard streams, so that each run ends as soon as
// trmsg.exe does. False when Wine does not start.
bool startWine();

// A Unix path as Wine shows it to a Windows program: drive Z:, backslashes.
QByteArray windowsPath(QByteArray path);

// The environment for trmsg.exe in locale, with ZEZAVAVEV set to
// installation unless that is null.
QList<QByteArray> windowsEnvironment(const QByteArray &locale, const QByteArray &installation);

// How a request in a Unix test locale runs on Windows: the locale Wine is
// started in (same language and charset, a territory the build has compiled)
// and the iconv name of the ANSI code page Wine then gives; why not, when
// Windows has no 8-bit code page for the language.
struct WindowsLocale
{
    QByteArray locale;
    QByteArray codePage;
    const char *notApplicable = nullptr;
};
WindowsLocale windowsLocale(const QByteArray &unixLocale);

// out, text in unixLocale's charset, as trmsg.exe writes it: in the code
// page, a newline as CR LF. *ok false when the code page lacks a character
// of it.
QByteArray windowsOutput(const QByteArray &out, const QByteArray &unixLocale, const QByteArray &codePage, bool *ok);
