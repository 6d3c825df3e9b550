<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="hy_AM">
<context>
    <name>Main</name>
    <message>
        <source>Hello</source>
        <translation>Barev, café</translation>
    </message>
    <message>
        <source>Price</source>
        <translation>Գին</translation>
    </message>
</context>
</TS>
