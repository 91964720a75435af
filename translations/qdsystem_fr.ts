<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AlarmLog</name>
    <message>
        <source>, Type= QD520.</source>
        <translation>, Type= QD520.</translation>
    </message>
    <message>
        <source>, Type= Nortec.</source>
        <translation>, Type= Nortec.</translation>
    </message>
    <message>
        <source>, Type= Nyborg-W3.</source>
        <translation>, Type= Nyborg-W3.</translation>
    </message>
    <message>
        <source>, Type= Miele serial.</source>
        <translation>, Type= Miele série.</translation>
    </message>
    <message>
        <source>, Type= Electrolux-5xx.</source>
        <translation>, Type= Electrolux-5xx.</translation>
    </message>
    <message>
        <source>, Type= Miele Ethernet.</source>
        <translation>, Type= Miele Ethernet.</translation>
    </message>
    <message>
        <source>Low soap level, common input.</source>
        <translation>Niveau de lessive bas, entrée commune.</translation>
    </message>
    <message>
        <source>Low soap level, Pump: %1.</source>
        <translation>Niveau de lessive bas, pompe : %1.</translation>
    </message>
    <message>
        <source>Pressure alarm.</source>
        <translation>Alarme de pression.</translation>
    </message>
    <message>
        <source>Trigger error, Machine: %1</source>
        <translation>Erreur trigger, machine : %1</translation>
    </message>
    <message>
        <source>Keyboard error, Machine: %1.</source>
        <translation>Erreur clavier, machine : %1.</translation>
    </message>
    <message>
        <source>Dispense error, Machine: %1.</source>
        <translation>Erreur de dosage, machine : %1.</translation>
    </message>
    <message>
        <source>Alarm output reset.</source>
        <translation>Sortie alarme réinitialisée.</translation>
    </message>
    <message>
        <source>Number of alarms: %1.</source>
        <translation>Nombre d&apos;alarmes : %1.</translation>
    </message>
    <message>
        <source>Pressure alarm</source>
        <translation>Alarme de pression</translation>
    </message>
    <message>
        <source>Common low soap level</source>
        <translation>Niveau de lessive bas, entrée commune</translation>
    </message>
    <message>
        <source>Low soap level, Pump: %1</source>
        <translation>Niveau de lessive bas, pompe : %1</translation>
    </message>
    <message>
        <source>Keyboard error, Machine: %1</source>
        <translation>Erreur clavier, machine : %1</translation>
    </message>
    <message>
        <source>Miele Logic Ethernet not connected</source>
        <translation>Miele Logic Ethernet non connecté</translation>
    </message>
    <message>
        <source>Reset alarm log

Are you sure?</source>
        <translation>Réinitialiser le journal des alarmes

Êtes-vous sûr ?</translation>
    </message>
    <message>
        <source>Unable to reset alarm log

System not connected.</source>
        <translation>Impossible de réinitialiser le journal des alarmes

Système non connecté.</translation>
    </message>
</context>
<context>
    <name>BootLoader</name>
    <message>
        <source>Started, waiting...</source>
        <translation>Démarré, attente...</translation>
    </message>
    <message>
        <source>Programming...</source>
        <translation>Programmation...</translation>
    </message>
    <message>
        <source>Completed, OK.</source>
        <translation>Terminé, OK.</translation>
    </message>
    <message>
        <source>Checksum error</source>
        <translation>Erreur de somme de contrôle</translation>
    </message>
    <message>
        <source>Timeout error!</source>
        <translation>Délai dépassé !</translation>
    </message>
    <message>
        <source>File loaded</source>
        <translation>Fichier chargé</translation>
    </message>
</context>
<context>
    <name>BusLink</name>
    <message>
        <source>Ready</source>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>Port open</source>
        <translation>Port ouvert</translation>
    </message>
    <message>
        <source>Port closed</source>
        <translation>Port fermé</translation>
    </message>
    <message>
        <source>Closed</source>
        <translation>Fermé</translation>
    </message>
    <message>
        <source>Rx: %1</source>
        <translation>Rx : %1</translation>
    </message>
    <message>
        <source>Tx: %1</source>
        <translation>Tx : %1</translation>
    </message>
    <message>
        <source>Sync: %1</source>
        <translation>Sync : %1</translation>
    </message>
    <message>
        <source>Retransmit: %1</source>
        <translation>Retransmissions : %1</translation>
    </message>
    <message>
        <source>Checksum error: %1</source>
        <translation>Erreurs de somme de contrôle : %1</translation>
    </message>
</context>
<context>
    <name>CalibrationHistory</name>
    <message>
        <source>%1  %2 -&gt; %3 s/100 ml, %4 ml measured</source>
        <translation>%1  %2 -&gt; %3 s/100 ml, %4 ml mesurés</translation>
    </message>
</context>
<context>
    <name>ConfigDiff</name>
    <message>
        <source>Level alarm</source>
        <translation>Alarme de niveau</translation>
    </message>
    <message>
        <source>Water alarm</source>
        <translation>Alarme pression d&apos;eau</translation>
    </message>
    <message>
        <source>Trigger error</source>
        <translation>Erreur trigger</translation>
    </message>
    <message>
        <source>Keyboard error</source>
        <translation>Erreur clavier</translation>
    </message>
    <message>
        <source>Dispense error</source>
        <translation>Erreur de dosage</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Bas</translation>
    </message>
    <message>
        <source>Mid</source>
        <translation>Moyen</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Haut</translation>
    </message>
    <message>
        <source>on</source>
        <translation>activé</translation>
    </message>
    <message>
        <source>off</source>
        <translation>désactivé</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>Ligne %1</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Commentaire</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Actif</translation>
    </message>
    <message>
        <source>Softner</source>
        <translation>Assouplissant</translation>
    </message>
    <message>
        <source>Default softner</source>
        <translation>Assouplissant par défaut</translation>
    </message>
    <message>
        <source>Default level</source>
        <translation>Niveau par défaut</translation>
    </message>
    <message>
        <source>Type %1</source>
        <translation>Type %1</translation>
    </message>
    <message>
        <source>Input %1, falling edge</source>
        <translation>Entrée %1, front descendant</translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>Entrée %1</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Low adjust %</source>
        <translation>Ajustement bas %</translation>
    </message>
    <message>
        <source>High adjust %</source>
        <translation>Ajustement haut %</translation>
    </message>
    <message>
        <source>Max weight</source>
        <translation>Poids max.</translation>
    </message>
    <message>
        <source>Keyboard lock inputs</source>
        <translation>Entrées verrouillage clavier</translation>
    </message>
    <message>
        <source>Keyboard lock delay</source>
        <translation>Délai verrouillage clavier</translation>
    </message>
    <message>
        <source>Reset machine input</source>
        <translation>Entrée réinitialisation machine</translation>
    </message>
    <message>
        <source>Softner 2</source>
        <translation>Assouplissant 2</translation>
    </message>
    <message>
        <source>Reset machine delay</source>
        <translation>Délai réinitialisation machine</translation>
    </message>
    <message>
        <source>Program map %1</source>
        <translation>Correspondance programme %1</translation>
    </message>
    <message>
        <source>Machine serial number</source>
        <translation>Numéro de série de la machine</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>ID machine</translation>
    </message>
    <message>
        <source>Byte %1</source>
        <translation>Octet %1</translation>
    </message>
    <message>
        <source>Default program</source>
        <translation>Programme par défaut</translation>
    </message>
    <message>
        <source>Allow no program</source>
        <translation>Autoriser sans programme</translation>
    </message>
    <message>
        <source>Fabric softner</source>
        <translation>Assouplissant</translation>
    </message>
    <message>
        <source>Short flush time</source>
        <translation>Durée rinçage court</translation>
    </message>
    <message>
        <source>Long flush time</source>
        <translation>Durée rinçage long</translation>
    </message>
    <message>
        <source>Program timeout</source>
        <translation>Durée max. programme</translation>
    </message>
    <message>
        <source>Calibration pump %1</source>
        <translation>Étalonnage pompe %1</translation>
    </message>
    <message>
        <source>Trigger</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Programme %1</translation>
    </message>
    <message>
        <source>Default input filter time</source>
        <translation>Filtre d&apos;entrée par défaut</translation>
    </message>
    <message>
        <source>Alarm group %1</source>
        <translation>Groupe d&apos;alarme %1</translation>
    </message>
    <message>
        <source>Recipient %1</source>
        <translation>Destinataire %1</translation>
    </message>
    <message>
        <source>Level alarm active high, pump %1</source>
        <translation>Alarme de niveau actif haut, pompe %1</translation>
    </message>
    <message>
        <source>Level alarm active high, extra</source>
        <translation>Alarme de niveau actif haut, extra</translation>
    </message>
    <message>
        <source>Level alarm active high, common</source>
        <translation>Alarme de niveau actif haut, commun</translation>
    </message>
    <message>
        <source>Alarm on amount</source>
        <translation>Alarme sur quantité</translation>
    </message>
    <message>
        <source>Alarm amount pump %1</source>
        <translation>Seuil d&apos;alarme pompe %1</translation>
    </message>
    <message>
        <source>Used amount pump %1</source>
        <translation>Quantité consommée pompe %1</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Système</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Machine %1</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activée</translation>
    </message>
    <message>
        <source>%1: not a controller image (%2 bytes, not %3)</source>
        <translation>%1 : pas une image mémoire de contrôleur (%2 octets au lieu de %3)</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <source>not a gateway address: %1</source>
        <translation>pas une adresse de passerelle : %1</translation>
    </message>
