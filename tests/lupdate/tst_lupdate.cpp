// trmsg-lupdate run as a real process on scripts and .ts files in a
// scratch directory; shfmt, bash, lconvert, lrelease and trmsg as oracles.
#include "iconvtext.h"
#include "lupdatetest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestLupdate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void extraction_data();
    void extraction();
    void operandAsBashPassesIt_data();
    void operandAsBashPassesIt();
    void newFileFormat();
    void lconvertReadsOutput_data();
    void lconvertReadsOutput();
    void update_data();
    void update();
    void badInput_data();
    void badInput();
    void readAsLconvertReadsIt_data();
    void readAsLconvertReadsIt();
    void commandLine_data();
    void commandLine();
    void roundTrip();
    void sharedWithQtLupdate();
    void lconvertedRealCatalogue();
    void realProductCatalogue_data();
    void realProductCatalogue();

private:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
};

void TestLupdate::extraction_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QByteArray>("warnings"); // {S} stands for the script's path

    QTest::newRow("command substitutions, nested too")
        << QStringList() << QByteArray("a=$(trmsg p C one)\nb=`trmsg p C two`\necho \"$(echo $(trmsg p C three))\"\n")
        << QStringList{"C|one|", "C|two|", "C|three|"} << QByteArray();
    QTest::newRow("conditions, loops, pipelines, subshells")
        << QStringList()
        << QByteArray("if trmsg p C one; then :; fi\nwhile trmsg p C two; do :; done\n"
                      "trmsg p C three | cat && (trmsg p C four)\n")
        << QStringList{"C|one|", "C|two|", "C|three|", "C|four|"} << QByteArray();
    QTest::newRow("case arm, function body, here-document")
        << QStringList()
        << QByteArray("case $1 in a) trmsg p C one ;; esac\nf() { echo; trmsg p C two; }\n"
                      "cat <<EOF\n$(trmsg p C three)\nEOF\n")
        << QStringList{"C|one|", "C|two|", "C|three|"} << QByteArray();
    QTest::newRow("command word: a path to trmsg, not a look-alike")
        << QStringList() << QByteArray("/opt/z/bin/trmsg p C one\nxtrmsg p C no\ntrmsg/x p C no\necho trmsg p C no\n")
        << QStringList{"C|one|"} << QByteArray();
    QTest::newRow("too few operands is no call")
        << QStringList() << QByteArray("trmsg p C\ntrmsg --utf8 x\n") << QStringList() << QByteArray();
    QTest::newRow("comment operand; empty is none; arguments ignored")
        << QStringList() << QByteArray("trmsg p C Open verb \"$x\"\ntrmsg p C Open '' \"$x\"\n")
        << QStringList{"C|Open|verb", "C|Open|"} << QByteArray();
    QTest::newRow("--count skipped when three operands follow")
        << QStringList() << QByteArray("trmsg --count=\"$n\" p C '%n files'\ntrmsg --count=2 p C\n")
        << QStringList{"C|%n files|", "p|C|"} << QByteArray();
    QTest::newRow("-prefix keeps one product's calls")
        << QStringList{"-prefix", "p"} << QByteArray("trmsg p C one\ntrmsg q C two\ntrmsg \"$p\" C three\n")
        << QStringList{"C|one|"} << QByteArray("{S}:3: the catalogue prefix is not literal (a variable); not extracted\n");
    QTest::newRow("wrapper function, its body not a call of its own")
        << QStringList() << QByteArray("say() { trmsg p Installer \"$@\"; }\nsay Hello\nsay Open verb\nsay\n")
        << QStringList{"Installer|Hello|", "Installer|Open|verb"} << QByteArray();
    QTest::newRow("wrapper of a wrapper, defined after its use")
        << QStringList() << QByteArray("w Msg\nw() ( t Ctx \"$@\" )\nt() { trmsg p \"$@\"; }\nt C2 M2\n")
        << QStringList{"C2|M2|", "Ctx|Msg|"} << QByteArray();
    QTest::newRow("not a wrapper: more than the call, or \"$@\" not last")
        << QStringList() << QByteArray("f() { trmsg p C \"$@\"; echo; }\ng() { trmsg p \"$@\" x; }\nf M\ng C M\n")
        << QStringList()
        << QByteArray("{S}:1: the message is not literal (a variable); not extracted\n"
                      "{S}:2: the context is not literal (a variable); not extracted\n");
    QTest::newRow("-keyword calls kept whatever -prefix")
        << QStringList{"-prefix", "p", "-keyword", "msg:2,1"} << QByteArray("msg Hello Ctx\ntrmsg q C two\ntrmsg p C one\n")
        << QStringList{"C|one|", "Ctx|Hello|"} << QByteArray();
    QTest::newRow("not a wrapper: a variable leading operand")
        << QStringList() << QByteArray("f() { trmsg \"$p\" C \"$@\"; }\nf M\n") << QStringList()
        << QByteArray("{S}:1: the message is not literal (a variable); not extracted\n");
    // A directory's scripts in byte order of their paths (lib.sh before
    // lib/, which shfmt -f lists first), a name beyond ASCII among them,
    // before the script named after the directory.
    QDir(path("ops/lib")).mkpath(QStringLiteral("."));
    writeFile(path("ops/lib/a.sh"), "trmsg p C inLib\n");
    writeFile(path("ops/lib.sh"), "trmsg p C libSh\n");
    writeFile(path("ops/\u00e9t\u00e9.sh"), "trmsg p C accented\n");
    writeFile(path("ops/notes.txt"), "trmsg p C notAScript\n");
    QTest::newRow("a directory operand: its scripts in byte order of their paths")
        << QStringList{path("ops")} << QByteArray("trmsg p C named\n")
        << QStringList{"C|libSh|", "C|inLib|", "C|accented|", "C|named|"} << QByteArray();
    QTest::newRow("-keyword twice: both kept")
        << QStringList{"-keyword", "a:1,2", "-keyword", "b:2,1"} << QByteArray("a C1 M1\nb M2 C2\n")
        << QStringList{"C1|M1|", "C2|M2|"} << QByteArray();
    QTest::newRow("-ln bats: a test file's calls")
        << QStringList{"-ln", "bats"} << QByteArray("@test \"installs\" {\n  run trmsg p C M\n  trmsg p C N\n}\n")
        << QStringList{"C|N|"} << QByteArray();
    QTest::newRow("-keyword")
        << QStringList{"-keyword", "msg:2,1,3"} << QByteArray("msg Hello Ctx cmt\nmsg Bye Ctx\nmsg Bye\n")
        << QStringList{"Ctx|Hello|cmt", "Ctx|Bye|"} << QByteArray();
    QTest::newRow("operands that are not literal")
        << QStringList()
        << QByteArray("trmsg p \"$c\" M\ntrmsg p C \"$(m)\"\ntrmsg p C M $((1))\ntrmsg p C *\ntrmsg p C ~x\n"
                      "trmsg p C a{b,c}\ntrmsg p C '*' '~' \\*\n")
        << QStringList{"C|*|~"}
        << QByteArray("{S}:1: the context is not literal (a variable); not extracted\n"
                      "{S}:2: the message is not literal (a command substitution); not extracted\n"
                      "{S}:3: the comment is not literal (an arithmetic expansion); not extracted\n"
                      "{S}:4: the message is not literal (a pattern the shell may expand); not extracted\n"
                      "{S}:5: the message is not literal (a pattern the shell may expand); not extracted\n"
                      "{S}:6: the message is not literal (a pattern the shell may expand); not extracted\n");
    QTest::newRow("0x19 is a line break in the message only")
        << QStringList() << QByteArray("trmsg p C $'a\\x19b'\ntrmsg p 'C\x19' 'c\x19" "d'\n")
        << QStringList{"C|a\\nb|", "C\x19|c\\nd|"} << QByteArray();
    QTest::newRow("text that is not UTF-8; NUL bytes dropped as bash drops them")
        << QStringList() << QByteArray("trmsg p C $'caf\\xe9'\ntrmsg p C 'a\0b'\n", 37) << QStringList{"C|ab|"}
        << QByteArray("{S}:1: the message is not valid UTF-8 text; not extracted\n");
    QTest::newRow("-source-encoding ISO-8859-1")
        << QStringList{"-source-encoding", "ISO-8859-1"} << QByteArray("trmsg p C 'caf\xe9' $'\\xe9t\\u00e9'\n")
        << QStringList{QStringLiteral("C|caf\u00e9|\u00e9t\u00e9")} << QByteArray();
    const auto shQuoting = [](const char *lineAndRole) {
        return "{S}:" + QByteArray(lineAndRole) + "'s $'...' is bash's quoting; sh (dash) reads it as '$' and a quoted string\n";
    };
    QTest::newRow("#!/bin/sh: $'...' is '$' and quotes, a warning for each operand that counts")
        << QStringList() << QByteArray("#!/bin/sh\ntrmsg $'p' $'C' $'Hi' $'verb' $'arg'\ntrmsg p C \\$'Bye' '' $'arg'\n"
                                       "trmsg p $'C' \"$m\"\n")
        << QStringList{"$C|$Hi|$verb", "C|$Bye|"}
        << shQuoting("2: the catalogue prefix") + shQuoting("2: the context") + shQuoting("2: the message")
               + shQuoting("2: the comment") + "{S}:4: the message is not literal (a variable); not extracted\n";
    QTest::newRow("-ln posix: one warning an operand; a wrapper's at its body")
        << QStringList{"-ln", "posix"} << QByteArray("say() { trmsg p $'C' \"$@\"; }\nsay x$'a'$'b'\n")
        << QStringList{"$C|x$a$b|"} << shQuoting("1: the context") + shQuoting("2: the message");
    QTest::newRow("#!/bin/bash: $'...' is bash's, no warning")
        << QStringList() << QByteArray("#!/bin/bash\ntrmsg $'p' $'C' $'Hi' $'verb'\n") << QStringList{"C|Hi|verb"}
        << QByteArray();
}

