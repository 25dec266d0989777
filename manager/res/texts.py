# The Manager's texts in its five languages, one entry per text.
#
# A key in capitals is a string-table id named in resource.h; a dotted lower-case key is a text
# that a menu or dialog in layout.py uses. Every entry must carry all five languages: genrc.py
# stops the build when one is missing or empty, when a translation's printf fields, line breaks
# or tabs differ from the English, or when an "&" mark is added or lost.
#
# English is the reference text and is kept exactly as the program has always shown it, odd
# spellings included ("recieve", "Operaion"): other programs and users' habits match on it.
# Product names (Ravelink, Ravelink Manager, Ravelink Client, Ravelink for Virerure) are never
# translated. The Windows key names follow each language's keyboard: Strg/Entf, Suppr, Canc, Supr.
#
# Escapes as in C: \t separates a menu item's text from its shortcut, \n a command's status-bar
# prompt from its tooltip, \r\n is a line break in a message box.

TEXTS = []


def text(key, en=None, de=None, fr=None, it=None, es=None):
    TEXTS.append((key, {"en": en, "de": de, "fr": fr, "it": it, "es": es}))


# ---- program title, notifications -------------------------------------------------------------

text("IDR_MAINFRAME",
     en="Ravelink Manager", de="Ravelink Manager", fr="Ravelink Manager",
     it="Ravelink Manager", es="Ravelink Manager")
text("IDS_APP_TITLE",
     en="Ravelink Manager", de="Ravelink Manager", fr="Ravelink Manager",
     it="Ravelink Manager", es="Ravelink Manager")
text("IDR_TRAYMENU",
     en="Ravelink Manager", de="Ravelink Manager", fr="Ravelink Manager",
     it="Ravelink Manager", es="Ravelink Manager")
text("IDS_IDLE_PROMPT",
     en="Ready", de="Bereit", fr="Prêt", it="Pronto", es="Listo")
text("IDS_TOOLBAR_TITLE",
     en="Standard", de="Standard", fr="Standard", it="Standard", es="Estándar")
text("IDS_NOTIFY_NEW",
     en="You have received new events in your mailbox.",
     de="Sie haben neue Ereignisse in Ihrem Postfach erhalten.",
     fr="Vous avez reçu de nouveaux événements dans votre boîte aux lettres.",
     it="Sono arrivati nuovi eventi nella casella postale.",
     es="Ha recibido nuevos eventos en su buzón.")
text("IDS_NOTIFY_FAILED",
     en="Some events in your mailbox failed.",
     de="Einige Ereignisse in Ihrem Postfach sind fehlgeschlagen.",
     fr="Certains événements de votre boîte aux lettres ont échoué.",
     it="Alcuni eventi della casella postale non sono riusciti.",
     es="Algunos eventos de su buzón han fallado.")
text("IDS_TRAY",
     en="Ravelink Manager", de="Ravelink Manager", fr="Ravelink Manager",
     it="Ravelink Manager", es="Ravelink Manager")
text("IDS_TRAY_FAILED",
     en="Ravelink Manager - You have failed events",
     de="Ravelink Manager - Sie haben fehlgeschlagene Ereignisse",
     fr="Ravelink Manager - Vous avez des événements en échec",
     it="Ravelink Manager - Ci sono eventi non riusciti",
     es="Ravelink Manager - Tiene eventos fallidos")
text("IDS_TRAY_UNREAD",
     en="Ravelink Manager - You have unread events",
     de="Ravelink Manager - Sie haben ungelesene Ereignisse",
     fr="Ravelink Manager - Vous avez des événements non lus",
     it="Ravelink Manager - Ci sono eventi non letti",
     es="Ravelink Manager - Tiene eventos sin leer")
text("IDS_TRAY_BOTH",
     en="Ravelink Manager - You have failed and unread events",
     de="Ravelink Manager - Sie haben fehlgeschlagene und ungelesene Ereignisse",
     fr="Ravelink Manager - Vous avez des événements en échec et non lus",
     it="Ravelink Manager - Ci sono eventi non riusciti e non letti",
     es="Ravelink Manager - Tiene eventos fallidos y sin leer")
text("IDS_PARSE_INT",
     en="Please enter an integer.",
     de="Bitte geben Sie eine ganze Zahl ein.",
     fr="Veuillez entrer un nombre entier.",
     it="Immettere un numero intero.",
     es="Escriba un número entero.")

# ---- mailbox -----------------------------------------------------------------------------------

text("IDS_USER_NOT_FOUND",
     en="Your user name was not found in the Ravelink mailbox directory.\r\n"
        "Please contact your Network Administrator.",
     de="Ihr Benutzername wurde im Ravelink-Postfachverzeichnis nicht gefunden.\r\n"
        "Bitte wenden Sie sich an Ihren Netzwerkadministrator.",
     fr="Votre nom d'utilisateur est introuvable dans le répertoire des boîtes aux lettres "
        "Ravelink.\r\nVeuillez contacter votre administrateur réseau.",
     it="Il nome utente non è stato trovato nella directory delle caselle postali di "
        "Ravelink.\r\nRivolgersi all'amministratore di rete.",
     es="Su nombre de usuario no se encontró en el directorio de buzones de Ravelink.\r\n"
        "Póngase en contacto con el administrador de la red.")