</context>
<context>
    <name>ConnectionDiagnosis</name>
    <message>
        <source>a process</source>
        <translation>un processus</translation>
    </message>
    <message>
        <source>%1 (pid %2)</source>
        <translation>%1 (PID %2)</translation>
    </message>
    <message>
        <source>ask for read and write access to the device, or install the udev rule</source>
        <translation>demandez l&apos;accès en lecture et en écriture au périphérique, ou installez la règle udev</translation>
    </message>
    <message>
        <source>add yourself to the %1 group (sudo usermod -aG %1 $USER) and log in again</source>
        <translation>ajoutez-vous au groupe %1 (sudo usermod -aG %1 $USER) et reconnectez-vous</translation>
    </message>
    <message>
        <source>you are in the %1 group, but this session started before that: log in again</source>
        <translation>vous êtes dans le groupe %1, mais cette session a démarré avant : reconnectez-vous</translation>
    </message>
    <message>
        <source>you are in the %1 group, but the device&apos;s mode shuts the group out: install the udev rule</source>
        <translation>vous êtes dans le groupe %1, mais les droits du périphérique excluent le groupe : installez la règle udev</translation>
    </message>
    <message>
        <source>%1: held by %2: install the udev rule or stop ModemManager</source>
        <translation>%1 : occupé par %2 : installez la règle udev ou arrêtez ModemManager</translation>
    </message>
    <message>
        <source>%1: held by %2: close that program</source>
        <translation>%1 : occupé par %2 : fermez ce programme</translation>
    </message>
    <message>
        <source>%1: locked by %2 (lock file %3): close that program</source>
        <translation>%1 : verrouillé par %2 (fichier de verrou %3) : fermez ce programme</translation>
    </message>
    <message>
        <source>%1: busy: another program has it open (one this user cannot see): close it</source>
        <translation>%1 : occupé : un autre programme l&apos;a ouvert (invisible pour cet utilisateur) : fermez-le</translation>
    </message>
    <message>
        <source>%1: %2 runs and may probe the adapter: install the udev rule or stop ModemManager</source>
        <translation>%1 : %2 est actif et peut sonder l&apos;adaptateur : installez la règle udev ou arrêtez ModemManager</translation>
    </message>
    <message>
        <source>%1: can be opened</source>
        <translation>%1 : peut être ouvert</translation>
    </message>
    <message>
        <source>%1: permission denied: %2</source>
        <translation>%1 : accès refusé : %2</translation>
    </message>
    <message>
        <source>%1: cannot be opened (%2): unplug the adapter and plug it in again</source>
        <translation>%1 : ouverture impossible (%2) : débranchez l&apos;adaptateur et rebranchez-le</translation>
    </message>
    <message>
        <source>%1: latency timer %2 ms</source>
        <translation>%1 : délai de latence %2 ms</translation>
    </message>
    <message>
        <source>%1: latency timer %2 ms: install the udev rule, or echo 1 | sudo tee %3</source>
        <translation>%1 : délai de latence %2 ms : installez la règle udev, ou exécutez echo 1 | sudo tee %3</translation>
    </message>
    <message>
        <source>%1: frames from the controller: %2 in %3</source>
        <translation>%1 : trames du contrôleur : %2 en %3</translation>
    </message>
    <message>
        <source>%1: frames from the controller: %2 in %3 (%4 with a bad checksum)</source>
        <translation>%1 : trames du contrôleur : %2 en %3 (%4 avec une somme de contrôle erronée)</translation>
    </message>
    <message>
        <source>%1: only frames with a bad checksum (%2) within %3: check the bus wiring and its termination</source>
        <translation>%1 : uniquement des trames avec une somme de contrôle erronée (%2) en %3 : vérifiez le câblage du bus et sa terminaison</translation>
    </message>
    <message>
        <source>%1: no frames from the controller within %2: check the bus wiring and that the controller is on</source>
        <translation>%1 : aucune trame du contrôleur en %2 : vérifiez le câblage du bus et que le contrôleur est sous tension</translation>
    </message>
    <message>
        <source>%1: no such device: check the name; &apos;qdtool ports --details&apos; lists serial ports</source>
        <translation>%1 : périphérique introuvable : vérifiez le nom ; &apos;qdtool ports --details&apos; liste les ports série</translation>
    </message>
    <message>
        <source>no USB serial adapter found: plug the adapter in; &apos;qdtool ports --details&apos; lists serial ports</source>
        <translation>aucun adaptateur série USB trouvé : branchez l&apos;adaptateur ; &apos;qdtool ports --details&apos; liste les ports série</translation>
    </message>
    <message>
        <source>%1: the gateway accepts connections</source>
        <translation>%1 : la passerelle accepte les connexions</translation>
    </message>
    <message>
        <source>%1: unreachable (host not found): check the address and the network connection</source>
        <translation>%1 : injoignable (hôte introuvable) : vérifiez l&apos;adresse et la connexion réseau</translation>
    </message>
    <message>
        <source>%1: refused: nothing listens there; check the address and the port (14011 unless given)</source>
        <translation>%1 : refusé : aucun service n&apos;écoute à cette adresse ; vérifiez l&apos;adresse et le port (14011 par défaut)</translation>
    </message>
    <message>
        <source>%1: no answer within %2: check the network connection and any firewall between</source>
        <translation>%1 : aucune réponse en %2 : vérifiez la connexion réseau et les éventuels pare-feu intermédiaires</translation>
    </message>
    <message>
        <source>%1: unreachable (%2): check the network connection</source>
        <translation>%1 : injoignable (%2) : vérifiez la connexion réseau</translation>
    </message>
</context>
<context>
    <name>ConsumptionChart</name>
    <message>
        <source>Jan</source>
        <extracomment>Month abbreviation on the chart&apos;s month axis</extracomment>
        <translation>janv.</translation>
    </message>
    <message>
        <source>Feb</source>
        <translation>févr.</translation>
    </message>
    <message>
        <source>Mar</source>
        <translation>mars</translation>
    </message>
    <message>
        <source>Apr</source>
        <translation>avr.</translation>
    </message>
    <message>
        <source>May</source>
        <extracomment>Month abbreviation on the chart&apos;s month axis</extracomment>
        <translation>mai</translation>
    </message>
    <message>
        <source>Jun</source>
        <translation>juin</translation>
    </message>
    <message>
        <source>Jul</source>
        <translation>juil.</translation>
    </message>
    <message>
        <source>Aug</source>
        <translation>août</translation>
    </message>
    <message>
        <source>Sep</source>
        <translation>sept.</translation>
    </message>
    <message>
        <source>Oct</source>
        <translation>oct.</translation>
    </message>
    <message>
        <source>Nov</source>
        <translation>nov.</translation>
    </message>
    <message>
        <source>Dec</source>
        <translation>déc.</translation>
    </message>
    <message>
        <source>No log data for this selection</source>
        <translation>Aucune donnée du journal pour cette sélection</translation>
    </message>
    <message>
        <source>Pump %1</source>
        <translation>Pompe %1</translation>
    </message>
    <message>
        <source>No program</source>
        <translation>Sans programme</translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Programme %1</translation>
    </message>
    <message>
        <source>Washes</source>
        <translation>Lavages</translation>
    </message>
</context>
<context>
    <name>ConsumptionLog</name>
    <message>
        <source>January, %1</source>
        <translation>janvier %1</translation>
    </message>
    <message>
        <source>February, %1</source>
        <translation>février %1</translation>
    </message>
    <message>
        <source>March, %1</source>
        <translation>mars %1</translation>
    </message>
    <message>
        <source>April, %1</source>
        <translation>avril %1</translation>
    </message>
    <message>
        <source>May, %1</source>
        <translation>mai %1</translation>
    </message>
    <message>
        <source>June, %1</source>
        <translation>juin %1</translation>
    </message>
    <message>
        <source>July, %1</source>
        <translation>juillet %1</translation>
    </message>
    <message>
        <source>August, %1</source>
        <translation>août %1</translation>
    </message>
    <message>
        <source>September, %1</source>
        <translation>septembre %1</translation>
    </message>
    <message>
        <source>October, %1</source>
        <translation>octobre %1</translation>
    </message>
    <message>
        <source>November, %1</source>
        <translation>novembre %1</translation>
    </message>
    <message>
        <source>December, %1</source>
        <translation>décembre %1</translation>
    </message>
    <message>
        <source>All machines</source>
        <translation>Toutes les machines</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Machine %1</translation>
    </message>
    <message>
        <source>No log data available</source>
        <translation>Aucune donnée du journal disponible</translation>
    </message>
    <message>
        <source>Reset done</source>
        <translation>Réinitialisation effectuée</translation>
    </message>
    <message>
        <source>Reset all log data

Are you sure?</source>
        <translation>Réinitialiser toutes les données du journal

Êtes-vous sûr ?</translation>
    </message>
</context>
<context>
    <name>CsvExport</name>
    <message>
        <source>CSV file|*.csv|Any file|*.*</source>
        <extracomment>File dialog filter: descriptions and patterns separated by &apos;|&apos;; translate the descriptions only</extracomment>
        <translation>Fichier CSV|*.csv|Tous les fichiers|*.*</translation>
    </message>
    <message>
        <source>Unable to export &quot;%1&quot;.

%2</source>
        <translation>Impossible d&apos;exporter vers « %1 ».

%2</translation>
    </message>
</context>
<context>
    <name>FileIo</name>
    <message>
        <source>cannot open %1: %2</source>
        <translation>impossible d&apos;ouvrir %1 : %2</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>impossible d&apos;écrire %1 : %2</translation>
    </message>
    <message>
        <source>cannot replace %1: %2</source>
        <translation>impossible de remplacer %1 : %2</translation>
    </message>
    <message>
        <source>cannot lock %1: %2</source>
        <translation>impossible de verrouiller %1 : %2</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>impossible de créer %1 : %2</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octets</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>the file is larger than %1</source>
        <translation>le fichier dépasse %1</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>le fichier est en lecture seule</translation>
    </message>
    <message>
        <source>the file keeps being replaced</source>
        <translation>le fichier est sans cesse remplacé</translation>
    </message>
    <message>
        <source>another program keeps the file locked</source>
        <translation>un autre programme garde le fichier verrouillé</translation>
    </message>
</context>
<context>
    <name>GatewaySession</name>
    <message>
        <source>Disconnect</source>
        <translation>Déconnecter</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connecter</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Connexion en cours</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Introuvable</translation>
    </message>
    <message>
        <source>In use</source>
        <translation>Occupé</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Déconnecté</translation>
    </message>
    <message>
        <source>Full access</source>
        <translation>Accès complet</translation>
    </message>
    <message>
        <source>Read only</source>
        <translation>Lecture seule</translation>
    </message>
    <message>
        <source>Access: ?</source>
        <translation>Accès : ?</translation>
    </message>
    <message>
        <source>Asynchronous socket error %1</source>
        <translation>Erreur de socket asynchrone %1</translation>
    </message>
    <message>
        <source>System: %1 (%2).</source>
        <translation>Système : %1 (%2).</translation>
    </message>
    <message>
        <source>The gateway sent more than 1000 systems: the connection was closed.</source>
        <translation>La passerelle a envoyé plus de 1000 systèmes : la connexion a été fermée.</translation>
    </message>
    <message>
        <source>Invalid user name or password</source>
        <translation>Nom d&apos;utilisateur ou mot de passe incorrect</translation>
    </message>
</context>
<context>
    <name>ImageParser</name>
    <message>
        <source>Bad data format or version: %1.%2</source>
        <translation>Format de données ou version incorrects : %1.%2</translation>
    </message>
    <message>
        <source>Date: %1</source>
        <translation>Date : %1</translation>
    </message>
</context>
<context>
    <name>InstructionPanelsWidget</name>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Short</source>
        <translation>Court</translation>
    </message>
    <message>
        <source>Long</source>
        <translation>Long</translation>
    </message>
    <message>
        <source>Volume, low</source>
        <translation>Volume, bas</translation>
    </message>
    <message>
        <source>Volume, mid</source>
        <translation>Volume, moyen</translation>
    </message>
    <message>
        <source>Volume, high</source>
        <translation>Volume, haut</translation>
    </message>
</context>
<context>
    <name>InstructionSet</name>
    <message>
        <source>Reset</source>
        <translation>Réinit.</translation>
    </message>
    <message>
        <source>Jump L%1</source>
        <translation>Saut L%1</translation>
    </message>
    <message>
        <source>Jump ?</source>
        <translation>Saut ?</translation>
    </message>
    <message>
        <source>Wait: %1 sec</source>
        <translation>Attente : %1 s</translation>
    </message>
    <message>
        <source>, To drain</source>
        <translation>, vers vidange</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>Vide</translation>
    </message>
    <message>
        <source>Input wait</source>
        <translation>Attente entrée</translation>
    </message>
    <message>
        <source>Input off wait</source>
        <translation>Att. entrée inactive</translation>
    </message>
    <message>
        <source>Input event</source>
        <translation>Événement entrée</translation>
    </message>
    <message>
        <source>Input jump</source>
        <translation>Saut sur entrée</translation>
    </message>
    <message>
        <source>Jump</source>
        <translation>Saut</translation>
    </message>
    <message>
        <source>Wait</source>
        <translation>Attente</translation>
    </message>
    <message>
        <source>Pump</source>
        <translation>Pompe</translation>
    </message>
    <message>
        <source>Flush</source>
        <translation>Rinçage</translation>
    </message>
    <message>
        <source>Keyboard lock</source>
        <translation>Verrou clavier</translation>
    </message>
    <message>
        <source>Pump, high volume</source>
        <translation>Pompe, grand volume</translation>
    </message>