void TestLupdate::extraction()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, script);
    QFETCH(QStringList, messages);
    QFETCH(QByteArray, warnings);
    writeFile(path("x.sh"), script);
    QFile::remove(path("x.ts"));
    const ProcessResult result = runLupdate(options + QStringList{"-silent", path("x.sh"), "-ts", path("x.ts")});
    QCOMPARE(result.err, QByteArray(warnings).replace("{S}", path("x.sh").toUtf8()));
    QCOMPARE(result.exitStatus, 0);
    QCOMPARE(messagesOf(readFile(path("x.ts"))), messages);
}

void TestLupdate::operandAsBashPassesIt_data()
{
    QTest::addColumn<QByteArray>("word");
    QTest::newRow("double quotes") << QByteArray(R"("a \"b\" \$c \`d\` \\e \f \
g")");
    QTest::newRow("unquoted backslashes, concatenation") << QByteArray(R"(a\ b\'c'd e'"f"$'\t'g\
h)");
    QTest::newRow("single quotes keep backslashes") << QByteArray(R"('a\nb\\')");
    QTest::newRow("ANSI-C simple escapes") << QByteArray(R"($'\a\b\e\E\f\n\r\t\v\\\'\"\?')");
    QTest::newRow("ANSI-C octal") << QByteArray(R"($'\101\0101\7\18')");
    QTest::newRow("ANSI-C hex") << QByteArray(R"($'\x41\x4a2\xZ\xc3\xa9')");
    QTest::newRow("ANSI-C \\u and \\U") << QByteArray(R"($'\u00e9\u20AC\U0001F600\u\U')");
    QTest::newRow("ANSI-C control characters") << QByteArray(R"($'\cA\cz\c?\c[')");
    QTest::newRow("ANSI-C \\c\\\\ and \\c\\") << QByteArray(R"($'\c\\a\c\b')");
    QTest::newRow("ANSI-C unknown escape kept") << QByteArray(R"($'\q\%')");
    QTest::newRow("ANSI-C NUL ends the quoted part") << QByteArray(R"($'ab\0cd'ef)");
    QTest::newRow("$\"...\" is double quotes") << QByteArray(R"($"a\"b")");
}

// The message trmsg-lupdate extracts is what bash passes trmsg.
void TestLupdate::operandAsBashPassesIt()
{
    QFETCH(QByteArray, word);
    writeFile(path("w.sh"), "trmsg p C " + word + "\n");
    QFile::remove(path("w.ts"));
    const ProcessResult lupdate = runLupdate({"-silent", path("w.sh"), "-ts", path("w.ts")});
    QCOMPARE(lupdate.err, QByteArray());
    const ProcessResult bash = runTool(bashBinary(), {"-c", "trmsg() { printf %s \"$3\"; }; . \"$0\"", path("w.sh")});
    QCOMPARE(bash.exitStatus, 0);
    const QString passed = QString::fromUtf8(bash.out).replace(QChar(0x19), QChar(u'\n')).replace(u'\n', QStringLiteral("\\n"));
    QCOMPARE(messagesOf(readFile(path("w.ts"))), QStringList{QStringLiteral("C|") + passed + u'|'});
}

void TestLupdate::newFileFormat()
{
    QDir(path("scripts")).mkpath(QStringLiteral("."));
    writeFile(path("scripts/a.sh"), "trmsg p B 'x' ''\ntrmsg p A $'<&>\"\\'\\x01\\t\\u00a0'\n"
                                    "trmsg --count=3 p A '%n files' Files\n\ntrmsg p B x\ntrmsg p B x; trmsg p B x\n");
    writeFile(path("scripts/b.sh"), "\n\n\n\ntrmsg p B x\n");
    QFile::remove(path("app_fr.ts"));
    const ProcessResult result = runLupdate({path("scripts/a.sh"), path("scripts/b.sh"), "-ts", path("app_fr.ts")});
    QCOMPARE(result.err, "Creating '" + path("app_fr.ts").toUtf8()
                             + "'...\n    Found 3 source text(s) (3 new and 0 already existing)\n");
    QCOMPARE(result.exitStatus, 0);
    QCOMPARE(readFile(path("app_fr.ts")), QByteArray(R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>A</name>
    <message>
        <location filename="scripts/a.sh" line="2"/>
        <source>&lt;&amp;&gt;&quot;&apos;<byte value="x1"/>	&#xa0;</source>
        <translation type="unfinished"></translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message numerus="yes">
        <location filename="scripts/a.sh" line="3"/>
        <source>%n files</source>
        <comment>Files</comment>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
</context>
<context>
    <name>B</name>
    <message>
        <location filename="scripts/a.sh" line="1"/>
        <location filename="scripts/a.sh" line="5"/>
        <location filename="scripts/a.sh" line="6"/>
        <location filename="scripts/b.sh" line="5"/>
        <source>x</source>
        <translation type="unfinished"></translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
</context>
</TS>
)"));
}

void TestLupdate::lconvertReadsOutput_data()
{
    QTest::addColumn<QString>("tsName");
    QTest::addColumn<QString>("locations");
    QTest::addColumn<QByteArray>("language"); // guessed from the file name
    QTest::newRow("French, absolute") << "t_fr.ts" << "absolute" << QByteArray("fr");
    QTest::newRow("Russian (3 plural forms), relative") << "t_ru.ts" << "relative" << QByteArray("ru");
    QTest::newRow("Japanese (1 plural form), none") << "t_ja.ts" << "none" << QByteArray("ja");
    QTest::newRow("Arabic (6 plural forms), relative") << "t_ar_EG.ts" << "relative" << QByteArray("ar_EG");
    QTest::newRow("Slovenian (4 plural forms)") << "t_sl.ts" << "absolute" << QByteArray("sl");
    QTest::newRow("no language") << "plain.ts" << "absolute" << QByteArray();
    QTest::newRow("Canadian French, relative") << "app_fr_CA.ts" << "relative" << QByteArray("fr_CA");
}

// lconvert writes back exactly what it reads: no warning, no difference.
void TestLupdate::lconvertReadsOutput()
{
    QFETCH(QString, tsName);
    QFETCH(QString, locations);
    QFETCH(QByteArray, language);
    writeFile(path("l.sh"), "trmsg p B '%n x'\ntrmsg p A y\n\ntrmsg p B z; trmsg p B w\ntrmsg p A y c\ntrmsg p B '%n x'\n");
    QFile::remove(path(tsName));
    QCOMPARE(runLupdate({"-silent", "-locations", locations, path("l.sh"), "-ts", path(tsName)}).exitStatus, 0);
    const ProcessResult lconvert = runTool(lconvertBinary(), {"-locations", locations, "-i", path(tsName), "-o", path("re.ts")});
    QCOMPARE(lconvert.err, QByteArray());
    QCOMPARE(lconvert.exitStatus, 0);
    QCOMPARE(readFile(path(tsName)), readFile(path("re.ts")));
    const QByteArray languageAttribute = language.isEmpty() ? QByteArray() : " language=\"" + language + '"';
    QVERIFY(readFile(path(tsName)).contains("<TS version=\"2.1\"" + languageAttribute + ">"));
}

void TestLupdate::update_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QByteArray>("summary");
    const QByteArray head = R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" extra="kept">
<context>
    <name>C</name>
    <message>
        <location filename="u.sh" line="+2"/>
        <source>kept</source>
        <translation>behalten</translation>
        <extra-note>unknown elements stay</extra-note>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location line="-1"/>
        <source>back</source>
        <translation>zurück</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location line="+3"/>
        <source>unfinished back</source>
        <translation type="unfinished">halb</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
)";
    const QByteArray retired = R"(    <message>
        <source>gone</source>
        <translation type="vanished">weg</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <source>gone unfinished</source>
        <translation type="obsolete">halb weg</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message numerus="yes">
        <source>%n gone</source>
        <translation type="vanished">
            <numerusform>%n weg</numerusform>
            <numerusform></numerusform>
        </translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <source>gone blank</source>
        <translation type="vanished"> </translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
)";
    // Not the scripts' messages: left as they are, but for a script's location.
    const QByteArray others = R"(    <message>
        <location filename="main.cpp" line="+7"/>
        <source>cpp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>vanished untranslated</source>
        <translation type="vanished"></translation>
    </message>
)";
    const QByteArray tail = R"(    <message>
        <location filename="u.sh" line="+1"/>
        <source>new</source>
        <translation type="unfinished"></translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
</context>
</TS>
)";
    // From before the mark: the messages whose locations are all in scripts are the scripts'.
    const QByteArray unmarked = R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" extra="kept">
