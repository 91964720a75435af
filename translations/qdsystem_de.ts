<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AlarmLog</name>
    <message>
        <source>, Type= QD520.</source>
        <translation>, Typ= QD520.</translation>
    </message>
    <message>
        <source>, Type= Nortec.</source>
        <translation>, Typ= Nortec.</translation>
    </message>
    <message>
        <source>, Type= Nyborg-W3.</source>
        <translation>, Typ= Nyborg-W3.</translation>
    </message>
    <message>
        <source>, Type= Miele serial.</source>
        <translation>, Typ= Miele seriell.</translation>
    </message>
    <message>
        <source>, Type= Electrolux-5xx.</source>
        <translation>, Typ= Electrolux-5xx.</translation>
    </message>
    <message>
        <source>, Type= Miele Ethernet.</source>
        <translation>, Typ= Miele Ethernet.</translation>
    </message>
    <message>
        <source>Low soap level, common input.</source>
        <translation>Waschmittel niedrig, gemeinsamer Eingang.</translation>
    </message>
    <message>
        <source>Low soap level, Pump: %1.</source>
        <translation>Waschmittel niedrig, Pumpe: %1.</translation>
    </message>
    <message>
        <source>Pressure alarm.</source>
        <translation>Druckalarm.</translation>
    </message>
    <message>
        <source>Trigger error, Machine: %1</source>
        <translation>Triggerfehler, Maschine: %1</translation>
    </message>
    <message>
        <source>Keyboard error, Machine: %1.</source>
        <translation>Tastaturfehler, Maschine: %1.</translation>
    </message>
    <message>
        <source>Dispense error, Machine: %1.</source>
        <translation>Dosierfehler, Maschine: %1.</translation>
    </message>
    <message>
        <source>Alarm output reset.</source>
        <translation>Alarmausgang zurückgesetzt.</translation>
    </message>
    <message>
        <source>Number of alarms: %1.</source>
        <translation>Anzahl Alarme: %1.</translation>
    </message>
    <message>
        <source>Pressure alarm</source>
        <translation>Druckalarm</translation>
    </message>
    <message>
        <source>Common low soap level</source>
        <translation>Waschmittel niedrig, gemeinsamer Eingang</translation>
    </message>
    <message>
        <source>Low soap level, Pump: %1</source>
        <translation>Waschmittel niedrig, Pumpe: %1</translation>
    </message>
    <message>
        <source>Keyboard error, Machine: %1</source>
        <translation>Tastaturfehler, Maschine: %1</translation>
    </message>
    <message>
        <source>Miele Logic Ethernet not connected</source>
        <translation>Miele Logic Ethernet nicht verbunden</translation>
    </message>
    <message>
        <source>Reset alarm log

Are you sure?</source>
        <translation>Alarmprotokoll zurücksetzen

Sind Sie sicher?</translation>
    </message>
    <message>
        <source>Unable to reset alarm log

System not connected.</source>
        <translation>Das Alarmprotokoll kann nicht zurückgesetzt werden

System nicht verbunden.</translation>
    </message>
</context>
<context>
    <name>BootLoader</name>
    <message>
        <source>Started, waiting...</source>
        <translation>Gestartet, bitte warten...</translation>
    </message>
    <message>
        <source>Programming...</source>
        <translation>Programmierung läuft...</translation>
    </message>
    <message>
        <source>Completed, OK.</source>
        <translation>Abgeschlossen, OK.</translation>
    </message>
    <message>
        <source>Checksum error</source>
        <translation>Prüfsummenfehler</translation>
    </message>
    <message>
        <source>Timeout error!</source>
        <translation>Zeitüberschreitung!</translation>
    </message>
    <message>
        <source>File loaded</source>
        <translation>Datei geladen</translation>
    </message>
</context>
<context>
    <name>BusLink</name>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Port open</source>
        <translation>Port offen</translation>
    </message>
    <message>
        <source>Port closed</source>
        <translation>Port geschlossen</translation>
    </message>
    <message>
        <source>Closed</source>
        <translation>Geschlossen</translation>
    </message>
    <message>
        <source>Rx: %1</source>
        <translation>Rx: %1</translation>
    </message>
    <message>
        <source>Tx: %1</source>
        <translation>Tx: %1</translation>
    </message>
    <message>
        <source>Sync: %1</source>
        <translation>Sync: %1</translation>
    </message>
    <message>
        <source>Retransmit: %1</source>
        <translation>Wiederholungen: %1</translation>
    </message>
    <message>
        <source>Checksum error: %1</source>
        <translation>Prüfsummenfehler: %1</translation>
    </message>
</context>
<context>
    <name>CalibrationHistory</name>
    <message>
        <source>%1  %2 -&gt; %3 s/100 ml, %4 ml measured</source>
        <translation>%1  %2 -&gt; %3 s/100 ml, %4 ml gemessen</translation>
    </message>
</context>
<context>
    <name>ConfigDiff</name>
    <message>
        <source>Level alarm</source>
        <translation>Füllstandsalarm</translation>
    </message>
    <message>
        <source>Water alarm</source>
        <translation>Wasserdruckalarm</translation>
    </message>
    <message>
        <source>Trigger error</source>
        <translation>Triggerfehler</translation>
    </message>
    <message>
        <source>Keyboard error</source>
        <translation>Tastaturfehler</translation>
    </message>
    <message>
        <source>Dispense error</source>
        <translation>Dosierfehler</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source>Mid</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>on</source>
        <translation>ein</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>Zeile %1</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Softner</source>
        <translation>Weichspüler</translation>
    </message>
    <message>
        <source>Default softner</source>
        <translation>Standard-Weichspüler</translation>
    </message>
    <message>
        <source>Default level</source>
        <translation>Standardstufe</translation>
    </message>
    <message>
        <source>Type %1</source>
        <translation>Typ %1</translation>
    </message>
    <message>
        <source>Input %1, falling edge</source>
        <translation>Eingang %1, fallende Flanke</translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>Eingang %1</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Low adjust %</source>
        <translation>Anpassung niedrig %</translation>
    </message>
    <message>
        <source>High adjust %</source>
        <translation>Anpassung hoch %</translation>
    </message>
    <message>
        <source>Max weight</source>
        <translation>Max. Gewicht</translation>
    </message>
    <message>
        <source>Keyboard lock inputs</source>
        <translation>Eingänge Tastatursperre</translation>
    </message>
    <message>
        <source>Keyboard lock delay</source>
        <translation>Verzögerung Tastatursperre</translation>
    </message>
    <message>
        <source>Reset machine input</source>
        <translation>Eingang Maschinen-Reset</translation>
    </message>
    <message>
        <source>Softner 2</source>
        <translation>Weichspüler 2</translation>
    </message>
    <message>
        <source>Reset machine delay</source>
        <translation>Verzögerung Maschinen-Reset</translation>
    </message>
    <message>
        <source>Program map %1</source>
        <translation>Programmzuordnung %1</translation>
    </message>
    <message>
        <source>Machine serial number</source>
        <translation>Seriennummer der Maschine</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>Maschinen-ID</translation>
    </message>
    <message>
        <source>Byte %1</source>
        <translation>Byte %1</translation>
    </message>
    <message>
        <source>Default program</source>
        <translation>Standardprogramm</translation>
    </message>
    <message>
        <source>Allow no program</source>
        <translation>Ohne Programm zulassen</translation>
    </message>
    <message>
        <source>Fabric softner</source>
        <translation>Weichspüler</translation>
    </message>
    <message>
        <source>Short flush time</source>
        <translation>Kurze Spülzeit</translation>
    </message>
    <message>
        <source>Long flush time</source>
        <translation>Lange Spülzeit</translation>
    </message>
    <message>
        <source>Program timeout</source>
        <translation>Programm-Timeout</translation>
    </message>
    <message>
        <source>Calibration pump %1</source>
        <translation>Kalibrierung Pumpe %1</translation>
    </message>
    <message>
        <source>Trigger</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Programm %1</translation>
    </message>
    <message>
        <source>Default input filter time</source>
        <translation>Standard-Eingangsfilterzeit</translation>
    </message>
    <message>
        <source>Alarm group %1</source>
        <translation>Alarmgruppe %1</translation>
    </message>
    <message>
        <source>Recipient %1</source>
        <translation>Empfänger %1</translation>
    </message>
    <message>
        <source>Level alarm active high, pump %1</source>
        <translation>Füllstandsalarm High-aktiv, Pumpe %1</translation>
    </message>
    <message>
        <source>Level alarm active high, extra</source>
        <translation>Füllstandsalarm High-aktiv, Zusatz</translation>
    </message>
    <message>
        <source>Level alarm active high, common</source>
        <translation>Füllstandsalarm High-aktiv, gemeinsam</translation>
    </message>
    <message>
        <source>Alarm on amount</source>
        <translation>Alarm bei Verbrauchsmenge</translation>
    </message>
    <message>
        <source>Alarm amount pump %1</source>
        <translation>Alarmmenge Pumpe %1</translation>
    </message>
    <message>
        <source>Used amount pump %1</source>
        <translation>Verbrauchte Menge Pumpe %1</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Maschine %1</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Aktiviert</translation>
    </message>
    <message>
        <source>%1: not a controller image (%2 bytes, not %3)</source>
        <translation>%1: kein Speicherabbild einer Steuerung (%2 Byte statt %3)</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <source>not a gateway address: %1</source>
        <translation>keine Gateway-Adresse: %1</translation>
    </message>