text("IDS_NO_CONNECTION",
     en="Could not connect to Ravelink. Please contact your Network Administrator or "
        "reinstall the client.",
     de="Es konnte keine Verbindung zu Ravelink hergestellt werden. Bitte wenden Sie sich an "
        "Ihren Netzwerkadministrator oder installieren Sie den Client neu.",
     fr="Impossible de se connecter à Ravelink. Veuillez contacter votre administrateur "
        "réseau ou réinstaller le client.",
     it="Impossibile connettersi a Ravelink. Rivolgersi all'amministratore di rete o "
        "reinstallare il client.",
     es="No se pudo conectar con Ravelink. Póngase en contacto con el administrador de la red "
        "o vuelva a instalar el cliente.")

# ---- event states and list ---------------------------------------------------------------------

text("IDS_STATE_PENDING",
     en="Pending", de="Ausstehend", fr="En attente", it="In attesa", es="Pendiente")
text("IDS_STATE_SENT",
     en="Sent", de="Gesendet", fr="Envoyé", it="Inviato", es="Enviado")
text("IDS_STATE_UNREAD",
     en="Unread", de="Ungelesen", fr="Non lu", it="Non letto", es="No leído")
text("IDS_STATE_READ",
     en="Read", de="Gelesen", fr="Lu", it="Letto", es="Leído")
text("IDS_STATE_FAILED",
     en="Failed", de="Fehlgeschlagen", fr="Échec", it="Non riuscito", es="Fallido")
text("IDS_STATE_QUEUED",
     en="Queued", de="In Warteschlange", fr="En file d'attente", it="In coda", es="En cola")
text("IDS_STATE_WORKING",
     en="Working", de="In Bearbeitung", fr="En cours", it="In elaborazione", es="En proceso")
text("IDS_STATE_CANCELLED",
     en="Cancelled", de="Abgebrochen", fr="Annulé", it="Annullato", es="Cancelado")
text("IDS_COLUMN_STATE",
     en="State", de="Status", fr="État", it="Stato", es="Estado")
text("IDS_COLUMN_TOFROM",
     en="To/From", de="An/Von", fr="À/De", it="A/Da", es="Para/De")
text("IDS_COLUMN_SUBJECT",
     en="Subject", de="Betreff", fr="Objet", it="Oggetto", es="Asunto")
text("IDS_COLUMN_DATETIME",
     en="Date/Time", de="Datum/Uhrzeit", fr="Date/Heure", it="Data/Ora", es="Fecha/Hora")
text("IDS_UNKNOWN_PARTY",
     en="<Unknown>", de="<Unbekannt>", fr="<Inconnu>", it="<Sconosciuto>", es="<Desconocido>")

# ---- folder tree -------------------------------------------------------------------------------

text("IDS_FOLDER_INBOX",
     en="Inbox", de="Posteingang", fr="Boîte de réception", it="Posta in arrivo",
     es="Bandeja de entrada")
text("IDS_FOLDER_OUTBOX",
     en="Outbox", de="Postausgang", fr="Boîte d'envoi", it="Posta in uscita",
     es="Bandeja de salida")
text("IDS_FOLDER_MAIN",
     en="Main Mailbox Folders", de="Postfachordner", fr="Dossiers de la boîte aux lettres",
     it="Cartelle della casella postale", es="Carpetas del buzón")
text("IDS_FOLDER_PERSONAL",
     en="Personal Folders", de="Persönliche Ordner", fr="Dossiers personnels",
     it="Cartelle personali", es="Carpetas personales")
text("IDS_FOLDER_NAME_EXISTS",
     en="Name of folder already exists. Please specify a different name.",
     de="Ein Ordner mit diesem Namen ist bereits vorhanden. Bitte geben Sie einen anderen "
        "Namen an.",
     fr="Un dossier portant ce nom existe déjà. Veuillez indiquer un autre nom.",
     it="Esiste già una cartella con questo nome. Specificare un nome diverso.",
     es="Ya existe una carpeta con ese nombre. Especifique otro nombre.")
text("IDS_FOLDER_DELETE_ASK",
     en="This operation will delete all the mails in the folder and cannot be undone! "
        "Are you sure?",
     de="Dieser Vorgang löscht alle Nachrichten im Ordner und kann nicht rückgängig gemacht "
        "werden! Möchten Sie fortfahren?",
     fr="Cette opération supprimera tous les messages du dossier et ne pourra pas être "
        "annulée ! Voulez-vous continuer ?",
     it="Questa operazione eliminerà tutti i messaggi della cartella e non potrà essere "
        "annullata. Continuare?",
     es="Esta operación eliminará todos los mensajes de la carpeta y no se puede deshacer. "
        "¿Está seguro?")
