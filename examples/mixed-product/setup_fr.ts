<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Uninstaller</name>
    <message>
        <location filename="scripts/uninstall.sh" line="6"/>
        <source>Removing %1</source>
        <translation>Suppression de %1</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
</context>
</TS>
