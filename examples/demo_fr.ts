<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Installer</name>
    <message>
        <location filename="install-demo.sh" line="12"/>
        <source>Welcome to %1</source>
        <translation>Bienvenue dans %1</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="install-demo.sh" line="23"/>
        <source>Installing %1 into %2</source>
        <translation>Installation de %1 dans %2</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="install-demo.sh" line="24"/>
        <source>%1 files copied, %2 skipped</source>
        <translation>%1 fichiers copiés, %2 ignorés</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="install-demo.sh" line="20"/>
        <source>Not enough space on %1.
%2 MB are needed.</source>
        <translation>Pas assez d’espace sur %1.
Il faut %2 Mo.</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="install-demo.sh" line="26"/>
        <source>Open</source>
        <comment>verb</comment>
        <translation>Ouvrir</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location filename="install-demo.sh" line="27"/>
        <source>Open</source>
        <comment>adjective</comment>
        <translation>Ouvert</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message numerus="yes">
        <location filename="install-demo.sh" line="25"/>
        <source>%n shortcut(s) created</source>
        <translation>
            <numerusform>%n raccourci créé</numerusform>
            <numerusform>%n raccourcis créés</numerusform>
        </translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
</context>
<context>
    <name>Uninstaller</name>
    <message>
        <location filename="install-demo.sh" line="14"/>
        <source>Removing %1</source>
        <translation>Suppression de %1</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
</context>
</TS>