</context>
<context>
    <name>ConnectionDiagnosis</name>
    <message>
        <source>a process</source>
        <translation>ein Prozess</translation>
    </message>
    <message>
        <source>%1 (pid %2)</source>
        <translation>%1 (PID %2)</translation>
    </message>
    <message>
        <source>ask for read and write access to the device, or install the udev rule</source>
        <translation>Fordern Sie Lese- und Schreibzugriff auf das Gerät an oder installieren Sie die udev-Regel</translation>
    </message>
    <message>
        <source>add yourself to the %1 group (sudo usermod -aG %1 $USER) and log in again</source>
        <translation>Fügen Sie sich der Gruppe %1 hinzu (sudo usermod -aG %1 $USER) und melden Sie sich neu an</translation>
    </message>
    <message>
        <source>you are in the %1 group, but this session started before that: log in again</source>
        <translation>Sie sind in der Gruppe %1, aber diese Sitzung wurde davor gestartet: Melden Sie sich neu an</translation>
    </message>
    <message>
        <source>you are in the %1 group, but the device&apos;s mode shuts the group out: install the udev rule</source>
        <translation>Sie sind in der Gruppe %1, aber die Zugriffsrechte des Geräts schließen die Gruppe aus: Installieren Sie die udev-Regel</translation>
    </message>
    <message>
        <source>%1: held by %2: install the udev rule or stop ModemManager</source>
        <translation>%1: belegt von %2: Installieren Sie die udev-Regel oder beenden Sie ModemManager</translation>
    </message>
    <message>
        <source>%1: held by %2: close that program</source>
        <translation>%1: belegt von %2: Beenden Sie dieses Programm</translation>
    </message>
    <message>
        <source>%1: locked by %2 (lock file %3): close that program</source>
        <translation>%1: gesperrt von %2 (Sperrdatei %3): Beenden Sie dieses Programm</translation>
    </message>
    <message>
        <source>%1: busy: another program has it open (one this user cannot see): close it</source>
        <translation>%1: belegt: Ein anderes Programm hat den Port geöffnet (für diesen Benutzer nicht sichtbar): Beenden Sie es</translation>
    </message>
    <message>
        <source>%1: %2 runs and may probe the adapter: install the udev rule or stop ModemManager</source>
        <translation>%1: %2 läuft und greift möglicherweise auf den Adapter zu: Installieren Sie die udev-Regel oder beenden Sie ModemManager</translation>
    </message>
    <message>
        <source>%1: can be opened</source>
        <translation>%1: kann geöffnet werden</translation>
    </message>
    <message>
        <source>%1: permission denied: %2</source>
        <translation>%1: Zugriff verweigert: %2</translation>
    </message>
    <message>
        <source>%1: cannot be opened (%2): unplug the adapter and plug it in again</source>
        <translation>%1: kann nicht geöffnet werden (%2): Ziehen Sie den Adapter ab und stecken Sie ihn wieder ein</translation>
    </message>
    <message>
        <source>%1: latency timer %2 ms</source>
        <translation>%1: Latenz-Timer %2 ms</translation>
    </message>
    <message>
        <source>%1: latency timer %2 ms: install the udev rule, or echo 1 | sudo tee %3</source>
        <translation>%1: Latenz-Timer %2 ms: Installieren Sie die udev-Regel oder führen Sie echo 1 | sudo tee %3 aus</translation>
    </message>
    <message>
        <source>%1: frames from the controller: %2 in %3</source>
        <translation>%1: Telegramme von der Steuerung: %2 in %3</translation>
    </message>
    <message>
        <source>%1: frames from the controller: %2 in %3 (%4 with a bad checksum)</source>
        <translation>%1: Telegramme von der Steuerung: %2 in %3 (%4 mit fehlerhafter Prüfsumme)</translation>
    </message>
    <message>
        <source>%1: only frames with a bad checksum (%2) within %3: check the bus wiring and its termination</source>
        <translation>%1: nur Telegramme mit fehlerhafter Prüfsumme (%2) innerhalb von %3: Prüfen Sie die Busverkabelung und den Busabschluss</translation>
    </message>
    <message>
        <source>%1: no frames from the controller within %2: check the bus wiring and that the controller is on</source>
        <translation>%1: keine Telegramme von der Steuerung innerhalb von %2: Prüfen Sie die Busverkabelung und ob die Steuerung eingeschaltet ist</translation>
    </message>
    <message>
        <source>%1: no such device: check the name; &apos;qdtool ports --details&apos; lists serial ports</source>
        <translation>%1: Gerät nicht vorhanden: Prüfen Sie den Namen; &apos;qdtool ports --details&apos; listet die seriellen Ports auf</translation>
    </message>
    <message>
        <source>no USB serial adapter found: plug the adapter in; &apos;qdtool ports --details&apos; lists serial ports</source>
        <translation>kein USB-Seriell-Adapter gefunden: Stecken Sie den Adapter ein; &apos;qdtool ports --details&apos; listet die seriellen Ports auf</translation>
    </message>
    <message>
        <source>%1: the gateway accepts connections</source>
        <translation>%1: Gateway nimmt Verbindungen an</translation>
    </message>
    <message>
        <source>%1: unreachable (host not found): check the address and the network connection</source>
        <translation>%1: nicht erreichbar (Host nicht gefunden): Prüfen Sie die Adresse und die Netzwerkverbindung</translation>
    </message>
    <message>
        <source>%1: refused: nothing listens there; check the address and the port (14011 unless given)</source>
        <translation>%1: abgewiesen: Dort wartet kein Dienst; prüfen Sie die Adresse und den Port (14011, falls nicht angegeben)</translation>
    </message>
    <message>
        <source>%1: no answer within %2: check the network connection and any firewall between</source>
        <translation>%1: keine Antwort innerhalb von %2: Prüfen Sie die Netzwerkverbindung und eventuelle Firewalls dazwischen</translation>
    </message>
    <message>
        <source>%1: unreachable (%2): check the network connection</source>
        <translation>%1: nicht erreichbar (%2): Prüfen Sie die Netzwerkverbindung</translation>
    </message>
</context>
<context>
    <name>ConsumptionChart</name>
    <message>
        <source>Jan</source>
        <extracomment>Month abbreviation on the chart&apos;s month axis</extracomment>
        <translation>Jan</translation>
    </message>
    <message>
        <source>Feb</source>
        <translation>Feb</translation>
    </message>
    <message>
        <source>Mar</source>
        <translation>Mär</translation>
    </message>
    <message>
        <source>Apr</source>
        <translation>Apr</translation>
    </message>
    <message>
        <source>May</source>
        <extracomment>Month abbreviation on the chart&apos;s month axis</extracomment>
        <translation>Mai</translation>
    </message>
    <message>
        <source>Jun</source>
        <translation>Jun</translation>
    </message>
    <message>
        <source>Jul</source>
        <translation>Jul</translation>
    </message>
    <message>
        <source>Aug</source>
        <translation>Aug</translation>
    </message>
    <message>
        <source>Sep</source>
        <translation>Sep</translation>
    </message>
    <message>
        <source>Oct</source>
        <translation>Okt</translation>
    </message>
    <message>
        <source>Nov</source>
        <translation>Nov</translation>
    </message>
    <message>
        <source>Dec</source>
        <translation>Dez</translation>
    </message>
    <message>
        <source>No log data for this selection</source>
        <translation>Keine Protokolldaten für diese Auswahl</translation>
    </message>
    <message>
        <source>Pump %1</source>
        <translation>Pumpe %1</translation>
    </message>
    <message>
        <source>No program</source>
        <translation>Ohne Programm</translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Programm %1</translation>
    </message>
    <message>
        <source>Washes</source>
        <translation>Waschgänge</translation>
    </message>
</context>
<context>
    <name>ConsumptionLog</name>
    <message>
        <source>January, %1</source>
        <translation>Januar %1</translation>
    </message>
    <message>
        <source>February, %1</source>
        <translation>Februar %1</translation>
    </message>
    <message>
        <source>March, %1</source>
        <translation>März %1</translation>
    </message>
    <message>
        <source>April, %1</source>
        <translation>April %1</translation>
    </message>
    <message>
        <source>May, %1</source>
        <translation>Mai %1</translation>
    </message>
    <message>
        <source>June, %1</source>
        <translation>Juni %1</translation>
    </message>
    <message>
        <source>July, %1</source>
        <translation>Juli %1</translation>
    </message>
    <message>
        <source>August, %1</source>
        <translation>August %1</translation>
    </message>
    <message>
        <source>September, %1</source>
        <translation>September %1</translation>
    </message>
    <message>
        <source>October, %1</source>
        <translation>Oktober %1</translation>
    </message>
    <message>
        <source>November, %1</source>
        <translation>November %1</translation>
    </message>
    <message>
        <source>December, %1</source>
        <translation>Dezember %1</translation>
    </message>
    <message>
        <source>All machines</source>
        <translation>Alle Maschinen</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Maschine %1</translation>
    </message>
    <message>
        <source>No log data available</source>
        <translation>Keine Protokolldaten vorhanden</translation>
    </message>
    <message>
        <source>Reset done</source>
        <translation>Zurückgesetzt</translation>
    </message>
    <message>
        <source>Reset all log data

Are you sure?</source>
        <translation>Alle Protokolldaten zurücksetzen

Sind Sie sicher?</translation>
    </message>
</context>
<context>
    <name>CsvExport</name>
    <message>
        <source>CSV file|*.csv|Any file|*.*</source>
        <extracomment>File dialog filter: descriptions and patterns separated by &apos;|&apos;; translate the descriptions only</extracomment>
        <translation>CSV-Datei|*.csv|Alle Dateien|*.*</translation>
    </message>
    <message>
        <source>Unable to export &quot;%1&quot;.

%2</source>
        <translation>Export nach &quot;%1&quot; nicht möglich.

%2</translation>
    </message>
</context>
<context>
    <name>FileIo</name>
    <message>
        <source>cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot replace %1: %2</source>
        <translation>%1 kann nicht ersetzt werden: %2</translation>
    </message>
    <message>
        <source>cannot lock %1: %2</source>
        <translation>%1 kann nicht gesperrt werden: %2</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>the file is larger than %1</source>
        <translation>die Datei ist größer als %1</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>die Datei ist schreibgeschützt</translation>
    </message>
    <message>
        <source>the file keeps being replaced</source>
        <translation>die Datei wird ständig ersetzt</translation>
    </message>
    <message>
        <source>another program keeps the file locked</source>
        <translation>ein anderes Programm hält die Datei gesperrt</translation>
    </message>
</context>
<context>
    <name>GatewaySession</name>
    <message>
        <source>Disconnect</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Wird verbunden</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
    <message>
        <source>In use</source>
        <translation>Belegt</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Getrennt</translation>
    </message>
    <message>
        <source>Full access</source>
        <translation>Vollzugriff</translation>
    </message>
    <message>
        <source>Read only</source>
        <translation>Nur lesen</translation>
    </message>
    <message>
        <source>Access: ?</source>
        <translation>Zugriff: ?</translation>
    </message>
    <message>
        <source>Asynchronous socket error %1</source>
        <translation>Asynchroner Socket-Fehler %1</translation>
    </message>
    <message>
        <source>System: %1 (%2).</source>
        <translation>System: %1 (%2).</translation>
    </message>
    <message>
        <source>The gateway sent more than 1000 systems: the connection was closed.</source>
        <translation>Der Gateway-Server hat mehr als 1000 Systeme gesendet: Die Verbindung wurde getrennt.</translation>
    </message>
    <message>
        <source>Invalid user name or password</source>
        <translation>Benutzername oder Passwort ungültig</translation>
    </message>
</context>
<context>
    <name>ImageParser</name>
    <message>
        <source>Bad data format or version: %1.%2</source>
        <translation>Ungültiges Datenformat oder ungültige Version: %1.%2</translation>
    </message>
    <message>
        <source>Date: %1</source>
        <translation>Datum: %1</translation>
    </message>
</context>
<context>
    <name>InstructionPanelsWidget</name>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Short</source>
        <translation>Kurz</translation>
    </message>
    <message>
        <source>Long</source>
        <translation>Lang</translation>
    </message>
    <message>
        <source>Volume, low</source>
        <translation>Menge, niedrig</translation>
    </message>
    <message>
        <source>Volume, mid</source>
        <translation>Menge, mittel</translation>
    </message>
    <message>
        <source>Volume, high</source>
        <translation>Menge, hoch</translation>
    </message>
</context>
<context>
    <name>InstructionSet</name>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Jump L%1</source>
        <translation>Sprung L%1</translation>
    </message>
    <message>
        <source>Jump ?</source>
        <translation>Sprung ?</translation>
    </message>
    <message>
        <source>Wait: %1 sec</source>
        <translation>Warten: %1 Sek.</translation>
    </message>
    <message>
        <source>, To drain</source>
        <translation>, In Ablauf</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>Leer</translation>
    </message>
    <message>
        <source>Input wait</source>
        <translation>Warten Eingang</translation>
    </message>
    <message>
        <source>Input off wait</source>
        <translation>Warten Eingang aus</translation>
    </message>
    <message>
        <source>Input event</source>
        <translation>Eingangsereignis</translation>
    </message>
    <message>
        <source>Input jump</source>
        <translation>Eingangssprung</translation>
    </message>
    <message>
        <source>Jump</source>
        <translation>Sprung</translation>
    </message>
    <message>
        <source>Wait</source>
        <translation>Warten</translation>
    </message>
    <message>
        <source>Pump</source>
        <translation>Pumpe</translation>
    </message>
    <message>
        <source>Flush</source>
        <translation>Spülen</translation>
    </message>
    <message>
        <source>Keyboard lock</source>
        <translation>Tastatursperre</translation>
    </message>
    <message>
        <source>Pump, high volume</source>
        <translation>Pumpe, große Menge</translation>
    </message>
