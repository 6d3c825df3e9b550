<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Installer</name>
    <message>
        <location filename="install-demo.sh" line="12"/>
        <source>Welcome to %1</source>
        <translation>Willkommen bei %1</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="install-demo.sh" line="23"/>
        <source>Installing %1 into %2</source>
        <translation>%1 wird nach %2 installiert</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="install-demo.sh" line="24"/>
        <source>%1 files copied, %2 skipped</source>
        <translation>%1 Dateien kopiert, %2 übersprungen</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="install-demo.sh" line="20"/>
        <source>Not enough space on %1.
%2 MB are needed.</source>
        <translation>Nicht genug Platz auf %1.
%2 MB werden benötigt.</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="install-demo.sh" line="26"/>
        <source>Open</source>
        <comment>verb</comment>
        <translation>Öffnen</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="install-demo.sh" line="27"/>
        <source>Open</source>
        <comment>adjective</comment>
        <translation>Offen</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message numerus="yes">
        <location filename="install-demo.sh" line="25"/>
        <source>%n shortcut(s) created</source>
        <translation>
            <numerusform>%n Verknüpfung angelegt</numerusform>
            <numerusform>%n Verknüpfungen angelegt</numerusform>
        </translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
</context>
<context>
    <name>Uninstaller</name>
    <message>
        <location filename="install-demo.sh" line="14"/>
        <source>Removing %1</source>
        <translation>%1 wird entfernt</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
</context>
</TS>
