<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Main</name>
    <message>
        <source>café →</source>
        <translation>кафе</translation>
    </message>
</context>
</TS>
