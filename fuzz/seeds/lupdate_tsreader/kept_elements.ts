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
        <translation type="vanished">dans case</translation>
        <extra-po-flags>c-format</extra-po-flags>
    </message>
</context>
<context>
    <name>Cond</name>
    <message>
        <source>in if</source>
        <translation type="obsolete">dans if</translation>
    </message>
</context>
<context>
    <name>Ctx</name>
    <message>
        <location filename="s.sh" line="+6"/>
        <source>msg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Other product</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Here</name>
    <message>
        <location line="+2"/>
        <source>in heredoc</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Installer</name>
    <message>
        <location line="-10"/>
        <source>Welcome to %1</source>
        <translation type="unfinished"></translation>
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
    <message numerus="yes">
        <location line="+2"/>
        <source>%n files</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
</TS>