text("IDS_FOLDER_NEW_NAME",
     en="New Folder", de="Neuer Ordner", fr="Nouveau dossier", it="Nuova cartella",
     es="Nueva carpeta")
text("IDS_FOLDER_DIR_EXISTS",
     en="The directory '%s' already exists. Please specify a different location.",
     de="Das Verzeichnis '%s' ist bereits vorhanden. Bitte geben Sie einen anderen "
        "Speicherort an.",
     fr="Le répertoire '%s' existe déjà. Veuillez indiquer un autre emplacement.",
     it="La directory '%s' esiste già. Specificare un percorso diverso.",
     es="El directorio '%s' ya existe. Especifique otra ubicación.")
text("IDS_FOLDER_BROWSE_TITLE",
     en="Select directory where the personal mailbox will be created.",
     de="Wählen Sie das Verzeichnis, in dem das persönliche Postfach angelegt werden soll.",
     fr="Sélectionnez le répertoire dans lequel la boîte aux lettres personnelle sera créée.",
     it="Selezionare la directory in cui creare la casella postale personale.",
     es="Seleccione el directorio donde se creará el buzón personal.")
text("IDS_FOLDER_MKDIR_FAILED",
     en="Could not create directory '%s'. Operaion aborted.",
     de="Das Verzeichnis '%s' konnte nicht erstellt werden. Der Vorgang wurde abgebrochen.",
     fr="Impossible de créer le répertoire '%s'. Opération annulée.",
     it="Impossibile creare la directory '%s'. Operazione annullata.",
     es="No se pudo crear el directorio '%s'. Operación cancelada.")

# ---- event details -----------------------------------------------------------------------------

text("IDS_DETAILS_FROM", en="From:", de="Von:", fr="De :", it="Da:", es="De:")
text("IDS_DETAILS_TO", en="To:", de="An:", fr="À :", it="A:", es="Para:")
text("IDS_DETAILS_RECEIVED",
     en="Received:", de="Empfangen:", fr="Reçu le :", it="Ricevuto:", es="Recibido:")
text("IDS_DETAILS_SENT",
     en="Sent:", de="Gesendet:", fr="Envoyé le :", it="Inviato:", es="Enviado:")
text("IDS_DETAILS_SAVE_ASK",
     en="You have made changes to the message, save changes?",
     de="Sie haben die Nachricht geändert. Änderungen speichern?",
     fr="Vous avez modifié le message. Enregistrer les modifications ?",
     it="Il messaggio è stato modificato. Salvare le modifiche?",
     es="Ha modificado el mensaje. ¿Desea guardar los cambios?")

# ---- event commands ----------------------------------------------------------------------------

text("IDS_DELETE_ASK",
     en="Are you sure to delete the selected event(s)?",
     de="Möchten Sie die ausgewählten Ereignisse wirklich löschen?",
     fr="Voulez-vous vraiment supprimer les événements sélectionnés ?",
     it="Eliminare gli eventi selezionati?",
     es="¿Está seguro de que desea eliminar los eventos seleccionados?")
text("IDS_DELETE_QUEUED_ASK",
     en="This is a queued item. If you delete it, it will not be updated and you will recieve "
        "a new item as notification for this item. Do you want to delete it?",
     de="Dieses Ereignis befindet sich in der Warteschlange. Wenn Sie es löschen, wird es nicht "
        "mehr aktualisiert, und Sie erhalten stattdessen ein neues Ereignis als Benachrichtigung. "
        "Möchten Sie es löschen?",
     fr="Cet élément est en file d'attente. Si vous le supprimez, il ne sera plus mis à jour et "
        "vous recevrez un nouvel élément en guise de notification. Voulez-vous le supprimer ?",
     it="Questo elemento è in coda. Se lo si elimina, non verrà più aggiornato e si riceverà "
        "un nuovo elemento come notifica. Eliminarlo?",
     es="Este elemento está en cola. Si lo elimina, no se actualizará y recibirá un nuevo "
        "elemento como notificación. ¿Desea eliminarlo?")
text("IDS_NO_VIEWER",
     en="Could not load the Ravelink viewer (or one of its components). Make sure that the "
        "viewer exists in your Ravelink directory and that all required libraries are available.",
     de="Der Ravelink-Viewer (oder eine seiner Komponenten) konnte nicht geladen werden. "
        "Stellen Sie sicher, dass der Viewer in Ihrem Ravelink-Verzeichnis vorhanden ist und "
        "alle benötigten Bibliotheken verfügbar sind.",
     fr="Impossible de charger la visionneuse Ravelink (ou l'un de ses composants). Vérifiez "
        "que la visionneuse se trouve dans votre répertoire Ravelink et que toutes les "
        "bibliothèques nécessaires sont disponibles.",
     it="Impossibile caricare il visualizzatore Ravelink (o uno dei suoi componenti). "
        "Verificare che il visualizzatore si trovi nella directory di Ravelink e che tutte le "
        "librerie necessarie siano disponibili.",
     es="No se pudo cargar el visor de Ravelink (o uno de sus componentes). Compruebe que el "
        "visor se encuentra en el directorio de Ravelink y que todas las bibliotecas necesarias "
        "están disponibles.")