<context>
    <name>C</name>
    <message>
        <location filename="old.sh" line="+9"/>
        <source>kept</source>
        <translation>behalten</translation>
        <extra-note>unknown elements stay</extra-note>
    </message>
    <message>
        <source>back</source>
        <translation type="vanished">zurück</translation>
    </message>
    <message>
        <source>unfinished back</source>
        <translation type="obsolete">halb</translation>
    </message>
    <message>
        <location filename="old.sh" line="+1"/>
        <source>gone</source>
        <translation>weg</translation>
    </message>
    <message>
        <location filename="old.sh" line="+1"/>
        <source>gone unfinished</source>
        <translation type="unfinished">halb weg</translation>
    </message>
    <message>
        <location filename="old.sh" line="+1"/>
        <source>gone untranslated</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location filename="old.sh" line="+1"/>
        <source>%n gone</source>
        <translation>
            <numerusform>%n weg</numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <location filename="old.sh" line="+1"/>
        <source>gone blank</source>
        <translation> </translation>
    </message>
    <message numerus="yes">
        <location filename="old.sh" line="+1"/>
        <source>%n gone untranslated</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <location filename="main.cpp" line="+7"/>
        <location filename="old.sh" line="+1"/>
        <source>cpp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>vanished untranslated</source>
        <translation type="vanished"></translation>
    </message>
</context>
</TS>
)";
    QTest::newRow("translations kept, vanished ones marked") << QStringList() << unmarked << head + retired + others + tail
        << QByteArray("    Found 4 source text(s) (1 new and 3 already existing)\n    Kept 4 vanished entries\n"
                      "    Removed 2 vanished entries\n");
    QTest::newRow("-no-obsolete") << QStringList{"-no-obsolete"} << unmarked << head + others + tail
        << QByteArray("    Found 4 source text(s) (1 new and 3 already existing)\n    Removed 6 vanished entries\n");
    const QByteArray markedHead = R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>C</name>
    <message>
        <source>kept</source>
        <translation>behalten</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <source>gone</source>
        <translation%1>weg</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
)";
    QByteArray added;
    for (const char *source : {"back", "unfinished back", "new"})
        added += "    <message>\n        <source>" + QByteArray(source) + "</source>\n        <translation "
                 "type=\"unfinished\"></translation>\n        <extra-trmsg>script</extra-trmsg>\n    </message>\n";
    // Locations read as Qt's tools read them: a first location without a file
    // name is in the previous message's first file, a later one in its own
    // message's last; lines count from the last relative line in that file.
    const QByteArray relative = R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>A</name>
    <message>
        <location filename="a.cpp" line="+10"/>
        <location filename="b.qml" line="+5"/>
        <source>one</source>
        <translation>eins</translation>
    </message>
    <message>
        <location line="+2"/>
        <location/>
        <source>two</source>
        <translation>zwei</translation>
    </message>
    <message>
        <location filename="b.qml" line="-3"/>
        <location filename="a.cpp" line="+3"/>
        <location line="+1"/>
        <source>three</source>
        <translation>drei</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>four</source>
        <translation>vier</translation>
    </message>
