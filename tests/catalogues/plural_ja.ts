<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Files</name>
    <message numerus="yes">
        <source>%n file(s) copied</source>
        <translation>
            <numerusform>%n個のファイルをコピーしました</numerusform>
        </translation>
    </message>
</context>
</TS>
