<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Main</name>
    <message>
        <source>Hello</source>
        <translation>Bonjour</translation>
    </message>
    <message>
        <source>Copy %1 to %2</source>
        <translation>Copie de %1 vers %2</translation>
    </message>
    <message>
        <source>%1 before %2</source>
        <translation>%2 après %1</translation>
    </message>
    <message>
        <source>First line
Second line</source>
        <translation>Première ligne
Deuxième ligne</translation>
    </message>
    <message>
        <source>Open</source>
        <comment>verb</comment>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Open</source>
        <comment>adjective</comment>
        <translation>Ouvert</translation>
    </message>
    <message>
        <source>Coffee</source>
        <translation>Café</translation>
    </message>
    <message>
        <source>Crème brûlée</source>
        <translation>Dessert</translation>
    </message>
    <message>
        <source>Price</source>
        <translation>Prix : 5 €</translation>
    </message>
</context>
<context>
    <name>Café</name>
    <message>
        <source>Hello</source>
        <translation>Salut</translation>
    </message>
</context>
</TS>
