<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Files</name>
    <message numerus="yes">
        <source>%n file(s) copied</source>
        <translation>
            <numerusform>%n файл скопирован</numerusform>
            <numerusform>%n файла скопировано</numerusform>
            <numerusform>%n файлов скопировано</numerusform>
        </translation>
    </message>
</context>
</TS>
