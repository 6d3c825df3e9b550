<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Main</name>
    <message>
        <source>Next →</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Зоя</source>
        <translation>Zoé</translation>
    </message>
</context>
</TS>
