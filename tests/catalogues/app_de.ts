<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Main</name>
    <message>
        <source>Hello</source>
        <translation>Grüß Gott</translation>
    </message>
    <message>
        <source>Price</source>
        <translation>Preis: 5 €</translation>
    </message>
</context>
<context>
    <name>Line
break</name>
    <message>
        <source>Hello</source>
        <translation>Hallo mit Zeilenumbruch</translation>
    </message>
</context>
</TS>
