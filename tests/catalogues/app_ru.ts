<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Main</name>
    <message>
        <source>Hello</source>
        <translation>Привет</translation>
    </message>
    <message>
        <source>Copy %1 to %2</source>
        <translation>Копирование %1 в %2</translation>
    </message>
</context>
</TS>
