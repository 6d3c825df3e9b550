<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>Files</name>
    <message numerus="yes">
        <source>%n file(s) copied</source>
        <translation>
            <numerusform>%n plik skopiowany</numerusform>
            <numerusform>%n pliki skopiowane</numerusform>
            <numerusform>%n plików skopiowanych</numerusform>
        </translation>
    </message>
</context>
</TS>