</context>
)";
    QByteArray relativeAdded = "<context>\n    <name>C</name>\n";
    int line = 0;
    for (const auto &[source, at] : {std::pair("back", 1), std::pair("kept", 2), std::pair("unfinished back", 4),
                                     std::pair("new", 5)}) {
        relativeAdded += "    <message>\n        <location" + QByteArray(line ? "" : " filename=\"u.sh\"") + " line=\""
                         + (at >= line ? "+" : "") + QByteArray::number(at - line) + "\"/>\n        <source>" + source
                         + "</source>\n        <translation type=\"unfinished\"></translation>\n        "
                           "<extra-trmsg>script</extra-trmsg>\n    </message>\n";
        line = at;
    }
    QTest::newRow("relative locations kept as they are") << QStringList() << relative + "</TS>\n"
        << relative + relativeAdded + "</context>\n</TS>\n"
        << QByteArray("    Found 4 source text(s) (4 new and 0 already existing)\ntrmsg-lupdate: {T}: none of the "
                      "scripts' 4 messages was in it; if Qt's lupdate dropped them (-no-obsolete), their translations "
                      "are lost: see -previous in trmsg-lupdate(1)\n");
    QTest::newRow("no locations: the mark tells the scripts' messages") << QStringList{"-locations", "none"}
        << QString::fromUtf8(markedHead).arg(QString()).toUtf8() + "</context>\n</TS>\n"
        << QString::fromUtf8(markedHead).arg(" type=\"vanished\"").toUtf8() + added + "</context>\n</TS>\n"
        << QByteArray("    Found 4 source text(s) (3 new and 1 already existing)\n    Kept 1 vanished entries\n");
    const QByteArray noLocations = QString::fromUtf8(markedHead).arg(QString()).toUtf8() + "</context>\n</TS>\n";
    const QByteArray noLocationsAdded =
        QString::fromUtf8(markedHead).arg(" type=\"vanished\"").toUtf8() + added + "</context>\n</TS>\n";
    const QByteArray noLocationsSummary = "    Found 4 source text(s) (3 new and 1 already existing)\n"
                                          "    Kept 1 vanished entries\n";
    QTest::newRow("a file with messages and no location gets none")
        << QStringList() << noLocations << noLocationsAdded << noLocationsSummary;
    const auto crlf = [](QByteArray text) { return text.replace("\n", "\r\n"); };
    QTest::newRow("line ends CRLF and a byte order mark, kept and followed")
        << QStringList() << "\xef\xbb\xbf" + crlf(noLocations) << "\xef\xbb\xbf" + crlf(noLocationsAdded)
        << noLocationsSummary;
    const auto tabs = [](QByteArray text) { return text.replace("    ", "\t"); };
    QTest::newRow("indented with tabs") << QStringList() << tabs(noLocations) << tabs(noLocationsAdded)
                                        << noLocationsSummary;
    // As a translation platform writes a file: its header on one line, two
    // spaces a level, empty elements closed in their start tag, no line end
    // after </TS>.
    const QByteArray platform = "<?xml version=\"1.0\" ?><!DOCTYPE TS><TS language=\"de\" version=\"2.1\">\n"
                                "  <context>\n    <name>C</name>\n    <message>\n      <source>unknown</source>\n"
                                "      <translation type=\"unfinished\"/>\n    </message>\n";
    QByteArray platformAdded;
    for (const char *source : {"back", "kept", "unfinished back", "new"})
        platformAdded += "    <message>\n      <source>" + QByteArray(source) + "</source>\n      <translation "
                         "type=\"unfinished\"/>\n      <extra-trmsg>script</extra-trmsg>\n    </message>\n";
    // Comments, processing instructions and stray text stay where they are,
    // also when the messages beside them go.
    const QByteArray contextY = "\n<context>\n    <name>Y</name>\n    <message>\n        <source>y</source>\n        "
                                "<translation type=\"unfinished\"></translation>\n        <extra-trmsg>script</extra-trmsg>\n"
                                "    </message>\n</context>";
    const auto strayText = [](const QByteArray &cMessages, const QByteArray &y = QByteArray()) {
        return "<TS version=\"2.1\" language=\"de\">\n<context>\n    <name>C</name>" + cMessages
               + "\n    stray text\n</context>\n<!-- Y's -->" + y + "\n<?pi kept?>\n<context>\n    <name>Z</name>\n"
                 "    <!-- Z's -->\n</context>\n</TS>\n";
    };
    const QByteArray scriptsGone = "\n    <!-- the installer's -->\n    <message>\n        <source>gone</source>\n"
                                   "        <translation type=\"unfinished\"></translation>\n        <extra-trmsg>script"
                                   "</extra-trmsg>\n    </message>";
    QByteArray strayInput = strayText(scriptsGone, contextY);
    strayInput.insert(strayInput.indexOf("</context>\n</TS>"), "    <message>\n        <source>z</source>\n        "
                      "<translation type=\"unfinished\"></translation>\n        <extra-trmsg>script</extra-trmsg>\n"
                      "    </message>\n");
    QByteArray allAdded;
    for (const char *source : {"back", "kept", "unfinished back", "new"})
        allAdded += "\n    <message>\n        <source>" + QByteArray(source) + "</source>\n        <translation "
                    "type=\"unfinished\"></translation>\n        <extra-trmsg>script</extra-trmsg>\n    </message>";
    QTest::newRow("comments and text kept when the messages beside them go") << QStringList() << strayInput
        << strayText(allAdded + "\n    <!-- the installer's -->")
        << QByteArray("    Found 4 source text(s) (4 new and 0 already existing)\n    Removed 3 vanished entries\n");
    // Every call one line up: the file keeps its size, and is written all the same.
    const auto withLocations = [](const QList<QByteArray> &locations) {
        QByteArray ts = "<TS version=\"2.1\" language=\"de\">\n<context>\n    <name>C</name>\n";
        const char *sources[] = {"back", "kept", "unfinished back", "new"};
        for (int i = 0; i < 4; ++i)
            ts += "    <message>\n        " + locations.at(i) + "\n        <source>" + sources[i]
                  + "</source>\n        <translation>T</translation>\n        <extra-trmsg>script</extra-trmsg>\n"
                  "    </message>\n";
        return ts + "</context>\n</TS>\n";
    };
    const auto atLines = [&](const QList<int> &lines) {
        QList<QByteArray> locations;
        for (int line : lines)
            locations.append("<location filename=\"u.sh\" line=\"" + QByteArray::number(line) + "\"/>");
        return withLocations(locations);
    };
    QTest::newRow("-locations relative on a file of absolute ones: all rewritten")
        << QStringList{"-locations", "relative"} << atLines({1, 2, 4, 5})
        << withLocations({"<location filename=\"u.sh\" line=\"+1\"/>", "<location line=\"+1\"/>",
                          "<location line=\"+2\"/>", "<location line=\"+1\"/>"})
        << QByteArray("    Found 4 source text(s) (0 new and 4 already existing)\n");
    const QList<QByteArray> asWritten{"<location line=\"1\" filename=\"u.sh\"/>", "<location filename=\"u.sh\" line=\"2\"></location>",
                                      "<location filename='u.sh' line='4'/>", "<location  filename=\"u.sh\" line=\"5\" />"};
    QTest::newRow("-locations absolute on a file of absolute ones: as written")
        << QStringList{"-locations", "absolute"} << withLocations(asWritten) << withLocations(asWritten)
        << QByteArray("    Found 4 source text(s) (0 new and 4 already existing)\n");
    QTest::newRow("every call moved by a line: the same size, rewritten") << QStringList() << atLines({2, 3, 5, 6})
        << atLines({1, 2, 4, 5}) << QByteArray("    Found 4 source text(s) (0 new and 4 already existing)\n");
    // Contexts not sorted, the scripts' further down; an empty one; one whose
    // only message goes, but with an element of its own: all stay in place.
    const auto unsorted = [](const QByteArray &scriptsMessages, const QByteArray &gone) {
        return "<TS version=\"2.1\" language=\"de\">\n<context>\n    <name>Z</name>\n    <message>\n        <location "
               "filename=\"z.cpp\" line=\"3\"/>\n        <source>z</source>\n        <translation>Z</translation>\n"
               "    </message>\n</context>\n<context>\n    <name>C</name>" + scriptsMessages + "\n</context>\n"
               "<context>\n    <name>E</name>\n</context>\n<context>\n    <name>G</name>\n    <extra-ctx>kept</extra-ctx>"
               + gone + "\n</context>\n</TS>\n";
    };
    const auto scriptsMessage = [](const char *source, int line, const char *translation) {
        return "\n    <message>\n        <location filename=\"u.sh\" line=\"" + QByteArray::number(line)
               + "\"/>\n        <source>" + source + "</source>\n        <translation" + translation
               + "</translation>\n        <extra-trmsg>script</extra-trmsg>\n    </message>";
    };
    const QByteArray foundBefore = scriptsMessage("back", 1, ">zur\xc3\xbc" "ck") + scriptsMessage("kept", 2, ">behalten")
                                   + scriptsMessage("unfinished back", 4, " type=\"unfinished\">halb");
    QTest::newRow("contexts unsorted, an empty one, one with an element of its own")
        << QStringList() << unsorted(foundBefore, scriptsMessage("gone", 9, " type=\"unfinished\">"))
        << unsorted(foundBefore + scriptsMessage("new", 5, " type=\"unfinished\">"), QByteArray())
        << QByteArray("    Found 4 source text(s) (1 new and 3 already existing)\n    Removed 1 vanished entries\n");
    // The mark in a later context still tells a marked file: an unmarked
    // message found only in a script is not the scripts' own, and loses just
    // that location, as a message another source uses loses a .bash script's.
    const auto markedLater = [&](const QByteArray &legacyLocation, const QByteArray &bashLocation) {
        return "<TS version=\"2.1\" language=\"de\">\n<context>\n    <name>A</name>\n    <message>\n        "
               "<location filename=\"a.cpp\" line=\"1\"/>" + bashLocation + "\n        <source>a</source>\n"
               "        <translation>A</translation>\n    </message>\n    <message>" + legacyLocation
               + "\n        <source>legacy</source>\n        <translation>L</translation>\n    </message>\n</context>\n"
               + withLocations(asWritten).mid(33);
    };
    QTest::newRow("a mark in a later context; a .bash script not among the run's")
        << QStringList()
        << markedLater("\n        <location filename=\"old.sh\" line=\"3\"/>",
                       "\n        <location filename=\"tool.bash\" line=\"8\"/>")
        << markedLater(QByteArray(), QByteArray())
        << QByteArray("    Found 4 source text(s) (0 new and 4 already existing)\n");
    QByteArray opened = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\" language=\"de\">"
                        "\n<context>\n    <name>C</name>";
    const QList<QPair<const char *, int>> newAt{{"back", 1}, {"kept", 2}, {"unfinished back", 4}, {"new", 5}};
    for (const auto &[source, line] : newAt)
        opened += scriptsMessage(source, line, " type=\"unfinished\">");
    QTest::newRow("an empty <TS/> opened for the scripts' context")
        << QStringList() << QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\" "
                                       "language=\"de\"/>\n")
        << opened + "\n</context>\n</TS>\n" << QByteArray("    Found 4 source text(s) (4 new and 0 already existing)\n");
    QList<QByteArray> sharedLocations = asWritten;
    sharedLocations[0] = "<location filename=\"main.cpp\" line=\"7\"/>";
    QByteArray sharedMarked = withLocations(sharedLocations);
    sharedMarked.replace("<message>\n        <location filename=\"main.cpp\" line=\"7\"/>",
                         "<message>\n        <extra-trmsg>script</extra-trmsg>\n        <location filename=\"main.cpp\" line=\"7\"/>");
    sharedMarked.replace("<translation>T</translation>\n        <extra-trmsg>script</extra-trmsg>\n    </message>\n    "
                         "<message>\n        <location filename=\"u.sh\" line=\"2\">",
                         "<translation>T</translation>\n    </message>\n    <message>\n        <location filename=\"u.sh\" line=\"2\">");
    QByteArray sharedUnmarked = withLocations(sharedLocations);
    sharedUnmarked.replace("<location filename=\"main.cpp\" line=\"7\"/>\n        <source>back</source>\n        "
                           "<translation>T</translation>\n        <extra-trmsg>script</extra-trmsg>",
                           "<location filename=\"main.cpp\" line=\"7\"/>\n        <location filename=\"u.sh\" "
                           "line=\"1\"/>\n        <source>back</source>\n        <translation>T</translation>");
    QTest::newRow("a marked message another source uses loses the mark, first or last")
        << QStringList() << sharedMarked << sharedUnmarked
        << QByteArray("    Found 4 source text(s) (0 new and 4 already existing)\n");
    // Relative locations written anew: a first location without a file name
    // is in the previous message's first file, not its last.
    QByteArray sharedAbsolute = withLocations({"<location filename=\"a.cpp\" line=\"3\"/>\n        <location "
                                               "filename=\"u.sh\" line=\"1\"/>", "<location filename=\"a.cpp\" line="
                                               "\"5\"/>\n        <location filename=\"u.sh\" line=\"2\"/>",
                                               asWritten.at(2), asWritten.at(3)});
    QByteArray sharedRelative = withLocations({"<location filename=\"a.cpp\" line=\"+3\"/>\n        <location "
                                               "filename=\"u.sh\" line=\"+1\"/>", "<location line=\"+2\"/>\n        "
                                               "<location filename=\"u.sh\" line=\"+1\"/>",
                                               "<location filename=\"u.sh\" line=\"+2\"/>", "<location line=\"+1\"/>"});
    for (QByteArray *ts : {&sharedAbsolute, &sharedRelative}) { // the two shared messages are not the scripts' own
        for (const char *source : {"back", "kept"})
            ts->replace(QByteArray("<source>") + source + "</source>\n        <translation>T</translation>\n        "
                        "<extra-trmsg>script</extra-trmsg>",
                        QByteArray("<source>") + source + "</source>\n        <translation>T</translation>");
    }
    QTest::newRow("-locations relative: a message's first location from the previous message's first file")
        << QStringList{"-locations", "relative"} << sharedAbsolute << sharedRelative
        << QByteArray("    Found 4 source text(s) (0 new and 4 already existing)\n");
    // A message gone from between two: the next one's locations no longer
    // read as they did, and are written anew.
    const QByteArray relativeHead = "<TS version=\"2.1\" language=\"de\">\n<context>\n    <name>C</name>\n    <message>\n"
                                    "        <location filename=\"a.cpp\" line=\"+20\"/>\n        <source>cpp</source>\n"
                                    "        <translation>C</translation>\n    </message>";
    const QByteArray keptAt = "\n    <message>\n        %1\n        <source>kept</source>\n        <translation>T"
                              "</translation>\n        <extra-trmsg>script</extra-trmsg>\n    </message>";
    QByteArray relativeAfter = relativeHead + QByteArray(keptAt).replace("%1", "<location filename=\"u.sh\" line=\"+2\"/>");
    const QList<QPair<const char *, const char *>> relativeNew{
        {"back", "<location line=\"-1\"/>"}, {"unfinished back", "<location line=\"+3\"/>"}, {"new", "<location line=\"+1\"/>"}};
    for (const auto &[source, location] : relativeNew)
        relativeAfter += "\n    <message>\n        " + QByteArray(location) + "\n        <source>" + source + "</source>\n"
                         "        <translation type=\"unfinished\"></translation>\n        <extra-trmsg>script</extra-trmsg>\n"
                         "    </message>";
    QTest::newRow("relative: a message gone, the next one's locations written anew")
        << QStringList()
        << relativeHead + "\n    <message>\n        <location filename=\"u.sh\" line=\"+9\"/>\n        <source>gone</source>\n"
               "        <translation type=\"unfinished\"></translation>\n        <extra-trmsg>script</extra-trmsg>\n"
               "    </message>" + QByteArray(keptAt).replace("%1", "<location line=\"-7\"/>") + "\n</context>\n</TS>\n"
        << relativeAfter + "\n</context>\n</TS>\n"
        << QByteArray("    Found 4 source text(s) (3 new and 1 already existing)\n    Removed 1 vanished entries\n");
    QTest::newRow("CRLF in a file without a context yet")
        << QStringList() << crlf("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\" "
                                 "language=\"de\">\n</TS>\n")
        << crlf(opened + "\n</context>\n</TS>\n") << QByteArray("    Found 4 source text(s) (4 new and 0 already existing)\n");
    QTest::newRow("-target-language and -source-language, each its own attribute")
        << QStringList{"-target-language", "fr_CA", "-source-language", "en"} << noLocations
        << QByteArray(noLocationsAdded).replace("language=\"de\"", "language=\"fr_CA\" sourcelanguage=\"en\"")
        << noLocationsSummary;
    QTest::newRow("a translation platform's layout") << QStringList() << platform + "  </context>\n</TS>"
        << platform + platformAdded + "  </context>\n</TS>"
        << QByteArray("    Found 4 source text(s) (4 new and 0 already existing)\ntrmsg-lupdate: {T}: none of the "
                      "scripts' 4 messages was in it; if Qt's lupdate dropped them (-no-obsolete), their translations "
                      "are lost: see -previous in trmsg-lupdate(1)\n");
}