</context>
<context>
    <name>IntelHex</name>
    <message>
        <source>Unable to open Intel hex file.</source>
        <translation>Impossible d&apos;ouvrir le fichier Intel HEX.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Unknown record type.</source>
        <translation>Intel HEX étendu : type d&apos;enregistrement inconnu.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Check sum error.</source>
        <translation>Intel HEX étendu : erreur de somme de contrôle.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Invalid character in line %1, column %2 (hex digits are 0-9 and A-F).</source>
        <translation>Intel HEX étendu : caractère non valide à la ligne %1, colonne %2 (les chiffres hexadécimaux sont 0-9 et A-F).</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Record shorter than its byte count in line %1.</source>
        <translation>Intel HEX étendu : enregistrement plus court que son nombre d&apos;octets à la ligne %1.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Address record without two data bytes in line %1.</source>
        <translation>Intel HEX étendu : enregistrement d&apos;adresse sans deux octets de données à la ligne %1.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: Data beyond the 128 KiB image in line %1.</source>
        <translation>Intel HEX étendu : données au-delà de l&apos;image de 128 Kio à la ligne %1.</translation>
    </message>
    <message>
        <source>Extended Intel-hex: No data records for addresses below %1h.</source>
        <translation>Intel HEX étendu : aucun enregistrement de données pour les adresses inférieures à %1h.</translation>
    </message>
    <message>
        <source>The file has no end-of-file record: it may be cut short.</source>
        <translation>Le fichier n&apos;a pas d&apos;enregistrement de fin de fichier : il est peut-être tronqué.</translation>
    </message>
    <message>
        <source>The file holds data up to %1h, beyond the controller&apos;s program memory (%2h bytes): it may be meant for the trigger modules.</source>
        <translation>Le fichier contient des données jusqu&apos;à %1h, au-delà de la mémoire programme du contrôleur (%2h octets) : il est peut-être destiné aux modules trigger.</translation>
    </message>
    <message>
        <source>The file holds data up to %1h, beyond the trigger module&apos;s program memory (%2h bytes): it may be meant for the controller.</source>
        <translation>Le fichier contient des données jusqu&apos;à %1h, au-delà de la mémoire programme du module trigger (%2h octets) : il est peut-être destiné au contrôleur.</translation>
    </message>
    <message>
        <source>Unable to open Intel hex file: it is not a regular file.</source>
        <translation>Impossible d&apos;ouvrir le fichier Intel HEX : ce n&apos;est pas un fichier ordinaire.</translation>
    </message>
    <message>
        <source>Unable to open Intel hex file: it is larger than 4 MB.</source>
        <translation>Impossible d&apos;ouvrir le fichier Intel HEX : il dépasse 4 Mo.</translation>
    </message>
    <message>
        <source>%1% (%2 bytes)</source>
        <translation>%1 % (%2 octets)</translation>
    </message>
    <message>
        <source>Firmware update, QD310.</source>
        <translation>Mise à jour du firmware, QD310.</translation>
    </message>
    <message>
        <source>Firmware update, QD520 / QD740 trigger.</source>
        <translation>Mise à jour du firmware, trigger QD520 / QD740.</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>System</source>
        <translation>Langue du système</translation>
    </message>
</context>
<context>
    <name>MachineStatusView</name>
    <message>
        <source> Program, Keyboard locked </source>
        <translation> Programme, clavier verrouillé </translation>
    </message>
    <message>
        <source> Program </source>
        <translation> Programme </translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirmation</translation>
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
        <translation>Le contrôleur est occupé : lecture des données système en cours.

Attendez la fin de l&apos;opération ou arrêtez-la d&apos;abord.</translation>
    </message>
    <message>
        <source>The controller is busy writing the system data.

Wait until this has finished, or stop it first.</source>
        <translation>Le contrôleur est occupé : écriture des données système en cours.

Attendez la fin de l&apos;opération ou arrêtez-la d&apos;abord.</translation>
    </message>
    <message>
        <source>The controller is busy writing the serial number.

Wait until this has finished, or stop it first.</source>
        <translation>Le contrôleur est occupé : écriture du numéro de série en cours.

Attendez la fin de l&apos;opération ou arrêtez-la d&apos;abord.</translation>
    </message>
    <message>
        <source>The controller is busy reading the controller for a comparison.

Wait until this has finished, or stop it first.</source>
        <translation>Le contrôleur est occupé : lecture du contrôleur pour une comparaison en cours.

Attendez la fin de l&apos;opération ou arrêtez-la d&apos;abord.</translation>
    </message>
    <message>
        <source>The controller is busy resetting the consumption log.

Wait until this has finished, or stop it first.</source>
        <translation>Le contrôleur est occupé : réinitialisation du journal de consommation en cours.

Attendez la fin de l&apos;opération ou arrêtez-la d&apos;abord.</translation>
    </message>
    <message>
        <source>The controller is busy clearing the alarm log.

Wait until this has finished, or stop it first.</source>
        <translation>Le contrôleur est occupé : effacement du journal des alarmes en cours.

Attendez la fin de l&apos;opération ou arrêtez-la d&apos;abord.</translation>
    </message>
    <message>
        <source>The controller is busy resetting a machine.

Wait until this has finished, or stop it first.</source>
        <translation>Le contrôleur est occupé : réinitialisation d&apos;une machine en cours.

Attendez la fin de l&apos;opération ou arrêtez-la d&apos;abord.</translation>
    </message>
    <message>
        <source>The controller is busy updating firmware.

Wait until this has finished, or stop it first.</source>
        <translation>Le contrôleur est occupé : mise à jour du firmware en cours.

Attendez la fin de l&apos;opération ou arrêtez-la d&apos;abord.</translation>
    </message>
</context>
<context>
    <name>ProgramChecker</name>
    <message>
        <source>pump %1 has calibration 0: this line doses nothing</source>
        <translation>la pompe %1 a un étalonnage de 0 : cette ligne ne dose rien</translation>
    </message>
    <message>
        <source>all volumes are 0</source>
        <translation>tous les volumes sont à 0</translation>
    </message>
    <message>
        <source>continues at line %1, after the last instruction</source>
        <translation>continue à la ligne %1, après la dernière instruction</translation>
    </message>
    <message>
        <source>continues at line %1, which is Empty</source>
        <translation>continue à la ligne %1, qui est vide</translation>
    </message>
    <message>
        <source>loop from line %1 has no wait and no input wait</source>
        <translation>la boucle depuis la ligne %1 ne contient ni « Attente » ni « Attente entrée »</translation>
    </message>
    <message>
        <source>loop from line %1 runs forever with no wait and no input wait</source>
        <translation>la boucle depuis la ligne %1 tourne sans fin, sans « Attente » ni « Attente entrée »</translation>
    </message>
    <message>
        <source>active program without a pump line</source>
        <translation>programme actif sans ligne de pompe</translation>
    </message>
    <message>
        <source>doses softener, but the machine has no softener pump</source>
        <translation>dose de l&apos;assouplissant, mais la machine n&apos;a pas de pompe d&apos;assouplissant</translation>
    </message>
    <message>
        <source>default program %1 is not active</source>
        <translation>le programme par défaut %1 n&apos;est pas actif</translation>
    </message>
    <message>
        <source>Electrolux programs 16..30 are set: a system file does not keep them</source>
        <translation>les programmes Electrolux 16..30 sont définis : un fichier système ne les conserve pas</translation>
    </message>
    <message>
        <source>the text area is full (&quot;Used text&quot; at 100%): %1 text will be lost on the next write</source>
        <translation>la zone de texte est pleine (« Texte utilisé » à 100 %) : %1 texte sera perdu à la prochaine écriture</translation>
    </message>
    <message>
        <source>the text area is full (&quot;Used text&quot; at 100%): %1 texts will be lost on the next write</source>
        <translation>la zone de texte est pleine (« Texte utilisé » à 100 %) : %1 textes seront perdus à la prochaine écriture</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Système</translation>
    </message>
    <message>
        <source>Machine %1 / Program %2 / Line %3</source>
        <translation>Machine %1 / Programme %2 / Ligne %3</translation>
    </message>
    <message>
        <source>Machine %1 / Program %2</source>
        <translation>Machine %1 / Programme %2</translation>
    </message>
    <message>
        <source>Machine %1 / Line %2</source>
        <translation>Machine %1 / Ligne %2</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Machine %1</translation>
    </message>
    <message>
        <source>error: %1: %2</source>
        <translation>erreur : %1 : %2</translation>
    </message>
    <message>
        <source>warning: %1: %2</source>
        <translation>avertissement : %1 : %2</translation>
    </message>
