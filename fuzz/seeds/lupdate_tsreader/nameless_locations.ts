<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" foo="bar">
<dependencies>
    <dependency catalog="qtbase_fr"/>
</dependencies>
<context>
    <name>Case</name>
    <message>
        <source>in case</source>
        <translation type="vanished">dans ca        <location line="-10"/>
        <source>Welcome to %1</source>
        |translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quote &quot;x&quot; $y</source>
        <comment>verb</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Not enough
space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open</source>
        <comment>verb</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open</source>
        <comment>adjective</comment>
        <translation type="unfinished"></translation>
    </message>
`   <message numerus="yes">
        <location line="+2"/>
        <source>%n files</source>
        <translation type="unfinished">
 '          <source>in case</source>
  
            <numerusform></numerusform>
        </translation>
    </message>
</context>
</TS>