</context>
<context>
    <name>IntelHex</name>
    <message>
        <source>Unable to open Intel hex file.</source>
        <translation>Die Intel-HEX-Datei kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Unknown record type.</source>
        <translation>Erweitertes Intel-HEX: Unbekannter Datensatztyp.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Check sum error.</source>
        <translation>Erweitertes Intel-HEX: Prüfsummenfehler.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Invalid character in line %1, column %2 (hex digits are 0-9 and A-F).</source>
        <translation>Erweitertes Intel-HEX: Ungültiges Zeichen in Zeile %1, Spalte %2 (Hex-Ziffern sind 0-9 und A-F).</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Record shorter than its byte count in line %1.</source>
        <translation>Erweitertes Intel-HEX: Datensatz kürzer als seine Byteanzahl in Zeile %1.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Address record without two data bytes in line %1.</source>
        <translation>Erweitertes Intel-HEX: Adressdatensatz ohne zwei Datenbytes in Zeile %1.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Data beyond the 128 KiB image in line %1.</source>
        <translation>Erweitertes Intel-HEX: Daten außerhalb des 128-KiB-Abbilds in Zeile %1.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: No data records for addresses below %1h.</source>
        <translation>Erweitertes Intel-HEX: Keine Datensätze für Adressen unter %1h.</translation>
    </message>
    <message>
        <source>The file has no end-of-file record: it may be cut short.</source>
        <translation>Die Datei hat keinen End-of-File-Datensatz: Sie ist möglicherweise unvollständig.</translation>
    </message>
    <message>
        <source>The file holds data up to %1h, beyond the controller&apos;s program memory (%2h bytes): it may be meant for the trigger modules.</source>
        <translation>Die Datei enthält Daten bis %1h, über den Programmspeicher der Steuerung (%2h Byte) hinaus: Sie ist möglicherweise für die Triggermodule bestimmt.</translation>
    </message>
    <message>
        <source>The file holds data up to %1h, beyond the trigger module&apos;s program memory (%2h bytes): it may be meant for the controller.</source>
        <translation>Die Datei enthält Daten bis %1h, über den Programmspeicher des Triggermoduls (%2h Byte) hinaus: Sie ist möglicherweise für die Steuerung bestimmt.</translation>
    </message>
    <message>
        <source>Unable to open Intel hex file: it is not a regular file.</source>
        <translation>Die Intel-HEX-Datei kann nicht geöffnet werden: Sie ist keine reguläre Datei.</translation>
    </message>
    <message>
        <source>Unable to open Intel hex file: it is larger than 4 MB.</source>
        <translation>Die Intel-HEX-Datei kann nicht geöffnet werden: Sie ist größer als 4 MB.</translation>
    </message>
    <message>
        <source>%1% (%2 bytes)</source>
        <translation>%1 % (%2 Byte)</translation>
    </message>
    <message>
        <source>Firmware update, QD310.</source>
        <translation>Firmware-Update, QD310.</translation>
    </message>
    <message>
        <source>Firmware update, QD520 / QD740 trigger.</source>
        <translation>Firmware-Update, Trigger QD520 / QD740.</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>System</source>
        <translation>Systemsprache</translation>
    </message>
</context>
<context>
    <name>MachineStatusView</name>
    <message>
        <source> Program, Keyboard locked </source>
        <translation> Programm, Tastatur gesperrt </translation>
    </message>
    <message>
        <source> Program </source>
        <translation> Programm </translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigung</translation>
    </message>
</context>
<context>
    <name>Numbers</name>
    <message>
        <source>.</source>
        <extracomment>The decimal separator of the numbers the windows show</extracomment>
        <translation>,</translation>
    </message>
</context>
<context>
    <name>OperationGate</name>
    <message>
        <source>The controller is busy reading the system data.

Wait until this has finished, or stop it first.</source>
        <translation>Die Steuerung ist beschäftigt: Die Systemdaten werden gelesen.

Warten Sie, bis der Vorgang abgeschlossen ist, oder stoppen Sie ihn zuerst.</translation>
    </message>
    <message>
        <source>The controller is busy writing the system data.

Wait until this has finished, or stop it first.</source>
        <translation>Die Steuerung ist beschäftigt: Die Systemdaten werden geschrieben.

Warten Sie, bis der Vorgang abgeschlossen ist, oder stoppen Sie ihn zuerst.</translation>
    </message>
    <message>
        <source>The controller is busy writing the serial number.

Wait until this has finished, or stop it first.</source>
        <translation>Die Steuerung ist beschäftigt: Die Seriennummer wird geschrieben.

Warten Sie, bis der Vorgang abgeschlossen ist, oder stoppen Sie ihn zuerst.</translation>
    </message>
    <message>
        <source>The controller is busy reading the controller for a comparison.

Wait until this has finished, or stop it first.</source>
        <translation>Die Steuerung ist beschäftigt: Sie wird für einen Vergleich gelesen.

Warten Sie, bis der Vorgang abgeschlossen ist, oder stoppen Sie ihn zuerst.</translation>
    </message>
    <message>
        <source>The controller is busy resetting the consumption log.

Wait until this has finished, or stop it first.</source>
        <translation>Die Steuerung ist beschäftigt: Das Verbrauchsprotokoll wird zurückgesetzt.

Warten Sie, bis der Vorgang abgeschlossen ist, oder stoppen Sie ihn zuerst.</translation>
    </message>
    <message>
        <source>The controller is busy clearing the alarm log.

Wait until this has finished, or stop it first.</source>
        <translation>Die Steuerung ist beschäftigt: Das Alarmprotokoll wird gelöscht.

Warten Sie, bis der Vorgang abgeschlossen ist, oder stoppen Sie ihn zuerst.</translation>
    </message>
    <message>
        <source>The controller is busy resetting a machine.

Wait until this has finished, or stop it first.</source>
        <translation>Die Steuerung ist beschäftigt: Eine Maschine wird zurückgesetzt.

Warten Sie, bis der Vorgang abgeschlossen ist, oder stoppen Sie ihn zuerst.</translation>
    </message>
    <message>
        <source>The controller is busy updating firmware.

Wait until this has finished, or stop it first.</source>
        <translation>Die Steuerung ist beschäftigt: Die Firmware wird aktualisiert.

Warten Sie, bis der Vorgang abgeschlossen ist, oder stoppen Sie ihn zuerst.</translation>
    </message>
</context>
<context>
    <name>ProgramChecker</name>
    <message>
        <source>pump %1 has calibration 0: this line doses nothing</source>
        <translation>Pumpe %1 hat Kalibrierung 0: Diese Zeile dosiert nichts</translation>
    </message>
    <message>
        <source>all volumes are 0</source>
        <translation>alle Mengen sind 0</translation>
    </message>
    <message>
        <source>continues at line %1, after the last instruction</source>
        <translation>geht in Zeile %1 weiter, nach der letzten Anweisung</translation>
    </message>
    <message>
        <source>continues at line %1, which is Empty</source>
        <translation>geht in Zeile %1 weiter, die leer ist</translation>
    </message>
    <message>
        <source>loop from line %1 has no wait and no input wait</source>
        <translation>Schleife ab Zeile %1 enthält kein &quot;Warten&quot; und kein &quot;Warten Eingang&quot;</translation>
    </message>
    <message>
        <source>loop from line %1 runs forever with no wait and no input wait</source>
        <translation>Schleife ab Zeile %1 läuft endlos ohne &quot;Warten&quot; und ohne &quot;Warten Eingang&quot;</translation>
    </message>
    <message>
        <source>active program without a pump line</source>
        <translation>aktives Programm ohne Pumpenzeile</translation>
    </message>
    <message>
        <source>doses softener, but the machine has no softener pump</source>
        <translation>dosiert Weichspüler, aber die Maschine hat keine Weichspülerpumpe</translation>
    </message>
    <message>
        <source>default program %1 is not active</source>
        <translation>Standardprogramm %1 ist nicht aktiv</translation>
    </message>
    <message>
        <source>Electrolux programs 16..30 are set: a system file does not keep them</source>
        <translation>Electrolux-Programme 16..30 sind belegt: Eine Systemdatei speichert sie nicht</translation>
    </message>
    <message>
        <source>the text area is full (&quot;Used text&quot; at 100%): %1 text will be lost on the next write</source>
        <translation>der Textspeicher ist voll (&quot;Belegter Text&quot; bei 100 %): %1 Text geht beim nächsten Schreiben verloren</translation>
    </message>
    <message>
        <source>the text area is full (&quot;Used text&quot; at 100%): %1 texts will be lost on the next write</source>
        <translation>der Textspeicher ist voll (&quot;Belegter Text&quot; bei 100 %): %1 Texte gehen beim nächsten Schreiben verloren</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Machine %1 / Program %2 / Line %3</source>
        <translation>Maschine %1 / Programm %2 / Zeile %3</translation>
    </message>
    <message>
        <source>Machine %1 / Program %2</source>
        <translation>Maschine %1 / Programm %2</translation>
    </message>
    <message>
        <source>Machine %1 / Line %2</source>
        <translation>Maschine %1 / Zeile %2</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Maschine %1</translation>
    </message>
    <message>
        <source>error: %1: %2</source>
        <translation>Fehler: %1: %2</translation>
    </message>
    <message>
        <source>warning: %1: %2</source>
        <translation>Warnung: %1: %2</translation>
    </message>