void TestLupdate::update()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    QFETCH(QByteArray, summary);
    writeFile(path("u.sh"), "trmsg p C back\ntrmsg p C kept\n\ntrmsg p C 'unfinished back'\ntrmsg p C new\n");
    writeFile(path("u.ts"), input);

    const QByteArray before = readFile(path("u.ts"));
    QFile::remove(path("u-link.ts"));
    QCOMPARE(::link(QFile::encodeName(path("u.ts")).constData(), QFile::encodeName(path("u-link.ts")).constData()),
             0);
    const ProcessResult result = runLupdate(options + QStringList{path("u.sh"), "-ts", path("u.ts")});
    QCOMPARE(result.err, "Updating '" + path("u.ts").toUtf8() + "'...\n" + summary.replace("{T}", path("u.ts").toUtf8()));
    QCOMPARE(result.exitStatus, 0);
    QCOMPARE(readFile(path("u.ts")), expected);
    QCOMPARE(readFile(path("u-link.ts")), before); // replaced, not written over

    // Run again: nothing to change, so the file is not touched.
    const QByteArray identity = fileIdentity(path("u.ts"));
    QCOMPARE(runLupdate(options + QStringList{"-silent", path("u.sh"), "-ts", path("u.ts")}).exitStatus, 0);
    QCOMPARE(fileIdentity(path("u.ts")), identity);
    QCOMPARE(readFile(path("u.ts")), expected);
}

void TestLupdate::badInput_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QByteArray>("ts"); // empty: no .ts file before the run
    QTest::addColumn<QByteArray>("pathVariable");
    // {S}: the script, {T}: the .ts file; {shfmt}: shfmt's own words, which
    // change from one shfmt release to the next, to the end of the line.
    QTest::addColumn<QByteArray>("error"); // {A}: a.ts, given before the .ts file
    QTest::addColumn<int>("fileSizeKiB");   // 0: no limit
    const QByteArray good = "trmsg p C M\n";
    const QByteArray ts = "<?xml version=\"1.0\"?>\n<TS version=\"2.1\">\n</TS>\n";
    QTest::newRow("unterminated quote") << QByteArray("trmsg p C 'M\n") << ts << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {S}:1:11: reached EOF without closing quote{shfmt}") << 0;
    QTest::newRow("binary garbage") << QByteArray("\x7f\x45LF\xff\xfe\x01\x02", 8) << QByteArray() << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {S}:1:5: invalid UTF-8 encoding (a script in another character set needs "
                      "-source-encoding)\n") << 0;
    QTest::newRow("shfmt missing") << good << ts << QByteArray("/nonexistent")
        << QByteArray("trmsg-lupdate: shfmt is not installed (Debian package shfmt: apt-get install shfmt)\n") << 0;
    QTest::newRow("script too big") << QByteArray(8 * 1024 * 1024 + 1, '#') << QByteArray() << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {S}: too big (8388609 bytes; scripts up to 8388608 bytes are read)\n") << 0;
    QTest::newRow(".ts not well-formed") << good << QByteArray("<TS version=\"2.1\"><context>\n") << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:2: not a valid translation source: Premature end of document.\n") << 0;
    QTest::newRow(".ts another root") << good << QByteArray("<html/>") << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:1: not a valid translation source: the root element is <html>, not <TS>\n") << 0;
    QTest::newRow(".ts external entity") << good
        << QByteArray("<!DOCTYPE TS [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n<TS><context><name>&x;</name></context></TS>")
        << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:1: not a valid translation source: the document type declares entities, "
                      "which are not read\n") << 0;
    QTest::newRow(".ts undeclared entity") << good << QByteArray("<TS><context><name>&x;</name></context></TS>")
        << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:1: not a valid translation source: Entity 'x' not declared.\n") << 0;
    QTest::newRow(".ts location before the first line") << good
        << QByteArray("<TS><context><name>C</name><message><location filename=\"a.cpp\" line=\"+4\"/>\n"
                      "<location filename=\"a.cpp\" line=\"-5\"/><source>M</source></message></context></TS>")
        << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:2: not a valid translation source: a <location> at line -1, which no file "
                      "has\n") << 0;
    QTest::newRow(".ts location past the largest line") << good
        << QByteArray("<TS><context><name>C</name><message><location filename=\"a.cpp\" line=\"+2147483647\"/>"
                      "<location line=\"+1\"/><source>M</source></message></context></TS>")
        << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:1: not a valid translation source: a <location> at line 2147483648, which "
                      "no file has\n") << 0;
    QTest::newRow(".ts message without source") << good << QByteArray("<TS><context><name>C</name><message/></context></TS>")
        << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:1: not a valid translation source: a <message> without <source>\n") << 0;
    const auto repeated = [](const char *element) {
        return "trmsg-lupdate: {T}:" + QByteArray(element) + " that differs from the one before it; Qt's tools read "
               "only the last, so the first would be lost: keep one\n";
    };
    QTest::newRow(".ts two translations that differ") << good
        << QByteArray("<TS version=\"2.1\">\n<context>\n<name>C</name>\n<message>\n<source>M</source>\n"
                      "<translation>un</translation>\n\n<translation>deux</translation>\n</message>\n</context>\n</TS>\n")
        << QByteArray("/usr/bin") << repeated("8: a second <translation>") << 0;
    QTest::newRow(".ts two sources that differ") << good
        << QByteArray("<TS><context><name>C</name><message><source>M</source><source>N</source></message></context></TS>")
        << QByteArray("/usr/bin") << repeated("1: a second <source>") << 0;
    QTest::newRow(".ts a comment, then an empty one") << good
        << QByteArray("<TS><context><name>C</name><message><source>M</source><comment>a</comment><comment/>"
                      "</message></context></TS>")
        << QByteArray("/usr/bin") << repeated("1: a second <comment>") << 0;
    QTest::newRow(".ts two extra comments that differ") << good
        << QByteArray("<TS><context><name>C</name><message><source>M</source><extracomment>a</extracomment>\n"
                      "<extracomment>b</extracomment></message></context></TS>")
        << QByteArray("/usr/bin") << repeated("2: a second <extracomment>") << 0;
    QTest::newRow(".ts a context with two names") << good
        << QByteArray("<TS><context><name>C</name>\n<name>D</name><message><source>M</source></message></context></TS>")
        << QByteArray("/usr/bin") << repeated("2: a second <name>") << 0;
    QTest::newRow(".ts with an element after </TS>") << good << QByteArray("<TS version=\"2.1\">\n</TS>\n<TS/>\n")
        << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:3: not a valid translation source: Extra content at end of document.\n") << 0;
    QTest::newRow(".ts not UTF-8") << good << QByteArray("<TS>\n<context>\xe9</context></TS>") << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:2: not valid UTF-8; .ts files are read in UTF-8, as Qt's tools write them\n")
        << 0;
    QTest::newRow(".ts ending in a cut UTF-8 sequence") << good << QByteArray("<TS version=\"2.1\">\n</TS>\n\xf3")
        << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:3: not valid UTF-8; .ts files are read in UTF-8, as Qt's tools write them\n")
        << 0;
    QTest::newRow(".ts with two byte order marks") << good << QByteArray("\xef\xbb\xbf\xef\xbb\xbf<TS version=\"2.1\"/>\n")
        << QByteArray("/usr/bin") << QByteArray("trmsg-lupdate: {T}:1: a second byte order mark\n") << 0;
    QTest::newRow(".ts declaring another encoding") << good
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<TS/>") << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:1: not a valid translation source: the file declares the encoding "
                      "ISO-8859-1; .ts files are read in UTF-8, as Qt's tools write them\n") << 0;
    QTest::newRow(".ts elements nested 33 deep") << good << "<TS>\n" + QByteArray("<x>").repeated(33) + "</x>\n</TS>"
        << QByteArray("/usr/bin")
        << QByteArray("trmsg-lupdate: {T}:2: not a valid translation source: elements nested more than 32 deep\n") << 0;
    QTest::newRow("a write cut short by the file size limit") << "trmsg p C " + QByteArray(2000, 'x') + '\n' << ts
        << QByteArray("/usr/bin") << QByteArray("trmsg-lupdate: {A}: cannot write: File too large\n") << 1;
}