text("IDS_NO_COMPOSER",
     en="Could not load the Ravelink Client (or one of its components). Make sure that the "
        "client exists in your Ravelink directory and that all required libraries are available.",
     de="Der Ravelink Client (oder eine seiner Komponenten) konnte nicht geladen werden. "
        "Stellen Sie sicher, dass der Client in Ihrem Ravelink-Verzeichnis vorhanden ist und "
        "alle benötigten Bibliotheken verfügbar sind.",
     fr="Impossible de charger le Ravelink Client (ou l'un de ses composants). Vérifiez que le "
        "client se trouve dans votre répertoire Ravelink et que toutes les bibliothèques "
        "nécessaires sont disponibles.",
     it="Impossibile caricare Ravelink Client (o uno dei suoi componenti). Verificare che il "
        "client si trovi nella directory di Ravelink e che tutte le librerie necessarie siano "
        "disponibili.",
     es="No se pudo cargar Ravelink Client (o uno de sus componentes). Compruebe que el "
        "cliente se encuentra en el directorio de Ravelink y que todas las bibliotecas "
        "necesarias están disponibles.")
text("IDS_EXPORT_TITLE",
     en="Save Log to File", de="Protokoll in Datei speichern",
     fr="Enregistrer le journal dans un fichier", it="Salva registro su file",
     es="Guardar registro en archivo")
text("IDS_EXPORT_TEXTFILES",
     en="Text files (*.txt)", de="Textdateien (*.txt)", fr="Fichiers texte (*.txt)",
     it="File di testo (*.txt)", es="Archivos de texto (*.txt)")
text("IDS_EXPORT_ALLFILES",
     en="All files (*.*)", de="Alle Dateien (*.*)", fr="Tous les fichiers (*.*)",
     it="Tutti i file (*.*)", es="Todos los archivos (*.*)")

# ---- command prompts and tooltips --------------------------------------------------------------

text("ID_OPEN_MANAGER",
     en="Show manager window\nOpen Manager",
     de="Zeigt das Fenster des Managers an\nManager öffnen",
     fr="Affiche la fenêtre du Manager\nOuvrir le Manager",
     it="Mostra la finestra del Manager\nApri Manager",
     es="Muestra la ventana del Manager\nAbrir Manager")
text("ID_NEW_FAX",
     en="Creates a new fax\nNew Fax (Ctrl+N)",
     de="Erstellt ein neues Fax\nNeues Fax (Strg+N)",
     fr="Crée un nouveau fax\nNouveau fax (Ctrl+N)",
     it="Crea un nuovo fax\nNuovo fax (Ctrl+N)",
     es="Crea un fax nuevo\nNuevo fax (Ctrl+N)")
text("ID_EXPORT_LOG",
     en="Exports the visible events to a log file\nExport log",
     de="Exportiert die angezeigten Ereignisse in eine Protokolldatei\nProtokoll exportieren",
     fr="Exporte les événements affichés dans un fichier journal\nExporter le journal",
     it="Esporta gli eventi visualizzati in un file di registro\nEsporta registro",
     es="Exporta los eventos visibles a un archivo de registro\nExportar registro")
text("ID_EVENT_VIEW",
     en="Views the selected event\nView",
     de="Zeigt das ausgewählte Ereignis an\nAnzeigen",
     fr="Affiche l'événement sélectionné\nAfficher",
     it="Visualizza l'evento selezionato\nVisualizza",
     es="Muestra el evento seleccionado\nVer")
text("ID_EVENT_PRINT",
     en="Prints the selected event\nPrint",
     de="Druckt das ausgewählte Ereignis\nDrucken",
     fr="Imprime l'événement sélectionné\nImprimer",
     it="Stampa l'evento selezionato\nStampa",
     es="Imprime el evento seleccionado\nImprimir")
text("ID_EVENT_DETAILS",
     en="Shows the details of the selected event\nDetails",
     de="Zeigt die Details des ausgewählten Ereignisses an\nDetails",
     fr="Affiche les détails de l'événement sélectionné\nDétails",
     it="Mostra i dettagli dell'evento selezionato\nDettagli",
     es="Muestra los detalles del evento seleccionado\nDetalles")
text("ID_EVENT_ROUTE",
     en="Routes the selected events to other users\nRoute",
     de="Leitet die ausgewählten Ereignisse an andere Benutzer um\nUmleiten",
     fr="Achemine les événements sélectionnés vers d'autres utilisateurs\nAcheminer",
     it="Instrada gli eventi selezionati ad altri utenti\nInstrada",
     es="Redirige los eventos seleccionados a otros usuarios\nRedirigir")