</context>
<context>
    <name>ServiceReport</name>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source>Mid</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>System name</source>
        <translation>Systemname</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Report date</source>
        <translation>Berichtsdatum</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Hardware version</source>
        <translation>Hardwareversion</translation>
    </message>
    <message>
        <source>Firmware version</source>
        <translation>Firmwareversion</translation>
    </message>
    <message>
        <source>Controller identity</source>
        <translation>Kennung der Steuerung</translation>
    </message>
    <message>
        <source>not known (the configuration was not read from a controller)</source>
        <translation>unbekannt (die Konfiguration wurde nicht aus einer Steuerung gelesen)</translation>
    </message>
    <message>
        <source>Enabled machines</source>
        <translation>Aktivierte Maschinen</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Pump</source>
        <translation>Pumpe</translation>
    </message>
    <message>
        <source>Calibration (sec./100ml)</source>
        <translation>Kalibrierung (Sek./100 ml)</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Maschine %1</translation>
    </message>
    <message>
        <source>Default program</source>
        <translation>Standardprogramm</translation>
    </message>
    <message>
        <source>Allow no program</source>
        <translation>Ohne Programm zulassen</translation>
    </message>
    <message>
        <source>Softener pump</source>
        <translation>Weichspülerpumpe</translation>
    </message>
    <message>
        <source>Short flush time</source>
        <translation>Kurze Spülzeit</translation>
    </message>
    <message>
        <source>sec.</source>
        <translation>Sek.</translation>
    </message>
    <message>
        <source>Long flush time</source>
        <translation>Lange Spülzeit</translation>
    </message>
    <message>
        <source>Program timeout</source>
        <translation>Programm-Timeout</translation>
    </message>
    <message>
        <source>min.</source>
        <translation>Min.</translation>
    </message>
    <message>
        <source>Trigger type</source>
        <translation>Triggertyp</translation>
    </message>
    <message>
        <source>code %1</source>
        <translation>Code %1</translation>
    </message>
    <message>
        <source>Trigger module</source>
        <translation>Triggermodul</translation>
    </message>
    <message>
        <source>Inactive programs: %1.</source>
        <translation>Inaktive Programme: %1.</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Instruction</source>
        <translation>Anweisung</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>Machine %1 / Program %2: %3</source>
        <translation>Maschine %1 / Programm %2: %3</translation>
    </message>
    <message>
        <source>Softener: %1, default softener: %2, default level: %3</source>
        <translation>Weichspüler: %1, Standard-Weichspüler: %2, Standardstufe: %3</translation>
    </message>
    <message>
        <source>Program check</source>
        <translation>Programmprüfung</translation>
    </message>
    <message>
        <source>%1 errors, %2 warnings</source>
        <translation>%1 Fehler, %2 Warnungen</translation>
    </message>
    <message>
        <source>%1 to %2, %3</source>
        <translation>%1 bis %2, %3</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Menge</translation>
    </message>
    <message>
        <source>Price per litre</source>
        <translation>Preis pro Liter</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Kosten</translation>
    </message>
    <message>
        <source>Pump %1</source>
        <translation>Pumpe %1</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Washes</source>
        <translation>Waschgänge</translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Programm %1</translation>
    </message>
    <message>
        <source>No program</source>
        <translation>Ohne Programm</translation>
    </message>
    <message>
        <source>Total washes</source>
        <translation>Waschgänge gesamt</translation>
    </message>
    <message>
        <source>Softener count</source>
        <translation>Anzahl Weichspüler</translation>
    </message>
    <message>
        <source>Consumption</source>
        <translation>Verbrauch</translation>
    </message>
    <message>
        <source>No log data available</source>
        <translation>Keine Protokolldaten vorhanden</translation>
    </message>
    <message>
        <source>Period: %1</source>
        <translation>Zeitraum: %1</translation>
    </message>
    <message>
        <source>The log holds no consumption for this period.</source>
        <translation>Das Protokoll enthält für diesen Zeitraum keinen Verbrauch.</translation>
    </message>
    <message>
        <source>No pump prices are set: the costs are not shown.</source>
        <translation>Keine Pumpenpreise festgelegt: Die Kosten werden nicht angezeigt.</translation>
    </message>
    <message>
        <source>Cost per wash: %1</source>
        <translation>Kosten pro Waschgang: %1</translation>
    </message>
    <message>
        <source>Monthly volume per pump</source>
        <translation>Monatliche Menge pro Pumpe</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>Active alarms:</source>
        <translation>Aktive Alarme:</translation>
    </message>
    <message>
        <source>Active alarms: none</source>
        <translation>Aktive Alarme: keine</translation>
    </message>
    <message>
        <source>Alarm history:</source>
        <translation>Alarmverlauf:</translation>
    </message>
    <message>
        <source>file %1</source>
        <translation>Datei %1</translation>
    </message>
    <message>
        <source>Service report</source>
        <translation>Servicebericht</translation>
    </message>
    <message>
        <source>controller</source>
        <translation>Steuerung</translation>
    </message>
    <message>
        <source>%1:</source>
        <extracomment>A label before its value in the report, e.g. &quot;Serial number:&quot;</extracomment>
        <translation>%1:</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>Service report: %1</source>
        <translation>Servicebericht: %1</translation>
    </message>
    <message>
        <source>The PDF document could not be started.</source>
        <translation>Das PDF-Dokument konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The PDF document could not be completed.</source>
        <translation>Das PDF-Dokument konnte nicht abgeschlossen werden.</translation>
    </message>
    <message>
        <source>The PDF document came out empty.</source>
        <translation>Das PDF-Dokument ist leer.</translation>
    </message>
</context>
<context>
    <name>SystemFile</name>
    <message>
        <source>%1: &quot;%2&quot; is not a boolean</source>
        <translation>%1: &quot;%2&quot; ist kein boolescher Wert</translation>
    </message>
    <message>
        <source>%1: fewer than %2 hexadecimal digits</source>
        <translation>%1: weniger als %2 Hexadezimalziffern</translation>
    </message>
    <message>
        <source>not a well-formed XML file at byte %1: %2</source>
        <translation>keine wohlgeformte XML-Datei bei Byte %1: %2</translation>
    </message>
    <message>
        <source>the root element is not QDsystem</source>
        <translation>das Wurzelelement ist nicht QDsystem</translation>
    </message>
</context>
<context>
    <name>SystemList</name>
    <message>
        <source> No.</source>
        <translation> Nr.</translation>
    </message>
    <message>
        <source> Serial</source>
        <translation> Seriennr.</translation>
    </message>
    <message>
        <source> System name</source>
        <translation> Systemname</translation>
    </message>
    <message>
        <source> In use</source>
        <translation> Belegt</translation>
    </message>
    <message>
        <source> IP address</source>
        <translation> IP-Adresse</translation>
    </message>
</context>
<context>
    <name>TSystemSetupForm</name>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Level alarm</source>
        <translation>Füllstandsalarm</translation>
    </message>
    <message>
        <source>Pressure alarm</source>
        <translation>Druckalarm</translation>
    </message>
    <message>
        <source>Trigger error</source>
        <translation>Triggerfehler</translation>
    </message>
    <message>
        <source>Keybord error</source>
        <translation>Tastaturfehler</translation>
    </message>
    <message>
        <source>Dispense error</source>
        <translation>Dosierfehler</translation>
    </message>
</context>
<context>
    <name>TTriggerForm</name>
    <message>
        <source>Header</source>
        <translation>Kopfzeile</translation>
    </message>
    <message>
        <source>Program 1</source>
        <translation>Programm 1</translation>
    </message>
    <message>
        <source>Program 2</source>
        <translation>Programm 2</translation>
    </message>
    <message>
        <source>Program 3</source>
        <translation>Programm 3</translation>
    </message>
    <message>
        <source>Softner</source>
        <translation>Weichspüler</translation>
    </message>
    <message>
        <source>Softner 2</source>
        <translation>Weichspüler 2</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Mid</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source> Program selection </source>
        <translation> Programmwahl </translation>
    </message>
    <message>
        <source> Farbric softner selection </source>
        <translation> Weichspülerwahl </translation>
    </message>
    <message>
        <source> Level selection </source>
        <translation> Stufenwahl </translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>Eingang %1</translation>
    </message>
    <message>
        <source>Input %1, falling edge</source>
        <translation>Eingang %1, fallende Flanke</translation>
    </message>
</context>
<context>
    <name>Transfer</name>
    <message>
        <source>Unable to check Login code.

No response from System</source>
        <translation>Der Anmeldecode kann nicht geprüft werden.

Keine Antwort vom System</translation>
    </message>
    <message>
        <source>Wrong System login code</source>
        <translation>Falscher System-Anmeldecode</translation>
    </message>
    <message>
        <source>Reading %1 bytes.</source>
        <translation>%1 Byte werden gelesen.</translation>
    </message>
    <message>
        <source>Writing %1 bytes.</source>
        <translation>%1 Byte werden geschrieben.</translation>
    </message>
    <message>
        <source>Waiting for confirm...</source>
        <translation>Warten auf Bestätigung...</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Gestoppt</translation>
    </message>
    <message>
        <source>Transfer faild at: %1</source>
        <translation>Übertragung fehlgeschlagen bei: %1</translation>
    </message>
    <message>
        <source>Timeout, no confirm received!</source>
        <translation>Zeitüberschreitung, keine Bestätigung erhalten!</translation>
    </message>
    <message>
        <source>Timeout!</source>
        <translation>Zeitüberschreitung!</translation>
    </message>
    <message>
        <source>Read completed</source>
        <translation>Lesen abgeschlossen</translation>
    </message>
    <message>
        <source>Write completed</source>
        <translation>Schreiben abgeschlossen</translation>
    </message>
    <message>
        <source>Transfer completed</source>
        <translation>Übertragung abgeschlossen</translation>
    </message>
    <message>
        <source>Confirm received - OK</source>
        <translation>Bestätigung erhalten - OK</translation>
    </message>
    <message>
        <source>Confirm received - bad checksum!</source>
        <translation>Bestätigung erhalten - Prüfsumme falsch!</translation>
    </message>
</context>
<context>
    <name>TriggerSettings</name>
    <message>
        <source>%1, version: %2.%3</source>
        <translation>%1, Version: %2.%3</translation>
    </message>
</context>
<context>
    <name>WorkingConfig</name>
    <message>
        <source>Used text: %1%</source>
        <translation>Belegter Text: %1 %</translation>
    </message>
</context>
<context>
    <name>qd::gui::ConsumptionChart</name>
    <message>
        <source>%1: %2</source>
        <extracomment>A line of a bar&apos;s tool tip: the series (a pump or a program) and its value</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Total: %1</source>
        <translation>Gesamt: %1</translation>
    </message>
</context>
<context>
    <name>qd::gui::ConsumptionChartPanel</name>
    <message>
        <source>Volume per pump</source>
        <translation>Menge pro Pumpe</translation>
    </message>
    <message>
        <source>Washes per program</source>
        <translation>Waschgänge pro Programm</translation>
    </message>
</context>
<context>
    <name>qd::gui::FindingsList</name>
    <message>
        <source>Program check</source>
        <translation>Programmprüfung</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>Zeile %1</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A finding: where (a line, a program or a place) and what</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>No findings</source>
        <translation>Keine Befunde</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
</context>
<context>
    <name>qd::gui::InstructionPanelsWidget</name>
    <message>
        <source>No parameters for this instruction.</source>
        <translation>Keine Parameter für diese Anweisung.</translation>
    </message>
    <message>
        <source> Inputs </source>
        <translation> Eingänge </translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>0..250 sec.</source>
        <translation>0..250 Sek.</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Eingang</translation>
    </message>
    <message>
        <source>Input to the next line</source>
        <translation>Eingang für die nächste Zeile</translation>
    </message>
    <message>
        <source>-&gt; Next line</source>
        <translation>-&gt; Nächste Zeile</translation>
    </message>
    <message>
        <source>Jump input %1</source>
        <translation>Sprungeingang %1</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Jump line %1</source>
        <translation>Sprungzeile %1</translation>
    </message>
    <message>
        <source>-&gt; Line</source>
        <translation>-&gt; Zeile</translation>
    </message>
    <message>
        <source> Input off wait </source>
        <translation> Warten auf Eingang aus </translation>
    </message>
    <message>
        <source>Next line when all selected inputs</source>
        <translation>Nächste Zeile, wenn alle gewählten Eingänge</translation>
    </message>
    <message>
        <source>are off.</source>
        <translation>aus sind.</translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>Eingang %1</translation>
    </message>
    <message>
        <source> Jump </source>
        <translation> Sprung </translation>
    </message>
    <message>
        <source>Jump to Line </source>
        <translation>Sprung zu Zeile </translation>
    </message>
    <message>
        <source> Wait </source>
        <translation> Warten </translation>
    </message>
    <message>
        <source>Wait</source>
        <translation>Wartezeit</translation>
    </message>
    <message>
        <source>(1..5000 seconds)</source>
        <translation>(1..5000 Sekunden)</translation>
    </message>
    <message>
        <source> Pump </source>
        <translation> Pumpe </translation>
    </message>
    <message>
        <source>Pump</source>
        <translation>Pumpe</translation>
    </message>
    <message>
        <source>Flush</source>
        <translation>Spülen</translation>
    </message>
    <message>
        <source>Wait until dispense done.</source>
        <translation>Auf Ende der Dosierung warten.</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>Verzögerung</translation>
    </message>
    <message>
        <source> Flush </source>
        <translation> Spülen </translation>
    </message>
    <message>
        <source>Drain flush</source>
        <translation>In Ablauf spülen</translation>
    </message>
    <message>
        <source>Wait until flush done.</source>
        <translation>Auf Ende des Spülens warten.</translation>
    </message>
    <message>
        <source>Flush time</source>
        <translation>Spülzeit</translation>
    </message>
    <message>
        <source> Pump, high volume </source>
        <translation> Pumpe, große Menge </translation>
    </message>
    <message>
        <source>Volume (mid)</source>
        <translation>Menge (mittel)</translation>
    </message>
    <message>
        <source>Low adjust (-%)</source>
        <translation>Anpassung niedrig (-%)</translation>
    </message>
    <message>
        <source>High adjust (+%)</source>
        <translation>Anpassung hoch (+%)</translation>
    </message>