// A clear error, exit status 1, and every .ts file as it was: nothing is
// written before every input is read, and a write that fails leaves the
// old file.
void TestLupdate::badInput()
{
    QFETCH(QByteArray, script);
    QFETCH(QByteArray, ts);
    QFETCH(QByteArray, pathVariable);
    QFETCH(QByteArray, error);
    QFETCH(int, fileSizeKiB);
    writeFile(path("b.sh"), script);
    const QByteArray first = "<TS version=\"2.1\">\n</TS>\n"; // would get the script's message
    writeFile(path("a.ts"), first);
    QFile::remove(path("b.ts"));
    if (!ts.isEmpty())
        writeFile(path("b.ts"), ts);
    const ProcessResult result =
        runLupdate({path("b.sh"), "-ts", path("a.ts"), path("b.ts")}, pathVariable, fileSizeKiB);
    error.replace("{S}", path("b.sh").toUtf8()).replace("{T}", path("b.ts").toUtf8());
    error.replace("{A}", path("a.ts").toUtf8());
    const qsizetype shfmtWords = error.indexOf("{shfmt}");
    if (shfmtWords >= 0) {
        QVERIFY2(result.err.startsWith(error.left(shfmtWords)) && result.err.endsWith('\n')
                     && result.err.count('\n') == 1,
                 result.err.constData());
    } else {
        QCOMPARE(result.err, error);
    }
    QCOMPARE(result.exitStatus, 1);
    QCOMPARE(readFile(path("a.ts")), first);
    QCOMPARE(readFile(path("b.ts")), ts.isEmpty() ? QByteArray("(missing)") : ts);
    QCOMPARE(QDir(dir.path()).entryList({"?.ts.*"}), QStringList()); // no temporary file left
}

void TestLupdate::readAsLconvertReadsIt_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QByteArray>("ts");
    QTest::newRow("two comments, the first empty (found by fuzzing)") << QByteArray("trmsg p '' '' e\n")
        << QByteArray("<TS><context><name></name><message><source></source><comment></comment><comment>e</comment>"
                      "</message></context></TS>");
    QTest::newRow("an empty unfinished translation, then a finished one") << QByteArray("trmsg p C M\n")
        << QByteArray("<TS><context><name>C</name><message><source>M</source><translation type=\"unfinished\"/>"
                      "<translation>fait</translation></message></context></TS>");
    QTest::newRow("extra comments and context names repeated alike") << QByteArray("trmsg p C M\n")
        << QByteArray("<TS><context><name>C</name><name>C</name><message><source>M</source><extracomment>x"
                      "</extracomment><extra-po-flags/><extracomment>x</extracomment><extra-po-flags>f</extra-po-flags>"
                      "<translation>T</translation></message></context></TS>");
    QTest::newRow("sourcelanguage kept without -source-language") << QByteArray("trmsg p C M\n")
        << QByteArray("<TS version=\"2.1\" sourcelanguage=\"de\"><context><name>C</name><message><source>M</source>"
                      "<translation>T</translation></message></context></TS>");
    QTest::newRow("namespace declarations and prefixes") << QByteArray("trmsg p C M c\n")
        << QByteArray("<TS xmlns:a=\"u\"><context><name>C</name><message a:b=\"1\"><source>M</source><a:comment>c"
                      "</a:comment><translation>T"
                      "</translation><extra-q xmlns=\"z\">q</extra-q></message></context></TS>");
}

// The file is read as lconvert reads it (of repeated elements, the last,
// when the earlier one is empty or the same), and written so that a second
// run changes nothing.
void TestLupdate::readAsLconvertReadsIt()
{
    QFETCH(QByteArray, script);
    QFETCH(QByteArray, ts);
    writeFile(path("r.sh"), script);
    writeFile(path("r.ts"), ts);
    const QStringList arguments{"-silent", "-locations", "none", path("r.sh"), "-ts", path("r.ts")};
    const ProcessResult first = runLupdate(arguments);
    QCOMPARE(first.err, QByteArray());
    QCOMPARE(first.exitStatus, 0);
    const QByteArray written = readFile(path("r.ts"));
    const QByteArray identity = fileIdentity(path("r.ts"));
    QCOMPARE(runLupdate(arguments).exitStatus, 0);
    QCOMPARE(readFile(path("r.ts")), written);
    QCOMPARE(fileIdentity(path("r.ts")), identity);
    writeFile(path("r-before.ts"), ts);
    for (const QString &name : {QStringLiteral("r-before.ts"), QStringLiteral("r.ts")})
        QCOMPARE(runTool(lconvertBinary(), {"-i", path(name), "-o", path(name + ".re")}).exitStatus, 0);
    QCOMPARE(readFile(path("r.ts.re")), readFile(path("r-before.ts.re")));
}

void TestLupdate::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // {D}: the scratch directory
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QByteArray>("error"); // the first line
    QTest::addColumn<QByteArray>("out");   // the first line
    QTest::newRow("an option ends the -ts list") << QStringList{"-ts", "{D}/c.ts", "-silent", "{D}/c.sh"} << 0
        << QByteArray() << QByteArray();
    QTest::newRow("unknown option") << QStringList{"-frob", "{D}/c.sh", "-ts", "{D}/c.ts"} << 2
        << QByteArray("trmsg-lupdate: unknown option -frob") << QByteArray();
    QTest::newRow("an option without its value") << QStringList{"{D}/c.sh", "-ts", "{D}/c.ts", "-prefix"} << 2
        << QByteArray("trmsg-lupdate: -prefix needs a value") << QByteArray();
    QTest::newRow("a lone dash names a script") << QStringList{"-", "-ts", "{D}/c.ts"} << 1
        << QByteArray("trmsg-lupdate: -: cannot read: No such file or directory") << QByteArray();
    QTest::newRow("no .ts file") << QStringList{"{D}/c.sh", "-ts"} << 2 << QByteArray("trmsg-lupdate: no -ts file given")
        << QByteArray();
    // Asked for, the usage goes to standard output, and needs no script.
    QTest::newRow("-help alone") << QStringList{"-help"} << 0 << QByteArray()
        << QByteArray("Usage: trmsg-lupdate [options] SCRIPT|DIRECTORY... -ts FILE.ts...");
    QTest::newRow("a -keyword that is not NAME:CONTEXT,MESSAGE") << QStringList{"-keyword", "say:1", "{D}/c.sh", "-ts", "{D}/c.ts"}
        << 1 << QByteArray("trmsg-lupdate: -keyword say:1: expected NAME:CONTEXT,MESSAGE[,COMMENT] with distinct operand "
                           "positions from 1") << QByteArray();
    QDir(QDir::tempPath()).mkpath(QStringLiteral("trmsg-lupdate-previous"));
    writeFile(QDir::tempPath() + QStringLiteral("/trmsg-lupdate-previous/c.ts"), "<html/>");
    QTest::newRow("a -previous copy that is not a translation source")
        << QStringList{"-previous", "{T}/trmsg-lupdate-previous", "{D}/c.sh", "-ts", "{D}/c.ts"} << 1
        << "trmsg-lupdate: " + QDir::tempPath().toUtf8() + "/trmsg-lupdate-previous/c.ts:1: not a valid translation "
           "source: the root element is <html>, not <TS>" << QByteArray();
    QTest::newRow("-version alone") << QStringList{"-version"} << 0 << QByteArray()
        << QByteArray("trmsg-lupdate " TRMSG_VERSION);
    QDir(QDir::tempPath()).mkpath(QStringLiteral("trmsg-lupdate-no-script/sub"));
    writeFile(QDir::tempPath() + QStringLiteral("/trmsg-lupdate-no-script/sub/notes.txt"), "trmsg p C M\n");
    QTest::newRow("a directory without a shell script") << QStringList{"{T}/trmsg-lupdate-no-script", "-ts", "{D}/c.ts"} << 1
        << "trmsg-lupdate: " + QDir::tempPath().toUtf8() + "/trmsg-lupdate-no-script: no shell script in this directory"
        << QByteArray();
    QTest::newRow("a directory without a shell script after a script")
        << QStringList{"{D}/c.sh", "{T}/trmsg-lupdate-no-script", "-ts", "{D}/c.ts"} << 1
        << "trmsg-lupdate: " + QDir::tempPath().toUtf8() + "/trmsg-lupdate-no-script: no shell script in this directory"
        << QByteArray();
}