</context>
<context>
    <name>ServiceReport</name>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Bas</translation>
    </message>
    <message>
        <source>Mid</source>
        <translation>Moyen</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Haut</translation>
    </message>
    <message>
        <source>System name</source>
        <translation>Nom du système</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Report date</source>
        <translation>Date du rapport</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Numéro de série</translation>
    </message>
    <message>
        <source>Hardware version</source>
        <translation>Version matérielle</translation>
    </message>
    <message>
        <source>Firmware version</source>
        <translation>Version du firmware</translation>
    </message>
    <message>
        <source>Controller identity</source>
        <translation>Identité du contrôleur</translation>
    </message>
    <message>
        <source>not known (the configuration was not read from a controller)</source>
        <translation>inconnue (la configuration n&apos;a pas été lue depuis un contrôleur)</translation>
    </message>
    <message>
        <source>Enabled machines</source>
        <translation>Machines activées</translation>
    </message>
    <message>
        <source>none</source>
        <translation>aucune</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Système</translation>
    </message>
    <message>
        <source>Pump</source>
        <translation>Pompe</translation>
    </message>
    <message>
        <source>Calibration (sec./100ml)</source>
        <translation>Étalonnage (s/100 ml)</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Machine %1</translation>
    </message>
    <message>
        <source>Default program</source>
        <translation>Programme par défaut</translation>
    </message>
    <message>
        <source>Allow no program</source>
        <translation>Autoriser sans programme</translation>
    </message>
    <message>
        <source>Softener pump</source>
        <translation>Pompe d&apos;assouplissant</translation>
    </message>
    <message>
        <source>Short flush time</source>
        <translation>Durée rinçage court</translation>
    </message>
    <message>
        <source>sec.</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Long flush time</source>
        <translation>Durée rinçage long</translation>
    </message>
    <message>
        <source>Program timeout</source>
        <translation>Durée max. programme</translation>
    </message>
    <message>
        <source>min.</source>
        <translation>min</translation>
    </message>
    <message>
        <source>Trigger type</source>
        <translation>Type de trigger</translation>
    </message>
    <message>
        <source>code %1</source>
        <translation>code %1</translation>
    </message>
    <message>
        <source>Trigger module</source>
        <translation>Module trigger</translation>
    </message>
    <message>
        <source>Inactive programs: %1.</source>
        <translation>Programmes inactifs : %1.</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Instruction</source>
        <translation>Instruction</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Commentaire</translation>
    </message>
    <message>
        <source>Machine %1 / Program %2: %3</source>
        <translation>Machine %1 / Programme %2 : %3</translation>
    </message>
    <message>
        <source>Softener: %1, default softener: %2, default level: %3</source>
        <translation>Assouplissant : %1, assouplissant par défaut : %2, niveau par défaut : %3</translation>
    </message>
    <message>
        <source>Program check</source>
        <translation>Vérification des programmes</translation>
    </message>
    <message>
        <source>%1 errors, %2 warnings</source>
        <translation>%1 erreurs, %2 avertissements</translation>
    </message>
    <message>
        <source>%1 to %2, %3</source>
        <translation>de %1 à %2, %3</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Price per litre</source>
        <translation>Prix par litre</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Coût</translation>
    </message>
    <message>
        <source>Pump %1</source>
        <translation>Pompe %1</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programme</translation>
    </message>
    <message>
        <source>Washes</source>
        <translation>Lavages</translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Programme %1</translation>
    </message>
    <message>
        <source>No program</source>
        <translation>Sans programme</translation>
    </message>
    <message>
        <source>Total washes</source>
        <translation>Total des lavages</translation>
    </message>
    <message>
        <source>Softener count</source>
        <translation>Nombre d&apos;assouplissants</translation>
    </message>
    <message>
        <source>Consumption</source>
        <translation>Consommation</translation>
    </message>
    <message>
        <source>No log data available</source>
        <translation>Aucune donnée du journal disponible</translation>
    </message>
    <message>
        <source>Period: %1</source>
        <translation>Période : %1</translation>
    </message>
    <message>
        <source>The log holds no consumption for this period.</source>
        <translation>Le journal ne contient aucune consommation pour cette période.</translation>
    </message>
    <message>
        <source>No pump prices are set: the costs are not shown.</source>
        <translation>Aucun prix de pompe défini : les coûts ne sont pas affichés.</translation>
    </message>
    <message>
        <source>Cost per wash: %1</source>
        <translation>Coût par lavage : %1</translation>
    </message>
    <message>
        <source>Monthly volume per pump</source>
        <translation>Volume mensuel par pompe</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Alarmes</translation>
    </message>
    <message>
        <source>Active alarms:</source>
        <translation>Alarmes actives :</translation>
    </message>
    <message>
        <source>Active alarms: none</source>
        <translation>Alarmes actives : aucune</translation>
    </message>
    <message>
        <source>Alarm history:</source>
        <translation>Historique des alarmes :</translation>
    </message>
    <message>
        <source>file %1</source>
        <translation>fichier %1</translation>
    </message>
    <message>
        <source>Service report</source>
        <translation>Rapport d&apos;intervention</translation>
    </message>
    <message>
        <source>controller</source>
        <translation>contrôleur</translation>
    </message>
    <message>
        <source>%1:</source>
        <extracomment>A label before its value in the report, e.g. &quot;Serial number:&quot;</extracomment>
        <translation>%1 :</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Page %1 sur %2</translation>
    </message>
    <message>
        <source>Service report: %1</source>
        <translation>Rapport d&apos;intervention : %1</translation>
    </message>
    <message>
        <source>The PDF document could not be started.</source>
        <translation>Le document PDF n&apos;a pas pu être créé.</translation>
    </message>
    <message>
        <source>The PDF document could not be completed.</source>
        <translation>Le document PDF n&apos;a pas pu être finalisé.</translation>
    </message>
    <message>
        <source>The PDF document came out empty.</source>
        <translation>Le document PDF est vide.</translation>
    </message>
</context>
<context>
    <name>SystemFile</name>
    <message>
        <source>%1: &quot;%2&quot; is not a boolean</source>
        <translation>%1 : « %2 » n&apos;est pas une valeur booléenne</translation>
    </message>
    <message>
        <source>%1: fewer than %2 hexadecimal digits</source>
        <translation>%1 : moins de %2 chiffres hexadécimaux</translation>
    </message>
    <message>
        <source>not a well-formed XML file at byte %1: %2</source>
        <translation>fichier XML mal formé à l&apos;octet %1 : %2</translation>
    </message>
    <message>
        <source>the root element is not QDsystem</source>
        <translation>l&apos;élément racine n&apos;est pas QDsystem</translation>
    </message>
</context>
<context>
    <name>SystemList</name>
    <message>
        <source> No.</source>
        <translation> N°</translation>
    </message>
    <message>
        <source> Serial</source>
        <translation> N° de série</translation>
    </message>
    <message>
        <source> System name</source>
        <translation> Nom du système</translation>
    </message>
    <message>
        <source> In use</source>
        <translation> Occupé</translation>
    </message>
    <message>
        <source> IP address</source>
        <translation> Adresse IP</translation>
    </message>
</context>
<context>
    <name>TSystemSetupForm</name>
    <message>
        <source>Off</source>
        <translation>Arrêt</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Marche</translation>
    </message>
    <message>
        <source>Level alarm</source>
        <translation>Alarme de niveau</translation>
    </message>
    <message>
        <source>Pressure alarm</source>
        <translation>Alarme de pression</translation>
    </message>
    <message>
        <source>Trigger error</source>
        <translation>Erreur trigger</translation>
    </message>
    <message>
        <source>Keybord error</source>
        <translation>Erreur clavier</translation>
    </message>
    <message>
        <source>Dispense error</source>
        <translation>Erreur de dosage</translation>
    </message>
</context>
<context>
    <name>TTriggerForm</name>
    <message>
        <source>Header</source>
        <translation>En-tête</translation>
    </message>
    <message>
        <source>Program 1</source>
        <translation>Programme 1</translation>
    </message>
    <message>
        <source>Program 2</source>
        <translation>Programme 2</translation>
    </message>
    <message>
        <source>Program 3</source>
        <translation>Programme 3</translation>
    </message>
    <message>
        <source>Softner</source>
        <translation>Assouplissant</translation>
    </message>
    <message>
        <source>Softner 2</source>
        <translation>Assouplissant 2</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Haut</translation>
    </message>
    <message>
        <source>Mid</source>
        <translation>Moyen</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Bas</translation>
    </message>
    <message>
        <source> Program selection </source>
        <translation> Choix du programme </translation>
    </message>
    <message>
        <source> Farbric softner selection </source>
        <translation> Choix de l&apos;assouplissant </translation>
    </message>
    <message>
        <source> Level selection </source>
        <translation> Choix du niveau </translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>Entrée %1</translation>
    </message>
    <message>
        <source>Input %1, falling edge</source>
        <translation>Entrée %1, front descendant</translation>
    </message>
</context>
<context>
    <name>Transfer</name>
    <message>
        <source>Unable to check Login code.

No response from System</source>
        <translation>Impossible de vérifier le code d&apos;accès.

Aucune réponse du système</translation>
    </message>
    <message>
        <source>Wrong System login code</source>
        <translation>Code d&apos;accès du système incorrect</translation>
    </message>
    <message>
        <source>Reading %1 bytes.</source>
        <translation>Lecture de %1 octets.</translation>
    </message>
    <message>
        <source>Writing %1 bytes.</source>
        <translation>Écriture de %1 octets.</translation>
    </message>
    <message>
        <source>Waiting for confirm...</source>
        <translation>Attente de confirmation...</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Arrêté</translation>
    </message>
    <message>
        <source>Transfer faild at: %1</source>
        <translation>Échec du transfert à : %1</translation>
    </message>
    <message>
        <source>Timeout, no confirm received!</source>
        <translation>Délai dépassé, aucune confirmation reçue !</translation>
    </message>
    <message>
        <source>Timeout!</source>
        <translation>Délai dépassé !</translation>
    </message>
    <message>
        <source>Read completed</source>
        <translation>Lecture terminée</translation>
    </message>
    <message>
        <source>Write completed</source>
        <translation>Écriture terminée</translation>
    </message>
    <message>
        <source>Transfer completed</source>
        <translation>Transfert terminé</translation>
    </message>
    <message>
        <source>Confirm received - OK</source>
        <translation>Confirmation reçue - OK</translation>
    </message>
    <message>
        <source>Confirm received - bad checksum!</source>
        <translation>Confirmation reçue - somme de contrôle erronée !</translation>
    </message>
</context>
<context>
    <name>TriggerSettings</name>
    <message>
        <source>%1, version: %2.%3</source>
        <translation>%1, version : %2.%3</translation>
    </message>
</context>
<context>
    <name>WorkingConfig</name>
    <message>
        <source>Used text: %1%</source>
        <translation>Texte utilisé : %1 %</translation>
    </message>
</context>
<context>
    <name>qd::gui::ConsumptionChart</name>
    <message>
        <source>%1: %2</source>
        <extracomment>A line of a bar&apos;s tool tip: the series (a pump or a program) and its value</extracomment>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>Total: %1</source>
        <translation>Total : %1</translation>
    </message>
</context>
<context>
    <name>qd::gui::ConsumptionChartPanel</name>
    <message>
        <source>Volume per pump</source>
        <translation>Volume par pompe</translation>
    </message>
    <message>
        <source>Washes per program</source>
        <translation>Lavages par programme</translation>
    </message>
</context>
<context>
    <name>qd::gui::FindingsList</name>
    <message>
        <source>Program check</source>
        <translation>Vérification des programmes</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>Ligne %1</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programme</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A finding: where (a line, a program or a place) and what</extracomment>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>No findings</source>
        <translation>Aucun constat</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Erreur : %1</translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <translation>Avertissement : %1</translation>
    </message>
</context>
<context>
    <name>qd::gui::InstructionPanelsWidget</name>
    <message>
        <source>No parameters for this instruction.</source>
        <translation>Aucun paramètre pour cette instruction.</translation>
    </message>
    <message>
        <source> Inputs </source>
        <translation> Entrées </translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtre</translation>
    </message>
    <message>
        <source>0..250 sec.</source>
        <translation>0..250 s</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Entrée</translation>
    </message>
    <message>
        <source>Input to the next line</source>
        <translation>Entrée vers la ligne suivante</translation>
    </message>
    <message>
        <source>-&gt; Next line</source>
        <translation>-&gt; Ligne suivante</translation>
    </message>
    <message>
        <source>Jump input %1</source>
        <translation>Entrée de saut %1</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Réinit.</translation>
    </message>
    <message>
        <source>Jump line %1</source>
        <translation>Ligne de saut %1</translation>
    </message>
    <message>
        <source>-&gt; Line</source>
        <translation>-&gt; Ligne</translation>
    </message>
    <message>
        <source> Input off wait </source>
        <translation> Attente entrée inactive </translation>
    </message>
    <message>
        <source>Next line when all selected inputs</source>
        <translation>Ligne suivante quand toutes les entrées</translation>
    </message>
    <message>
        <source>are off.</source>
        <translation>sélectionnées sont inactives.</translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>Entrée %1</translation>
    </message>
    <message>
        <source> Jump </source>
        <translation> Saut </translation>
    </message>
    <message>
        <source>Jump to Line </source>
        <translation>Saut vers la ligne </translation>
    </message>
    <message>
        <source> Wait </source>
        <translation> Attente </translation>
    </message>
    <message>
        <source>Wait</source>
        <translation>Attente</translation>
    </message>
    <message>
        <source>(1..5000 seconds)</source>
        <translation>(1..5000 secondes)</translation>
    </message>
    <message>
        <source> Pump </source>
        <translation> Pompe </translation>
    </message>
    <message>
        <source>Pump</source>
        <translation>Pompe</translation>
    </message>
    <message>
        <source>Flush</source>
        <translation>Rinçage</translation>
    </message>
    <message>
        <source>Wait until dispense done.</source>
        <translation>Attendre la fin du dosage.</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>Délai</translation>
    </message>
    <message>
        <source> Flush </source>
        <translation> Rinçage </translation>
    </message>
    <message>
        <source>Drain flush</source>
        <translation>Rinçage vers vidange</translation>
    </message>
    <message>
        <source>Wait until flush done.</source>
        <translation>Attendre la fin du rinçage.</translation>
    </message>
    <message>
        <source>Flush time</source>
        <translation>Durée de rinçage</translation>
    </message>
    <message>
        <source> Pump, high volume </source>
        <translation> Pompe, grand volume </translation>
    </message>
    <message>
        <source>Volume (mid)</source>
        <translation>Volume (moyen)</translation>
    </message>
    <message>
        <source>Low adjust (-%)</source>
        <translation>Ajustement bas (-%)</translation>
    </message>
    <message>
        <source>High adjust (+%)</source>
        <translation>Ajustement haut (+%)</translation>
    </message>
