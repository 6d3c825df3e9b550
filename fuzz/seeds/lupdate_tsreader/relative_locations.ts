<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>A</name>
    <message>
        <location filename="a.cpp" line="+10"/>
        <location filename="b.sh" line="+5"/>
        <source>one</source>
        <translation>un</translation>
        <extra-trmsg>script</extra-trmsg>
    </message>
    <message>
        <location line="+2"/>
        <location/>
        <source>two</source>
        <translation>deux</translation>
    </message>
    <message>
        <location filename="b.sh" line="-2"/>
        <location filename="a.cpp" line="3"/>
        <source>three</source>
        <translation type="vanished">trois</translation>
    </message>
</context>
</TS>
