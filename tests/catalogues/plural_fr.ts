<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Files</name>
    <message numerus="yes">
        <source>%n file(s) copied</source>
        <translation>
            <numerusform>%n fichier copié</numerusform>
            <numerusform>%n fichiers copiés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) in %1</source>
        <translation>
            <numerusform>%n fichier dans %1</numerusform>
            <numerusform>%n fichiers dans %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left</source>
        <translation>
            <numerusform></numerusform>
            <numerusform>%n restants</numerusform>
        </translation>
    </message>
</context>
</TS>