</context>
<context>
    <name>qd::gui::LanguageMenu</name>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>The language changes when QDsystem is started again.</source>
        <translation>Die Sprache wird beim nächsten Start von QDsystem geändert.</translation>
    </message>
</context>
<context>
    <name>qd::gui::SiteAlarmsPage</name>
    <message>
        <source>Alarms recorded</source>
        <translation>Aufgezeichnete Alarme</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeitpunkt</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Alarms recorded: %1, since the previous contact: %2.</source>
        <translation>Aufgezeichnete Alarme: %1, seit dem vorherigen Kontakt: %2.</translation>
    </message>
</context>
<context>
    <name>qd::gui::SiteConsumptionPage</name>
    <message>
        <source>&amp;Machine:</source>
        <translation>&amp;Maschine:</translation>
    </message>
    <message>
        <source>Months recorded</source>
        <translation>Aufgezeichnete Monate</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>CSV exportieren...</translation>
    </message>
    <message>
        <source>Save the months of the machines chosen as a CSV file</source>
        <translation>Die Monate der gewählten Maschinen als CSV-Datei speichern</translation>
    </message>
    <message>
        <source>Consumption by year</source>
        <translation>Verbrauch pro Jahr</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Months</source>
        <translation>Monate</translation>
    </message>
    <message>
        <source>Litres</source>
        <translation>Liter</translation>
    </message>
    <message>
        <source>Washes</source>
        <translation>Waschgänge</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Kosten</translation>
    </message>
    <message>
        <source>Months of the year the history holds</source>
        <translation>Monate des Jahres, die der Verlauf enthält</translation>
    </message>
    <message>
        <source>At the pump prices of the consumption log window</source>
        <translation>Zu den Pumpenpreisen des Fensters Protokolldaten</translation>
    </message>
    <message>
        <source>No consumption recorded.</source>
        <translation>Kein Verbrauch aufgezeichnet.</translation>
    </message>
    <message>
        <source>1 month: %1.</source>
        <translation>1 Monat: %1.</translation>
    </message>
    <message>
        <source>%1 months, %2 to %3.</source>
        <translation>%1 Monate, %2 bis %3.</translation>
    </message>
    <message>
        <source>Export consumption history</source>
        <translation>Verbrauchsverlauf exportieren</translation>
    </message>
</context>
<context>
    <name>qd::gui::SiteTimelinePage</name>
    <message>
        <source>Read</source>
        <translation>Gelesen</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Änderungen</translation>
    </message>
    <message>
        <source>Snapshots</source>
        <translation>Momentaufnahmen</translation>
    </message>
    <message>
        <source>Choose one read to see what it changed, or two (Ctrl+click) to compare them</source>
        <translation>Wählen Sie einen Lesevorgang, um seine Änderungen zu sehen, oder zwei (Strg+Klick), um sie zu vergleichen</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>Compare the two reads chosen, or the one chosen with the read before it</source>
        <translation>Die beiden gewählten Lesevorgänge vergleichen oder den gewählten mit dem vorherigen</translation>
    </message>
    <message>
        <source>Comparison</source>
        <translation>Vergleich</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Vorher</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Nachher</translation>
    </message>
    <message>
        <source>Changes between the snapshots</source>
        <translation>Änderungen zwischen den Momentaufnahmen</translation>
    </message>
    <message>
        <source>first read</source>
        <translation>erster Lesevorgang</translation>
    </message>
    <message>
        <source>not readable</source>
        <translation>nicht lesbar</translation>
    </message>
    <message>
        <source>no change</source>
        <translation>keine Änderung</translation>
    </message>
    <message>
        <source>1 change</source>
        <translation>1 Änderung</translation>
    </message>
    <message>
        <source>%1 changes</source>
        <translation>%1 Änderungen</translation>
    </message>
    <message>
        <source>No snapshots of this site are kept.</source>
        <translation>Von diesem Standort sind keine Momentaufnahmen gespeichert.</translation>
    </message>
    <message>
        <source>Press Compare to list the changes between the two reads chosen.</source>
        <translation>Klicken Sie auf Vergleichen, um die Änderungen zwischen den beiden gewählten Lesevorgängen aufzulisten.</translation>
    </message>
    <message>
        <source>Choose one read, or two to compare.</source>
        <translation>Wählen Sie einen Lesevorgang oder zwei zum Vergleichen.</translation>
    </message>
    <message>
        <source>The read of %1 is the first one kept of this site: there is nothing before it to compare with.</source>
        <translation>Der Lesevorgang vom %1 ist der erste gespeicherte dieses Standorts: Es gibt nichts Früheres zum Vergleichen.</translation>
    </message>
    <message>
        <source>Comparing the reads of %1 and %2...</source>
        <translation>Die Lesevorgänge vom %1 und vom %2 werden verglichen...</translation>
    </message>
    <message>
        <source>The snapshots could not be read: %1</source>
        <translation>Die Momentaufnahmen konnten nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The reads of %1 and %2 cannot be compared: one of them is not an image this version of QDsystem reads.</source>
        <translation>Die Lesevorgänge vom %1 und vom %2 können nicht verglichen werden: Einer davon ist kein Speicherabbild, das diese Version von QDsystem lesen kann.</translation>
    </message>
    <message>
        <source>No changes from the read of %1 to the read of %2.</source>
        <translation>Keine Änderungen vom Lesevorgang am %1 bis zum Lesevorgang am %2.</translation>
    </message>
    <message>
        <source>1 change from the read of %1 to the read of %2.</source>
        <translation>1 Änderung vom Lesevorgang am %1 bis zum Lesevorgang am %2.</translation>
    </message>
    <message>
        <source>%1 changes from the read of %2 to the read of %3.</source>
        <translation>%1 Änderungen vom Lesevorgang am %2 bis zum Lesevorgang am %3.</translation>
    </message>
    <message>
        <source>S&amp;napshots (newest first):</source>
        <translation>&amp;Momentaufnahmen (neueste zuerst):</translation>
    </message>
</context>
<context>
    <name>qd::gui::TAboutForm</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>PC tool for QD310 dispenser system</source>
        <translation>PC-Programm für das Dosiersystem QD310</translation>
    </message>
    <message>
        <source>Version: %1.%2</source>
        <translation>Version: %1.%2</translation>
    </message>
    <message>
        <source>Laundry dosing systems</source>
        <translation>Dosiersysteme für Wäschereien</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Created: %1  %2</source>
        <translation>Erstellt: %1  %2</translation>
    </message>
</context>
<context>
    <name>qd::gui::TAlarmLogForm</name>
    <message>
        <source>Alarm log</source>
        <translation>Alarmprotokoll</translation>
    </message>
    <message>
        <source>Alarm history</source>
        <translation>Alarmverlauf</translation>
    </message>
    <message>
        <source>Alarm state</source>
        <translation>Alarmstatus</translation>
    </message>
    <message>
        <source>Clear alarm log</source>
        <translation>Alarmprotokoll löschen</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>CSV exportieren...</translation>
    </message>
    <message>
        <source>Save the alarm history as a CSV file</source>
        <translation>Den Alarmverlauf als CSV-Datei speichern</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Export alarm history</source>
        <translation>Alarmverlauf exportieren</translation>
    </message>
</context>
<context>
    <name>qd::gui::TCalibrationForm</name>
    <message>
        <source>Pump calibration</source>
        <translation>Pumpenkalibrierung</translation>
    </message>
    <message>
        <source>Current calibration (sec./100ml)</source>
        <translation>Aktuelle Kalibrierung (Sek./100 ml)</translation>
    </message>
    <message>
        <source>Meassured volume (ml)</source>
        <translation>Gemessene Menge (ml)</translation>
    </message>
    <message>
        <source>New calibration (sec./100ml)</source>
        <translation>Neue Kalibrierung (Sek./100 ml)</translation>
    </message>
    <message>
        <source>Test running...</source>
        <translation>Test läuft...</translation>
    </message>
    <message>
        <source>Seconds left</source>
        <translation>Verbleibende Sekunden</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <source>The computed calibration is above %1 and was capped</source>
        <translation>Die berechnete Kalibrierung liegt über %1 und wurde begrenzt</translation>
    </message>
    <message>
        <source>F2: Start test</source>
        <translation>F2: Test starten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Last calibrations</source>
        <translation>Letzte Kalibrierungen</translation>
    </message>
    <message>
        <source>Pump %1 calibration</source>
        <translation>Kalibrierung Pumpe %1</translation>
    </message>
    <message>
        <source>The history cannot be read:
%1</source>
        <translation>Der Verlauf kann nicht gelesen werden:
%1</translation>
    </message>
    <message>
        <source>None recorded for this pump yet.</source>
        <translation>Für diese Pumpe wurde noch keine Kalibrierung erfasst.</translation>
    </message>
    <message>
        <source>The calibration was accepted but could not be recorded in the history &quot;%1&quot;.

%2</source>
        <translation>Die Kalibrierung wurde übernommen, konnte aber nicht im Verlauf &quot;%1&quot; gespeichert werden.

%2</translation>
    </message>
</context>
<context>
    <name>qd::gui::TCommunicationErrorForm</name>
    <message>
        <source>Warning, communication error</source>
        <translation>Warnung, Kommunikationsfehler</translation>
    </message>
    <message>
        <source>Re-try count</source>
        <translation>Anzahl Wiederholungen</translation>
    </message>
    <message>
        <source>Checksum error count:</source>
        <translation>Anzahl Prüfsummenfehler:</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>qd::gui::TCommunicationForm</name>
    <message>
        <source>Communication</source>
        <translation>Kommunikation</translation>
    </message>
    <message>
        <source> Local </source>
        <translation> Lokal </translation>
    </message>
    <message>
        <source>Local</source>
        <translation>Lokal</translation>
    </message>
    <message>
        <source>COM port</source>
        <translation>COM-Port</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Port state</source>
        <translation>Port-Status</translation>
    </message>
    <message>
        <source>Show checksum errors (bus conflicts).</source>
        <translation>Prüfsummenfehler anzeigen (Buskonflikte).</translation>
    </message>
    <message>
        <source> Remote  </source>
        <translation> Fernzugriff  </translation>
    </message>
    <message>
        <source>Remote</source>
        <translation>Fernzugriff</translation>
    </message>
    <message>
        <source>Gateway:</source>
        <translation>Gateway:</translation>
    </message>
    <message>
        <source>Gateway state</source>
        <translation>Gateway-Status</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Adapter latency %1 ms: answers are slow. Install the udev rule or run &apos;qdtool doctor&apos;.</source>
        <translation>Adapter-Latenz %1 ms: Antworten sind langsam. Installieren Sie die udev-Regel oder führen Sie &apos;qdtool doctor&apos; aus.</translation>
    </message>
