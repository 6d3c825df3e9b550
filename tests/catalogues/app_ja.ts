<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Main</name>
    <message>
        <source>Hello</source>
        <translation>こんにちは</translation>
    </message>
    <message>
        <source>Copy %1 to %2</source>
        <translation>%1 を %2 にコピー</translation>
    </message>
</context>
</TS>