text("ID_EVENT_RESUBMIT",
     en="Sends again the selected events\nResubmit",
     de="Sendet die ausgewählten Ereignisse erneut\nErneut senden",
     fr="Envoie de nouveau les événements sélectionnés\nRenvoyer",
     it="Invia di nuovo gli eventi selezionati\nReinvia",
     es="Vuelve a enviar los eventos seleccionados\nVolver a enviar")
text("ID_EVENT_FORWARD",
     en="Forwards the selected event as a new fax\nForward",
     de="Leitet das ausgewählte Ereignis als neues Fax weiter\nWeiterleiten",
     fr="Transfère l'événement sélectionné dans un nouveau fax\nTransférer",
     it="Inoltra l'evento selezionato come nuovo fax\nInoltra",
     es="Reenvía el evento seleccionado como un fax nuevo\nReenviar")
text("ID_EVENT_MOVE",
     en="Moves or copies the selected events to a folder\nMove to Folder",
     de="Verschiebt oder kopiert die ausgewählten Ereignisse in einen Ordner\n"
        "In Ordner verschieben",
     fr="Déplace ou copie les événements sélectionnés vers un dossier\n"
        "Déplacer vers un dossier",
     it="Sposta o copia gli eventi selezionati in una cartella\nSposta nella cartella",
     es="Mueve o copia los eventos seleccionados a una carpeta\nMover a carpeta")
text("ID_EVENT_DELETE",
     en="Deletes the selected events\nDelete (Del)",
     de="Löscht die ausgewählten Ereignisse\nLöschen (Entf)",
     fr="Supprime les événements sélectionnés\nSupprimer (Suppr)",
     it="Elimina gli eventi selezionati\nElimina (Canc)",
     es="Elimina los eventos seleccionados\nEliminar (Supr)")
text("ID_VIEW_REFRESH",
     en="Reloads the event list\nRefresh (F5)",
     de="Lädt die Ereignisliste neu\nAktualisieren (F5)",
     fr="Recharge la liste des événements\nActualiser (F5)",
     it="Ricarica l'elenco degli eventi\nAggiorna (F5)",
     es="Vuelve a cargar la lista de eventos\nActualizar (F5)")
text("ID_VIEW_SENT",
     en="Toggles display of sent events\nToggle Sent events (Ctrl+S)",
     de="Blendet gesendete Ereignisse ein oder aus\nGesendete Ereignisse ein/aus (Strg+S)",
     fr="Affiche ou masque les événements envoyés\nÉvénements envoyés (Ctrl+S)",
     it="Mostra o nasconde gli eventi inviati\nEventi inviati (Ctrl+S)",
     es="Muestra u oculta los eventos enviados\nEventos enviados (Ctrl+S)")
text("ID_VIEW_READ",
     en="Toggles display of read events\nToggle Read events (Ctrl+R)",
     de="Blendet gelesene Ereignisse ein oder aus\nGelesene Ereignisse ein/aus (Strg+R)",
     fr="Affiche ou masque les événements lus\nÉvénements lus (Ctrl+R)",
     it="Mostra o nasconde gli eventi letti\nEventi letti (Ctrl+R)",
     es="Muestra u oculta los eventos leídos\nEventos leídos (Ctrl+R)")
text("ID_VIEW_FAILED",
     en="Toggles display of failed events\nToggle Failed events (Ctrl+F)",
     de="Blendet fehlgeschlagene Ereignisse ein oder aus\n"
        "Fehlgeschlagene Ereignisse ein/aus (Strg+F)",
     fr="Affiche ou masque les événements en échec\nÉvénements en échec (Ctrl+F)",
     it="Mostra o nasconde gli eventi non riusciti\nEventi non riusciti (Ctrl+F)",
     es="Muestra u oculta los eventos fallidos\nEventos fallidos (Ctrl+F)")
text("ID_VIEW_TOOLBAR",
     en="Shows or hides the toolbar\nToggle ToolBar",
     de="Blendet die Symbolleiste ein oder aus\nSymbolleiste ein/aus",
     fr="Affiche ou masque la barre d'outils\nBarre d'outils",
     it="Mostra o nasconde la barra degli strumenti\nBarra degli strumenti",
     es="Muestra u oculta la barra de herramientas\nBarra de herramientas")
text("ID_VIEW_STATUS_BAR",
     en="Shows or hides the status bar\nToggle StatusBar",
     de="Blendet die Statusleiste ein oder aus\nStatusleiste ein/aus",
     fr="Affiche ou masque la barre d'état\nBarre d'état",
     it="Mostra o nasconde la barra di stato\nBarra di stato",
     es="Muestra u oculta la barra de estado\nBarra de estado")
