<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Installer</name>
    <message>
        <location filename="scripts/install.sh" line="5"/>
        <source>Installing Zeza into %1</source>
        <translation>Installation de Zeza dans %1</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="scripts/install.sh" line="10"/>
        <source>Cannot write to %1</source>
        <translation>Impossible d’écrire dans %1</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <location filename="main.cpp" line="16"/>
        <source>Zeza is ready.</source>
        <translation>Zeza est prêt.</translation>
    </message>
    <message>
        <location filename="main.cpp" line="19"/>
        <location filename="scripts/install.sh" line="7"/>
        <source>Goodbye</source>
        <extracomment>Shown when the program stops; the installer says it too.</extracomment>
        <translation>Au revoir</translation>
    </message>
</context>
</TS>
