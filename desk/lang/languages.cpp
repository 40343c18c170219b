// The twelve interface languages: captions, default field texts and alert texts.
// Texts are the system's own; keep them byte for byte, odd spellings included.
#include "languages.h"

#include <array>

namespace {

struct Language {
    const char* code;
    std::array<const char16_t*, kLanguageRows> rows;
};

// clang-format off
const std::array<Language, 12> kLanguages = {{
    {"SK", {{
        u"IČO spoločnosti !!!", // 1
        u"Vaša e-mailová adresa", // 2
        u"Meno", // 3
        u"Kam poslať výstup pre volanie?", // 4
        u"Mobilná možnosť a správa služby", // 5
        u"MožnosťText / Zobraziť správu TEXT", // 6
        u"Ak je pole www prázdne, možnosť funguje normálne", // 7
        u"Prvá možnosť 1. - pripraviť QR, 2. Vytlačiť A4", // 8
        u"REGISTROVAŤ", // 9
        u"Ukáž QR", // 10
        u"Ulož QR ", // 11
        u"ULOŽIŤ VŠETKO", // 12
        u"1. NASTAVTE si vaše QR čísla na generovanie", // 13
        u"2. Vygenerujte PNG & PDF A4 QR kódy", // 14
        u"Tlačiť QR na POS IP tlačiarni", // 15
        u"Názov mojej firmy", // 16
        u"Privolajte obsluhu, ak čakáte príliš dlho", // 17
        u"alebo požiadajte o zaplatenie účtu. Naša PONUKA MENU", // 18
        u"Ďakujeme, že nezneužívate túto možnosť.", // 19
        u"Ďakujeme a VITAJTE", // 20
        u"PRIVOLANIE obsluhy, ak čakáte príliš dlho", // 21
        u"Chcem zaplatiť účet v hotovosti – len celý účet", // 22
        u"Chcem zaplatiť účet kartou – len celý účet", // 23
        u"NAŠA PONUKA MENU", // 24
        u"Pozor ! Máte novú správu od QR čísla: ", // 25
        u"! Správa zo systému TPG !", // 26
    }}},
    {"CZ", {{
        u"ID společnosti !!!", // 1
        u"Vaše e-mailová adresa", // 2
        u"jméno", // 3
        u"Kam poslat výstup služby?", // 4
        u"Mobilní volba a zpráva služby", // 5
        u"Text volby / Zobrazit zprávu", // 6
        u"Pokud je pole www prázdné, volba funguje normálně", // 7
        u"První možnost 1. - připravit QR, 2. Tisk A4", // 8
        u"REGISTROVAT", // 9
        u"Zobrazit QP", // 10
        u"Uložit QR", // 11
        u"ULOŽIT VŠE", // 12
        u"1. NASTAVTE si své QR čísla pro vytvoření", // 13
        u"2. Generovat PNG a PDF A4 QR kódy", // 14
        u"Tisknout QR na POS IP tiskárně", // 15
        u"Název mé firmy", // 16
        u"Zavolejte obsluhu, pokud čekáte příliš dlouho", // 17
        u"nebo požádejte o zaplacení účtu. Naše NABÍDKA MENU", // 18
        u"Děkujeme, že tuto možnost nezneužíváte.", // 19
        u"Děkujeme a VÍTEJTE", // 20
        u"VOLÁNÍ obsluhy, pokud čekáte příliš dlouho", // 21
        u"Chci zaplatit účet v hotovosti – pouze celý účet", // 22
        u"Chci zaplatit účet kartou – pouze celý účet", // 23
        u"NAŠE NABÍDKA MENU", // 24
        u"Upozornění! Máte novou zprávu z QR čísla:", // 25
        u"Zpráva ze systému TPG!", // 26
    }}},
    {"EN", {{
        u"Company ID !!!", // 1
        u"Your EMAIL address", // 2
        u"name", // 3
        u"Where to send the output for the service?", // 4
        u"Mobile Option and service message ", // 5
        u"OptionText / Show Message  TEXT", // 6
        u"if the www field is empty, the option works normally ", // 7
        u"Fisrt option 1. -prepare QR, 2. Print A4", // 8
        u"REGISTER", // 9
        u"Show QP", // 10
        u"Save QR ", // 11
        u"SAVE ALL", // 12
        u"1.SET your QR numbers for create", // 13
        u"2. Generate PNG & PDF A4 QR codes", // 14
        u"Print QR on POS IP printer ", // 15
        u"My company name", // 16
        u"Call the service if you are waitinga too long", // 17
        u"or ask to pay the bill. Our MENU offer", // 18
        u"Thank you for not abusing the offer.", // 19
        u"Thank you and WELCOME", // 20
        u"CALLING the service if you have been waiting too long", // 21
        u"I want to pay the bill in cash - only the entire bill", // 22
        u"I want to pay the bill by credit card - only the entire bill", // 23
        u"OUR MENU OFFER", // 24
        u"Alert ! You have new Message from QR number: ", // 25
        u"! Message from TPG system !", // 26
    }}},
    {"DE", {{
        u"Firmen-ID !!!", // 1
        u"Ihre E-Mail-Adresse", // 2
        u"Name", // 3
        u"Wohin soll die Dienstausgabe gesendet werden?", // 4
        u"Mobiloption und Servicenachricht", // 5
        u"Optionstext / Nachricht anzeigen", // 6
        u"Wenn das www-Feld leer ist, funktioniert die Option normal", // 7
        u"Erste Option 1. - QR vorbereiten, 2. A4 drucken", // 8
        u"REGISTRIEREN", // 9
        u"QP anzeigen", // 10
        u"QR speichern", // 11
        u"ALLES SPEICHERN", // 12
        u"1. QR-Nummern zum Erstellen FESTLEGEN", // 13
        u"2. PNG & PDF A4 QR-Codes generieren", // 14
        u"QR auf POS-IP-Drucker drucken", // 15
        u"Name meines Unternehmens", // 16
        u"Rufen Sie den Service, wenn Sie zu lange warten", // 17
        u"oder bitten Sie um die Rechnung. Unser SPEISEMENÜ", // 18
        u"Vielen Dank, dass Sie das Angebot nicht missbrauchen.", // 19
        u"Vielen Dank und WILLKOMMEN", // 20
        u"SERVICE rufen, wenn Sie zu lange gewartet haben", // 21
        u"Ich möchte die Rechnung bar bezahlen – nur den Gesamtbetrag", // 22
        u"Ich möchte die Rechnung mit Karte bezahlen – nur den Gesamtbetrag", // 23
        u"UNSER SPEISEMENÜ", // 24
        u"Achtung! Sie haben eine neue Nachricht von QR-Nummer:", // 25
        u"Nachricht vom TPG-System!", // 26
    }}},
    {"PL", {{
        u"ID firmy !!!", // 1
        u"Twój adres E-MAIL", // 2
        u"imię", // 3
        u"Gdzie wysłać wynik usługi?", // 4
        u"Opcja mobilna i wiadomość serwisowa", // 5
        u"Tekst opcji / Pokaż wiadomość", // 6
        u"Jeśli pole www jest puste, opcja działa normalnie", // 7
        u"Pierwsza opcja 1. - przygotuj QR, 2. Drukuj A4", // 8
        u"ZAREJESTRUJ", // 9
        u"Pokaż QP", // 10
        u"Zapisz QR", // 11
        u"ZAPISZ WSZYSTKO", // 12
        u"1. USTAW swoje numery QR do utworzenia", // 13
        u"2. Generuj kody QR PNG i PDF A4", // 14
        u"Drukuj QR na drukarce POS IP", // 15
        u"Nazwa mojej firmy", // 16
        u"Wezwij obsługę, jeśli czekasz zbyt długo", // 17
        u"lub poproś o rachunek. Nasze MENU OFERT", // 18
        u"Dziękujemy za nie nadużywanie tej opcji.", // 19
        u"Dziękujemy i WITAJ", // 20
        u"WEZWANIE obsługi, jeśli czekasz zbyt długo", // 21
        u"Chcę zapłacić rachunek gotówką – tylko cały rachunek", // 22
        u"Chcę zapłacić rachunek kartą – tylko cały rachunek", // 23
        u"NASZE MENU OFERT", // 24
        u"Uwaga! Masz nową wiadomość z numeru QR:", // 25
        u"Wiadomość z systemu TPG!", // 26
    }}},
    {"HU", {{
        u"Cégazonosító !!!", // 1
        u"Az Ön EMAIL címe", // 2
        u"név", // 3
        u"Hová küldjük a szolgáltatás kimenetét?", // 4
        u"Mobil opció és szolgáltatási üzenet", // 5
        u"Opció szöveg / Üzenet megjelenítése", // 6
        u"Ha a www mező üres, az opció normálisan működik", // 7
        u"Első opció 1. - QR előkészítés, 2. A4 nyomtatás", // 8
        u"REGISZTRÁCIÓ", // 9
        u"QP megjelenítése", // 10
        u"QR mentése", // 11
        u"MINDENT MENT", // 12
        u"1. ÁLLÍTSA BE a QR számokat a létrehozáshoz", // 13
        u"2. PNG & PDF A4 QR kódok generálása", // 14
        u"QR nyomtatása POS IP nyomtatóra", // 15
        u"Cégem neve", // 16
        u"Hívja a személyzetet, ha túl sokat vár", // 17
        u"vagy kérje a számlát. ÉTLAP AJÁNLATUNK", // 18
        u"Köszönjük, hogy nem él vissza ezzel a lehetőséggel.", // 19
        u"Köszönjük és ÜDVÖZÖLJÜK", // 20
        u"SZOLGÁLAT HÍVÁSA, ha túl sokat várt", // 21
        u"Készpénzben szeretném kifizetni a számlát – csak a teljes összeget", // 22
        u"Bankkártyával szeretném kifizetni a számlát – csak a teljes összeget", // 23
        u"ÉTLAP AJÁNLATUNK", // 24
        u"Figyelem! Új üzenetet kapott a következő QR számról:", // 25
        u"Üzenet a TPG rendszertől!", // 26
    }}},
    {"FR", {{
        u"ID de l’entreprise !!!", // 1
        u"Votre adresse EMAIL", // 2
        u"nom", // 3
        u"Où envoyer la sortie du service ?", // 4
        u"Option mobile et message de service", // 5
        u"Texte de l’option / Afficher le message", // 6
        u"Si le champ www est vide, l’option fonctionne normalement", // 7
        u"Première option 1. - préparer le QR, 2. Imprimer A4", // 8
        u"S’INSCRIRE", // 9
        u"Afficher QP", // 10
        u"Enregistrer QR", // 11
        u"TOUT ENREGISTRER", // 12
        u"1. DÉFINISSEZ vos numéros QR à créer", // 13
        u"2. Générer les QR codes PNG & PDF A4", // 14
        u"Imprimer QR sur imprimante POS IP", // 15
        u"Nom de mon entreprise", // 16
        u"Appelez le service si vous attendez trop longtemps", // 17
        u"ou demandez à payer l’addition. NOTRE OFFRE DE MENU", // 18
        u"Merci de ne pas abuser de cette option.", // 19
        u"Merci et BIENVENUE", // 20
        u"APPEL du service si vous avez trop attendu", // 21
        u"Je souhaite payer en espèces – seulement la facture entière", // 22
        u"Je souhaite payer par carte – seulement la facture entière", // 23
        u"NOTRE OFFRE DE MENU", // 24
        u"Alerte ! Vous avez un nouveau message du numéro QR :", // 25
        u"Message du système TPG !", // 26
    }}},
    {"SE", {{
        u"Företags-ID !!!", // 1
        u"Din E-POSTadress", // 2
        u"namn", // 3
        u"Vart ska tjänstens resultat skickas?", // 4
        u"Mobilalternativ och servicemeddelande", // 5
        u"Alternativtext / Visa meddelande", // 6
        u"Om www-fältet är tomt fungerar alternativet normalt", // 7
        u"Första alternativet 1. - förbered QR, 2. Skriv ut A4", // 8
        u"REGISTRERA", // 9
        u"Visa QP", // 10
        u"Spara QR", // 11
        u"SPARA ALLT", // 12
        u"1. STÄLL IN dina QR-nummer för skapande", // 13
        u"2. Generera PNG & PDF A4 QR-koder", // 14
        u"Skriv ut QR på POS IP-skrivare", // 15
        u"Mitt företagsnamn", // 16
        u"Kalla på personalen om du har väntat för länge", // 17
        u"eller be om att få betala notan. VÅRT MENYERBJUDANDE", // 18
        u"Tack för att du inte missbrukar erbjudandet.", // 19
        u"Tack och VÄLKOMMEN", // 20
        u"KALLA på personalen om du har väntat för länge", // 21
        u"Jag vill betala notan kontant – endast hela beloppet", // 22
        u"Jag vill betala notan med kort – endast hela beloppet", // 23
        u"VÅRT MENYERBJUDANDE", // 24
        u"Varning! Du har ett nytt meddelande från QR-nummer:", // 25
        u"Meddelande från TPG-systemet!", // 26
    }}},
    {"NO", {{
        u"Firma-ID !!!", // 1
        u"Din E-POSTadresse", // 2
        u"navn", // 3
        u"Hvor skal tjenestens utdata sendes?", // 4
        u"Mobilalternativ og servicemelding", // 5
        u"Alternativtekst / Vis melding", // 6
        u"Hvis www-feltet er tomt, fungerer alternativet normalt", // 7
        u"Første alternativ 1. - forbered QR, 2. Skriv ut A4", // 8
        u"REGISTRER", // 9
        u"Vis QP", // 10
        u"Lagre QR", // 11
        u"LAGRE ALT", // 12
        u"1. ANGI QR-numrene dine for oppretting", // 13
        u"2. Generer PNG & PDF A4 QR-koder", // 14
        u"Skriv ut QR på POS IP-skriver", // 15
        u"Mitt firmanavn", // 16
        u"Kall på servicen hvis du har ventet for lenge", // 17
        u"eller be om å betale regningen. VÅRT MENYTILBUD", // 18
        u"Takk for at du ikke misbruker tilbudet.", // 19
        u"Takk og VELKOMMEN", // 20
        u"TILKALLING av service hvis du har ventet for lenge", // 21
        u"Jeg vil betale regningen kontant – kun hele regningen", // 22
        u"Jeg vil betale regningen med kort – kun hele regningen", // 23
        u"VÅRT MENYTILBUD", // 24
        u"Varsel! Du har en ny melding fra QR-nummer:", // 25
        u"Melding fra TPG-systemet!", // 26
    }}},
    {"HR", {{
        u"ID tvrtke !!!", // 1
        u"Vaša E-MAIL adresa", // 2
        u"ime", // 3
        u"Gdje poslati izlaz usluge?", // 4
        u"Mobilna opcija i servisna poruka", // 5
        u"Tekst opcije / Prikaži poruku", // 6
        u"Ako je polje www prazno, opcija radi normalno", // 7
        u"Prva opcija 1. - pripremi QR, 2. Ispis A4", // 8
        u"REGISTRIRAJ", // 9
        u"Prikaži QP", // 10
        u"Spremi QR", // 11
        u"SPREMI SVE", // 12
        u"1. POSTAVI svoje QR brojeve za kreiranje", // 13
        u"2. Generiraj PNG i PDF A4 QR kodove", // 14
        u"Ispis QR na POS IP pisaču", // 15
        u"Naziv moje firme", // 16
        u"Pozovite osoblje ako predugo čekate", // 17
        u"ili zatražite račun. NAŠA PONUDA MENIJA", // 18
        u"Hvala što ne zlorabite ovu opciju.", // 19
        u"Hvala i DOBRODOŠLI", // 20
        u"POZIV OSOBLJA ako predugo čekate", // 21
        u"Želim platiti račun gotovinom – samo cijeli iznos", // 22
        u"Želim platiti račun karticom – samo cijeli iznos", // 23
        u"NAŠA PONUDA MENIJA", // 24
        u"Upozorenje! Imate novu poruku s QR broja:", // 25
        u"Poruka iz TPG sustava!", // 26
    }}},
    {"IT", {{
        u"ID azienda !!!", // 1
        u"Il tuo indirizzo EMAIL", // 2
        u"nome", // 3
        u"Dove inviare l’output del servizio?", // 4
        u"Opzione mobile e messaggio di servizio", // 5
        u"Testo opzione / Mostra messaggio", // 6
        u"Se il campo www è vuoto, l’opzione funziona normalmente", // 7
        u"Prima opzione 1. - prepara QR, 2. Stampa A4", // 8
        u"REGISTRATI", // 9
        u"Mostra QP", // 10
        u"Salva QR", // 11
        u"SALVA TUTTO", // 12
        u"1. IMPOSTA i tuoi numeri QR da creare", // 13
        u"2. Genera QR code PNG & PDF A4", // 14
        u"Stampa QR su stampante IP POS", // 15
        u"Il nome della mia azienda", // 16
        u"Chiama il servizio se stai aspettando troppo a lungo", // 17
        u"oppure chiedi di pagare il conto. LA NOSTRA OFFERTA MENU", // 18
        u"Grazie per non abusare di questa possibilità.", // 19
        u"Grazie e BENVENUTO", // 20
        u"CHIAMATA del servizio se stai aspettando troppo", // 21
        u"Voglio pagare il conto in contanti – solo l’intero importo", // 22
        u"Voglio pagare il conto con carta – solo l’intero importo", // 23
        u"LA NOSTRA OFFERTA MENU", // 24
        u"Attenzione! Hai un nuovo messaggio dal numero QR:", // 25
        u"Messaggio dal sistema TPG!", // 26
    }}},
    {"BG", {{
        u"Идентификатор на фирма !!!", // 1
        u"Вашият EMAIL адрес", // 2
        u"име", // 3
        u"Къде да се изпрати изходът от услугата?", // 4
        u"Мобилна опция и съобщение за услугата", // 5
        u"Текст на опцията / Показване на съобщение", // 6
        u"Ако полето www е празно, опцията работи нормално", // 7
        u"Първа опция 1. - подгответе QR, 2. Печат A4", // 8
        u"РЕГИСТРИРАЙ СЕ", // 9
        u"Показване на QP", // 10
        u"Запази QR", // 11
        u"ЗАПАЗИ ВСИЧКО", // 12
        u"1. ЗАДАЙ своите QR номера за създаване", // 13
        u"2. Генерирай PNG & PDF A4 QR кодове", // 14
        u"Печат на QR на POS IP принтер", // 15
        u"Име на моята фирма", // 16
        u"Повикайте обслужване, ако чакате твърде дълго", // 17
        u"или поискайте да платите сметката. НАШЕТО МЕНЮ ПРЕДЛОЖЕНИЕ", // 18
        u"Благодарим ви, че не злоупотребявате с тази възможност.", // 19
        u"Благодарим и ДОБРЕ ДОШЛИ", // 20
        u"ПОВИКВАНЕ на обслужване, ако чакате твърде дълго", // 21
        u"Искам да платя сметката в брой – само цялата сума", // 22
        u"Искам да платя сметката с карта – само цялата сума", // 23
        u"НАШЕТО МЕНЮ ПРЕДЛОЖЕНИЕ", // 24
        u"Внимание! Имате ново съобщение от QR номер:", // 25
        u"Съобщение от системата TPG!", // 26
    }}},
}};
// clang-format on

} // namespace

const QStringList& languageCodes() {
    static const QStringList codes = [] {
        QStringList list;
        for (const auto& l : kLanguages)
            list << QString::fromLatin1(l.code);
        return list;
    }();
    return codes;
}

std::optional<LanguageTexts> languageTexts(const QString& code) {
    for (const auto& l : kLanguages) {
        if (code == QLatin1String(l.code)) {
            LanguageTexts t;
            for (int i = 0; i < kLanguageRows; ++i)
                t.rows[std::size_t(i)] = QString::fromUtf16(l.rows[std::size_t(i)]);
            return t;
        }
    }
    return std::nullopt;
}