// A bad command line: its error, the usage, exit status 2, no file made;
// the usage asked for: on standard output, no file made either.
void TestLupdate::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitStatus);
    QFETCH(QByteArray, error);
    QFETCH(QByteArray, out);
    writeFile(path("c.sh"), "trmsg p C M\n");
    QFile::remove(path("c.ts"));
    const ProcessResult result =
        runLupdate(arguments.replaceInStrings("{D}", dir.path()).replaceInStrings("{T}", QDir::tempPath()));
    QCOMPARE(result.err.left(result.err.indexOf('\n')), error);
    QCOMPARE(result.err.contains("\nUsage: trmsg-lupdate"), exitStatus == 2);
    QCOMPARE(result.out.left(result.out.indexOf('\n')), out);
    QCOMPARE(result.exitStatus, exitStatus);
    QCOMPARE(readFile(path("c.ts")) == "(missing)", exitStatus != 0 || !out.isEmpty());
}

// Script, trmsg-lupdate, translations, lrelease, and trmsg running the
// script in a UTF-8 and a Latin-1 locale.
void TestLupdate::roundTrip()
{
    writeFile(path("rt.sh"), R"sh(#!/bin/bash
say() { trmsg rt Installer "$@"; }
echo "$(trmsg rt Installer 'Welcome to %1' '' Zeza)"
msg=$(trmsg rt Installer "Copying \"%1\"" '' a.txt); echo "$msg"
say Done; echo
trmsg rt Installer $'First line\x19second line'; echo
echo "$(trmsg rt Installer Open verb) `trmsg rt Installer Open adjective`"
trmsg rt Installer "$dynamic"; echo
)sh");
    QDir(path("inst/lib/locale")).mkpath(QStringLiteral("."));
    const QString ts = path("inst/rt_fr.ts");
    ProcessResult lupdate = runLupdate({"-silent", path("rt.sh"), "-ts", ts});
    QCOMPARE(lupdate.err, path("rt.sh").toUtf8() + ":8: the message is not literal (a variable); not extracted\n");
    writeFile(ts, withTranslations(readFile(ts), {{"Welcome to %1", QStringLiteral("Bienvenue dans %1")},
                                                  {"Copying &quot;%1&quot;", QStringLiteral("Copie de « %1 »")},
                                                  {"Done", QStringLiteral("Terminé")},
                                                  {"First line\nsecond line", QStringLiteral("Première ligne\ndeuxième")},
                                                  {"Open", QStringLiteral("Ouvrir")},
                                                  {"Open", QStringLiteral("Ouvert")}}));
    const QByteArray translated = readFile(ts);
    QVERIFY(!translated.contains("unfinished"));
    const ProcessResult lrelease = runTool(lreleaseBinary(), {"-silent", ts, "-qm", path("inst/lib/locale/rt_fr.qm")});
    QCOMPARE(lrelease.exitStatus, 0);

    QFile::link(QString::fromUtf8(trmsgBinary()), path("trmsg"));
    const QByteArray expected = QStringLiteral("Bienvenue dans Zeza\nCopie de « a.txt »\nTerminé\nPremière ligne\n"
                                               "deuxième\nOuvrir Ouvert\nnot a key\n").toUtf8();
    for (const QByteArray &locale : {QByteArray("fr_FR.UTF-8"), QByteArray("fr_FR.ISO-8859-1")}) {
        const ProcessResult run = runProgram(bashBinary(), {"bash", path("rt.sh").toUtf8()},
                                             localeEnvironment(locale, path("inst").toUtf8())
                                                 + QList<QByteArray>{"PATH=" + dir.path().toUtf8() + ":/usr/bin:/bin",
                                                                     "dynamic=not a key"});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.out, locale.endsWith("UTF-8") ? expected : iconvFromUtf8(expected, "ISO-8859-1"));
    }

    // Running again on the translated file changes nothing, and lconvert reads it.
    lupdate = runLupdate({path("rt.sh"), "-ts", ts});
    QVERIFY(lupdate.err.endsWith("Found 6 source text(s) (0 new and 6 already existing)\n"));
    QCOMPARE(readFile(ts), translated);
    const ProcessResult lconvert = runTool(lconvertBinary(), {"-i", ts, "-o", path("rt_re.ts")});
    QCOMPARE(lconvert.err, QByteArray());
    QCOMPARE(readFile(path("rt_re.ts")), translated);
}

// The lines of the context named name, found by independent means.
static QByteArray contextLines(const QByteArray &ts, const QByteArray &name)
{
    const qsizetype at = ts.indexOf("<name>" + name + "</name>");
    if (at < 0)
        return QByteArray();
    const qsizetype start = ts.lastIndexOf('\n', ts.lastIndexOf("<context>", at)) + 1;
    const qsizetype end = ts.indexOf('\n', ts.indexOf("</context>", at)) + 1;
    return ts.mid(start, end - start);
}

static QByteArray withoutContext(QByteArray ts, const QByteArray &name)
{
    const QByteArray lines = contextLines(ts, name);
    return lines.isEmpty() ? ts : ts.remove(ts.indexOf(lines), lines.size());
}

// Window's C++ messages in every state Qt's lupdate gives them, and an
// installer's messages, one of them shared with the C++, in one catalogue
// that Qt's lupdate and trmsg-lupdate both keep.
void TestLupdate::sharedWithQtLupdate()
{
    const QByteArray cpp = "#include <QCoreApplication>\nstruct Window { Q_DECLARE_TR_FUNCTIONS(Window) void f(); };\n"
                           "void Window::f() {\n  tr(\"&File\");\n  //: The Edit menu\n  //~ note kept\n  tr(\"&Edit\");\n"
                           "  tr(\"Open\", \"verb\");\n  tr(\"%n file(s)\", nullptr, 2);\n  tr(\"Untranslated\");\n";
    writeFile(path("main.cpp"), cpp + "  tr(\"Gone\");\n  tr(\"Half gone\");\n}\n");
    const QString ts = path("app_fr.ts");
    QFile::remove(ts);
    const QStringList qtLupdate{"-silent", path("main.cpp"), "-ts", ts};
    QCOMPARE(runTool(QT_LUPDATE_BINARY, qtLupdate).exitStatus, 0);
    QByteArray translated = withTranslations(readFile(ts), {{"&amp;File", "&amp;Fichier"}, {"&amp;Edit", "&amp;Édition"},
                                                            {"Open", "Ouvrir"}, {"Gone", "Parti"}});
    translated.replace("<source>Half gone</source>\n        <translation type=\"unfinished\"></translation>",
                       "<source>Half gone</source>\n        <translation type=\"unfinished\">À moitié</translation>")
        .replace("<numerusform></numerusform>\n            <numerusform></numerusform>",
                 "<numerusform>%n fichier</numerusform>\n            <numerusform>%n fichiers</numerusform>");
    writeFile(ts, translated);
    writeFile(path("main.cpp"), cpp + "}\n"); // Gone vanishes, Half gone goes obsolete
    QCOMPARE(runTool(QT_LUPDATE_BINARY, qtLupdate).exitStatus, 0);
    const QByteArray cppOnly = readFile(ts);
    QVERIFY(cppOnly.contains("type=\"vanished\">Parti<") && cppOnly.contains("type=\"obsolete\">À moitié<"));
    QVERIFY(cppOnly.contains("fichiers") && cppOnly.contains("<extracomment>") && cppOnly.contains("<extra-note>"));

    // The installer's scripts, named by their directory.
    QDir(path("installer/sub")).mkpath(QStringLiteral("."));
    writeFile(path("installer/install.sh"), "trmsg app Installer 'Installing %1' '' \"$1\"\ntrmsg app Window Open verb\n");
    writeFile(path("installer/sub/post"), "#!/bin/sh\ntrmsg app Installer Done\ntrmsg app Installer 'Not yet'\n");
    writeFile(path("installer/sub/notes.txt"), "trmsg app Installer 'Not a script'\n");
    const QStringList trmsgLupdate{"-silent", path("installer"), "-ts", ts};
    QCOMPARE(runLupdate(trmsgLupdate).err, QByteArray());
    QByteArray withScripts = readFile(ts);
    QCOMPARE(messagesOf(withScripts).filter("Installer|"), (QStringList{"Installer|Installing %1|", "Installer|Done|", "Installer|Not yet|"}));
    const QByteArray sharedLocation = "        <location filename=\"installer/install.sh\" line=\"2\"/>\n"
                                      "        <source>Open</source>";
    QVERIFY(withScripts.contains(sharedLocation)); // beside the C++ location, translated as before
    QByteArray cppPart = withoutContext(withScripts, "Installer");
    cppPart.replace(sharedLocation, "        <source>Open</source>");
    QCOMPARE(cppPart, cppOnly); // every C++ message as it stood, where it stood
    // Named relatively, from the .ts file's directory or from the scripts', they are the same scripts.
    for (const char *from : {".", "installer"}) {
        const QList<QByteArray> arguments{"bash", "-c", "cd \"$0\" && exec \"$1\" -silent \"$2\" -ts \"$3\"",
                                          path(from).toUtf8(), LUPDATE_BINARY,
                                          from == QByteArray(".") ? "installer" : ".",
                                          from == QByteArray(".") ? "app_fr.ts" : "../app_fr.ts"};
        QCOMPARE(runProgram(bashBinary(), arguments, {"PATH=/usr/bin:/bin", "LANG=C.UTF-8"}).err, QByteArray());
        QCOMPARE(readFile(ts), withScripts);
    }

    withScripts = withTranslations(withScripts, {{"Installing %1", "Installation de %1"}, {"Done", "Terminé"}});
    writeFile(ts, withScripts);
    for (int pair = 0; pair < 2; ++pair) {
        QCOMPARE(runTool(QT_LUPDATE_BINARY, qtLupdate).exitStatus, 0);
        QVERIFY(readFile(ts).contains("type=\"vanished\">Terminé<"));
        QCOMPARE(runLupdate(trmsgLupdate).exitStatus, 0);
        QCOMPARE(readFile(ts), withScripts); // back, finished, byte for byte
    }

    // What Qt's lupdate drops, an untranslated message and with -no-obsolete
    // all the scripts', comes back as it was from a copy made before it ran.
    withScripts.replace("<source>Not yet</source>\n", "<source>Not yet</source>\n        <translatorcomment>Wording "
                                                       "to come</translatorcomment>\n");
    writeFile(ts, withScripts);
    QVERIFY(QDir().mkpath(path("previous")));
    // With -no-obsolete, Qt's lupdate drops the C++ messages no longer found, as asked.
    const QByteArray cppGone = "    <message>\n        <source>Gone</source>\n        <translation type=\"vanished\">"
                               "Parti</translation>\n    </message>\n    <message>\n        <source>Half gone</source>\n"
                               "        <translation type=\"obsolete\">\xc3\x80 moiti\xc3\xa9</translation>\n    </message>\n";
    QVERIFY(withScripts.contains(cppGone));
    for (const QStringList &options : {QStringList(), QStringList{"-no-obsolete"}}) {
        QFile::remove(path("previous/app_fr.ts"));
        QVERIFY(QFile::copy(ts, path("previous/app_fr.ts")));
        QCOMPARE(runTool(QT_LUPDATE_BINARY, options + qtLupdate).exitStatus, 0);
        QVERIFY(!readFile(ts).contains("Wording to come"));
        QCOMPARE(runLupdate(QStringList{"-previous", path("previous")} + trmsgLupdate).err, QByteArray());
        QCOMPARE(readFile(ts), options.isEmpty() ? withScripts : QByteArray(withScripts).replace(cppGone, ""));
    }

    QDir(path("app/lib/locale")).mkpath(QStringLiteral("."));
    QCOMPARE(runTool(lreleaseBinary(), {"-silent", ts, "-qm", path("app/lib/locale/app_fr.qm")}).exitStatus, 0);
    const QList<QByteArray> environment = localeEnvironment("fr_FR.UTF-8", path("app").toUtf8());
    QCOMPARE(runProgram(trmsgBinary(), {"trmsg", "app", "Window", "&File"}, environment).out, QByteArray("&Fichier"));
    QCOMPARE(runProgram(trmsgBinary(), {"trmsg", "app", "Installer", "Installing %1", "", "Zeza"}, environment).out,
             QByteArray("Installation de Zeza"));
}