text("ID_OPTIONS",
     en="Configures your manager environment\nOptions",
     de="Legt die Einstellungen des Managers fest\nOptionen",
     fr="Configure l'environnement du Manager\nOptions",
     it="Configura l'ambiente del Manager\nOpzioni",
     es="Configura el entorno del Manager\nOpciones")
text("ID_FOLDER_NEW",
     en="Creates a new personal folder\nNew Folder",
     de="Erstellt einen neuen persönlichen Ordner\nNeuer Ordner",
     fr="Crée un nouveau dossier personnel\nNouveau dossier",
     it="Crea una nuova cartella personale\nNuova cartella",
     es="Crea una carpeta personal nueva\nNueva carpeta")
text("ID_FOLDER_DELETE",
     en="Deletes the selected personal folder and its events\nDelete Folder",
     de="Löscht den ausgewählten persönlichen Ordner mit seinen Ereignissen\nOrdner löschen",
     fr="Supprime le dossier personnel sélectionné et ses événements\nSupprimer le dossier",
     it="Elimina la cartella personale selezionata e i relativi eventi\nElimina cartella",
     es="Elimina la carpeta personal seleccionada y sus eventos\nEliminar carpeta")
text("ID_HELP_CONTENTS",
     en="Opens the help contents\nHelp Contents",
     de="Zeigt den Inhalt der Hilfe an\nHilfe",
     fr="Affiche le sommaire de l'aide\nAide",
     it="Apre il sommario della Guida\nGuida",
     es="Abre el contenido de la Ayuda\nAyuda")
text("ID_APP_ABOUT",
     en="Displays program information, version number and copyright\nAbout",
     de="Zeigt Programminformationen, Versionsnummer und Copyright an\nInfo",
     fr="Affiche les informations sur le programme, sa version et son copyright\nÀ propos de",
     it="Visualizza informazioni sul programma, numero di versione e copyright\nInformazioni",
     es="Muestra información del programa, número de versión y copyright\nAcerca de")
text("ID_APP_EXIT",
     en="Quits the application\nExit",
     de="Beendet die Anwendung\nBeenden",
     fr="Quitte l'application\nQuitter",
     it="Chiude l'applicazione\nEsci",
     es="Sale de la aplicación\nSalir")

# ---- main menu ---------------------------------------------------------------------------------

text("menu.file", en="&File", de="&Datei", fr="&Fichier", it="&File", es="&Archivo")
text("menu.folders", en="F&olders", de="&Ordner", fr="&Dossiers", it="&Cartelle",
     es="&Carpetas")
text("menu.event", en="&Event", de="&Ereignis", fr="É&vénement", it="&Evento", es="&Evento")
text("menu.view", en="&View", de="&Ansicht", fr="&Affichage", it="&Visualizza", es="&Ver")
text("menu.help", en="&Help", de="&Hilfe", fr="&?", it="&Guida", es="Ay&uda")

text("menu.file.newfax",
     en="&New Fax...\tCtrl + N", de="&Neues Fax...\tStrg + N", fr="&Nouveau fax...\tCtrl + N",
     it="&Nuovo fax...\tCtrl + N", es="&Nuevo fax...\tCtrl + N")
text("menu.file.options",
     en="Manager Options...", de="Manager-Optionen...", fr="Options du Manager...",
     it="Opzioni del Manager...", es="Opciones del Manager...")
text("menu.file.exportlog",
     en="&Export Log...", de="Protokoll &exportieren...", fr="&Exporter le journal...",
     it="&Esporta registro...", es="&Exportar registro...")
text("menu.file.exit",
     en="E&xit\tAlt + F4", de="&Beenden\tAlt + F4", fr="&Quitter\tAlt + F4",
     it="E&sci\tAlt + F4", es="&Salir\tAlt + F4")

text("menu.folders.new",
     en="New folder...", de="Neuer Ordner...", fr="Nouveau dossier...", it="Nuova cartella...",
     es="Nueva carpeta...")
text("menu.folders.delete",
     en="Delete folder", de="Ordner löschen", fr="Supprimer le dossier", it="Elimina cartella",
     es="Eliminar carpeta")

text("menu.event.view",
     en="&View...", de="&Anzeigen...", fr="&Afficher...", it="&Visualizza...", es="&Ver...")
text("menu.event.print",
     en="&Print...", de="&Drucken...", fr="&Imprimer...", it="&Stampa...", es="&Imprimir...")
text("menu.event.details",
     en="De&tails...", de="De&tails...", fr="Dé&tails...", it="De&ttagli...", es="De&talles...")
text("menu.event.move",
     en="Move to Folder...", de="In Ordner verschieben...", fr="Déplacer vers un dossier...",
     it="Sposta nella cartella...", es="Mover a carpeta...")
text("menu.event.route",
     en="&Route...", de="&Umleiten...", fr="Ac&heminer...", it="I&nstrada...",
     es="&Redirigir...")