</context>
<context>
    <name>qd::gui::LanguageMenu</name>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>The language changes when QDsystem is started again.</source>
        <translation>La langue sera changée au prochain démarrage de QDsystem.</translation>
    </message>
</context>
<context>
    <name>qd::gui::SiteAlarmsPage</name>
    <message>
        <source>Alarms recorded</source>
        <translation>Alarmes enregistrées</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Alarmes</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Date et heure</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>Alarms recorded: %1, since the previous contact: %2.</source>
        <translation>Alarmes enregistrées : %1, depuis le contact précédent : %2.</translation>
    </message>
</context>
<context>
    <name>qd::gui::SiteConsumptionPage</name>
    <message>
        <source>&amp;Machine:</source>
        <translation>Ma&amp;chine :</translation>
    </message>
    <message>
        <source>Months recorded</source>
        <translation>Mois enregistrés</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Exporter en CSV...</translation>
    </message>
    <message>
        <source>Save the months of the machines chosen as a CSV file</source>
        <translation>Enregistrer les mois des machines choisies dans un fichier CSV</translation>
    </message>
    <message>
        <source>Consumption by year</source>
        <translation>Consommation par année</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Année</translation>
    </message>
    <message>
        <source>Months</source>
        <translation>Mois</translation>
    </message>
    <message>
        <source>Litres</source>
        <translation>Litres</translation>
    </message>
    <message>
        <source>Washes</source>
        <translation>Lavages</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Coût</translation>
    </message>
    <message>
        <source>Months of the year the history holds</source>
        <translation>Mois de l&apos;année contenus dans l&apos;historique</translation>
    </message>
    <message>
        <source>At the pump prices of the consumption log window</source>
        <translation>Aux prix des pompes de la fenêtre Données du journal</translation>
    </message>
    <message>
        <source>No consumption recorded.</source>
        <translation>Aucune consommation enregistrée.</translation>
    </message>
    <message>
        <source>1 month: %1.</source>
        <translation>1 mois : %1.</translation>
    </message>
    <message>
        <source>%1 months, %2 to %3.</source>
        <translation>%1 mois, de %2 à %3.</translation>
    </message>
    <message>
        <source>Export consumption history</source>
        <translation>Exporter l&apos;historique de consommation</translation>
    </message>
</context>
<context>
    <name>qd::gui::SiteTimelinePage</name>
    <message>
        <source>Read</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Modifications</translation>
    </message>
    <message>
        <source>Snapshots</source>
        <translation>Instantanés</translation>
    </message>
    <message>
        <source>Choose one read to see what it changed, or two (Ctrl+click) to compare them</source>
        <translation>Choisissez une lecture pour voir ce qu&apos;elle a modifié, ou deux (Ctrl+clic) pour les comparer</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Comparer</translation>
    </message>
    <message>
        <source>Compare the two reads chosen, or the one chosen with the read before it</source>
        <translation>Comparer les deux lectures choisies, ou celle choisie avec la lecture précédente</translation>
    </message>
    <message>
        <source>Comparison</source>
        <translation>Comparaison</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Élément</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Avant</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Après</translation>
    </message>
    <message>
        <source>Changes between the snapshots</source>
        <translation>Modifications entre les instantanés</translation>
    </message>
    <message>
        <source>first read</source>
        <translation>première lecture</translation>
    </message>
    <message>
        <source>not readable</source>
        <translation>illisible</translation>
    </message>
    <message>
        <source>no change</source>
        <translation>aucune modification</translation>
    </message>
    <message>
        <source>1 change</source>
        <translation>1 modification</translation>
    </message>
    <message>
        <source>%1 changes</source>
        <translation>%1 modifications</translation>
    </message>
    <message>
        <source>No snapshots of this site are kept.</source>
        <translation>Aucun instantané de ce site n&apos;est conservé.</translation>
    </message>
    <message>
        <source>Press Compare to list the changes between the two reads chosen.</source>
        <translation>Cliquez sur Comparer pour lister les modifications entre les deux lectures choisies.</translation>
    </message>
    <message>
        <source>Choose one read, or two to compare.</source>
        <translation>Choisissez une lecture, ou deux à comparer.</translation>
    </message>
    <message>
        <source>The read of %1 is the first one kept of this site: there is nothing before it to compare with.</source>
        <translation>La lecture du %1 est la première conservée de ce site : il n&apos;y a rien d&apos;antérieur à comparer.</translation>
    </message>
    <message>
        <source>Comparing the reads of %1 and %2...</source>
        <translation>Comparaison des lectures du %1 et du %2...</translation>
    </message>
    <message>
        <source>The snapshots could not be read: %1</source>
        <translation>Impossible de lire les instantanés : %1</translation>
    </message>
    <message>
        <source>The reads of %1 and %2 cannot be compared: one of them is not an image this version of QDsystem reads.</source>
        <translation>Impossible de comparer les lectures du %1 et du %2 : l&apos;une d&apos;elles n&apos;est pas une image que cette version de QDsystem sait lire.</translation>
    </message>
    <message>
        <source>No changes from the read of %1 to the read of %2.</source>
        <translation>Aucune modification entre la lecture du %1 et celle du %2.</translation>
    </message>
    <message>
        <source>1 change from the read of %1 to the read of %2.</source>
        <translation>1 modification entre la lecture du %1 et celle du %2.</translation>
    </message>
    <message>
        <source>%1 changes from the read of %2 to the read of %3.</source>
        <translation>%1 modifications entre la lecture du %2 et celle du %3.</translation>
    </message>
    <message>
        <source>S&amp;napshots (newest first):</source>
        <translation>&amp;Instantanés (le plus récent en premier) :</translation>
    </message>
</context>
<context>
    <name>qd::gui::TAboutForm</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>PC tool for QD310 dispenser system</source>
        <translation>Logiciel PC pour le système de dosage QD310</translation>
    </message>
    <message>
        <source>Version: %1.%2</source>
        <translation>Version : %1.%2</translation>
    </message>
    <message>
        <source>Laundry dosing systems</source>
        <translation>Systèmes de dosage pour blanchisseries</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Created: %1  %2</source>
        <translation>Créé : %1  %2</translation>
    </message>
</context>
<context>
    <name>qd::gui::TAlarmLogForm</name>
    <message>
        <source>Alarm log</source>
        <translation>Journal des alarmes</translation>
    </message>
    <message>
        <source>Alarm history</source>
        <translation>Historique des alarmes</translation>
    </message>
    <message>
        <source>Alarm state</source>
        <translation>État des alarmes</translation>
    </message>
    <message>
        <source>Clear alarm log</source>
        <translation>Effacer le journal des alarmes</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Exporter en CSV...</translation>
    </message>
    <message>
        <source>Save the alarm history as a CSV file</source>
        <translation>Enregistrer l&apos;historique des alarmes dans un fichier CSV</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Export alarm history</source>
        <translation>Exporter l&apos;historique des alarmes</translation>
    </message>
</context>
<context>
    <name>qd::gui::TCalibrationForm</name>
    <message>
        <source>Pump calibration</source>
        <translation>Étalonnage de pompe</translation>
    </message>
    <message>
        <source>Current calibration (sec./100ml)</source>
        <translation>Étalonnage actuel (s/100 ml)</translation>
    </message>
    <message>
        <source>Meassured volume (ml)</source>
        <translation>Volume mesuré (ml)</translation>
    </message>
    <message>
        <source>New calibration (sec./100ml)</source>
        <translation>Nouvel étalonnage (s/100 ml)</translation>
    </message>
    <message>
        <source>Test running...</source>
        <translation>Test en cours...</translation>
    </message>
    <message>
        <source>Seconds left</source>
        <translation>Secondes restantes</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Dépassement</translation>
    </message>
    <message>
        <source>The computed calibration is above %1 and was capped</source>
        <translation>L&apos;étalonnage calculé dépasse %1 et a été plafonné</translation>
    </message>
    <message>
        <source>F2: Start test</source>
        <translation>F2 : Démarrer le test</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Last calibrations</source>
        <translation>Derniers étalonnages</translation>
    </message>
    <message>
        <source>Pump %1 calibration</source>
        <translation>Étalonnage de la pompe %1</translation>
    </message>
    <message>
        <source>The history cannot be read:
%1</source>
        <translation>Impossible de lire l&apos;historique :
%1</translation>
    </message>
    <message>
        <source>None recorded for this pump yet.</source>
        <translation>Aucun étalonnage enregistré pour cette pompe.</translation>
    </message>
    <message>
        <source>The calibration was accepted but could not be recorded in the history &quot;%1&quot;.

%2</source>
        <translation>L&apos;étalonnage a été accepté mais n&apos;a pas pu être enregistré dans l&apos;historique « %1 ».

%2</translation>
    </message>
</context>
<context>
    <name>qd::gui::TCommunicationErrorForm</name>
    <message>
        <source>Warning, communication error</source>
        <translation>Avertissement, erreur de communication</translation>
    </message>
    <message>
        <source>Re-try count</source>
        <translation>Nombre de répétitions</translation>
    </message>
    <message>
        <source>Checksum error count:</source>
        <translation>Nombre d&apos;erreurs de somme de contrôle :</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>qd::gui::TCommunicationForm</name>
    <message>
        <source>Communication</source>
        <translation>Communication</translation>
    </message>
    <message>
        <source> Local </source>
        <translation> Local </translation>
    </message>
    <message>
        <source>Local</source>
        <translation>Local</translation>
    </message>
    <message>
        <source>COM port</source>
        <translation>Port COM</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Port state</source>
        <translation>État du port</translation>
    </message>
    <message>
        <source>Show checksum errors (bus conflicts).</source>
        <translation>Afficher les erreurs de somme de contrôle (conflits de bus).</translation>
    </message>
    <message>
        <source> Remote  </source>
        <translation> À distance  </translation>
    </message>
    <message>
        <source>Remote</source>
        <translation>À distance</translation>
    </message>
    <message>
        <source>Gateway:</source>
        <translation>Passerelle :</translation>
    </message>
    <message>
        <source>Gateway state</source>
        <translation>État de la passerelle</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>Adapter latency %1 ms: answers are slow. Install the udev rule or run &apos;qdtool doctor&apos;.</source>
        <translation>Latence de l&apos;adaptateur %1 ms : les réponses sont lentes. Installez la règle udev ou exécutez &apos;qdtool doctor&apos;.</translation>
    </message>
</context>
<context>
    <name>qd::gui::TCompareForm</name>
    <message>
        <source>Choose what to compare the working configuration with.</source>
        <translation>Choisissez avec quoi comparer la configuration en cours.</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Comparer</translation>
    </message>
    <message>
        <source>Differences</source>
        <translation>Différences</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Élément</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Autre</translation>
    </message>
    <message>
        <source>Working configuration</source>
        <translation>Configuration en cours</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Backups</source>
        <translation>Sauvegardes</translation>
    </message>
    <message>
        <source>Compare with controller</source>
        <translation>Comparer avec le contrôleur</translation>
    </message>
    <message>
        <source>Compare with file...</source>
        <translation>Comparer avec un fichier...</translation>
    </message>
    <message>
        <source>Compare with backup</source>
        <translation>Comparer avec une sauvegarde</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>&amp;Backups (newest first)</source>
        <translation>&amp;Sauvegardes (la plus récente en premier)</translation>
    </message>
    <message>
        <source>Unable to compare with the controller