// Qt's German catalogue turned back into a .ts by lconvert: no locations.
// Only what the script uses changes.
void TestLupdate::lconvertedRealCatalogue()
{
    const QString qm = QStringLiteral(TRMSG_REAL_CATALOGUES "/usr/share/qt6/translations/qtbase_de.qm");
    if (!QFile::exists(qm))
        QSKIP("no real catalogues: scripts/fetch-real-catalogues makes them");
    const QString ts = path("qtbase_de.ts");
    QCOMPARE(runTool(lconvertBinary(), {"-i", qm, "-o", ts}).exitStatus, 0);
    const QByteArray before = readFile(ts);
    writeFile(path("q.sh"), "trmsg qtbase QFileDialog 'Back'\ntrmsg qtbase Installer Welcome\n");
    QVERIFY(before.contains("<source>Back</source>\n        <translation>Zurück</translation>"));
    const ProcessResult result = runLupdate({path("q.sh"), "-ts", ts});
    QVERIFY2(result.err.endsWith("Found 2 source text(s) (1 new and 1 already existing)\n"), result.err);
    QByteArray after = withoutContext(readFile(ts), "Installer");
    after.replace("        <location filename=\"q.sh\" line=\"1\"/>\n        <source>Back</source>",
                  "        <source>Back</source>");
    QCOMPARE(after, before);
}

// Real products' catalogues as their repositories hold them, in Qt's layout
// or a translation platform's: an installer script's messages are added in
// the file's layout, and every other byte stays.
void TestLupdate::realProductCatalogue_data()
{
    QTest::addColumn<QString>("ts");      // in tests/lupdate/real-products
    QTest::addColumn<QString>("sources"); // Qt's lupdate runs on them first, and again between two runs
    QTest::addColumn<QByteArray>("installer");
    const QByteArray qtLayout = "<context>\n    <name>Installer</name>\n    <message>\n        <location "
                                "filename=\"{L}\" line=\"2\"/>\n        <source>Installing %1</source>\n"
                                "        <translation type=\"unfinished\"></translation>\n"
                                "        <extra-trmsg>script</extra-trmsg>\n    </message>\n    <message>\n"
                                "        <location filename=\"{L}\" line=\"3\"/>\n        <source>Don&apos;t "
                                "&quot;quote&quot;&#xa0;me</source>\n        <translation type=\"unfinished\">"
                                "</translation>\n        <extra-trmsg>script</extra-trmsg>\n    </message>\n"
                                "</context>\n";
    const QByteArray platformLayout = "  <context>\n    <name>Installer</name>\n    <message>\n      <location "
                                      "filename=\"{L}\" line=\"2\"/>\n      <source>Installing %1</source>\n"
                                      "      <translation type=\"unfinished\"/>\n      <extra-trmsg>script"
                                      "</extra-trmsg>\n    </message>\n    <message>\n      <location filename="
                                      "\"{L}\" line=\"3\"/>\n      <source>Don't \"quote\"&#xa0;me</source>\n"
                                      "      <translation type=\"unfinished\"/>\n      <extra-trmsg>script"
                                      "</extra-trmsg>\n    </message>\n  </context>\n";
    QTest::newRow("lximage-qt French, kept by Qt's lupdate too")
        << "lximage-qt/src/translations/lximage-qt_fr.ts" << "lximage-qt/src" << qtLayout;
    QTest::newRow("lximage-qt German") << "lximage-qt/src/translations/lximage-qt_de.ts" << "lximage-qt/src" << qtLayout;
    for (const char *language : {"fr", "de", "ja"}) {
        QTest::addRow("qBittorrent %s, references and thousands of locations", language)
            << QStringLiteral("qbittorrent/qbittorrent_%1.ts").arg(language) << QString() << qtLayout;
    }
    for (const char *language : {"fr", "cs_CZ"}) {
        QTest::addRow("Calamares %s, a translation platform's layout", language)
            << QStringLiteral("calamares/calamares_%1.ts").arg(language) << QString() << platformLayout;
    }
}

void TestLupdate::realProductCatalogue()
{
    QFETCH(QString, ts);
    QFETCH(QString, sources);
    QFETCH(QByteArray, installer);
    QDir(path("real")).removeRecursively();
    QVERIFY(QDir().mkpath(path("real")));
    const QString product = ts.section(u'/', 0, 0);
    QCOMPARE(runTool("/bin/cp", {"-R", TRMSG_SOURCE_DIR "/tests/lupdate/real-products/" + product, path("real")})
                 .exitStatus, 0);
    const QString file = path("real/" + ts);
    const QByteArray stored = readFile(file);
    const QString script = path("real/install.sh");
    writeFile(script, "#!/bin/bash\ntrmsg app Installer 'Installing %1' '' \"$1\"\n"
                      "trmsg app Installer $'Don\\'t \"quote\"\\u00a0me'\n");
    const QStringList qtLupdate{"-silent", path("real/" + sources), "-ts", file};
    if (!sources.isEmpty()) {
        QCOMPARE(runTool(QT_LUPDATE_BINARY, qtLupdate).exitStatus, 0);
        QCOMPARE(readFile(file), stored); // as the product keeps it
    }

    const QStringList trmsgLupdate{"-silent", script, "-ts", file};
    QCOMPARE(runLupdate(trmsgLupdate).exitStatus, 0);
    const QByteArray updated = readFile(file);
    installer.replace("{L}", QDir(QFileInfo(file).path()).relativeFilePath(script).toUtf8());
    QCOMPARE(contextLines(updated, "Installer"), installer);
    QCOMPARE(withoutContext(updated, "Installer"), stored);
    if (installer.startsWith("<context>")) { // Qt's layout, as lconvert writes it
        QCOMPARE(runTool(lconvertBinary(), {"-i", file, "-o", path("real/lconverted.ts")}).exitStatus, 0);
        QCOMPARE(readFile(path("real/lconverted.ts")), updated);
    }
    const QByteArray identity = fileIdentity(file);
    QCOMPARE(runLupdate(trmsgLupdate).exitStatus, 0);
    QCOMPARE(fileIdentity(file), identity);
    if (!sources.isEmpty()) { // the pair settles
        QCOMPARE(runTool(QT_LUPDATE_BINARY, qtLupdate).exitStatus, 0);
        QCOMPARE(runLupdate(trmsgLupdate).exitStatus, 0);
        QCOMPARE(readFile(file), updated);
    }
}

QTEST_GUILESS_MAIN(TestLupdate)
#include "tst_lupdate.moc"