text("menu.event.resubmit",
     en="Resu&bmit", de="Erneut &senden", fr="Ren&voyer", it="&Reinvia",
     es="Volver a e&nviar")
text("menu.event.forward",
     en="Forward...", de="Weiterleiten...", fr="Transférer...", it="Inoltra...",
     es="Reenviar...")
text("menu.event.delete",
     en="&Delete...\tDel", de="&Löschen...\tEntf", fr="&Supprimer...\tSuppr",
     it="&Elimina...\tCanc", es="&Eliminar...\tSupr")

text("menu.view.refresh",
     en="&Refresh\tF5", de="&Aktualisieren\tF5", fr="&Actualiser\tF5", it="&Aggiorna\tF5",
     es="&Actualizar\tF5")
text("menu.view.sent",
     en="&Sent items\tCtrl + S", de="&Gesendete Ereignisse\tStrg + S",
     fr="Événements &envoyés\tCtrl + S", it="Eventi &inviati\tCtrl + S",
     es="Eventos &enviados\tCtrl + S")
text("menu.view.read",
     en="&Read items\tCtrl + R", de="Ge&lesene Ereignisse\tStrg + R",
     fr="Événements &lus\tCtrl + R", it="Eventi &letti\tCtrl + R",
     es="Eventos &leídos\tCtrl + R")
text("menu.view.failed",
     en="&Failed items\tCtrl + F", de="&Fehlgeschlagene Ereignisse\tStrg + F",
     fr="Événements en é&chec\tCtrl + F", it="Eventi &non riusciti\tCtrl + F",
     es="Eventos &fallidos\tCtrl + F")
text("menu.view.toolbar",
     en="&Toolbar", de="&Symbolleiste", fr="&Barre d'outils", it="&Barra degli strumenti",
     es="&Barra de herramientas")
text("menu.view.statusbar",
     en="Status &Bar", de="S&tatusleiste", fr="Barre d'é&tat", it="Barra di s&tato",
     es="Barra de e&stado")

text("menu.help.contents",
     en="Contents...", de="Inhalt...", fr="Sommaire...", it="Sommario...", es="Contenido...")
text("menu.about",
     en="&About Ravelink...", de="&Info über Ravelink...", fr="À &propos de Ravelink...",
     it="&Informazioni su Ravelink...", es="Acerca &de Ravelink...")

# ---- event list's context menu (no mnemonics: it is opened with the mouse) ---------------------

text("menu.context.view",
     en="View...", de="Anzeigen...", fr="Afficher...", it="Visualizza...", es="Ver...")
text("menu.context.print",
     en="Print...", de="Drucken...", fr="Imprimer...", it="Stampa...", es="Imprimir...")
text("menu.context.details",
     en="Details...", de="Details...", fr="Détails...", it="Dettagli...", es="Detalles...")
text("menu.context.route",
     en="Route...", de="Umleiten...", fr="Acheminer...", it="Instrada...", es="Redirigir...")
text("menu.context.resubmit",
     en="Resubmit", de="Erneut senden", fr="Renvoyer", it="Reinvia", es="Volver a enviar")
text("menu.context.delete",
     en="Delete...", de="Löschen...", fr="Supprimer...", it="Elimina...", es="Eliminar...")

# ---- notification-area menu --------------------------------------------------------------------

text("menu.tray.open",
     en="&Open Manager...", de="&Manager öffnen...", fr="&Ouvrir le Manager...",
     it="&Apri Manager...", es="&Abrir Manager...")
text("menu.tray.newfax",
     en="&New Fax...", de="&Neues Fax...", fr="&Nouveau fax...", it="&Nuovo fax...",
     es="&Nuevo fax...")
text("menu.tray.options",
     en="Options...", de="Optionen...", fr="Options...", it="Opzioni...", es="Opciones...")
text("menu.tray.exit",
     en="E&xit", de="&Beenden", fr="&Quitter", it="E&sci", es="&Salir")

# ---- dialogs -----------------------------------------------------------------------------------

text("dialog.ok", en="OK", de="OK", fr="OK", it="OK", es="Aceptar")
text("dialog.cancel", en="Cancel", de="Abbrechen", fr="Annuler", it="Annulla", es="Cancelar")

text("details.caption",
     en="Ravelink Manager - Event details...", de="Ravelink Manager - Ereignisdetails...",
     fr="Ravelink Manager - Détails de l'événement...",
     it="Ravelink Manager - Dettagli evento...",
     es="Ravelink Manager - Detalles del evento...")
text("details.party", en="From/To:", de="Von/An:", fr="De/À :", it="Da/A:", es="De/Para:")
text("details.date",
     en="Date/Time:", de="Datum/Uhrzeit:", fr="Date/heure :", it="Data/ora:", es="Fecha/hora:")
text("details.subject",
     en="Subject:", de="Betreff:", fr="Objet :", it="Oggetto:", es="Asunto:")

