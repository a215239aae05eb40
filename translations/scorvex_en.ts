<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CommandLine</name>
    <message>
        <source>&apos;%1&apos; is not a port from 1 to 65535</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a sport: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>show this help and exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>show the version and exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>print the report of a match and exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the report&apos;s format (csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>start the remote control for phones and the stream overlay (port 8440)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>play by the rules of standard, handball, floorball, icehockey or futsal (stored)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: %1 [OPTION]... [/Wn] [/Hn] [/Xn] [/Yn]
%2 %3: match scoreboard with an operator console and a display window for the hall.

</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  /Wn, /Hn            limit the display window&apos;s width, height to n pixels
  /Xn, /Yn            place the display window n pixels from its monitor&apos;s left, top edge
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Die Hilfe (*.chm) kann nicht angezeigt werden: HHCTRL.OCX fehlt im System.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstanceLock</name>
    <message>
        <source>Scorvex läuft bereits – das laufende Programm wird nach vorn geholt.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JournalFile</name>
    <message>
        <source>kein Platz mehr auf dem Datenträger</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Datei zu groß für den Datenträger</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Datenträger nur lesbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>keine Schreibberechtigung</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ordner fehlt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ordner kann nicht angelegt werden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ein-/Ausgabefehler</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JournalReader</name>
    <message>
        <source>leer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kein Spieljournal von Scorvex</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>beschädigt in Zeile 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>abgeschnitten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>von einer neueren Version von Scorvex</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JournalSession</name>
    <message>
        <source>Journal fehlt ab %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Journal teils beschädigt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Das letzte Spiel wurde nicht beendet. Spiel fortsetzen?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JournalStore</name>
    <message>
        <source>Ordner %1 kann nicht angelegt werden</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MatchJournal</name>
    <message>
        <source>Spieljournal: %1 — das Spiel wird nicht gesichert</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MatchReport</name>
    <message>
        <source>Uhrzeit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Periode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spielzeit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ereignis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mannschaft</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Straf-Nr.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spieler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heim</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korrektur_s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafzeit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fouls</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hinweis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tor zurückgenommen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafe beginnt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafe aufgehoben</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafe durch Tor beendet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafe abgelaufen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Periode beginnt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Periode endet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Periode gesetzt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zeitkorrektur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rückgängig</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auszeit beginnt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auszeit endet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause beginnt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause endet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erster Strafteil durch Tor beendet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafzeit gesetzt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafe geht in die nächste Periode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Foul</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Foul zurückgenommen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wartende Strafe beginnt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Titel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Beginn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lücke im Journal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>beschädigte Zeilen bis %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nicht geschrieben bis %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Ereignisse verloren</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ab hier nicht aufgezeichnet</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Module</name>
    <message>
        <source>%1 fehlt in %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> und </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Notice</name>
    <message>
        <source>HEIM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GAST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mehr als %1 Zeilen nicht geladen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Zeilen nicht geladen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Zeilen gekürzt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot;: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keine Mannschaft %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mannschaft %1 hat keine Strafe %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diese Ansicht zeigt keine Strafzeiten.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Sportart &quot;%1&quot; kennt keine Strafe &quot;%2&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spielernummer %1 liegt nicht zwischen 0 und %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restzeit %1 s liegt nicht zwischen 1 s und %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fouls ändern sich um 1 oder -1, nicht um %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Sportart &quot;%1&quot; zählt keine Fouls.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Zeit lässt sich nur bei stehender Uhr setzen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 liegt nicht zwischen 0:00 und %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Sportart &quot;%1&quot; kennt keine Auszeiten.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Es läuft schon eine Auszeit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In der Pause gibt es keine Auszeit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keine Auszeit mehr für %1 in diesem Spiel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keine Auszeit mehr für %1 in dieser Halbzeit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keine Auszeit mehr für %1 in dieser Periode.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Es gibt nichts rückgängig zu machen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; wird nicht gespeichert: die Liste wurde nicht vollständig geladen.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PairRequest</name>
    <message>
        <source>%1 unter %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unbekanntes Gerät</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PenaltyMenu</name>
    <message>
        <source>Restzeit setzen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restzeit (m:ss):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (persönlich)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bereit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>wartet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>angehalten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>läuft</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>„%1“ ist keine Restzeit: bitte m:ss von 0:01 bis %2 eingeben.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Foul +1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Foul −1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restzeit setzen…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aufheben</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restzeit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heim</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gast</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QColorDialog</name>
    <message>
        <source>Color</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QFontDialog</name>
    <message>
        <source>Select Font</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemoteLoader</name>
    <message>
        <source>Fernbedienung</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Fernbedienung ist nicht verfügbar: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemoteServer</name>
    <message>
        <source>Port %1 ist schon belegt: ein anderes Programm nutzt ihn.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port %1 lässt sich nicht öffnen: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReportCommand</name>
    <message>
        <source>scorvex: unknown report format &apos;%1&apos; (csv or json)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kein Spielbericht: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>noch kein Spiel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spielbericht %1.csv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV und JSON (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Datei &quot;%1&quot; kann nicht angelegt werden: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunListFile</name>
    <message>
        <source>Not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsKey</name>
    <message>
        <source>Not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsSave</name>
    <message>
        <source>Die Einstellungen konnten nicht in &quot;%1&quot; gespeichert werden: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Sound</name>
    <message>
        <source>Datei fehlt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>keine Datei</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Datei nicht lesbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Datei ist leer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ton &apos;%1&apos; nicht abspielbar: %2 — es ertönt die eingebaute Hupe</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SoundModule</name>
    <message>
        <source>kein bekanntes Tonformat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format nicht unterstützt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zugriff verweigert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wiedergabefehler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Datei fehlt</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TCfgDialog</name>
    <message>
        <source>Invalid input value.  Use escape key to abandon changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schrift</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MM:SS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HEIM - GAST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Handball</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Floorball</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eishockey</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Futsal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Titel:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zeit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Namen:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spielstand:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Geschwindig.:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Titel </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SPIELTITEL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logo </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Musik am Ende des Spiels </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Endlosschleife</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sek.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sekunden bis zum Ende</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 2. Monitor/TV/Orvalis-Display </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nicht angeschlossen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vollbildschirm </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spieldauer:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sportart:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Teams:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ansicht:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause zwischen den Perioden:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bilder (*.gif *.jpg *.jpeg *.bmp);;Alle (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Pause &quot;%1&quot; ist keine Zeit von 00:00 bis 59:59.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid time.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFDlgYesNo</name>
    <message>
        <source>Ja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nein</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFormCtrl</name>
    <message>
        <source>HEIM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GAST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Ctrl+H] Auszeit HEIM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Ctrl+G] Auszeit GAST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Ctrl+P] Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>„%1“ ist keine Zeit: bitte m:ss oder h:mm:ss eingeben.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HEIM - GAST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F1] Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F2] Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F3] Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Correct time (Shift+Ctrl +/-)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Countdown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F4] Countdown timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zeit anzeigen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Alt+0..4] Half-time </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Alt+0..4] Period</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F11] +1 Goal (HOME team left)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F12] +1 Goal (GUEST team right)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-1 [Ctrl+F11]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-1 [Ctrl+F12]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F5] Play/Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F10] Game Reset 0:0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafe  RESET</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zeit…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Ctrl+T] Zeit setzen…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rückgängig</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Ctrl+Backspace] Rückgängig</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Ctrl+J] Horn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ton aus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Ctrl+M] Ton aus / an</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zeit setzen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zeit (m:ss oder h:mm:ss):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Programm beenden?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ton an</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset GAME?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFormInfo</name>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Einverstanden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lob und Kritik, Verbesserungsvorschläge,
Fragen und Bestellungen bitte schriftlich über</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anzeigetafeln für die Sporthalle</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TPairingWindow</name>
    <message>
        <source>Fernbedienung</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auf dem Telefon im selben Netz öffnen:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overlay nur mit Schlüssel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trennen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server beenden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Farbe Heim …</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Farbe Gast …</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auf diesem Port starten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PIN:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overlay-Farben:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verbundene Geräte:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Frei ist zum Beispiel Port %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Der Server läuft nicht.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overlay für den Stream: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TRemoteControl</name>
    <message>
        <source>Fernbedienung: %1  PIN %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TRunTextControls</name>
    <message>
        <source>[F7] One running string</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F8] All strings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F6] One static string</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F9] Break</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LAUFTEXT.TXT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ciclic running string list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Offnen file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speichern as default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zeile entfernen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Neue Zeile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zeile zu ändern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add string to list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UndoStep</name>
    <message>
        <source>Tor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restzeit gesetzt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strafe aufgehoben</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Foul</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Periode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zeitkorrektur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zeit gesetzt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auszeit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