System not connected.</source>
        <translation>Impossible de comparer avec le contrôleur

Système non connecté.</translation>
    </message>
    <message>
        <source>Reading the controller&apos;s system data (the editors are not touched)...</source>
        <translation>Lecture des données système du contrôleur (les fenêtres d&apos;édition restent inchangées)...</translation>
    </message>
    <message>
        <source>The working configuration compared with the controller (serial %1), read %2.</source>
        <translation>Configuration en cours comparée au contrôleur (n° de série %1), lu le %2.</translation>
    </message>
    <message>
        <source>Controller</source>
        <translation>Contrôleur</translation>
    </message>
    <message>
        <source>Compare with file</source>
        <translation>Comparer avec un fichier</translation>
    </message>
    <message>
        <source>XML-file (*.xml)|*.xml|Image (*.bin)|*.bin|Any file (*.*)|*.*</source>
        <extracomment>File dialog filter: descriptions and patterns separated by &apos;|&apos;; translate the descriptions only</extracomment>
        <translation>Fichier XML (*.xml)|*.xml|Image mémoire (*.bin)|*.bin|Tous les fichiers (*.*)|*.*</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>The working configuration compared with the file %1.</source>
        <translation>Configuration en cours comparée au fichier %1.</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Sauvegarde</translation>
    </message>
    <message>
        <source>The working configuration compared with the backup of controller %1 read %2.</source>
        <translation>Configuration en cours comparée à la sauvegarde du contrôleur %1, lue le %2.</translation>
    </message>
    <message>
        <source>Unable to compare with &quot;%1&quot;.

%2</source>
        <translation>Impossible de comparer avec « %1 ».

%2</translation>
    </message>
    <message>
        <source>No differences.</source>
        <translation>Aucune différence.</translation>
    </message>
    <message>
        <source>1 difference.</source>
        <translation>1 différence.</translation>
    </message>
    <message>
        <source>%1 differences.</source>
        <translation>%1 différences.</translation>
    </message>
    <message>
        <source>%1   controller %2</source>
        <extracomment>A backup in the list: when it was read, and the controller&apos;s serial number</extracomment>
        <translation>%1   contrôleur %2</translation>
    </message>
    <message>
        <source>No backups yet: every read leaves one.</source>
        <translation>Aucune sauvegarde pour l&apos;instant : chaque lecture en crée une.</translation>
    </message>
</context>
<context>
    <name>qd::gui::TCopyMachineForm</name>
    <message>
        <source>Copy Machine</source>
        <translation>Copier une machine</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Machine %1</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Toutes</translation>
    </message>
    <message>
        <source>Copy from</source>
        <translation>Copier de</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>Copier vers</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Copy ?</source>
        <translation>Copier ?</translation>
    </message>
    <message>
        <source>Copy %1 to all.</source>
        <translation>Copier %1 vers toutes les machines.</translation>
    </message>
    <message>
        <source>Copy %1 to %2.</source>
        <translation>Copier %1 vers %2.</translation>
    </message>
</context>
<context>
    <name>qd::gui::TEEPROMForm</name>
    <message>
        <source>Read / write</source>
        <translation>Lire / Écrire</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Écrire</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Write serial</source>
        <translation>Écrire le n° de série</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Transfer result</source>
        <translation>Résultat du transfert</translation>
    </message>
    <message>
        <source>Transfer state</source>
        <translation>État du transfert</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Numéro de série</translation>
    </message>
    <message>
        <source>System login code</source>
        <translation>Code d&apos;accès du système</translation>
    </message>
    <message>
        <source>Controller date</source>
        <translation>Date du contrôleur</translation>
    </message>
    <message>
        <source>Used text</source>
        <translation>Texte utilisé</translation>
    </message>
    <message>
        <source>Transfer status</source>
        <translation>Statut du transfert</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... et %1 de plus</translation>
    </message>
    <message>
        <source>%1 error</source>
        <translation>%1 erreur</translation>
    </message>
    <message>
        <source>%1 errors</source>
        <translation>%1 erreurs</translation>
    </message>
    <message>
        <source>%1 warning</source>
        <translation>%1 avertissement</translation>
    </message>
    <message>
        <source>%1 warnings</source>
        <translation>%1 avertissements</translation>
    </message>
    <message>
        <source>The program check found %1 and %2:
%3

Write anyway?</source>
        <translation>La vérification des programmes a trouvé %1 et %2 :
%3

Écrire quand même ?</translation>
    </message>
    <message>
        <source>Program check</source>
        <translation>Vérification des programmes</translation>
    </message>
</context>
<context>
    <name>qd::gui::TFirmwareUpdateForm</name>
    <message>
        <source>Firmware update</source>
        <translation>Mise à jour du firmware</translation>
    </message>
    <message>
        <source> File name </source>
        <translation> Nom de fichier </translation>
    </message>
    <message>
        <source>File name</source>
        <translation>Nom de fichier</translation>
    </message>
    <message>
        <source>Choose file</source>
        <translation>Choisir un fichier</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Charger</translation>
    </message>
    <message>
        <source>File date</source>
        <translation>Date du fichier</translation>
    </message>
    <message>
        <source>Code start</source>
        <translation>Début du code</translation>
    </message>
    <message>
        <source>Code end</source>
        <translation>Fin du code</translation>
    </message>
    <message>
        <source>Code used</source>
        <translation>Code utilisé</translation>
    </message>
    <message>
        <source>Check sum</source>
        <translation>Somme de contrôle</translation>
    </message>
    <message>
        <source> Programming </source>
        <translation> Programmation </translation>
    </message>
    <message>
        <source>Programming state</source>
        <translation>État de la programmation</translation>
    </message>
    <message>
        <source>F9: Start</source>
        <translation>F9 : Démarrer</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Firmware file (*.hex)|*.hex|Any file (*.*)|*.*</source>
        <extracomment>Pairs of a description and its patterns, separated by &apos;|&apos;: only the descriptions are translated.</extracomment>
        <translation>Fichier firmware (*.hex)|*.hex|Tous les fichiers (*.*)|*.*</translation>
    </message>
    <message>
        <source>Program anyway?</source>
        <translation>Programmer quand même ?</translation>
    </message>
</context>
<context>
    <name>qd::gui::TLogDataForm</name>
    <message>
        <source>Log data</source>
        <translation>Données du journal</translation>
    </message>
    <message>
        <source>Machine</source>
        <translation>Machine</translation>
    </message>
    <message>
        <source>Reset log</source>
        <translation>Réinitialiser le journal</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Exporter en CSV...</translation>
    </message>
    <message>
        <source>Save the selected months and machines as a CSV file</source>
        <translation>Enregistrer les mois et machines sélectionnés dans un fichier CSV</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Période</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Du</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Au</translation>
    </message>
    <message>
        <source> Volume </source>
        <translation> Volume </translation>
    </message>
    <message>
        <source>Pump %1</source>
        <translation>Pompe %1</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message>
        <source> Wash count </source>
        <translation> Nombre de lavages </translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Programme %1</translation>
    </message>
    <message>
        <source>No program</source>
        <translation>Sans programme</translation>
    </message>
    <message>
        <source>Softner count</source>
        <translation>Nombre d&apos;assouplissants</translation>
    </message>
    <message>
        <source> Costs </source>
        <translation> Coûts </translation>
    </message>
    <message>
        <source>Price per litre</source>
        <translation>Prix par litre</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Coût</translation>
    </message>
    <message>
        <source>none</source>
        <extracomment>Shown in an empty price field: the pump has no price</extracomment>
        <translation>aucun prix</translation>
    </message>
    <message>
        <source>Price per litre of the detergent of pump %1</source>
        <translation>Prix par litre de la lessive de la pompe %1</translation>
    </message>
    <message>
        <source>Per wash</source>
        <translation>Par lavage</translation>
    </message>
    <message>
        <source>Export consumption log</source>
        <translation>Exporter le journal de consommation</translation>
    </message>
</context>
<context>
    <name>qd::gui::TLoginForm</name>
    <message>
        <source>Login</source>
        <translation>Connexion</translation>
    </message>
    <message>
        <source>Login code</source>
        <translation>Code d&apos;accès</translation>
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
        <translation>Machine %1</translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Programme %1</translation>
    </message>
    <message>
        <source>Allow no program</source>
        <translation>Autoriser sans programme</translation>
    </message>
    <message>
        <source>Short flush time</source>
        <translation>Durée rinçage court</translation>
    </message>
    <message>
        <source>sec.</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Long flush time</source>
        <translation>Durée rinçage long</translation>
    </message>
    <message>
        <source>Program timeout</source>
        <translation>Durée max. programme</translation>
    </message>
    <message>
        <source>min.</source>
        <translation>min</translation>
    </message>
    <message>
        <source>Fabric softner</source>
        <translation>Assouplissant</translation>
    </message>
    <message>
        <source>Default program</source>
        <translation>Programme par défaut</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Commentaire</translation>
    </message>
    <message>
        <source> Calibration </source>
        <translation> Étalonnage </translation>
    </message>
    <message>
        <source>^%1:Test</source>
        <translation>^%1 : Test</translation>
    </message>
    <message>
        <source>Calibrate pump %1 (Ctrl+%1)</source>
        <translation>Étalonner la pompe %1 (Ctrl+%1)</translation>
    </message>
    <message>
        <source>Test pump %1</source>
        <translation>Tester la pompe %1</translation>
    </message>
    <message>
        <source>Pump %1</source>
        <translation>Pompe %1</translation>
    </message>
    <message>
        <source>sec./100ml</source>
        <translation>s/100 ml</translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>Entrée %1</translation>
    </message>
    <message>
        <source>Input %1 weight</source>
        <translation>Poids entrée %1</translation>
    </message>
    <message>
        <source>K</source>
        <extracomment>One-letter indicator: a keyboard is connected.</extracomment>
        <translation>C</translation>
    </message>
    <message>
        <source>Keyboard connected</source>
        <translation>Clavier connecté</translation>
    </message>
    <message>
        <source>T</source>
        <extracomment>One-letter indicator: the trigger module is online.</extracomment>
        <translation>T</translation>
    </message>
    <message>
        <source>Trigger online</source>
        <translation>Module trigger en ligne</translation>
    </message>
    <message>
        <source>S</source>
        <extracomment>One-letter indicator: serial connection to the machine.</extracomment>
        <translation>S</translation>
    </message>
    <message>
        <source>Serial connection to the machine</source>
        <translation>Liaison série avec la machine</translation>
    </message>
    <message>
        <source>Setup...</source>
        <translation>Configuration...</translation>
    </message>
    <message>
        <source>Trigger setup</source>
        <translation>Configuration du trigger</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Actif</translation>
    </message>
    <message>
        <source>active</source>
        <translation>active</translation>
    </message>
    <message>
        <source>inactive</source>
        <translation>inactive</translation>
    </message>
    <message>
        <source>running</source>
        <translation>en cours</translation>
    </message>
