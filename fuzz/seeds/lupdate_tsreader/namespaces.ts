<TS xmlns:a="u"><context><name>C</name><message a:b="1"><source>M</source><translation>T</translation><extra-q xmlns="z">q</extra-q></message><a:message/></context></TS>
