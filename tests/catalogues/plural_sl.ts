<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sl_SI">
<context>
    <name>Files</name>
    <message numerus="yes">
        <source>%n file(s) copied</source>
        <translation>
            <numerusform>one %n</numerusform>
            <numerusform>two %n</numerusform>
            <numerusform>few %n</numerusform>
            <numerusform>other %n</numerusform>
        </translation>
    </message>
</context>
</TS>