text("route.caption",
     en="Route events...", de="Ereignisse umleiten...", fr="Acheminer les événements...",
     it="Instrada eventi...", es="Redirigir eventos...")
text("route.intro",
     en="Please select the Ravelink for Virerure users you wish to route the selected events "
        "to...",
     de="Bitte wählen Sie die Benutzer von Ravelink for Virerure aus, an die die ausgewählten "
        "Ereignisse umgeleitet werden sollen...",
     fr="Veuillez sélectionner les utilisateurs de Ravelink for Virerure vers lesquels acheminer "
        "les événements sélectionnés...",
     it="Selezionare gli utenti di Ravelink for Virerure a cui instradare gli eventi "
        "selezionati...",
     es="Seleccione los usuarios de Ravelink for Virerure a los que desea redirigir los eventos "
        "seleccionados...")
text("route.users",
     en="Ravelink users:", de="Ravelink-Benutzer:", fr="Utilisateurs Ravelink :",
     it="Utenti Ravelink:", es="Usuarios de Ravelink:")
text("route.targets",
     en="Route to:", de="Umleiten an:", fr="Acheminer vers :", it="Instrada a:",
     es="Redirigir a:")
text("route.add", en="&To >>", de="&An >>", fr="&Vers >>", it="&A >>", es="&A >>")
text("route.remove",
     en="<< &Remove", de="<< &Entfernen", fr="<< &Retirer", it="<< &Rimuovi", es="<< &Quitar")

text("options.caption",
     en="Manager options", de="Manager-Optionen", fr="Options du Manager",
     it="Opzioni del Manager", es="Opciones del Manager")
text("options.general",
     en="General", de="Allgemein", fr="Général", it="Generale", es="General")
text("options.interval",
     en="&Check for new events every", de="Auf neue Ereignisse &prüfen alle",
     fr="&Vérifier la boîte toutes les", it="&Controlla nuovi eventi ogni",
     es="&Buscar eventos nuevos cada")
text("options.minutes",
     en="minute(s)", de="Minute(n)", fr="minute(s)", it="minuti", es="minuto(s)")
text("options.beep",
     en="Notify new events with a &beep", de="Neue Ereignisse mit einem &Signalton melden",
     fr="Signaler les nouveaux événements par un &bip",
     it="Segnala i nuovi eventi con un &segnale acustico",
     es="Avisar de los eventos nuevos con un &pitido")
text("options.popups",
     en="Popups (leave edit fields empty for default messages)",
     de="Meldungen (Felder leer lassen für die Standardtexte)",
     fr="Messages (champs vides : messages par défaut)",
     it="Messaggi (campi vuoti: messaggi predefiniti)",
     es="Mensajes (campos vacíos: mensajes predeterminados)")
text("options.popupnew",
     en="Notify &new events with a popup message:",
     de="&Neue Ereignisse mit einer Meldung anzeigen:",
     fr="Signaler les &nouveaux événements par un message :",
     it="Segnala i &nuovi eventi con un messaggio:",
     es="Avisar de los eventos &nuevos con un mensaje:")
text("options.popupfailed",
     en="Notify &failed events with a popup message:",
     de="&Fehlgeschlagene Ereignisse mit einer Meldung anzeigen:",
     fr="Signaler les événements en é&chec par un message :",
     it="Segnala gli eventi non &riusciti con un messaggio:",
     es="Avisar de los eventos &fallidos con un mensaje:")

text("newfolder.caption",
     en="Create new folder", de="Neuen Ordner erstellen", fr="Créer un dossier",
     it="Crea nuova cartella", es="Crear carpeta")
text("newfolder.name", en="&Name:", de="&Name:", fr="&Nom :", it="&Nome:", es="&Nombre:")
text("newfolder.location",
     en="&Location:", de="&Speicherort:", fr="&Emplacement :", it="&Percorso:",
     es="&Ubicación:")
text("newfolder.browse",
     en="Browse...", de="Durchsuchen...", fr="Parcourir...", it="Sfoglia...", es="Examinar...")

text("move.caption",
     en="Move Event to Folder...", de="Ereignis in Ordner verschieben...",
     fr="Déplacer l'événement vers un dossier...", it="Sposta evento nella cartella...",
     es="Mover evento a carpeta...")
text("move.intro",
     en="Move the selected event(s) to folder:",
     de="Ausgewählte Ereignisse in diesen Ordner verschieben:",
     fr="Déplacer les événements sélectionnés vers le dossier :",
     it="Sposta gli eventi selezionati nella cartella:",
     es="Mover los eventos seleccionados a la carpeta:")
text("move.copy",
     en="Perform a copy operation. Do not delete the source event.",
     de="Kopieren statt verschieben. Das Quellereignis nicht löschen.",
     fr="Effectuer une copie. Ne pas supprimer l'événement source.",
     it="Esegui una copia. Non eliminare l'evento di origine.",
     es="Realizar una copia. No eliminar el evento de origen.")