</context>
<context>
    <name>qd::gui::TCompareForm</name>
    <message>
        <source>Choose what to compare the working configuration with.</source>
        <translation>Wählen Sie, womit die aktuelle Konfiguration verglichen werden soll.</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>Differences</source>
        <translation>Unterschiede</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Vergleich</translation>
    </message>
    <message>
        <source>Working configuration</source>
        <translation>Aktuelle Konfiguration</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Backups</source>
        <translation>Sicherungen</translation>
    </message>
    <message>
        <source>Compare with controller</source>
        <translation>Mit Steuerung vergleichen</translation>
    </message>
    <message>
        <source>Compare with file...</source>
        <translation>Mit Datei vergleichen...</translation>
    </message>
    <message>
        <source>Compare with backup</source>
        <translation>Mit Sicherung vergleichen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>&amp;Backups (newest first)</source>
        <translation>&amp;Sicherungen (neueste zuerst)</translation>
    </message>
    <message>
        <source>Unable to compare with the controller

System not connected.</source>
        <translation>Vergleich mit der Steuerung nicht möglich

System nicht verbunden.</translation>
    </message>
    <message>
        <source>Reading the controller&apos;s system data (the editors are not touched)...</source>
        <translation>Systemdaten der Steuerung werden gelesen (die Bearbeitungsfenster bleiben unverändert)...</translation>
    </message>
    <message>
        <source>The working configuration compared with the controller (serial %1), read %2.</source>
        <translation>Aktuelle Konfiguration im Vergleich zur Steuerung (Seriennr. %1), gelesen %2.</translation>
    </message>
    <message>
        <source>Controller</source>
        <translation>Steuerung</translation>
    </message>
    <message>
        <source>Compare with file</source>
        <translation>Mit Datei vergleichen</translation>
    </message>
    <message>
        <source>XML-file (*.xml)|*.xml|Image (*.bin)|*.bin|Any file (*.*)|*.*</source>
        <extracomment>File dialog filter: descriptions and patterns separated by &apos;|&apos;; translate the descriptions only</extracomment>
        <translation>XML-Datei (*.xml)|*.xml|Speicherabbild (*.bin)|*.bin|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>The working configuration compared with the file %1.</source>
        <translation>Aktuelle Konfiguration im Vergleich zur Datei %1.</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Sicherung</translation>
    </message>
    <message>
        <source>The working configuration compared with the backup of controller %1 read %2.</source>
        <translation>Aktuelle Konfiguration im Vergleich zur Sicherung der Steuerung %1, gelesen %2.</translation>
    </message>
    <message>
        <source>Unable to compare with &quot;%1&quot;.

%2</source>
        <translation>Vergleich mit &quot;%1&quot; nicht möglich.

%2</translation>
    </message>
    <message>
        <source>No differences.</source>
        <translation>Keine Unterschiede.</translation>
    </message>
    <message>
        <source>1 difference.</source>
        <translation>1 Unterschied.</translation>
    </message>
    <message>
        <source>%1 differences.</source>
        <translation>%1 Unterschiede.</translation>
    </message>
    <message>
        <source>%1   controller %2</source>
        <extracomment>A backup in the list: when it was read, and the controller&apos;s serial number</extracomment>
        <translation>%1   Steuerung %2</translation>
    </message>
    <message>
        <source>No backups yet: every read leaves one.</source>
        <translation>Noch keine Sicherungen: Bei jedem Lesen wird eine angelegt.</translation>
    </message>
</context>
<context>
    <name>qd::gui::TCopyMachineForm</name>
    <message>
        <source>Copy Machine</source>
        <translation>Maschine kopieren</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Maschine %1</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Copy from</source>
        <translation>Kopieren von</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>Kopieren nach</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Copy ?</source>
        <translation>Kopieren?</translation>
    </message>
    <message>
        <source>Copy %1 to all.</source>
        <translation>%1 auf alle Maschinen kopieren.</translation>
    </message>
    <message>
        <source>Copy %1 to %2.</source>
        <translation>%1 auf %2 kopieren.</translation>
    </message>
</context>
<context>
    <name>qd::gui::TEEPROMForm</name>
    <message>
        <source>Read / write</source>
        <translation>Lesen / Schreiben</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Write serial</source>
        <translation>Seriennr. schreiben</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Transfer result</source>
        <translation>Übertragungsergebnis</translation>
    </message>
    <message>
        <source>Transfer state</source>
        <translation>Übertragungszustand</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>System login code</source>
        <translation>System-Anmeldecode</translation>
    </message>
    <message>
        <source>Controller date</source>
        <translation>Datum der Steuerung</translation>
    </message>
    <message>
        <source>Used text</source>
        <translation>Belegter Text</translation>
    </message>
    <message>
        <source>Transfer status</source>
        <translation>Übertragungsstatus</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... und %1 weitere</translation>
    </message>
    <message>
        <source>%1 error</source>
        <translation>%1 Fehler</translation>
    </message>
    <message>
        <source>%1 errors</source>
        <translation>%1 Fehler</translation>
    </message>
    <message>
        <source>%1 warning</source>
        <translation>%1 Warnung</translation>
    </message>
    <message>
        <source>%1 warnings</source>
        <translation>%1 Warnungen</translation>
    </message>
    <message>
        <source>The program check found %1 and %2:
%3

Write anyway?</source>
        <translation>Die Programmprüfung hat %1 und %2 gefunden:
%3

Trotzdem schreiben?</translation>
    </message>
    <message>
        <source>Program check</source>
        <translation>Programmprüfung</translation>
    </message>
</context>
<context>
    <name>qd::gui::TFirmwareUpdateForm</name>
    <message>
        <source>Firmware update</source>
        <translation>Firmware-Update</translation>
    </message>
    <message>
        <source> File name </source>
        <translation> Dateiname </translation>
    </message>
    <message>
        <source>File name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Choose file</source>
        <translation>Datei wählen</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>File date</source>
        <translation>Dateidatum</translation>
    </message>
    <message>
        <source>Code start</source>
        <translation>Code-Anfang</translation>
    </message>
    <message>
        <source>Code end</source>
        <translation>Code-Ende</translation>
    </message>
    <message>
        <source>Code used</source>
        <translation>Code belegt</translation>
    </message>
    <message>
        <source>Check sum</source>
        <translation>Prüfsumme</translation>
    </message>
    <message>
        <source> Programming </source>
        <translation> Programmierung </translation>
    </message>
    <message>
        <source>Programming state</source>
        <translation>Programmierstatus</translation>
    </message>
    <message>
        <source>F9: Start</source>
        <translation>F9: Start</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Firmware file (*.hex)|*.hex|Any file (*.*)|*.*</source>
        <extracomment>Pairs of a description and its patterns, separated by &apos;|&apos;: only the descriptions are translated.</extracomment>
        <translation>Firmware-Datei (*.hex)|*.hex|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Program anyway?</source>
        <translation>Trotzdem programmieren?</translation>
    </message>
</context>
<context>
    <name>qd::gui::TLogDataForm</name>
    <message>
        <source>Log data</source>
        <translation>Protokolldaten</translation>
    </message>
    <message>
        <source>Machine</source>
        <translation>Maschine</translation>
    </message>
    <message>
        <source>Reset log</source>
        <translation>Protokoll zurücksetzen</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>CSV exportieren...</translation>
    </message>
    <message>
        <source>Save the selected months and machines as a CSV file</source>
        <translation>Die gewählten Monate und Maschinen als CSV-Datei speichern</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Bis</translation>
    </message>
    <message>
        <source> Volume </source>
        <translation> Menge </translation>
    </message>
    <message>
        <source>Pump %1</source>
        <translation>Pumpe %1</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
    <message>
        <source> Wash count </source>
        <translation> Anzahl Waschgänge </translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Programm %1</translation>
    </message>
    <message>
        <source>No program</source>
        <translation>Ohne Programm</translation>
    </message>
    <message>
        <source>Softner count</source>
        <translation>Anzahl Weichspüler</translation>
    </message>
    <message>
        <source> Costs </source>
        <translation> Kosten </translation>
    </message>
    <message>
        <source>Price per litre</source>
        <translation>Preis pro Liter</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Kosten</translation>
    </message>
    <message>
        <source>none</source>
        <extracomment>Shown in an empty price field: the pump has no price</extracomment>
        <translation>kein Preis</translation>
    </message>
    <message>
        <source>Price per litre of the detergent of pump %1</source>
        <translation>Preis pro Liter des Waschmittels von Pumpe %1</translation>
    </message>
    <message>
        <source>Per wash</source>
        <translation>Pro Waschgang</translation>
    </message>
    <message>
        <source>Export consumption log</source>
        <translation>Verbrauchsprotokoll exportieren</translation>
    </message>
</context>
<context>
    <name>qd::gui::TLoginForm</name>
    <message>
        <source>Login</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>Login code</source>
        <translation>Anmeldecode</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>qd::gui::TMachineForm</name>
    <message>
        <source>Machine %1</source>
        <translation>Maschine %1</translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Programm %1</translation>
    </message>
    <message>
        <source>Allow no program</source>
        <translation>Ohne Programm zulassen</translation>
    </message>
    <message>
        <source>Short flush time</source>
        <translation>Kurze Spülzeit</translation>
    </message>
    <message>
        <source>sec.</source>
        <translation>Sek.</translation>
    </message>
    <message>
        <source>Long flush time</source>
        <translation>Lange Spülzeit</translation>
    </message>
    <message>
        <source>Program timeout</source>
        <translation>Programm-Timeout</translation>
    </message>
    <message>
        <source>min.</source>
        <translation>Min.</translation>
    </message>
    <message>
        <source>Fabric softner</source>
        <translation>Weichspüler</translation>
    </message>
    <message>
        <source>Default program</source>
        <translation>Standardprogramm</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source> Calibration </source>
        <translation> Kalibrierung </translation>
    </message>
    <message>
        <source>^%1:Test</source>
        <translation>^%1:Test</translation>
    </message>
    <message>
        <source>Calibrate pump %1 (Ctrl+%1)</source>
        <translation>Pumpe %1 kalibrieren (Strg+%1)</translation>
    </message>
    <message>
        <source>Test pump %1</source>
        <translation>Pumpe %1 testen</translation>
    </message>
    <message>
        <source>Pump %1</source>
        <translation>Pumpe %1</translation>
    </message>
    <message>
        <source>sec./100ml</source>
        <translation>Sek./100 ml</translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>Eingang %1</translation>
    </message>
    <message>
        <source>Input %1 weight</source>
        <translation>Gewicht Eingang %1</translation>
    </message>
    <message>
        <source>K</source>
        <extracomment>One-letter indicator: a keyboard is connected.</extracomment>
        <translation>T</translation>
    </message>
    <message>
        <source>Keyboard connected</source>
        <translation>Tastatur angeschlossen</translation>
    </message>
    <message>
        <source>T</source>
        <extracomment>One-letter indicator: the trigger module is online.</extracomment>
        <translation>M</translation>
    </message>
    <message>
        <source>Trigger online</source>
        <translation>Triggermodul online</translation>
    </message>
    <message>
        <source>S</source>
        <extracomment>One-letter indicator: serial connection to the machine.</extracomment>
        <translation>S</translation>
    </message>
    <message>
        <source>Serial connection to the machine</source>
        <translation>Serielle Verbindung zur Maschine</translation>
    </message>
    <message>
        <source>Setup...</source>
        <translation>Einstellungen...</translation>
    </message>
    <message>
        <source>Trigger setup</source>
        <translation>Trigger-Einstellungen</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>active</source>
        <translation>aktiv</translation>
    </message>
    <message>
        <source>inactive</source>
        <translation>inaktiv</translation>
    </message>
    <message>
        <source>running</source>
        <translation>läuft</translation>
    </message>
