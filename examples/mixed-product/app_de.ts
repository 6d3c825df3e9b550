<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Installer</name>
    <message>
        <location filename="scripts/install.sh" line="5"/>
        <source>Installing Zeza into %1</source>
        <translation>Zeza wird in %1 installiert</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="scripts/install.sh" line="10"/>
        <source>Cannot write to %1</source>
        <translatorcomment>Waiting for the technical writers' wording.</translatorcomment>
        <translation type="unfinished"></translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <location filename="main.cpp" line="16"/>
        <source>Zeza is ready.</source>
        <translation>Zeza ist bereit.</translation>
    </message>
    <message>
        <location filename="main.cpp" line="19"/>
        <location filename="scripts/install.sh" line="7"/>
        <source>Goodbye</source>
        <extracomment>Shown when the program stops; the installer says it too.</extracomment>
        <translation>Auf Wiedersehen</translation>
    </message>
</context>
</TS>