</context>
<context>
    <name>qd::gui::TMainForm</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Login...</source>
        <translation>Connexion...</translation>
    </message>
    <message>
        <source>New System...</source>
        <translation>Nouveau système...</translation>
    </message>
    <message>
        <source>Load System...</source>
        <translation>Charger un système...</translation>
    </message>
    <message>
        <source>Save System...</source>
        <translation>Enregistrer le système...</translation>
    </message>
    <message>
        <source>Firmware update, QD310...</source>
        <translation>Mise à jour du firmware, QD310...</translation>
    </message>
    <message>
        <source>Firmware update, Trigger...</source>
        <translation>Mise à jour du firmware, module trigger...</translation>
    </message>
    <message>
        <source>Print service report...</source>
        <translation>Imprimer le rapport d&apos;intervention...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>&amp;System</source>
        <translation>&amp;Système</translation>
    </message>
    <message>
        <source>Read/write system data...</source>
        <translation>Lire/écrire les données système...</translation>
    </message>
    <message>
        <source>System setup...</source>
        <translation>Configuration système...</translation>
    </message>
    <message>
        <source>Communication...</source>
        <translation>Communication...</translation>
    </message>
    <message>
        <source>Log data...</source>
        <translation>Données du journal...</translation>
    </message>
    <message>
        <source>Alarm log...</source>
        <translation>Journal des alarmes...</translation>
    </message>
    <message>
        <source>Copy Machine...</source>
        <translation>Copier une machine...</translation>
    </message>
    <message>
        <source>Clear Machine</source>
        <translation>Effacer une machine</translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Machine %1</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Toutes</translation>
    </message>
    <message>
        <source>Machine %1...</source>
        <translation>Machine %1...</translation>
    </message>
    <message>
        <source>&amp;Compare</source>
        <translation>&amp;Comparer</translation>
    </message>
    <message>
        <source>Compare with controller...</source>
        <translation>Comparer avec le contrôleur...</translation>
    </message>
    <message>
        <source>Compare with file...</source>
        <translation>Comparer avec un fichier...</translation>
    </message>
    <message>
        <source>Compare with backup...</source>
        <translation>Comparer avec une sauvegarde...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Clear all data for all Machines

Are you sure?</source>
        <translation>Effacer toutes les données de toutes les machines

Êtes-vous sûr ?</translation>
    </message>
    <message>
        <source>Clear all data for Machine %1

Are you sure?</source>
        <translation>Effacer toutes les données de la machine %1

Êtes-vous sûr ?</translation>
    </message>
    <message>
        <source>QD System, Version: %1.%2</source>
        <translation>QD System, version : %1.%2</translation>
    </message>
    <message>
        <source>QD310 setup</source>
        <translation>configuration QD310</translation>
    </message>
    <message>
        <source>Format: %1.%2</source>
        <translation>Format : %1.%2</translation>
    </message>
    <message>
        <source>Unsaved program data, update before save?</source>
        <translation>Données de programme non validées. Les valider avant l&apos;enregistrement ?</translation>
    </message>
    <message>
        <source>Load system data</source>
        <translation>Charger les données système</translation>
    </message>
    <message>
        <source>XML-file (*.xml)|*.xml|Any file (*.*)|*.*</source>
        <extracomment>Pairs of a description and its patterns, separated by &apos;|&apos;: only the descriptions are translated.</extracomment>
        <translation>Fichier XML (*.xml)|*.xml|Tous les fichiers (*.*)|*.*</translation>
    </message>
    <message>
        <source>Unable to load the system file &quot;%1&quot;.</source>
        <translation>Impossible de charger le fichier système « %1 ».</translation>
    </message>
    <message>
        <source>Save System data</source>
        <translation>Enregistrer les données système</translation>
    </message>
    <message>
        <source>XML-file|*.xml|Any file|*.*</source>
        <extracomment>Pairs of a description and its patterns, separated by &apos;|&apos;: only the descriptions are translated.</extracomment>
        <translation>Fichier XML|*.xml|Tous les fichiers|*.*</translation>
    </message>
    <message>
        <source>Unable to save the system file &quot;%1&quot;.</source>
        <translation>Impossible d&apos;enregistrer le fichier système « %1 ».</translation>
    </message>
    <message>
        <source>The Electrolux programs 16..30 of machine %1 are not kept in the system file: they stay in the controller only when written to it.</source>
        <translation>Les programmes Electrolux 16..30 de la machine %1 ne sont pas conservés dans le fichier système : ils ne restent dans le contrôleur que s&apos;ils y sont écrits.</translation>
    </message>
    <message>
        <source>Sites...</source>
        <translation>Sites...</translation>
    </message>
</context>
<context>
    <name>qd::gui::TProgramForm</name>
    <message>
        <source>Active</source>
        <translation>Actif</translation>
    </message>
    <message>
        <source>Softner</source>
        <translation>Assouplissant</translation>
    </message>
    <message>
        <source>Default softner</source>
        <translation>Assouplissant par défaut</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Bas</translation>
    </message>
    <message>
        <source>Mid</source>
        <translation>Moyen</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Haut</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Debug</source>
        <translation>Débogage</translation>
    </message>
    <message>
        <source>Follow the line the controller runs</source>
        <translation>Suivre la ligne exécutée par le contrôleur</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>En cours</translation>
    </message>
    <message>
        <source>Running line</source>
        <translation>Ligne en cours</translation>
    </message>
    <message>
        <source>The selected grid line is the line the controller is running</source>
        <translation>La ligne sélectionnée du tableau est celle que le contrôleur exécute</translation>
    </message>
    <message>
        <source> Sequence </source>
        <translation> Séquence </translation>
    </message>
    <message>
        <source>Program lines</source>
        <translation>Lignes du programme</translation>
    </message>
    <message>
        <source> Line</source>
        <translation> Ligne</translation>
    </message>
    <message>
        <source> Instruction</source>
        <translation> Instruction</translation>
    </message>
    <message>
        <source> Parameteres</source>
        <translation> Paramètres</translation>
    </message>
    <message>
        <source> Comment</source>
        <translation> Commentaire</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Vérification</translation>
    </message>
    <message>
        <source> Instruction </source>
        <translation> Instruction </translation>
    </message>
    <message>
        <source>Instruction</source>
        <translation>Instruction</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Commentaire</translation>
    </message>
    <message>
        <source>Copy program</source>
        <translation>Copier le programme</translation>
    </message>
    <message>
        <source>Insert program</source>
        <translation>Coller le programme</translation>
    </message>
    <message>
        <source>Delete program</source>
        <translation>Effacer le programme</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Default level</source>
        <translation>Niveau par défaut</translation>
    </message>
    <message>
        <source>Machine %1, %2</source>
        <translation>Machine %1, %2</translation>
    </message>
    <message>
        <source>Program modfied, save?</source>
        <translation>Programme modifié. Enregistrer ?</translation>
    </message>
</context>
<context>
    <name>qd::gui::TRemoteLoginForm</name>
    <message>
        <source>Remote login</source>
        <translation>Connexion à distance</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nom d&apos;utilisateur</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source> Dispenser systems </source>
        <translation> Systèmes de dosage </translation>
    </message>
    <message>
        <source>Dispenser systems</source>
        <translation>Systèmes de dosage</translation>
    </message>
</context>
<context>
    <name>qd::gui::TServiceReportForm</name>
    <message>
        <source>Service report</source>
        <translation>Rapport d&apos;intervention</translation>
    </message>
    <message>
        <source>Consumption period</source>
        <translation>Période de consommation</translation>
    </message>
    <message>
        <source>&amp;From</source>
        <translation>&amp;Du</translation>
    </message>
    <message>
        <source>&amp;To</source>
        <translation>&amp;Au</translation>
    </message>
    <message>
        <source>&amp;Machine</source>
        <translation>&amp;Machine</translation>
    </message>
    <message>
        <source>Save PDF...</source>
        <translation>Enregistrer en PDF...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Imprimer...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>working configuration, not saved</source>
        <translation>configuration en cours, non enregistrée</translation>
    </message>
    <message>
        <source>Save service report</source>
        <translation>Enregistrer le rapport d&apos;intervention</translation>
    </message>
    <message>
        <source>PDF file|*.pdf|Any file|*.*</source>
        <extracomment>File dialog filter: descriptions and patterns separated by &apos;|&apos;; translate the descriptions only</extracomment>
        <translation>Fichier PDF|*.pdf|Tous les fichiers|*.*</translation>
    </message>
    <message>
        <source>Unable to save the service report

%1</source>
        <translation>Impossible d&apos;enregistrer le rapport d&apos;intervention

%1</translation>
    </message>
    <message>
        <source>Unable to print the service report

The printer could not be started.</source>
        <translation>Impossible d&apos;imprimer le rapport d&apos;intervention

L&apos;imprimante n&apos;a pas pu être démarrée.</translation>
    </message>
    <message>
        <source>Months from the &amp;history store</source>
        <translation>Mois de la base d&apos;&amp;historique</translation>
    </message>
    <message>
        <source>Every month recorded of this controller, also those it no longer keeps</source>
        <translation>Tous les mois enregistrés de ce contrôleur, y compris ceux qu&apos;il ne conserve plus</translation>
    </message>
    <message>
        <source>History store status</source>
        <translation>État de la base d&apos;historique</translation>
    </message>
    <message>
        <source>The history store cannot be used: %1</source>
        <translation>Impossible d&apos;utiliser la base d&apos;historique : %1</translation>
    </message>
    <message>
        <source>The history store holds no months of controller %1.</source>
        <translation>La base d&apos;historique ne contient aucun mois du contrôleur %1.</translation>
    </message>
    <message>
        <source>%1 months of controller %2 in the history store.</source>
        <translation>%1 mois du contrôleur %2 dans la base d&apos;historique.</translation>
    </message>
