<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ">
<context>
    <name>Files</name>
    <message numerus="yes">
        <source>%n file(s) copied</source>
        <translation>
            <numerusform>%n soubor zkopírován</numerusform>
            <numerusform>%n soubory zkopírovány</numerusform>
            <numerusform>%n souborů zkopírováno</numerusform>
        </translation>
    </message>
</context>
</TS>
