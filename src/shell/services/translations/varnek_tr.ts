<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Qt's own texts, where Qt's Turkish catalogue (qtbase_tr.qm) lacks them or words them otherwise
     than a Turkish user knows them. Installed after Qt's, so these win. The title-bar menu of a
     conversion window says what Turkish Windows says in its own title-bar menu. -->
<TS version="2.1" language="tr_TR">
<context>
    <name>QMdiSubWindow</name>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Geri Yükle</translation>
    </message>
    <message>
        <source>&amp;Move</source>
        <translation>&amp;Taşı</translation>
    </message>
    <message>
        <source>&amp;Size</source>
        <translation>&amp;Boyutlandır</translation>
    </message>
    <message>
        <source>Mi&amp;nimize</source>
        <translation>&amp;Simge Durumuna Küçült</translation>
    </message>
    <message>
        <source>Ma&amp;ximize</source>
        <translation>&amp;Ekranı Kapla</translation>
    </message>
    <message>
        <source>Stay on &amp;Top</source>
        <translation>&amp;Üstte Tut</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Kapat</translation>
    </message>
</context>
</TS>