</context>
<context>
    <name>qd::gui::TMainForm</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Login...</source>
        <translation>Anmelden...</translation>
    </message>
    <message>
        <source>New System...</source>
        <translation>Neues System...</translation>
    </message>
    <message>
        <source>Load System...</source>
        <translation>System laden...</translation>
    </message>
    <message>
        <source>Save System...</source>
        <translation>System speichern...</translation>
    </message>
    <message>
        <source>Firmware update, QD310...</source>
        <translation>Firmware-Update, QD310...</translation>
    </message>
    <message>
        <source>Firmware update, Trigger...</source>
        <translation>Firmware-Update, Trigger...</translation>
    </message>
    <message>
        <source>Print service report...</source>
        <translation>Servicebericht drucken...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;System</source>
        <translation>&amp;System</translation>
    </message>
    <message>
        <source>Read/write system data...</source>
        <translation>Systemdaten lesen/schreiben...</translation>
    </message>
    <message>
        <source>System setup...</source>
        <translation>Systemeinstellungen...</translation>
    </message>
    <message>
        <source>Communication...</source>
        <translation>Kommunikation...</translation>
    </message>
    <message>
        <source>Log data...</source>
        <translation>Protokolldaten...</translation>
    </message>
    <message>
        <source>Alarm log...</source>
        <translation>Alarmprotokoll...</translation>
    </message>
    <message>
        <source>Copy Machine...</source>
        <translation>Maschine kopieren...</translation>
    </message>
    <message>
        <source>Clear Machine</source>
        <translation>Maschine löschen</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Maschine %1</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Machine %1...</source>
        <translation>Maschine %1...</translation>
    </message>
    <message>
        <source>&amp;Compare</source>
        <translation>&amp;Vergleichen</translation>
    </message>
    <message>
        <source>Compare with controller...</source>
        <translation>Mit Steuerung vergleichen...</translation>
    </message>
    <message>
        <source>Compare with file...</source>
        <translation>Mit Datei vergleichen...</translation>
    </message>
    <message>
        <source>Compare with backup...</source>
        <translation>Mit Sicherung vergleichen...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Clear all data for all Machines

Are you sure?</source>
        <translation>Alle Daten aller Maschinen löschen

Sind Sie sicher?</translation>
    </message>
    <message>
        <source>Clear all data for Machine %1

Are you sure?</source>
        <translation>Alle Daten der Maschine %1 löschen

Sind Sie sicher?</translation>
    </message>
    <message>
        <source>QD System, Version: %1.%2</source>
        <translation>QD System, Version: %1.%2</translation>
    </message>
    <message>
        <source>QD310 setup</source>
        <translation>QD310-Einrichtung</translation>
    </message>
    <message>
        <source>Format: %1.%2</source>
        <translation>Format: %1.%2</translation>
    </message>
    <message>
        <source>Unsaved program data, update before save?</source>
        <translation>Nicht übernommene Programmdaten. Vor dem Speichern übernehmen?</translation>
    </message>
    <message>
        <source>Load system data</source>
        <translation>Systemdaten laden</translation>
    </message>
    <message>
        <source>XML-file (*.xml)|*.xml|Any file (*.*)|*.*</source>
        <extracomment>Pairs of a description and its patterns, separated by &apos;|&apos;: only the descriptions are translated.</extracomment>
        <translation>XML-Datei (*.xml)|*.xml|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Unable to load the system file &quot;%1&quot;.</source>
        <translation>Die Systemdatei &quot;%1&quot; kann nicht geladen werden.</translation>
    </message>
    <message>
        <source>Save System data</source>
        <translation>Systemdaten speichern</translation>
    </message>
    <message>
        <source>XML-file|*.xml|Any file|*.*</source>
        <extracomment>Pairs of a description and its patterns, separated by &apos;|&apos;: only the descriptions are translated.</extracomment>
        <translation>XML-Datei|*.xml|Alle Dateien|*.*</translation>
    </message>
    <message>
        <source>Unable to save the system file &quot;%1&quot;.</source>
        <translation>Die Systemdatei &quot;%1&quot; kann nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The Electrolux programs 16..30 of machine %1 are not kept in the system file: they stay in the controller only when written to it.</source>
        <translation>Die Electrolux-Programme 16..30 der Maschine %1 werden nicht in der Systemdatei gespeichert: sie bleiben nur dann in der Steuerung erhalten, wenn sie in die Steuerung geschrieben werden.</translation>
    </message>
    <message>
        <source>Sites...</source>
        <translation>Standorte...</translation>
    </message>
</context>
<context>
    <name>qd::gui::TProgramForm</name>
    <message>
        <source>Active</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Softner</source>
        <translation>Weichspüler</translation>
    </message>
    <message>
        <source>Default softner</source>
        <translation>Standard-Weichspüler</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source>Mid</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Debug</source>
        <translation>Debug</translation>
    </message>
    <message>
        <source>Follow the line the controller runs</source>
        <translation>Der von der Steuerung ausgeführten Zeile folgen</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>Läuft</translation>
    </message>
    <message>
        <source>Running line</source>
        <translation>Laufende Zeile</translation>
    </message>
    <message>
        <source>The selected grid line is the line the controller is running</source>
        <translation>Die markierte Tabellenzeile ist die Zeile, die die Steuerung gerade ausführt</translation>
    </message>
    <message>
        <source> Sequence </source>
        <translation> Ablauf </translation>
    </message>
    <message>
        <source>Program lines</source>
        <translation>Programmzeilen</translation>
    </message>
    <message>
        <source> Line</source>
        <translation> Zeile</translation>
    </message>
    <message>
        <source> Instruction</source>
        <translation> Anweisung</translation>
    </message>
    <message>
        <source> Parameteres</source>
        <translation> Parameter</translation>
    </message>
    <message>
        <source> Comment</source>
        <translation> Kommentar</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Prüfung</translation>
    </message>
    <message>
        <source> Instruction </source>
        <translation> Anweisung </translation>
    </message>
    <message>
        <source>Instruction</source>
        <translation>Anweisung</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>Copy program</source>
        <translation>Programm kopieren</translation>
    </message>
    <message>
        <source>Insert program</source>
        <translation>Programm einfügen</translation>
    </message>
    <message>
        <source>Delete program</source>
        <translation>Programm löschen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Default level</source>
        <translation>Standardstufe</translation>
    </message>
    <message>
        <source>Machine %1, %2</source>
        <translation>Maschine %1, %2</translation>
    </message>
    <message>
        <source>Program modfied, save?</source>
        <translation>Programm geändert. Speichern?</translation>
    </message>
</context>
<context>
    <name>qd::gui::TRemoteLoginForm</name>
    <message>
        <source>Remote login</source>
        <translation>Fernanmeldung</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source> Dispenser systems </source>
        <translation> Dosiersysteme </translation>
    </message>
    <message>
        <source>Dispenser systems</source>
        <translation>Dosiersysteme</translation>
    </message>
</context>
<context>
    <name>qd::gui::TServiceReportForm</name>
    <message>
        <source>Service report</source>
        <translation>Servicebericht</translation>
    </message>
    <message>
        <source>Consumption period</source>
        <translation>Verbrauchszeitraum</translation>
    </message>
    <message>
        <source>&amp;From</source>
        <translation>&amp;Von</translation>
    </message>
    <message>
        <source>&amp;To</source>
        <translation>&amp;Bis</translation>
    </message>
    <message>
        <source>&amp;Machine</source>
        <translation>&amp;Maschine</translation>
    </message>
    <message>
        <source>Save PDF...</source>
        <translation>PDF speichern...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>working configuration, not saved</source>
        <translation>aktuelle Konfiguration, nicht gespeichert</translation>
    </message>
    <message>
        <source>Save service report</source>
        <translation>Servicebericht speichern</translation>
    </message>
    <message>
        <source>PDF file|*.pdf|Any file|*.*</source>
        <extracomment>File dialog filter: descriptions and patterns separated by &apos;|&apos;; translate the descriptions only</extracomment>
        <translation>PDF-Datei|*.pdf|Alle Dateien|*.*</translation>
    </message>
    <message>
        <source>Unable to save the service report

%1</source>
        <translation>Der Servicebericht kann nicht gespeichert werden

%1</translation>
    </message>
    <message>
        <source>Unable to print the service report

The printer could not be started.</source>
        <translation>Der Servicebericht kann nicht gedruckt werden

Der Drucker konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Months from the &amp;history store</source>
        <translation>Monate aus der &amp;Verlaufsdatenbank</translation>
    </message>
    <message>
        <source>Every month recorded of this controller, also those it no longer keeps</source>
        <translation>Jeder aufgezeichnete Monat dieser Steuerung, auch die, die sie nicht mehr speichert</translation>
    </message>
    <message>
        <source>History store status</source>
        <translation>Status der Verlaufsdatenbank</translation>
    </message>
    <message>
        <source>The history store cannot be used: %1</source>
        <translation>Die Verlaufsdatenbank kann nicht verwendet werden: %1</translation>
    </message>
    <message>
        <source>The history store holds no months of controller %1.</source>
        <translation>Die Verlaufsdatenbank enthält keine Monate der Steuerung %1.</translation>
    </message>
    <message>
        <source>%1 months of controller %2 in the history store.</source>
        <translation>%1 Monate der Steuerung %2 in der Verlaufsdatenbank.</translation>
    </message>