</context>
<context>
    <name>qd::gui::TSitesForm</name>
    <message>
        <source>Sites</source>
        <translation>Sites</translation>
    </message>
    <message>
        <source>History store:</source>
        <translation>Base d&apos;historique :</translation>
    </message>
    <message>
        <source>History store</source>
        <translation>Base d&apos;historique</translation>
    </message>
    <message>
        <source>C&amp;hange...</source>
        <translation>&amp;Modifier...</translation>
    </message>
    <message>
        <source>Change the history store</source>
        <translation>Changer de base d&apos;historique</translation>
    </message>
    <message>
        <source>Use another history store: an SQLite file or a PostgreSQL database</source>
        <translation>Utiliser une autre base d&apos;historique : un fichier SQLite ou une base de données PostgreSQL</translation>
    </message>
    <message>
        <source>Name or serial number</source>
        <translation>Nom ou numéro de série</translation>
    </message>
    <message>
        <source>&amp;Search:</source>
        <translation>&amp;Rechercher :</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Actualiser</translation>
    </message>
    <message>
        <source>Read the sites from the history store again (F5)</source>
        <translation>Relire les sites depuis la base d&apos;historique (F5)</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>N° de série</translation>
    </message>
    <message>
        <source>System name</source>
        <translation>Nom du système</translation>
    </message>
    <message>
        <source>Last contact</source>
        <translation>Dernier contact</translation>
    </message>
    <message>
        <source>New alarms</source>
        <translation>Nouvelles alarmes</translation>
    </message>
    <message>
        <source>Litres, 12 months</source>
        <translation>Litres, 12 mois</translation>
    </message>
    <message>
        <source>Cost, 12 months</source>
        <translation>Coût, 12 mois</translation>
    </message>
    <message>
        <source>Alarms since the contact before the last one</source>
        <translation>Alarmes depuis l&apos;avant-dernier contact</translation>
    </message>
    <message>
        <source>All pumps, the twelve months up to the last contact</source>
        <translation>Toutes les pompes, les douze mois jusqu&apos;au dernier contact</translation>
    </message>
    <message>
        <source>At the pump prices of the consumption log window; empty without prices</source>
        <translation>Aux prix des pompes de la fenêtre Données du journal ; vide sans prix</translation>
    </message>
    <message>
        <source>History store status</source>
        <translation>État de la base d&apos;historique</translation>
    </message>
    <message>
        <source>Site chosen</source>
        <translation>Site choisi</translation>
    </message>
    <message>
        <source>Consumption</source>
        <translation>Consommation</translation>
    </message>
    <message>
        <source>Configuration timeline</source>
        <translation>Historique de configuration</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Alarmes</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>%1 (default)</source>
        <extracomment>The history store&apos;s location when the preferences name none</extracomment>
        <translation>%1 (par défaut)</translation>
    </message>
    <message>
        <source>Loading the sites from the history store %1...</source>
        <translation>Chargement des sites depuis la base d&apos;historique %1...</translation>
    </message>
    <message>
        <source>The history store %1 cannot be used: %2</source>
        <translation>Impossible d&apos;utiliser la base d&apos;historique %1 : %2</translation>
    </message>
    <message>
        <source>No history store can be used: %1</source>
        <translation>Aucune base d&apos;historique utilisable : %1</translation>
    </message>
    <message>
        <source>The site %1 is not in the history store.</source>
        <translation>Le site %1 ne figure pas dans la base d&apos;historique.</translation>
    </message>
    <message>
        <source>No sites in the history store %1 yet: every read from a controller is recorded there.</source>
        <translation>Aucun site dans la base d&apos;historique %1 pour l&apos;instant : chaque lecture d&apos;un contrôleur y est enregistrée.</translation>
    </message>
    <message>
        <source>1 site in the history store %1.</source>
        <translation>1 site dans la base d&apos;historique %1.</translation>
    </message>
    <message>
        <source>%1 sites in the history store %2.</source>
        <translation>%1 sites dans la base d&apos;historique %2.</translation>
    </message>
    <message>
        <source>Matching the search: %1.</source>
        <translation>Correspondant à la recherche : %1.</translation>
    </message>
    <message>
        <source>Loading the site %1...</source>
        <translation>Chargement du site %1...</translation>
    </message>
    <message>
        <source>The site %1 could not be read: %2</source>
        <translation>Impossible de lire le site %1 : %2</translation>
    </message>
    <message>
        <source>%1 (serial %2), hardware %3, firmware %4; first contact %5, last contact %6.</source>
        <translation>%1 (n° de série %2), matériel %3, firmware %4 ; premier contact %5, dernier contact %6.</translation>
    </message>
    <message>
        <source>Choose a site in the list to see its history.</source>
        <translation>Choisissez un site dans la liste pour voir son historique.</translation>
    </message>
    <message>
        <source>The history store: the path of an SQLite file, or a PostgreSQL database as
postgresql://[USER@]HOST[:PORT]/DATABASE (its password belongs in the PostgreSQL
password file, never here). Empty for the default store:
%1</source>
        <translation>La base d&apos;historique : le chemin d&apos;un fichier SQLite, ou une base PostgreSQL sous la forme
postgresql://[UTILISATEUR@]HÔTE[:PORT]/BASE (son mot de passe va dans le fichier de mots de passe
de PostgreSQL, jamais ici). Vide pour la base par défaut :
%1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no history store this program can use.

%2</source>
        <translation>« %1 » n&apos;est pas une base d&apos;historique utilisable par ce programme.

%2</translation>
    </message>
</context>
<context>
    <name>qd::gui::TSystemSetupForm</name>
    <message>
        <source>System setup</source>
        <translation>Configuration système</translation>
    </message>
    <message>
        <source>Main setup</source>
        <translation>Configuration générale</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>Soap amount alarm</source>
        <translation>Alarme quantité de lessive</translation>
    </message>
    <message>
        <source> Test</source>
        <translation> Test</translation>
    </message>
    <message>
        <source>Ethernet trigger test</source>
        <translation>Test trigger Ethernet</translation>
    </message>
    <message>
        <source> Machines </source>
        <translation> Machines </translation>
    </message>
    <message>
        <source>Machine %1</source>
        <translation>Machine %1</translation>
    </message>
    <message>
        <source> Location </source>
        <translation> Site </translation>
    </message>
    <message>
        <source>System name</source>
        <translation>Nom du système</translation>
    </message>
    <message>
        <source> PC settings </source>
        <translation> Paramètres PC </translation>
    </message>
    <message>
        <source>Default input filter time</source>
        <translation>Filtre d&apos;entrée par défaut</translation>
    </message>
    <message>
        <source>sec.</source>
        <translation>s</translation>
    </message>
    <message>
        <source> Watch </source>
        <translation> Horloge </translation>
    </message>
    <message>
        <source>QD310 watch:</source>
        <translation>Horloge QD310 :</translation>
    </message>
    <message>
        <source> Version info </source>
        <translation> Infos version </translation>
    </message>
    <message>
        <source>Serial:</source>
        <translation>N° de série :</translation>
    </message>
    <message>
        <source>Hardware version:</source>
        <translation>Version matérielle :</translation>
    </message>
    <message>
        <source>Firmware version:</source>
        <translation>Version du firmware :</translation>
    </message>
    <message>
        <source>Recipient (email or mobile number)</source>
        <translation>Destinataire (e-mail ou n° de mobile)</translation>
    </message>
    <message>
        <source>Recipient %1</source>
        <translation>Destinataire %1</translation>
    </message>
    <message>
        <source> Group 1 (send email or SMS) </source>
        <translation> Groupe 1 (envoi e-mail ou SMS) </translation>
    </message>
    <message>
        <source> Group 2 (send email or SMS) </source>
        <translation> Groupe 2 (envoi e-mail ou SMS) </translation>
    </message>
    <message>
        <source> Alarm log (saved in EEPROM) </source>
        <translation> Journal des alarmes (enregistré dans l&apos;EEPROM) </translation>
    </message>
    <message>
        <source> Active high (Normally Closed sensor contact) </source>
        <translation> Actif haut (contact capteur normalement fermé) </translation>
    </message>
    <message>
        <source>Extra</source>
        <translation>Extra</translation>
    </message>
    <message>
        <source>Common</source>
        <translation>Commun</translation>
    </message>
    <message>
        <source>Alarm on used soap amount</source>
        <translation>Alarme sur quantité de lessive consommée</translation>
    </message>
    <message>
        <source>Alarm amount</source>
        <translation>Seuil d&apos;alarme</translation>
    </message>
    <message>
        <source>Used amount</source>
        <translation>Quantité consommée</translation>
    </message>
    <message>
        <source>Pump %1 alarm amount</source>
        <translation>Pompe %1, seuil d&apos;alarme</translation>
    </message>
    <message>
        <source>Pump %1 used amount</source>
        <translation>Pompe %1, quantité consommée</translation>
    </message>
    <message>
        <source>Pump %1</source>
        <translation>Pompe %1</translation>
    </message>
    <message>
        <source>[litre]</source>
        <translation>[litre]</translation>
    </message>
    <message>
        <source> Pump  </source>
        <translation> Pompe  </translation>
    </message>
    <message>
        <source>Control</source>
        <translation>Commande</translation>
    </message>
    <message>
        <source>Pump %1 control</source>
        <translation>Commande pompe %1</translation>
    </message>
    <message>
        <source> Flush </source>
        <translation> Rinçage </translation>
    </message>
    <message>
        <source>Flush water</source>
        <translation>Rinçage eau</translation>
    </message>
    <message>
        <source>Flush water control</source>
        <translation>Commande rinçage eau</translation>
    </message>
    <message>
        <source>Flush drain</source>
        <translation>Rinçage vidange</translation>
    </message>
    <message>
        <source>Flush drain control</source>
        <translation>Commande rinçage vidange</translation>
    </message>
    <message>
        <source>Water</source>
        <translation>Eau</translation>
    </message>
    <message>
        <source>Drain</source>
        <translation>Vidange</translation>
    </message>
    <message>
        <source> Machine </source>
        <translation> Machine </translation>
    </message>
    <message>
        <source>Machine %1 signal</source>
        <translation>Signal machine %1</translation>
    </message>
    <message>
        <source>Machine %1 control</source>
        <translation>Commande machine %1</translation>
    </message>
    <message>
        <source> Alarm </source>
        <translation> Alarme </translation>
    </message>
    <message>
        <source>Alarm output</source>
        <translation>Sortie alarme</translation>
    </message>
    <message>
        <source> Control</source>
        <translation> Commande</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Sortie</translation>
    </message>
    <message>
        <source> Reset </source>
        <translation> Réinitialisation </translation>
    </message>
    <message>
        <source>All</source>
        <translation>Toutes</translation>
    </message>
    <message>
        <source>Machine:</source>
        <translation>Machine :</translation>
    </message>
    <message>
        <source>Reset machine</source>
        <translation>Réinitialiser la machine</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Monitor status</source>
        <translation>Surveiller l&apos;état</translation>
    </message>
    <message>
        <source>Miele Logic monitor</source>
        <translation>Moniteur Miele Logic</translation>
    </message>
</context>
<context>
    <name>qd::gui::TTriggerForm</name>
    <message>
        <source>Trigger, Machine %1</source>
        <translation>Trigger, machine %1</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source> Volume by weight adjustment  </source>
        <translation> Ajustement du volume selon le poids  </translation>
    </message>
    <message>
        <source>Low level adjust  -</source>
        <translation>Ajustement niveau bas  -</translation>
    </message>
    <message>
        <source>High level adjust   +</source>
        <translation>Ajustement niveau haut   +</translation>
    </message>
    <message>
        <source>Max. weight</source>
        <translation>Poids max.</translation>
    </message>
    <message>
        <source> Keyboard lock &amp;&amp; machine reset </source>
        <translation> Verrouillage clavier &amp;&amp; réinitialisation machine </translation>
    </message>
    <message>
        <source>Keyboard lock %1</source>
        <translation>Verrouillage clavier %1</translation>
    </message>
    <message>
        <source>Keyboard lock</source>
        <translation>Verrouillage clavier</translation>
    </message>
    <message>
        <source>Keyboard lock delay</source>
        <translation>Délai verrouillage clavier</translation>
    </message>
    <message>
        <source>Delay:</source>
        <translation>Délai :</translation>
    </message>
    <message>
        <source>sec.</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Machine reset</source>
        <translation>Réinit. machine</translation>
    </message>
    <message>
        <source>Machine reset delay</source>
        <translation>Délai réinitialisation machine</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>Accessible name of a Miele Logic text: its selection group, then its label.</extracomment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>Softner 2</source>
        <translation>Assouplissant 2</translation>
    </message>
    <message>
        <source>Pump 7</source>
        <translation>Pompe 7</translation>
    </message>
    <message>
        <source> Electrolux, 5xxx  Program mapping </source>
        <translation> Electrolux, 5xxx  Correspondance des programmes </translation>
    </message>
    <message>
        <source>Electrolux program %1</source>
        <translation>Programme Electrolux %1</translation>
    </message>
    <message>
        <source>Selected program number:</source>
        <translation>N° de programme sélectionné :</translation>
    </message>
    <message>
        <source> Miele Logic, Ethernet Trigger </source>
        <translation> Miele Logic, trigger Ethernet </translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Numéro de série</translation>
    </message>
    <message>
        <source>Machine ID</source>
        <translation>ID machine</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version :</translation>
    </message>
    <message>
        <source>Trigger module version</source>
        <translation>Version du module trigger</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Not in use</source>
        <translation>Non utilisé</translation>
    </message>
    <message>
        <source>Save modifications?</source>
        <translation>Enregistrer les modifications ?</translation>
    </message>
</context>
</TS>