</context>
<context>
    <name>qd::gui::TSitesForm</name>
    <message>
        <source>Sites</source>
        <translation>Standorte</translation>
    </message>
    <message>
        <source>History store:</source>
        <translation>Verlaufsdatenbank:</translation>
    </message>
    <message>
        <source>History store</source>
        <translation>Verlaufsdatenbank</translation>
    </message>
    <message>
        <source>C&amp;hange...</source>
        <translation>&amp;Ändern...</translation>
    </message>
    <message>
        <source>Change the history store</source>
        <translation>Verlaufsdatenbank ändern</translation>
    </message>
    <message>
        <source>Use another history store: an SQLite file or a PostgreSQL database</source>
        <translation>Eine andere Verlaufsdatenbank verwenden: eine SQLite-Datei oder eine PostgreSQL-Datenbank</translation>
    </message>
    <message>
        <source>Name or serial number</source>
        <translation>Name oder Seriennummer</translation>
    </message>
    <message>
        <source>&amp;Search:</source>
        <translation>&amp;Suchen:</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>A&amp;ktualisieren</translation>
    </message>
    <message>
        <source>Read the sites from the history store again (F5)</source>
        <translation>Die Standorte erneut aus der Verlaufsdatenbank lesen (F5)</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Seriennr.</translation>
    </message>
    <message>
        <source>System name</source>
        <translation>Systemname</translation>
    </message>
    <message>
        <source>Last contact</source>
        <translation>Letzter Kontakt</translation>
    </message>
    <message>
        <source>New alarms</source>
        <translation>Neue Alarme</translation>
    </message>
    <message>
        <source>Litres, 12 months</source>
        <translation>Liter, 12 Monate</translation>
    </message>
    <message>
        <source>Cost, 12 months</source>
        <translation>Kosten, 12 Monate</translation>
    </message>
    <message>
        <source>Alarms since the contact before the last one</source>
        <translation>Alarme seit dem vorletzten Kontakt</translation>
    </message>
    <message>
        <source>All pumps, the twelve months up to the last contact</source>
        <translation>Alle Pumpen, die zwölf Monate bis zum letzten Kontakt</translation>
    </message>
    <message>
        <source>At the pump prices of the consumption log window; empty without prices</source>
        <translation>Zu den Pumpenpreisen des Fensters Protokolldaten; leer ohne Preise</translation>
    </message>
    <message>
        <source>History store status</source>
        <translation>Status der Verlaufsdatenbank</translation>
    </message>
    <message>
        <source>Site chosen</source>
        <translation>Gewählter Standort</translation>
    </message>
    <message>
        <source>Consumption</source>
        <translation>Verbrauch</translation>
    </message>
    <message>
        <source>Configuration timeline</source>
        <translation>Konfigurationsverlauf</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>%1 (default)</source>
        <extracomment>The history store&apos;s location when the preferences name none</extracomment>
        <translation>%1 (Standard)</translation>
    </message>
    <message>
        <source>Loading the sites from the history store %1...</source>
        <translation>Die Standorte werden aus der Verlaufsdatenbank %1 geladen...</translation>
    </message>
    <message>
        <source>The history store %1 cannot be used: %2</source>
        <translation>Die Verlaufsdatenbank %1 kann nicht verwendet werden: %2</translation>
    </message>
    <message>
        <source>No history store can be used: %1</source>
        <translation>Es kann keine Verlaufsdatenbank verwendet werden: %1</translation>
    </message>
    <message>
        <source>The site %1 is not in the history store.</source>
        <translation>Der Standort %1 ist nicht in der Verlaufsdatenbank.</translation>
    </message>
    <message>
        <source>No sites in the history store %1 yet: every read from a controller is recorded there.</source>
        <translation>Noch keine Standorte in der Verlaufsdatenbank %1: Jeder Lesevorgang einer Steuerung wird dort aufgezeichnet.</translation>
    </message>
    <message>
        <source>1 site in the history store %1.</source>
        <translation>1 Standort in der Verlaufsdatenbank %1.</translation>
    </message>
    <message>
        <source>%1 sites in the history store %2.</source>
        <translation>%1 Standorte in der Verlaufsdatenbank %2.</translation>
    </message>
    <message>
        <source>Matching the search: %1.</source>
        <translation>Passend zur Suche: %1.</translation>
    </message>
    <message>
        <source>Loading the site %1...</source>
        <translation>Der Standort %1 wird geladen...</translation>
    </message>
    <message>
        <source>The site %1 could not be read: %2</source>
        <translation>Der Standort %1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 (serial %2), hardware %3, firmware %4; first contact %5, last contact %6.</source>
        <translation>%1 (Seriennr. %2), Hardware %3, Firmware %4; erster Kontakt %5, letzter Kontakt %6.</translation>
    </message>
    <message>
        <source>Choose a site in the list to see its history.</source>
        <translation>Wählen Sie einen Standort in der Liste, um seinen Verlauf zu sehen.</translation>
    </message>
    <message>
        <source>The history store: the path of an SQLite file, or a PostgreSQL database as
postgresql://[USER@]HOST[:PORT]/DATABASE (its password belongs in the PostgreSQL
password file, never here). Empty for the default store:
%1</source>
        <translation>Die Verlaufsdatenbank: der Pfad einer SQLite-Datei oder eine PostgreSQL-Datenbank als
postgresql://[BENUTZER@]HOST[:PORT]/DATENBANK (ihr Passwort gehört in die Passwortdatei
von PostgreSQL, nie hierher). Leer für die Standarddatenbank:
%1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no history store this program can use.

%2</source>
        <translation>&quot;%1&quot; ist keine Verlaufsdatenbank, die dieses Programm verwenden kann.

%2</translation>
    </message>
</context>
<context>
    <name>qd::gui::TSystemSetupForm</name>
    <message>
        <source>System setup</source>
        <translation>Systemeinstellungen</translation>
    </message>
    <message>
        <source>Main setup</source>
        <translation>Grundeinstellungen</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Soap amount alarm</source>
        <translation>Alarm Waschmittelmenge</translation>
    </message>
    <message>
        <source> Test</source>
        <translation> Test</translation>
    </message>
    <message>
        <source>Ethernet trigger test</source>
        <translation>Ethernet-Trigger-Test</translation>
    </message>
    <message>
        <source> Machines </source>
        <translation> Maschinen </translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Maschine %1</translation>
    </message>
    <message>
        <source> Location </source>
        <translation> Standort </translation>
    </message>
    <message>
        <source>System name</source>
        <translation>Systemname</translation>
    </message>
    <message>
        <source> PC settings </source>
        <translation> PC-Einstellungen </translation>
    </message>
    <message>
        <source>Default input filter time</source>
        <translation>Standard-Eingangsfilterzeit</translation>
    </message>
    <message>
        <source>sec.</source>
        <translation>Sek.</translation>
    </message>
    <message>
        <source> Watch </source>
        <translation> Uhr </translation>
    </message>
    <message>
        <source>QD310 watch:</source>
        <translation>QD310-Uhr:</translation>
    </message>
    <message>
        <source> Version info </source>
        <translation> Versionsinfo </translation>
    </message>
    <message>
        <source>Serial:</source>
        <translation>Seriennr.:</translation>
    </message>
    <message>
        <source>Hardware version:</source>
        <translation>Hardwareversion:</translation>
    </message>
    <message>
        <source>Firmware version:</source>
        <translation>Firmwareversion:</translation>
    </message>
    <message>
        <source>Recipient (email or mobile number)</source>
        <translation>Empfänger (E-Mail oder Mobilnummer)</translation>
    </message>
    <message>
        <source>Recipient %1</source>
        <translation>Empfänger %1</translation>
    </message>
    <message>
        <source> Group 1 (send email or SMS) </source>
        <translation> Gruppe 1 (E-Mail oder SMS senden) </translation>
    </message>
    <message>
        <source> Group 2 (send email or SMS) </source>
        <translation> Gruppe 2 (E-Mail oder SMS senden) </translation>
    </message>
    <message>
        <source> Alarm log (saved in EEPROM) </source>
        <translation> Alarmprotokoll (im EEPROM gespeichert) </translation>
    </message>
    <message>
        <source> Active high (Normally Closed sensor contact) </source>
        <translation> High-aktiv (Sensorkontakt als Öffner) </translation>
    </message>
    <message>
        <source>Extra</source>
        <translation>Zusatz</translation>
    </message>
    <message>
        <source>Common</source>
        <translation>Gemeinsam</translation>
    </message>
    <message>
        <source>Alarm on used soap amount</source>
        <translation>Alarm bei verbrauchter Waschmittelmenge</translation>
    </message>
    <message>
        <source>Alarm amount</source>
        <translation>Alarmmenge</translation>
    </message>
    <message>
        <source>Used amount</source>
        <translation>Verbrauchte Menge</translation>
    </message>
    <message>
        <source>Pump %1 alarm amount</source>
        <translation>Pumpe %1 Alarmmenge</translation>
    </message>
    <message>
        <source>Pump %1 used amount</source>
        <translation>Pumpe %1 verbrauchte Menge</translation>
    </message>
    <message>
        <source>Pump %1</source>
        <translation>Pumpe %1</translation>
    </message>
    <message>
        <source>[litre]</source>
        <translation>[Liter]</translation>
    </message>
    <message>
        <source> Pump  </source>
        <translation> Pumpe  </translation>
    </message>
    <message>
        <source>Control</source>
        <translation>Steuern</translation>
    </message>
    <message>
        <source>Pump %1 control</source>
        <translation>Pumpe %1 steuern</translation>
    </message>
    <message>
        <source> Flush </source>
        <translation> Spülen </translation>
    </message>
    <message>
        <source>Flush water</source>
        <translation>Spülwasser</translation>
    </message>
    <message>
        <source>Flush water control</source>
        <translation>Spülwasser steuern</translation>
    </message>
    <message>
        <source>Flush drain</source>
        <translation>Spülablauf</translation>
    </message>
    <message>
        <source>Flush drain control</source>
        <translation>Spülablauf steuern</translation>
    </message>
    <message>
        <source>Water</source>
        <translation>Wasser</translation>
    </message>
    <message>
        <source>Drain</source>
        <translation>Ablauf</translation>
    </message>
    <message>
        <source> Machine </source>
        <translation> Maschine </translation>
    </message>
    <message>
        <source>Machine %1 signal</source>
        <translation>Signal Maschine %1</translation>
    </message>
    <message>
        <source>Machine %1 control</source>
        <translation>Maschine %1 steuern</translation>
    </message>
    <message>
        <source> Alarm </source>
        <translation> Alarm </translation>
    </message>
    <message>
        <source>Alarm output</source>
        <translation>Alarmausgang</translation>
    </message>
    <message>
        <source> Control</source>
        <translation> Steuern</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgang</translation>
    </message>
    <message>
        <source> Reset </source>
        <translation> Zurücksetzen </translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Machine:</source>
        <translation>Maschine:</translation>
    </message>
    <message>
        <source>Reset machine</source>
        <translation>Maschine zurücksetzen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Monitor status</source>
        <translation>Status überwachen</translation>
    </message>
    <message>
        <source>Miele Logic monitor</source>
        <translation>Miele Logic Monitor</translation>
    </message>
</context>
<context>
    <name>qd::gui::TTriggerForm</name>
    <message>
        <source>Trigger, Machine %1</source>
        <translation>Trigger, Maschine %1</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source> Volume by weight adjustment  </source>
        <translation> Mengenanpassung nach Gewicht  </translation>
    </message>
    <message>
        <source>Low level adjust  -</source>
        <translation>Anpassung Stufe niedrig  -</translation>
    </message>
    <message>
        <source>High level adjust   +</source>
        <translation>Anpassung Stufe hoch   +</translation>
    </message>
    <message>
        <source>Max. weight</source>
        <translation>Max. Gewicht</translation>
    </message>
    <message>
        <source> Keyboard lock &amp;&amp; machine reset </source>
        <translation> Tastatursperre &amp;&amp; Maschinen-Reset </translation>
    </message>
    <message>
        <source>Keyboard lock %1</source>
        <translation>Tastatursperre %1</translation>
    </message>
    <message>
        <source>Keyboard lock</source>
        <translation>Tastatursperre</translation>
    </message>
    <message>
        <source>Keyboard lock delay</source>
        <translation>Verzögerung Tastatursperre</translation>
    </message>
    <message>
        <source>Delay:</source>
        <translation>Verzögerung:</translation>
    </message>
    <message>
        <source>sec.</source>
        <translation>Sek.</translation>
    </message>
    <message>
        <source>Machine reset</source>
        <translation>Maschinen-Reset</translation>
    </message>
    <message>
        <source>Machine reset delay</source>
        <translation>Verzögerung Maschinen-Reset</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>Accessible name of a Miele Logic text: its selection group, then its label.</extracomment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>Softner 2</source>
        <translation>Weichspüler 2</translation>
    </message>
    <message>
        <source>Pump 7</source>
        <translation>Pumpe 7</translation>
    </message>
    <message>
        <source> Electrolux, 5xxx  Program mapping </source>
        <translation> Electrolux, 5xxx  Programmzuordnung </translation>
    </message>
    <message>
        <source>Electrolux program %1</source>
        <translation>Electrolux-Programm %1</translation>
    </message>
    <message>
        <source>Selected program number:</source>
        <translation>Gewählte Programmnummer:</translation>
    </message>
    <message>
        <source> Miele Logic, Ethernet Trigger </source>
        <translation> Miele Logic, Ethernet-Trigger </translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>Maschinen-ID</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Trigger module version</source>
        <translation>Version des Triggermoduls</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Not in use</source>
        <translation>Nicht verwendet</translation>
    </message>
    <message>
        <source>Save modifications?</source>
        <translation>Änderungen speichern?</translation>
    </message>
</context>
</TS>
